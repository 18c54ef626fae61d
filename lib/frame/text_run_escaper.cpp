#include "frame/text_run_escaper.h"

#include <algorithm>
#include <string_view>

namespace tessel::frame {

namespace {

namespace res = tessel::resources;

// The annotation of a "\uN" fallback (rtf_reader.h) in UTF-8: its fallback
// is the RTF's text for the target encoder, not the translator's.
constexpr std::string_view kAnchorUtf8 = "\xEF\xBF\xB9";
constexpr std::string_view kAnnotationEndUtf8 = "\xEF\xBF\xBB";
// What ends the name of a paragraph tag that begins with "@".
constexpr std::string_view kParagraphTagEnd = "= ";

const res::TextEscape* escapeOf(const res::TextEscapeTable& table, char c) {
    for (const auto& escape : table.escapes) {
        if (escape.character == c) return &escape;
    }
    return nullptr;
}

// An escape written as a code of its own ("<64>"), not a doubled bracket.
bool closesCode(std::string_view written) {
    return written.size() > 2 && written.front() == '<' && written.back() == '>';
}

}  // namespace

const res::TextEscapeTable* textEscapeTable(int functionCode) {
    for (const auto& table : res::kTextEscapeTables) {
        if (table.functionCode == functionCode) return &table;
    }
    return nullptr;
}

TextRunEscaper::TextRunEscaper(const res::TextEscapeTable& table, RtfStyleSheet sheet)
    : table_(table), sheet_(std::move(sheet)) {
    for (const auto& escape : table_.escapes) escapable_ += escape.character;
    if (table_.tableEscapes != nullptr) {
        for (const auto& escape : table_.tableEscapes->escapes) escapable_ += escape.character;
    }
    if (table_.functionCode == res::kPageMakerIndexStringTable.functionCode) {
        for (const auto& escape : res::kPageMakerIndexStringTable.escapes) {
            escapable_ += escape.character;
        }
    }
    changes_.emplace_back(0, style_);
}

void TextRunEscaper::characterStyle(std::int32_t style, std::size_t offset) {
    style_ = style;
    // Reset and set again at one place: the last one holds.
    if (!changes_.empty() && changes_.back().first == offset) {
        changes_.back().second = style;
    } else {
        changes_.emplace_back(offset, style);
    }
}

void TextRunEscaper::collectRuns(std::size_t size) {
    runs_.clear();
    for (std::size_t i = 0; i < changes_.size(); ++i) {
        std::size_t begin = std::min(changes_[i].first, size);
        std::size_t end = i + 1 < changes_.size() ? std::min(changes_[i + 1].first, size) : size;
        if (end <= begin) continue;
        bool tag = changes_[i].second != kNoCharacterStyle &&
                   sheet_.tagStyle(changes_[i].second) != TagStyle::None;
        runs_.push_back({begin, end, tag});
    }
}

// PageMaker: a text run right after a tag run that ends in a double quote
// is the quoted string of an index entry.
const res::TextEscapeTable& TextRunEscaper::tableAfter(std::size_t run) const {
    if (table_.functionCode != res::kPageMakerIndexStringTable.functionCode || run == 0) {
        return table_;
    }
    const Run& before = runs_[run - 1];
    return before.tag && out_.size() > 0 && out_.back() == '"' ? res::kPageMakerIndexStringTable
                                                               : table_;
}

// The first byte written for the byte of `line` at `at` (0: none).
char TextRunEscaper::writtenByteAt(const std::string& line, std::size_t at) const {
    if (at >= line.size()) return 0;
    // The runs follow each other without overlapping: the one holding `at`
    // is the last that begins at or before it (found in logarithmic time, as
    // a paragraph of one long line has a run every few bytes).
    auto run = std::upper_bound(runs_.begin(), runs_.end(), at,
                                [](std::size_t pos, const Run& r) { return pos < r.begin; });
    if (run == runs_.begin()) return line[at];
    --run;
    if (at >= run->end || run->tag) return line[at];
    const res::TextEscape* escape = escapeOf(table_, line[at]);
    if (escape == nullptr || escape->when != res::EscapeWhen::Always || escape->written.empty()) {
        return line[at];
    }
    return escape->written.front();
}

bool TextRunEscaper::escapes(const res::TextEscape& escape, const res::TextEscapeTable& table,
                             const std::string& line, std::size_t at) const {
    switch (escape.when) {
        case res::EscapeWhen::Always:
            return true;
        case res::EscapeWhen::BeforeMarkup: {
            char next = writtenByteAt(line, at + 1);
            return next != 0 && table.markupStarts.find(next) != std::string_view::npos;
        }
        case res::EscapeWhen::OpensParagraphTag:
            return lastParagraphTagEnd_ != std::string::npos && lastParagraphTagEnd_ > at;
        case res::EscapeWhen::BesideSeparator: {
            if (!out_.empty() && out_.back() == escape.character) return true;
            char next = writtenByteAt(line, at + 1);
            return next != 0 && table.markupStarts.find(next) != std::string_view::npos;
        }
    }
    return true;
}

void TextRunEscaper::escapeRun(const std::string& line, std::size_t run,
                               std::vector<char32_t>& unescaped) {
    const Run& r = runs_[run];
    const res::TextEscapeTable& table = tableAfter(run);
    for (std::size_t at = r.begin; at < r.end; ++at) {
        if (line.compare(at, kAnchorUtf8.size(), kAnchorUtf8) == 0) {
            std::size_t end = line.find(kAnnotationEndUtf8, at);
            end = end == std::string::npos ? line.size() : end + kAnnotationEndUtf8.size();
            out_.append(line, at, end - at);
            afterCode_ = false;
            at = end - 1;
            continue;
        }
        const char c = line[at];
        const res::TextEscape* escape = escapeOf(table, c);
        if (escape == nullptr && inTable_ && !inCell_ && table_.tableEscapes != nullptr) {
            escape = escapeOf(*table_.tableEscapes, c);
            if (escape != nullptr && !escapes(*escape, *table_.tableEscapes, line, at)) {
                escape = nullptr;
            }
            if (escape != nullptr) {
                out_ += escape->written;
                afterCode_ = closesCode(escape->written);
                continue;
            }
        }
        bool applies = escape != nullptr && escapes(*escape, table, line, at);
        if (!applies) {
            out_ += c;
            afterCode_ = false;
        } else if (escape->written.empty()) {
            out_ += res::kUnescapableCharacterFallback;
            afterCode_ = false;
            auto character = static_cast<char32_t>(static_cast<unsigned char>(c));
            if (std::find(unescaped.begin(), unescaped.end(), character) == unescaped.end()) {
                unescaped.push_back(character);
            }
        } else {
            std::string_view written = afterCode_ && !escape->writtenAfterCode.empty()
                                           ? escape->writtenAfterCode
                                           : escape->written;
            out_ += written;
            afterCode_ = closesCode(written);
        }
    }
}

void TextRunEscaper::noteTableTag(std::string_view tag) {
    auto begins = [tag](std::string_view start) {
        return !start.empty() && tag.starts_with(start);
    };
    if (begins(table_.tableStart)) inTable_ = true;
    if (begins(table_.tableEnd)) inTable_ = inCell_ = false;
    if (begins(table_.cellStart)) inCell_ = true;
    if (begins(table_.cellEnd)) inCell_ = false;
}

void TextRunEscaper::escape(std::string& line, std::vector<char32_t>& unescaped) {
    if (line.find_first_of(escapable_) != std::string::npos) {
        collectRuns(line.size());
        // Whether a paragraph tag's end follows a byte is told by the last one.
        lastParagraphTagEnd_ = line.rfind(kParagraphTagEnd);
        out_.clear();
        afterCode_ = false;
        for (std::size_t run = 0; run < runs_.size(); ++run) {
            if (runs_[run].tag) {
                std::string_view tag(line.data() + runs_[run].begin,
                                     runs_[run].end - runs_[run].begin);
                out_ += tag;
                afterCode_ = out_.back() == '>';
                noteTableTag(tag);
            } else {
                escapeRun(line, run, unescaped);
            }
        }
        line.swap(out_);
    }
    changes_.clear();
    changes_.emplace_back(0, style_);
}

}  // namespace tessel::frame
