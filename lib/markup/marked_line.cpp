#include "markup/marked_line.h"

#include <algorithm>

#include "resources/rtf_texts.h"

namespace tessel::markup {

namespace res = tessel::resources;

namespace {

// A line end inside a tag continued over lines, as the job wrote it.
constexpr std::string_view kLineBreakMarker = res::kParagraphEnd;

}  // namespace

void MarkedLine::prependCarried(const std::string& carried) {
    source_.insert(0, carried);
    reserveChunkSlack();
    sourceMarkersEnd_ = carried.size();
    hasCarried_ = true;
}

void MarkedLine::grow(std::size_t extra) {
    result_.resize(std::max(written_ + extra, result_.size() * 2));
}

void MarkedLine::copyUpTo(std::size_t end) {
    if (end > copied_) put(source_.data() + copied_, end - copied_);
    copied_ = end;
}

// Replaces each marker in [from, to) of `text` by a blank; returns how many.
std::size_t MarkedLine::replaceMarkers(std::string& text, std::size_t from, std::size_t to) {
    if (from >= to) return 0;
    std::size_t offset = std::string_view(text).substr(from, to - from).find(kLineBreakMarker);
    if (offset == std::string_view::npos) return 0;
    std::size_t found = from + offset;
    std::size_t write = found;
    std::size_t read = found;
    std::size_t count = 0;
    while (read < to) {
        if (read + kLineBreakMarker.size() <= to &&
            text.compare(read, kLineBreakMarker.size(), kLineBreakMarker) == 0) {
            text[write++] = ' ';
            read += kLineBreakMarker.size();
            ++count;
        } else {
            text[write++] = text[read++];
        }
    }
    text.erase(write, to - write);
    return count;
}

void MarkedLine::joinCarriedLines(std::size_t& tagStart, std::size_t& namePos,
                                  std::size_t& tagEnd) {
    constexpr std::size_t kShrink = kLineBreakMarker.size() - 1;
    if (resultMarkersFrom_ < written_) {
        std::size_t count = replaceMarkers(result_, resultMarkersFrom_, written_);
        written_ -= count * kShrink;
    }
    resultMarkersFrom_ = written_;
    if (copied_ >= sourceMarkersEnd_) return;

    std::size_t before = replaceMarkers(source_, copied_, tagStart) * kShrink;
    tagStart -= before;
    namePos -= before;
    tagEnd -= before;
    sourceMarkersEnd_ -= before;
    std::size_t inside = replaceMarkers(source_, tagStart, tagEnd) * kShrink;
    tagEnd -= inside;
    sourceMarkersEnd_ -= std::min(sourceMarkersEnd_, inside);
}

std::string MarkedLine::finish(std::size_t end) {
    copyUpTo(end);
    copied_ = source_.size();
    result_.resize(written_);
    written_ = 0;
    std::string done;
    done.swap(result_);
    return done;
}

}  // namespace tessel::markup
