// The file operations that are the same on every system; files_posix.cpp and
// files_windows.cpp hold the ones each system does its own way.
#include "platform/files.h"

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>
#include <vector>

#include "platform/path_names.h"
#include "platform/paths.h"

namespace tessel::platform {

#ifndef _WIN32
namespace {

// Extensions with more letters than this are looked for in the folder's
// listing rather than by trying each spelling.
constexpr std::size_t kMostSpelledLetters = 5;

// `fileName` with the letters of its extension (from `extensionAt`) in
// every other mix of cases: every letter's case turned first (the job logs
// are ".ERR" where callers ask for ".err", so a check after a job finds them
// at once rather than last), then the others; nothing when the extension
// holds a byte outside ASCII (whose case the listing's comparison may fold)
// or more letters than are worth trying one by one.
std::optional<std::vector<std::string>> otherExtensionSpellings(const std::string& fileName,
                                                                std::size_t extensionAt) {
    std::vector<std::size_t> letters;
    for (std::size_t i = extensionAt; i < fileName.size(); ++i) {
        const auto byte = static_cast<unsigned char>(fileName[i]);
        if (byte >= 0x80) return std::nullopt;
        const auto folded = static_cast<unsigned char>(byte | 0x20);
        if (folded >= 'a' && folded <= 'z') letters.push_back(i);
    }
    if (letters.size() > kMostSpelledLetters) return std::nullopt;
    const std::size_t allFlipped = (std::size_t{1} << letters.size()) - 1;
    auto spelled = [&](std::size_t flips) {
        std::string spelling = fileName;
        for (std::size_t k = 0; k < letters.size(); ++k) {
            if (((flips >> k) & 1) == 0) continue;
            spelling[letters[k]] = static_cast<char>(spelling[letters[k]] ^ 0x20);
        }
        return spelling;
    };
    std::vector<std::string> spellings;
    if (allFlipped != 0) spellings.push_back(spelled(allFlipped));
    for (std::size_t flips = 1; flips < allFlipped; ++flips) spellings.push_back(spelled(flips));
    return spellings;
}

}  // namespace
#endif

std::optional<std::string> findFileAnyExtensionCase(const std::string& path) {
    PathParts parts = splitPath(path);
    std::string folder = parts.drive + parts.directory;
    std::string fileName = parts.baseName + parts.extension;
#ifndef _WIN32
    // Each spelling of a short extension is looked for by name: a check
    // that read the folder would cost a batch writing into one folder time
    // that grows with the square of its files.
    if (auto spellings = otherExtensionSpellings(fileName, parts.baseName.size())) {
        // The name as given first: an entry of any kind under it counts, a
        // link that leads nowhere included.
        if (nameExists(path)) return path;
        for (const std::string& spelling : *spellings) {
            if (nameExists(folder + spelling)) return folder + spelling;
        }
        return std::nullopt;
    }
    if (fileExists(path)) return path;
#endif
    // Windows finds "doc.ERR" under "doc.err" too: the folder listing gives
    // the name as it is stored, which is the one to report.
    std::optional<std::string> otherCase;
    for (const std::string& entry : folderEntries(folder.empty() ? std::string(".") : folder)) {
        if (entry == fileName) return folder + entry;
        PathParts candidate = splitPath(entry);
        if (!otherCase && candidate.baseName == parts.baseName &&
            sameNameIgnoringCase(candidate.extension, parts.extension)) {
            otherCase = folder + entry;
        }
    }
    if (!otherCase && fileExists(path)) return path;
    return otherCase;
}

bool outputExists(const std::string& path) {
    return findFileAnyExtensionCase(path).has_value();
}

bool createParentDirectories(const std::string& path) {
    PathParts parts = splitPath(path);
    std::string folder = parts.drive + parts.directory;
    if (folder.empty()) return true;
    std::string partial;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        char c = folder[i];
        partial += isSeparator(c) ? '/' : c;
        bool atSeparator = isSeparator(c) || i + 1 == folder.size();
        if (!atSeparator || partial == "/") continue;
        if (isDirectory(partial)) continue;
        // A file in the way: no folder can be made below it. Windows would
        // only say the path is not found; this names the cause on every
        // system alike.
        std::string name = partial.back() == '/' ? partial.substr(0, partial.size() - 1) : partial;
        if (fileExists(name) && !isDirectory(name)) {
            errno = ENOTDIR;
            return false;
        }
        if (!createFolder(partial)) return false;
    }
    return isDirectory(partial);
}

namespace {

char folded(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `c` is in the set that starts after "[" at `pattern[i]`; `i` moves
// past the closing "]". A set without its "]" is taken literally.
std::optional<bool> inSet(std::string_view pattern, std::size_t& i, char c) {
    std::size_t j = i;
    bool negated = j < pattern.size() && (pattern[j] == '!' || pattern[j] == '^');
    if (negated) ++j;
    bool found = false;
    bool first = true;
    for (; j < pattern.size() && (first || pattern[j] != ']'); ++j, first = false) {
        char low = folded(pattern[j]);
        char high = low;
        if (j + 2 < pattern.size() && pattern[j + 1] == '-' && pattern[j + 2] != ']') {
            high = folded(pattern[j + 2]);
            j += 2;
        }
        if (folded(c) >= low && folded(c) <= high) found = true;
    }
    if (j >= pattern.size()) return std::nullopt;
    i = j + 1;
    return found != negated;
}

}  // namespace

bool wildcardMatches(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0;
    // Where the last "*" stood and how much of the name it took: on a
    // mismatch it takes one byte more (linear backtracking, no recursion).
    std::optional<std::size_t> starAt;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = ++p;
            starName = n;
            continue;
        }
        if (p < pattern.size()) {
            std::size_t next = p + 1;
            std::optional<bool> fits;
            if (pattern[p] == '?') {
                fits = true;
            } else if (pattern[p] == '[') {
                fits = inSet(pattern, next, name[n]);
            }
            if (!fits) fits = folded(pattern[p]) == folded(name[n]);
            if (*fits) {
                p = next;
                ++n;
                continue;
            }
        }
        if (!starAt) return false;
        p = *starAt;
        n = ++starName;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string createPrivateFolder(const std::string& parent, std::string_view prefix) {
    constexpr int kAttempts = 100;
    namespace fs = std::filesystem;
    std::random_device seed;
    std::mt19937_64 random(seed());
    std::error_code error;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        fs::path folder = pathOf(parent) / (std::string(prefix) + std::to_string(random()));
        if (fs::create_directory(folder, error)) {
            fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
            if (!error) return nameOf(folder);
            fs::remove(folder, error);
            return {};
        }
        if (error) return {};
    }
    return {};
}

}  // namespace tessel::platform
