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

// One character in the log detail of message -1502, "U+0141".
inline constexpr std::string_view kCharacterNamePrefix = "U+";
inline constexpr std::string_view kCharacterNameSeparator = ", ";

}  // namespace tessel::resources
