// The carry-over buffer of the mark-up jobs: the text of a tag, comment or
// block still open at the end of a line, kept until a later line closes it.
// One buffer for the library, shared by the HTML and the SGML job (one job
// runs at a time); each job empties it at its start.
#pragma once

#include <string>

namespace tessel::markup {

std::string& carryOverBuffer();

}  // namespace tessel::markup
