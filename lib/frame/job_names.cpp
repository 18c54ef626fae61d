#include "frame/job_names.h"

#include <cstdio>

#include "frame/return_codes.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace tessel::frame {

using platform::sameNameIgnoringCase;

bool fitsPathBuffer(const std::string& path) {
    return path.size() <= platform::kMaxPath;
}

int checkOutputNames(const std::string& input, const std::string& output, const std::string& log,
                     int existsCode) {
    if (sameNameIgnoringCase(input, output) || sameNameIgnoringCase(input, log) ||
        sameNameIgnoringCase(output, log)) {
        return kSameInputAndOutput;
    }
    if (platform::outputExists(output)) return existsCode;
    return 0;
}

namespace {

std::string backupExtension(int attempt) {
    if (attempt == 0) return ".OLD";
    char extension[8];
    std::snprintf(extension, sizeof extension, ".%03d", attempt);
    return extension;
}

}  // namespace

int renameToBackup(const std::string& input, std::string& backup) {
    for (int attempt = 0; attempt <= 999; ++attempt) {
        std::string candidate = platform::withExtension(input, backupExtension(attempt));
        if (sameNameIgnoringCase(candidate, input)) continue;
        if (!fitsPathBuffer(candidate)) return kCannotOpenOutput;
        switch (platform::renameFile(input, candidate)) {
            case platform::RenameResult::Ok:
                backup = candidate;
                return 0;
            case platform::RenameResult::TargetExists:
                continue;
            case platform::RenameResult::Failed:
                return kCannotRenameInput;
        }
    }
    return kCannotOpenOutput;
}

}  // namespace tessel::frame
