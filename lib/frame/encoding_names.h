// The code page an encoding name stands for, as sources declare them and
// users give them (lib/resources/encoding_names.h).
#pragma once

#include <string_view>

namespace tessel::frame {

// The code page of `name` (case and surrounding blanks ignored): a Windows
// code page with a table of the library's, 65001 for UTF-8, 1200 and 1201
// for UTF-16 little- and big-endian; 0 for a name the library does not read.
int codePageOfEncodingName(std::string_view name);

}  // namespace tessel::frame
