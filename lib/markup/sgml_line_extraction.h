// Extraction of the tags of one SGML line, in two modes: text mode (function
// code 802) rewrites the line as its tags, one per line; list mode (tag
// collection) adds the tags to a sorted list. Comments are dropped; a tag or
// comment left open at the end of the line goes on in the next one.
#pragma once

#include <string>

namespace tessel::markup {

class SortedStringList;

// List mode when `list` is set: adds each tag and counts those that were new;
// the line is left as it is. Text mode otherwise: the line becomes its tags
// joined by "\n" (a tag continued from earlier lines first, its carried text
// in front) and the count is the number of tags. Either way the result is
// -1202 when the text between tags holds a ">", and -103 when memory runs
// out. Reads and changes sgmlMarkupState(); a tag open at the end of the line
// moves to its carry-over buffer.
int extractSgmlTags(std::string& line, SortedStringList* list);

// Text mode, as ExecuteFunction runs it for code 802.
int funcExtractSGMLTags(std::string& line);

}  // namespace tessel::markup
