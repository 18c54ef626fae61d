// Names of the SGML job's files: the output extension of each function code.
#pragma once

#include <string_view>

namespace tessel::resources {

inline constexpr std::string_view kSgmlRtfExtension = "rtf";          // 803
inline constexpr std::string_view kSgmlExtractionExtension = "xsg";   // 802
inline constexpr std::string_view kSgmlEntitiesExtension = "htm";     // 901
inline constexpr std::string_view kSgmlOtherOutputExtension = "out";  // 903 and the rest

}  // namespace tessel::resources
