// An ordered list of replace pieces over one source file, and the writer
// that makes the output from the source and the pieces in one pass, at the
// end or in steps while pieces are still being added.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "dtp/rc_file.h"
#include "dtp/replace_piece.h"

namespace tessel::dtp {

class CReplaceList {
  public:
    explicit CReplaceList(std::string fileName = {}) : fileName_(std::move(fileName)) {}
    // An output begun and not finished is removed.
    virtual ~CReplaceList();
    CReplaceList(const CReplaceList&) = delete;
    CReplaceList& operator=(const CReplaceList&) = delete;

    // Writes the output: the text between pieces through convertText(), each
    // piece's replacement for the text of its range, header and footer.
    // `inputName` empty: the list's file name. False when nothing or only
    // part was written; a partial output of this call is removed again.
    bool writeOutput(const std::string& inputName, const std::string& outputName);

    // The same in steps, for a list that is written while its pieces are
    // still being added: beginOutput() opens both files and writes the
    // header, writeBefore() writes the pieces (and the text before them)
    // that lie wholly before a position no later piece can reach, and
    // finishOutput() the rest and the footer. A failed step leaves the later
    // ones doing nothing and finishOutput() false; finishOutput() false and
    // abandonOutput() remove the partial output.
    bool beginOutput(const std::string& inputName, const std::string& outputName);
    void writeBefore(std::uint32_t line, std::uint32_t column);
    bool finishOutput();
    void abandonOutput();

    // Appends `text`, text between pieces, converted to `out`; here unchanged.
    virtual void appendConverted(std::string& out, std::string_view text);
    // The same for text that lies on one line in the source's buffer,
    // `readable` bytes of which may be read from its start; false, with `out`
    // possibly changed, when the text holds a line end
    // (CRCFile::holdsLineEnd()).
    virtual bool appendConvertedLine(std::string& out, std::string_view text, std::size_t readable);
    // The same for text as the source's buffer holds it across line ends:
    // `bytes` from its start, the text ending at `column` of the line after
    // the `lineEnds`-th line end, each LF or CR LF (read as LF). Returns its
    // length; nothing, with `out` possibly changed, when `bytes` do not hold
    // it whole or it holds another byte that ends a line or needs
    // translation.
    virtual std::optional<std::size_t> appendConvertedLines(std::string& out,
                                                            std::string_view bytes,
                                                            std::uint32_t lineEnds,
                                                            std::uint32_t column);
    // The same in place.
    void convertText(std::string& text);
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

    // Pieces added and not removed again, written ones included.
    std::size_t count() const { return kept_; }
    // The pieces not written yet.
    const std::deque<std::unique_ptr<CReplacePiece>>& pieces() const { return pieces_; }
    const std::string& fileName() const { return fileName_; }
    bool textMode() const { return textMode_; }

  private:
    bool claimedRange(const CReplacePiece& existing, const CReplacePiece& added) const;
    void reportDuplicate(const CReplacePiece& existing, const CReplacePiece& added) const;
    // Adds the text before the front piece and its replacement to the
    // pending output, writing it once it is long; false on a failure.
    bool writeFrontPiece();
    // The same from the input's buffer, for a piece on one line: false,
    // with nothing read, when the buffer does not hold the piece and the
    // text before it or they hold a byte its scans do not take (then the
    // piece is read in steps).
    bool writeFrontPieceFromBuffer();
    // The same reading the text before the piece and the piece's own text
    // one after the other, as positions across line ends need.
    bool writeFrontPieceInSteps();
    // Writes the pending output.
    void writePending();
    // Writes the pieces left and the text after the last one.
    bool writeRest();

    std::deque<std::unique_ptr<CReplacePiece>> pieces_;
    std::size_t kept_ = 0;
    CRCFile source_;
    CRCFile output_;
    std::string outputName_;
    bool open_ = false;     // beginOutput() succeeded and the output is not closed
    bool failed_ = false;   // a step failed: pieces are no longer written
    std::string text_;      // output of pieces not written yet
    std::string readText_;  // source text read where it is not viewed in place
    std::string fileName_;
    bool textMode_ = true;
    CRCFile::LineEnds sourceLineEnds_ = CRCFile::LineEnds::CarriageReturnOrLineFeed;
};

}  // namespace tessel::dtp
