#include "resources/rtf_keywords.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tessel::resources {

namespace {

using K = RtfKeywordKind;

constexpr RtfKeyword property(std::string_view word, int index) {
    return {word, 1, false, K::Property, index};
}
constexpr RtfKeyword character(std::string_view word, int byte) {
    return {word, 0, false, K::Character, byte};
}
constexpr RtfKeyword destination(std::string_view word, int index) {
    return {word, 0, false, K::Destination, index};
}
constexpr RtfKeyword special(std::string_view word, int index) {
    return {word, 0, false, K::Special, index};
}

constexpr std::array kKeywords = {
    property("ul", kPropUnderline),
    property("uld", kPropUnderline),
    property("ulw", kPropUnderline),
    property("uldb", kPropDoubleUnderline),
    property("strike", kPropDoubleUnderline),
    property("ulnone", kPropNoUnderline),
    property("v", kPropHidden),
    property("plain", kPropPlain),
    property("page", kPropPage),
    property("keepn", kPropKeepNext),
    property("pard", kPropParagraphDefaults),

    character("par", 10),
    character("\n", 10),
    character("\r", 13),
    character("tab", 9),
    character("cell", 13),
    character("lquote", 145),
    character("rquote", 146),
    character("ldblquote", 147),
    character("rdblquote", 148),
    character("bullet", 149),
    character("endash", 150),
    character("emdash", 151),
    character("~", 160),
    character("{", 123),
    character("}", 125),
    character("\\", 92),
    character("ltrmark", 253),
    character("rtlmark", 254),

    special("bin", kSpecialBinary),
    special("*", kSpecialSkipUnknown),
    special("'", kSpecialHexByte),

    destination("footnote", kDestFootnote),
    destination("pict", kDestPicture),
    destination("object", kDestObject),
    destination("author", kDestSkipped),
    destination("buptim", kDestSkipped),
    destination("colortbl", kDestSkipped),
    destination("comment", kDestSkipped),
    destination("creatim", kDestSkipped),
    destination("doccomm", kDestSkipped),
    destination("fonttbl", kDestSkipped),
    destination("footer", kDestSkipped),
    destination("footerf", kDestSkipped),
    destination("footerl", kDestSkipped),
    destination("footerr", kDestSkipped),
    destination("ftncn", kDestSkipped),
    destination("ftnsep", kDestSkipped),
    destination("ftnsepc", kDestSkipped),
    destination("header", kDestSkipped),
    destination("headerf", kDestSkipped),
    destination("headerl", kDestSkipped),
    destination("headerr", kDestSkipped),
    destination("info", kDestSkipped),
    destination("keywords", kDestSkipped),
    destination("operator", kDestSkipped),
    destination("printim", kDestSkipped),
    destination("private1", kDestSkipped),
    destination("revtim", kDestSkipped),
    destination("rxe", kDestSkipped),
    destination("stylesheet", kDestSkipped),
    destination("subject", kDestSkipped),
    destination("tc", kDestSkipped),
    destination("title", kDestSkipped),
    destination("txe", kDestSkipped),
    destination("xe", kDestSkipped),
};

static_assert(kKeywords.size() == 66);

constexpr std::array kTextKeywords = {
    RtfTextKeyword{"u", RtfTextWord::Unicode},
    RtfTextKeyword{"uc", RtfTextWord::UnicodeSkip},
    RtfTextKeyword{"f", RtfTextWord::Font},
    RtfTextKeyword{"fcharset", RtfTextWord::FontCharset},
    RtfTextKeyword{"cpg", RtfTextWord::FontCodePage},
    RtfTextKeyword{"ansicpg", RtfTextWord::DocumentCodePage},
    RtfTextKeyword{"deff", RtfTextWord::DefaultFont},
    RtfTextKeyword{"loch", RtfTextWord::LowAnsiRun},
    RtfTextKeyword{"hich", RtfTextWord::HighAnsiRun},
    RtfTextKeyword{"dbch", RtfTextWord::DoubleByteRun},
    RtfTextKeyword{"line", RtfTextWord::LineBreak},
    RtfTextKeyword{"-", RtfTextWord::OptionalHyphen},
    RtfTextKeyword{"_", RtfTextWord::NonBreakingHyphen},
    RtfTextKeyword{"cs", RtfTextWord::CharacterStyle},
};

struct CharsetCodePage {
    int charset;
    int codePage;
};

// The character sets of the font table that name a code page with a table.
constexpr CharsetCodePage kCharsetCodePages[] = {
    {0, 1252},   {2, kSymbolCharsetCodePage},
    {128, 932},  {129, 949},
    {134, 936},  {136, 950},
    {161, 1253}, {162, 1254},
    {163, 1258}, {177, 1255},
    {178, 1256}, {186, 1257},
    {204, 1251}, {222, 874},
    {238, 1250},
};

// The words in an open-addressing hash table built at compile time: one
// lookup per control word of the document, so it must be cheap. A slot keeps
// a word's first eight bytes as one number, so most words compare in one
// step.
template <typename Row, std::size_t N>
class KeywordIndex {
  public:
    constexpr explicit KeywordIndex(const std::array<Row, N>& rows) {
        for (const Row& row : rows) {
            Key key = keyOf(row.word);
            std::size_t slot = slotOf(key);
            while (slots_[slot].row != nullptr) slot = (slot + 1) % kSlots;
            slots_[slot] = {key, &row};
        }
    }

    constexpr const Row* find(std::string_view word) const { return find(keyOf(word), word); }

    // `word` with eight readable bytes at its start, whatever its length:
    // the prefix is one load, the bytes past the word masked off.
    const Row* findAt(const char* word, std::size_t length) const {
        std::string_view whole(word, length);
        if constexpr (std::endian::native == std::endian::little) {
            Key key{0, length};
            std::memcpy(&key.prefix, word, kPrefixBytes);
            key.prefix &= kPrefixMasks[std::min(length, kPrefixBytes)];
            return find(key, whole);
        } else {
            return find(keyOf(whole), whole);
        }
    }

  private:
    static constexpr std::size_t kPrefixBytes = 8;

    // The first eight bytes and the length.
    struct Key {
        std::uint64_t prefix = 0;
        std::size_t length = 0;
        constexpr bool operator==(const Key&) const = default;
    };

    struct Slot {
        Key key;
        const Row* row = nullptr;
    };

    static constexpr Key keyOf(std::string_view word) {
        Key key{0, word.size()};
        std::size_t n = word.size() < kPrefixBytes ? word.size() : kPrefixBytes;
        for (std::size_t i = 0; i < n; ++i) {
            key.prefix |= std::uint64_t{static_cast<unsigned char>(word[i])} << (8 * i);
        }
        return key;
    }

    // Equal keys: the words are equal when the bytes past the prefix are.
    static constexpr bool sameTail(std::string_view a, std::string_view b) {
        for (std::size_t i = kPrefixBytes; i < a.size(); ++i) {
            if (a[i] != b[i]) return false;
        }
        return true;
    }

    // Many times the rows, so probe chains stay short and always end.
    // Small enough to stay in the first-level cache beside the text.
    static constexpr std::size_t kSlotBits = 9;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    static_assert(N * 4 < kSlots);

    static constexpr std::size_t slotOf(const Key& key) {
        std::uint64_t mixed = (key.prefix + key.length) * 0x9E3779B97F4A7C15ULL;
        return static_cast<std::size_t>(mixed >> (64 - kSlotBits));
    }

    // The bytes of a prefix of each length up to eight.
    static constexpr std::array<std::uint64_t, kPrefixBytes + 1> kPrefixMasks = [] {
        std::array<std::uint64_t, kPrefixBytes + 1> masks{};
        for (std::size_t n = 1; n <= kPrefixBytes; ++n) masks[n] = (masks[n - 1] << 8) | 0xFF;
        return masks;
    }();

    constexpr const Row* find(const Key& key, std::string_view word) const {
        for (std::size_t slot = slotOf(key);; slot = (slot + 1) % kSlots) {
            const Slot& entry = slots_[slot];
            if (entry.row == nullptr) return nullptr;
            // Equal keys of words of up to eight bytes are equal words.
            if (entry.key == key &&
                (key.length <= kPrefixBytes || sameTail(entry.row->word, word))) {
                return entry.row;
            }
        }
    }

    std::array<Slot, kSlots> slots_{};
};

}  // namespace

std::span<const RtfKeyword> rtfKeywords() {
    return kKeywords;
}

const RtfKeyword* findRtfKeyword(std::string_view word) {
    static constexpr KeywordIndex index(kKeywords);
    return index.find(word);
}

std::span<const RtfTextKeyword> rtfTextKeywords() {
    return kTextKeywords;
}

const RtfTextKeyword* findRtfTextKeyword(std::string_view word) {
    static constexpr KeywordIndex index(kTextKeywords);
    return index.find(word);
}

namespace {

// One row of the reader's combined lookup.
struct WordRow {
    std::string_view word;
    RtfWord found;
};

constexpr std::array<WordRow, kKeywords.size() + kTextKeywords.size()> kWordRows = [] {
    std::array<WordRow, kKeywords.size() + kTextKeywords.size()> rows{};
    std::size_t i = 0;
    for (const auto& row : kKeywords) rows[i++] = {row.word, {&row, nullptr}};
    for (const auto& row : kTextKeywords) rows[i++] = {row.word, {nullptr, &row}};
    return rows;
}();

constexpr KeywordIndex kWordIndex(kWordRows);

}  // namespace

RtfWord findRtfWordAt(const char* word, std::size_t length) {
    const WordRow* row = kWordIndex.findAt(word, length);
    return row == nullptr ? RtfWord{} : row->found;
}

RtfWord findRtfWord(std::string_view word) {
    if (word.size() >= 8) return findRtfWordAt(word.data(), word.size());
    // A short word is copied where eight bytes can be read.
    char padded[8] = {};
    std::copy(word.begin(), word.end(), padded);
    return findRtfWordAt(padded, word.size());
}

int rtfCharsetCodePage(int charset) {
    for (const auto& row : kCharsetCodePages) {
        if (row.charset == charset) return row.codePage;
    }
    return 0;
}

}  // namespace tessel::resources
