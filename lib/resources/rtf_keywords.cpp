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
    // A cell ends as a paragraph does: a line of its own, never a lone CR.
    character("cell", 10),
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
    destination("fonttbl", kDestFontTable),
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
    RtfTextKeyword{"nestcell", RtfTextWord::CellEnd},
    // Tracked changes, read as accepted: deleted and moved-away text is not
    // text; inserted text and changed properties are read as they stand.
    // The author and time of a change ("revauth", "revdttm", "revauthdel",
    // "revdttmdel", "mvauth", "mvdate") come with the word that makes it one
    // and are ignored; so are the revision save ids ("rsid", "insrsid",
    // "charrsid" ...) that a writer puts on every run, changes tracked or
    // not, and the revision words of a list level ("pnrnot", "pnrauth" ...
    // inside "{\*\pn"), written whatever the document holds.
    RtfTextKeyword{"deleted", RtfTextWord::Deleted},
    RtfTextKeyword{"mvf", RtfTextWord::Deleted},
    RtfTextKeyword{"revised", RtfTextWord::Revision},
    RtfTextKeyword{"mvt", RtfTextWord::Revision},
    RtfTextKeyword{"crauth", RtfTextWord::Revision},
    RtfTextKeyword{"crdate", RtfTextWord::Revision},
    RtfTextKeyword{"prauth", RtfTextWord::Revision},
    RtfTextKeyword{"prdate", RtfTextWord::Revision},
    RtfTextKeyword{"oldcprops", RtfTextWord::OldProperties},
    RtfTextKeyword{"oldpprops", RtfTextWord::OldProperties},
    RtfTextKeyword{"oldsprops", RtfTextWord::OldProperties},
    RtfTextKeyword{"oldtprops", RtfTextWord::OldProperties},
    // A comment: its text, told as left out; its author, initials, time,
    // icon, reference number, parent and the marks of the range it is
    // about are no text either.
    RtfTextKeyword{"annotation", RtfTextWord::Annotation},
    // Destinations that are no text of the document, also where a writer
    // leaves out the "*": the revision authors and revision save ids, the
    // parts of a comment, the marks of moved text, the copy of nested tables
    // for readers without them, the name of the program that wrote the file
    // and the list tables (a list's levels and name outside "{\*\listtable"
    // were written as text).
    RtfTextKeyword{"revtbl", RtfTextWord::DroppedText},
    RtfTextKeyword{"rsidtbl", RtfTextWord::DroppedText},
    RtfTextKeyword{"atnid", RtfTextWord::DroppedText},
    RtfTextKeyword{"atnauthor", RtfTextWord::DroppedText},
    RtfTextKeyword{"atntime", RtfTextWord::DroppedText},
    RtfTextKeyword{"atnicn", RtfTextWord::DroppedText},
    RtfTextKeyword{"atnref", RtfTextWord::DroppedText},
    RtfTextKeyword{"atndate", RtfTextWord::DroppedText},
    RtfTextKeyword{"atnparent", RtfTextWord::DroppedText},
    RtfTextKeyword{"atrfstart", RtfTextWord::DroppedText},
    RtfTextKeyword{"atrfend", RtfTextWord::DroppedText},
    RtfTextKeyword{"mvfmf", RtfTextWord::DroppedText},
    RtfTextKeyword{"mvfml", RtfTextWord::DroppedText},
    RtfTextKeyword{"mvtof", RtfTextWord::DroppedText},
    RtfTextKeyword{"mvtol", RtfTextWord::DroppedText},
    RtfTextKeyword{"nonesttables", RtfTextWord::DroppedText},
    RtfTextKeyword{"generator", RtfTextWord::DroppedText},
    RtfTextKeyword{"listtable", RtfTextWord::DroppedText},
    RtfTextKeyword{"list", RtfTextWord::DroppedText},
    RtfTextKeyword{"listoverride", RtfTextWord::DroppedText},
    // Formatting a translator applied, which the back-conversions cannot
    // write: followed only to tell that it was dropped.
    RtfTextKeyword{"b", RtfTextWord::Bold},
    RtfTextKeyword{"i", RtfTextWord::Italic},
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

// The reader's action on a row of the keyword table.
constexpr RtfWordAction actionOf(const RtfKeyword& row) {
    using A = RtfAction;
    switch (row.kind) {
        case K::Property:
            if (row.index == kPropHidden)
                return {A::Hidden, static_cast<std::uint8_t>(row.defaultValue)};
            if (row.index == kPropUnderline || row.index == kPropDoubleUnderline)
                return {A::Formatting, kFormattingUnderline};
            if (row.index == kPropNoUnderline)
                return {A::Formatting, kFormattingUnderline | kFormattingOff};
            return {row.index == kPropPlain ? A::Plain : A::NoEffect, 0};
        case K::Character:
            return {A::Character, static_cast<std::uint8_t>(row.index)};
        case K::Destination:
            if (row.index == kDestFootnote) return {A::Footnote, 0};
            return {row.index == kDestFontTable ? A::FontTable : A::Destination, 0};
        case K::Special:
            if (row.index == kSpecialBinary) return {A::Binary, 0};
            return {row.index == kSpecialHexByte ? A::HexByte : A::SkipUnknown, 0};
    }
    return {};
}

constexpr RtfWordAction actionOf(const RtfTextKeyword& row) {
    // RtfTextWord and the text words' actions are listed in the same order.
    auto first = static_cast<int>(RtfAction::Unicode);
    return {static_cast<RtfAction>(first + static_cast<int>(row.action)), 0};
}

static_assert(static_cast<int>(RtfAction::Italic) - static_cast<int>(RtfAction::Unicode) ==
              static_cast<int>(RtfTextWord::Italic));
// "v" takes its value from its parameter, else from the table.
static_assert(std::all_of(kKeywords.begin(), kKeywords.end(),
                          [](const RtfKeyword& row) { return !row.useDefault; }));

constexpr std::array<RtfWordRow, kKeywords.size() + kTextKeywords.size()> kWordRows = [] {
    std::array<RtfWordRow, kKeywords.size() + kTextKeywords.size()> rows{};
    std::size_t i = 0;
    for (const auto& row : kKeywords) rows[i++] = {row.word, actionOf(row)};
    for (const auto& row : kTextKeywords) rows[i++] = {row.word, actionOf(row)};
    return rows;
}();

}  // namespace

namespace {

// A word's first eight bytes and the next four, as the index keeps them.
struct WordKey {
    std::uint64_t prefix = 0;
    std::uint32_t tail = 0;
};

constexpr WordKey keyOf(std::string_view word) {
    constexpr std::size_t kPrefixBytes = 8;
    WordKey key;
    for (std::size_t i = 0; i < word.size(); ++i) {
        auto byte = static_cast<unsigned char>(word[i]);
        if (i < kPrefixBytes) {
            key.prefix |= std::uint64_t{byte} << (8 * i);
        } else {
            key.tail |= std::uint32_t{byte} << (8 * (i - kPrefixBytes));
        }
    }
    return key;
}

}  // namespace

constexpr RtfWordIndex::RtfWordIndex(std::span<const RtfWordRow> rows) {
    // Odd multipliers from a linear congruential sequence, tried in turn.
    // The search starts at the one found for the tables above, searched
    // outside the compiler along the same sequence (686303 steps after
    // 0xAA5639FC3F3F2D81, the one before the formatting words were added),
    // so a build tries one: a few hundred tries pass the evaluation limit of
    // some compilers' constant expressions. After a change to the tables, a
    // clash goes on searching from there.
    for (std::uint64_t multiplier = 0x36508F7236DA1315ULL;;
         multiplier = (multiplier * 6364136223846793005ULL + 1442695040888963407ULL) | 1) {
        multiplier_ = multiplier;
        bool used[kSlots] = {};
        bool clash = false;
        for (const RtfWordRow& row : rows) {
            std::size_t slot = slotOf(keyOf(row.word).prefix, row.word.size());
            clash = used[slot];
            if (clash) break;
            used[slot] = true;
        }
        if (!clash) break;
    }
    for (const RtfWordRow& row : rows) {
        WordKey key = keyOf(row.word);
        slots_[slotOf(key.prefix, row.word.size())] = {
            key.prefix, key.tail, static_cast<std::uint8_t>(row.word.size()), row.found};
    }
}

static_assert(std::all_of(kWordRows.begin(), kWordRows.end(), [](const RtfWordRow& row) {
    return !row.word.empty() && row.word.size() <= RtfWordIndex::kMaxWordBytes;
}));

constexpr RtfWordIndex kRtfWordIndex(kWordRows);

std::span<const RtfKeyword> rtfKeywords() {
    return kKeywords;
}

std::span<const RtfTextKeyword> rtfTextKeywords() {
    return kTextKeywords;
}

int rtfCharsetCodePage(int charset) {
    for (const auto& row : kCharsetCodePages) {
        if (row.charset == charset) return row.codePage;
    }
    return 0;
}

}  // namespace tessel::resources
