// The parts of the safe writes that are the same on every system: the names
// of temporaries, the list the interrupt handlers clear, the search for
// stale temporaries and the order in which names are locked.
#include "platform/safe_files.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/path_names.h"
#include "platform/paths.h"
#include "platform/safe_files_system.h"
#include "resources/file_texts.h"

namespace tessel::platform {

namespace {

constexpr std::string_view kTemporaryTail = ".tmp";
constexpr std::size_t kUniqueLength = 6;

// Room for the temporaries of the jobs one process runs at once (a log and
// an output each, a working copy); names too long for a slot are removed by
// the job itself but not by the interrupt handlers.
constexpr std::size_t kSlots = 64;
constexpr std::size_t kSlotName = 1024;

enum SlotState : int { kFree = 0, kFilling = 1, kHeld = 2 };

struct Slot {
    std::atomic<int> state{kFree};
    char name[kSlotName];
};

Slot slots[kSlots];

}  // namespace

std::string temporaryNameFor(const std::string& finalPath, std::string_view unique) {
    PathParts parts = splitPath(finalPath);
    std::string name = parts.drive + parts.directory;
    name += '.';
    name += parts.baseName + parts.extension;
    name += '~';
    name += unique;
    name += kTemporaryTail;
    return name;
}

bool isTemporaryNameOf(std::string_view finalFileName, std::string_view entry) {
    const std::size_t expected =
        1 + finalFileName.size() + 1 + kUniqueLength + kTemporaryTail.size();
    if (entry.size() != expected || entry.front() != '.') return false;
    if (entry.substr(1, finalFileName.size()) != finalFileName) return false;
    if (entry[1 + finalFileName.size()] != '~') return false;
    return entry.substr(entry.size() - kTemporaryTail.size()) == kTemporaryTail;
}

void registerTemporary(const std::string& name) {
    if (name.size() >= kSlotName) return;
    installInterruptHandlers();
    for (Slot& slot : slots) {
        int expected = kFree;
        if (!slot.state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(slot.name, name.c_str(), name.size() + 1);
        slot.state.store(kHeld);
        return;
    }
}

void unregisterTemporary(const std::string& name) {
    for (Slot& slot : slots) {
        if (slot.state.load() == kHeld && name == slot.name) {
            slot.state.store(kFree);
            return;
        }
    }
}

void removeRegisteredTemporaries() {
    for (Slot& slot : slots) {
        if (slot.state.load() == kHeld) removeNameFromHandler(slot.name);
    }
}

std::vector<std::string> removeStaleTemporaries(const std::string& finalPath) {
    PathParts parts = splitPath(finalPath);
    const std::string folder = parts.drive + parts.directory;
    const std::string fileName = parts.baseName + parts.extension;
    std::vector<std::string> removed;
    for (const std::string& entry : folderEntries(folder.empty() ? std::string(".") : folder)) {
        if (!isTemporaryNameOf(fileName, entry)) continue;
        std::string name = folder + entry;
        if (!removeIfStale(name)) continue;
        showMessageBox(std::string(resources::kStaleTemporaryRemoved) + name);
        removed.push_back(std::move(name));
    }
    return removed;
}

std::string lockKeyFor(const std::string& path) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(pathOf(path), error);
    if (error) full = pathOf(path);
    return nameOf(full.lexically_normal());
}

bool NameLocks::lock(std::vector<std::string> names) {
    release();
    std::string folder = lockFolder();
    if (folder.empty()) return false;
    for (std::string& name : names) name = lockKeyFor(name);
    // One order for every process: two jobs that share names never each
    // hold one the other waits for.
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    for (const std::string& key : names) {
        std::intptr_t handle = lockName(folder, key);
        if (handle < 0) {
            release();
            return false;
        }
        handles_.push_back(handle);
    }
    return true;
}

void NameLocks::release() {
    for (std::intptr_t handle : handles_) unlockName(handle);
    handles_.clear();
}

}  // namespace tessel::platform
