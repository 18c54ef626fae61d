#include "file_arguments.h"

#include <ostream>
#include <string_view>

#include "platform/files.h"

namespace tessel::cli {

namespace {

// Longest path the library takes (its buffers hold 260 bytes with the
// terminator).
constexpr std::size_t kMaxPath = 259;

bool isPattern(std::string_view name) {
    return name.find_first_of("*?[") != std::string::npos;
}

// A name the library would be handed; false (with a message) for names that
// are no file to convert.
bool acceptable(const std::string& name, std::ostream& err) {
    if (name.size() > kMaxPath) {
        err << "tessel: " << name << ": file name too long (" << name.size()
            << " characters, at most " << kMaxPath << ")\n";
        return false;
    }
    if (platform::isDirectory(name)) {
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
        if (!platform::nameExists(name) && isPattern(name)) {
            expanded = platform::filesMatching(name);
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
