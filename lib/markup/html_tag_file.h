// The user's HTML tag definition file: one entry per line, two or three
// tab-separated fields (name, class, attribute), read once per HTML job
// into three parallel string lists, the last line of the file first.
#pragma once

#include <memory>
#include <string>

#include "markup/string_list.h"
#include "platform/streams.h"

namespace tessel::markup {

// The entries of a tag definition file. The three lists stay in step: the
// n-th node of each belongs to the same line (an empty attribute for a
// two-field line).
struct UserTagList {
    StringList names;
    StringList classes;
    StringList attributes;
};

// Reads the file at `path` into `tags`, writing its progress and problems to
// `log`. Returns 0 on success (also for an empty path, which leaves `tags`
// null and the log untouched), -101 when the file cannot be opened, -103 when
// memory runs out, -2206 for the first line that breaks the rules (lines
// after it are not read).
int funcReadHTMLTagFile(const std::string& path, platform::OutputStream& log,
                        std::unique_ptr<UserTagList>& tags);

}  // namespace tessel::markup
