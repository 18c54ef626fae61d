#include "core/shipped_tag_file.h"

#include <system_error>

#include "platform/path_names.h"
#include "platform/program_path.h"

namespace tessel::app {

namespace fs = std::filesystem;

fs::path shippedTagFileFor(const fs::path& programFolder) {
    const fs::path candidates[] = {
        programFolder / kShippedTagFileName,
        programFolder / TESSEL_DATA_FROM_PROGRAMS / kShippedTagFileName,
    };
    std::error_code error;
    for (const fs::path& candidate : candidates) {
        if (fs::is_regular_file(candidate, error)) return candidate.lexically_normal();
    }
    return {};
}

std::string shippedTagFile() {
    fs::path program = platform::runningProgramPath();
    if (program.empty()) return {};
    return platform::nameOf(shippedTagFileFor(program.parent_path()));
}

bool takesShippedTagFile(const Command& command) {
    return command.tagFile == TagFileRole::Optional;
}

std::string tagFileToRead(const std::optional<std::string>& named) {
    if (!named) return shippedTagFile();
    return *named == kNoTagFileName ? std::string() : *named;
}

}  // namespace tessel::app
