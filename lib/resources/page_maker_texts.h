// The PageMaker converter's grammar, table resources and the words of its header
// test. Its token names are those of pagemaker.grammar.
#pragma once

#include <string_view>

namespace tessel::resources {

inline constexpr std::string_view kPageMakerGrammar = "pagemaker";
inline constexpr std::string_view kPageMakerLexTable = "PageMakerLexTable";
inline constexpr std::string_view kPageMakerYaccTable = "PageMakerYaccTable";

// The header line of a PageMaker export and the platform word before its ">".
inline constexpr std::string_view kPageMakerHeaderStart = "<PMTags";
inline constexpr std::string_view kPageMakerMacintoshWord = "mac";

}  // namespace tessel::resources
