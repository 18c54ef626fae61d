// Marking up one SGML line that is already escaped for RTF (function code
// 803): every tag listed in the external tag list is wrapped as an external
// tag, every other tag as an internal one, comments as external tags; a tag
// or comment open at the end of the line waits in the carry-over buffer and
// is wrapped, with its line breaks, on the line that closes it. Entities are
// then decoded, and those that are left are protected as internal tags.
#pragma once

#include <string>

namespace tessel::markup {

// Marks up `line` in place, reading and changing sgmlMarkupState() (the
// external tags come from its list). Returns the number of tags, comments
// and entities wrapped, or a message code: -1202 when the text between tags
// holds a ">", else -1305 for an "&" without ";" outside a tag. The whole
// line is marked up either way.
int funcMarkUpSGMLLine(std::string& line);

}  // namespace tessel::markup
