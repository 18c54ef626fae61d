#include "frame/dtp_text_headers.h"

#include "frame/return_codes.h"
#include "platform/paths.h"

namespace tessel::frame {

namespace {

constexpr std::string_view kPageMakerTag = "<PMTags";
constexpr std::string_view kMacintoshName = "mac";
constexpr std::string_view kXPressVersionTag = "<v";
constexpr std::string_view kXPressEncodingTag = "<e";
constexpr char kXPressMacintoshEncoding = '0';

// The line after a byte-order mark it starts with, UTF-8 or kept UTF-16.
std::string_view withoutByteOrderMark(std::string_view line) {
    for (std::string_view mark :
         {kUtf8ByteOrderMark, kKeptUtf16LittleEndianMark, kKeptUtf16BigEndianMark}) {
        if (line.starts_with(mark)) return line.substr(mark.size());
    }
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
    if (withoutByteOrderMark(firstLine).size() != firstLine.size()) return false;
    return xpressHeaderEncoding(firstLine, secondLine) == kXPressMacintoshEncoding;
}

char xpressHeaderEncoding(std::string_view firstLine, std::string_view secondLine) {
    firstLine = withoutByteOrderMark(firstLine);
    std::string_view header;
    if (firstLine.starts_with(kXPressVersionTag)) {
        header = firstLine;
    } else if (firstLine.starts_with('#') && secondLine.starts_with(kXPressVersionTag)) {
        header = secondLine;
    } else {
        return 0;
    }
    std::size_t close = header.find('>');
    if (close == std::string_view::npos) return 0;
    std::size_t encoding = header.find(kXPressEncodingTag, close);
    if (encoding == std::string_view::npos) return 0;
    std::size_t value = encoding + kXPressEncodingTag.size();
    return value < header.size() ? header[value] : 0;
}

}  // namespace tessel::frame
