// The RTF reader's control words on its hot path: a word or a run of words
// read before, and what each word does. Inlined into the reader's token
// loop; included by its sources only.
#pragma once

#include "frame/return_codes.h"
#include "frame/rtf_group_state.h"
#include "frame/rtf_reader.h"
#include "frame/rtf_reader_bytes.h"
#include "frame/rtf_text_copy.h"
#include "resources/rtf_keywords.h"

namespace tessel::frame {

using namespace rtf_bytes;

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

// A control word or symbol. A run of words read before is taken from
// runs_ by its bytes; other runs are read word by word, and kept.
[[gnu::always_inline]] inline int RtfReader::controlWord() {
    lookAhead(kWordWindow);
    if (pos_ == end_) return kRtfMissingClosingBrace;
    // "\'", the most frequent control symbol, is known without a lookup.
    if (current() == '\'') {
        ++pos_;
        return act({resources::RtfAction::HexByte, 0}, false, 0);
    }
    if (!isLetter(current())) return act(controlSymbol(), false, 0);
    flushLeadByte();
    if (const RtfWordRuns::Run* run = runs_.find(input_.data() + pos_, end_ - pos_)) {
        return replayRun(*run);
    }
    return readWordRun();
}

// The words of a run, acted on as if read one after the other.
[[gnu::always_inline]] inline int RtfReader::replayRun(const RtfWordRuns::Run& run) {
    const std::size_t start = pos_;
    for (std::size_t i = 0; i < run.words; ++i) {
        // No word of a run leaves a lead byte waiting (only bytes of text
        // do), so the one flush before the run covers all its words.
        const RtfParsedWord& word = run.word[i];
        pos_ = start + word.end;
        if (int result = act(word.found, word.hasParameter, word.parameter); result != 0) {
            return result;
        }
    }
    pos_ = start + run.length;
    return 0;
}

// A backslash and one byte that is neither a letter nor "'" ("\{", "\~"
// ...); a lead byte waiting before it is over. The byte is in the buffer
// (controlWord() looked ahead).
[[gnu::always_inline]] inline resources::RtfWordAction RtfReader::controlSymbol() {
    int c = current();
    ++pos_;
    // Backslash + CR LF is read as backslash + line feed.
    if (c == '\r' && peek() == '\n') c = next();
    flushLeadByte();
    return resources::kRtfWordIndex.findSymbol(static_cast<unsigned char>(c));
}

// What a control word or symbol does, in one switch over the actions of
// the keyword index.
[[gnu::always_inline]] inline int RtfReader::act(resources::RtfWordAction found, bool hasParameter,
                                                 std::int32_t parameter) {
    using resources::RtfAction;
    const bool afterStar = skipUnknown_;
    skipUnknown_ = false;
    const bool skipped = group_.destination == Destination::Skipped;
    const std::int32_t value = hasParameter ? parameter : 0;
    switch (found.action) {
        case RtfAction::Unknown:
            if (afterStar) group_.destination = Destination::Skipped;
            return 0;
        case RtfAction::NoEffect:
            return 0;
        case RtfAction::Hidden:
            if (!skipped) setHidden(kHiddenText, (hasParameter ? parameter : found.value) != 0);
            return 0;
        case RtfAction::Plain:
            if (!skipped) plain();
            return 0;
        case RtfAction::Character:
            return character(found.value);
        case RtfAction::FontTable:
            ++outsideEffects_;
            group_.inFontTable = true;
            if (!skipped) group_.destination = Destination::Skipped;
            return 0;
        case RtfAction::Destination:
            if (!skipped) group_.destination = Destination::Skipped;
            return 0;
        case RtfAction::Footnote:
            if (!skipped) group_.destination = Destination::Footnote;
            return 0;
        case RtfAction::Binary:
            // "\bin0" (or a negative count) has no data: reading it as binary
            // would swallow the rest of the file.
            if (hasParameter && parameter > 0) {
                ++outsideEffects_;
                afterBinary_ = group_.state;
                group_.state = State::Binary;
                binaryLeft_ = parameter;
                return readBinary();
            }
            return 0;
        case RtfAction::HexByte:
            return skipped ? 0 : startHexByte();
        case RtfAction::SkipUnknown:
            skipUnknown_ = !skipped;
            return 0;
        case RtfAction::Unicode:
            startUnicode(value);
            return 0;
        case RtfAction::UnicodeSkip:
            group_.unicodeSkip = std::max<std::int32_t>(value, 0);
            return 0;
        case RtfAction::Font:
            font(value);
            return 0;
        case RtfAction::FontCharset:
        case RtfAction::FontCodePage:
            fontTableEntry(found.action == RtfAction::FontCharset, value);
            return 0;
        case RtfAction::DocumentCodePage:
            documentCodePage(value);
            return 0;
        case RtfAction::DefaultFont:
            ++outsideEffects_;
            defaultFont_ = value;
            if (!group_.inFontTable) setFont(value);
            return 0;
        case RtfAction::LowAnsiRun:
            group_.runType = RunType::Low;
            return 0;
        case RtfAction::HighAnsiRun:
            group_.runType = RunType::High;
            return 0;
        case RtfAction::DoubleByteRun:
            group_.runType = RunType::DoubleByte;
            return 0;
        case RtfAction::LineBreak:
            return textCharacter(kLineSeparator);
        case RtfAction::OptionalHyphen:
            return textCharacter(kSoftHyphen);
        case RtfAction::NonBreakingHyphen:
            return textCharacter(kNonBreakingHyphen);
        case RtfAction::CharacterStyle:
            setCharacterStyle(value);
            return 0;
        case RtfAction::CellEnd:
            return character(kLineEnd);
        case RtfAction::Deleted:
            if (skipped) return 0;
            if (!hasParameter || parameter != 0) noteRevision();
            setHidden(kDeletedText, !hasParameter || parameter != 0);
            return 0;
        case RtfAction::Revision:
            noteRevision();
            return 0;
        case RtfAction::OldProperties:
            noteRevision();
            if (!skipped) group_.destination = Destination::Skipped;
            return 0;
        case RtfAction::DroppedText:
            if (!skipped) group_.destination = Destination::Skipped;
            return 0;
        case RtfAction::Annotation:
            noteComment();
            if (!skipped) group_.destination = Destination::Skipped;
            return 0;
        case RtfAction::Bold:
            switchFormatting(resources::kFormattingBold, !hasParameter || parameter != 0);
            return 0;
        case RtfAction::Italic:
            switchFormatting(resources::kFormattingItalic, !hasParameter || parameter != 0);
            return 0;
        case RtfAction::Formatting: {
            const bool off = (found.value & resources::kFormattingOff) != 0;
            switchFormatting(static_cast<std::uint8_t>(found.value & ~resources::kFormattingOff),
                             !off && (!hasParameter || parameter != 0));
            return 0;
        }
    }
    return kRtfKeywordTableBug;
}

// "\fN": an entry of the font table, or the font of the text.
[[gnu::always_inline]] inline void RtfReader::font(std::int32_t number) {
    if (group_.inFontTable) {
        fontTableFont(number);
    } else if (group_.runType == RunType::DoubleByte) {
        group_.doubleByteFont = number;
        group_.doubleByteCoding = codingOfFont(number);
    } else {
        setFont(number);
    }
}

// "\'": the two hexadecimal digits of a byte follow. When both stand in the
// buffer the byte is taken at once; otherwise (the buffer ends, a line end
// or a bad digit comes between) the reader goes on digit by digit.
[[gnu::always_inline]] inline int RtfReader::startHexByte() {
    if (end_ - pos_ >= 2) {
        int high = hexValue(static_cast<unsigned char>(input_[pos_]));
        int low = hexValue(static_cast<unsigned char>(input_[pos_ + 1]));
        if (high >= 0 && low >= 0) {
            pos_ += 2;
            // As after reading the digits one by one: an escape whose digits
            // this one cut short is over too.
            group_.state = State::Normal;
            hexHigh_ = -1;
            auto byte = static_cast<std::uint8_t>(high * 16 + low);
            if (byte >= 0x80 && appendHighByte(byte)) return 0;
            return textByte(byte);
        }
    }
    group_.state = State::Hex;
    hexHigh_ = -1;
    return 0;
}

}  // namespace tessel::frame
