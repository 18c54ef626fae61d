#include "progress_line.h"

#include <sys/stat.h>

#include <cstdio>
#include <ostream>

#include "tool_texts.h"

namespace tessel::cli {

namespace {

constexpr long long kMegabyte = 1024 * 1024;
constexpr long long kAnnouncedFrom = 20 * kMegabyte;

std::string oneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace

ProgressLine::ProgressLine(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}

void ProgressLine::starting(const std::string& inputPath) {
    current_.reset();
    struct stat info {};
    if (!enabled_ || ::stat(inputPath.c_str(), &info) != 0 || info.st_size < kAnnouncedFrom) {
        return;
    }
    long long megabytes = (static_cast<long long>(info.st_size) + kMegabyte / 2) / kMegabyte;
    err_ << fill(text::kProgressStart, {inputPath, std::to_string(megabytes)}) << std::flush;
    current_ = inputPath;
    start_ = std::chrono::steady_clock::now();
}

void ProgressLine::finished() {
    if (!current_) return;
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start_;
    err_ << fill(text::kProgressEnd, {*current_, oneDecimal(took.count())}) << std::flush;
    current_.reset();
}

}  // namespace tessel::cli
