// The QuarkXPress converter's grammar, table resources and texts.
#pragma once

#include <string_view>

namespace tessel::resources {

inline constexpr std::string_view kXPressGrammar = "quark";
inline constexpr std::string_view kXPressLexTable = "XPressLexTable";
inline constexpr std::string_view kXPressYaccTable = "XPressYaccTable";

// The encoding tag of a file in the Macintosh character set.
inline constexpr std::string_view kXPressMacintoshEncoding = "<e0>";
// The encoding tags of Unicode files: "<e8>" (Unicode) and "<e9>" (UTF-8).
// Their text is read as UTF-8 (the working copy of a file that came with a
// UTF-16 mark holds it in UTF-8).
inline constexpr std::string_view kXPressUnicodeEncodings[] = {"<e8>", "<e9>"};

// Shown in a message box when the parser cannot be set up.
inline constexpr std::string_view kXPressParserError =
    "Error when creating QuarkXPress parser: %s\n";

}  // namespace tessel::resources
