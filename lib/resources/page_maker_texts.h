// The PageMaker converter's resource names and the display names of its
// tokens in parse-error messages.
#pragma once

#include <cstdint>
#include <string_view>

namespace tessel::resources {

inline constexpr std::string_view kPageMakerLexTable = "PageMakerLexTable";
inline constexpr std::string_view kPageMakerYaccTable = "PageMakerYaccTable";
inline constexpr std::string_view kLexTableType = "LEXTABLE";
inline constexpr std::string_view kYaccTableType = "YACCTABLE";

// The header line of a PageMaker export and the platform word before its ">".
inline constexpr std::string_view kPageMakerHeaderStart = "<PMTags";
inline constexpr std::string_view kPageMakerMacintoshWord = "mac";

inline constexpr std::string_view kTokenNotFound = "SSLexTokenNotFound";

struct TokenName {
    std::int32_t token;
    std::string_view name;
};
inline constexpr TokenName kPageMakerTokenNames[] = {
    {2, "<PMTags X.X win/mac>"},
    {4, "<"},
    {5, "\\<, \\>, \\@"},
    {6, "<*INDEX"},
    {9, "word in tag"},
    {10, "tag inside tag"},
    {11, ">"},
    {12, "external keyword for tag"},
    {15, "start quote"},
    {16, "end of index tag"},
    {18, "end quote"},
    {-1, "eof"},
    {-2, "%error"},
};

// Working copy and output of the converter.
inline constexpr std::string_view kWorkingCopyExtension = ".tmp";

}  // namespace tessel::resources
