// Texts and names of the charset step on a finished HTML file.
#pragma once

#include <string_view>

namespace tessel::resources {

inline constexpr std::string_view kHtmlCharsetLexTable = "HTMLCharSetLexTable";
inline constexpr std::string_view kHtmlCharsetYaccTable = "HTMLCharSetYaccTable";
// Key of the grammar in the grammar catalogue (token display names).
inline constexpr std::string_view kHtmlCharsetGrammar = "htmlcharset";

inline constexpr std::string_view kInvalidCodePageLine = "BUG! Invalid code page value: %d\n";
inline constexpr std::string_view kCannotCreateHtmlParser =
    "Error when creating HTML parser: \n%s\n";
// Takes the separator line, the string and the separator line again.
inline constexpr std::string_view kLineBreakInString =
    "Warning! Line break found in string! If a quote is missing, fix it and run the tool "
    "again.\n%s\n...\"%s\"...\n%s\n";
// A charset name that would not stand as a value in a META tag.
inline constexpr std::string_view kInvalidCharsetName =
    "Invalid character set name: \"%s\"\nA name may hold letters, digits and - _ . : + only.\n";
// The HTML file could not be rewritten; it is left as it was.
inline constexpr std::string_view kNoTemporaryName =
    "File Error! No temporary file could be created in the folder of %s.\n";
inline constexpr std::string_view kCannotReplaceHtml =
    "File Error! %s could not be replaced by its rewritten copy. %s\n";

// Temporary files of the step are named with this prefix, a number and this
// extension, in the HTML file's own folder.
inline constexpr std::string_view kCharsetTemporaryPrefix = "~C";
inline constexpr std::string_view kCharsetTemporaryExtension = ".TMP";

}  // namespace tessel::resources
