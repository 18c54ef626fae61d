#include "dtp/working_copy.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "frame/job_names.h"
#include "frame/return_codes.h"
#include "frame/text_read_write_parser.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "resources/markup_framework_texts.h"

namespace tessel::dtp {

WorkingCopy::WorkingCopy(const std::string& path) {
    bool nameTaken =
        platform::outputExists(platform::withExtension(path, resources::kWorkingCopyExtension));
    std::array<char, platform::kMaxPath + 1> buffer{};
    std::size_t length = std::min(path.size(), platform::kMaxPath);
    std::memcpy(buffer.data(), path.data(), length);
    result_ = frame::runTextReadWriteParser(buffer.data(), frame::kLineBreaksToPc, false,
                                            resources::kWorkingCopyExtension.data());
    name_ = buffer.data();
    // Only a copy this call made is removed; a file that had the name stays,
    // and so does the input when the engine refused to write over it.
    own_ = !nameTaken && !platform::sameNameIgnoringCase(name_, path);
    if (result_ < 0 && own_) {
        platform::removeFile(name_);
        own_ = false;
    }
}

WorkingCopy::~WorkingCopy() {
    if (own_) platform::removeFile(name_);
}

bool logWouldBeInput(const std::string& path) {
    return platform::sameNameIgnoringCase(
        path, platform::withExtension(path, resources::kConverterLogExtension));
}

int checkConverterInput(const std::string& path) {
    if (!frame::fitsPathBuffer(path) || !platform::fileExists(path) ||
        platform::isDirectory(path)) {
        return frame::kCannotOpenInput;
    }
    return logWouldBeInput(path) ? frame::kSameInputAndOutput : 0;
}

}  // namespace tessel::dtp
