// The RTF reader of the back-conversion jobs: reads an RTF document byte by
// byte and hands on its visible body text one paragraph at a time, as UTF-8
// (or as bytes of the sink's code page, RtfParagraphSink::textCodePage()).
// Font and colour tables, style sheet, document information, headers,
// footers, footnotes, pictures, objects, comments, destinations marked "*"
// that it does not know, and hidden text are dropped. The document ends with
// the group that "{\rtf1" opens; what follows it is not read as RTF.
// Tracked changes are read as accepted: deleted text is not text, inserted
// text is. Comments are not text. A cell ("\cell", "\nestcell") ends as a paragraph does.
//
// Characters: "\uN" with its "\ucN" fallback skipped; bytes ("\'xx" and 8-bit
// text) in the code page of their font ("\fcharsetN", "\cpgN"; else the
// document's "\ansicpgN", else Windows 1252), symbol-font bytes and bytes
// without a character as kept bytes (platform/code_page_codec.h); the
// character words of the keyword table as Windows 1252 bytes.
// Word-processor conventions read here:
// - a six-per-em space (U+2006) directly followed by a space is that one
//   space: LibreOffice stores every space of a run of two or more so;
// - "\line" is U+2028 (line separator), "\-" the soft hyphen U+00AD and "\_"
//   the non-breaking hyphen U+2011; the writer of each format decides what
//   they become;
// - a "\uN" whose fallback is more than "?" is handed on with the fallback
//   as an annotation (kAnnotationAnchor, the character, kAnnotationSeparator,
//   the fallback, kAnnotationEnd) for a writer whose code page lacks the
//   character.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frame/rtf_byte_source.h"
#include "frame/rtf_group_replays.h"
#include "frame/rtf_word_runs.h"
#include "platform/code_page_codec.h"
#include "platform/spare_buffer.h"
#include "platform/utf8.h"
#include "resources/rtf_keywords.h"

namespace tessel::frame {

inline constexpr char32_t kLineSeparator = 0x2028;
inline constexpr char32_t kSoftHyphen = 0x00AD;
inline constexpr char32_t kNonBreakingHyphen = 0x2011;
inline constexpr char32_t kSixPerEmSpace = 0x2006;
inline constexpr char32_t kAnnotationAnchor = 0xFFF9;
inline constexpr char32_t kAnnotationSeparator = 0xFFFA;
inline constexpr char32_t kAnnotationEnd = 0xFFFB;

// What the reader tells its sink besides the text, each at most once per
// document.
enum class RtfNotice {
    // The file has more "}" than "{": the document ended at the brace that
    // closes it, and what came after it was not read (quoted: its start).
    SurplusClosingBrace,
    // More than white space and NUL bytes after the document's end (quoted:
    // its start), not read.
    DataAfterDocument,
    // The document holds tracked changes, read as accepted; told right
    // before the first paragraph with a change is handed on (quoted: empty).
    TrackedChangesAccepted,
    // The document holds comments, left out; told right before the first
    // paragraph with a comment is handed on (quoted: empty), after
    // TrackedChangesAccepted when that is told for the same paragraph.
    CommentsLeftOut,
};

// Receives the body text.
class RtfParagraphSink {
  public:
    virtual ~RtfParagraphSink() = default;
    // `line` holds a paragraph's text in UTF-8 (the sink may change or take
    // it; the reader writes the next paragraph over it). `lineEnd` is false for text after the last
    // paragraph mark, which ends the document without a line end. Returns 0, a failure code that
    // ends the reading, or a positive number that pauses it: read() returns that number, and the
    // next read() goes on after the paragraph (a reader that pulls paragraphs one at a time).
    virtual int paragraph(std::string& line, bool lineEnd) = 0;
    // A single-byte code page the sink would rather take paragraphs in, as
    // that page's bytes (null, the default: UTF-8 only). A sink that writes
    // those bytes then need not decode what the reader encoded. Asked before
    // each paragraph after the first.
    virtual const platform::CodePageCodec* textCodePage() const { return nullptr; }
    // Instead of paragraph(), for a paragraph all of whose characters came
    // from bytes of `codePage`, the page textCodePage() named before it:
    // `line` holds those bytes. By default handed on as UTF-8.
    virtual int paragraphInCodePage(std::string& line, const platform::CodePageCodec& codePage,
                                    bool lineEnd);
    // Text of the body is bold, italic or underlined, which no tagged text
    // file can hold: told once per document, right before the first
    // paragraph with such text is handed on.
    virtual void formattedText() {}
    // The document's code page ("\ansicpgN"), told when it is read.
    virtual void documentCodePage(int /*codePage*/) {}
    // Something read that the text does not show (RtfNotice). `quoted` holds
    // ASCII: bytes outside it, and control bytes, as "\'xx".
    virtual void notice(RtfNotice /*notice*/, std::string_view /*quoted*/) {}
};

// "\csN" of no style: the text after "\plain", and before any "\cs".
inline constexpr std::int32_t kNoCharacterStyle = -1;

// Told where the character style changes, for readers that need the runs of
// a paragraph and not only its text.
class RtfStyleObserver {
  public:
    virtual ~RtfStyleObserver() = default;
    // The text from byte `offset` of the paragraph being read on is in
    // character style `style`. Several calls at one offset: the last holds.
    virtual void characterStyle(std::int32_t style, std::size_t offset) = 0;
};

class RtfReader {
  public:
    // A control word has at most this many letters; longer words are read to
    // their end and treated as unknown (no word of the table is that long).
    static constexpr std::size_t kMaxKeywordLetters = 29;
    // A parameter has at most this many digits; longer ones are read to their
    // end and their value saturates at the limits of a 32-bit number.
    static constexpr std::size_t kMaxParameterDigits = 19;
    // Deeper nesting than this ends the reading with -405, so that a file of
    // nothing but "{" cannot take unbounded memory.
    static constexpr std::size_t kMaxGroupDepth = 10000;
    // The line buffer starts with, and grows in steps of, this many bytes.
    static constexpr std::size_t kLineBufferStep = 4096;
    // Fallback characters kept for one "\uN"; more are skipped unseen.
    static constexpr std::size_t kMaxFallbackBytes = 16;
    // Font table entries read; further fonts take the document's code page.
    static constexpr std::size_t kMaxFonts = 4096;
    // Bytes after the document's end quoted in its notice; "..." stands for
    // more.
    static constexpr std::size_t kQuotedTailBytes = 60;

    RtfReader(RtfByteSource& source, RtfParagraphSink& sink);

    // Reads the whole document; 0 or a failure code (-401 to -405, or the
    // sink's code). Text read before a failure has been handed on. After the
    // group that closes the document, the rest of the data is looked at only
    // to tell the sink of it.
    int read();

    // Nesting depth reached at the point the reading stopped.
    std::size_t depth() const { return stack_.size(); }

    // Tells `observer` (or nobody, when null) of every change of the
    // character style from now on. Its offsets are of UTF-8, so the text is
    // kept in UTF-8 while there is one.
    void observeStyles(RtfStyleObserver* observer);

    // Whether groups read before are replayed (rtf_group_replays.h), as they
    // are unless switched off; either way the reading gives the same result.
    void replayGroups(bool on) { replaysGroups_ = on; }

  private:
    enum class State : std::uint8_t { Normal, Binary, Hex };
    enum class Destination : std::uint8_t { Body = 0, Skipped = 1, Footnote = 2 };
    enum class RunType : std::uint8_t { Low, High, DoubleByte };
    // Why text of the body is not shown, as bits of GroupState::hidden: "\v"
    // and "\v0" switch the one, "\deleted" and "\deleted0" the other.
    static constexpr std::uint8_t kHiddenText = 1;
    static constexpr std::uint8_t kDeletedText = 2;
    enum class RevisionNotice : std::uint8_t { None, Pending, Told };
    // pop() of the group that "{\rtf1" opened: read() ends the document.
    static constexpr int kDocumentClosed = -0x7FFFFFFF;

    // How the bytes of a font are read: a code page, or kept (symbol font).
    struct ByteCoding {
        const platform::CodePageCodec* codec;  // null: kept bytes
        bool operator==(const ByteCoding&) const = default;
    };

    // What a group sets and its end restores: saved and restored whole.
    struct GroupState {
        ByteCoding coding{nullptr};
        ByteCoding doubleByteCoding{nullptr};
        std::int32_t unicodeSkip = 1;
        std::int32_t font = 0;
        std::int32_t doubleByteFont = -1;
        std::int32_t characterStyle = kNoCharacterStyle;
        std::uint8_t hidden = 0;  // kHiddenText, kDeletedText; 0: shown
        Destination destination = Destination::Body;
        State state = State::Normal;
        bool inFontTable = false;
        RunType runType = RunType::Low;
        std::uint8_t formatting = 0;  // resources::kFormattingBold ... bits; 0: none
        std::uint8_t unused[2] = {};  // no padding: states compare as bytes
        bool operator==(const GroupState&) const = default;
    };

    // What reading a group depends on besides its bytes, where nothing is
    // pending (replayable()): the group state it starts from, the form of
    // the line, and what the fonts' code pages are resolved by.
    struct ReplayEntry {
        GroupState group;
        const platform::CodePageCodec* lineCodePage = nullptr;
        const platform::CodePageCodec* documentCodec = nullptr;
        std::int32_t defaultFont = 0;
        std::uint32_t codingEpoch = 0;
        bool operator==(const ReplayEntry&) const = default;
    };
    using GroupReplays = RtfGroupReplays<ReplayEntry>;

    // The group being read to be kept, if its reading qualifies.
    struct GroupRecording {
        std::size_t start = 0;  // of its "{" in the buffer
        std::size_t length = 0;
        std::uint64_t hash = 0;
        ReplayEntry entry;
        std::size_t lineBase = 0;  // the line's length at its start
        std::size_t loads = 0;
        std::uint64_t outsideEffects = 0;
        RtfStyleChange changes[GroupReplays::kMaxStyleChanges];
        std::size_t changeCount = 0;
        // More style changes than a group keeps, or one after the line was
        // handed on.
        bool spoiled = false;
    };

    struct FontEntry {
        int charset = 1;
        int codePage = 0;
        // The coding worked out from the two, and the document code page it
        // was worked out under (null: not yet): text switches fonts in
        // almost every group, and working it out takes several lookups.
        const platform::CodePageCodec* resolvedUnder = nullptr;
        ByteCoding resolved{nullptr};
    };

    // The paragraph being read, in UTF-8, or as the bytes of the sink's
    // code page while all its characters come from bytes of that page (the
    // first other character turns it into UTF-8). Text is written through a pointer
    // into room made beforehand, without a size check per byte, in a buffer
    // of uninitialised bytes that never shrinks; finished() copies the text
    // into the string handed to the sink, so that no paragraph pays for
    // zeroing room it is then written over.
    class LineText {
      public:
        LineText();
        std::size_t size() const { return length_; }
        bool empty() const { return length_ == 0; }
        // Room for `n` more bytes after the text; commit() counts those
        // written there.
        [[gnu::always_inline]] char* room(std::size_t n) {
            if (capacity_ - length_ < n) grow(n);
            return bytes_.get() + length_;
        }
        void commit(std::size_t n) { length_ += n; }
        std::size_t roomLeft() const { return capacity_ - length_; }
        // ASCII is the same in UTF-8 and in every single-byte page.
        [[gnu::always_inline]] void push(char c) {
            *room(1) = c;
            ++length_;
        }
        void appendUtf8(char32_t c) {
            if (codePage_ != nullptr) toUtf8();
            length_ += platform::writeUtf8(c, room(platform::kMaxUtf8Bytes));
        }
        void appendUtf8(const char* data, std::size_t n);
        // The page whose bytes the line holds; null: UTF-8.
        const platform::CodePageCodec* codePage() const { return codePage_; }
        const char* data() const { return bytes_.get(); }
        void toUtf8();
        // The text as the sink's copy; the line is empty afterwards. The
        // buffer of a paragraph of megabytes is given back here, so that it
        // is not held beside the copy while the sink works on it.
        std::string& finished() {
            text_.resize(length_);
            std::memcpy(text_.data(), bytes_.get(), length_);
            length_ = 0;
            if (capacity_ > platform::kSpareBufferKeepLimit) {
                bytes_ = std::make_unique_for_overwrite<char[]>(kLineBufferStep);
                capacity_ = kLineBufferStep;
            }
            return text_;
        }
        // Empties the line for a paragraph held as bytes of `codePage`
        // (single-byte), or in UTF-8 (null); a copy of megabytes that the
        // sink was given is not kept for the next paragraph.
        void clear(const platform::CodePageCodec* codePage) {
            length_ = 0;
            codePage_ = codePage;
            if (text_.capacity() > platform::kSpareBufferKeepLimit) std::string().swap(text_);
        }

      private:
        void grow(std::size_t n);

        std::unique_ptr<char[]> bytes_;
        std::size_t capacity_ = 0;
        std::size_t length_ = 0;
        std::string text_;  // the sink's copy, which it may change
        const platform::CodePageCodec* codePage_ = nullptr;
    };

    // Bytes a control word is read within where it stands: the longest word
    // of the table, a sign, the longest parameter and the space after it.
    static constexpr std::size_t kParameterWindow = kMaxParameterDigits + 2;
    static constexpr std::size_t kWordWindow = kMaxKeywordLetters + kParameterWindow;

    // The byte at the read position, which must be in the buffer.
    unsigned char current() const { return static_cast<unsigned char>(input_[pos_]); }
    int next();
    int peek();
    void unget() { --pos_; }
    bool refill();
    // Makes `n` bytes readable from the current position (fewer only at the
    // end of the data): the unread bytes move to the front of the buffer and
    // the rest of it is filled.
    void lookAhead(std::size_t n) {
        if (end_ - pos_ < n) moveAndFill(n);
    }
    void moveAndFill(std::size_t n);
    template <typename Accept, typename Take>
    void takeWhile(Accept accept, Take take);

    int readToken();
    int readBinary();
    int readBinaryByte();
    int push();
    int pop();
    int controlWord();
    int readWordRun();
    bool readWord(RtfParsedWord& word);
    int replayRun(const RtfWordRuns::Run& run);
    static bool keepsInRun(const RtfParsedWord& word, bool first);
    resources::RtfWordAction controlSymbol();
    int act(resources::RtfWordAction found, bool hasParameter, std::int32_t parameter);
    void plain();
    void font(std::int32_t number);
    void fontTableFont(std::int32_t number);
    void fontTableEntry(bool charset, std::int32_t value);
    void documentCodePage(std::int32_t codePage);
    int startHexByte();
    int hexDigit(int c);
    int character(int byte);
    int textByte(std::uint8_t byte);
    bool appendHighByte(std::uint8_t byte);
    void appendByte(const platform::CodePageCodec& codec, std::uint8_t byte);
    int textCharacter(char32_t c);
    int endOfDocument();
    int closeDocument();
    int readPastDocument();
    void tellRevisions();
    void noteRevision();
    void noteComment();
    void setFormatting(std::uint8_t formatting);
    void switchFormatting(std::uint8_t bit, bool on) {
        setFormatting(
            static_cast<std::uint8_t>(on ? group_.formatting | bit : group_.formatting & ~bit));
    }
    void noteFormattedText();
    void tellFormatting();
    void setHidden(std::uint8_t why, bool on) {
        group_.hidden = static_cast<std::uint8_t>(on ? group_.hidden | why : group_.hidden & ~why);
    }
    int endParagraph();
    int handOn(bool lineEnd);
    int takeText();
    int takeTextAfterHeld();
    void skipText();
    void copyText(const platform::CodePageCodec* singleByteCodec);
    void copyBytes();

    bool replayGroup();
    bool replayable() const;
    ReplayEntry replayEntry() const;
    void applyReplay(const GroupReplays::Group& group);
    void appendReplayedText(const GroupReplays::Group& group, std::size_t from, std::size_t to);
    void countReplayTry(bool replayed);
    void startRecording(std::size_t length, std::uint64_t hash, const ReplayEntry& entry);
    void recordStyleChange(std::int32_t style);
    void finishRecording();

    bool showsText() const { return group_.destination == Destination::Body && group_.hidden == 0; }
    bool inFallback() const { return fallbackLeft_ > 0; }
    // A fallback being skipped, a lead byte waiting for its trail or a
    // character held back: one test, as text rarely meets any of them.
    bool continuesSomething() const {
        return (static_cast<std::uint32_t>(fallbackLeft_) |
                static_cast<std::uint32_t>(pendingLead_ - kNoLeadByte) | highSurrogate_ |
                static_cast<std::uint32_t>(pendingSixPerEm_)) != 0;
    }
    void takeFallbackByte(std::uint8_t byte);
    void startUnicode(std::int32_t number);
    // Cheap tests first: both run at every group and control word.
    void finishUnicode() {
        if (pendingUnicode_ != 0 || fallbackLeft_ != 0) finishUnicodeNow();
    }
    void finishUnicodeNow();
    void flushLeadByte() {
        if (pendingLead_ >= 0) flushLeadByteNow();
    }
    void flushLeadByteNow();
    void flushPending();
    // Nothing held back for the next character: no high surrogate waiting
    // for its pair, no six-per-em space waiting for a space.
    bool holdsNothing() const { return highSurrogate_ == 0 && !pendingSixPerEm_; }
    // Most characters need neither: they are written at once, inline.
    void emit(char32_t c) {
        if (holdsNothing() && c != kSixPerEmSpace) {
            if (showsText()) emitNow(c);
            return;
        }
        emitAfterHeld(c);
    }
    void emitAfterHeld(char32_t c);
    void emitNow(char32_t c) {
        if (c < 0x80) {
            line_.push(static_cast<char>(c));
        } else {
            line_.appendUtf8(c);
        }
    }

    FontEntry* findFont(std::int32_t font);
    // Text goes back to the same font group after group: the coding of the
    // entry found last is taken without a call while it is still valid.
    ByteCoding codingOfFont(std::int32_t font) {
        if (lastFontEntry_ != nullptr && lastFont_ == font &&
            lastFontEntry_->resolvedUnder == documentCodec_) {
            return lastFontEntry_->resolved;
        }
        return findCodingOfFont(font);
    }
    ByteCoding findCodingOfFont(std::int32_t font);
    ByteCoding resolveCoding(const FontEntry& entry) const;
    const ByteCoding& activeCoding() const {
        return group_.runType == RunType::DoubleByte && group_.doubleByteCoding.codec != nullptr
                   ? group_.doubleByteCoding
                   : group_.coding;
    }
    void setFont(std::int32_t font);
    void refreshCoding();
    void codingChanged() {
        ++codingEpoch_;
        staleCodingDepth_ = std::max(staleCodingDepth_, stack_.size());
    }
    void setCharacterStyle(std::int32_t style);

    RtfByteSource& source_;
    RtfParagraphSink& sink_;
    GroupState group_;
    std::vector<GroupState> stack_;
    bool skipUnknown_ = false;
    bool documentClosed_ = false;
    bool pastDocumentRead_ = false;
    RevisionNotice revisions_ = RevisionNotice::None;
    RevisionNotice comments_ = RevisionNotice::None;
    // Formatted text: told once per document, like tracked changes. The
    // line's length where formatting came on; kNoFormatting while it is off.
    static constexpr std::size_t kNoFormatting = ~std::size_t{0};
    RevisionNotice formattingNotice_ = RevisionNotice::None;
    std::size_t formattedFrom_ = kNoFormatting;
    std::int64_t binaryLeft_ = 0;
    State afterBinary_ = State::Normal;  // a "\'" still waiting for a digit, or not
    int hexHigh_ = -1;
    LineText line_;

    // Code pages: the character words', the document's, the font table.
    const platform::CodePageCodec& windows1252_;
    const platform::CodePageCodec* documentCodec_;
    std::unordered_map<std::int32_t, FontEntry> fonts_;
    std::int32_t fontEntry_ = 0;
    std::int32_t defaultFont_ = 0;
    std::int32_t lastFont_ = 0;
    FontEntry* lastFontEntry_ = nullptr;  // of lastFont_; null: none yet
    bool codingValid_ = false;            // group_.coding is that of group_.font

    RtfStyleObserver* styleObserver_ = nullptr;

    // Unicode characters and what is held back until the next character.
    std::int32_t fallbackLeft_ = 0;
    char32_t pendingUnicode_ = 0;
    char32_t highSurrogate_ = 0;
    std::string fallbackBytes_;
    ByteCoding fallbackCoding_{nullptr};
    static constexpr int kNoLeadByte = -1;
    int pendingLead_ = kNoLeadByte;
    const platform::CodePageCodec* leadCodec_ = nullptr;
    bool pendingSixPerEm_ = false;

    // The input block, and past it bytes that are never data: the bytes of
    // a control word are read eight at a time and those of a group a chunk
    // at a time wherever they stand, and the byte after the data is
    // kStopByte, neither letter, digit, "-" nor space.
    static constexpr std::size_t kInputBlock = 65536;
    static constexpr std::size_t kLoadPadding = GroupReplays::kReadPast;
    static_assert(kLoadPadding >= sizeof(std::uint64_t), "a word is read past the data");
    static constexpr char kStopByte = 0;
    std::vector<char> input_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    // Counts the loads into the buffer: a run of words is kept only when its
    // bytes stayed where they were while it was read.
    std::size_t loads_ = 0;
    RtfWordRuns runs_;

    // Groups read before, and the one being recorded (at the depth its end
    // returns to; kNotRecording when none is).
    static constexpr std::size_t kNotRecording = ~std::size_t{0};
    bool replaysGroups_ = true;
    GroupReplays replays_;
    GroupRecording recording_;
    std::size_t recordingDepth_ = kNotRecording;
    // Counts what reading a group may do that a replay would not repeat:
    // paragraphs handed on, font-table and code-page changes, binary data.
    std::uint64_t outsideEffects_ = 0;
    // Counts the changes of what the fonts' code pages are resolved by.
    std::uint32_t codingEpoch_ = 0;
    // The groups saved on the stack below this depth kept the codings of
    // their fonts from before such a change: the end of a group that goes
    // back to one of them works them out again.
    std::size_t staleCodingDepth_ = 0;
    // Groups looked up and replayed in the current window of lookups, and
    // the groups still to be read afresh after a window of few replays.
    std::uint32_t replayTries_ = 0;
    std::uint32_t replayHits_ = 0;
    std::uint32_t replayPause_ = 0;
};

}  // namespace tessel::frame
