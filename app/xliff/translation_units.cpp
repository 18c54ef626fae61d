#include "xliff/translation_units.h"

#include <algorithm>
#include <array>
#include <optional>

#include "verify/paragraph_check.h"
#include "xliff/xml_text.h"

namespace tessel::xliff {

using verify::RunRole;

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool hasWords(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return !isBlank(c); });
}

// HTML elements that never close: an unpaired one is a tag of its own, not
// half of a pair split over two units.
constexpr std::array<std::string_view, 18> kVoidElements = {
    "area",  "base",    "basefont", "br",   "col",  "embed", "frame",  "hr",    "img",
    "input", "isindex", "keygen",   "link", "meta", "param", "source", "track", "wbr"};

bool isVoidElement(std::string_view name) {
    return std::find(kVoidElements.begin(), kVoidElements.end(), name) != kVoidElements.end();
}

void addCode(TranslationUnit& unit, std::string_view text, RunRole role) {
    unit.parts.push_back({unit.codes.size(), {}});
    InlineCode code;
    code.text = std::string(text);
    code.role = role;
    code.id = static_cast<std::uint32_t>(unit.codes.size() + 1);
    unit.codes.push_back(std::move(code));
}

// Text, with each character that XML 1.0 cannot hold (control characters
// but tab, line feed and carriage return; U+FFFE and U+FFFF) as a code of
// its own, so the XLIFF stays well-formed and the merge puts it back.
void addText(TranslationUnit& unit, std::string_view text) {
    std::size_t begin = 0;
    auto candidate = [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0xEF;
    };
    for (std::size_t at = 0; at < text.size();) {
        // Only a control character or a lead byte 0xEF can be unfit.
        at = static_cast<std::size_t>(
            std::find_if(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), candidate) -
            text.begin());
        if (at == text.size()) break;
        std::size_t length = 0;
        if (!isXmlUnfit(text.substr(at), length)) {
            ++at;
            continue;
        }
        if (at > begin)
            unit.parts.push_back({UnitPart::kText, std::string(text.substr(begin, at - begin))});
        addCode(unit, text.substr(at, length), RunRole::Text);
        at += length;
        begin = at;
    }
    if (begin < text.size() || text.empty()) {
        unit.parts.push_back({UnitPart::kText, std::string(text.substr(begin))});
    }
}

}  // namespace

std::string TranslationUnit::plainText() const {
    std::string text;
    for (const UnitPart& part : parts) {
        if (!part.isCode()) text += part.text;
    }
    return text;
}

UnitSegmenter::UnitSegmenter(verify::PairStyle pairs, bool htmlVoidElements)
    : pairs_(pairs), htmlVoidElements_(htmlVoidElements) {}

void UnitSegmenter::paragraph(const verify::StyledParagraph& paragraph, DocumentSink& sink) {
    pieces_.clear();
    for (const verify::Run& run : paragraph.runs) {
        std::string_view text = paragraph.runText(run);
        if (text.empty()) continue;
        if (run.role == RunRole::External) {
            block(pieces_, paragraph.number, sink);
            pieces_.clear();
            sink.skeleton(run.role, text);
        } else if (run.role == RunRole::Text && !pieces_.empty() &&
                   pieces_.back().role == RunRole::Text) {
            // Text runs that touch are one stretch of text (they lie side by
            // side in the paragraph's text).
            pieces_.back().text = std::string_view(pieces_.back().text.data(),
                                                   pieces_.back().text.size() + text.size());
        } else {
            pieces_.push_back({run.role, text});
        }
    }
    block(pieces_, paragraph.number, sink);
    sink.paragraphEnd(paragraph.lineEnd);
}

// The pieces between two external runs: a unit from the first word to the
// last (codes at its edges included), blanks and pieces outside it to the
// skeleton; no unit when there is no word.
void UnitSegmenter::block(const std::vector<Piece>& pieces, std::size_t paragraph,
                          DocumentSink& sink) {
    auto words = [](const Piece& piece) {
        return piece.role != RunRole::Text || hasWords(piece.text);
    };
    bool anyText = std::any_of(pieces.begin(), pieces.end(), [](const Piece& piece) {
        return piece.role == RunRole::Text && hasWords(piece.text);
    });
    if (!anyText) {
        for (const Piece& piece : pieces) sink.skeleton(piece.role, piece.text);
        return;
    }
    auto first = static_cast<std::size_t>(std::find_if(pieces.begin(), pieces.end(), words) -
                                          pieces.begin());
    std::size_t last = pieces.size() - 1;
    while (!words(pieces[last])) --last;
    for (std::size_t i = 0; i < first; ++i) sink.skeleton(pieces[i].role, pieces[i].text);

    TranslationUnit unit;
    unit.id = std::to_string(++units_);
    unit.paragraph = paragraph;
    std::string_view trailing;
    for (std::size_t i = first; i <= last; ++i) {
        std::string_view text = pieces[i].text;
        if (pieces[i].role == RunRole::Text) {
            if (i == first) {
                std::size_t begin = text.find_first_not_of(" \t");
                sink.skeleton(RunRole::Text, text.substr(0, begin));
                text.remove_prefix(begin);
            }
            if (i == last) {
                std::size_t end = text.find_last_not_of(" \t") + 1;
                trailing = text.substr(end);
                text = text.substr(0, end);
            }
            addText(unit, text);
        } else {
            addCode(unit, text, pieces[i].role);
        }
    }
    pairCodes(unit);
    sink.unit(unit);
    if (!trailing.empty()) sink.skeleton(RunRole::Text, trailing);
    for (std::size_t i = last + 1; i < pieces.size(); ++i) {
        sink.skeleton(pieces[i].role, pieces[i].text);
    }
}

// Opening and closing tags of one name pair up inside the unit, the
// innermost first; a closing tag left over closes what another unit opened,
// an opening one (that can close) opens what another unit closes.
void UnitSegmenter::pairCodes(TranslationUnit& unit) const {
    if (pairs_ == verify::PairStyle::None) return;
    std::vector<std::string> closers;
    if (pairs_ == verify::PairStyle::DollarClosers) {
        for (const InlineCode& code : unit.codes) {
            if (code.text.size() >= 3 && code.text.front() == '<' && code.text.ends_with("$>")) {
                closers.push_back(code.text.substr(1, code.text.size() - 3));
            }
        }
        std::sort(closers.begin(), closers.end(),
                  [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    }
    struct Opened {
        std::string name;
        std::size_t code;
    };
    std::vector<Opened> open;
    for (std::size_t i = 0; i < unit.codes.size(); ++i) {
        // Only internal tags pair up; a do-not-translate run or a kept
        // character is a code of its own.
        if (unit.codes[i].role != RunRole::Internal) continue;
        std::optional<verify::PairName> name =
            verify::pairNameOf(unit.codes[i].text, pairs_, closers);
        if (!name) continue;
        if (!name->closes) {
            open.push_back({name->name, i});
            continue;
        }
        auto match = std::find_if(open.rbegin(), open.rend(),
                                  [&](const Opened& o) { return o.name == name->name; });
        if (match == open.rend()) {
            unit.codes[i].kind = CodeKind::IsolatedClose;
            continue;
        }
        InlineCode& opener = unit.codes[match->code];
        opener.kind = CodeKind::Open;
        unit.codes[i].kind = CodeKind::Close;
        unit.codes[i].id = opener.id;
        open.erase(std::next(match).base(), open.end());
    }
    // Opening tags left: in HTML a pair split over units, unless the element
    // never closes; in the other formats a tag of its own (their style tags
    // hold until the next one, closing or not).
    for (const Opened& left : open) {
        if (htmlVoidElements_ && !isVoidElement(left.name)) {
            unit.codes[left.code].kind = CodeKind::IsolatedOpen;
        }
    }
    // Ids run 1, 2, ... over the codes that have one of their own.
    std::uint32_t next = 0;
    std::vector<std::uint32_t> renumbered(unit.codes.size() + 1, 0);
    for (InlineCode& code : unit.codes) {
        if (code.kind == CodeKind::Close) {
            code.id = renumbered[code.id];
        } else {
            renumbered[code.id] = ++next;
            code.id = next;
        }
    }
}

void DocumentFingerprint::mix(std::string_view bytes) {
    for (char c : bytes) {
        hash_ ^= static_cast<unsigned char>(c);
        hash_ *= 1099511628211ull;
    }
}

void DocumentFingerprint::add(const verify::StyledParagraph& paragraph) {
    for (const verify::Run& run : paragraph.runs) {
        char role = static_cast<char>('0' + static_cast<int>(run.role));
        mix(std::string_view(&role, 1));
        mix(paragraph.runText(run));
        mix(std::string_view("\x1f", 1));
    }
    mix(paragraph.lineEnd ? "\x1e" : "\x1d");
}

std::string DocumentFingerprint::text() const {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string digits(16, '0');
    for (int i = 0; i < 16; ++i) digits[15 - i] = kDigits[(hash_ >> (4 * i)) & 0xF];
    return digits;
}

}  // namespace tessel::xliff
