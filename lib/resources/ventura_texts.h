// The Ventura converters' grammars, table resources and texts: versions 5 to
// 7 and version 4.
#pragma once

#include <string_view>

namespace tessel::resources {

inline constexpr std::string_view kVenturaGrammar = "ventura";
inline constexpr std::string_view kVenturaLexTable = "VenturaLexTable";
inline constexpr std::string_view kVenturaYaccTable = "VenturaYaccTable";
inline constexpr std::string_view kVentura4Grammar = "ventura4";
inline constexpr std::string_view kVentura4LexTable = "Ventura4LexTable";
inline constexpr std::string_view kVentura4YaccTable = "Ventura4YaccTable";

// Shown in a message box when a parser cannot be set up.
inline constexpr std::string_view kVenturaParserError = "Error when creating Ventura parser: %s\n";
inline constexpr std::string_view kVentura4ParserError =
    "Error when creating Ventura 4 parser: %s\n";

}  // namespace tessel::resources
