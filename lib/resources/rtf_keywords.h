// The control words the RTF reader understands. Words not in the table are
// ignored, or start a skipped destination after the symbol "*".
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace tessel::resources {

enum class RtfKeywordKind {
    Property,     // index: which character or paragraph property
    Character,    // index: the byte the word stands for
    Destination,  // index: which destination the group becomes
    Special,      // index: which reader action
};

// Property indexes; only hidden text and "plain" have an effect.
enum RtfProperty : int {
    kPropUnderline = 0,
    kPropDoubleUnderline = 1,
    kPropNoUnderline = 2,
    kPropHidden = 3,
    kPropPlain = 4,
    kPropPage = 5,
    kPropKeepNext = 6,
    kPropParagraphDefaults = 7,
};

// Destination indexes.
enum RtfDestination : int {
    kDestSkipped = 1,
    kDestFootnote = 2,
    kDestPicture = 3,
    kDestObject = 4,
};

// Special action indexes.
enum RtfSpecial : int {
    kSpecialBinary = 0,
    kSpecialHexByte = 1,
    kSpecialSkipUnknown = 2,
};

struct RtfKeyword {
    std::string_view word;
    int defaultValue;  // used when the word has no parameter
    bool useDefault;   // always take the default, even with a parameter
    RtfKeywordKind kind;
    int index;
};

std::span<const RtfKeyword> rtfKeywords();

// The row of `word` (exact, case-sensitive), or null.
const RtfKeyword* findRtfKeyword(std::string_view word);

// Control words of the text that current word processors write, read in
// addition to the table above: Unicode characters, the code pages of fonts
// and of the document, and the line and hyphen controls.
enum class RtfTextWord {
    Unicode,            // "u": a character by its number (negative: plus 65536)
    UnicodeSkip,        // "uc": fallback characters that follow each "u"
    Font,               // "f": font of the text, or the entry of the font table
    FontCharset,        // "fcharset": character set of a font table entry
    FontCodePage,       // "cpg": code page of a font table entry
    DocumentCodePage,   // "ansicpg": code page of the document
    DefaultFont,        // "deff": font of text without "f" and after "plain"
    LowAnsiRun,         // "loch"
    HighAnsiRun,        // "hich"
    DoubleByteRun,      // "dbch": "f" after it names the font of double-byte text
    LineBreak,          // "line": a line break inside the paragraph
    OptionalHyphen,     // "-"
    NonBreakingHyphen,  // "_"
    CharacterStyle,     // "cs": character style of the text (its number in the style sheet)
};

struct RtfTextKeyword {
    std::string_view word;
    RtfTextWord action;
};

std::span<const RtfTextKeyword> rtfTextKeywords();

// The row of `word` (exact, case-sensitive), or null.
const RtfTextKeyword* findRtfTextKeyword(std::string_view word);

// Both lookups in one, for the reader: at most one of the two is set.
struct RtfWord {
    const RtfKeyword* keyword = nullptr;
    const RtfTextKeyword* textKeyword = nullptr;
};
RtfWord findRtfWord(std::string_view word);
// The same for the `length` bytes at `word`, where the eight bytes from
// `word` on may be read whatever the length (a reader's padded buffer): the
// word's first eight bytes are then taken in one load.
RtfWord findRtfWordAt(const char* word, std::size_t length);

// Code page of a font's "fcharset" number: 0 for the document's own code
// page (charset 1, and sets without a table of ours), -1 for a symbol font,
// whose bytes are kept as they are.
inline constexpr int kSymbolCharsetCodePage = -1;
int rtfCharsetCodePage(int charset);

}  // namespace tessel::resources
