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

bool narrowToWindows1252(std::string& line) {
    const CodePageCodec& codec = CodePageCodec::windows1252();
    thread_local std::string narrow;
    narrow.resize(line.size());
    const std::string_view text = line;
    std::size_t written = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            // ASCII copied as one run.
            const std::size_t run = platform::asciiPrefixLength(text.substr(at));
            std::memcpy(narrow.data() + written, text.data() + at, run);
            written += run;
            at += run;
            continue;
        }
        // Only valid sequences: anything else is for toUtf8() to repair.
        const int length = utf8SequenceLength(
            reinterpret_cast<const unsigned char*>(text.data()) + at, text.size() - at);
        if (length <= 0) return false;
        const char32_t c = platform::nextUtf8(text, at);
        std::uint16_t bytes = 0;
        if (c < CodePageCodec::kDirectLimit) {
            bytes = codec.directBytes(c);
        } else if (c >= CodePageCodec::kPunctuationFirst && c < CodePageCodec::kPunctuationLimit) {
            bytes = codec.punctuationBytes(c);
        }
        if (bytes == 0 || bytes > 0xFF) return false;
        narrow[written++] = static_cast<char>(bytes);
    }
    narrow.resize(written);
    line.swap(narrow);
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
