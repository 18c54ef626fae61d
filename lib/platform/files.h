// File-system operations the jobs need: existence, rename without replacing,
// replacing a file in one step, delete, folder creation.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::platform {

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);
// True for a regular file (or a link to one). Jobs take only such files as
// input: reading a FIFO, device or socket could wait forever or never end.
bool isRegularFile(const std::string& path);

// What identifies one file on its file system (device and inode, or volume
// serial number and file index on Windows), its size and last change.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;  // since 1970, UTC
    std::int64_t modifiedNanoseconds = 0;
    bool isDirectory = false;
};
std::optional<FileIdentity> fileIdentity(const std::string& path);
// The identity of the file an open stream reads or writes.
std::optional<FileIdentity> openFileIdentity(std::FILE* file);

// True when a directory entry of that name exists, even one that leads
// nowhere (a dangling symbolic link).
bool nameExists(const std::string& path);

// The names of the files a wildcard pattern ("*.htm", "doc?.rtf") matches,
// in ascending order, each with the pattern's folder part.
std::vector<std::string> filesMatching(const std::string& pattern);

// True when `name` fits the wildcard pattern ("*" any run, "?" one byte,
// "[...]" one of a set), letters compared ignoring case as Windows names are.
bool wildcardMatches(std::string_view pattern, std::string_view name);

// The name of an existing file that is `path` or differs from it only in the
// case of its extension ("doc.RTF" for "doc.rtf"). On a file system that tells
// case apart this keeps an output written as ".RTF" from being missed by a
// check for ".rtf".
std::optional<std::string> findFileAnyExtensionCase(const std::string& path);

// True when `path` or a name differing only in extension case exists.
bool outputExists(const std::string& path);

bool removeFile(const std::string& path);
// Removes `path` when it is there; true when no file of that name is left
// (also when there was none to begin with).
bool removeIfPresent(const std::string& path);
// Removes `path` when it is an empty file: a log on a full disk that holds
// nothing must not be offered to the user. True when it removed one.
bool removeIfEmpty(const std::string& path);

enum class RenameResult { Ok, TargetExists, Failed };
// Renames without ever replacing an existing target, as the original platform
// does.
RenameResult renameFile(const std::string& from, const std::string& to);

// Creates a new, empty file beside `path` (same folder, the file name of
// `path` followed by a unique suffix) with the permissions `path` has, or a
// new file would get when it does not exist. Returns its name, empty when no
// file could be created. Never touches a file that exists.
std::string createUniqueFileBeside(const std::string& path);

// Creates a new folder in `parent` named `prefix` and random digits that
// only this user may enter. Returns its name, empty when none could be made.
std::string createPrivateFolder(const std::string& parent, std::string_view prefix);

// Renames `from` over `to`, replacing an existing `to` in one step: `to` is
// at every moment either the old file or the complete new one. The way to
// rewrite a user's file without ever losing it: write the new content to a
// file beside it, then replace. The new file gets the old one's permission
// bits. False (and nothing changed) on failure.
bool replaceFile(const std::string& from, const std::string& to);

// The names in a folder ("." and ".." left out), in the order the system
// lists them; empty when it cannot be read.
std::vector<std::string> folderEntries(const std::string& folder);

// Creates one folder; true when it exists afterwards.
bool createFolder(const std::string& path);

// Creates the folder of `path` (and its parents) when missing; a name without
// a folder part needs none. False when a folder could not be created.
bool createParentDirectories(const std::string& path);

}  // namespace tessel::platform
