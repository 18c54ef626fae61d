// A line being marked up. The source text is passed from left to right and
// the marked-up text is built beside it, so wrapping a span never moves the
// rest of the line: long lines with many tags cost linear time. The result
// is written into a buffer sized ahead (its first `written_` bytes count):
// wrapping a tag is then one size check and a few copies.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "frame/rtf_writer.h"
#include "resources/rtf_texts.h"

namespace tessel::markup {

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
    }

    // The source's memory, for the next line to reuse.
    std::string releaseSource() { return std::move(source_); }

    const std::string& source() const { return source_; }
    std::size_t size() const { return source_.size(); }
    // The byte at `i`, or 0 past the end (as the end of a C string reads).
    char at(std::size_t i) const { return i < source_.size() ? source_[i] : '\0'; }

    // Puts `carried` (an unclosed tag from earlier lines, holding "\\par \n"
    // markers where those lines ended) in front of the source.
    void prependCarried(const std::string& carried);

    // Writes `opening` before `start`, "}" after `end`; the source before
    // `start` is passed on unchanged. Inline: it runs once for nearly every
    // tag, whose rule holds its opening.
    void wrap(std::size_t start, std::size_t end, std::string_view opening) {
        const std::size_t before = start > copied_ ? start - copied_ : 0;
        const std::size_t inside = end > start ? end - start : 0;
        const std::string_view close = resources::kTagClose;
        char* out = room(before + opening.size() + inside + close.size());
        std::memcpy(out, source_.data() + copied_, before);
        out += before;
        std::memcpy(out, opening.data(), opening.size());
        out += opening.size();
        std::memcpy(out, source_.data() + start, inside);
        out += inside;
        std::memcpy(out, close.data(), close.size());
        written_ += before + opening.size() + inside + close.size();
        copied_ = end;
    }
    void wrap(std::size_t start, std::size_t end, frame::TagKind kind) {
        wrap(start, end, frame::tagOpening(kind));
    }
    // Passes the source up to `end` on unchanged.
    void copyUpTo(std::size_t end);
    // Writes `text` into the result at the current point (`copyUpTo` first).
    void emit(std::string_view text) { put(text.data(), text.size()); }
    // Skips the source up to `end` without writing it.
    void skipTo(std::size_t end) { copied_ = end; }

    // An internal tag joins the lines it was continued over: every "\\par \n"
    // marker from the start of the line up to `tagEnd` becomes one blank; the
    // positions are moved accordingly.
    void joinContinuedLines(std::size_t& tagStart, std::size_t& namePos, std::size_t& tagEnd);

    // The marked-up line: everything written plus the source not yet passed
    // on, from `end` onwards dropped (it went to the carry-over buffer).
    std::string finish(std::size_t end);
    std::string finish() { return finish(source_.size()); }

  private:
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

    std::string source_;
    std::string result_;
    std::size_t written_ = 0;
    std::size_t copied_ = 0;
    // Markers can only stand in the carried text; these bound the search.
    bool hasCarried_ = false;
    std::size_t sourceMarkersEnd_ = 0;
    std::size_t resultMarkersFrom_ = 0;
};

}  // namespace tessel::markup
