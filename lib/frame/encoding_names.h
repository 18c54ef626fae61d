// The code page an encoding name stands for, as sources declare them and
// users give them (lib/resources/encoding_names.h).
#pragma once

#include <string_view>

namespace tessel::frame {

// The code page of `name` (case and surrounding blanks ignored): a Windows
// code page with a table of the library's, 65001 for UTF-8, 1200 and 1201
// for UTF-16 little- and big-endian; 0 for a name the library does not read.
// Besides the names of the table, a page with a table is known by its
// number, alone or after "windows-", "cp" and the like ("cp1251", "1253").
// The one parser of encoding names: sources' declarations, the user's
// choice, the converters' and the round trip's decisions all read names
// through it.
int codePageOfEncodingName(std::string_view name);

}  // namespace tessel::frame
