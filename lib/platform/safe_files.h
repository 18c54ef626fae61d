// The one way the library and the tool write a file: a new temporary file
// beside the final name, created exclusively and without following links,
// written, flushed to disk, then renamed into place. The final name never
// holds a partial file, and nothing planted under it (a link, a FIFO, a
// device) can redirect a write.
//
// A temporary is named ".NAME~XXXXXX.tmp" beside NAME and is locked by its
// writer for as long as it is open; one whose lock is free was left by a run
// that died (kill -9, a power cut) and is removed by the next run that
// writes NAME.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::platform {

// What the rename into place does with a file already under the final name.
enum class ExistingName {
    Replace,  // a regular file there is replaced in one step
    Refuse,   // any entry there makes the rename fail (errno EEXIST)
};

// Why a final name cannot be written: 0 when it is free or a regular file,
// otherwise the errno value that says what is in the way (ELOOP a symbolic
// link, EISDIR a folder, EINVAL a FIFO, device or socket).
int unusableFinalName(const std::string& path);

// The temporary name for `finalPath` with the given six-character `unique`
// part ("dir/.a.rtf~Ab3xQ9.tmp").
std::string temporaryNameFor(const std::string& finalPath, std::string_view unique);
// True when `entry` (a name in the final name's folder) has the form of a
// temporary of `finalFileName`.
bool isTemporaryNameOf(std::string_view finalFileName, std::string_view entry);

// Creates a new temporary for `finalPath`, locked while it is open, with
// the permission bits a new file gets; sets `name`. Null (errno set) when
// none could be created.
std::FILE* createLockedTemporary(const std::string& finalPath, std::string& name);

// Flushes the stream's data to the disk (fsync); false (errno set) when the
// system could not.
bool syncToDisk(std::FILE* file);

// Gives the open file `to` the permission bits, owner (where the runner may
// set it) and extended attributes of the file `from`. False when the mode
// could not be set; an owner the runner may not give is left as it is.
bool copyAttributes(const std::string& from, std::FILE* to);

// Renames the temporary into place as `existing` says and closes `file`;
// false (errno set) when anything failed, the temporary then removed.
bool finishTemporary(std::FILE* file, const std::string& temporary, const std::string& finalPath,
                     ExistingName existing);
// Closes `file` and removes the temporary: no output remains.
void abandonTemporary(std::FILE* file, const std::string& temporary);

// Temporaries of this process that SIGINT and SIGTERM remove before the
// process ends with status 128 + the signal's number (130, 143). The first
// registration installs the handlers where the program has set none.
void registerTemporary(const std::string& name);
void unregisterTemporary(const std::string& name);

// Removes the temporaries of `finalPath` that no live writer holds and
// returns their names; each is also shown to the user, who may wonder what
// the dot file was.
std::vector<std::string> removeStaleTemporaries(const std::string& finalPath);
// Removes the temporary `name` when no writer holds its lock; true when it
// did.
bool removeIfStale(const std::string& name);

// Exclusive advisory locks on file names (the input and the outputs of one
// job), held until the object goes. A second process asking for a name that
// is locked waits for it: names are locked in one order, so two jobs never
// wait for each other. The locks live in a private folder of the user's
// (lock files named after a hash of the full name), so a name that does not
// exist yet can be locked and nothing is written beside the user's files.
class NameLocks {
  public:
    NameLocks() = default;
    ~NameLocks() { release(); }
    NameLocks(const NameLocks&) = delete;
    NameLocks& operator=(const NameLocks&) = delete;

    // Locks every name, waiting while another process holds one. False when
    // the lock folder cannot be used; the job then runs unlocked, as before.
    bool lock(std::vector<std::string> names);
    void release();

  private:
    std::vector<std::intptr_t> handles_;
};

// The folder that holds the lock files; empty when none can be made.
std::string lockFolder();
// The full, lexically normalised form of `path` that names one file however
// it is spelled ("./a.txt", "dir/../a.txt").
std::string lockKeyFor(const std::string& path);

}  // namespace tessel::platform
