// Marking up one line of HTML that is already escaped for RTF: entities are
// decoded or protected, comments, scripts and server blocks are wrapped as
// external tags (over any number of lines), and every tag is classified and
// wrapped in the group of its class.
#pragma once

#include <string>

namespace tessel::markup {

// Marks up `line` in place, reading and changing the mark-up state of the
// running job (htmlMarkupState()). Returns the number of tags, blocks and
// entities wrapped, or a message code: -2203 or -2204 (the line stops there),
// otherwise -2205 before -2202 before -1305. A tag or block left open at the
// end of the line goes to the carry-over buffer and is cut from the line.
// -2201 (invalid class letters from the tag definition file) ends the job.
int funcMarkUpHTMLLine(std::string& line);

// Escapes `line` for RTF (frame::escapeRtf) and marks it up as
// funcMarkUpHTMLLine does, giving its result in `result`; most lines are
// escaped, decoded and marked up in one pass. False when memory runs out
// while escaping.
bool escapeAndMarkUpHtmlLine(std::string& line, int& result);

// funcMarkUpHTMLLine after its first step: the entities of `line` are
// decoded and wrapped already (decodeAndWrapEntities: `entities` wrapped,
// `message` its message), the tags and blocks are marked up.
int markUpHtmlTags(std::string& line, int entities, int message);

}  // namespace tessel::markup
