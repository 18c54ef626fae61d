#include "frame/rtf_reader.h"

#include <algorithm>
#include <array>
#include <limits>

#include "frame/return_codes.h"
#include "resources/rtf_keywords.h"

namespace tessel::frame {

namespace {

using resources::RtfKeyword;
using resources::RtfKeywordKind;

constexpr int kLineEnd = '\n';

bool isLetter(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

int hexValue(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bytes that end a run of plain text: everything else is passed on in bulk.
constexpr std::array<bool, 256> kEndsPlainRun = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {'\\', '{', '}', '\r', '\n'}) table[c] = true;
    return table;
}();

// Parameter values saturate here; the sign is applied afterwards.
constexpr std::int64_t kParameterCeiling =
    static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;

std::int32_t clampParameter(std::int64_t magnitude, bool negative) {
    if (negative) return static_cast<std::int32_t>(-magnitude);
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(magnitude, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

RtfReader::RtfReader(RtfByteSource& source, RtfParagraphSink& sink)
    : source_(source), sink_(sink), input_(kInputBlock) {
    line_.reserve(kLineBufferStep);
}

bool RtfReader::refill() {
    pos_ = 0;
    end_ = source_.read(input_.data(), input_.size());
    return end_ != 0;
}

int RtfReader::next() {
    if (pos_ == end_ && !refill()) return -1;
    return static_cast<unsigned char>(input_[pos_++]);
}

int RtfReader::peek() {
    if (pos_ == end_ && !refill()) return -1;
    return static_cast<unsigned char>(input_[pos_]);
}

// Passes the bytes that satisfy `accept` to `take` and consumes them, across
// buffer refills; stops before the first other byte (or at end of data).
template <typename Accept, typename Take>
void RtfReader::takeWhile(Accept accept, Take take) {
    for (;;) {
        const char* data = input_.data();
        std::size_t at = pos_;
        std::size_t end = end_;
        while (at < end && accept(static_cast<unsigned char>(data[at]))) take(data[at++]);
        pos_ = at;
        if (at < end || !refill()) return;
    }
}

int RtfReader::read() {
    for (;;) {
        int c = next();
        if (c < 0) return endOfDocument();
        int result = 0;
        if (state_ == State::Binary) {
            // Text-mode reading: CR LF arrives as one line feed.
            if (c == '\r' && peek() == '\n') c = next();
            result = character(c);
        } else {
            switch (c) {
                case '\r':
                case '\n':
                    break;
                case '{':
                    result = push();
                    break;
                case '}':
                    result = pop();
                    break;
                case '\\':
                    result = controlWord();
                    break;
                default:
                    if (state_ == State::Hex) {
                        result = hexDigit(c);
                    } else {
                        unget();
                        takePlainRun(destination_ == Destination::Body && !hidden_);
                    }
                    break;
            }
        }
        if (result != 0) return result;
    }
}

int RtfReader::endOfDocument() {
    if (!stack_.empty()) return kRtfMissingClosingBrace;
    if (line_.empty()) return 0;
    int result = sink_.paragraph(line_, false);
    line_.clear();
    return result;
}

// Takes the plain bytes from the current position up to the next byte that
// means something to the reader; appends them to the line when `keep`.
void RtfReader::takePlainRun(bool keep) {
    // Local copies: the compiler cannot keep members in registers across
    // byte loads that might alias them.
    const char* data = input_.data();
    std::size_t start = pos_;
    std::size_t stop = start;
    std::size_t end = end_;
    while (stop < end && !kEndsPlainRun[static_cast<unsigned char>(data[stop])]) ++stop;
    pos_ = stop;
    if (keep) appendToLine(data + start, stop - start);
}

void RtfReader::appendToLine(const char* bytes, std::size_t n) {
    std::size_t needed = line_.size() + n;
    if (needed > line_.capacity()) {
        // Whole steps of the buffer size, but at least half as much again, so
        // a paragraph of many megabytes is not copied over and over.
        std::size_t wanted = std::max(needed, line_.capacity() + line_.capacity() / 2);
        line_.reserve((wanted + kLineBufferStep - 1) / kLineBufferStep * kLineBufferStep);
    }
    line_.append(bytes, n);
}

int RtfReader::push() {
    if (stack_.size() >= kMaxGroupDepth) return kRtfStackTooSmall;
    stack_.push_back(Group{hidden_, otherProperties_, destination_, state_});
    state_ = State::Normal;
    return 0;
}

int RtfReader::pop() {
    if (stack_.empty()) return kRtfTooManyClosingBraces;
    const Group& saved = stack_.back();
    hidden_ = saved.hidden;
    otherProperties_ = saved.otherProperties;
    destination_ = saved.destination;
    state_ = saved.state;
    stack_.pop_back();
    return 0;
}

int RtfReader::controlWord() {
    int c = next();
    if (c < 0) return kRtfMissingClosingBrace;
    if (!isLetter(c)) {
        // A control symbol; backslash + CR LF is read as backslash + line feed.
        if (c == '\r' && peek() == '\n') c = next();
        char symbol = static_cast<char>(c);
        return applyKeyword(std::string_view(&symbol, 1), false, 0);
    }

    char word[kMaxKeywordLetters];
    word[0] = static_cast<char>(c);
    std::size_t length = 1;
    bool overlong = false;
    takeWhile(isLetter, [&](char letter) {
        if (length < kMaxKeywordLetters) {
            word[length++] = letter;
        } else {
            overlong = true;
        }
    });

    c = next();
    bool negative = false;
    if (c == '-') {
        negative = true;
        c = next();
        if (c < 0) return kRtfMissingClosingBrace;
    }
    bool hasParameter = false;
    std::int64_t magnitude = 0;
    if (c >= 0 && isDigit(c)) {
        hasParameter = true;
        magnitude = c - '0';
        takeWhile(isDigit, [&](char digit) {
            magnitude = std::min(magnitude * 10 + (digit - '0'), kParameterCeiling);
        });
        c = next();
    }
    if (c >= 0 && c != ' ') unget();

    if (overlong) return applyKeyword({}, false, 0);
    return applyKeyword(std::string_view(word, length), hasParameter,
                        clampParameter(magnitude, negative));
}

int RtfReader::applyKeyword(std::string_view word, bool hasParameter, std::int32_t parameter) {
    const RtfKeyword* keyword = word.empty() ? nullptr : resources::findRtfKeyword(word);
    if (keyword == nullptr) {
        if (skipUnknown_) destination_ = Destination::Skipped;
        skipUnknown_ = false;
        return 0;
    }
    skipUnknown_ = false;
    bool skipped = destination_ == Destination::Skipped;
    switch (keyword->kind) {
        case RtfKeywordKind::Property: {
            if (skipped) return 0;
            int value = keyword->useDefault || !hasParameter ? keyword->defaultValue : parameter;
            if (keyword->index == resources::kPropHidden) hidden_ = value != 0;
            if (keyword->index == resources::kPropPlain) hidden_ = false;
            return 0;
        }
        case RtfKeywordKind::Character:
            return character(keyword->index);
        case RtfKeywordKind::Destination:
            if (!skipped) {
                destination_ = keyword->index == resources::kDestFootnote ? Destination::Footnote
                                                                          : Destination::Skipped;
            }
            return 0;
        case RtfKeywordKind::Special:
            if (skipped && keyword->index != resources::kSpecialBinary) return 0;
            switch (keyword->index) {
                case resources::kSpecialBinary:
                    // "\bin0" (or a negative count) has no data: reading it as
                    // binary would swallow the rest of the file.
                    if (hasParameter && parameter > 0) {
                        state_ = State::Binary;
                        binaryLeft_ = parameter;
                    }
                    return 0;
                case resources::kSpecialHexByte:
                    state_ = State::Hex;
                    hexHigh_ = -1;
                    return 0;
                case resources::kSpecialSkipUnknown:
                    skipUnknown_ = true;
                    return 0;
                default:
                    return kRtfKeywordTableBug;
            }
    }
    return kRtfKeywordTableBug;
}

int RtfReader::hexDigit(int c) {
    int value = hexValue(c);
    if (value < 0) return kRtfBadHexCharacter;
    if (hexHigh_ < 0) {
        hexHigh_ = value;
        return 0;
    }
    int byte = hexHigh_ * 16 + value;
    hexHigh_ = -1;
    state_ = State::Normal;
    return character(byte);
}

int RtfReader::character(int byte) {
    if (state_ == State::Binary && --binaryLeft_ <= 0) state_ = State::Normal;
    if (destination_ != Destination::Body) return 0;
    if (byte == kLineEnd) {
        int result = sink_.paragraph(line_, true);
        line_.clear();
        return result;
    }
    if (hidden_) return 0;
    char c = static_cast<char>(byte);
    appendToLine(&c, 1);
    return 0;
}

}  // namespace tessel::frame
