#include "dtp/text_to_rtf_replace_piece.h"

#include <algorithm>
#include <array>

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
    const auto& index = escapeIndex();
    std::size_t plainFrom = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint8_t entry = index[static_cast<unsigned char>(text[i])];
        if (entry == 0) continue;
        out.append(text, plainFrom, i - plainFrom);
        out += resources::kConverterRtfEscapes[entry - 1].replacement;
        plainFrom = i + 1;
    }
    out.append(text, plainFrom, text.size() - plainFrom);
}

void escapeConverterRtf(std::string& text) {
    const auto& index = escapeIndex();
    bool anyEscape = std::any_of(text.begin(), text.end(),
                                 [&](char c) { return index[static_cast<unsigned char>(c)] != 0; });
    if (!anyEscape) return;
    platform::rebuildInPlace(text, [&](std::string& escaped) {
        escaped.reserve(text.size() + text.size() / 8 + 16);
        appendConverterRtfEscaped(escaped, text);
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
