// Decoding the entities of a line and wrapping those left in one pass from
// left to right, written into another buffer, and optionally marking up the
// line's tags on the way. Shared by the entity wrapping of the HTML and SGML
// mark-up and by the HTML line mark-up.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "frame/rtf_writer.h"
#include "markup/entity_decoding.h"
#include "markup/html_codes.h"
#include "platform/byte_scan.h"
#include "platform/spare_buffer.h"
#include "resources/rtf_texts.h"

namespace tessel::markup {

// Sets -1305 for an "&" without its ";" that is neither followed by a blank
// nor inside a tag. The "<" and ">" last seen are looked for only for such
// an "&", from where the last look ended, so the "&" come in order.
class LoneAmpersands {
  public:
    // `before` is the text up to the "&" (which it does not hold); its "<"
    // and ">" are those of the decoded line before the "&".
    void check(std::string_view before, bool followedByBlank, int& message) {
        const std::size_t amp = before.size();
        if (std::size_t open = lastOf(before, scanned_, amp, '<'); open != std::string_view::npos) {
            lastOpen_ = open;
        }
        if (std::size_t close = lastOf(before, scanned_, amp, '>');
            close != std::string_view::npos) {
            lastClose_ = close;
        }
        scanned_ = amp;
        bool insideTag = lastOpen_ != std::string_view::npos &&
                         (lastClose_ == std::string_view::npos || lastClose_ < lastOpen_);
        if (!followedByBlank && !insideTag) message = kAmpersandWithoutSemicolon;
    }

  private:
    // Last position of `c` in [from, to), or npos.
    static std::size_t lastOf(std::string_view text, std::size_t from, std::size_t to, char c) {
        if (to <= from) return std::string_view::npos;
        std::size_t found = text.substr(from, to - from).rfind(c);
        return found == std::string_view::npos ? found : from + found;
    }

    std::size_t scanned_ = 0;  // '<' and '>' are known up to here
    std::size_t lastOpen_ = std::string_view::npos;
    std::size_t lastClose_ = std::string_view::npos;
};

// What the one pass does at a byte that RTF escapes: the line is escaped
// already and the byte is text (Kept), or the pass escapes it on the way
// (Escaped).
enum class EscapedBytes { Kept, Escaped };

// Leaves "<" to the text: the pass decodes and wraps entities only.
struct NoTagMarkup {
    static constexpr bool kMarksTags = false;
    template <EscapedBytes, typename Pass>
    bool take(Pass&) {
        return true;
    }
};

// The line is copied a chunk at a time and tested for "&" (and for bytes
// that RTF escapes, and for "<" when `Tags` marks tags) on the way; most
// chunks hold none. The pass gives up (the line stays as it was) where its
// result could differ from escaping the whole line first, then decoding and
// wrapping it, then marking its tags:
// - at an "&" that has another "&" in its reach, where decoding the later
//   one may change what the earlier one ends with;
// - with EscapedBytes::Escaped, at an "&" whose reach holds a byte that RTF
//   escapes (escaping first would change what the reach holds);
// - where `Tags` marks tags, at an entity left wrapped that holds a "<" (the
//   tag inside it is wrapped inside it), and wherever `Tags` gives up.
//
// `Tags` has `kMarksTags`, and `take<kEscaped>(pass)`, called at each "<"
// when kMarksTags: it marks up the tag there through position(), reserve()
// and took(), or returns false to give up.
class OnePassDecoding {
  public:
    // `text` is followed by kScanPadding blanks (kTextPadding), `out` holds
    // as many bytes as `text` and a chunk more.
    OnePassDecoding(std::string_view text, std::string& out)
        : text_(text.data()), size_(text.size()), out_(out), write_(out.data()) {}

    // What follows the text: a byte the pass never stops at.
    static constexpr char kTextPadding = ' ';

    template <EscapedBytes kEscaped, typename Tags>
    bool run(Tags& tags) {
        using namespace platform::detail;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text_);
        // While chunks pass whole the positions stay in these locals; the
        // members take them over at a stop, where the tag marking reads and
        // moves them through the pass (which therefore lives in memory).
        std::size_t read = 0;
        std::size_t written = 0;
        while (read < size_) {
            const Chunk chunk = loadChunk(bytes + read);
            storeChunk(write_ + written, chunk);
            ChunkMask stops = bytesEqual(chunk, '&');
            if constexpr (Tags::kMarksTags) stops |= bytesEqual(chunk, '<');
            if constexpr (kEscaped == EscapedBytes::Escaped) {
                stops |= frame::rtfEscapeCandidates(chunk);
            }
            // The blanks past the end hold no stop: a chunk that holds none
            // is passed whole, and the bytes past the end are taken back
            // after the loop.
            if (stops == 0) {
                read += kChunkSize;
                written += kChunkSize;
                continue;
            }
            const std::size_t skipped = firstMarked(stops);
            read_ = read + skipped;
            written_ = written + skipped;
            if (!takeStop<kEscaped>(tags, chunk, stops, skipped)) return false;
            read = read_;
            written = written_;
        }
        written -= read - size_;
        out_.resize(written);
        return true;
    }

    int count() const { return count_; }
    int message() const { return message_; }

    // For the tag marking: the text, the read position, room to write
    // `extra` bytes more than the rest of the text (where to write them),
    // and how far the tag moved both.
    std::string_view text() const { return {text_, size_}; }
    std::size_t position() const { return read_; }
    // One past the ">" that the chunk holding the stop at the read position
    // shows next after it, with no other stop between; 0 when it shows none.
    std::size_t closeAhead() const { return closeAhead_; }
    char* reserve(std::size_t extra) {
        makeRoom(extra);
        return write_ + written_;
    }
    void took(std::size_t read, std::size_t written) {
        read_ += read;
        written_ += written;
    }

  private:
    // Sets closeAhead() for the "<" `skipped` bytes into `chunk` (at the
    // read position), whose stops `stops` marks: most tags end in the chunk
    // they begin in, which then need not be tested again for their end.
    void noteCloseAhead(platform::detail::Chunk chunk, platform::detail::ChunkMask stops,
                        std::size_t skipped) {
        using namespace platform::detail;
        const ChunkMask closes = bytesEqual(chunk, '>');
        ChunkMask later = (stops | closes) & ~firstBytes(skipped);
        later &= later - 1;  // the stop itself
        const ChunkMask next = later & (ChunkMask{0} - later);
        // Without a branch: whether a ">" comes next varies from tag to tag.
        const std::size_t found = std::size_t{0} - static_cast<std::size_t>((closes & next) != 0);
        closeAhead_ = (read_ - skipped + firstMarked(next) + 1) & found;
    }

    // Takes the byte at the read position, where the chunk scan stopped
    // (`skipped` bytes into `chunk`, whose stops `stops` marks); false where
    // the pass gives up.
    template <EscapedBytes kEscaped, typename Tags>
    bool takeStop(Tags& tags, platform::detail::Chunk chunk, platform::detail::ChunkMask stops,
                  std::size_t skipped) {
        const char byte = text_[read_];
        if (byte == '&') return takeAmpersand<kEscaped, Tags::kMarksTags>();
        if (Tags::kMarksTags && byte == '<') {
            noteCloseAhead(chunk, stops, skipped);
            return tags.template take<kEscaped>(*this);
        }
        if (kEscaped == EscapedBytes::Escaped && frame::isRtfEscaped(byte)) {
            escape(byte);
        } else {
            advance(1);  // a candidate that RTF keeps as it stands
        }
        return true;
    }

    // Bytes copied as they stand (the chunk holding them is written).
    void advance(std::size_t bytes) {
        read_ += bytes;
        written_ += bytes;
    }

    // Keeps room in `out_` for `extra` bytes, the rest of the text and the
    // chunk past it.
    void makeRoom(std::size_t extra) {
        const std::size_t ahead = extra + (size_ - read_) + platform::kScanPadding;
        if (out_.size() - written_ < ahead) {
            out_.resize(written_ + ahead + (written_ + ahead) / 2);
            write_ = out_.data();
        }
    }

    void escape(char byte) {
        const std::string_view replacement = frame::rtfEscapeOf(byte);
        makeRoom(replacement.size());
        std::memcpy(write_ + written_, replacement.data(), replacement.size());
        written_ += replacement.size();
        ++read_;
    }

    // Decodes, wraps or keeps the "&" at the read position; false where the
    // pass gives up.
    template <EscapedBytes kEscaped, bool kMarksTags>
    bool takeAmpersand() {
        const char* amp = text_ + read_;
        const std::size_t readable = size_ - read_ - 1;
        const std::size_t window = std::min(readable, entity_decoding::kMaxEntitySpan);
        if (kEscaped == EscapedBytes::Escaped && holdsEscapeCandidate(amp + 1, window)) {
            return false;
        }
        // The memory goes on for a chunk past the text: the window is tested
        // as one chunk even at the end of the line.
        const std::size_t memory = readable + platform::kScanPadding;
        const std::size_t semicolon = platform::findByteInWindow(amp + 1, window, memory, ';');
        const bool ended = semicolon != window;
        if (ended) {
            if (std::optional<char> character =
                    entity_decoding::decodeEntity(std::string_view(amp, semicolon + 2), memory,
                                                  entity_decoding::NumericPolicy::SafeForMarkup)) {
                write_[written_++] = *character;
                read_ += semicolon + 2;
                return true;
            }
        }
        const std::size_t reach = ended ? semicolon : window;
        if (platform::findByteInWindow(amp + 1, reach, memory, '&') != reach) return false;
        if (ended) {
            if (kMarksTags &&
                platform::findByteInWindow(amp + 1, semicolon, memory, '<') != semicolon) {
                return false;
            }
            wrap(semicolon + 2);
        } else {
            lone_.check(std::string_view(write_, written_), readable > 0 && amp[1] == ' ',
                        message_);
            advance(1);
        }
        return true;
    }

    // Whether a candidate of rtfEscapeCandidates stands in the `size` bytes
    // from `data` (the memory goes on for a chunk past them).
    static bool holdsEscapeCandidate(const char* data, std::size_t size) {
        using namespace platform::detail;
        for (std::size_t i = 0; i < size; i += kChunkSize) {
            ChunkMask marks = frame::rtfEscapeCandidates(
                loadChunk(reinterpret_cast<const std::uint8_t*>(data + i)));
            if (size - i < kChunkSize) marks &= firstBytes(size - i);
            if (marks != 0) return true;
        }
        return false;
    }

    // Wraps the `size` bytes from the read position as an internal tag.
    void wrap(std::size_t size) {
        const std::string_view opening = frame::tagOpening(frame::TagKind::Internal);
        makeRoom(opening.size() + 1);
        std::memcpy(write_ + written_, opening.data(), opening.size());
        written_ += opening.size();
        // In whole chunks: the entity is at most a chunk and a byte long.
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text_);
        for (std::size_t i = 0; i < size; i += platform::detail::kChunkSize) {
            platform::detail::storeChunk(write_ + written_ + i,
                                         platform::detail::loadChunk(bytes + read_ + i));
        }
        written_ += size;
        read_ += size;
        write_[written_++] = resources::kTagClose[0];
        ++count_;
    }

    const char* text_;
    std::size_t size_;
    std::string& out_;
    char* write_;
    std::size_t read_ = 0;
    std::size_t written_ = 0;
    std::size_t closeAhead_ = 0;
    int count_ = 0;
    int message_ = 0;
    LoneAmpersands lone_;
};

// Runs the one pass on `line` with `tags`; false when it gave up (the line,
// `count` and `message` are then as they were). `count` is the number of
// entities wrapped, `message` is set to -1305 as LoneAmpersands does.
template <EscapedBytes kEscaped, typename Tags>
bool decodeAndWrapInOnePass(std::string& line, Tags& tags, int& count, int& message) {
    const std::size_t size = line.size();
    line.append(platform::kScanPadding, OnePassDecoding::kTextPadding);
    int wrapped = 0;
    int lone = 0;
    const bool done = platform::rebuildInPlaceIf(line, [&](std::string& out) {
        // Room for the line, a few wraps (with tags, as much as tags usually
        // add) and the chunk past the end; a line that needs more grows it.
        const std::size_t room = (Tags::kMarksTags ? 3 : 1) * size + 64 + platform::kScanPadding;
        if (out.size() < room) out.resize(room);
        OnePassDecoding pass(std::string_view(line.data(), size), out);
        if (!pass.template run<kEscaped>(tags)) return false;
        wrapped = pass.count();
        lone = pass.message();
        return true;
    });
    if (!done) {
        line.resize(size);
        return false;
    }
    count = wrapped;
    if (lone != 0) message = lone;
    return true;
}

}  // namespace tessel::markup
