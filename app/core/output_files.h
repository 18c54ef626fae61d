// Names of a job's output and error log as the front end forms them, and the
// look-ups it needs on a file system that tells case apart: the library may
// write "a.RTF", "a.ERR" or "a.err" where the front end looks for "a.rtf" or
// "a.Err".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessel::app {

// The input up to the "." of its file name's extension, followed by
// `extension` (a leading "." is added when missing). A "." in a folder name
// is not an extension. An empty extension names the input itself: the job
// converts it in place.
std::string outputNameFor(std::string_view inputPath, std::string_view extension);

// The error log next to an output: its name with the extension ".err".
std::string errorLogNameFor(std::string_view outputPath);

// The existing file `path`, or the one whose name differs from it only in the
// case of its extension; nothing when neither exists.
std::optional<std::string> findAnyExtensionCase(const std::string& path);

// What identifies one version of a file: a file replaced or rewritten gets a
// different stamp.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t size = 0;
    bool isDirectory = false;

    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> stampOf(const std::string& path);

// The stamp of the file found by findAnyExtensionCase, with its name.
struct FoundFile {
    std::string path;
    FileStamp stamp;
};
std::optional<FoundFile> findWithStamp(const std::string& path);

// Renames `path` to a free name beside it ("NAME.~1", "NAME.~2", ...)
// without ever replacing a file; the name it got, or nothing when it could
// not be moved.
std::optional<std::string> moveAside(const std::string& path);

// True when `after` is a file that was not there in this version before:
// newly created, replaced or rewritten.
bool isNewVersion(const std::optional<FoundFile>& before, const std::optional<FoundFile>& after);

}  // namespace tessel::app
