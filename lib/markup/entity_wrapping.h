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
// most lines are decoded and wrapped in one pass.
int decodeAndWrapEntities(std::string& line, int& message);

// Escapes `line` for RTF (frame::escapeRtf) and then decodes and wraps its
// entities as decodeAndWrapEntities, giving `count` and `message` as it
// does; most lines are done in one pass. False when memory runs out while
// escaping.
bool escapeDecodeAndWrapEntities(std::string& line, int& count, int& message);

}  // namespace tessel::markup
