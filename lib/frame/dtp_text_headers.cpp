#include "frame/dtp_text_headers.h"

#include "frame/line_reader.h"
#include "frame/return_codes.h"
#include "platform/paths.h"
#include "platform/streams.h"

namespace tessel::frame {

namespace {

constexpr std::string_view kPageMakerTag = "<PMTags";
constexpr std::string_view kMacintoshName = "mac";
constexpr std::string_view kXPressVersionTag = "<v";
constexpr std::string_view kXPressEncodingTag = "<e";
constexpr char kXPressMacintoshEncoding = '0';

std::string_view withoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return line;
}

}  // namespace

bool pageMakerHeaderNamesMac(std::string_view firstLine) {
    if (!firstLine.starts_with(kPageMakerTag)) return false;
    std::size_t close = firstLine.find('>');
    if (close == std::string_view::npos || close < kMacintoshName.size()) return false;
    return platform::sameNameIgnoringCase(
        firstLine.substr(close - kMacintoshName.size(), kMacintoshName.size()), kMacintoshName);
}

bool xpressHeaderIsMacintosh(std::string_view firstLine, std::string_view secondLine) {
    std::string_view header;
    if (firstLine.starts_with(kXPressVersionTag)) {
        header = firstLine;
    } else if (firstLine.starts_with('#') && secondLine.starts_with(kXPressVersionTag)) {
        header = secondLine;
    } else {
        return false;
    }
    std::size_t close = header.find('>');
    if (close == std::string_view::npos) return false;
    std::size_t encoding = header.find(kXPressEncodingTag, close);
    if (encoding == std::string_view::npos) return false;
    std::size_t value = encoding + kXPressEncodingTag.size();
    return value < header.size() && header[value] == kXPressMacintoshEncoding;
}

std::optional<bool> needsMacintoshPass(int functionCode, const std::string& outputPath) {
    if (functionCode != kRtfToPageMaker && functionCode != kRtfToXPress) return false;
    platform::InputStream input;
    if (!input.open(outputPath, platform::StreamMode::Text)) return std::nullopt;
    // Each header line is read up to its end or the reader's chunk limit.
    LineReader reader(input);
    std::string first;
    std::string second;
    if (reader.readChunk(first) && functionCode == kRtfToXPress) reader.readChunk(second);
    if (functionCode == kRtfToPageMaker) return pageMakerHeaderNamesMac(withoutLineEnd(first));
    return xpressHeaderIsMacintosh(withoutLineEnd(first), withoutLineEnd(second));
}

}  // namespace tessel::frame
