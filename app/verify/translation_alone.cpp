#include "verify/translation_alone.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <vector>

#include "frame/dtp_text_headers.h"
#include "verify/paragraph_check.h"
#include "verify/styled_paragraph_reader.h"

namespace tessel::verify {

namespace {

// Paragraphs of the file looked at for the format.
constexpr std::size_t kDetectionParagraphs = 8;

enum class Family { Html, Dtp, Ventura, Plain };

Family familyOf(const TargetChoice& target) {
    std::string_view key = target.target->key;
    if (key == "pagemaker" || key == "quark") return Family::Dtp;
    if (key == "ventura" || key == "ventura4") return Family::Ventura;
    if (key == "text") return Family::Plain;
    return Family::Html;
}

bool oneOf(char c, std::string_view set) {
    return set.find(c) != std::string_view::npos;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Typographic quotes, as word processors' AutoCorrect types them for the
// straight ones of a tag's attribute values.
constexpr std::string_view kDoubleQuotes[] = {"\xE2\x80\x9C", "\xE2\x80\x9D", "\xE2\x80\x9E"};
constexpr std::string_view kSingleQuotes[] = {"\xE2\x80\x98", "\xE2\x80\x99", "\xE2\x80\x9A",
                                              "\xC2\xAB", "\xC2\xBB"};

// A typographic double quote anywhere, or a single quote or guillemet
// where a straight quote delimits a value (after "=", before ">").
bool holdsTypographicQuotes(std::string_view tag) {
    for (std::string_view quote : kDoubleQuotes) {
        if (tag.find(quote) != std::string_view::npos) return true;
    }
    for (std::string_view quote : kSingleQuotes) {
        for (std::size_t at = tag.find(quote); at != std::string_view::npos;
             at = tag.find(quote, at + 1)) {
            std::size_t after = at + quote.size();
            if ((at > 0 && tag[at - 1] == '=') || (after < tag.size() && tag[after] == '>')) {
                return true;
            }
        }
    }
    return false;
}

// The mark-up writes a source's byte-order mark (U+FEFF, or for UTF-16 the
// two characters that stand for its bytes) as a protected run of its own,
// which touches the header's run.
std::string_view withoutByteOrderMark(std::string_view tag) {
    for (std::string_view mark : {frame::kUtf8ByteOrderMark, frame::kKeptUtf16LittleEndianMark,
                                  frame::kKeptUtf16BigEndianMark}) {
        if (tag.starts_with(mark)) return tag.substr(mark.size());
    }
    return tag;
}

// Has `tag`, the text of touching protected runs of one role, the form the
// format's mark-up gives such runs?
bool hasTagForm(std::string_view tag, RunRole role, Family family) {
    tag = withoutByteOrderMark(tag);
    tag = trimmed(tag);
    if (tag.empty()) return true;
    char first = tag.front();
    char last = tag.back();
    switch (family) {
        case Family::Html:
            // Tags, entities, the pieces around a translatable attribute
            // value, SGML's null end tags and marked sections. External
            // runs also hold comments and scripts: not looked at.
            if (role != RunRole::Internal) return true;
            if (!oneOf(first, "<&\"'/]") || !oneOf(last, ">;\"'/[")) return false;
            if ((last == '"' || last == '\'') && tag.find('=') == std::string_view::npos) {
                return false;
            }
            if ((first == '"' || first == '\'') && !oneOf(last, ">\"'")) return false;
            return true;
        case Family::Dtp:
            // Tags, escaped characters ("\<"), the quoted parts of index
            // entries; external: the header, style definitions and
            // applications.
            if (role == RunRole::Internal) {
                if (first == '\\') return true;
                return oneOf(first, "<\"") && oneOf(last, ">\"");
            }
            if (role == RunRole::External) return oneOf(first, "<@") && oneOf(last, ">:]");
            return true;
        case Family::Ventura:
            // Codes and their closing ">", table separators; paragraph tags.
            if (role == RunRole::Internal) return oneOf(first, "<>,");
            if (role == RunRole::External) return oneOf(first, "@,<");
            return true;
        case Family::Plain:
            return true;
    }
    return true;
}

// A paragraph tag, which only a paragraph's start may hold.
bool isParagraphTag(std::string_view tag, const TargetChoice& target) {
    std::string_view key = target.target->key;
    if (key == "ventura" || key == "ventura4") {
        return tag.size() > 4 && tag.front() == '@' && tag.ends_with(" = ");
    }
    if (key == "pagemaker") return tag.size() > 4 && tag.starts_with("<@") && tag.ends_with(":>");
    if (key == "quark") {
        return tag.size() > 2 && tag.front() == '@' && tag.back() == ':' &&
               tag.find_first_of("<>=[") == std::string_view::npos;
    }
    return false;
}

class AloneCheck {
  public:
    AloneCheck(const std::string& path, const AloneOptions& options, FindingSink& sink)
        : path_(path), options_(options), sink_(sink), reader_(path) {}

    PairOutcome run();

  private:
    bool read(StyledParagraph& paragraph);
    void check(const StyledParagraph& paragraph, const StyledParagraph* next);
    void checkRuns(const StyledParagraph& paragraph, const StyledParagraph* next);
    void checkPairs(const StyledParagraph& paragraph);
    void emit(const StyledParagraph& paragraph);
    void unreadable(int code, std::size_t paragraph);

    const std::string& path_;
    const AloneOptions& options_;
    FindingSink& sink_;
    StyledParagraphReader reader_;
    std::optional<TargetChoice> target_;
    Family family_ = Family::Plain;
    std::optional<ParagraphCheck> check_;
    std::vector<Finding> findings_;
    std::vector<Finding> scratch_;
    std::map<std::string, long> depths_;  // open pairs of the document by name
    std::vector<std::string> noClosers_;
    // Hidden runs: paragraphs holding them, the first of them.
    std::size_t hiddenParagraphs_ = 0;
    Finding hidden_{};
    std::size_t last_ = 0;
    // The role of the run that ends the paragraph before, Text for none.
    RunRole previousEndsWith_ = RunRole::Text;
    PairOutcome outcome_;
};

bool AloneCheck::read(StyledParagraph& paragraph) {
    if (!reader_.next(paragraph)) return false;
    last_ = paragraph.number;
    return true;
}

PairOutcome AloneCheck::run() {
    if (reader_.error() != 0) {
        unreadable(reader_.error(), 0);
        return outcome_;
    }
    // The first paragraphs show the format; they are checked once it is
    // known.
    std::vector<StyledParagraph> ahead(1);
    while (ahead.size() <= kDetectionParagraphs && read(ahead.back())) ahead.emplace_back();
    ahead.pop_back();
    target_ = options_.target;
    if (!target_) {
        std::vector<const StyledParagraph*> first;
        for (const StyledParagraph& paragraph : ahead) first.push_back(&paragraph);
        target_ = detectTarget(first.data(), first.size());
    }
    static constexpr TagRules kNoTags{PairStyle::None, "", false};
    check_.emplace(target_ ? target_->target->tags : kNoTags, false);
    if (target_) {
        family_ = familyOf(*target_);
        outcome_.target = target_->name();
    }
    // Each paragraph is checked with the next one at hand: a run that goes
    // on into it is a piece of a longer tag.
    std::size_t at = 0;
    StyledParagraph current;
    StyledParagraph next;
    bool haveCurrent = false;
    if (at < ahead.size()) {
        current = std::move(ahead[at++]);
        haveCurrent = true;
    } else {
        haveCurrent = read(current);
    }
    while (haveCurrent) {
        bool haveNext = false;
        if (at < ahead.size()) {
            next = std::move(ahead[at++]);
            haveNext = true;
        } else {
            haveNext = read(next);
        }
        check(current, haveNext ? &next : nullptr);
        if (!haveNext) break;
        std::swap(current, next);
    }
    if (hiddenParagraphs_ > 0) {
        hidden_.places = hiddenParagraphs_;
        findings_.push_back(std::move(hidden_));
        ++outcome_.findings;
        sink_.finding(std::move(findings_.back()));
        findings_.clear();
    }
    if (reader_.error() != 0) unreadable(reader_.error(), last_ + 1);
    outcome_.translatedParagraphs = last_;
    return outcome_;
}

void AloneCheck::check(const StyledParagraph& paragraph, const StyledParagraph* next) {
    findings_.clear();
    scratch_.clear();
    // Of the comparison's findings only tags typed as text are told without
    // the original (markup characters only against it: the source's own
    // text may hold them).
    check_->findUnprotectedTags(paragraph, scratch_);
    for (Finding& finding : scratch_) findings_.push_back(std::move(finding));
    checkPairs(paragraph);
    checkRuns(paragraph, next);
    previousEndsWith_ =
        !paragraph.runs.empty() && paragraph.runs.back().end == paragraph.text.size()
            ? paragraph.runs.back().role
            : RunRole::Text;
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) { return a.column < b.column; });
    if (paragraph.vanishedRuns > 0 && hiddenParagraphs_++ == 0) {
        hidden_.kind = FindingKind::HiddenTags;
        hidden_.file = path_;
        hidden_.paragraph = paragraph.number;
        hidden_.column = 0;
        hidden_.quote = quoteOf(paragraph.text);
        if (options_.keepText) hidden_.text = paragraph.text;
    }
    emit(paragraph);
}

// Runs of one role that touch, as the mark-up wrote one tag or several;
// the pieces of a run that goes on from the paragraph before or into the
// next one are left alone.
void AloneCheck::checkRuns(const StyledParagraph& paragraph, const StyledParagraph* next) {
    if (!target_) return;
    const std::vector<Run>& runs = paragraph.runs;
    std::string_view text = paragraph.text;
    ColumnCounter columns;  // the runs come in order
    for (std::size_t i = 0; i < runs.size();) {
        std::size_t j = i;
        while (j + 1 < runs.size() && runs[j + 1].role == runs[i].role) ++j;
        RunRole role = runs[i].role;
        std::uint32_t begin = runs[i].begin;
        std::uint32_t end = runs[j].end;
        // A tag over two lines is one run in each paragraph.
        bool continued =
            (i == 0 && begin == 0 && (paragraph.continuesRun || previousEndsWith_ == role)) ||
            (j + 1 == runs.size() && end == text.size() && next != nullptr &&
             (next->continuesRun || (!next->runs.empty() && next->runs.front().begin == 0 &&
                                     next->runs.front().role == role)));
        i = j + 1;
        if (!isProtected(role) || role == RunRole::DoNotTranslate) continue;
        std::string_view tag = text.substr(begin, end - begin);
        // A paragraph tag has its whole form wherever it stands.
        bool afterText = text.substr(0, begin).find_first_not_of(" \t") != std::string_view::npos;
        if (afterText && role == RunRole::External && isParagraphTag(tag, *target_)) {
            Finding finding{};
            finding.kind = FindingKind::ParagraphTagInLine;
            finding.paragraph = paragraph.number;
            finding.column = columns.columnOf(text, begin);
            finding.role = role;
            finding.subject = std::string(tag);
            findings_.push_back(std::move(finding));
        }
        if (continued) continue;
        bool form = hasTagForm(tag, role, family_);
        bool quotes = form && family_ != Family::Plain && holdsTypographicQuotes(tag);
        if (!form || quotes) {
            Finding finding{};
            finding.kind = FindingKind::NotATag;
            finding.paragraph = paragraph.number;
            finding.column = columns.columnOf(text, begin);
            finding.role = role;
            finding.subject = std::string(tag);
            if (quotes) finding.other = "quotes";
            findings_.push_back(std::move(finding));
        }
    }
}

// A closing tag of HTML or SGML while no tag of its name is open anywhere
// before it in the document: its opening tag was deleted, or the two were
// swapped. (Opening tags left open are common in sources and not told.)
void AloneCheck::checkPairs(const StyledParagraph& paragraph) {
    if (!target_ || target_->target->tags.pairs != PairStyle::SlashClosers) return;
    ColumnCounter columns;  // the runs come in order
    for (const Run& run : paragraph.runs) {
        if (run.role != RunRole::Internal) continue;
        std::string_view tag = paragraph.runText(run);
        // Touching runs may hold several tags.
        for (std::size_t at = tag.find('<'); at != std::string_view::npos;
             at = tag.find('<', at + 1)) {
            // A tag whose attribute value is translatable ends in a run of
            // its own after the value.
            std::size_t close = tag.find('>', at);
            std::string_view one =
                close == std::string_view::npos ? tag.substr(at) : tag.substr(at, close + 1 - at);
            auto name = pairNameOf(one, PairStyle::SlashClosers, noClosers_);
            if (!name) continue;
            long& depth = depths_[name->name];
            if (!name->closes) {
                ++depth;
                continue;
            }
            if (depth > 0) {
                --depth;
                continue;
            }
            Finding finding{};
            finding.kind = FindingKind::UnbalancedPair;
            finding.paragraph = paragraph.number;
            finding.column = columns.columnOf(paragraph.text, run.begin + at);
            finding.role = RunRole::Internal;
            finding.subject = std::string(one);
            findings_.push_back(std::move(finding));
        }
    }
}

void AloneCheck::emit(const StyledParagraph& paragraph) {
    if (findings_.empty()) return;
    std::string quote = quoteOf(paragraph.text);
    for (Finding& finding : findings_) {
        finding.file = path_;
        finding.quote = quote;
        if (options_.keepText) finding.text = paragraph.text;
        ++outcome_.findings;
        sink_.finding(std::move(finding));
    }
    findings_.clear();
}

void AloneCheck::unreadable(int code, std::size_t paragraph) {
    Finding finding{};
    finding.kind = FindingKind::Unreadable;
    finding.file = path_;
    finding.paragraph = paragraph;
    finding.code = code;
    ++outcome_.findings;
    sink_.finding(std::move(finding));
}

}  // namespace

PairOutcome checkTranslationAlone(const std::string& translated, const AloneOptions& options,
                                  FindingSink& sink) {
    AloneCheck check(translated, options, sink);
    return check.run();
}

}  // namespace tessel::verify
