// Text of the RTF reader off its hot path: the line's buffer, text while
// something is held back, single bytes and characters of their own.
#include "frame/rtf_text_copy.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace tessel::frame {

using namespace rtf_bytes;
using platform::CodePageCodec;

// Text while something is held back or pending: a byte at a time.
int RtfReader::takeTextAfterHeld() {
    if (inFallback() || pendingLead_ != kNoLeadByte) return textByte(next());
    if (!showsText()) {
        skipText();
        return 0;
    }
    return textByte(next());
}

void RtfReader::LineText::appendUtf8(const char* data, std::size_t n) {
    if (codePage_ != nullptr) toUtf8();
    std::memcpy(room(n), data, n);
    length_ += n;
}

void RtfReader::LineText::toUtf8() {
    if (codePage_ == nullptr) return;
    std::string utf8;
    codePage_->appendSingleByteUtf8(std::string_view(bytes_.get(), length_), utf8);
    codePage_ = nullptr;
    length_ = 0;
    std::memcpy(room(utf8.size()), utf8.data(), utf8.size());
    length_ = utf8.size();
}

RtfReader::LineText::LineText()
    : bytes_(std::make_unique_for_overwrite<char[]>(kLineBufferStep)), capacity_(kLineBufferStep) {}

void RtfReader::LineText::grow(std::size_t n) {
    // Whole steps of the buffer size, but at least half as much again, so a
    // paragraph of many megabytes is not copied over and over.
    std::size_t wanted = std::max(length_ + n, capacity_ + capacity_ / 2);
    std::size_t capacity = (wanted + kLineBufferStep - 1) / kLineBufferStep * kLineBufferStep;
    auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
    std::memcpy(bytes.get(), bytes_.get(), length_);
    bytes_ = std::move(bytes);
    capacity_ = capacity;
}

// A character given by a control word of its own ("\line", "\-", "\_").
int RtfReader::textCharacter(char32_t c) {
    if (inFallback()) {
        takeFallbackByte('?');
        return 0;
    }
    emit(c);
    return 0;
}

// A byte of text: from a plain run, "\'xx" or binary data.
int RtfReader::textByte(std::uint8_t byte) {
    if (inFallback()) {
        takeFallbackByte(byte);
        return 0;
    }
    if (group_.destination != Destination::Body) return 0;
    if (byte == kLineEnd) return (group_.hidden & kDeletedText) != 0 ? 0 : endParagraph();
    if (pendingLead_ != kNoLeadByte) {
        char32_t pair = leadCodec_->decodePair(static_cast<std::uint8_t>(pendingLead_), byte);
        if (pair != 0) {
            pendingLead_ = kNoLeadByte;
            emit(pair);
            return 0;
        }
        flushLeadByte();
    }
    const CodePageCodec* codec = activeCoding().codec;
    if (byte < 0x80) {
        emit(byte);
    } else if (codec == nullptr) {
        emit(platform::keptByte(byte));
    } else if (codec->isLeadByte(byte)) {
        pendingLead_ = byte;
        leadCodec_ = codec;
    } else {
        emit(codec->decode(byte));
    }
    return 0;
}

}  // namespace tessel::frame
