#include "markup/entity_wrapping.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/rtf_writer.h"
#include "markup/entity_decoding.h"
#include "markup/html_codes.h"
#include "markup/html_entities.h"
#include "platform/byte_scan.h"
#include "platform/spare_buffer.h"
#include "resources/rtf_texts.h"

namespace tessel::markup {

namespace {

using entity_decoding::kMaxEntitySpan;

// [start, end) of each entity to wrap, in order.
using EntitySpans = std::vector<std::pair<std::size_t, std::size_t>>;

// Last position of `c` in [from, to), or npos.
std::size_t lastOf(std::string_view text, std::size_t from, std::size_t to, char c) {
    if (to <= from) return std::string_view::npos;
    std::size_t found = text.substr(from, to - from).rfind(c);
    return found == std::string_view::npos ? found : from + found;
}

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
    std::size_t scanned_ = 0;  // '<' and '>' are known up to here
    std::size_t lastOpen_ = std::string_view::npos;
    std::size_t lastClose_ = std::string_view::npos;
};

// Sizes the wrapped line once and fills it with plain copies.
int wrapSpans(std::string& line, const EntitySpans& entities) {
    if (entities.empty()) return 0;
    const std::string_view text = line;
    const std::string_view opening = frame::tagOpening(frame::TagKind::Internal);
    const std::string_view close = resources::kTagClose;
    platform::rebuildInPlace(line, [&](std::string& wrapped) {
        wrapped.resize(text.size() + entities.size() * (opening.size() + close.size()));
        char* out = wrapped.data();
        auto put = [&out](std::string_view piece) {
            std::memcpy(out, piece.data(), piece.size());
            out += piece.size();
        };
        std::size_t copied = 0;
        for (const auto& [start, end] : entities) {
            put(text.substr(copied, start - copied));
            put(opening);
            put(text.substr(start, end - start));
            put(close);
            copied = end;
        }
        put(text.substr(copied));
    });
    return static_cast<int>(entities.size());
}

EntitySpans& spans() {
    thread_local EntitySpans entities;
    entities.clear();
    return entities;
}

// What the one-pass decoding does at a byte that RTF escapes.
enum class EscapedBytes { Kept, Stop };

// Decodes the entities of a line and wraps those left in one pass from left
// to right, written into another buffer. The line is copied a chunk at a
// time and tested for "&" (and for bytes that RTF escapes) on the way; most
// chunks hold none. The pass gives up (the line stays as it was) at an "&"
// that has another "&" in its reach, where decoding the later one may change
// what the earlier one ends with, and, with EscapedBytes::Stop, at a byte
// that RTF escapes: the line must then be escaped first.
class OnePassDecoding {
  public:
    // `text` and `out` go on for a chunk past their ends; `out` holds as many
    // bytes as `text` and a chunk more.
    OnePassDecoding(std::string_view text, std::string& out)
        : text_(text.data()), size_(text.size()), out_(out), write_(out.data()) {}

    template <EscapedBytes kEscaped>
    bool run() {
        using namespace platform::detail;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text_);
        while (read_ < size_) {
            const Chunk chunk = loadChunk(bytes + read_);
            storeChunk(write_ + written_, chunk);
            ChunkMask stops = kEscaped == EscapedBytes::Stop
                                  ? bytesEqual(chunk, '&') | frame::rtfEscapeCandidates(chunk)
                                  : bytesEqual(chunk, '&');
            const std::size_t rest = size_ - read_;
            if (rest < kChunkSize) stops &= firstBytes(rest);
            if (stops == 0) {
                advance(std::min(rest, kChunkSize));
                continue;
            }
            advance(firstMarked(stops));
            if (text_[read_] == '&') {
                if (!takeAmpersand<kEscaped>()) return false;
            } else if (frame::isRtfEscaped(text_[read_])) {
                return false;
            } else {
                advance(1);  // a candidate that RTF keeps as it stands
            }
        }
        out_.resize(written_);
        return true;
    }

    int count() const { return count_; }
    int message() const { return message_; }

  private:
    // Bytes copied as they stand (the chunk holding them is written).
    void advance(std::size_t bytes) {
        read_ += bytes;
        written_ += bytes;
    }

    // Decodes, wraps or keeps the "&" at the read position; false when
    // another "&" lies in its reach, or with EscapedBytes::Stop a byte that
    // RTF escapes (escaping first would change what the window holds).
    template <EscapedBytes kEscaped>
    bool takeAmpersand() {
        const char* amp = text_ + read_;
        const std::size_t readable = size_ - read_ - 1;
        const std::size_t window = std::min(readable, kMaxEntitySpan);
        if (kEscaped == EscapedBytes::Stop && holdsEscapeCandidate(amp + 1, window)) return false;
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
        // What is written from here on, the chunk past it included.
        const std::size_t ahead = opening.size() + (size_ - read_) + 1 + platform::kScanPadding;
        if (out_.size() - written_ < ahead) {
            out_.resize(written_ + ahead + (written_ + ahead) / 2);
            write_ = out_.data();
        }
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
    int count_ = 0;
    int message_ = 0;
    LoneAmpersands lone_;
};

// Runs the one-pass decoding on `line`; false when it gave up (the line,
// `count` and `message` are then as they were).
template <EscapedBytes kEscaped>
bool decodeAndWrapInOnePass(std::string& line, int& count, int& message) {
    line.reserve(line.size() + platform::kScanPadding);
    int wrapped = 0;
    int lone = 0;
    const bool done = platform::rebuildInPlaceIf(line, [&](std::string& out) {
        // Room for the line, a few wraps and the chunk past the end; a line
        // with more wraps grows it.
        const std::size_t room = line.size() + 64 + platform::kScanPadding;
        if (out.size() < room) out.resize(room);
        OnePassDecoding pass(line, out);
        if (!pass.template run<kEscaped>()) return false;
        wrapped = pass.count();
        lone = pass.message();
        return true;
    });
    if (!done) return false;
    count = wrapped;
    if (lone != 0) message = lone;
    return true;
}

}  // namespace

int wrapRemainingEntities(std::string& line, int& message) {
    if (std::memchr(line.data(), '&', line.size()) == nullptr) return 0;
    const std::string_view text = line;
    // The entities to wrap are found first.
    EntitySpans& entities = spans();
    LoneAmpersands lone;
    std::size_t wrappedUpTo = 0;
    for (std::size_t amp = text.find('&'); amp != std::string_view::npos;
         amp = text.find('&', amp + 1)) {
        if (amp < wrappedUpTo) continue;  // inside an entity already wrapped
        std::size_t semicolon = text.substr(amp + 1, kMaxEntitySpan).find(';');
        if (semicolon == std::string_view::npos) {
            lone.check(text.substr(0, amp), amp + 1 < text.size() && text[amp + 1] == ' ', message);
            continue;
        }
        wrappedUpTo = amp + 1 + semicolon + 1;
        entities.emplace_back(amp, wrappedUpTo);
    }
    return wrapSpans(line, entities);
}

int decodeAndWrapEntities(std::string& line, int& message) {
    int count = 0;
    if (decodeAndWrapInOnePass<EscapedBytes::Kept>(line, count, message)) return count;
    // An "&" with another in its reach may see decoded text there: the
    // decoded line is searched again.
    decodeEntitiesForMarkup(line);
    return wrapRemainingEntities(line, message);
}

bool escapeDecodeAndWrapEntities(std::string& line, int& count, int& message) {
    if (decodeAndWrapInOnePass<EscapedBytes::Stop>(line, count, message)) return true;
    if (!frame::escapeRtf(line)) return false;
    count = decodeAndWrapEntities(line, message);
    return true;
}

}  // namespace tessel::markup
