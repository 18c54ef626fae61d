#include "dtp/utf16_source_copy.h"

#include <string_view>

#include "frame/dtp_text_headers.h"
#include "platform/files.h"
#include "platform/streams.h"
#include "platform/utf16.h"

namespace tessel::dtp {

namespace {

constexpr std::string_view kLittleEndianMark = "\xFF\xFE";
constexpr std::string_view kBigEndianMark = "\xFE\xFF";

bool readWhole(const std::string& path, std::string& bytes) {
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Binary)) return false;
    char buffer[platform::kStreamBufferSize];
    for (std::size_t got; (got = input.read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, got);
    const bool failed = input.failed();
    return input.close() && !failed;
}

enum class Utf16Start { None, LittleEndianMark, BigEndianMark, LittleEndian, BigEndian };

// How the file at `path` starts: a UTF-16 mark, or without one the first
// character of a header ('<' or a comment's '#') as one UTF-16 unit, a NUL
// beside it that no 8-bit tagged text starts with.
Utf16Start utf16StartOf(const std::string& path) {
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Binary)) return Utf16Start::None;
    char head[2] = {};
    const std::size_t got = input.read(head, sizeof head);
    input.close();
    const std::string_view start(head, got);
    if (start == kLittleEndianMark) return Utf16Start::LittleEndianMark;
    if (start == kBigEndianMark) return Utf16Start::BigEndianMark;
    if (got != 2) return Utf16Start::None;
    auto opensHeader = [](char c) { return c == '<' || c == '#'; };
    if (opensHeader(head[0]) && head[1] == '\0') return Utf16Start::LittleEndian;
    if (head[0] == '\0' && opensHeader(head[1])) return Utf16Start::BigEndian;
    return Utf16Start::None;
}

}  // namespace

Utf16SourceCopy::Utf16SourceCopy(const std::string& path) : path_(path) {
    const Utf16Start start = utf16StartOf(path);
    if (start == Utf16Start::None) return;
    failed_ = true;
    std::string bytes;
    if (!readWhole(path, bytes)) return;
    const bool bigEndian = start == Utf16Start::BigEndianMark || start == Utf16Start::BigEndian;
    std::string text;
    std::string_view units = bytes;
    if (start == Utf16Start::LittleEndianMark || start == Utf16Start::BigEndianMark) {
        text = bigEndian ? frame::kKeptUtf16BigEndianMark : frame::kKeptUtf16LittleEndianMark;
        units.remove_prefix(kLittleEndianMark.size());
    }
    text += platform::utf8OfUtf16(units, bigEndian, unpaired_);
    std::string copy = platform::createUniqueFileBeside(path);
    if (copy.empty()) return;
    platform::OutputStream output;
    bool written = output.open(copy, platform::StreamMode::Binary);
    if (written) {
        output.write(text);
        written = output.close() && output.wroteCompletely(copy);
    }
    if (!written) {
        platform::removeIfPresent(copy);
        return;
    }
    copy_ = std::move(copy);
    failed_ = false;
}

Utf16SourceCopy::~Utf16SourceCopy() {
    if (!copy_.empty()) platform::removeIfPresent(copy_);
}

}  // namespace tessel::dtp
