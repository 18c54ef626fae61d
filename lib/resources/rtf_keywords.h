// The control words the RTF reader understands. Words not in the table are
// ignored, or start a skipped destination after the symbol "*".
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
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
    kDestFontTable = 5,
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
    CellEnd,            // "nestcell": the end of a cell of a nested table
    Deleted,            // "deleted", "mvf": text deleted (or moved away) with changes tracked
    Revision,           // "revised", "crauth", "prauth" ...: a tracked change, text as it is
    OldProperties,      // "oldcprops" ...: the properties before a tracked change (dropped)
    DroppedText,        // "nonesttables", "revtbl", "atnid" ...: a destination dropped
    Annotation,         // "annotation": the text of a comment (dropped)
    Bold,               // "b": bold text ("b0": not bold)
    Italic,             // "i": italic text ("i0": not italic)
};

struct RtfTextKeyword {
    std::string_view word;
    RtfTextWord action;
};

std::span<const RtfTextKeyword> rtfTextKeywords();

// What the reader does on a word of either table: one code per effect, so
// that it acts on any word in one switch, with nothing more to look up.
enum class RtfAction : std::uint8_t {
    Unknown,      // in neither table: ignored, or a skipped destination after "*"
    NoEffect,     // a property the reader does not use
    Hidden,       // "v": value, the setting without a parameter
    Plain,        // "plain"
    Character,    // value: the Windows 1252 byte the word stands for
    Destination,  // a destination whose text is dropped
    Footnote,     // "footnote"
    FontTable,    // "fonttbl": dropped, its entries read
    Binary,       // "bin"
    HexByte,      // "'"
    SkipUnknown,  // "*"
    Unicode,      // the rest as RtfTextWord
    UnicodeSkip,
    Font,
    FontCharset,
    FontCodePage,
    DocumentCodePage,
    DefaultFont,
    LowAnsiRun,
    HighAnsiRun,
    DoubleByteRun,
    LineBreak,
    OptionalHyphen,
    NonBreakingHyphen,
    CharacterStyle,
    CellEnd,
    Deleted,
    Revision,
    OldProperties,
    DroppedText,
    Annotation,
    Bold,
    Italic,
    // Underline and strike-through words of the table above: value is the
    // formatting bit, with kFormattingOff for the words that end it.
    Formatting,
};

// The character formatting the reader follows, as bits: none of it can be
// written back into a tagged text file.
inline constexpr std::uint8_t kFormattingBold = 1;
inline constexpr std::uint8_t kFormattingItalic = 2;
inline constexpr std::uint8_t kFormattingUnderline = 4;
inline constexpr std::uint8_t kFormattingOff = 0x80;

struct RtfWordAction {
    RtfAction action = RtfAction::Unknown;
    std::uint8_t value = 0;
};

struct RtfWordRow {
    std::string_view word;
    RtfWordAction found;
};

// Both tables in one perfect hash, built at compile time: every word has a
// slot of its own, so a lookup is one multiplication, one slot read and one
// comparison, with no probing and no row to follow. A slot keeps the word's
// first eight bytes as one number and the next four as another.
class RtfWordIndex {
  public:
    static constexpr std::size_t kMaxWordBytes = 12;
    static constexpr std::size_t kSlotBits = 9;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;

    struct Slot {
        std::uint64_t prefix = 0;
        std::uint32_t tail = 0;
        std::uint8_t length = 0;  // 0: no word
        RtfWordAction found;
    };

    // The `length` bytes at `word` (at most kMaxWordBytes; longer words are
    // in no table), of which the first eight may be read whatever the
    // length, and the first twelve when it is above eight (a reader's padded
    // buffer).
    RtfWordAction find(const char* word, std::size_t length) const {
        std::uint64_t prefix;
        std::memcpy(&prefix, word, sizeof prefix);
        prefix &= kPrefixMasks[std::min(length, kPrefixBytes)];
        std::uint32_t tail = 0;
        if (length > kPrefixBytes) {
            std::memcpy(&tail, word + kPrefixBytes, sizeof tail);
            tail &= static_cast<std::uint32_t>(kPrefixMasks[length - kPrefixBytes]);
        }
        return match(prefix, tail, length);
    }

    // A control symbol: a backslash and one byte that is not a letter.
    RtfWordAction findSymbol(unsigned char symbol) const { return match(symbol, 0, 1); }

    // Any word, wherever it is (tests and tools).
    RtfWordAction find(std::string_view word) const {
        if (word.size() > kMaxWordBytes) return {};
        char padded[kMaxWordBytes + kPrefixBytes] = {};
        std::copy(word.begin(), word.end(), padded);
        return find(padded, word.size());
    }

    // Builds the index (at compile time): the hash's multiplier is searched
    // for until no two words share a slot.
    constexpr explicit RtfWordIndex(std::span<const RtfWordRow> rows);

  private:
    static constexpr std::size_t kPrefixBytes = 8;
    // Keys are the bytes of a word read as one little-endian number.
    static_assert(std::endian::native == std::endian::little);

    // The low `n` bytes of a little-endian word, for each `n` up to eight.
    static constexpr std::uint64_t kPrefixMasks[kPrefixBytes + 1] = {
        0,
        0xFF,
        0xFFFF,
        0xFFFFFF,
        0xFFFFFFFF,
        0xFFFFFFFFFF,
        0xFFFFFFFFFFFF,
        0xFFFFFFFFFFFFFF,
        0xFFFFFFFFFFFFFFFF,
    };

    constexpr std::size_t slotOf(std::uint64_t prefix, std::size_t length) const {
        return static_cast<std::size_t>(((prefix + length) * multiplier_) >> (64 - kSlotBits));
    }

    RtfWordAction match(std::uint64_t prefix, std::uint32_t tail, std::size_t length) const {
        const Slot& slot = slots_[slotOf(prefix, length)];
        // One branch for the three comparisons: they are all cheap.
        bool same = (slot.prefix == prefix) & (slot.tail == tail) & (slot.length == length);
        return same ? slot.found : RtfWordAction{};
    }

    std::uint64_t multiplier_ = 0;
    Slot slots_[kSlots] = {};
};

// The index of both tables (the reader's lookup).
extern const RtfWordIndex kRtfWordIndex;

// Code page of a font's "fcharset" number: 0 for the document's own code
// page (charset 1, and sets without a table of ours), -1 for a symbol font,
// whose bytes are kept as they are.
inline constexpr int kSymbolCharsetCodePage = -1;
int rtfCharsetCodePage(int charset);

}  // namespace tessel::resources
