// How the back-conversion jobs write what the translated RTF holds beyond
// plain 8-bit text: manual line breaks, characters the target cannot hold
// in its code page, and the log detail that names those characters.
#pragma once

#include <span>
#include <string_view>

namespace tessel::resources {

// What a format writes for a character its code page cannot hold.
enum class UnheldCharacterRule {
    NumericReference,     // HTML and SGML: "&#322;", nothing is lost
    LiteralCharacterTag,  // PageMaker, QuarkXPress: "<\#322>", and a log message
    Fallback,             // plain text, Ventura: the RTF's fallback or "?", and a log message
};

// Which code page a format's output is written in.
enum class TargetCodePage {
    Windows1252,     // HTML and SGML with entities: what the entity step reads
    Document,        // 8-bit text formats: the document's "\ansicpgN" (1252 without)
    ChosenByCaller,  // multilingual HTML: the code page the job is given
};

struct BackConversionFormat {
    int functionCode;
    TargetCodePage codePage;
    UnheldCharacterRule unheld;
    // Written for a manual line break ("\line"); empty: a line end.
    std::string_view softLineBreak;
};

inline constexpr BackConversionFormat kBackConversionFormats[] = {
    {504, TargetCodePage::Document, UnheldCharacterRule::Fallback, ""},
    {508, TargetCodePage::Windows1252, UnheldCharacterRule::NumericReference, "<br>"},
    {510, TargetCodePage::Document, UnheldCharacterRule::LiteralCharacterTag, ""},
    {511, TargetCodePage::Document, UnheldCharacterRule::LiteralCharacterTag, "<\\n>"},
    {512, TargetCodePage::Windows1252, UnheldCharacterRule::NumericReference, ""},
    {513, TargetCodePage::Document, UnheldCharacterRule::Fallback, "<R>"},
    {514, TargetCodePage::Windows1252, UnheldCharacterRule::NumericReference, "<br>"},
    {515, TargetCodePage::ChosenByCaller, UnheldCharacterRule::NumericReference, "<br>"},
};

inline constexpr std::string_view kNumericReferenceFormat = "&#%s;";
inline constexpr std::string_view kLiteralCharacterTagFormat = "<\\#%s>";
// Written where neither the code page nor the RTF's fallback holds a character.
inline constexpr std::string_view kUnknownCharacterFallback = "?";
// The code page of UTF-8, which holds every character.
inline constexpr int kUtf8CodePage = 65001;

// Characters of translated text that a tagged text format's lexer would
// not read as text where they stand, and what the back-conversion writes for
// each: no more than that, so that a file that marked up comes back as it
// was. Only text runs are escaped; protected runs (the tags) are written as
// they stand.
enum class EscapeWhen {
    Always,
    // Only where the next byte written starts markup of the format (one of
    // the table's markupStarts): elsewhere the character is text as it is.
    BeforeMarkup,
    // Only where "= " follows on the line: a paragraph tag would begin here.
    OpensParagraphTag,
    // Only where the next byte written is one of the table's markupStarts,
    // or the byte written before is the character itself: a separator, or a
    // run of them, would begin or grow here.
    BesideSeparator,
};

struct TextEscape {
    char character;
    std::string_view written;  // empty: the format has no escape for it
    EscapeWhen when;
    // Written instead right after a code's closing ">" (a tag run, or an
    // escape, that ends in one); empty: `written` there too.
    std::string_view writtenAfterCode = {};
};

struct TextEscapeTable {
    int functionCode;
    std::span<const TextEscape> escapes;
    // Bytes that start markup (EscapeWhen::BeforeMarkup, BesideSeparator).
    std::string_view markupStarts;
    // Text between a tag run that begins with `tableStart` and one that
    // begins with `tableEnd` is cell text, with `tableEscapes` as well,
    // except between `cellStart` and `cellEnd` (a cell of its own, whose
    // commas separate nothing).
    std::string_view tableStart = {};
    std::string_view tableEnd = {};
    std::string_view cellStart = {};
    std::string_view cellEnd = {};
    const struct TextEscapeTable* tableEscapes = nullptr;
};

// PageMaker: "<" opens a tag; a backslash before "<", ">" or "@" makes an
// escaped character of it, and is written as the literal character tag of
// the backslash there.
inline constexpr TextEscape kPageMakerEscapes[] = {
    {'<', "\\<", EscapeWhen::Always},
    {'\\', "<\\#92>", EscapeWhen::BeforeMarkup},
};
// A PageMaker index entry's quoted string (a text run right after a
// protected run that ends in a double quote): everything but the quote is
// text there, and the quote has no escape.
inline constexpr TextEscape kPageMakerIndexStringEscapes[] = {
    {'"', "", EscapeWhen::Always},
};
// QuarkXPress: "<" opens a tag, "@" a style sheet tag.
inline constexpr TextEscape kXPressEscapes[] = {
    {'<', "<\\<>", EscapeWhen::Always},
    {'@', "<\\@>", EscapeWhen::Always},
};
// Ventura 4 and 5 to 7: "<" opens a code, ">>" is an escaped ">" (so a typed
// ">" beside another one would be read as one; right after a code's ">" it
// would be read as part of the code, and is written as its character code),
// and "@" with "= " after it on the line a paragraph tag.
inline constexpr TextEscape kVenturaEscapes[] = {
    {'<', "<<", EscapeWhen::Always},
    {'>', ">>", EscapeWhen::Always, "<62>"},
    {'@', "<64>", EscapeWhen::OpensParagraphTag},
};

// Ventura table cells: ", " separates cells and ",," (or more) makes empty
// ones, so a typed comma that a blank, a tab or another comma follows, or
// that follows a comma, is written as its character code.
inline constexpr TextEscape kVenturaCellEscapes[] = {
    {',', "<44>", EscapeWhen::BesideSeparator},
};
inline constexpr TextEscapeTable kVenturaCellTable = {0, kVenturaCellEscapes, ", \t"};

inline constexpr TextEscapeTable kTextEscapeTables[] = {
    {510, kPageMakerEscapes, "<>@"},
    {511, kXPressEscapes, ""},
    {504, kVenturaEscapes, "", "@Z_TBL_BEG = ", "@Z_TBL_END = ", "@Z_TBL_CELL_BEG = ",
     "@Z_TBL_CELL_END = ", &kVenturaCellTable},
    // Version 4 knows no cells of their own.
    {513, kVenturaEscapes, "", "@Z_TBL_BEG = ", "@Z_TBL_END = ", "", "", &kVenturaCellTable},
};
inline constexpr TextEscapeTable kPageMakerIndexStringTable = {510, kPageMakerIndexStringEscapes,
                                                               ""};
// Written for a character the format has no escape for (message -1502).
inline constexpr std::string_view kUnescapableCharacterFallback = "?";

// The log detail of message -2401: the character, as the file would hold
// it, and what compatible HTML writes instead.
inline constexpr std::string_view kCompatibleSubstituteDetail = "%s (%s) is written as \"%s\"";

// One character in the log detail of message -1502, "U+0141".
inline constexpr std::string_view kCharacterNamePrefix = "U+";
inline constexpr std::string_view kCharacterNameSeparator = ", ";

}  // namespace tessel::resources
