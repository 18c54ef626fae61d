#include "file_arguments.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string_view>
#include <system_error>

#include "platform/files.h"
#include "platform/path_names.h"
#include "tool_texts.h"

namespace tessel::cli {

namespace {

namespace fs = std::filesystem;

// Longest path the library takes (its buffers hold 260 bytes with the
// terminator).
constexpr std::size_t kMaxPath = 259;

bool exists(const std::string& name) {
    return platform::nameExists(name);
}

bool isDirectory(const std::string& name) {
    std::error_code ignored;
    return fs::is_directory(platform::pathOf(name), ignored);
}

bool isPattern(std::string_view name) {
    return name.find_first_of("*?[") != std::string::npos;
}

std::vector<std::string> expandPattern(const std::string& pattern) {
    return platform::filesMatching(pattern);
}

void refuse(FileArguments& result, std::ostream& err, const std::string& name,
            std::string_view reason) {
    err << fill(text::kFileProblem, {name, reason});
    result.refusedSome = true;
}

bool matchesAny(const std::string& fileName, const std::vector<std::string>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
        return platform::wildcardMatches(pattern, fileName);
    });
}

std::string joinedPatterns(const std::vector<std::string>& patterns) {
    std::string joined;
    for (const std::string& pattern : patterns) joined += (joined.empty() ? "" : " ") + pattern;
    return joined;
}

// A name the library would be handed; false (with a message) for names that
// are too long for it.
bool fitsTheLibrary(const std::string& name, FileArguments& result, std::ostream& err) {
    if (name.size() <= kMaxPath) return true;
    refuse(result, err, name,
           fill(text::kNameTooLong, {std::to_string(name.size()), std::to_string(kMaxPath)}));
    return false;
}

// The matching files of `folder` and its sub-folders in name order; links to
// folders are not followed, so a link back up cannot loop.
void walkFolder(const std::string& folder, const FileSelection& selection, FileArguments& result,
                std::ostream& err) {
    std::vector<BatchFile> found;
    // "site/" and "site" name the same root of the relative sub-folders.
    fs::path root = platform::pathOf(folder).lexically_normal();
    if (!root.has_filename() && root.has_relative_path()) root = root.parent_path();
    std::error_code error;
    fs::recursive_directory_iterator entries(platform::pathOf(folder), fs::directory_options::none,
                                             error);
    for (; !error && entries != fs::recursive_directory_iterator(); entries.increment(error)) {
        std::error_code typeError;
        if (!entries->is_regular_file(typeError)) continue;
        const fs::path& path = entries->path();
        if (!matchesAny(platform::nameOf(path.filename()), selection.patterns)) continue;
        std::string subfolder =
            platform::nameOf(path.parent_path().lexically_normal().lexically_relative(root));
        found.push_back(BatchFile{platform::nameOf(path), subfolder == "." ? "" : subfolder});
    }
    if (error) refuse(result, err, folder, error.message());
    if (found.empty() && !error) {
        refuse(result, err, folder,
               fill(text::kNoFileInFolder, {joinedPatterns(selection.patterns)}));
    }
    std::sort(found.begin(), found.end(),
              [](const BatchFile& a, const BatchFile& b) { return a.path < b.path; });
    for (BatchFile& file : found) {
        if (fitsTheLibrary(file.path, result, err)) result.files.push_back(std::move(file));
    }
}

void addName(const std::string& name, const FileSelection& selection, FileArguments& result,
             std::ostream& err) {
    if (isDirectory(name)) {
        if (selection.recursive) {
            walkFolder(name, selection, result, err);
        } else {
            refuse(result, err, name, text::kIsAFolder);
        }
        return;
    }
    if (fitsTheLibrary(name, result, err)) result.files.push_back(BatchFile{name, ""});
}

}  // namespace

FileArguments collectFiles(const std::vector<std::string>& names, const FileSelection& selection,
                           std::ostream& err) {
    FileArguments result;
    for (const std::string& name : names) {
        if (exists(name) || !isPattern(name)) {
            addName(name, selection, result, err);
            continue;
        }
        std::vector<std::string> expanded = expandPattern(name);
        if (expanded.empty()) refuse(result, err, name, text::kNoFileMatches);
        for (const std::string& file : expanded) addName(file, selection, result, err);
    }
    return result;
}

}  // namespace tessel::cli
