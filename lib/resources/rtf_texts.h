// The RTF the mark-up jobs write: the fixed document header, the openings of
// the three protected tag runs, paragraph and document ends.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace tessel::resources {

// The document header's 18 lines: fonts, colours, the style sheet with the
// protected character styles, page size and the first paragraph's
// formatting. The mark-up jobs and the grammar-driven converters write it
// with one difference, the colour of the do-not-translate style (13 and 5),
// so it is kept once, in three parts around that colour.
inline constexpr std::string_view kRtfHeaderUpToDoNotTranslateColour =
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
    "{\\cs8 \\additive \\cf";
inline constexpr std::string_view kRtfHeaderAfterDoNotTranslateColour =
    "\\f1\\lang1024 DO_NOT_TRANSLATE;}\n"
    "{\\cs9 \\additive Default Paragraph Font;}}\n"
    "\\paperw11907\\paperh16840\\pard\\plain\\s0\\sb80\\slmult1\\widctlpar\\fs20\\f3 \n";
inline constexpr std::string_view kMarkupDoNotTranslateColour = "13";
inline constexpr std::string_view kConverterDoNotTranslateColour = "5";

// The parts of a text joined at compile time into one constant.
template <const std::string_view&... Parts>
struct JoinedText {
    static constexpr std::size_t kSize = (Parts.size() + ...);
    static constexpr std::array<char, kSize> kChars = [] {
        std::array<char, kSize> chars{};
        std::size_t at = 0;
        ((std::copy(Parts.begin(), Parts.end(), chars.begin() + at), at += Parts.size()), ...);
        return chars;
    }();
    static constexpr std::string_view kText{kChars.data(), kSize};
};

// The header the HTML and SGML mark-up jobs write.
inline constexpr std::string_view kRtfHeader =
    JoinedText<kRtfHeaderUpToDoNotTranslateColour, kMarkupDoNotTranslateColour,
               kRtfHeaderAfterDoNotTranslateColour>::kText;

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
