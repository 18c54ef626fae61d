// Texts of the grammar-driven converters: the RTF form their replacement
// lists write, the messages of the pieces, lists and line/column reader, and
// the markup-parser log. Formats use %d for numbers and %s for texts.
#pragma once

#include <string_view>

#include "resources/rtf_texts.h"

namespace tessel::resources {

// The document header of the converters' RTF (1042 characters): the mark-up
// jobs' header, except that the do-not-translate style carries colour 5.
inline constexpr std::string_view kConverterRtfHeader =
    JoinedText<kRtfHeaderUpToDoNotTranslateColour, kConverterDoNotTranslateColour,
               kRtfHeaderAfterDoNotTranslateColour>::kText;
static_assert(kConverterRtfHeader.size() == 1042);

inline constexpr std::string_view kConverterRtfFooter = "}";

// Escapes of text and tag text: the frame's twelve plus the no-break space.
struct ConverterRtfEscape {
    char byte;
    std::string_view replacement;
};
inline constexpr ConverterRtfEscape kConverterRtfEscapes[] = {
    {'\\', "\\\\"},           {'{', "\\{"},          {'}', "\\}"},
    {'\x91', "\\lquote "},    {'\x92', "\\rquote "}, {'\x93', "\\ldblquote "},
    {'\x94', "\\rdblquote "}, {'\x95', "\\bullet "}, {'\x96', "\\endash "},
    {'\x97', "\\emdash "},    {'\xA0', "\\~"},       {'\t', "\\tab "},
    {'\n', "\n\\par "},
};

// A character of a UTF-8 or other non-1252 source that Windows 1252 lacks:
// RTF's Unicode escape, the signed 16-bit number of the character (each half
// of a surrogate pair beyond U+FFFF), then its one fallback character for
// readers without Unicode (the default \\uc1 says one).
inline constexpr std::string_view kRtfUnicodeEscape = "\\u%s";
inline constexpr std::string_view kRtfUnicodeFallback = "?";

// A byte of a Macintosh file without a Windows counterpart, as PageMaker and
// QuarkXPress write it: its decimal value in a literal character tag.
inline constexpr std::string_view kLiteralCharacterTag = "<\\#%s>";
// The escaped form of a literal character tag's start, as it stands in text
// after RTF escaping.
inline constexpr std::string_view kEscapedLiteralCharacterTagStart = "<\\\\#";

// Replacement list messages.
inline constexpr std::string_view kDuplicateTranslation =
    "Duplicate translations! %s is translated as %s and %s.\n";
inline constexpr std::string_view kSameInputAndOutput =
    "Same filename (%s) specified for both Input and Output!\n";
inline constexpr std::string_view kSkippingOutput =
    "\nFile Error! %s\n- Skipping output file for %s!\n\n";

// Line/column reader messages.
inline constexpr std::string_view kLineAlreadyRead =
    "Line %d has already been read - current line is %d.\n";
inline constexpr std::string_view kFileHasTooFewLines =
    "Unexpected End of File in %s. This file does not contain %d lines!";
inline constexpr std::string_view kCharacterAlreadyRead =
    "Character %d on line %d has already been read - current offset is %d.\n";
inline constexpr std::string_view kLineTooShortAtEnd =
    "Unexpected End of File in %s. Line %d does not contain %d characters!\n";
inline constexpr std::string_view kLineTooShort = "Line %d does not contain %d characters!\n";
inline constexpr std::string_view kFileReadError = "File Error! %s\n";
inline constexpr std::string_view kCannotOpenInputFile =
    "File Error! Could not open the input file %s. %s\n";
inline constexpr std::string_view kCannotCreateFolder = "Error: %s, %s\n";
inline constexpr std::string_view kCannotOpenOutputFile = "Could not open output file %s\n%s\n";

// Converter log entries: the entry heading and one line per reference.
inline constexpr std::string_view kLogEntry = "\n[%d]  %s";
inline constexpr std::string_view kLogReferenceLine = "- %s\n";

// The markup-parser log.
inline constexpr std::string_view kMarkupParserLogHeader =
    "\t\tError Log File from Tessel CAT Markup Parser\n\nDate:\t%s %s\nFile:\t%s\n\n";
inline constexpr std::string_view kMarkupParserLogTrailer =
    "\n\n-------------------------------------------------\n\t%d changes made.\n"
    "-------------------------------------------------\n";
inline constexpr std::string_view kUnexpectedText = "Unexpected text: \"%s\". %s\n";
inline constexpr std::string_view kUnexpectedTextNoRecovery =
    "Unexpected text: \"%s\". %s\nFailed to recover!\n\n";
inline constexpr std::string_view kParseError = "Parse Error: %s\nParsing not completed!\n\n";
inline constexpr std::string_view kParseFileError = "File Error!\nParsing not completed!\n\n";
inline constexpr std::string_view kExpectedPrefix = "Expected ";
inline constexpr std::string_view kExpectedSeparator = ", ";
inline constexpr std::string_view kExpectedLastSeparator = ", or ";

// Extensions of the converters' files. The working copy is the PC-line-end
// copy that the PageMaker and QuarkXPress converters parse.
inline constexpr std::string_view kConverterOutputExtension = ".RTF";
inline constexpr std::string_view kConverterLogExtension = ".err";
inline constexpr std::string_view kWorkingCopyExtension = ".tmp";

// Resource types of the converters' grammar tables.
inline constexpr std::string_view kLexTableType = "LEXTABLE";
inline constexpr std::string_view kYaccTableType = "YACCTABLE";

}  // namespace tessel::resources
