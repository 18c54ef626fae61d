// Turns the file names of a command line into the files of a batch: patterns
// with * ? [ ] are expanded when no file of that name exists (shells that do
// not expand them), folders are walked with -r, and names no job could use
// are refused with a message.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessel::cli {

struct BatchFile {
    std::string path;
    // For a file found in a walked folder, its folder relative to the one
    // given ("" directly in it, "a/b" further down); "" for named files.
    std::string subfolder;
};

struct FileSelection {
    bool recursive = false;
    // Name patterns of the files taken from walked folders; matched without
    // regard to case.
    std::vector<std::string> patterns;
};

struct FileArguments {
    std::vector<BatchFile> files;
    bool refusedSome = false;  // a message was written for at least one name
};

FileArguments collectFiles(const std::vector<std::string>& names, const FileSelection& selection,
                           std::ostream& err);

}  // namespace tessel::cli
