// The RTF reader's group state on its hot path: "{" saves it, "}" restores
// it, and the font and character style a group sets; a group read before is
// replayed from what its first reading left. Inlined into the reader's
// token loop; included by its sources only.
#pragma once

#include "frame/return_codes.h"
#include "frame/rtf_reader.h"
#include "frame/rtf_reader_bytes.h"

namespace tessel::frame {

using namespace rtf_bytes;

[[gnu::always_inline]] inline int RtfReader::push() {
    if (stack_.size() >= kMaxGroupDepth) return kRtfStackTooSmall;
    finishUnicode();
    flushLeadByte();
    stack_.push_back(group_);
    group_.state = State::Normal;
    return 0;
}

[[gnu::always_inline]] inline int RtfReader::pop() {
    if (stack_.empty()) return kRtfTooManyClosingBraces;
    finishUnicode();
    flushLeadByte();
    const GroupState& saved = stack_.back();
    bool leftFontTable = group_.inFontTable && !saved.inFontTable;
    // The style goes back through setCharacterStyle(), which tells the observer.
    std::int32_t style = saved.characterStyle;
    std::int32_t styleInGroup = group_.characterStyle;
    // So does the formatting, through setFormatting().
    std::uint8_t formatting = saved.formatting;
    std::uint8_t formattingInGroup = group_.formatting;
    group_ = saved;
    group_.characterStyle = styleInGroup;
    group_.formatting = formattingInGroup;
    stack_.pop_back();
    setCharacterStyle(style);
    if (formatting != formattingInGroup) setFormatting(formatting);
    // The fonts are known now: text before the table took the document's
    // code page for them. A group saved before the font table or a
    // document code page read inside it goes back to codings worked out
    // before them.
    if (leftFontTable || stack_.size() < staleCodingDepth_) {
        refreshCoding();
        staleCodingDepth_ = std::min(staleCodingDepth_, stack_.size());
    }
    if (stack_.size() == recordingDepth_) finishRecording();
    return stack_.empty() ? kDocumentClosed : 0;
}

[[gnu::always_inline]] inline void RtfReader::setFont(std::int32_t font) {
    // Documents switch between few fonts, most often back to the same one.
    if (font == group_.font && codingValid_) return;
    group_.font = font;
    group_.coding = codingOfFont(font);
    codingValid_ = true;
}

inline void RtfReader::setCharacterStyle(std::int32_t style) {
    if (style == group_.characterStyle) return;
    group_.characterStyle = style;
    if (recordingDepth_ != kNotRecording) recordStyleChange(style);
    if (styleObserver_ != nullptr) styleObserver_->characterStyle(style, line_.size());
}

// The group's text, with each style change reported where it came.
[[gnu::always_inline]] inline void RtfReader::applyReplay(const GroupReplays::Group& group) {
    if (styleObserver_ == nullptr) {
        appendReplayedText(group, 0, group.textLength);
        return;
    }
    std::size_t appended = 0;
    for (std::size_t i = 0; i < group.changeCount; ++i) {
        const RtfStyleChange& change = group.changes[i];
        appendReplayedText(group, appended, change.offset);
        appended = change.offset;
        styleObserver_->characterStyle(change.style, line_.size());
    }
    appendReplayedText(group, appended, group.textLength);
}

[[gnu::always_inline]] inline void RtfReader::appendReplayedText(const GroupReplays::Group& group,
                                                                 std::size_t from, std::size_t to) {
    GroupReplays::copyText(group, from, to, line_.room(to - from + GroupReplays::kReadPast));
    line_.commit(to - from);
}

}  // namespace tessel::frame
