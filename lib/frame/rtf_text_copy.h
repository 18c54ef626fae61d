// The RTF reader's hot path through text: runs of plain text copied in
// bulk, character words and bytes from 0x80 up appended straight to the
// line. Inlined into the reader's token loop; included by its sources only.
#pragma once

#include <cstring>

#include "frame/rtf_reader.h"
#include "frame/rtf_reader_bytes.h"

namespace tessel::frame {

using namespace rtf_bytes;

// Text from the current position up to the next byte that means something
// to the reader. The common case, shown text with nothing held back, is
// copied in bulk (as it stands when it is in the line's own code page); a
// byte that continues something (a fallback being skipped, a lead byte
// waiting for its trail, a held-back character) or that needs a double-byte
// page or a symbol font goes alone through textByte().
[[gnu::always_inline]] inline int RtfReader::takeText() {
    if (continuesSomething()) return takeTextAfterHeld();
    if (!showsText()) {
        skipText();
        return 0;
    }
    const platform::CodePageCodec* codec = activeCoding().codec;
    const platform::CodePageCodec* lineBytes = line_.codePage();
    if (codec == lineBytes && codec != nullptr) {
        copyBytes();
        return 0;
    }
    const platform::CodePageCodec* singleByte =
        codec != nullptr && !codec->isDoubleByte() ? codec : nullptr;
    if (singleByte == nullptr && current() >= 0x80) return textByte(next());
    if (lineBytes != nullptr) {
        // Bytes of another page: the line turns into UTF-8 at the first
        // one, and the ASCII before it is taken as it stands.
        if (current() < 0x80) {
            copyText(nullptr);
            return 0;
        }
        line_.toUtf8();
    }
    copyText(singleByte);
    return 0;
}

// Text that is not shown (dropped destinations, hidden text): passed over.
inline void RtfReader::skipText() {
    const char* data = input_.data();
    std::size_t at = pos_;
    std::size_t end = end_;
    while (at < end && !endsText(static_cast<unsigned char>(data[at]))) ++at;
    pos_ = at;
}

// Copies text to the line as UTF-8, to the end of the buffer at most: ASCII
// as it is, bytes from 0x80 up through the table of `singleByteCodec` (null:
// they end the copy). Takes at least the byte at the current position.
[[gnu::always_inline]] inline void RtfReader::copyText(
    const platform::CodePageCodec* singleByteCodec) {
    // Local copies: the compiler cannot keep members in registers across
    // byte stores that might alias them.
    const char* data = input_.data();
    std::size_t at = pos_;
    const std::size_t end = end_;
    char* const start = line_.room(kMaxUtf8PerByte * (end - at) + kWordBytes);
    char* out = start;
    while (at < end) {
        if (copyWordIfPlain(data, at, end, out, mayEndText)) continue;
        auto byte = static_cast<unsigned char>(data[at]);
        if (byte < 0x80) {
            if (endsText(byte)) break;
            *out++ = static_cast<char>(byte);
            ++at;
            continue;
        }
        if (singleByteCodec == nullptr) break;
        // No single-byte page has a character the reader treats apart.
        const platform::CodePageCodec::Utf8& utf8 = singleByteCodec->highByteUtf8(byte);
        std::memcpy(out, utf8.bytes, kMaxUtf8PerByte);
        out += utf8.length;
        ++at;
    }
    line_.commit(static_cast<std::size_t>(out - start));
    pos_ = at;
}

// Text of the line's own code page, copied as it stands to the end of the
// buffer at most: only the bytes that mean something to the reader end it.
// Takes at least the byte at the current position.
[[gnu::always_inline]] inline void RtfReader::copyBytes() {
    const char* data = input_.data();
    std::size_t at = pos_;
    const std::size_t end = end_;
    char* const start = line_.room(end - at + kWordBytes);
    char* out = start;
    while (at < end) {
        if (copyWordIfPlain(data, at, end, out, mayEndBytes)) continue;
        auto byte = static_cast<unsigned char>(data[at]);
        if (endsText(byte)) break;
        *out++ = static_cast<char>(byte);
        ++at;
    }
    line_.commit(static_cast<std::size_t>(out - start));
    pos_ = at;
}

// A character word of the keyword table: its index is a Windows 1252 byte.
[[gnu::always_inline]] inline int RtfReader::character(int byte) {
    if (byte == kLineEnd) {
        // A paragraph mark ends a fallback; it is never taken as one.
        finishUnicode();
    } else if (inFallback()) {
        takeFallbackByte(static_cast<std::uint8_t>(byte));
        return 0;
    }
    if (group_.destination != Destination::Body) return 0;
    // A deleted paragraph mark joins its paragraph to the next.
    if (byte == kLineEnd) return (group_.hidden & kDeletedText) != 0 ? 0 : endParagraph();
    // Nothing held back (the common case): the byte's UTF-8 goes straight
    // to the line, as emit() would write it (no Windows 1252 byte is a
    // six-per-em space).
    if (holdsNothing()) {
        if (!group_.hidden) appendByte(windows1252_, static_cast<std::uint8_t>(byte));
        return 0;
    }
    emit(windows1252_.decode(static_cast<std::uint8_t>(byte)));
    return 0;
}

// The common case of a byte from 0x80 up, as textByte() would write it:
// shown text in a single-byte page, nothing pending or held back. Its UTF-8
// comes straight from the page's table (no single-byte page has a character
// that emit() treats apart). False, with nothing done, in any other case.
[[gnu::always_inline]] inline bool RtfReader::appendHighByte(std::uint8_t byte) {
    if (inFallback() || pendingLead_ != kNoLeadByte || !holdsNothing() || !showsText()) {
        return false;
    }
    const platform::CodePageCodec* codec = activeCoding().codec;
    if (codec == nullptr || codec->isDoubleByte()) return false;
    appendByte(*codec, byte);
    return true;
}

// A byte of a single-byte page: as it stands where the line holds that
// page's bytes, else its UTF-8 from the page's table.
[[gnu::always_inline]] inline void RtfReader::appendByte(const platform::CodePageCodec& codec,
                                                         std::uint8_t byte) {
    if (byte < 0x80 || &codec == line_.codePage()) {
        line_.push(static_cast<char>(byte));
        return;
    }
    line_.toUtf8();
    const platform::CodePageCodec::Utf8& utf8 = codec.highByteUtf8(byte);
    std::memcpy(line_.room(kMaxUtf8PerByte), utf8.bytes, kMaxUtf8PerByte);
    line_.commit(utf8.length);
}

}  // namespace tessel::frame
