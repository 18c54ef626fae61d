#include "frame/rtf_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

#include "frame/return_codes.h"
#include "platform/byte_words.h"
#include "platform/utf8.h"
#include "resources/rtf_keywords.h"

namespace tessel::frame {

namespace {

using platform::appendUtf8;
using platform::CodePageCodec;

constexpr int kLineEnd = '\n';

constexpr std::array<bool, 256> kLetters = [] {
    std::array<bool, 256> table{};
    for (int c = 'a'; c <= 'z'; ++c) table[c] = table[c - 'a' + 'A'] = true;
    return table;
}();

// Number of ASCII letters at the start of `word` (its first bytes in memory),
// 8 when all are. A letter with 0x20 set is "a" to "z"; below "a", above "z"
// or from 0x80 up it is none. Only the first byte flagged counts: the tests
// may flag bytes after a flagged one too.
std::size_t leadingLetters(std::uint64_t word) {
    using namespace platform::words;
    std::uint64_t folded = word | repeated(0x20);
    std::uint64_t aboveZ = (folded + repeated(0x7F - 'z')) & repeated(0x80);
    std::uint64_t other = bytesBelow(folded, 'a') | aboveZ | (word & repeated(0x80));
    return other == 0 ? sizeof word : firstMarkedByte(other);
}

bool isLetter(int c) {
    return c >= 0 && kLetters[static_cast<std::size_t>(c) & 0xFF];
}
bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

// The value of a hexadecimal digit by its byte; -1 for other bytes.
constexpr std::array<std::int8_t, 256> kHexValues = [] {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<std::int8_t>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        table[c] = table[c - 'a' + 'A'] = static_cast<std::int8_t>(c - 'a' + 10);
    return table;
}();

int hexValue(int c) {
    return c >= 0 ? kHexValues[static_cast<std::size_t>(c) & 0xFF] : -1;
}

// What a byte means to the reader outside binary data.
enum class ByteKind : std::uint8_t { Text, LineEnd, GroupStart, GroupEnd, Backslash };

constexpr std::array<ByteKind, 256> kByteKinds = [] {
    std::array<ByteKind, 256> table{};
    table['\r'] = table['\n'] = ByteKind::LineEnd;
    table['{'] = ByteKind::GroupStart;
    table['}'] = ByteKind::GroupEnd;
    table['\\'] = ByteKind::Backslash;
    return table;
}();

bool endsText(unsigned char byte) {
    return kByteKinds[byte] != ByteKind::Text;
}

// Nonzero when some byte of `word` may end a copy of text: a backslash, a
// brace, a line end or a byte from 0x80 up. Eight bytes are tested at once;
// the test may also flag a few others ("|", "~", control bytes below 0x0E,
// a byte after one from 0x80 up), which are then looked at singly.
std::uint64_t mayEndText(std::uint64_t word) {
    using namespace platform::words;
    // From 0x7B ("{") up, and 0x80 up, in one addition: no byte is missed,
    // as a carry out of one byte only makes the next one larger.
    std::uint64_t braceOrHigh = (word | (word + repeated(0x80 - '{'))) & repeated(0x80);
    return braceOrHigh | bytesEqual(word, '\\') | bytesBelow(word, '\r' + 1);
}

// Nonzero when some byte of `word` may end a copy of text kept as bytes: a
// backslash, a brace or a line end. Flags no byte from 0x80 up but 0xFB to
// 0xFF (and the few others of mayEndText()), which are then looked at singly.
std::uint64_t mayEndBytes(std::uint64_t word) {
    using namespace platform::words;
    // The low seven bits from 0x7B ("{") up; no carry crosses a byte.
    std::uint64_t braceLike = ((word & repeated(0x7F)) + repeated(0x80 - '{')) & repeated(0x80);
    return braceLike | bytesEqual(word, '\\') | bytesBelow(word, '\r' + 1);
}

// Plain text is copied into room made for the rest of the buffer at once:
// three bytes of UTF-8 for every byte, and a word more, as eight bytes are
// stored at a time. (The line's buffer keeps its size from paragraph to
// paragraph, so the room is made once, not zeroed, and not made again.)
constexpr std::size_t kMaxUtf8PerByte = 3;
constexpr std::size_t kWordBytes = 8;

constexpr char32_t kReplacementCharacter = 0xFFFD;

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
      windows1252_(CodePageCodec::windows1252()),
      documentCodec_(&windows1252_),
      input_(kInputBlock + kLoadPadding) {
    group_.coding = {documentCodec_};
}

bool RtfReader::refill() {
    ++loads_;
    pos_ = 0;
    end_ = source_.read(input_.data(), kInputBlock);
    input_[end_] = kStopByte;
    return end_ != 0;
}

void RtfReader::moveAndFill(std::size_t n) {
    ++loads_;
    std::size_t left = end_ - pos_;
    std::memmove(input_.data(), input_.data() + pos_, left);
    pos_ = 0;
    end_ = left;
    while (end_ < n) {
        std::size_t got = source_.read(input_.data() + end_, kInputBlock - end_);
        if (got == 0) break;
        end_ += got;
    }
    input_[end_] = kStopByte;
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

// One loop over the buffer: the token reader, control words with their
// actions and text runs are inlined into it (always_inline below), as a call
// per token cost about as much as the work of a token. Binary data is read
// where "\binN" is acted on (readBinary()), so tokens are not tested for it.
int RtfReader::read() {
    // Binary data that a pausing sink interrupted goes on first.
    if (int result = readBinary(); result != 0) return result;
    for (;;) {
        if (pos_ == end_ && !refill()) return endOfDocument();
        if (int result = readToken(); result != 0) return result;
    }
}

// The bytes of binary data still to be read, each a byte of text. Stops
// early at the end of the data (the token loop then ends the document) or
// with the result of a paragraph that failed or paused.
int RtfReader::readBinary() {
    while (group_.state == State::Binary) {
        if (pos_ == end_ && !refill()) return 0;
        if (int result = readBinaryByte(); result != 0) return result;
    }
    return 0;
}

// One byte of binary data: text-mode reading makes CR LF one line feed.
int RtfReader::readBinaryByte() {
    int c = next();
    if (c == '\r' && peek() == '\n') c = next();
    if (--binaryLeft_ <= 0) group_.state = State::Normal;
    return textByte(static_cast<std::uint8_t>(c));
}

// A brace, a control word or symbol, or text up to the next of them; raw
// line ends in the file are not text.
[[gnu::always_inline]] inline int RtfReader::readToken() {
    // Tests in turn rather than a switch: its jump table would take an
    // indirect jump per token, predicted worse than these on a mix of kinds.
    const ByteKind kind = kByteKinds[current()];
    if (kind == ByteKind::Text) {
        if (group_.state == State::Hex) return hexDigit(next());
        return takeText();
    }
    if (kind == ByteKind::GroupStart && replaysGroups_ && replayGroup()) return 0;
    ++pos_;
    if (kind == ByteKind::Backslash) return controlWord();
    if (kind == ByteKind::GroupStart) return push();
    if (kind == ByteKind::GroupEnd) return pop();
    return 0;  // a line end in the file
}

int RtfReader::endOfDocument() {
    if (!stack_.empty()) return kRtfMissingClosingBrace;
    flushPending();
    if (line_.empty()) return 0;
    return handOn(false);
}

int RtfReader::endParagraph() {
    flushPending();
    return handOn(true);
}

// Hands the line to the sink, and starts the next one in the code page the
// sink asks for (UTF-8 while styles are observed: their offsets are of it).
int RtfReader::handOn(bool lineEnd) {
    ++outsideEffects_;
    const CodePageCodec* codePage = line_.codePage();
    int result = codePage != nullptr
                     ? sink_.paragraphInCodePage(line_.finished(), *codePage, lineEnd)
                     : sink_.paragraph(line_.finished(), lineEnd);
    const CodePageCodec* wanted = styleObserver_ == nullptr ? sink_.textCodePage() : nullptr;
    line_.clear(wanted != nullptr && !wanted->isDoubleByte() ? wanted : nullptr);
    return result;
}

void RtfReader::observeStyles(RtfStyleObserver* observer) {
    styleObserver_ = observer;
    if (observer != nullptr) line_.toUtf8();
}

int RtfParagraphSink::paragraphInCodePage(std::string& line, const CodePageCodec& codePage,
                                          bool lineEnd) {
    std::string utf8;
    codePage.appendSingleByteUtf8(line, utf8);
    line = std::move(utf8);
    return paragraph(line, lineEnd);
}

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
    const CodePageCodec* codec = activeCoding().codec;
    const CodePageCodec* lineBytes = line_.codePage();
    if (codec == lineBytes && codec != nullptr) {
        copyBytes();
        return 0;
    }
    const CodePageCodec* singleByte = codec != nullptr && !codec->isDoubleByte() ? codec : nullptr;
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

// Text while something is held back or pending: a byte at a time.
int RtfReader::takeTextAfterHeld() {
    if (inFallback() || pendingLead_ != kNoLeadByte) return textByte(next());
    if (!showsText()) {
        skipText();
        return 0;
    }
    return textByte(next());
}

// Text that is not shown (dropped destinations, hidden text): passed over.
void RtfReader::skipText() {
    const char* data = input_.data();
    std::size_t at = pos_;
    std::size_t end = end_;
    while (at < end && !endsText(static_cast<unsigned char>(data[at]))) ++at;
    pos_ = at;
}

namespace {

// Eight bytes at a time, where eight are left: the word is stored whole at
// `out` (the room holds a word more), and the bytes before the first one
// `mayEnd` flags are taken. True when none was flagged and the copy goes on
// with the next word; false when the byte at `at` must be looked at singly.
template <typename MayEnd>
[[gnu::always_inline]] inline bool copyWordIfPlain(const char* data, std::size_t& at,
                                                   std::size_t end, char*& out, MayEnd mayEnd) {
    if (end - at < kWordBytes) return false;
    std::uint64_t word = platform::words::load(data + at);
    std::memcpy(out, &word, kWordBytes);
    std::uint64_t flagged = mayEnd(word);
    std::size_t plain = flagged == 0 ? kWordBytes : platform::words::firstMarkedByte(flagged);
    at += plain;
    out += plain;
    return flagged == 0;
}

}  // namespace

// Copies text to the line as UTF-8, to the end of the buffer at most: ASCII
// as it is, bytes from 0x80 up through the table of `singleByteCodec` (null:
// they end the copy). Takes at least the byte at the current position.
[[gnu::always_inline]] inline void RtfReader::copyText(const CodePageCodec* singleByteCodec) {
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
        const CodePageCodec::Utf8& utf8 = singleByteCodec->highByteUtf8(byte);
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

[[gnu::always_inline]] inline int RtfReader::push() {
    if (stack_.size() >= kMaxGroupDepth) return kRtfStackTooSmall;
    finishUnicode();
    flushLeadByte();
    stack_.push_back(group_);
    group_.state = State::Normal;
    return 0;
}

[[gnu::always_inline]] inline int RtfReader::pop() {
    if (stack_.empty()) return kRtfTooManyClosingBraces;
    finishUnicode();
    flushLeadByte();
    const GroupState& saved = stack_.back();
    bool leftFontTable = group_.inFontTable && !saved.inFontTable;
    // The style goes back through setCharacterStyle(), which tells the observer.
    std::int32_t style = saved.characterStyle;
    std::int32_t styleInGroup = group_.characterStyle;
    group_ = saved;
    group_.characterStyle = styleInGroup;
    stack_.pop_back();
    setCharacterStyle(style);
    // The fonts are known now: text before the table took the document's
    // code page for them.
    if (leftFontTable) refreshCoding();
    if (stack_.size() == recordingDepth_) finishRecording();
    return 0;
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
            if (!skipped) group_.hidden = (hasParameter ? parameter : found.value) != 0;
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
    }
    return kRtfKeywordTableBug;
}

void RtfReader::plain() {
    group_.hidden = false;
    group_.runType = RunType::Low;
    group_.doubleByteFont = -1;
    setFont(defaultFont_);
    setCharacterStyle(kNoCharacterStyle);
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

void RtfReader::fontTableFont(std::int32_t number) {
    ++outsideEffects_;
    ++codingEpoch_;
    fontEntry_ = number;
    if (fonts_.size() < kMaxFonts) fonts_.try_emplace(number);
}

// "\fcharsetN" or "\cpgN" of the font table entry being read.
void RtfReader::fontTableEntry(bool charset, std::int32_t value) {
    if (!group_.inFontTable) return;
    ++outsideEffects_;
    ++codingEpoch_;
    auto entry = fonts_.find(fontEntry_);
    if (entry == fonts_.end()) return;
    if (charset) {
        entry->second.charset = value;
    } else {
        entry->second.codePage = value;
    }
    entry->second.resolvedUnder = nullptr;
}

void RtfReader::documentCodePage(std::int32_t codePage) {
    ++outsideEffects_;
    ++codingEpoch_;
    const CodePageCodec* codec = CodePageCodec::find(codePage);
    documentCodec_ = codec != nullptr ? codec : &windows1252_;
    refreshCoding();
    sink_.documentCodePage(codePage);
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
    if (byte == kLineEnd) return endParagraph();
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

// The common case of a byte from 0x80 up, as textByte() would write it:
// shown text in a single-byte page, nothing pending or held back. Its UTF-8
// comes straight from the page's table (no single-byte page has a character
// that emit() treats apart). False, with nothing done, in any other case.
[[gnu::always_inline]] inline bool RtfReader::appendHighByte(std::uint8_t byte) {
    if (inFallback() || pendingLead_ != kNoLeadByte || !holdsNothing() || !showsText()) {
        return false;
    }
    const CodePageCodec* codec = activeCoding().codec;
    if (codec == nullptr || codec->isDoubleByte()) return false;
    appendByte(*codec, byte);
    return true;
}

// A byte of a single-byte page: as it stands where the line holds that
// page's bytes, else its UTF-8 from the page's table.
[[gnu::always_inline]] inline void RtfReader::appendByte(const CodePageCodec& codec,
                                                         std::uint8_t byte) {
    if (byte < 0x80 || &codec == line_.codePage()) {
        line_.push(static_cast<char>(byte));
        return;
    }
    line_.toUtf8();
    const CodePageCodec::Utf8& utf8 = codec.highByteUtf8(byte);
    std::memcpy(line_.room(kMaxUtf8PerByte), utf8.bytes, kMaxUtf8PerByte);
    line_.commit(utf8.length);
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
    fallbackLeft_ = group_.unicodeSkip;
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

RtfReader::ByteCoding RtfReader::findCodingOfFont(std::int32_t font) {
    FontEntry* found = findFont(font);
    if (found == nullptr) return {documentCodec_};
    FontEntry& entry = *found;
    if (entry.resolvedUnder != documentCodec_) {
        entry.resolved = resolveCoding(entry);
        entry.resolvedUnder = documentCodec_;
    }
    return entry.resolved;
}

// Keeps the entry found for codingOfFont() (entries of the map stay where
// they are, and none is removed).
RtfReader::FontEntry* RtfReader::findFont(std::int32_t font) {
    if (fonts_.empty()) return nullptr;
    auto found = fonts_.find(font);
    if (found == fonts_.end()) return nullptr;
    lastFont_ = font;
    lastFontEntry_ = &found->second;
    return lastFontEntry_;
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

[[gnu::always_inline]] inline void RtfReader::setFont(std::int32_t font) {
    // Documents switch between few fonts, most often back to the same one.
    if (font == group_.font && codingValid_) return;
    group_.font = font;
    group_.coding = codingOfFont(font);
    codingValid_ = true;
}

void RtfReader::setCharacterStyle(std::int32_t style) {
    if (style == group_.characterStyle) return;
    group_.characterStyle = style;
    if (recordingDepth_ != kNotRecording) recordStyleChange(style);
    if (styleObserver_ != nullptr) styleObserver_->characterStyle(style, line_.size());
}

void RtfReader::refreshCoding() {
    group_.coding = codingOfFont(group_.font);
    codingValid_ = true;
    if (group_.doubleByteFont >= 0) group_.doubleByteCoding = codingOfFont(group_.doubleByteFont);
}

// A group is replayed, and recorded to be replayed, only where nothing is
// pending that its reading would take up or that would outlast it.
bool RtfReader::replayable() const {
    return !continuesSomething() && !skipUnknown_ && hexHigh_ < 0 && codingValid_ &&
           stack_.size() < kMaxGroupDepth;
}

RtfReader::ReplayEntry RtfReader::replayEntry() const {
    return {group_, line_.codePage(), documentCodec_, defaultFont_, codingEpoch_};
}

namespace {

// Lookups are judged in windows of this many: a window with fewer replays
// than an eighth of them makes the reader read this many groups afresh,
// without lookup or recording, which cost more than they save where groups
// do not come back.
constexpr std::uint32_t kReplayWindow = 256;
constexpr std::uint32_t kReplayPause = 4096;

}  // namespace

void RtfReader::countReplayTry(bool replayed) {
    if (replayed) ++replayHits_;
    if (++replayTries_ < kReplayWindow) return;
    if (replayHits_ < kReplayWindow / 8) replayPause_ = kReplayPause;
    replayTries_ = 0;
    replayHits_ = 0;
}

// The group's text, with each style change reported where it came.
[[gnu::always_inline]] inline void RtfReader::applyReplay(const GroupReplays::Group& group) {
    if (styleObserver_ == nullptr) {
        appendReplayedText(group, 0, group.textLength);
        return;
    }
    std::size_t appended = 0;
    for (std::size_t i = 0; i < group.changeCount; ++i) {
        const RtfStyleChange& change = group.changes[i];
        appendReplayedText(group, appended, change.offset);
        appended = change.offset;
        styleObserver_->characterStyle(change.style, line_.size());
    }
    appendReplayedText(group, appended, group.textLength);
}

[[gnu::always_inline]] inline void RtfReader::appendReplayedText(const GroupReplays::Group& group,
                                                                 std::size_t from, std::size_t to) {
    GroupReplays::copyText(group, from, to, line_.room(to - from + GroupReplays::kReadPast));
    line_.commit(to - from);
}

// At a "{": replays the group when its bytes were read before from the same
// state (true: the group is passed), or starts recording it (false: it is
// read as usual).
[[gnu::noinline]] bool RtfReader::replayGroup() {
    if (recordingDepth_ != kNotRecording || !replayable()) return false;
    if (replayPause_ != 0) {
        --replayPause_;
        return false;
    }
    const char* data = input_.data() + pos_;
    std::uint64_t hash = 0;
    const std::size_t length = GroupReplays::extent(data, end_ - pos_, hash);
    if (length == 0) return false;
    const ReplayEntry entry = replayEntry();
    const GroupReplays::Group* group = replays_.find(data, length, hash, entry);
    countReplayTry(group != nullptr);
    if (group == nullptr) {
        startRecording(length, hash, entry);
        return false;
    }
    applyReplay(*group);
    pos_ += length;
    return true;
}

void RtfReader::startRecording(std::size_t length, std::uint64_t hash, const ReplayEntry& entry) {
    recording_.start = pos_;
    recording_.length = length;
    recording_.hash = hash;
    recording_.entry = entry;
    recording_.lineBase = line_.size();
    recording_.loads = loads_;
    recording_.outsideEffects = outsideEffects_;
    recording_.changeCount = 0;
    recording_.spoiled = false;
    recordingDepth_ = stack_.size();
}

void RtfReader::recordStyleChange(std::int32_t style) {
    GroupRecording& recording = recording_;
    if (recording.changeCount == GroupReplays::kMaxStyleChanges ||
        line_.size() < recording.lineBase) {
        recording.spoiled = true;
        return;
    }
    recording.changes[recording.changeCount++] = {
        style, static_cast<std::uint32_t>(line_.size() - recording.lineBase)};
}

// At the end of the group being recorded: keeps it when its reading left
// nothing behind but its text and style changes, and ended where its bytes
// end, with its bytes still in the buffer.
void RtfReader::finishRecording() {
    recordingDepth_ = kNotRecording;
    const GroupRecording& recording = recording_;
    if (recording.spoiled || loads_ != recording.loads ||
        outsideEffects_ != recording.outsideEffects || pos_ != recording.start + recording.length ||
        line_.size() < recording.lineBase || !replayable() || !(replayEntry() == recording.entry)) {
        return;
    }
    replays_.keep(input_.data() + recording.start, recording.length, recording.hash,
                  recording.entry, line_.data() + recording.lineBase,
                  line_.size() - recording.lineBase, recording.changes, recording.changeCount);
}

}  // namespace tessel::frame
