#include "file_arguments.h"

#include <glob.h>
#include <sys/stat.h>

#include <ostream>
#include <string_view>

namespace tessel::cli {

namespace {

// Longest path the library takes (its buffers hold 260 bytes with the
// terminator).
constexpr std::size_t kMaxPath = 259;

bool exists(const std::string& name) {
    struct stat info {};
    return ::lstat(name.c_str(), &info) == 0;
}

bool isDirectory(const std::string& name) {
    struct stat info {};
    return ::stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isPattern(std::string_view name) {
    return name.find_first_of("*?[") != std::string::npos;
}

std::vector<std::string> expandPattern(const std::string& pattern) {
    std::vector<std::string> matches;
    glob_t found{};
    if (::glob(pattern.c_str(), 0, nullptr, &found) == 0) {
        for (std::size_t i = 0; i < found.gl_pathc; ++i) matches.emplace_back(found.gl_pathv[i]);
    }
    ::globfree(&found);
    return matches;
}

// A name the library would be handed; false (with a message) for names that
// are no file to convert.
bool acceptable(const std::string& name, std::ostream& err) {
    if (name.size() > kMaxPath) {
        err << "tessel: " << name << ": file name too long (" << name.size()
            << " characters, at most " << kMaxPath << ")\n";
        return false;
    }
    if (isDirectory(name)) {
        err << "tessel: " << name << ": is a folder, not a file\n";
        return false;
    }
    return true;
}

}  // namespace

FileArguments collectFiles(const std::vector<std::string>& names, std::ostream& err) {
    FileArguments result;
    for (const std::string& name : names) {
        std::vector<std::string> expanded{name};
        if (!exists(name) && isPattern(name)) {
            expanded = expandPattern(name);
            if (expanded.empty()) {
                err << "tessel: " << name << ": no file matches\n";
                result.refusedSome = true;
                continue;
            }
        }
        for (std::string& file : expanded) {
            if (acceptable(file, err)) {
                result.files.push_back(std::move(file));
            } else {
                result.refusedSome = true;
            }
        }
    }
    return result;
}

}  // namespace tessel::cli
