// The control words the RTF reader understands. Words not in the table are
// ignored, or start a skipped destination after the symbol "*".
#pragma once

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

}  // namespace tessel::resources
