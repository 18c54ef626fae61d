// An ordered list of replace pieces over one source file, and the writer
// that makes the output from the source and the pieces in one pass.
#pragma once

#include <deque>
#include <memory>
#include <string>

#include "dtp/rc_file.h"
#include "dtp/replace_piece.h"

namespace tessel::dtp {

class CReplaceList {
  public:
    explicit CReplaceList(std::string fileName = {}) : fileName_(std::move(fileName)) {}
    virtual ~CReplaceList() = default;
    CReplaceList(const CReplaceList&) = delete;
    CReplaceList& operator=(const CReplaceList&) = delete;

    // Writes the output: the text between pieces through convertText(), each
    // piece's replacement for the text of its range, header and footer.
    // `inputName` empty: the list's file name. False when nothing or only
    // part was written; a partial output of this call is removed again.
    virtual bool writeOutput(const std::string& inputName, const std::string& outputName);
    // Converts text between pieces in place; here unchanged.
    virtual void convertText(std::string& text);
    // True when convertText() gives the same result on any split of a text
    // into whole lines as on the whole: the text after the last piece is
    // then written in steps, so a long file is never held whole.
    virtual bool convertsLineByLine() const { return true; }
    // Adds a piece in source order; false when it was dropped (it changes
    // nothing, or its range is already claimed).
    virtual bool add(std::unique_ptr<CReplacePiece> piece);
    // Removes the pieces whose ranges lie inside `range`, for a converter
    // that marks a whole construct after it has marked parts of it: the
    // whole is then written as one run. Returns how many were removed.
    std::size_t removeEnclosedBy(const CTextPiece& range);
    virtual void writeFooter(CRCFile& file);
    virtual void writeHeader(CRCFile& file);

    // How the source's lines end (see CRCFile::LineEnds); positions of the
    // pieces count lines the same way.
    void setSourceLineEnds(CRCFile::LineEnds lineEnds) { sourceLineEnds_ = lineEnds; }

    std::size_t count() const { return pieces_.size(); }
    const std::deque<std::unique_ptr<CReplacePiece>>& pieces() const { return pieces_; }
    const std::string& fileName() const { return fileName_; }
    bool textMode() const { return textMode_; }

  private:
    bool claimedRange(const CReplacePiece& existing, const CReplacePiece& added) const;
    void reportDuplicate(const CReplacePiece& existing, const CReplacePiece& added) const;
    bool writePieces(CRCFile& input, CRCFile& output);

    std::deque<std::unique_ptr<CReplacePiece>> pieces_;
    std::string fileName_;
    bool textMode_ = true;
    CRCFile::LineEnds sourceLineEnds_ = CRCFile::LineEnds::CarriageReturnOrLineFeed;
};

}  // namespace tessel::dtp
