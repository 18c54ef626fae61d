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

bool startsWithUtf16Mark(const std::string& path) {
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Binary)) return false;
    char head[2] = {};
    const std::size_t got = input.read(head, sizeof head);
    input.close();
    const std::string_view start(head, got);
    return start == kLittleEndianMark || start == kBigEndianMark;
}

}  // namespace

Utf16SourceCopy::Utf16SourceCopy(const std::string& path) : path_(path) {
    if (!startsWithUtf16Mark(path)) return;
    failed_ = true;
    std::string bytes;
    if (!readWhole(path, bytes)) return;
    const bool bigEndian = std::string_view(bytes).starts_with(kBigEndianMark);
    std::string text(bigEndian ? frame::kKeptUtf16BigEndianMark
                               : frame::kKeptUtf16LittleEndianMark);
    text += platform::utf8OfUtf16(std::string_view(bytes).substr(kLittleEndianMark.size()),
                                  bigEndian, unpaired_);
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
