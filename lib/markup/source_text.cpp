#include "markup/source_text.h"

#include <cstring>

#include "frame/rtf_unicode_escape.h"
#include "frame/rtf_writer.h"
#include "platform/code_page_codec.h"
#include "platform/utf8.h"

namespace tessel::markup {

namespace {

using platform::CodePageCodec;
using platform::keptByte;

constexpr char32_t kByteOrderMark = 0xFEFF;

}  // namespace

SourceLineDecoder::SourceLineDecoder(const SourceEncoding& encoding) {
    if (encoding.form == SourceForm::CodePage) codec_ = CodePageCodec::find(encoding.codePage);
}

bool SourceLineDecoder::toUtf8(std::string& line, std::string& original) {
    if (codec_ != nullptr) return codePageToUtf8(line, original);
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    for (std::size_t at = platform::asciiPrefixLength(line); at < line.size();) {
        if (bytes[at] < 0x80) {
            at += platform::asciiPrefixLength(std::string_view(line).substr(at));
            continue;
        }
        int length = utf8SequenceLength(bytes + at, line.size() - at);
        if (length <= 0) return repairUtf8(line, original);
        at += static_cast<std::size_t>(length);
    }
    return true;
}

bool SourceLineDecoder::repairUtf8(std::string& line, std::string& original) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    std::string decoded;
    decoded.reserve(line.size() + 8);
    for (std::size_t at = 0; at < line.size();) {
        int length = utf8SequenceLength(bytes + at, line.size() - at);
        if (length > 0) {
            decoded.append(line, at, static_cast<std::size_t>(length));
            at += static_cast<std::size_t>(length);
        } else {
            platform::appendUtf8(decoded, keptByte(bytes[at++]));
        }
    }
    original.swap(line);
    line.swap(decoded);
    return false;
}

bool SourceLineDecoder::codePageToUtf8(std::string& line, std::string& original) const {
    if (platform::asciiPrefixLength(line) == line.size()) return true;
    std::string decoded;
    decoded.reserve(line.size() * 2);
    bool allRead = true;
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    for (std::size_t at = 0; at < line.size(); ++at) {
        const unsigned char byte = bytes[at];
        if (byte < 0x80) {
            decoded += static_cast<char>(byte);
            continue;
        }
        if (codec_->isLeadByte(byte)) {
            char32_t pair = at + 1 < line.size() ? codec_->decodePair(byte, bytes[at + 1]) : 0;
            if (pair != 0) {
                platform::appendUtf8(decoded, pair);
                ++at;
                continue;
            }
        }
        char32_t c = codec_->decode(byte);
        if (platform::isKeptByte(c)) allRead = false;
        platform::appendUtf8(decoded, c);
    }
    if (!allRead) original = line;
    line.swap(decoded);
    return allRead;
}

namespace {

// The character of the valid two- or three-byte sequence at `bytes`
// (`length` from utf8SequenceLength()).
char32_t decodedSequence(const unsigned char* bytes, int length) {
    if (length == 2) return char32_t(bytes[0] & 0x1F) << 6 | char32_t(bytes[1] & 0x3F);
    return char32_t(bytes[0] & 0x0F) << 12 | char32_t(bytes[1] & 0x3F) << 6 |
           char32_t(bytes[2] & 0x3F);
}

// The 1252 byte of the sequence at `at` and its length in `length`; 0 when
// the sequence is not valid or 1252 lacks its character (it holds nothing
// beyond U+FFFF).
std::uint16_t windows1252ByteAt(const unsigned char* in, std::size_t size, std::size_t at,
                                int& length, const CodePageCodec& codec) {
    length = utf8SequenceLength(in + at, size - at);
    if (length != 2 && length != 3) return 0;
    const char32_t c = decodedSequence(in + at, length);
    std::uint16_t bytes = 0;
    if (c < CodePageCodec::kDirectLimit) {
        bytes = codec.directBytes(c);
    } else if (c >= CodePageCodec::kPunctuationFirst && c < CodePageCodec::kPunctuationLimit) {
        bytes = codec.punctuationBytes(c);
    }
    return bytes > 0xFF ? 0 : bytes;
}

// The line as it was before narrowToWindows1252() stopped: the narrowed
// bytes before `written` in UTF-8 again (the sequences were valid and 1252
// maps each character to one byte, so they come back as they were), then
// the bytes from `at`, which the narrowing had not reached.
void restoreNarrowedPrefix(std::string& line, std::size_t written, std::size_t at,
                           const CodePageCodec& codec) {
    std::string restored;
    restored.reserve(line.size() + written);
    const std::string_view narrowed(line.data(), written);
    for (std::size_t i = 0; i < written;) {
        const std::size_t run = platform::asciiPrefixLength(narrowed.substr(i));
        restored.append(narrowed.substr(i, run));
        i += run;
        if (i < written) platform::appendUtf8(restored, codec.decode(narrowed[i++]));
    }
    restored.append(line, at, std::string::npos);
    line.swap(restored);
}

}  // namespace

bool narrowToWindows1252(std::string& line) {
    const CodePageCodec& codec = CodePageCodec::windows1252();
    // In place: each sequence becomes one byte, so the narrowed text never
    // overtakes the text still to read. A line 1252 cannot hold is put back
    // as it was (rarely more than its first letters are narrowed by then).
    char* const text = line.data();
    const auto* in = reinterpret_cast<const unsigned char*>(text);
    const std::size_t size = line.size();
    std::size_t written = 0;
    for (std::size_t at = 0; at < size;) {
        if (in[at] < 0x80) {
            // ASCII moved as one run, where anything before it was narrowed.
            const std::size_t run = platform::asciiPrefixLength({text + at, size - at});
            if (written != at) std::memmove(text + written, text + at, run);
            written += run;
            at += run;
            continue;
        }
        int length = 0;
        const std::uint16_t byte = windows1252ByteAt(in, size, at, length, codec);
        if (byte == 0) {
            if (written != at) restoreNarrowedPrefix(line, written, at, codec);
            return false;
        }
        text[written++] = static_cast<char>(byte);
        at += static_cast<std::size_t>(length);
    }
    line.resize(written);
    return true;
}

bool needsUnicodeEscape(std::string_view line) {
    return platform::asciiPrefixLength(line) != line.size();
}

std::string byteOrderMarkRun(const SourceEncoding& encoding) {
    if (encoding.byteOrderMark == 0) return {};
    std::string text;
    switch (encoding.form) {
        case SourceForm::Utf16LittleEndian:
            frame::appendUnicodeEscape(text, keptByte(0xFF));
            frame::appendUnicodeEscape(text, keptByte(0xFE));
            break;
        case SourceForm::Utf16BigEndian:
            frame::appendUnicodeEscape(text, keptByte(0xFE));
            frame::appendUnicodeEscape(text, keptByte(0xFF));
            break;
        default:
            frame::appendUnicodeEscape(text, kByteOrderMark);
            break;
    }
    std::string run;
    frame::appendTagRun(run, frame::TagKind::External, text);
    return run;
}

}  // namespace tessel::markup
