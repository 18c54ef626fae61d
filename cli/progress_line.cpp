#include "progress_line.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <system_error>

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
    std::error_code error;
    std::uintmax_t size = enabled_ ? std::filesystem::file_size(inputPath, error) : 0;
    if (!enabled_ || error || size < kAnnouncedFrom) {
        return;
    }
    long long megabytes = (static_cast<long long>(size) + kMegabyte / 2) / kMegabyte;
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
