#include "parser/ss_lex_input.h"

#include <algorithm>
#include <cstring>

#include "platform/code_pages.h"

namespace tessel::parser {

namespace {
constexpr std::uint32_t kLineFeed = 10;
}

SSLexInput::SSLexInput(Kind kind, std::size_t increment)
    : kind_(kind), codePage_(platform::activeAnsiCodePage()), increment_(increment) {
    for (unsigned byte = 0; byte < leadBytes_.size(); ++byte) {
        leadBytes_[byte] = platform::isLeadByte(codePage_, static_cast<std::uint8_t>(byte));
        hasLeadBytes_ = hasLeadBytes_ || leadBytes_[byte];
    }
}

bool SSLexInput::nextCharSlow() {
    if (bofPending_) {
        bofPending_ = false;
        if (kind_ == Unicode16) stepOverByteOrderMark();
        current_ = kSSLexBof;
        return true;
    }
    // The data is checked before the end-of-input flag: a match that read to
    // the end and was then rewound still has characters to deliver.
    if (!ensureBytes(1)) {
        endOfInput_ = true;
        return false;
    }
    switch (kind_) {
        case SingleByte:
            current_ = buffer_[position_++];
            break;
        case Unicode16:
            current_ = readUnit16();
            break;
        default:
            current_ = readMultibyte();
            break;
    }
    countCharacter();
    return true;
}

bool SSLexInput::ensureBytes(std::size_t count) {
    while (end_ - position_ < count) {
        if (refill() == 0) return false;
    }
    return true;
}

std::uint32_t SSLexInput::readMultibyte() {
    // A lead byte that is the last byte of the data has no trail byte: it is
    // delivered as a character of its own.
    if (leadBytes_[buffer_[position_]] && ensureBytes(2)) {
        std::uint32_t lead = buffer_[position_];
        std::uint32_t trail = buffer_[position_ + 1];
        position_ += 2;
        ++column_;  // the second byte's column
        return lead | (trail << 8);
    }
    return buffer_[position_++];
}

std::uint32_t SSLexInput::readUnit16() {
    if (!ensureBytes(2)) return buffer_[position_++];  // odd trailing byte
    std::uint32_t first = buffer_[position_];
    std::uint32_t second = buffer_[position_ + 1];
    position_ += 2;
    return littleEndian_ ? (first | (second << 8)) : ((first << 8) | second);
}

void SSLexInput::stepOverByteOrderMark() {
    if (!ensureBytes(2)) return;
    std::uint8_t first = buffer_[position_];
    std::uint8_t second = buffer_[position_ + 1];
    if (first == 0xFF && second == 0xFE) {
        littleEndian_ = true;
    } else if (first == 0xFE && second == 0xFF) {
        littleEndian_ = false;
    } else {
        return;
    }
    position_ += 2;
}

void SSLexInput::dropRead() {
    mark_ = position_;
    lineBase_ += relativeLines_;
    relativeLines_ = 0;
    startColumn_ = column_;
}

bool SSLexInput::skipLeadingNewline(SSLexMatchEnd& end) {
    std::size_t width = kind_ == Unicode16 ? 2 : 1;
    if (mark_ + width > end.position || mark_ + width > end_) return false;
    bool newline = kind_ == Unicode16
                       ? (littleEndian_ ? buffer_[mark_] == kLineFeed && buffer_[mark_ + 1] == 0
                                        : buffer_[mark_] == 0 && buffer_[mark_ + 1] == kLineFeed)
                       : buffer_[mark_] == kLineFeed;
    if (!newline) return false;
    mark_ += width;
    lineBase_ += 1;
    end.relativeLines -= 1;
    startColumn_ = 1;
    return true;
}

void SSLexInput::giveBack(SSLexMatchEnd& end) const {
    std::size_t width = kind_ == Unicode16 ? 2 : 1;
    if (end.position < mark_ + width || end.position > end_) return;
    std::size_t at = end.position - width;
    bool newline = kind_ == Unicode16
                       ? (littleEndian_ ? buffer_[at] == kLineFeed && buffer_[at + 1] == 0
                                        : buffer_[at] == 0 && buffer_[at + 1] == kLineFeed)
                       : buffer_[at] == kLineFeed;
    // Only a line end is given back; the column stays as recorded, so the
    // lexeme that starts with the given-back LF reports column 1.
    if (!newline) return;
    end.position = at;
    end.relativeLines -= 1;
}

bool SSLexInput::compact() {
    if (mark_ == 0) return end_ == 0;
    std::size_t kept = end_ - mark_;
    if (kept != 0) std::memmove(buffer_.data(), buffer_.data() + mark_, kept);
    position_ -= mark_;
    end_ -= mark_;
    shiftCount_ += mark_;
    discarded_ += mark_;
    mark_ = 0;
    return true;
}

}  // namespace tessel::parser
