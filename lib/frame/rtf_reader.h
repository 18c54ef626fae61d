// The RTF reader of the back-conversion jobs: reads an RTF document byte by
// byte and hands on its visible body text one paragraph at a time, as UTF-8.
// Font and colour tables, style sheet, document information, headers,
// footers, footnotes, pictures, objects, destinations marked "*" that it does
// not know, and hidden text are dropped.
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

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frame/rtf_byte_source.h"
#include "platform/code_page_codec.h"
#include "resources/rtf_keywords.h"

namespace tessel::frame {

inline constexpr char32_t kLineSeparator = 0x2028;
inline constexpr char32_t kSoftHyphen = 0x00AD;
inline constexpr char32_t kNonBreakingHyphen = 0x2011;
inline constexpr char32_t kSixPerEmSpace = 0x2006;
inline constexpr char32_t kAnnotationAnchor = 0xFFF9;
inline constexpr char32_t kAnnotationSeparator = 0xFFFA;
inline constexpr char32_t kAnnotationEnd = 0xFFFB;

// Receives the body text.
class RtfParagraphSink {
  public:
    virtual ~RtfParagraphSink() = default;
    // `line` holds a paragraph's text in UTF-8 (the reader empties it
    // afterwards). `lineEnd` is false for text after the last paragraph
    // mark, which ends the document without a line end. Returns 0, a
    // failure code that ends the reading, or a positive number that pauses
    // it: read() returns that number, and the next read() goes on after
    // the paragraph (a reader that pulls paragraphs one at a time).
    virtual int paragraph(std::string& line, bool lineEnd) = 0;
    // The document's code page ("\ansicpgN"), told when it is read.
    virtual void documentCodePage(int /*codePage*/) {}
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

    RtfReader(RtfByteSource& source, RtfParagraphSink& sink);

    // Reads the whole document; 0 or a failure code (-401 to -405, or the
    // sink's code). Text read before a failure has been handed on.
    int read();

    // Nesting depth reached at the point the reading stopped.
    std::size_t depth() const { return stack_.size(); }

    // Tells `observer` (or nobody, when null) of every change of the
    // character style from now on.
    void observeStyles(RtfStyleObserver* observer) { styleObserver_ = observer; }

  private:
    enum class State : std::uint8_t { Normal, Binary, Hex };
    enum class Destination : std::uint8_t { Body = 0, Skipped = 1, Footnote = 2 };
    enum class RunType : std::uint8_t { Low, High, DoubleByte };

    // How the bytes of a font are read: a code page, or kept (symbol font).
    struct ByteCoding {
        const platform::CodePageCodec* codec;  // null: kept bytes
    };

    struct Group {
        bool hidden;
        std::int16_t otherProperties;
        Destination destination;
        State state;
        bool inFontTable;
        RunType runType;
        std::int32_t unicodeSkip;
        std::int32_t font;
        std::int32_t doubleByteFont;
        ByteCoding coding;
        ByteCoding doubleByteCoding;
        std::int32_t characterStyle;
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

    int push();
    int pop();
    int controlWord();
    int controlSymbol();
    int applyKeyword(resources::RtfWord found, bool hasParameter, std::int32_t parameter);
    int applyTextKeyword(int action, bool hasParameter, std::int32_t parameter);
    int hexDigit(int c);
    int character(int byte);
    int textByte(std::uint8_t byte);
    int textCharacter(char32_t c);
    int endOfDocument();
    int endParagraph();
    void takePlainRun();
    void takeSingleByteText();
    void appendToLine(const char* bytes, std::size_t n);
    void growLine(std::size_t n);

    bool showsText() const { return destination_ == Destination::Body && !hidden_; }
    bool inFallback() const { return fallbackLeft_ > 0; }
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
    void emit(char32_t c);
    void emitNow(char32_t c);

    ByteCoding codingOfFont(std::int32_t font);
    ByteCoding resolveCoding(const FontEntry& entry) const;
    const ByteCoding& activeCoding() const {
        return runType_ == RunType::DoubleByte && doubleByteCoding_.codec != nullptr
                   ? doubleByteCoding_
                   : coding_;
    }
    void setFont(std::int32_t font);
    void refreshCoding();
    void setCharacterStyle(std::int32_t style);

    RtfByteSource& source_;
    RtfParagraphSink& sink_;
    std::vector<Group> stack_;
    State state_ = State::Normal;
    Destination destination_ = Destination::Body;
    bool hidden_ = false;
    std::int16_t otherProperties_ = 0;
    bool skipUnknown_ = false;
    std::int64_t binaryLeft_ = 0;
    int hexHigh_ = -1;
    std::string line_;

    // Code pages: the document's, the font table, the current fonts.
    const platform::CodePageCodec* documentCodec_;
    std::unordered_map<std::int32_t, FontEntry> fonts_;
    std::int32_t fontEntry_ = 0;
    std::int32_t defaultFont_ = 0;
    bool inFontTable_ = false;
    RunType runType_ = RunType::Low;
    std::int32_t font_ = 0;
    std::int32_t doubleByteFont_ = -1;
    ByteCoding coding_;
    bool codingValid_ = false;  // coding_ is that of font_
    ByteCoding doubleByteCoding_{nullptr};

    std::int32_t characterStyle_ = kNoCharacterStyle;
    RtfStyleObserver* styleObserver_ = nullptr;

    // Unicode characters and what is held back until the next character.
    std::int32_t unicodeSkip_ = 1;
    std::int32_t fallbackLeft_ = 0;
    char32_t pendingUnicode_ = 0;
    char32_t highSurrogate_ = 0;
    std::string fallbackBytes_;
    ByteCoding fallbackCoding_{nullptr};
    int pendingLead_ = -1;
    const platform::CodePageCodec* leadCodec_ = nullptr;
    bool pendingSixPerEm_ = false;

    static constexpr std::size_t kInputBlock = 65536;
    std::vector<char> input_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
};

}  // namespace tessel::frame
