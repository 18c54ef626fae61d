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

}  // namespace

bool pageMakerHeaderNamesMac(std::string_view firstLine) {
    if (!firstLine.starts_with(kPageMakerTag)) return false;
    std::size_t close = firstLine.find('>');
    if (close == std::string_view::npos || close < kMacintoshName.size()) return false;
    return platform::sameNameIgnoringCase(
        firstLine.substr(close - kMacintoshName.size(), kMacintoshName.size()), kMacintoshName);
}

bool xpressHeaderIsMacintosh(std::string_view firstLine, std::string_view secondLine) {
    if (firstLine.starts_with(kUtf8ByteOrderMark)) return false;
    return xpressHeaderEncoding(firstLine, secondLine) == kXPressMacintoshEncoding;
}

char xpressHeaderEncoding(std::string_view firstLine, std::string_view secondLine) {
    if (firstLine.starts_with(kUtf8ByteOrderMark))
        firstLine.remove_prefix(kUtf8ByteOrderMark.size());
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
