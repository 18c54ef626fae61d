#include "frame/rtf_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "frame/return_codes.h"
#include "platform/utf8.h"
#include "resources/rtf_keywords.h"

namespace tessel::frame {

namespace {

using platform::appendUtf8;
using platform::CodePageCodec;
using resources::RtfKeyword;
using resources::RtfKeywordKind;
using resources::RtfTextWord;

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
// Bytes from 0x80 up are characters of the font's code page, read singly.
constexpr std::array<bool, 256> kEndsPlainRun = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {'\\', '{', '}', '\r', '\n'}) table[c] = true;
    for (int c = 0x80; c < 0x100; ++c) table[c] = true;
    return table;
}();

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr int kNoLeadByte = -1;

bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c < 0xDC00;
}
bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

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
    : source_(source),
      sink_(sink),
      documentCodec_(&CodePageCodec::windows1252()),
      coding_{documentCodec_},
      input_(kInputBlock) {
    line_.reserve(kLineBufferStep);
}

bool RtfReader::refill() {
    pos_ = 0;
    end_ = source_.read(input_.data(), input_.size());
    return end_ != 0;
}

void RtfReader::moveAndFill(std::size_t n) {
    std::size_t left = end_ - pos_;
    std::memmove(input_.data(), input_.data() + pos_, left);
    pos_ = 0;
    end_ = left;
    while (end_ < n) {
        std::size_t got = source_.read(input_.data() + end_, input_.size() - end_);
        if (got == 0) return;
        end_ += got;
    }
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
            if (--binaryLeft_ <= 0) state_ = State::Normal;
            result = textByte(static_cast<std::uint8_t>(c));
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
                    } else if (c >= 0x80) {
                        result = textByte(static_cast<std::uint8_t>(c));
                    } else {
                        unget();
                        takePlainRun();
                    }
                    break;
            }
        }
        if (result != 0) return result;
    }
}

int RtfReader::endOfDocument() {
    if (!stack_.empty()) return kRtfMissingClosingBrace;
    flushPending();
    if (line_.empty()) return 0;
    int result = sink_.paragraph(line_, false);
    line_.clear();
    return result;
}

int RtfReader::endParagraph() {
    flushPending();
    int result = sink_.paragraph(line_, true);
    line_.clear();
    return result;
}

// Takes the plain ASCII bytes from the current position up to the next byte
// that means something to the reader, and appends them to the line when it
// shows text. A fallback being skipped or a lead byte waiting for its trail
// takes the first bytes singly.
void RtfReader::takePlainRun() {
    // Local copies: the compiler cannot keep members in registers across
    // byte loads that might alias them.
    const char* data = input_.data();
    std::size_t start = pos_;
    std::size_t stop = start;
    std::size_t end = end_;
    while (stop < end && !kEndsPlainRun[static_cast<unsigned char>(data[stop])]) ++stop;
    pos_ = stop;
    while (start < stop && (inFallback() || pendingLead_ != kNoLeadByte)) {
        textByte(static_cast<std::uint8_t>(data[start++]));
    }
    if (start == stop || !showsText()) return;
    if (highSurrogate_ != 0 || pendingSixPerEm_) {
        emit(static_cast<unsigned char>(data[start++]));
    }
    appendToLine(data + start, stop - start);
    takeSingleByteText();
}

// 8-bit text in a single-byte page, the common case of accented letters
// between plain runs: decoded here without leaving the run.
void RtfReader::takeSingleByteText() {
    const CodePageCodec* codec = activeCoding().codec;
    if (codec == nullptr || codec->isDoubleByte()) return;
    for (;;) {
        const char* data = input_.data();
        std::size_t at = pos_;
        std::size_t end = end_;
        if (at == end || static_cast<unsigned char>(data[at]) < 0x80) return;
        while (at < end) {
            auto byte = static_cast<unsigned char>(data[at]);
            if (byte < 0x80) {
                if (kEndsPlainRun[byte]) break;
                std::size_t stop = at + 1;
                while (stop < end && !kEndsPlainRun[static_cast<unsigned char>(data[stop])]) ++stop;
                appendToLine(data + at, stop - at);
                at = stop;
                continue;
            }
            // No single-byte page has a character the reader treats apart.
            const CodePageCodec::Utf8& utf8 = codec->highByteUtf8(byte);
            if (line_.size() + 3 > line_.capacity()) growLine(3);
            line_.append(utf8.bytes, utf8.length);
            ++at;
        }
        pos_ = at;
        if (at < end) return;
        if (!refill()) return;
    }
}

void RtfReader::appendToLine(const char* bytes, std::size_t n) {
    if (line_.size() + n > line_.capacity()) growLine(n);
    line_.append(bytes, n);
}

void RtfReader::growLine(std::size_t n) {
    // Whole steps of the buffer size, but at least half as much again, so
    // a paragraph of many megabytes is not copied over and over.
    std::size_t needed = line_.size() + n;
    std::size_t wanted = std::max(needed, line_.capacity() + line_.capacity() / 2);
    line_.reserve((wanted + kLineBufferStep - 1) / kLineBufferStep * kLineBufferStep);
}

int RtfReader::push() {
    if (stack_.size() >= kMaxGroupDepth) return kRtfStackTooSmall;
    finishUnicode();
    flushLeadByte();
    stack_.push_back(Group{hidden_, otherProperties_, destination_, state_, inFontTable_, runType_,
                           unicodeSkip_, font_, doubleByteFont_, coding_, doubleByteCoding_,
                           characterStyle_});
    state_ = State::Normal;
    return 0;
}

int RtfReader::pop() {
    if (stack_.empty()) return kRtfTooManyClosingBraces;
    finishUnicode();
    flushLeadByte();
    const Group& saved = stack_.back();
    bool leftFontTable = inFontTable_ && !saved.inFontTable;
    hidden_ = saved.hidden;
    otherProperties_ = saved.otherProperties;
    destination_ = saved.destination;
    state_ = saved.state;
    inFontTable_ = saved.inFontTable;
    runType_ = saved.runType;
    unicodeSkip_ = saved.unicodeSkip;
    font_ = saved.font;
    doubleByteFont_ = saved.doubleByteFont;
    coding_ = saved.coding;
    doubleByteCoding_ = saved.doubleByteCoding;
    if (saved.characterStyle != characterStyle_) setCharacterStyle(saved.characterStyle);
    stack_.pop_back();
    // The fonts are known now: text before the table took the document's
    // code page for them.
    if (leftFontTable) refreshCoding();
    return 0;
}

// A control word is looked up where it stands in the buffer: the window
// holds a word of the table and the byte after it.
int RtfReader::controlWord() {
    lookAhead(kMaxKeywordLetters + 1);
    if (pos_ == end_) return kRtfMissingClosingBrace;
    const char* data = input_.data();
    if (!isLetter(static_cast<unsigned char>(data[pos_]))) return controlSymbol();
    flushLeadByte();

    std::size_t start = pos_;
    std::size_t at = start + 1;
    while (at < end_ && isLetter(static_cast<unsigned char>(data[at]))) ++at;
    pos_ = at;
    resources::RtfWord found;
    if (at - start <= kMaxKeywordLetters) {
        found = resources::findRtfWord(std::string_view(data + start, at - start));
    } else {
        // Longer than any word of the table: read to its end, unknown.
        takeWhile(isLetter, [](char) {});
    }

    int c = next();
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
    return applyKeyword(found, hasParameter, clampParameter(magnitude, negative));
}

// A backslash and one character that is not a letter ("\'", "\{", "\~" ...).
int RtfReader::controlSymbol() {
    int c = next();
    // Backslash + CR LF is read as backslash + line feed.
    if (c == '\r' && peek() == '\n') c = next();
    if (c != '\'') flushLeadByte();
    char symbol = static_cast<char>(c);
    return applyKeyword(resources::findRtfWord(std::string_view(&symbol, 1)), false, 0);
}

int RtfReader::applyKeyword(resources::RtfWord found, bool hasParameter, std::int32_t parameter) {
    const RtfKeyword* keyword = found.keyword;
    if (keyword == nullptr) {
        const auto* textWord = found.textKeyword;
        if (textWord != nullptr) {
            skipUnknown_ = false;
            return applyTextKeyword(static_cast<int>(textWord->action), hasParameter, parameter);
        }
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
            if (keyword->index == resources::kPropPlain) {
                hidden_ = false;
                runType_ = RunType::Low;
                doubleByteFont_ = -1;
                setFont(defaultFont_);
                setCharacterStyle(kNoCharacterStyle);
            }
            return 0;
        }
        case RtfKeywordKind::Character:
            return character(keyword->index);
        case RtfKeywordKind::Destination:
            if (keyword->word == "fonttbl") inFontTable_ = true;
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

int RtfReader::applyTextKeyword(int action, bool hasParameter, std::int32_t parameter) {
    std::int32_t value = hasParameter ? parameter : 0;
    switch (static_cast<RtfTextWord>(action)) {
        case RtfTextWord::Unicode:
            startUnicode(value);
            return 0;
        case RtfTextWord::UnicodeSkip:
            unicodeSkip_ = std::max<std::int32_t>(value, 0);
            return 0;
        case RtfTextWord::Font:
            if (inFontTable_) {
                fontEntry_ = value;
                if (fonts_.size() < kMaxFonts) fonts_.try_emplace(value);
            } else if (runType_ == RunType::DoubleByte) {
                doubleByteFont_ = value;
                doubleByteCoding_ = codingOfFont(value);
            } else {
                setFont(value);
            }
            return 0;
        case RtfTextWord::FontCharset:
        case RtfTextWord::FontCodePage: {
            if (!inFontTable_) return 0;
            auto entry = fonts_.find(fontEntry_);
            if (entry == fonts_.end()) return 0;
            if (static_cast<RtfTextWord>(action) == RtfTextWord::FontCharset) {
                entry->second.charset = value;
            } else {
                entry->second.codePage = value;
            }
            entry->second.resolvedUnder = nullptr;
            return 0;
        }
        case RtfTextWord::DocumentCodePage: {
            const CodePageCodec* codec = CodePageCodec::find(value);
            documentCodec_ = codec != nullptr ? codec : &CodePageCodec::windows1252();
            refreshCoding();
            sink_.documentCodePage(value);
            return 0;
        }
        case RtfTextWord::DefaultFont:
            defaultFont_ = value;
            if (!inFontTable_) setFont(value);
            return 0;
        case RtfTextWord::LowAnsiRun:
            runType_ = RunType::Low;
            return 0;
        case RtfTextWord::HighAnsiRun:
            runType_ = RunType::High;
            return 0;
        case RtfTextWord::DoubleByteRun:
            runType_ = RunType::DoubleByte;
            return 0;
        case RtfTextWord::LineBreak:
            return textCharacter(kLineSeparator);
        case RtfTextWord::OptionalHyphen:
            return textCharacter(kSoftHyphen);
        case RtfTextWord::NonBreakingHyphen:
            return textCharacter(kNonBreakingHyphen);
        case RtfTextWord::CharacterStyle:
            setCharacterStyle(value);
            return 0;
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
    return textByte(static_cast<std::uint8_t>(byte));
}

// A character word of the keyword table: its index is a Windows 1252 byte.
int RtfReader::character(int byte) {
    if (byte == kLineEnd) {
        // A paragraph mark ends a fallback; it is never taken as one.
        finishUnicode();
    } else if (inFallback()) {
        takeFallbackByte(static_cast<std::uint8_t>(byte));
        return 0;
    }
    if (destination_ != Destination::Body) return 0;
    if (byte == kLineEnd) return endParagraph();
    emit(CodePageCodec::windows1252().decode(static_cast<std::uint8_t>(byte)));
    return 0;
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
    if (destination_ != Destination::Body) return 0;
    if (byte == kLineEnd) return endParagraph();
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
    fallbackLeft_ = unicodeSkip_;
    if (fallbackLeft_ == 0) finishUnicode();
}

namespace {

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
        if (highSurrogate_ != 0) emit(kReplacementCharacter);
        highSurrogate_ = c;
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
    appendUtf8(line_, c);
    appendUtf8(line_, kAnnotationSeparator);
    line_ += fallback;
    appendUtf8(line_, kAnnotationEnd);
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

// A character of the text, if the text is shown: a six-per-em space waits
// for the next character, and a space that follows it stands for both.
void RtfReader::emit(char32_t c) {
    if (!showsText()) return;
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        emitNow(kReplacementCharacter);
    }
    if (pendingSixPerEm_) {
        pendingSixPerEm_ = false;
        if (c == ' ') {
            line_ += ' ';
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

void RtfReader::emitNow(char32_t c) {
    if (c < 0x80) {
        char byte = static_cast<char>(c);
        appendToLine(&byte, 1);
        return;
    }
    appendUtf8(line_, c);
}

RtfReader::ByteCoding RtfReader::codingOfFont(std::int32_t font) {
    if (fonts_.empty()) return {documentCodec_};
    auto found = fonts_.find(font);
    if (found == fonts_.end()) return {documentCodec_};
    FontEntry& entry = found->second;
    if (entry.resolvedUnder != documentCodec_) {
        entry.resolved = resolveCoding(entry);
        entry.resolvedUnder = documentCodec_;
    }
    return entry.resolved;
}

RtfReader::ByteCoding RtfReader::resolveCoding(const FontEntry& entry) const {
    int codePage = entry.codePage;
    if (codePage <= 0 || CodePageCodec::find(codePage) == nullptr) {
        codePage = resources::rtfCharsetCodePage(entry.charset);
    }
    if (codePage == resources::kSymbolCharsetCodePage) return {nullptr};
    const CodePageCodec* codec = codePage > 0 ? CodePageCodec::find(codePage) : nullptr;
    return {codec != nullptr ? codec : documentCodec_};
}

void RtfReader::setFont(std::int32_t font) {
    // Documents switch between few fonts, most often back to the same one.
    if (font == font_ && codingValid_) return;
    font_ = font;
    coding_ = codingOfFont(font);
    codingValid_ = true;
}

void RtfReader::setCharacterStyle(std::int32_t style) {
    if (style == characterStyle_) return;
    characterStyle_ = style;
    if (styleObserver_ != nullptr) styleObserver_->characterStyle(style, line_.size());
}

void RtfReader::refreshCoding() {
    coding_ = codingOfFont(font_);
    codingValid_ = true;
    if (doubleByteFont_ >= 0) doubleByteCoding_ = codingOfFont(doubleByteFont_);
}

}  // namespace tessel::frame
