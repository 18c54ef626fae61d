// Protecting the entities that are left after decoding: every "&" with a ";"
// at most 15 characters after it is wrapped, up to that ";", as an internal
// tag. Shared by the HTML and the SGML mark-up.
#pragma once

#include <string>

namespace tessel::markup {

// Wraps the entities of `line` (escaped for RTF, tags not yet or already
// wrapped) and returns how many. An "&" without a ";" close enough is left as
// it stands; when it is not followed by a blank and does not stand inside a
// tag (no "<" before it, or the last ">" before it comes after the last "<"),
// `message` is set to -1305.
int wrapRemainingEntities(std::string& line, int& message);

// Decodes the entities of `line` for the mark-up (decodeEntitiesForMarkup)
// and wraps those left as wrapRemainingEntities does, with the same result;
// the "&" the decoding left are taken from it rather than searched again.
int decodeAndWrapEntities(std::string& line, int& message);

}  // namespace tessel::markup
