// The reference RTF reader: a recursive state machine over the whole input,
// one byte at a time, with every rule in one place.
#include "support/reference_rtf_reader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>

#include "platform/code_page_codec.h"
#include "platform/utf8.h"
#include "resources/rtf_keywords.h"
#include "support/reference_rtf_lookups.h"

namespace tessel::testing {
namespace {

using platform::CodePageCodec;
using Word = ReferenceWord;
using resources::RtfTextWord;

constexpr int kTooManyClosingBraces = -401;
constexpr int kMissingClosingBrace = -402;
constexpr int kBadHexCharacter = -404;
constexpr int kStackTooSmall = -405;
// The reader's documented limits.
constexpr std::size_t kMaxGroupDepth = 10000;
constexpr std::size_t kMaxFonts = 4096;
constexpr std::size_t kMaxFallbackBytes = 16;

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kSixPerEm = 0x2006;

enum class Where { Body, Footnote, Skipped };

// Everything a group sets; "}" brings back the state of its "{".
struct Group {
    Where where = Where::Body;
    bool hidden = false;   // "\v"
    bool deleted = false;  // "\deleted", "\mvf"
    bool fontTable = false;
    bool hexDigits = false;  // inside a "\'" whose digits did not follow at once
    std::int32_t font = 0;
    std::int32_t doubleByteFont = -1;  // "\dbch\fN"; -1: none
    bool doubleByteRun = false;        // after "\dbch" until "\loch", "\hich"
    std::int32_t unicodeSkip = 1;
    std::int32_t style = -1;
};

bool isLetter(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(int c) {
    return c >= '0' && c <= '9';
}
int hexValue(int c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Reader {
  public:
    explicit Reader(std::string_view rtf) : in_(rtf) {}

    ReferenceReading run() {
        out_.result = readDocument();
        return out_;
    }

  private:
    int readDocument() {
        while (pos_ < in_.size()) {
            auto c = static_cast<unsigned char>(in_[pos_++]);
            int result = 0;
            if (c == '{') {
                result = openGroup();
            } else if (c == '}') {
                if (stack_.empty()) return kTooManyClosingBraces;
                closeGroup();
                if (stack_.empty()) return closeDocument();
            } else if (c == '\\') {
                result = controlWordOrSymbol();
            } else if (c == '\r' || c == '\n') {
                // Line ends in the file are no text.
            } else if (group_.hexDigits) {
                result = hexDigit(c);
            } else {
                result = textByte(c);
            }
            if (result != 0) return result;
        }
        // The data ended inside the document, or no group was ever opened.
        if (!stack_.empty()) return kMissingClosingBrace;
        finishHeld();
        if (!line_.empty()) handOn(false);
        return 0;
    }

    int openGroup() {
        if (stack_.size() >= kMaxGroupDepth) return kStackTooSmall;
        endUnicode();
        flushLead();
        stack_.push_back(group_);
        group_.hexDigits = false;
        return 0;
    }

    void closeGroup() {
        endUnicode();
        flushLead();
        std::int32_t inner = group_.style;
        group_ = stack_.back();
        stack_.pop_back();
        std::int32_t outer = group_.style;
        group_.style = inner;
        setStyle(outer);
    }

    int closeDocument() {
        finishHeld();
        if (!line_.empty()) handOn(false);
        tellPendingNotices();
        lookPastDocument();
        return 0;
    }

    // What follows the document: a "}" more than its "{"s, or other data.
    void lookPastDocument() {
        bool data = false;
        long depth = 0;
        for (std::size_t i = pos_; i < in_.size(); ++i) {
            char c = in_[i];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\0') data = true;
            if (c == '\\') {
                ++i;
            } else if (c == '{') {
                ++depth;
            } else if (c == '}' && --depth < 0) {
                notice(0);
                return;
            }
        }
        if (data) notice(1);
    }

    // A backslash has been read.
    int controlWordOrSymbol() {
        if (pos_ >= in_.size()) return kMissingClosingBrace;
        auto c = static_cast<unsigned char>(in_[pos_]);
        if (!isLetter(c)) {
            ++pos_;
            if (c != '\'') flushLead();
            if (c == '\r' && pos_ < in_.size() && in_[pos_] == '\n') c = in_[pos_++];
            return act(findReferenceWord(std::string_view(reinterpret_cast<const char*>(&c), 1)),
                       false, 0);
        }
        flushLead();
        std::size_t start = pos_;
        while (pos_ < in_.size() && isLetter(static_cast<unsigned char>(in_[pos_]))) ++pos_;
        std::string_view name = in_.substr(start, pos_ - start);
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-') {
            negative = true;
            if (++pos_ == in_.size()) return kMissingClosingBrace;
        }
        bool hasParameter = pos_ < in_.size() && isDigit(static_cast<unsigned char>(in_[pos_]));
        // Saturates at the limits of a 32-bit number.
        std::int64_t magnitude = 0;
        constexpr std::int64_t kCeiling =
            std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
        while (pos_ < in_.size() && isDigit(static_cast<unsigned char>(in_[pos_]))) {
            magnitude = std::min(kCeiling, magnitude * 10 + (in_[pos_] - '0'));
            ++pos_;
        }
        std::int64_t value = negative ? -magnitude : magnitude;
        value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max());
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
        return act(findReferenceWord(name), hasParameter, static_cast<std::int32_t>(value));
    }

    int act(const Word& word, bool hasParameter, std::int32_t parameter) {
        bool afterStar = star_;
        star_ = false;
        bool skipped = group_.where == Where::Skipped;
        std::int32_t value = hasParameter ? parameter : 0;
        auto skip = [&] {
            if (!skipped) group_.where = Where::Skipped;
        };
        switch (word.kind) {
            case Word::Kind::Unknown:
                if (afterStar) group_.where = Where::Skipped;
                return 0;
            case Word::Kind::NoEffect:
                return 0;
            case Word::Kind::Hidden:
                if (!skipped) group_.hidden = !hasParameter || parameter != 0;
                return 0;
            case Word::Kind::Plain:
                if (!skipped) {
                    group_.hidden = false;
                    group_.deleted = false;
                    group_.doubleByteRun = false;
                    group_.doubleByteFont = -1;
                    group_.font = defaultFont_;
                    setStyle(-1);
                }
                return 0;
            case Word::Kind::Character:
                return characterWord(word.byte);
            case Word::Kind::Destination:
                skip();
                return 0;
            case Word::Kind::Footnote:
                if (!skipped) group_.where = Where::Footnote;
                return 0;
            case Word::Kind::FontTable:
                group_.fontTable = true;
                skip();
                return 0;
            case Word::Kind::Binary:
                return hasParameter && parameter > 0 ? binary(parameter) : 0;
            case Word::Kind::Hex:
                return skipped ? 0 : startHex();
            case Word::Kind::Star:
                star_ = !skipped;
                return 0;
            case Word::Kind::Text:
                return textWord(word.text, hasParameter, parameter, value, skip);
        }
        return 0;
    }

    template <typename Skip>
    int textWord(RtfTextWord word, bool hasParameter, std::int32_t parameter, std::int32_t value,
                 Skip skip) {
        bool skipped = group_.where == Where::Skipped;
        switch (word) {
            case RtfTextWord::Unicode:
                startUnicode(value);
                return 0;
            case RtfTextWord::UnicodeSkip:
                group_.unicodeSkip = std::max(value, 0);
                return 0;
            case RtfTextWord::Font:
                if (group_.fontTable) {
                    fontEntry_ = value;
                    if (fonts_.size() < kMaxFonts) fonts_.try_emplace(value);
                } else if (group_.doubleByteRun) {
                    group_.doubleByteFont = value;
                } else {
                    group_.font = value;
                }
                return 0;
            case RtfTextWord::FontCharset:
            case RtfTextWord::FontCodePage:
                if (group_.fontTable) {
                    auto entry = fonts_.find(fontEntry_);
                    if (entry != fonts_.end()) {
                        (word == RtfTextWord::FontCharset ? entry->second.charset
                                                          : entry->second.codePage) = value;
                    }
                }
                return 0;
            case RtfTextWord::DocumentCodePage: {
                const CodePageCodec* codec = CodePageCodec::find(value);
                document_ = codec != nullptr ? codec : &CodePageCodec::windows1252();
                return 0;
            }
            case RtfTextWord::DefaultFont:
                defaultFont_ = value;
                if (!group_.fontTable) group_.font = value;
                return 0;
            case RtfTextWord::LowAnsiRun:
            case RtfTextWord::HighAnsiRun:
                group_.doubleByteRun = false;
                return 0;
            case RtfTextWord::DoubleByteRun:
                group_.doubleByteRun = true;
                return 0;
            case RtfTextWord::LineBreak:
                return characterOfItsOwn(0x2028);
            case RtfTextWord::OptionalHyphen:
                return characterOfItsOwn(0x00AD);
            case RtfTextWord::NonBreakingHyphen:
                return characterOfItsOwn(0x2011);
            case RtfTextWord::CharacterStyle:
                setStyle(value);
                return 0;
            case RtfTextWord::CellEnd:
                return characterWord('\n');
            case RtfTextWord::Deleted:
                if (skipped) return 0;
                group_.deleted = !hasParameter || parameter != 0;
                if (group_.deleted) noteChange(revision_);
                return 0;
            case RtfTextWord::Revision:
                noteChange(revision_);
                return 0;
            case RtfTextWord::OldProperties:
                noteChange(revision_);
                skip();
                return 0;
            case RtfTextWord::DroppedText:
                skip();
                return 0;
            case RtfTextWord::Annotation:
                noteChange(comment_);
                skip();
                return 0;
            case RtfTextWord::Bold:
            case RtfTextWord::Italic:
                // Character formatting changes neither the text nor its
                // style runs.
                return 0;
        }
        return 0;
    }

    const CodePageCodec* codingOf(std::int32_t number) const {
        return referenceCodingOf(fonts_, number, document_);
    }
    // Double-byte text takes its own font's page when it has one.
    const CodePageCodec* activeCoding() const {
        if (group_.doubleByteRun && group_.doubleByteFont >= 0) {
            if (const CodePageCodec* codec = codingOf(group_.doubleByteFont)) return codec;
        }
        return codingOf(group_.font);
    }

    // --- Characters -----------------------------------------------------

    bool shown() const { return group_.where == Where::Body && !group_.hidden && !group_.deleted; }

    // A character of the text, when the text is shown: a six-per-em space
    // waits for the next character (a space after it is both), a high
    // surrogate for its low half.
    void emit(char32_t c) {
        if (!shown()) return;
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            append(kReplacement);
        }
        if (sixPerEm_) {
            sixPerEm_ = false;
            if (c == ' ') {
                append(' ');
                return;
            }
            append(kSixPerEm);
        }
        if (c == kSixPerEm) {
            sixPerEm_ = true;
            return;
        }
        append(c);
    }
    void append(char32_t c) { platform::appendUtf8(line_, c); }

    // What is held back is written before the paragraph ends.
    void finishHeld() {
        endUnicode();
        flushLead();
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            append(kReplacement);
        }
        if (sixPerEm_) {
            sixPerEm_ = false;
            append(kSixPerEm);
        }
    }

    // A byte of text (plain, "\'xx" or binary data).
    int textByte(std::uint8_t byte) {
        if (fallbackLeft_ > 0) {
            fallbackByte(byte);
            return 0;
        }
        if (group_.where != Where::Body) return 0;
        if (byte == '\n') return group_.deleted ? 0 : endParagraph();
        if (lead_) {
            char32_t pair = leadCodec_->decodePair(*lead_, byte);
            if (pair != 0) {
                lead_.reset();
                emit(pair);
                return 0;
            }
            flushLead();
        }
        const CodePageCodec* codec = activeCoding();
        if (byte < 0x80) {
            emit(byte);
        } else if (codec == nullptr) {
            emit(platform::keptByte(byte));
        } else if (codec->isLeadByte(byte)) {
            lead_ = byte;
            leadCodec_ = codec;
        } else {
            emit(codec->decode(byte));
        }
        return 0;
    }

    // A lead byte without its trail byte is kept as it is.
    void flushLead() {
        if (!lead_) return;
        std::uint8_t lead = *lead_;
        lead_.reset();
        emit(platform::keptByte(lead));
    }

    // A character word of the table: a Windows 1252 byte ("\par": a line end).
    int characterWord(int byte) {
        if (byte == '\n') {
            endUnicode();
        } else if (fallbackLeft_ > 0) {
            fallbackByte(static_cast<std::uint8_t>(byte));
            return 0;
        }
        if (group_.where != Where::Body) return 0;
        if (byte == '\n') return group_.deleted ? 0 : endParagraph();
        emit(CodePageCodec::windows1252().decode(static_cast<std::uint8_t>(byte)));
        return 0;
    }

    // "\line", "\-", "\_": in a fallback each counts as one "?".
    int characterOfItsOwn(char32_t c) {
        if (fallbackLeft_ > 0) {
            fallbackByte('?');
            return 0;
        }
        emit(c);
        return 0;
    }

    int startHex() {
        hexHigh_ = -1;
        if (pos_ + 2 <= in_.size()) {
            int high = hexValue(static_cast<unsigned char>(in_[pos_]));
            int low = hexValue(static_cast<unsigned char>(in_[pos_ + 1]));
            if (high >= 0 && low >= 0) {
                pos_ += 2;
                group_.hexDigits = false;
                return textByte(static_cast<std::uint8_t>(high * 16 + low));
            }
        }
        // The digits come one at a time, with line ends, groups or words between.
        group_.hexDigits = true;
        return 0;
    }

    int hexDigit(unsigned char c) {
        int value = hexValue(c);
        if (value < 0) return kBadHexCharacter;
        if (hexHigh_ < 0) {
            hexHigh_ = value;
            return 0;
        }
        int byte = hexHigh_ * 16 + value;
        hexHigh_ = -1;
        group_.hexDigits = false;
        return textByte(static_cast<std::uint8_t>(byte));
    }

    // "\binN": the next N bytes, whatever they are, each a byte of text.
    int binary(std::int32_t count) {
        for (std::int32_t i = 0; i < count && pos_ < in_.size(); ++i) {
            if (int result = textByte(static_cast<std::uint8_t>(in_[pos_++])); result != 0) {
                return result;
            }
        }
        return 0;
    }

    // --- Unicode characters ---------------------------------------------

    void startUnicode(std::int32_t number) {
        endUnicode();
        if (number < 0) number += 65536;
        unicode_ = number > 0 && number <= 0xFFFF ? static_cast<char32_t>(number) : kReplacement;
        fallback_.clear();
        fallbackCodec_ = activeCoding();
        fallbackLeft_ = group_.unicodeSkip;
        if (fallbackLeft_ == 0) endUnicode();
    }

    void fallbackByte(std::uint8_t byte) {
        if (fallback_.size() < kMaxFallbackBytes) fallback_ += static_cast<char>(byte);
        if (--fallbackLeft_ == 0) endUnicode();
    }

    // The "\uN" read is complete (its fallback over, or cut short).
    void endUnicode() {
        fallbackLeft_ = 0;
        char32_t c = unicode_;
        if (c == 0) return;
        unicode_ = 0;
        if (c >= 0xD800 && c < 0xDC00) {
            // A high surrogate before another one stands alone.
            if (highSurrogate_ != 0) {
                highSurrogate_ = 0;
                emit(kReplacement);
            }
            if (shown()) highSurrogate_ = c;
            return;
        }
        if (c >= 0xDC00 && c < 0xE000) {
            if (highSurrogate_ == 0) {
                c = kReplacement;
            } else {
                c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00);
                highSurrogate_ = 0;
            }
        }
        std::string fallback = referenceBytesAsText(fallback_, fallbackCodec_);
        bool informative = fallback.find_first_not_of('?') != std::string::npos && c >= 0x80 &&
                           !platform::isKeptByte(c) && c != kSixPerEm;
        if (!informative || !shown()) {
            emit(c);
            return;
        }
        // The character with its fallback, for a writer whose page lacks it.
        emit(0xFFF9);
        append(c);
        append(0xFFFA);
        line_ += fallback;
        append(0xFFFB);
    }

    // --- Paragraphs, styles, notices --------------------------------------

    int endParagraph() {
        finishHeld();
        handOn(true);
        return 0;
    }

    void handOn(bool lineEnd) {
        tellPendingNotices();
        ReferenceEvent event;
        event.kind = ReferenceEvent::Kind::Paragraph;
        event.text = line_;
        event.lineEnd = lineEnd;
        out_.events.push_back(std::move(event));
        line_.clear();
    }

    void setStyle(std::int32_t style) {
        if (style == group_.style) return;
        group_.style = style;
        ReferenceEvent event;
        event.kind = ReferenceEvent::Kind::Style;
        event.value = style;
        event.offset = line_.size();
        out_.events.push_back(event);
    }

    enum class Noted { No, Pending, Told };
    void noteChange(Noted& noted) {
        if (noted == Noted::No && group_.where == Where::Body) noted = Noted::Pending;
    }
    void tellPendingNotices() {
        if (revision_ == Noted::Pending) {
            revision_ = Noted::Told;
            notice(2);
        }
        if (comment_ == Noted::Pending) {
            comment_ = Noted::Told;
            notice(3);
        }
    }
    void notice(int kind) {
        ReferenceEvent event;
        event.kind = ReferenceEvent::Kind::Notice;
        event.value = kind;
        out_.events.push_back(event);
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    Group group_;
    std::vector<Group> stack_;
    bool star_ = false;
    int hexHigh_ = -1;
    std::string line_;
    ReferenceReading out_;

    const CodePageCodec* document_ = &CodePageCodec::windows1252();
    ReferenceFonts fonts_;
    std::int32_t fontEntry_ = 0;
    std::int32_t defaultFont_ = 0;

    char32_t unicode_ = 0;  // a "\uN" whose fallback is being skipped
    std::int32_t fallbackLeft_ = 0;
    std::string fallback_;
    const CodePageCodec* fallbackCodec_ = nullptr;
    char32_t highSurrogate_ = 0;
    bool sixPerEm_ = false;
    std::optional<std::uint8_t> lead_;
    const CodePageCodec* leadCodec_ = nullptr;

    Noted revision_ = Noted::No;
    Noted comment_ = Noted::No;
};

}  // namespace

ReferenceReading readReferenceRtf(std::string_view rtf) {
    return Reader(rtf).run();
}

}  // namespace tessel::testing
