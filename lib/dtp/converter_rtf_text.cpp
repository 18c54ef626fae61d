#include "dtp/converter_rtf_text.h"

#include <array>

#include "platform/byte_scan.h"
#include "platform/spare_buffer.h"
#include "resources/markup_framework_texts.h"

namespace tessel::dtp {

namespace {

// What a scan does at each byte of its text: 0 passes it over, 1 to 13
// write the escape of that index + 1, and the two values below start a
// line end or make the scan fail. Applying the replacements one after the
// other, each never rescanning inserted text, equals one pass with the
// escape entries: no inserted text holds a byte that a later replacement
// handles.
using StopTable = std::array<std::uint8_t, 256>;
constexpr std::uint8_t kStopLineEnd = 0xFE;
constexpr std::uint8_t kStopFails = 0xFF;

// The escaped bytes.
constexpr StopTable makeEscapeStops() {
    StopTable stops{};
    std::uint8_t position = 0;
    for (const auto& escape : resources::kConverterRtfEscapes) {
        stops[static_cast<unsigned char>(escape.byte)] = ++position;
    }
    return stops;
}

// Text on one line: the bytes that end a line or need translation (LF is
// both) make it fail.
constexpr StopTable makeLineStops() {
    StopTable stops = makeEscapeStops();
    stops['\n'] = stops['\r'] = stops['\x1A'] = kStopFails;
    return stops;
}

// Text between pieces: a line end is handled by the text scan below; in text
// as the input's buffer holds it, a CR starts one (CR LF) and Ctrl-Z fails.
constexpr StopTable makeTextStops(bool buffered) {
    StopTable stops = makeEscapeStops();
    stops['\n'] = kStopLineEnd;
    if (buffered) {
        stops['\r'] = kStopLineEnd;
        stops['\x1A'] = kStopFails;
    }
    return stops;
}

constexpr StopTable kEscapeStops = makeEscapeStops();
constexpr StopTable kLineStops = makeLineStops();
constexpr StopTable kTextStops = makeTextStops(false);
constexpr StopTable kBufferedTextStops = makeTextStops(true);

// What the chunk test below marks: every stop of the tables and a few rare
// bytes besides (the other control bytes, "|" and 0x98 to 0x9F), which the
// tables then pass over. Four tests instead of one per stop.
constexpr bool isMarked(unsigned char c) {
    return c < 0x20 || c == '\\' || static_cast<unsigned char>(c - '{') < 3 ||
           static_cast<unsigned char>(c - 0x91) < 16;
}

constexpr bool marksCoverStops() {
    for (std::size_t c = 0; c < 256; ++c) {
        const bool stop = kEscapeStops[c] != 0 || kLineStops[c] != 0 || kBufferedTextStops[c] != 0;
        if (stop && !isMarked(static_cast<unsigned char>(c))) return false;
    }
    return true;
}
static_assert(marksCoverStops(), "the chunk test must mark every stop");

platform::detail::ChunkMask marks(platform::detail::Chunk chunk) {
    using namespace platform::detail;
    return bytesInRange<0x00, 0x20>(chunk) | bytesEqual(chunk, '\\') | bytesInRange<'{', 3>(chunk) |
           bytesInRange<0x91, 16>(chunk);
}

// Index of the first byte of text[from, size) that is a stop of `stops`, or
// text.size(). Text between tags is mostly plain: it is tested a chunk at a
// time, and whole chunks past its end while the `readable` bytes from its
// start hold them (marks past the end are dropped); then the last chunk of
// the text, whose marks before `from` or before the bytes already tested are
// dropped, or a text shorter than a chunk byte by byte.
std::size_t nextStop(std::string_view text, std::size_t from, std::size_t readable,
                     const StopTable& stops) {
    using namespace platform::detail;
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::size_t size = text.size();
    // The first stop among the marks of the chunk at `at`, at or after
    // `first` and before the end of the text, or the text's size.
    auto stopIn = [&](std::size_t at, std::size_t first) {
        for (ChunkMask found = marks(loadChunk(data + at)); found != 0; found &= found - 1) {
            const std::size_t marked = at + firstMarked(found);
            if (marked >= size) return size;
            if (marked >= first && stops[data[marked]] != 0) return marked;
        }
        return size;
    };
    std::size_t i = from;
    for (; i < size && readable - i >= kChunkSize; i += kChunkSize) {
        if (std::size_t stop = stopIn(i, i); stop != size) return stop;
    }
    if (i >= size) return size;
    if (size >= kChunkSize) return stopIn(size - kChunkSize, i);
    for (; i < size; ++i) {
        if (stops[data[i]] != 0) return i;
    }
    return size;
}

// Appends `text` escaped to `out` as `stops` (a table without line end
// stops) says, from its first stop at `first`; false, with `out` possibly
// changed, at a stop that fails.
template <const StopTable& stops>
bool appendEscapedFrom(std::string& out, std::string_view text, std::size_t first,
                       std::size_t readable) {
    std::size_t plainFrom = 0;
    for (std::size_t i = first; i < text.size(); i = nextStop(text, i + 1, readable, stops)) {
        const std::uint8_t stop = stops[static_cast<unsigned char>(text[i])];
        if (stop == kStopFails) return false;
        out.append(text, plainFrom, i - plainFrom);
        out += resources::kConverterRtfEscapes[stop - 1].replacement;
        plainFrom = i + 1;
    }
    out.append(text, plainFrom, text.size() - plainFrom);
    return true;
}

// The same from the text's start.
template <const StopTable& stops>
bool appendEscaped(std::string& out, std::string_view text, std::size_t readable) {
    return appendEscapedFrom<stops>(out, text, nextStop(text, 0, readable, stops), readable);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Classes of the plain ASCII locale; bytes from 0x80 are in none. Tested
// at every line end of joined text: comparisons rather than calls.
constexpr bool isAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr bool isAsciiAlnumOrPunct(char c) {
    return c > ' ' && c < 0x7F;
}

constexpr std::size_t kNoEnd = std::string_view::npos;

// Text between pieces escaped, and with line joining each single line break
// between running words (and the blanks around it) made one blank, in one
// scan: the escapes and line ends are found by the same chunk tests. With
// `kBuffered` the bytes are as the input's buffer holds them: line ends are
// LF or CR LF (the CR dropped, as a read in text mode drops it), and the
// scan may count line ends to find where the text ends.
template <bool kBuffered>
class TextScan {
  public:
    TextScan(std::string& out, std::string_view bytes, bool joinLines)
        : out_(out), bytes_(bytes), joinLines_(joinLines) {}

    // Converts the text that ends at `end`, or (`end` kNoEnd) at `column` of
    // the line after the `lineEnds`-th line end. Returns the text's length,
    // or kNoEnd when the bytes do not hold it whole, or hold a lone CR or
    // Ctrl-Z, or a line end on the line the text ends on.
    std::size_t run(std::size_t end, std::uint32_t lineEnds, std::uint32_t column) {
        static constexpr const StopTable& stops = kBuffered ? kBufferedTextStops : kTextStops;
        const bool counting = end == kNoEnd;
        end_ = end;
        std::string_view scanned = bytes_.substr(0, counting ? bytes_.size() : end);
        for (std::size_t at = 0;;) {
            const std::size_t i = nextStop(scanned, at, bytes_.size(), stops);
            if (i >= scanned.size()) break;
            const std::uint8_t stop = stops[static_cast<unsigned char>(bytes_[i])];
            if (stop == kStopFails) return kNoEnd;
            if (stop != kStopLineEnd) {
                appendPlain(i);
                out_ += resources::kConverterRtfEscapes[stop - 1].replacement;
                plainFrom_ = at = i + 1;
                continue;
            }
            const std::size_t length = lineEndLength(i);
            if (length == 0) return kNoEnd;
            if (counting) {
                if (end_ != kNoEnd || !lastLineStarts(i + length, lineEnds, column)) return kNoEnd;
                if (end_ != kNoEnd) scanned = bytes_.substr(0, end_);
            }
            at = lineEnd(i, length);
            if (at == kNoEnd) return kNoEnd;
        }
        if (end_ == kNoEnd) return kNoEnd;
        appendPlain(end_);
        return end_;
    }

  private:
    // Length of the line end at `at`: 1 for LF, 2 for CR LF in buffered
    // bytes, 0 for anything else.
    std::size_t lineEndLength(std::size_t at) const {
        if (at >= bytes_.size()) return 0;
        if (bytes_[at] == '\n') return 1;
        const bool pair =
            kBuffered && bytes_[at] == '\r' && at + 1 < bytes_.size() && bytes_[at + 1] == '\n';
        return pair ? 2 : 0;
    }

    // Counts a line end, ahead of the line that starts at `lineStart`; at
    // the last one, the text's end becomes known. False when the bytes do
    // not hold it.
    bool lastLineStarts(std::size_t lineStart, std::uint32_t& lineEnds, std::uint32_t column) {
        if (--lineEnds != 0) return true;
        if (column == 0 || bytes_.size() - lineStart < column - 1) return false;
        end_ = lineStart + column - 1;
        return true;
    }

    // Writes the line end at `at`, `length` bytes, or joins the lines
    // around it; returns where the scan goes on (kNoEnd: the bytes end
    // before the text).
    std::size_t lineEnd(std::size_t at, std::size_t length) {
        const std::size_t next = at + length;
        // A line end right after one that was looked at is never joined.
        if (joinLines_ && at >= handled_) {
            std::size_t before = at;
            while (before > handled_ && isBlank(bytes_[before - 1])) --before;
            const std::size_t bound = end_ == kNoEnd ? bytes_.size() : end_;
            std::size_t after = next;
            while (after < bound && isBlank(bytes_[after])) ++after;
            if (after == bytes_.size() && end_ == kNoEnd) return kNoEnd;
            const bool hasAfter = after < bound;
            if (const std::size_t following = hasAfter ? lineEndLength(after) : 0) {
                handled_ = after + following;
            } else if (before > handled_ && hasAfter && isAsciiAlnumOrPunct(bytes_[before - 1]) &&
                       isAsciiAlnum(bytes_[after])) {
                takeBackTo(before);
                out_ += ' ';
                plainFrom_ = handled_ = after;
                return after;
            } else {
                handled_ = after;
            }
        }
        appendPlain(at);
        out_ += kLineEndEscape;
        plainFrom_ = next;
        return next;
    }

    // Makes the output end where bytes_[before] would start: the plain
    // bytes up to it are appended, or the blanks from it that were written
    // already (a tab escaped) are taken back.
    void takeBackTo(std::size_t before) {
        if (before >= plainFrom_) return appendPlain(before);
        std::size_t written = 0;
        for (std::size_t i = before; i < plainFrom_; ++i) {
            const std::uint8_t stop = kEscapeStops[static_cast<unsigned char>(bytes_[i])];
            written += stop == 0 ? 1 : resources::kConverterRtfEscapes[stop - 1].replacement.size();
        }
        out_.resize(out_.size() - written);
    }

    void appendPlain(std::size_t to) { out_.append(bytes_.data() + plainFrom_, to - plainFrom_); }

    static constexpr std::string_view kLineEndEscape =
        resources::kConverterRtfEscapes[kEscapeStops['\n'] - 1].replacement;

    std::string& out_;
    std::string_view bytes_;
    bool joinLines_;
    std::size_t end_ = kNoEnd;
    std::size_t plainFrom_ = 0;  // bytes before it are written
    std::size_t handled_ = 0;    // line joining has decided the bytes before it
};

}  // namespace

void appendConverterRtfEscaped(std::string& out, std::string_view text) {
    appendEscaped<kEscapeStops>(out, text, text.size());
}

bool appendConverterRtfEscapedLine(std::string& out, std::string_view text, std::size_t readable) {
    return appendEscaped<kLineStops>(out, text, readable);
}

void appendConverterRtfText(std::string& out, std::string_view text, bool joinLines) {
    TextScan<false>(out, text, joinLines).run(text.size(), 0, 0);
}

std::optional<std::size_t> appendConverterRtfTextAcrossLines(std::string& out,
                                                             std::string_view bytes,
                                                             std::uint32_t lineEnds,
                                                             std::uint32_t column, bool joinLines) {
    if (lineEnds == 0) return std::nullopt;
    const std::size_t size = TextScan<true>(out, bytes, joinLines).run(kNoEnd, lineEnds, column);
    if (size == kNoEnd) return std::nullopt;
    return size;
}

void escapeConverterRtf(std::string& text) {
    std::size_t first = nextStop(text, 0, text.size(), kEscapeStops);
    if (first == text.size()) return;
    platform::rebuildInPlace(text, [&](std::string& escaped) {
        escaped.reserve(text.size() + text.size() / 8 + 16);
        appendEscapedFrom<kEscapeStops>(escaped, text, first, text.size());
    });
}

}  // namespace tessel::dtp
