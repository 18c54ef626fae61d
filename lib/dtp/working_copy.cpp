#include "dtp/working_copy.h"

#include "frame/error_log.h"
#include "frame/job_names.h"
#include "frame/job_state.h"
#include "frame/return_codes.h"
#include "frame/text_read_write_parser.h"
#include "platform/device_names.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "resources/markup_framework_texts.h"

namespace tessel::dtp {

WorkingCopy::WorkingCopy(const std::string& path, const std::string& readFrom)
    : name_(platform::withExtension(path, resources::kWorkingCopyExtension)) {
    result_ = makeCopy(path, readFrom);
    // A copy this call started and did not finish goes at once.
    if (result_ < 0 && own_) {
        platform::removeFile(name_);
        own_ = false;
    }
}

// The line engine's pass with function code 613 into the copy. The pass
// writes no log of its own: 613 reports nothing, and a log beside the input
// ("NAME.ERR") would truncate and then delete a log another job left there.
int WorkingCopy::makeCopy(const std::string& path, const std::string& readFrom) {
    if (!frame::fitsPathBuffer(name_)) return frame::kCannotOpenOutput;
    if (platform::sameNameIgnoringCase(name_, path)) return frame::kSameInputAndOutput;
    // A file that already has the copy's name is never read, changed or removed.
    if (platform::outputExists(name_)) return frame::kOutputExists;
    frame::jobState().reset();
    frame::LineJobFiles files;
    files.original = path;
    files.input = readFrom;
    files.output = name_;
    frame::ErrorLog noLog;
    files.sharedLog = &noLog;
    own_ = true;
    int result = frame::runLineJob(
        files, {frame::kLineBreaksToPc, frame::executeFrameFunction, true}, false);
    frame::jobState().reset();
    return result;
}

WorkingCopy::~WorkingCopy() {
    if (own_) platform::removeFile(name_);
}

bool logWouldBeInput(const std::string& path) {
    return platform::sameNameIgnoringCase(
        path, platform::withExtension(path, resources::kConverterLogExtension));
}

int checkConverterInput(const std::string& path) {
    if (!frame::fitsPathBuffer(path) || !platform::isRegularFile(path)) {
        return frame::kCannotOpenInput;
    }
#ifdef _WIN32
    // A device name is a device in every folder, whatever its attributes say
    // (Wine reports some as plain files).
    if (platform::isWindowsDeviceName(path)) return frame::kCannotOpenInput;
#endif
    return logWouldBeInput(path) ? frame::kSameInputAndOutput : 0;
}

}  // namespace tessel::dtp
