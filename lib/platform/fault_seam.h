// The one seam through which tests make file operations fail: opening,
// writing, renaming and removing. Every file operation of the library goes
// through lib/platform and asks here first. Builds without
// TESSEL_FAULT_INJECTION (every build but the project's test build) compile
// the questions to constants, so nothing of it remains.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace tessel::platform {

enum class FileOperation { Open, Write, Rename, Remove };

inline constexpr std::uint64_t kUnlimitedWrites = std::numeric_limits<std::uint64_t>::max();

#ifdef TESSEL_FAULT_INJECTION

// One planned fault: the operation fails for names that contain
// `nameContains` (all names when empty), after `skip` such operations have
// succeeded; `times` operations fail (0: every one from then on, as on a
// disk that stays full). For writes, `writeLimit` bytes of the file still
// reach it; the writes after them fail, as on a disk that has just filled up.
struct FaultPlan {
    FileOperation operation = FileOperation::Open;
    std::string nameContains;
    int skip = 0;
    std::uint64_t writeLimit = 0;
    int times = 0;
};

void injectFault(const FaultPlan& plan);
void clearFaults();
// How often the planned fault struck since it was injected.
int faultsStruck();

// True when the operation on `path` is to fail now.
bool faultStrikes(FileOperation operation, std::string_view path);
// The bytes a file opened for writing may take before its writes fail.
std::uint64_t writeAllowance(std::string_view path);

#else

inline bool faultStrikes(FileOperation, std::string_view) {
    return false;
}
inline std::uint64_t writeAllowance(std::string_view) {
    return kUnlimitedWrites;
}

#endif

}  // namespace tessel::platform
