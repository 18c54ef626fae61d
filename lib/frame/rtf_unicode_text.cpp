// Characters of the RTF reader given by number ("\uN" with its fallback),
// lead bytes waiting for their trail byte, and what is held back until the
// next character (a surrogate's pair, a six-per-em space before a space).
#include <string>
#include <string_view>

#include "frame/rtf_reader.h"
#include "frame/rtf_reader_bytes.h"
#include "platform/utf8.h"

namespace tessel::frame {

using namespace rtf_bytes;
using platform::CodePageCodec;

void RtfReader::takeFallbackByte(std::uint8_t byte) {
    if (fallbackBytes_.size() < kMaxFallbackBytes) fallbackBytes_ += static_cast<char>(byte);
    if (--fallbackLeft_ == 0) finishUnicode();
}

void RtfReader::startUnicode(std::int32_t number) {
    finishUnicode();
    if (number < 0) number += 65536;
    pendingUnicode_ =
        number > 0 && number <= 0xFFFF ? static_cast<char32_t>(number) : kReplacementCharacter;
    fallbackBytes_.clear();
    fallbackCoding_ = activeCoding();
    fallbackLeft_ = group_.unicodeSkip;
    if (fallbackLeft_ == 0) finishUnicode();
}

namespace {

using platform::appendUtf8;

// The fallback bytes of a "\uN" as UTF-8, read in the code page of their font.
std::string decodeFallback(std::string_view bytes, const CodePageCodec* codec) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto byte = static_cast<std::uint8_t>(bytes[i]);
        char32_t c = byte;
        if (byte >= 0x80) {
            c = codec == nullptr ? platform::keptByte(byte) : codec->decode(byte);
            if (codec != nullptr && codec->isLeadByte(byte) && i + 1 < bytes.size()) {
                char32_t pair = codec->decodePair(byte, static_cast<std::uint8_t>(bytes[i + 1]));
                if (pair != 0) {
                    c = pair;
                    ++i;
                }
            }
        }
        appendUtf8(text, c);
    }
    return text;
}

// A fallback worth handing on: more than the "?" every writer puts when it
// has nothing better.
bool isInformativeFallback(std::string_view fallback, char32_t c) {
    if (fallback.find_first_not_of('?') == std::string_view::npos) return false;
    return c >= 0x80 && !platform::isKeptByte(c) && c != kSixPerEmSpace;
}

}  // namespace

void RtfReader::finishUnicodeNow() {
    fallbackLeft_ = 0;
    char32_t c = pendingUnicode_;
    if (c == 0) return;
    pendingUnicode_ = 0;
    if (isHighSurrogate(c)) {
        // The one waiting has no pair: one U+FFFD stands for it.
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            emit(kReplacementCharacter);
        }
        // Held for its pair only where the text is shown: hidden text
        // leaves nothing behind.
        if (showsText()) highSurrogate_ = c;
        return;
    }
    if (isLowSurrogate(c)) {
        if (highSurrogate_ == 0) {
            c = kReplacementCharacter;
        } else {
            c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00);
            highSurrogate_ = 0;
        }
    }
    std::string fallback = decodeFallback(fallbackBytes_, fallbackCoding_.codec);
    if (!isInformativeFallback(fallback, c) || !showsText()) {
        emit(c);
        return;
    }
    emit(kAnnotationAnchor);
    line_.appendUtf8(c);
    line_.appendUtf8(kAnnotationSeparator);
    line_.appendUtf8(fallback.data(), fallback.size());
    line_.appendUtf8(kAnnotationEnd);
}

void RtfReader::flushLeadByteNow() {
    auto lead = static_cast<std::uint8_t>(pendingLead_);
    pendingLead_ = kNoLeadByte;
    emit(platform::keptByte(lead));
}

// Everything held back is written before a paragraph ends.
void RtfReader::flushPending() {
    finishUnicode();
    flushLeadByte();
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        emitNow(kReplacementCharacter);
    }
    if (pendingSixPerEm_) {
        pendingSixPerEm_ = false;
        emitNow(kSixPerEmSpace);
    }
}

// A character of the text, if the text is shown, after something held
// back: a six-per-em space waits for the next character, and a space that
// follows it stands for both.
void RtfReader::emitAfterHeld(char32_t c) {
    if (!showsText()) return;
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        emitNow(kReplacementCharacter);
    }
    if (pendingSixPerEm_) {
        pendingSixPerEm_ = false;
        if (c == ' ') {
            line_.push(' ');
            return;
        }
        emitNow(kSixPerEmSpace);
    }
    if (c == kSixPerEmSpace) {
        pendingSixPerEm_ = true;
        return;
    }
    emitNow(c);
}

}  // namespace tessel::frame
