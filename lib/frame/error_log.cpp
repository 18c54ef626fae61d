#include "frame/error_log.h"

#include "frame/job_state.h"
#include "platform/clock.h"
#include "platform/format.h"
#include "resources/log_texts.h"
#include "tessel_cat.h"

namespace tessel::frame {

namespace res = tessel::resources;
using platform::fillPlaceholders;

std::string_view pluralSuffix(int count) {
    return count == 1 ? "" : "s";
}

bool ErrorLog::open(const std::string& path) {
    return stream_.open(path, platform::StreamMode::Text);
}

void ErrorLog::writeHeader(std::string_view parserTitle, std::string_view inputPath,
                           int functionCode) {
    stream_.write(fillPlaceholders(res::kLogTitleLine, {parserTitle}));
    stream_.write(fillPlaceholders(res::kLogVersionLine, {f_pszDLLVersion()}));
    stream_.write(fillPlaceholders(res::kLogDateLine, {platform::localTime24()}));
    stream_.write(fillPlaceholders(res::kLogFileLine, {inputPath}));
    stream_.write(res::kLogFunctionLabel);
    stream_.write(res::functionTitle(functionCode));
    stream_.write("\n");
    stream_.write(res::kRuleLine);
    stream_.write("\n");
}

int ErrorLog::report(int result, int& changeCount, std::string_view text, std::string_view detail) {
    JobState& state = jobState();
    if (result >= 0) {
        changeCount += result;
        return 0;
    }
    const res::MessageText* message = res::findMessage(result);
    if (message == nullptr) {
        state.keepOriginal = true;
        return result;
    }
    std::string number = std::to_string(state.nextMessage++);
    if (message->contextFree) {
        stream_.write(fillPlaceholders(message->text, {number}));
    } else {
        stream_.write(fillPlaceholders(message->text,
                                       {number, res::kSeparatorLine, text, res::kSeparatorLine}));
    }
    stream_.write(fillPlaceholders(message->followUp, {detail}));
    state.messagesWritten = true;
    state.keepOriginal = true;
    return 0;
}

void ErrorLog::writeSummary(int functionCode, int changeCount, std::string_view originalSavedAs) {
    const JobState& state = jobState();
    if (!state.messagesWritten) {
        stream_.write(res::kSummaryNothingToReport);
        return;
    }
    stream_.write(res::kSummaryHeading);
    for (const auto& line : res::summaryLines(functionCode)) {
        int count = line.count == res::SummaryCount::Errors ? state.errorCount() : changeCount;
        std::string number = std::to_string(count);
        std::string_view suffix = pluralSuffix(count);
        stream_.write(fillPlaceholders(line.format, {number, suffix, suffix, suffix}));
    }
    if (state.keepOriginal) {
        stream_.write(fillPlaceholders(res::kKeepOriginalLine, {originalSavedAs}));
    }
    stream_.write(res::kRuleLine);
    stream_.write("\n");
}

}  // namespace tessel::frame
