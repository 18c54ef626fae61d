#include "dtp/text_to_rtf_replace_piece.h"

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
std::array<std::uint8_t, 256> makeEscapeIndex() {
    std::array<std::uint8_t, 256> index{};
    std::uint8_t position = 0;
    for (const auto& escape : resources::kConverterRtfEscapes) {
        index[static_cast<unsigned char>(escape.byte)] = ++position;
    }
    return index;
}

const std::array<std::uint8_t, 256>& escapeIndex() {
    static const std::array<std::uint8_t, 256> index = makeEscapeIndex();
    return index;
}

// The escaped bytes as the chunk scan below tests them: five ASCII bytes, the
// no-break space and the quotes and dashes 0x91 to 0x97.
constexpr bool isEscapedByte(unsigned char c) {
    return c == '\\' || c == '{' || c == '}' || c == '\t' || c == '\n' || c == 0xA0 ||
           static_cast<unsigned char>(c - 0x91) < 7;
}

constexpr bool scanMatchesEscapes() {
    std::size_t selected = 0;
    for (int c = 0; c < 256; ++c) selected += isEscapedByte(static_cast<unsigned char>(c)) ? 1 : 0;
    for (const auto& escape : resources::kConverterRtfEscapes) {
        if (!isEscapedByte(static_cast<unsigned char>(escape.byte))) return false;
    }
    return selected == std::size(resources::kConverterRtfEscapes);
}
static_assert(scanMatchesEscapes(), "the chunk scan must select exactly the escaped bytes");

// Index of the first escaped byte of text[from, size), or text.size(). Text
// between tags is mostly plain: it is scanned a chunk of bytes at a time.
std::size_t nextEscaped(std::string_view text, std::size_t from) {
    using platform::detail::bytesEqual;
    auto marks = [](platform::detail::Chunk chunk) {
        return bytesEqual(chunk, '\\') | bytesEqual(chunk, '{') | bytesEqual(chunk, '}') |
               bytesEqual(chunk, '\t') | bytesEqual(chunk, '\n') | bytesEqual(chunk, 0xA0) |
               platform::detail::bytesInRange<0x91, 7>(chunk);
    };
    auto isStop = [](std::uint8_t byte) { return isEscapedByte(byte); };
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data()) + from;
    return from + platform::detail::findFirst(data, text.size() - from, marks, isStop);
}

// Appends `text` escaped to `out`; text[0, first) holds no escaped byte.
void appendEscapedFrom(std::string& out, std::string_view text, std::size_t first) {
    const auto& index = escapeIndex();
    std::size_t plainFrom = 0;
    for (std::size_t i = first; i < text.size(); i = nextEscaped(text, i + 1)) {
        out.append(text, plainFrom, i - plainFrom);
        out += resources::kConverterRtfEscapes[index[static_cast<unsigned char>(text[i])] - 1]
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

}  // namespace

void appendConverterRtfEscaped(std::string& out, std::string_view text) {
    appendEscapedFrom(out, text, nextEscaped(text, 0));
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
