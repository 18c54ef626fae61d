// Control words of the RTF reader off its hot path: reading a word and its
// parameter, runs of words read for the first time, "\plain" and
// hexadecimal digits read one at a time.
#include "frame/rtf_control_words.h"

#include <algorithm>
#include <cstdint>

namespace tessel::frame {

using namespace rtf_bytes;
using platform::CodePageCodec;

// A word that does nothing but end what a "\*" before it began: after the
// first word of a run no "\*" is pending, so it need not be kept.
bool RtfReader::keepsInRun(const RtfParsedWord& word, bool first) {
    using resources::RtfAction;
    return first ||
           (word.found.action != RtfAction::NoEffect && word.found.action != RtfAction::Unknown);
}

// Reads and acts on control words for as long as one directly follows the
// other, as the token loop would, and keeps the run for runs_ when it was
// read within one load of the buffer. A run ends with "\binN", which is
// not kept.
int RtfReader::readWordRun() {
    const std::size_t start = pos_;
    const std::size_t loads = loads_;
    runs_.start();
    bool recording = true;
    for (bool first = true;; first = false) {
        RtfParsedWord word;
        if (!readWord(word)) return kRtfMissingClosingBrace;
        word.end = static_cast<std::uint8_t>(
            std::min<std::size_t>(pos_ - start, RtfWordRuns::kMaxRunBytes + 1));
        recording = recording && loads_ == loads && (!keepsInRun(word, first) || runs_.add(word));
        if (int result = act(word.found, word.hasParameter, word.parameter); result != 0) {
            return result;
        }
        // Binary data was read with its word: a run of words ends there.
        if (word.found.action == resources::RtfAction::Binary) return 0;
        if (!recording || end_ - pos_ < 2 || input_[pos_] != '\\' ||
            !isLetter(static_cast<unsigned char>(input_[pos_ + 1]))) {
            break;
        }
        ++pos_;
        lookAhead(kWordWindow);
        flushLeadByte();
    }
    // A run that moved in the buffer (the data may have ended in it) is not
    // kept. A last word that ends in its space was read without the byte
    // after it.
    if (!recording || loads_ != loads) return 0;
    bool withNext = input_[pos_ - 1] != ' ';
    if (!withNext || pos_ < end_) runs_.keep(input_.data() + start, pos_ - start, withNext);
    return 0;
}

// A control word from its first letter, read where it stands in the buffer:
// lookAhead() has made a word of the table with the longest parameter and
// the byte after it readable, so within that window the end of the buffer
// is the end of the data. A zero byte stands after the data (refill() puts
// it there), so the scans of letters and digits stop at the end without a
// bounds check of their own. Longer words and parameters go on across
// refills. False when the data ends in the word's minus sign.
bool RtfReader::readWord(RtfParsedWord& word) {
    const char* data = input_.data();
    // The letters eight at a time: the buffer's padding makes eight bytes
    // readable up to the stop byte; bytes after it do not count.
    std::size_t start = pos_;
    std::size_t at = start + 1;
    for (;;) {
        std::size_t letters = leadingLetters(platform::words::load(data + at));
        at += letters;
        if (letters < sizeof(std::uint64_t)) break;
    }
    if (at - start <= resources::RtfWordIndex::kMaxWordBytes) {
        word.found = resources::kRtfWordIndex.find(data + start, at - start);
    } else {
        // Longer than any word of the tables: read to its end, unknown.
        pos_ = at;
        takeWhile(isLetter, [](char) {});
        lookAhead(kParameterWindow);
        data = input_.data();
        at = pos_;
    }

    // The parameter: an optional minus and digits.
    bool negative = data[at] == '-';
    if (negative && ++at == end_) {
        pos_ = at;
        return false;
    }
    word.hasParameter = isDigit(static_cast<unsigned char>(data[at]));
    std::int64_t magnitude = 0;
    // A parameter of up to kMaxParameterDigits cannot overflow; the value
    // stops growing once past the limit of a 32-bit number.
    for (; isDigit(static_cast<unsigned char>(data[at])); ++at) {
        if (magnitude <= kParameterCeiling) magnitude = magnitude * 10 + (data[at] - '0');
    }
    pos_ = at;
    if (word.hasParameter && at == end_) {
        takeWhile(isDigit, [&](char digit) {
            if (magnitude <= kParameterCeiling) magnitude = magnitude * 10 + (digit - '0');
        });
    }
    // One space after the word belongs to it.
    if (peek() == ' ') ++pos_;
    magnitude = std::min(magnitude, kParameterCeiling);
    word.parameter = clampParameter(magnitude, negative);
    return true;
}

void RtfReader::plain() {
    group_.hidden = 0;
    group_.runType = RunType::Low;
    // No double-byte font is named any more: a later "\dbch" run reads its
    // bytes in the font of the text until "\fN" names one.
    group_.doubleByteFont = -1;
    group_.doubleByteCoding = {nullptr};
    setFont(defaultFont_);
    setCharacterStyle(kNoCharacterStyle);
    setFormatting(0);
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
    group_.state = State::Normal;
    return textByte(static_cast<std::uint8_t>(byte));
}

}  // namespace tessel::frame
