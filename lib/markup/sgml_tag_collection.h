// Reading the tags of a file into the sorted tag list: the SGML external tag
// file before a job, and the input of the tag collection (function code 801).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessel::frame {
class ErrorLog;
}

namespace tessel::markup {

class SortedStringList;

// Reads the file at `path` line by line (trailing blanks and tabs removed)
// and adds its tags to `list`. A tag continued over lines is joined with one
// blank where each line broke, so that it fits on one line of the tag file.
// Problems are numbered messages in `log`: a line whose text holds a ">"
// outside any tag (-1202, quoting the line) and a tag or comment still open at
// the end of the file (-1201, quoting its text). Returns the number of tags
// that were new to the list, -101 when the file cannot be opened or read to
// its end, -103 when memory runs out.
// A tag file (`source` TagFile) holds one tag a line: a line that is only a
// null end tag "/" or a marked section's end "]]>" is that tag, and what
// the scan cannot place is not logged (the file may hold anything besides
// tags).
enum class TagSource { Input, TagFile };

int collectSgmlTags(const std::string& path, SortedStringList& list, frame::ErrorLog& log,
                    TagSource source);

// Logs what the scan of line `lineNumber` (from 1) could not place, quoting
// `text`: a "<" that begins no markup (-1203) and a NET-enabling start tag
// whose "/" did not come (-1204). Clears the findings.
void reportUnplacedMarkup(frame::ErrorLog& log, int& changeCount, std::string_view text,
                          std::size_t lineNumber);

}  // namespace tessel::markup
