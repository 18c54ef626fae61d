#include "verify/misread_utf8.h"

#include "platform/code_page_codec.h"
#include "platform/utf8.h"
#include "verify/text_encoding.h"

namespace tessel::verify {

namespace {

// A character of the text with the Windows 1252 byte that shows as it.
struct ShownByte {
    std::size_t begin;  // of the character in the text
    int byte;           // -1: no single Windows 1252 byte shows as it
};

int windows1252ByteOf(char32_t c) {
    // C1 controls are the bytes 0x80 to 0x9F as a Latin-1 reading shows them.
    if (c >= 0x80 && c <= 0x9F) return static_cast<int>(c);
    std::string bytes;
    if (!platform::CodePageCodec::windows1252().encode(c, bytes) || bytes.size() != 1) return -1;
    return static_cast<unsigned char>(bytes[0]);
}

std::vector<ShownByte> shownBytes(std::string_view text) {
    std::vector<ShownByte> shown;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t begin = at;
        char32_t c = platform::nextUtf8(text, at);
        shown.push_back({begin, c < 0x80 ? static_cast<int>(c) : windows1252ByteOf(c)});
    }
    return shown;
}

// The length in characters of the valid UTF-8 sequence whose bytes the
// characters from `i` show, or 0.
std::size_t sequenceAt(const std::vector<ShownByte>& shown, std::size_t i, std::string& bytes) {
    if (shown[i].byte < 0xC2 || shown[i].byte > 0xF4) return 0;
    bytes.clear();
    for (std::size_t k = i; k < shown.size() && k < i + platform::kMaxUtf8Bytes; ++k) {
        if (shown[k].byte < 0) break;
        bytes += static_cast<char>(shown[k].byte);
    }
    return utf8SequenceLength(bytes, 0);
}

}  // namespace

std::vector<MisreadUtf8> findMisreadUtf8(std::string_view text) {
    std::vector<MisreadUtf8> found;
    if (!platform::hasNonAscii(text)) return found;
    std::vector<ShownByte> shown = shownBytes(text);
    std::string bytes;
    for (std::size_t i = 0; i < shown.size();) {
        std::size_t length = sequenceAt(shown, i, bytes);
        if (length == 0) {
            ++i;
            continue;
        }
        std::size_t end = i + length < shown.size() ? shown[i + length].begin : text.size();
        if (!found.empty() && found.back().end == shown[i].begin) {
            found.back().end = end;
        } else {
            found.push_back({shown[i].begin, end, {}});
        }
        found.back().meant.append(bytes, 0, length);
        i += length;
    }
    return found;
}

}  // namespace tessel::verify
