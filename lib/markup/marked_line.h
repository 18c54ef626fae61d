// A line being marked up. The source text is passed from left to right and
// the marked-up text is built beside it, so wrapping a span never moves the
// rest of the line: long lines with many tags cost linear time. The result
// is written into a buffer sized ahead (its first `written_` bytes count):
// wrapping a tag is then one size check and a few copies.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "frame/rtf_writer.h"
#include "platform/byte_scan.h"
#include "resources/rtf_texts.h"

namespace tessel::markup {

// The openings of the three tag runs, each padded to one width, so that a
// wrap copies its opening with one fixed-size move instead of a call.
constexpr std::size_t kOpeningWidth = 32;

struct PaddedOpening {
    char text[kOpeningWidth] = {};
    std::size_t size = 0;
};

constexpr PaddedOpening paddedOpening(frame::TagKind kind) {
    PaddedOpening padded;
    const std::string_view opening = frame::tagOpening(kind);
    for (std::size_t i = 0; i < opening.size() && i < kOpeningWidth; ++i) {
        padded.text[i] = opening[i];
    }
    padded.size = opening.size();
    return padded;
}

// By TagKind value.
inline constexpr PaddedOpening kPaddedOpenings[] = {paddedOpening(frame::TagKind::Internal),
                                                    paddedOpening(frame::TagKind::External),
                                                    paddedOpening(frame::TagKind::DoNotTranslate)};

constexpr bool openingsFitTheirWidth() {
    for (const PaddedOpening& opening : kPaddedOpenings) {
        if (opening.size > kOpeningWidth) return false;
    }
    return true;
}
static_assert(openingsFitTheirWidth(), "every tag opening fits the padded width");
static_assert(static_cast<std::size_t>(frame::TagKind::Internal) == 0 &&
                  static_cast<std::size_t>(frame::TagKind::External) == 1 &&
                  static_cast<std::size_t>(frame::TagKind::DoNotTranslate) == 2,
              "kPaddedOpenings is indexed by TagKind");
static_assert(resources::kTagClose.size() == 1, "a wrap writes the closing brace as one byte");

// The wraps a MarkedLine made while it was logging them, at their positions
// in the source. A tag is wrapped whole or around its value: two at most are
// logged; more only set `overflow`.
struct WrapLog {
    static constexpr std::size_t kMaxWraps = 2;
    struct Logged {
        std::size_t start;
        std::size_t end;
        frame::TagKind kind;
    };
    std::size_t count = 0;
    Logged wraps[kMaxWraps];
    bool overflow = false;
    void add(std::size_t start, std::size_t end, frame::TagKind kind) {
        if (count == kMaxWraps) {
            overflow = true;
            return;
        }
        wraps[count++] = {start, end, kind};
    }
};

// Short runs of a wrap are copied in blocks of this size, which may write
// (and read) up to one block less a byte past the run.
inline constexpr std::size_t kCopyChunk = 16;
inline void copyInChunks(char* out, const char* in, std::size_t size) {
    for (std::size_t i = 0; i < size; i += kCopyChunk) std::memcpy(out + i, in + i, kCopyChunk);
}

// Room a wrap needs beyond the bytes it copies: the opening's padded width
// and a copy's last block, both copied whole, and the closing brace.
inline constexpr std::size_t kWrapSlack = kOpeningWidth + kCopyChunk + 1;

// Writes `before` bytes from `beforeText`, then `inside` bytes from
// `insideText` wrapped as a tag run of `kind`, at `out`, which has room for
// them and kWrapSlack more; kCopyChunk bytes past each run must be
// readable. Returns the number of bytes that count.
inline std::size_t writeWrapped(char* out, const char* beforeText, std::size_t before,
                                const char* insideText, std::size_t inside, frame::TagKind kind) {
    const PaddedOpening& opening = kPaddedOpenings[static_cast<std::size_t>(kind)];
    copyInChunks(out, beforeText, before);
    char* at = out + before;
    std::memcpy(at, opening.text, kOpeningWidth);
    at += opening.size;
    copyInChunks(at, insideText, inside);
    at[inside] = resources::kTagClose[0];
    return before + opening.size + inside + 1;
}

class MarkedLine {
  public:
    // `buffer` lends its memory to the result (a line of the same job is
    // about as long, so it rarely has to grow).
    explicit MarkedLine(std::string source, std::string buffer = {})
        : source_(std::move(source)), result_(std::move(buffer)) {
        // Only the first `written_` bytes count: the old contents may stay,
        // and only the part added is filled.
        const std::size_t room = 3 * source_.size() + 64;
        if (result_.size() < room) result_.resize(room);
        reserveChunkSlack();
    }

    // The source's memory, for the next line to reuse.
    std::string releaseSource() { return std::move(source_); }

    const std::string& source() const { return source_; }
    std::size_t size() const { return source_.size(); }
    // The byte at `i`, or 0 past the end (as the end of a C string reads).
    char at(std::size_t i) const { return i < source_.size() ? source_[i] : '\0'; }

    // Position of the first byte of the source in [from, to) that is `a` or
    // `b`, or npos: searched inline, in whole chunks, as the source's memory
    // goes on past its end (see reserveChunkSlack). Tags and their ends are
    // a few bytes apart, where a call costs more than the search.
    std::size_t findEither(char a, char b, std::size_t from,
                           std::size_t to = std::string::npos) const {
        const std::size_t size = std::min(source_.size(), to);
        const std::size_t found = platform::findEitherInPadded(source_.data(), from, size, a, b);
        return found < size ? found : std::string::npos;
    }
    std::size_t find(char byte, std::size_t from, std::size_t to = std::string::npos) const {
        return findEither(byte, byte, from, to);
    }

    // Puts `carried` (an unclosed tag from earlier lines, holding "\\par \n"
    // markers where those lines ended) in front of the source.
    void prependCarried(const std::string& carried);

    // Writes the opening of `kind` before `start`, "}" after `end`; the
    // source before `start` is passed on unchanged. Inline: it runs once for
    // nearly every tag.
    void wrap(std::size_t start, std::size_t end, frame::TagKind kind) {
        if (wrapLog_ != nullptr) wrapLog_->add(start, end, kind);
        // Locals: the copies write through char pointers, which may alias
        // the members and would make them be read again after each copy.
        const char* source = source_.data();
        const std::size_t from = copied_;
        const std::size_t before = start > from ? start - from : 0;
        const std::size_t inside = end > start ? end - start : 0;
        char* out = room(before + inside + kWrapSlack);
        written_ += writeWrapped(out, source + from, before, source + start, inside, kind);
        copied_ = end;
    }
    // Logs the wraps from now on into `log`, or no longer when null.
    void logWraps(WrapLog* log) { wrapLog_ = log; }

    // Whether text carried from earlier lines stands in front of the source
    // (prependCarried()).
    bool holdsCarried() const { return hasCarried_; }

    // Passes the source up to `end` on unchanged.
    void copyUpTo(std::size_t end);
    // Writes `text` into the result at the current point (`copyUpTo` first).
    void emit(std::string_view text) { put(text.data(), text.size()); }
    // Skips the source up to `end` without writing it.
    void skipTo(std::size_t end) { copied_ = end; }

    // An internal tag joins the lines it was continued over: every "\\par \n"
    // marker from the start of the line up to `tagEnd` becomes one blank; the
    // positions are moved accordingly.
    void joinContinuedLines(std::size_t& tagStart, std::size_t& namePos, std::size_t& tagEnd) {
        if (hasCarried_) joinCarriedLines(tagStart, namePos, tagEnd);
    }

    // The marked-up line: everything written plus the source not yet passed
    // on, from `end` onwards dropped (it went to the carry-over buffer).
    std::string finish(std::size_t end);
    std::string finish() { return finish(source_.size()); }

  private:
    // A chunk that ends a run near the end of the source reads up to a chunk
    // past it: the source's memory holds that much more, so no run needs a
    // slower copy.
    void reserveChunkSlack() { source_.reserve(source_.size() + kCopyChunk); }
    static_assert(platform::kScanPadding <= kCopyChunk, "a search chunk fits the slack");

    // Room for `extra` more bytes of result.
    char* room(std::size_t extra) {
        if (result_.size() - written_ < extra) grow(extra);
        return result_.data() + written_;
    }
    void grow(std::size_t extra);
    void put(const char* text, std::size_t size) {
        std::memcpy(room(size), text, size);
        written_ += size;
    }
    std::size_t replaceMarkers(std::string& text, std::size_t from, std::size_t to);
    void joinCarriedLines(std::size_t& tagStart, std::size_t& namePos, std::size_t& tagEnd);

    std::string source_;
    std::string result_;
    std::size_t written_ = 0;
    std::size_t copied_ = 0;
    WrapLog* wrapLog_ = nullptr;
    // Markers can only stand in the carried text; these bound the search.
    bool hasCarried_ = false;
    std::size_t sourceMarkersEnd_ = 0;
    std::size_t resultMarkersFrom_ = 0;
};

}  // namespace tessel::markup
