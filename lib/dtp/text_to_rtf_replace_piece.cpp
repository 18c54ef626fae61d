#include "dtp/text_to_rtf_replace_piece.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "parser/ss_block_pool.h"
#include "platform/byte_scan.h"
#include "platform/spare_buffer.h"
#include "resources/markup_framework_texts.h"
#include "resources/rtf_texts.h"

namespace tessel::dtp {

namespace {

// Byte -> index of its escape + 1 (0: written unchanged). Applying the
// replacements one after the other, each never rescanning inserted text,
// equals one pass with this table: no inserted text holds a byte that a later
// replacement handles.
constexpr std::array<std::uint8_t, 256> makeEscapeIndex() {
    std::array<std::uint8_t, 256> index{};
    std::uint8_t position = 0;
    for (const auto& escape : resources::kConverterRtfEscapes) {
        index[static_cast<unsigned char>(escape.byte)] = ++position;
    }
    return index;
}

constexpr std::array<std::uint8_t, 256> kEscapeIndex = makeEscapeIndex();

using StopTable = std::array<bool, 256>;

// The escaped bytes.
constexpr StopTable makeEscapeStops() {
    StopTable stops{};
    for (std::size_t c = 0; c < 256; ++c) stops[c] = kEscapeIndex[c] != 0;
    return stops;
}

// The bytes a scan of text on one line stops at: the escaped ones and those
// that end a line or need translation (LF is both).
constexpr StopTable makeLineStops() {
    StopTable stops = makeEscapeStops();
    stops['\r'] = stops['\x1A'] = true;
    return stops;
}

constexpr StopTable kEscapeStops = makeEscapeStops();
constexpr StopTable kLineStops = makeLineStops();

// What the chunk test below marks: every stop of both tables and a few rare
// bytes besides (the other control bytes, "|" and 0x98 to 0x9F), which the
// tables then pass over. Four tests instead of one per stop.
constexpr bool isMarked(unsigned char c) {
    return c < 0x20 || c == '\\' || static_cast<unsigned char>(c - '{') < 3 ||
           static_cast<unsigned char>(c - 0x91) < 16;
}

constexpr bool marksCoverStops() {
    for (std::size_t c = 0; c < 256; ++c) {
        if (kLineStops[c] && !isMarked(static_cast<unsigned char>(c))) return false;
    }
    return true;
}
static_assert(marksCoverStops(), "the chunk test must mark every stop");

platform::detail::ChunkMask marks(platform::detail::Chunk chunk) {
    using namespace platform::detail;
    return bytesInRange<0x00, 0x20>(chunk) | bytesEqual(chunk, '\\') | bytesInRange<'{', 3>(chunk) |
           bytesInRange<0x91, 16>(chunk);
}

// Index of the first byte of text[from, size) that `stops` holds, or
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
            if (marked >= first && stops[data[marked]]) return marked;
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
        if (stops[data[i]]) return i;
    }
    return size;
}

// Index of the first escaped byte of text[from, size), or text.size().
std::size_t nextEscaped(std::string_view text, std::size_t from) {
    return nextStop(text, from, text.size(), kEscapeStops);
}

// The same for text on one line, which stops at line ends too.
std::size_t nextLineStop(std::string_view text, std::size_t from, std::size_t readable) {
    return nextStop(text, from, readable, kLineStops);
}

// Appends `text` escaped to `out`; text[0, first) holds no escaped byte.
void appendEscapedFrom(std::string& out, std::string_view text, std::size_t first) {
    std::size_t plainFrom = 0;
    for (std::size_t i = first; i < text.size(); i = nextEscaped(text, i + 1)) {
        out.append(text, plainFrom, i - plainFrom);
        out +=
            resources::kConverterRtfEscapes[kEscapeIndex[static_cast<unsigned char>(text[i])] - 1]
                .replacement;
        plainFrom = i + 1;
    }
    out.append(text, plainFrom, text.size() - plainFrom);
}

void appendTagRun(std::string& out, std::string_view opening, std::string_view text,
                  bool dropLineEnds) {
    out += opening;
    if (dropLineEnds && text.find('\n') != std::string_view::npos) {
        appendConverterRtfEscaped(out, withoutLineEnds(text));
    } else {
        appendConverterRtfEscaped(out, text);
    }
    out += resources::kTagClose;
}

bool appendLineTagRun(std::string& out, std::string_view opening, std::string_view text,
                      std::size_t readable) {
    out += opening;
    if (!appendConverterRtfEscapedLine(out, text, readable)) return false;
    out += resources::kTagClose;
    return true;
}

}  // namespace

void appendConverterRtfEscaped(std::string& out, std::string_view text) {
    appendEscapedFrom(out, text, nextEscaped(text, 0));
}

bool appendConverterRtfEscapedLine(std::string& out, std::string_view text, std::size_t readable) {
    std::size_t plainFrom = 0;
    for (std::size_t i = nextLineStop(text, 0, readable); i < text.size();
         i = nextLineStop(text, i + 1, readable)) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n' || kEscapeIndex[byte] == 0) return false;
        out.append(text, plainFrom, i - plainFrom);
        out += resources::kConverterRtfEscapes[kEscapeIndex[byte] - 1].replacement;
        plainFrom = i + 1;
    }
    out.append(text, plainFrom, text.size() - plainFrom);
    return true;
}

void escapeConverterRtf(std::string& text) {
    std::size_t first = nextEscaped(text, 0);
    if (first == text.size()) return;
    platform::rebuildInPlace(text, [&](std::string& escaped) {
        escaped.reserve(text.size() + text.size() / 8 + 16);
        appendEscapedFrom(escaped, text, first);
    });
}

std::string withoutLineEnds(std::string_view text) {
    std::string joined;
    joined.reserve(text.size());
    for (char c : text) {
        if (c != '\n') joined += c;
    }
    return joined;
}

void* CTextToRTFReplacePiece::operator new(std::size_t size) {
    return parser::allocatePooledBlock(size);
}

void CTextToRTFReplacePiece::operator delete(void* memory, std::size_t size) {
    parser::releasePooledBlock(memory, size);
}

std::string CTextToRTFReplacePiece::replacementFor(std::string_view sourceText) const {
    std::string out;
    appendReplacement(out, sourceText);
    return out;
}

bool CTextToRTFReplacePiece::appendLineReplacement(std::string& out, std::string_view sourceText,
                                                   std::size_t readable) const {
    // Text on one line has no line end to drop: the joined kinds write it as
    // the others do.
    switch (kind_) {
        case kRtfPieceInternal:
        case kRtfPieceJoinedInternal:
            return appendLineTagRun(out, resources::kInternalTagOpen, sourceText, readable);
        case kRtfPieceExternal:
        case kRtfPieceJoinedExternal:
            return appendLineTagRun(out, resources::kExternalTagOpen, sourceText, readable);
        case kRtfPieceJoinedText:
            return appendConverterRtfEscapedLine(out, sourceText, readable);
        default:
            return CReplacePiece::appendLineReplacement(out, sourceText, readable);
    }
}

void CTextToRTFReplacePiece::appendReplacement(std::string& out,
                                               std::string_view sourceText) const {
    switch (kind_) {
        case kRtfPieceReplacementText:
            appendConverterRtfEscaped(out, replacementText());
            return;
        case kRtfPieceInternal:
            return appendTagRun(out, resources::kInternalTagOpen, sourceText, false);
        case kRtfPieceExternal:
            return appendTagRun(out, resources::kExternalTagOpen, sourceText, false);
        case kRtfPieceJoinedText:
            appendConverterRtfEscaped(out, withoutLineEnds(sourceText));
            return;
        case kRtfPieceJoinedInternal:
            return appendTagRun(out, resources::kInternalTagOpen, sourceText, true);
        case kRtfPieceJoinedExternal:
            return appendTagRun(out, resources::kExternalTagOpen, sourceText, true);
        default:  // kRtfPieceRemoved and unknown kinds: nothing
            return;
    }
}

}  // namespace tessel::dtp
