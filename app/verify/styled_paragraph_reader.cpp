#include "verify/styled_paragraph_reader.h"

#include <algorithm>
#include <new>
#include <string_view>

#include "frame/return_codes.h"

namespace tessel::verify {

namespace {

// A positive result of the sink pauses the reader after each paragraph.
constexpr int kPauseAfterParagraph = 1;

constexpr std::string_view kRtfSignature = "{\\rtf";
// The annotation of a "\uN" fallback (frame/rtf_reader.h) in UTF-8.
constexpr std::string_view kAnchor = "\xEF\xBF\xB9";
constexpr std::string_view kAnnotationEnd = "\xEF\xBF\xBB";

std::size_t utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

int readStyles(const std::string& path, StyleSheet& sheet) {
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Binary)) return frame::kCannotOpenInput;
    char start[5] = {};
    std::size_t got = input.read(start, sizeof start);
    if (std::string_view(start, got) != kRtfSignature) return frame::kNotAnRtfFile;
    input.close();
    // The style sheet from the document's first byte on.
    if (!input.open(path, platform::StreamMode::Binary)) return frame::kCannotOpenInput;
    frame::StreamByteSource source(input);
    sheet = readStyleSheet(source);
    return 0;
}

}  // namespace

StyledParagraphReader::StyledParagraphReader(const std::string& path) {
    try {
        if (int code = readStyles(path, sheet_); code != 0) {
            fail(code);
            return;
        }
        if (!input_.open(path, platform::StreamMode::Binary)) {
            fail(frame::kCannotOpenInput);
            return;
        }
        source_ = std::make_unique<frame::StreamByteSource>(input_);
        frame::RtfParagraphSink& sink = *this;
        frame::RtfStyleObserver& observer = *this;
        reader_ = std::make_unique<frame::RtfReader>(*source_, sink);
        reader_->observeStyles(&observer);
        changes_.emplace_back(0, style_);
    } catch (const std::bad_alloc&) {
        fail(frame::kOutOfMemory);
    }
}

StyledParagraphReader::~StyledParagraphReader() = default;

void StyledParagraphReader::fail(int code) {
    error_ = code;
    finished_ = true;
}

bool StyledParagraphReader::next(StyledParagraph& out) {
    if (finished_) return false;
    out.clear();
    target_ = &out;
    int result = 0;
    try {
        result = reader_->read();
    } catch (const std::bad_alloc&) {
        result = frame::kOutOfMemory;
    }
    target_ = nullptr;
    if (result == kPauseAfterParagraph) return true;
    if (result < 0) {
        fail(result);
    } else {
        finished_ = true;
    }
    return false;
}

void StyledParagraphReader::documentCodePage(int codePage) {
    if (documentCodePage_ == 0) documentCodePage_ = codePage;
}

void StyledParagraphReader::characterStyle(std::int32_t style, std::size_t offset) {
    style_ = style;
    auto at = static_cast<std::uint32_t>(offset);
    // Reset and set again at one place: a new group of the same style.
    if (!changes_.empty() && changes_.back().first == at) {
        // A protected style this paragraph switched on, and off again before
        // any of its text was shown: the run's text is hidden.
        std::int32_t before = changes_.back().second;
        // (Before the first text the style sheet's definitions pass by.)
        bool setHere = (changes_.size() > 1 || !firstCarried_) && (paragraphs_ > 0 || at > 0);
        if (setHere && before != style && before != frame::kNoCharacterStyle &&
            isProtected(sheet_.role(before))) {
            ++vanished_;
        }
        if (changes_.size() == 1) firstCarried_ = false;
        changes_.back().second = style;
    } else {
        changes_.emplace_back(at, style);
    }
}

int StyledParagraphReader::paragraph(std::string& line, bool lineEnd) {
    if (target_ == nullptr) return 0;
    target_->raw.swap(line);
    target_->lineEnd = lineEnd;
    fillParagraph(*target_);
    target_->number = ++paragraphs_;
    changes_.clear();
    changes_.emplace_back(0, style_);
    firstCarried_ = true;
    vanished_ = 0;
    return kPauseAfterParagraph;
}

// The text without annotations and the runs, from the raw line and the
// style changes.
void StyledParagraphReader::fillParagraph(StyledParagraph& out) {
    std::string& raw = out.raw;
    std::size_t count = changes_.size();
    mapped_.assign(count, 0);
    if (raw.find(kAnchor) == std::string::npos) {
        // Nothing annotated: the text is the raw text, which is not kept.
        out.text.swap(out.raw);
        out.raw.clear();
        for (std::size_t i = 0; i < count; ++i) mapped_[i] = changes_[i].first;
    } else {
        // Plain stretches go over in one piece; each annotation leaves its
        // character.
        out.text.reserve(raw.size());
        std::size_t next = 0;
        std::size_t at = 0;
        auto copyTo = [&](std::size_t end) {
            while (next < count && changes_[next].first <= end) {
                mapped_[next] = static_cast<std::uint32_t>(
                    out.text.size() + (std::max<std::size_t>(changes_[next].first, at) - at));
                ++next;
            }
            out.text.append(raw, at, end - at);
            at = end;
        };
        while (at < raw.size()) {
            std::size_t anchor = raw.find(kAnchor, at);
            if (anchor == std::string::npos) anchor = raw.size();
            copyTo(anchor);
            if (anchor == raw.size()) break;
            while (next < count && changes_[next].first <= anchor) {
                mapped_[next++] = static_cast<std::uint32_t>(out.text.size());
            }
            std::size_t character = anchor + kAnchor.size();
            std::size_t length =
                character < raw.size() ? utf8Length(static_cast<unsigned char>(raw[character])) : 0;
            out.text.append(raw, character, length);
            std::size_t end = raw.find(kAnnotationEnd, character);
            at = end == std::string::npos ? raw.size() : end + kAnnotationEnd.size();
        }
        while (next < count) mapped_[next++] = static_cast<std::uint32_t>(out.text.size());
    }
    out.vanishedRuns = vanished_;
    auto size = static_cast<std::uint32_t>(out.text.size());
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t begin = std::min(mapped_[i], size);
        std::uint32_t end = i + 1 < count ? std::min(mapped_[i + 1], size) : size;
        if (end <= begin) continue;
        RunRole role = changes_[i].second == frame::kNoCharacterStyle
                           ? RunRole::Text
                           : sheet_.role(changes_[i].second);
        out.runs.push_back(Run{role, begin, end});
    }
    out.continuesRun = firstCarried_ && !out.runs.empty() && out.runs.front().begin == 0 &&
                       isProtected(out.runs.front().role) && count > 0 &&
                       changes_.front().second != frame::kNoCharacterStyle &&
                       sheet_.role(changes_.front().second) == out.runs.front().role;
}

}  // namespace tessel::verify
