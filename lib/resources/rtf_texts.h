// The RTF the mark-up jobs write: the fixed document header, the openings of
// the three protected tag runs, paragraph and document ends.
#pragma once

#include <string_view>

namespace tessel::resources {

// 18 lines: fonts, colours, the style sheet with the protected character
// styles, page size and the first paragraph's formatting.
inline constexpr std::string_view kRtfHeader =
    "{\\rtf1 \\ansi\\deff3 \n"
    "{\\fonttbl \n"
    "{\\f1 \\fmodern\\fcharset0\\fprq1 Courier New;}\n"
    "{\\f2 \\fswiss\\fcharset0\\fprq2 Arial;}\n"
    "{\\f3 \\froman\\fcharset0\\fprq2 Times New Roman;}}\n"
    "{\\colortbl \\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue255;"
    "\\red0\\green255\\blue255;\\red0\\green255\\blue0;\\red255\\green0\\blue255;"
    "\\red255\\green0\\blue0;\\red255\\green255\\blue0;\\red255\\green255\\blue255;"
    "\\red0\\green0\\blue128;\\red0\\green128\\blue128;\\red0\\green128\\blue0;"
    "\\red128\\green0\\blue128;\\red128\\green0\\blue0;\\red128\\green128\\blue0;"
    "\\red128\\green128\\blue128;\\red192\\green192\\blue192;}\n"
    "{\\stylesheet \n"
    "{\\s0 \\sb80\\slmult1\\widctlpar\\fs20\\f3 \\snext0 Normal;}\n"
    "{\\cs1 \\additive \\v\\cf12\\sub\\f1 qz4lexMark;}\n"
    "{\\cs2 \\cf4\\fs40\\f1 qz4lexError;}\n"
    "{\\cs3 \\f1\\cf11 qz4lexPopup;}\n"
    "{\\cs4 \\f1\\cf10 qz4lexJump;}\n"
    "{\\cs5 \\additive \\cf15\\f1\\lang1024 qz4lexExternal;}\n"
    "{\\cs6 \\additive \\cf6\\f1\\lang1024 qz4lexInternal;}\n"
    "{\\cs7 \\cf2 qz4lexTerm;}\n"
    "{\\cs8 \\additive \\cf13\\f1\\lang1024 DO_NOT_TRANSLATE;}\n"
    "{\\cs9 \\additive Default Paragraph Font;}}\n"
    "\\paperw11907\\paperh16840\\pard\\plain\\s0\\sb80\\slmult1\\widctlpar\\fs20\\f3 \n";

// Names of the protected character styles in the style sheet: what a reader
// of translated RTF goes by, since word processors renumber the styles.
inline constexpr std::string_view kExternalStyleName = "qz4lexExternal";
inline constexpr std::string_view kInternalStyleName = "qz4lexInternal";
inline constexpr std::string_view kDoNotTranslateStyleName = "DO_NOT_TRANSLATE";

inline constexpr std::string_view kInternalTagOpen = "{\\cs6\\cf6\\f1\\lang1024 ";
inline constexpr std::string_view kExternalTagOpen = "{\\cs5\\cf15\\f1\\lang1024 ";
inline constexpr std::string_view kDoNotTranslateOpen = "{\\cs8\\cf13\\f1\\lang1024 ";
inline constexpr std::string_view kTagClose = "}";

inline constexpr std::string_view kParagraphEnd = "\\par \n";
// A line end still inside running text when it is escaped.
inline constexpr std::string_view kEscapedLineEnd = "\n\\par ";
inline constexpr std::string_view kDocumentEnd = "}";

// Escapes of running text: the byte and what is written instead.
struct RtfEscape {
    char byte;
    std::string_view replacement;
};
inline constexpr RtfEscape kRtfEscapes[] = {
    {'\\', "\\\\"},           {'{', "\\{"},          {'}', "\\}"},
    {'\x91', "\\lquote "},    {'\x92', "\\rquote "}, {'\x93', "\\ldblquote "},
    {'\x94', "\\rdblquote "}, {'\x95', "\\bullet "}, {'\x96', "\\endash "},
    {'\x97', "\\emdash "},    {'\t', "\\tab "},      {'\n', kEscapedLineEnd},
};

}  // namespace tessel::resources
