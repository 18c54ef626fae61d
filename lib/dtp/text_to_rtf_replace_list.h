// The replacement list that writes RTF: the converters' document header and
// footer, and text between pieces converted from the Macintosh character set,
// joined into paragraphs and escaped as the flags say.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dtp/replace_list.h"

namespace tessel::dtp {

class CTextToRTFReplaceList : public CReplaceList {
  public:
    explicit CTextToRTFReplaceList(std::string fileName = {}) : CReplaceList(std::move(fileName)) {}

    // Maps and joins as the flags say, then escapes.
    void appendConverted(std::string& out, std::string_view text) override;
    // Text on one line has no lines to join: without the Macintosh mapping
    // it is only escaped, in the scan that looks for line ends.
    bool appendConvertedLine(std::string& out, std::string_view text,
                             std::size_t readable) override;
    // Across line ends of the source's buffer, without the Macintosh
    // mapping: escaped and joined in one scan that finds the line ends too.
    std::optional<std::size_t> appendConvertedLines(std::string& out, std::string_view bytes,
                                                    std::uint32_t lineEnds,
                                                    std::uint32_t column) override;
    // Joining wrapped lines and wrapping literal character tags look across
    // line ends.
    bool convertsLineByLine() const override { return false; }
    void writeFooter(CRCFile& file) override;
    void writeHeader(CRCFile& file) override;
    // What stands for a Macintosh byte without a Windows counterpart; here
    // nothing (the byte is dropped).
    virtual std::string literalCharacterTag(std::uint8_t byte) const;

    // The kind of internal tags: without line ends when the flag is set.
    std::int32_t internalKind() const;

    bool internalWithoutLineEnds = false;
    bool lineJoining = true;
    bool macintosh = false;

  protected:
    // Maps the text from the Macintosh character set; unmappable bytes
    // become literalCharacterTag().
    void convertFromMacintosh(std::string& text) const;
    // Protects every escaped literal character tag of text[from, end) as an
    // internal tag run.
    static void wrapLiteralCharacterTags(std::string& text, std::size_t from);
    // The literal character tag form PageMaker and QuarkXPress use.
    static std::string decimalCharacterTag(std::uint8_t byte);

  private:
    std::string mapped_;  // text mapped from the Macintosh character set
};

}  // namespace tessel::dtp
