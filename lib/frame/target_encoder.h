// Writes the UTF-8 text the RTF reader hands on in the character set of the
// back-converted file: each character its code page holds as its bytes, the
// others by the format's rule (numeric reference, literal character tag or
// fallback), manual line breaks as the format's soft line break.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page_codec.h"
#include "resources/back_conversion_texts.h"

namespace tessel::frame {

struct TargetRules {
    // The code page written; null when only ASCII is written as bytes (a
    // chosen code page without a table of ours).
    const platform::CodePageCodec* codec = nullptr;
    bool utf8 = false;  // UTF-8 output: every character is held
    resources::UnheldCharacterRule unheld = resources::UnheldCharacterRule::NumericReference;
    std::string_view softLineBreak;  // empty: a line end
    // A Macintosh pass follows (which reads Windows 1252): characters of the
    // Macintosh set that 1252 lacks are written as literal character tags
    // of their Macintosh byte, as the mark-up writes them.
    bool macintoshPass = false;
};

class TargetEncoder {
  public:
    explicit TargetEncoder(const TargetRules& rules) : rules_(rules) {}

    // Rewrites `line` in place. Characters that could not be written as
    // themselves, where that loses something (not for numeric references),
    // are added to lostCharacters() in order of first appearance.
    void encode(std::string& line);

    const std::vector<char32_t>& lostCharacters() const { return lost_; }
    void clearLostCharacters() { lost_.clear(); }

  private:
    void writeByRule(char32_t c, std::string_view text, std::size_t& at);
    void writeCharacter(char32_t c, std::string_view fallback, std::string& out);
    bool writeHeld(char32_t c, std::string& out) const;
    void writeFallback(std::string_view fallback, std::string& out) const;
    void noteLost(char32_t c);

    TargetRules rules_;
    std::string encoded_;  // the line encoded; longer than the text in it
    std::string rule_;     // the text of a character written by a rule
    std::vector<char32_t> lost_;
};

// How a function code writes characters (the row of its format).
const resources::BackConversionFormat* backConversionFormat(int functionCode);

// The target of a function code, given the document's and the chosen code
// page and whether a Macintosh pass follows. The 8-bit text formats write
// the chosen page where one is given, else the document's.
TargetRules targetRules(int functionCode, int documentCodePage, int chosenCodePage,
                        bool macintoshPass);

// The log detail naming the characters: "U+0141, U+017A".
std::string characterNames(const std::vector<char32_t>& characters);

}  // namespace tessel::frame
