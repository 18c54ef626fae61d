// The built-in HTML tag table: how each tag is wrapped in the RTF. Sorted in
// ascending byte order of the name, which is also the order when letters are
// compared without regard to case; the lookup stops early on that order.
#pragma once

#include <array>
#include <string_view>

namespace tessel::resources {

struct HtmlTagEntry {
    std::string_view name;       // as it follows "<" or "</", upper case
    std::string_view tagClass;   // E, I, D, or S plus E, I or D
    std::string_view attribute;  // for S classes: " NAME=" whose value is translatable
};

inline constexpr std::array<HtmlTagEntry, 91> kHtmlTagTable = {{
    {"!--BOLOC", "D", ""},
    {"!--EOLOC", "D", ""},
    {"!--SOLOC", "D", ""},
    {"!DOCTYPE", "E", ""},
    {"A", "SI", " TITLE="},
    {"ADDRESS", "E", ""},
    {"APPLET", "SE", " ALT="},
    {"AREA", "E", ""},
    {"B", "I", ""},
    {"BASE", "E", ""},
    {"BASEFONT", "E", ""},
    {"BGSOUND", "I", ""},
    {"BIG", "I", ""},
    {"BLINK", "I", ""},
    {"BLOCKQUOTE", "E", ""},
    {"BODY", "E", ""},
    {"BR", "I", ""},
    {"CAPTION", "E", ""},
    {"CENTER", "E", ""},
    {"CITE", "I", ""},
    {"CODE", "I", ""},
    {"COL", "E", ""},
    {"COLGROUP", "E", ""},
    {"COMMENT", "E", ""},
    {"DD", "E", ""},
    {"DFN", "I", ""},
    {"DIR", "E", ""},
    {"DIV", "I", ""},
    {"DL", "E", ""},
    {"DT", "E", ""},
    {"EM", "I", ""},
    {"EMBED", "E", ""},
    {"FONT", "I", ""},
    {"FOOT", "E", ""},
    {"FORM", "E", ""},
    {"FRAME", "E", ""},
    {"FRAMESET", "E", ""},
    {"H", "E", ""},
    {"HEAD", "E", ""},
    {"HR", "E", ""},
    {"HTML", "E", ""},
    {"I", "I", ""},
    {"IA", "E", ""},
    {"IFRAME", "E", ""},
    {"IMG", "SI", " ALT="},
    {"INPUT", "SE", " VALUE="},
    {"ISINDEX", "SE", " PROMPT="},
    {"KBD", "I", ""},
    {"LI", "E", ""},
    {"LINK", "SI", " TITLE="},
    {"LISTING", "E", ""},
    {"MAP", "E", ""},
    {"MARQUEE", "E", ""},
    {"MENU", "I", ""},
    {"META", "SE", " CONTENT="},
    {"NEXTID", "E", ""},
    {"NOBR", "I", ""},
    {"NOFRAMES", "E", ""},
    {"OBJECT", "E", ""},
    {"OL", "E", ""},
    {"OPTION", "E", ""},
    {"P", "E", ""},
    {"PARAM", "SE", " VALUE="},
    {"PLAINTEXT", "I", ""},
    {"PRE", "I", ""},
    {"S", "I", ""},
    {"SAMP", "I", ""},
    {"SELECT", "E", ""},
    {"SMALL", "I", ""},
    {"SPACER", "E", ""},
    {"SPAN", "E", ""},
    {"STRIKE", "I", ""},
    {"STRONG", "I", ""},
    {"STYLE", "E", ""},
    {"SUB", "I", ""},
    {"SUP", "I", ""},
    {"TABLE", "E", ""},
    {"TBODY", "E", ""},
    {"TD", "E", ""},
    {"TEXTAREA", "E", ""},
    {"TFOOT", "E", ""},
    {"TH", "E", ""},
    {"THEAD", "E", ""},
    {"TITLE", "E", ""},
    {"TR", "E", ""},
    {"TT", "I", ""},
    {"U", "I", ""},
    {"UL", "E", ""},
    {"VAR", "I", ""},
    {"WBR", "I", ""},
    {"XMP", "I", ""},
}};

// The entry whose name switches the PRE flag.
inline constexpr std::string_view kPreTagName = "PRE";

}  // namespace tessel::resources
