#include "frame/rtf_reader.h"

#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "frame/return_codes.h"
#include "frame/rtf_control_words.h"
#include "frame/rtf_group_state.h"
#include "frame/rtf_reader_bytes.h"
#include "frame/rtf_text_copy.h"

namespace tessel::frame {

using namespace rtf_bytes;
using platform::CodePageCodec;

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

// One loop over the buffer: the token reader, control words with their
// actions and text runs are inlined into it (always_inline below), as a call
// per token cost about as much as the work of a token. Binary data is read
// where "\binN" is acted on (readBinary()), so tokens are not tested for it.
int RtfReader::read() {
    if (documentClosed_) return readPastDocument();
    // Binary data that a pausing sink interrupted goes on first.
    if (int result = readBinary(); result != 0) return result;
    for (;;) {
        if (pos_ == end_ && !refill()) return endOfDocument();
        if (int result = readToken(); result != 0) {
            return result == kDocumentClosed ? closeDocument() : result;
        }
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

// One byte of binary data, as it stands: "\binN" counts N bytes of the file,
// a CR LF pair among them two.
int RtfReader::readBinaryByte() {
    int c = next();
    if (--binaryLeft_ <= 0) group_.state = afterBinary_;
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

// The end of the data where no group was ever opened.
int RtfReader::endOfDocument() {
    if (!stack_.empty()) return kRtfMissingClosingBrace;
    flushPending();
    if (line_.empty()) return 0;
    return handOn(false);
}

// The group that "{\rtf1" opened is closed: the text after the last
// paragraph mark is the last paragraph, and the rest of the data is no
// part of the document. A paragraph that pauses the reading leaves the
// rest to the next read().
int RtfReader::closeDocument() {
    documentClosed_ = true;
    flushPending();
    if (!line_.empty()) {
        if (int result = handOn(false); result != 0) return result;
    }
    return readPastDocument();
}

namespace {

bool isBlankOrNul(unsigned char byte) {
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n' || byte == 0;
}

// A byte of the data after the document as its notice quotes it.
void appendQuoted(std::string& quoted, unsigned char byte) {
    if (byte == '\r') return;  // the log's line ends are its own
    if ((byte >= 0x20 && byte < 0x7F) || byte == '\t' || byte == '\n') {
        quoted += static_cast<char>(byte);
        return;
    }
    constexpr char kHex[] = "0123456789abcdef";
    quoted += "\\'";
    quoted += kHex[byte >> 4];
    quoted += kHex[byte & 0xF];
}

// What follows the document: nothing but blanks and NUL bytes, other data,
// or a "}" that no "{" after the document's end opened.
class PastDocument {
  public:
    void take(unsigned char byte) {
        if (escaped_) {
            escaped_ = false;
        } else if (byte == '\\') {
            escaped_ = true;
        } else if (byte == '{') {
            ++depth_;
        } else if (byte == '}' && --depth_ < 0) {
            surplusBrace_ = true;
        }
        if (isBlankOrNul(byte) && start_.empty()) return;
        if (start_.size() < RtfReader::kQuotedTailBytes) {
            start_ += static_cast<char>(byte);
        } else if (!isBlankOrNul(byte)) {
            more_ = true;
        }
    }
    bool holdsData() const { return !start_.empty(); }
    bool surplusBrace() const { return surplusBrace_; }
    std::string quoted() const {
        std::string_view start = start_;
        while (!start.empty() && isBlankOrNul(static_cast<unsigned char>(start.back()))) {
            start.remove_suffix(1);
        }
        std::string text;
        for (char c : start) appendQuoted(text, static_cast<unsigned char>(c));
        if (more_) text += "...";
        return text;
    }

  private:
    std::string start_;
    bool more_ = false;
    bool escaped_ = false;
    long long depth_ = 0;
    bool surplusBrace_ = false;
};

}  // namespace

// Looks through the data after the document's end, once, and tells the
// sink what it holds (nothing of it is read as RTF).
int RtfReader::readPastDocument() {
    if (pastDocumentRead_) return 0;
    pastDocumentRead_ = true;
    tellRevisions();
    PastDocument past;
    for (;;) {
        for (; pos_ < end_; ++pos_) past.take(current());
        if (!refill()) break;
    }
    if (past.surplusBrace()) {
        sink_.notice(RtfNotice::SurplusClosingBrace, past.quoted());
    } else if (past.holdsData()) {
        sink_.notice(RtfNotice::DataAfterDocument, past.quoted());
    }
    return 0;
}

// A tracked change in the body (once per document: the first paragraph it
// stands in is named).
void RtfReader::noteRevision() {
    if (revisions_ != RevisionNotice::None || group_.destination != Destination::Body) return;
    revisions_ = RevisionNotice::Pending;
    // A group that noted it is not replayed as if it had not.
    ++outsideEffects_;
}

// A comment in the body (once per document, as a tracked change).
void RtfReader::noteComment() {
    if (comments_ != RevisionNotice::None || group_.destination != Destination::Body) return;
    comments_ = RevisionNotice::Pending;
    ++outsideEffects_;
}

// The text of the line since formatting came on, if any, is formatted text.
void RtfReader::noteFormattedText() {
    if (formattedFrom_ != kNoFormatting && line_.size() > formattedFrom_ &&
        formattingNotice_ == RevisionNotice::None) {
        formattingNotice_ = RevisionNotice::Pending;
    }
    formattedFrom_ = group_.formatting != 0 ? line_.size() : kNoFormatting;
}

void RtfReader::setFormatting(std::uint8_t formatting) {
    if (formatting == group_.formatting) return;
    // A group that changes it is not replayed as if it had not.
    ++outsideEffects_;
    const bool wasOn = group_.formatting != 0;
    group_.formatting = formatting;
    if (wasOn) {
        noteFormattedText();
    } else {
        formattedFrom_ = line_.size();
    }
}

void RtfReader::tellFormatting() {
    noteFormattedText();
    if (formattingNotice_ != RevisionNotice::Pending) return;
    formattingNotice_ = RevisionNotice::Told;
    sink_.formattedText();
}

void RtfReader::tellRevisions() {
    if (revisions_ == RevisionNotice::Pending) {
        revisions_ = RevisionNotice::Told;
        sink_.notice(RtfNotice::TrackedChangesAccepted, {});
    }
    if (comments_ == RevisionNotice::Pending) {
        comments_ = RevisionNotice::Told;
        sink_.notice(RtfNotice::CommentsLeftOut, {});
    }
}

int RtfReader::endParagraph() {
    flushPending();
    return handOn(true);
}

// Hands the line to the sink, and starts the next one in the code page the
// sink asks for (UTF-8 while styles are observed: their offsets are of it).
int RtfReader::handOn(bool lineEnd) {
    ++outsideEffects_;
    tellRevisions();
    if (formattingNotice_ != RevisionNotice::Told) tellFormatting();
    const CodePageCodec* codePage = line_.codePage();
    int result = codePage != nullptr
                     ? sink_.paragraphInCodePage(line_.finished(), *codePage, lineEnd)
                     : sink_.paragraph(line_.finished(), lineEnd);
    const CodePageCodec* wanted = styleObserver_ == nullptr ? sink_.textCodePage() : nullptr;
    line_.clear(wanted != nullptr && !wanted->isDoubleByte() ? wanted : nullptr);
    if (formattedFrom_ != kNoFormatting) formattedFrom_ = 0;
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

}  // namespace tessel::frame
