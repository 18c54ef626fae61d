// Turns the file names of a command line into the files of a batch: patterns
// with * ? [ ] are expanded when no file of that name exists (shells that do
// not expand them), and names no job could use are refused with a message.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessel::cli {

struct FileArguments {
    std::vector<std::string> files;
    bool refusedSome = false;  // a message was written for at least one name
};

FileArguments collectFiles(const std::vector<std::string>& names, std::ostream& err);

}  // namespace tessel::cli
