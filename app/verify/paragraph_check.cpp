#include "verify/paragraph_check.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "verify/sequence_diff.h"

namespace tessel::verify {

namespace {

constexpr long kUnmatched = -1;
// Beyond these sizes the exact methods give way to simpler ones.
constexpr std::size_t kMaxRunEdits = 400;
constexpr std::size_t kMaxDecompositionWork = 200000;
constexpr std::size_t kMaxPairedChanges = 2000;
constexpr std::size_t kOrderWindow = 64;
// A tag typed as text: "<" and a tag's first character, up to ">" within
// this many bytes.
constexpr std::size_t kMaxTagLength = 256;

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isAsciiAlnum(char c) {
    return isAsciiLetter(c) || (c >= '0' && c <= '9');
}
bool startsTag(char c) {
    return isAsciiLetter(c) || c == '/' || c == '!' || c == '@' || c == '$' || c == '*' ||
           c == '#' || c == '?' || c == '%' || c == '\\';
}

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return lower;
}

// The length of the tag typed as text at `at` ("<" ... ">"), 0 for none.
std::size_t tagLengthAt(std::string_view text, std::size_t at) {
    if (at + 1 >= text.size() || text[at] != '<' || !startsTag(text[at + 1])) return 0;
    std::size_t limit = std::min(text.size(), at + kMaxTagLength);
    for (std::size_t i = at + 1; i < limit; ++i) {
        if (text[i] == '>') return i + 1 - at;
        if (text[i] == '<' || text[i] == '\n') return 0;
    }
    return 0;
}

// A Ventura paragraph tag at the start of `text`: "@", a name, " = ".
std::size_t paragraphTagLength(std::string_view text) {
    if (text.empty() || text[0] != '@') return 0;
    std::size_t equals = text.find(" = ");
    if (equals == std::string_view::npos || equals < 2 || equals > 64) return 0;
    return equals + 3;
}

// The translatable text of a paragraph: its runs of no protected style,
// those that touch taken together.
void plainSegments(const StyledParagraph& paragraph, std::vector<Run>& segments) {
    segments.clear();
    for (const Run& run : paragraph.runs) {
        if (run.role != RunRole::Text) continue;
        if (!segments.empty() && segments.back().end == run.begin) {
            segments.back().end = run.end;
        } else {
            segments.push_back(run);
        }
    }
}

}  // namespace

ParagraphCheck::ParagraphCheck(const TagRules& tags, bool strict) : tags_(tags), strict_(strict) {
    for (char c : tags_.markupCharacters) markup_[static_cast<unsigned char>(c)] = true;
    interesting_ = markup_;
    interesting_['<'] = true;
}

std::string_view ParagraphCheck::srcText(const Atom& atom) const {
    return std::string_view(source_->text).substr(atom.begin, atom.end - atom.begin);
}

std::string_view ParagraphCheck::trText(const Atom& atom) const {
    return std::string_view(translated_->text).substr(atom.begin, atom.end - atom.begin);
}

Finding ParagraphCheck::make(FindingKind kind, std::size_t offset) const {
    Finding finding{};
    finding.kind = kind;
    finding.paragraph = translated_->number;
    finding.sourceParagraph = source_ != nullptr ? source_->number : 0;
    finding.column = offset == std::numeric_limits<std::size_t>::max()
                         ? 0
                         : columns_.columnOf(translated_->text, offset);
    return finding;
}

// Both passes start from the two paragraphs' atoms and nothing reported.
void ParagraphCheck::start(const StyledParagraph* source, const StyledParagraph& translated) {
    static const StyledParagraph kNoParagraph;
    source_ = source != nullptr ? source : &kNoParagraph;
    translated_ = &translated;
    columns_ = {};
    sourceAtoms(*source_);
    translatedAtoms(translated);
    used_.clear();
    names_.clear();
}

namespace {

void sortByColumnFrom(std::vector<Finding>& out, std::size_t first) {
    std::stable_sort(out.begin() + static_cast<long>(first), out.end(),
                     [](const Finding& a, const Finding& b) { return a.column < b.column; });
}

}  // namespace

void ParagraphCheck::compare(const StyledParagraph* source, const StyledParagraph& translated,
                             std::vector<Finding>& out) {
    std::size_t first = out.size();
    start(source, translated);
    // The common case: the same runs in the same order, so nothing moved,
    // changed or came apart.
    if (!sameRunsInOrder()) {
        match();
        findLostStyles(out);
        pairChanged(out);
        reportRest(out);
        checkPairs(out);
    }
    checkPlainText(out);
    sortByColumnFrom(out, first);
}

void ParagraphCheck::findUnprotectedTags(const StyledParagraph& translated,
                                         std::vector<Finding>& out) {
    std::size_t first = out.size();
    start(nullptr, translated);
    if (!sameRunsInOrder()) {
        match();
        findLostStyles(out);
    }
    std::vector<Finding> plain;
    checkPlainText(plain);
    for (Finding& finding : plain) {
        if (finding.kind == FindingKind::UnprotectedTag) out.push_back(std::move(finding));
    }
    sortByColumnFrom(out, first);
}

bool ParagraphCheck::sameRunsInOrder() const {
    if (src_.size() != tr_.size()) return false;
    for (std::size_t i = 0; i < src_.size(); ++i) {
        if (src_[i].role != tr_[i].role || srcText(src_[i]) != trText(tr_[i])) return false;
    }
    return true;
}

void ParagraphCheck::sourceAtoms(const StyledParagraph& source) {
    src_.clear();
    for (const Run& run : source.runs) {
        if (isProtected(run.role)) src_.push_back({run.role, run.begin, run.end});
    }
}

// The translation's runs of one role that touch are one text; it is cut
// into source runs of that role: the source's runs in their order where they
// make it up, else any source runs that make it up, else as many as can be
// found, the rest between them kept as runs of their own.
void ParagraphCheck::translatedAtoms(const StyledParagraph& translated) {
    tr_.clear();
    nextSource_ = 0;
    const std::vector<Run>& runs = translated.runs;
    for (std::size_t i = 0; i < runs.size();) {
        RunRole role = runs[i].role;
        std::size_t j = i;
        while (j + 1 < runs.size() && runs[j + 1].role == role) ++j;
        if (isProtected(role)) {
            std::uint32_t begin = runs[i].begin;
            std::string_view text =
                std::string_view(translated.text).substr(begin, runs[j].end - begin);
            if (!cutInSourceOrder(text, role, begin) && !decompose(text, role, begin)) {
                cutAsFarAsKnown(text, role, begin);
            }
        }
        i = j + 1;
    }
}

// The source's runs of `role` from some place on, in order, make up `text`.
bool ParagraphCheck::cutInSourceOrder(std::string_view text, RunRole role, std::uint32_t base) {
    // Where the cut was in order, the next one most often begins: look
    // ahead of it, then back.
    for (std::size_t pass = 0; pass < 2; ++pass) {
        std::size_t from =
            pass == 0 ? nextSource_ : nextSource_ - std::min(nextSource_, kOrderWindow);
        std::size_t to = pass == 0 ? std::min(src_.size(), nextSource_ + kOrderWindow)
                                   : std::min(nextSource_, src_.size());
        for (std::size_t k = from; k < to; ++k) {
            std::size_t at = 0;
            std::size_t l = k;
            while (l < src_.size() && src_[l].role == role && at < text.size()) {
                std::string_view piece = srcText(src_[l]);
                if (text.compare(at, piece.size(), piece) != 0) break;
                at += piece.size();
                ++l;
            }
            if (at != text.size() || l == k) continue;
            for (std::size_t m = k; m < l; ++m) {
                auto size = src_[m].end - src_[m].begin;
                tr_.push_back({role, base, base + size});
                base += size;
            }
            nextSource_ = l;
            return true;
        }
    }
    return false;
}

// Known source runs where they stand in `text`, longest first; the bytes
// between them are runs of their own.
void ParagraphCheck::cutAsFarAsKnown(std::string_view text, RunRole role, std::uint32_t base) {
    std::sort(dictionary_.begin(), dictionary_.end(),
              [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
    std::size_t unknownFrom = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::string_view known;
        if (text.size() * dictionary_.size() <= kMaxDecompositionWork) {
            for (std::string_view word : dictionary_) {
                if (text.compare(at, word.size(), word) == 0) {
                    known = word;
                    break;
                }
            }
        }
        if (known.empty()) {
            ++at;
            continue;
        }
        if (at > unknownFrom) {
            tr_.push_back({role, static_cast<std::uint32_t>(base + unknownFrom),
                           static_cast<std::uint32_t>(base + at)});
        }
        tr_.push_back({role, static_cast<std::uint32_t>(base + at),
                       static_cast<std::uint32_t>(base + at + known.size())});
        at += known.size();
        unknownFrom = at;
    }
    if (unknownFrom < text.size()) {
        tr_.push_back({role, static_cast<std::uint32_t>(base + unknownFrom),
                       static_cast<std::uint32_t>(base + text.size())});
    }
}

// Cuts `text` into texts of source runs of `role`; false when it cannot.
// The dictionary of those texts stays for cutAsFarAsKnown.
bool ParagraphCheck::decompose(std::string_view text, RunRole role, std::uint32_t base) {
    dictionary_.clear();
    for (const Atom& atom : src_) {
        if (atom.role == role) dictionary_.push_back(srcText(atom));
    }
    if (dictionary_.empty() || text.empty()) return false;
    std::sort(dictionary_.begin(), dictionary_.end());
    dictionary_.erase(std::unique(dictionary_.begin(), dictionary_.end()), dictionary_.end());
    if (text.size() * dictionary_.size() > kMaxDecompositionWork) return false;
    constexpr std::uint32_t kUnreached = std::numeric_limits<std::uint32_t>::max();
    previous_.assign(text.size() + 1, kUnreached);
    previous_[0] = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (previous_[at] == kUnreached) continue;
        for (std::string_view word : dictionary_) {
            std::size_t end = at + word.size();
            if (end <= text.size() && previous_[end] == kUnreached &&
                text.compare(at, word.size(), word) == 0) {
                previous_[end] = static_cast<std::uint32_t>(at);
            }
        }
    }
    if (previous_[text.size()] == kUnreached) return false;
    std::size_t start = tr_.size();
    for (std::size_t end = text.size(); end > 0;) {
        std::size_t begin = previous_[end];
        tr_.push_back({role, static_cast<std::uint32_t>(base + begin),
                       static_cast<std::uint32_t>(base + end)});
        end = begin;
    }
    std::reverse(tr_.begin() + static_cast<long>(start), tr_.end());
    return true;
}

void ParagraphCheck::match() {
    srcMatch_.assign(src_.size(), kUnmatched);
    trMatch_.assign(tr_.size(), kUnmatched);
    srcHandled_.assign(src_.size(), false);
    trHandled_.assign(tr_.size(), false);
    if (strict_) {
        matchInOrder(RunRole::External, true);
    } else {
        // External runs keep their order; the others may move.
        matchInOrder(RunRole::External, false);
        matchByText(false);
    }
    // What is left with equal text on both sides has moved.
    matchByText(true);
}

// The longest common subsequence of the runs of `role` (of every role when
// `anyRole`), by role and text.
void ParagraphCheck::matchInOrder(RunRole role, bool anyRole) {
    std::vector<std::size_t> a;
    std::vector<std::size_t> b;
    for (std::size_t i = 0; i < src_.size(); ++i) {
        if (anyRole || src_[i].role == role) a.push_back(i);
    }
    for (std::size_t j = 0; j < tr_.size(); ++j) {
        if (anyRole || tr_[j].role == role) b.push_back(j);
    }
    auto equal = [&](std::size_t i, std::size_t j) {
        const Atom& x = src_[a[i]];
        const Atom& y = tr_[b[j]];
        return x.role == y.role && srcText(x) == trText(y);
    };
    auto pairs = commonSubsequence(a.size(), b.size(), equal, kMaxRunEdits);
    if (!pairs) return;  // left to the matching by text
    for (auto [i, j] : *pairs) {
        srcMatch_[a[i]] = static_cast<long>(b[j]);
        trMatch_[b[j]] = static_cast<long>(a[i]);
    }
}

// Pairs runs of equal role and text regardless of order: the first such
// run of the source with the first of the translation, and so on. With
// `onlyUnmatched` the pairs found are moves.
void ParagraphCheck::matchByText(bool onlyUnmatched) {
    auto key = [](RunRole role, std::string_view text) { return std::make_pair(role, text); };
    std::vector<std::size_t> a;
    std::vector<std::size_t> b;
    for (std::size_t i = 0; i < src_.size(); ++i) {
        if (srcMatch_[i] == kUnmatched && (onlyUnmatched || src_[i].role != RunRole::External)) {
            a.push_back(i);
        }
    }
    for (std::size_t j = 0; j < tr_.size(); ++j) {
        if (trMatch_[j] == kUnmatched && (onlyUnmatched || tr_[j].role != RunRole::External)) {
            b.push_back(j);
        }
    }
    std::stable_sort(a.begin(), a.end(), [&](std::size_t x, std::size_t y) {
        return key(src_[x].role, srcText(src_[x])) < key(src_[y].role, srcText(src_[y]));
    });
    std::stable_sort(b.begin(), b.end(), [&](std::size_t x, std::size_t y) {
        return key(tr_[x].role, trText(tr_[x])) < key(tr_[y].role, trText(tr_[y]));
    });
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        auto left = key(src_[a[i]].role, srcText(src_[a[i]]));
        auto right = key(tr_[b[j]].role, trText(tr_[b[j]]));
        if (left < right) {
            ++i;
        } else if (right < left) {
            ++j;
        } else {
            srcMatch_[a[i]] = static_cast<long>(b[j]);
            trMatch_[b[j]] = static_cast<long>(a[i]);
            if (onlyUnmatched) {
                srcHandled_[a[i]] = true;
                trHandled_[b[j]] = true;
            }
            ++i;
            ++j;
        }
    }
}

bool ParagraphCheck::isUsed(std::uint32_t begin, std::uint32_t end) const {
    for (const Range& range : used_) {
        if (begin < range.end && range.begin < end) return true;
    }
    return false;
}

// Moves, and source runs whose text stands in the translation's plain text:
// a run that lost its style.
void ParagraphCheck::findLostStyles(std::vector<Finding>& out) {
    for (std::size_t j = 0; j < tr_.size(); ++j) {
        if (!trHandled_[j]) continue;
        const Atom& atom = tr_[j];
        if (!strict_ && atom.role != RunRole::External) continue;
        Finding finding = make(FindingKind::MovedRun, atom.begin);
        finding.role = atom.role;
        finding.subject = std::string(trText(atom));
        out.push_back(std::move(finding));
    }
    std::string_view text = translated_->text;
    std::vector<Run> segments;
    plainSegments(*translated_, segments);
    for (std::size_t i = 0; i < src_.size(); ++i) {
        if (srcMatch_[i] != kUnmatched) continue;
        std::string_view wanted = srcText(src_[i]);
        for (const Run& run : segments) {
            std::string_view plain = text.substr(0, run.end);
            for (std::size_t at = plain.find(wanted, run.begin); at != std::string_view::npos;
                 at = plain.find(wanted, at + 1)) {
                auto begin = static_cast<std::uint32_t>(at);
                auto end = static_cast<std::uint32_t>(at + wanted.size());
                if (isUsed(begin, end)) continue;
                used_.push_back({begin, end});
                srcHandled_[i] = true;
                srcMatch_[i] = std::numeric_limits<long>::max();
                Finding finding = make(FindingKind::UnprotectedTag, at);
                finding.role = src_[i].role;
                finding.subject = std::string(wanted);
                out.push_back(std::move(finding));
                names_.push_back(srcText(src_[i]));
                break;
            }
            if (srcHandled_[i]) break;
        }
    }
}

// Unmatched runs of one role between the same matched external runs (of
// any runs with --strict): the translation changed the text of the run.
void ParagraphCheck::pairChanged(std::vector<Finding>& out) {
    auto gaps = [&](const std::vector<Atom>& atoms, const std::vector<long>& matches,
                    const std::vector<bool>& handled) {
        std::vector<long> gap(atoms.size(), 0);
        long anchors = 0;
        for (std::size_t i = 0; i < atoms.size(); ++i) {
            bool anchor = matches[i] != kUnmatched && !handled[i] &&
                          (strict_ || atoms[i].role == RunRole::External);
            gap[i] = anchor ? -1 : anchors;
            if (anchor) ++anchors;
        }
        return gap;
    };
    std::vector<long> srcGap = gaps(src_, srcMatch_, srcHandled_);
    std::vector<long> trGap = gaps(tr_, trMatch_, trHandled_);
    std::vector<std::size_t> open;
    for (std::size_t j = 0; j < tr_.size(); ++j) {
        if (trMatch_[j] == kUnmatched) open.push_back(j);
    }
    if (open.size() > kMaxPairedChanges) return;
    // First a run whose new text still holds the old one, then in order.
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < src_.size(); ++i) {
            if (srcMatch_[i] != kUnmatched) continue;
            bool gapMatters = strict_ || src_[i].role == RunRole::External;
            for (std::size_t& j : open) {
                if (j == std::numeric_limits<std::size_t>::max()) continue;
                if (tr_[j].role != src_[i].role) continue;
                if (gapMatters && trGap[j] != srcGap[i]) continue;
                if (pass == 0 && trText(tr_[j]).find(srcText(src_[i])) == std::string_view::npos) {
                    continue;
                }
                srcMatch_[i] = static_cast<long>(j);
                trMatch_[j] = static_cast<long>(i);
                Finding finding = make(FindingKind::ChangedRun, tr_[j].begin);
                finding.role = tr_[j].role;
                finding.subject = std::string(srcText(src_[i]));
                finding.other = std::string(trText(tr_[j]));
                out.push_back(std::move(finding));
                names_.push_back(srcText(src_[i]));
                names_.push_back(trText(tr_[j]));
                j = std::numeric_limits<std::size_t>::max();
                break;
            }
        }
    }
}

void ParagraphCheck::reportRest(std::vector<Finding>& out) {
    for (std::size_t i = 0; i < src_.size(); ++i) {
        if (srcMatch_[i] != kUnmatched) continue;
        Finding finding = make(FindingKind::MissingRun, std::numeric_limits<std::size_t>::max());
        finding.role = src_[i].role;
        finding.subject = std::string(srcText(src_[i]));
        out.push_back(std::move(finding));
        names_.push_back(srcText(src_[i]));
    }
    for (std::size_t j = 0; j < tr_.size(); ++j) {
        if (trMatch_[j] != kUnmatched) continue;
        Finding finding = make(FindingKind::AddedRun, tr_[j].begin);
        finding.role = tr_[j].role;
        finding.subject = std::string(trText(tr_[j]));
        out.push_back(std::move(finding));
        names_.push_back(trText(tr_[j]));
    }
}

std::optional<PairName> pairNameOf(std::string_view tag, PairStyle style,
                                   const std::vector<std::string>& closers) {
    if (tag.size() < 3 || tag.front() != '<') return std::nullopt;
    if (style == PairStyle::SlashClosers) {
        bool closes = tag[1] == '/';
        std::size_t at = closes ? 2 : 1;
        while (at < tag.size() && tag[at] == ' ') ++at;
        std::size_t end = at;
        while (end < tag.size() && isAsciiAlnum(tag[end])) ++end;
        if (end == at || !isAsciiLetter(tag[at])) return std::nullopt;
        return PairName{lowerCase(tag.substr(at, end - at)), closes};
    }
    if (tag.size() >= 3 && tag.substr(tag.size() - 2) == "$>") {
        return PairName{std::string(tag.substr(1, tag.size() - 3)), true};
    }
    for (const std::string& name : closers) {
        if (tag.size() <= name.size() + 1 || tag.compare(1, name.size(), name) != 0) continue;
        char next = tag[name.size() + 1];
        bool alnumName = !name.empty() && isAsciiAlnum(name.back());
        if (alnumName && isAsciiAlnum(next)) continue;
        return PairName{name, false};
    }
    return std::nullopt;
}

namespace {

struct Balance {
    std::string name;
    long depth = 0;
    long lowest = 0;
    std::string opener;
    std::string closer;
    std::size_t firstOffset = std::numeric_limits<std::size_t>::max();
};

void trace(std::string_view text, const std::vector<ParagraphCheck::Atom>& atoms, PairStyle style,
           const std::vector<std::string>& closers, std::vector<Balance>& balances) {
    for (const auto& atom : atoms) {
        if (atom.role != RunRole::Internal) continue;
        std::string_view tag = text.substr(atom.begin, atom.end - atom.begin);
        auto name = pairNameOf(tag, style, closers);
        if (!name) continue;
        auto it = std::find_if(balances.begin(), balances.end(),
                               [&](const Balance& b) { return b.name == name->name; });
        if (it == balances.end()) {
            Balance fresh;
            fresh.name = name->name;
            balances.push_back(std::move(fresh));
            it = balances.end() - 1;
        }
        it->depth += name->closes ? -1 : 1;
        it->lowest = std::min(it->lowest, it->depth);
        std::string& example = name->closes ? it->closer : it->opener;
        if (example.empty()) example = std::string(tag);
        it->firstOffset = std::min<std::size_t>(it->firstOffset, atom.begin);
    }
}

void collectClosers(std::string_view text, const std::vector<ParagraphCheck::Atom>& atoms,
                    std::vector<std::string>& closers) {
    for (const auto& atom : atoms) {
        std::string_view tag = text.substr(atom.begin, atom.end - atom.begin);
        if (atom.role == RunRole::Internal && tag.size() >= 3 && tag.front() == '<' &&
            tag.substr(tag.size() - 2) == "$>") {
            std::string name(tag.substr(1, tag.size() - 3));
            if (std::find(closers.begin(), closers.end(), name) == closers.end()) {
                closers.push_back(name);
            }
        }
    }
    // The longest names first, so "<tz$>" is tried before "<t$>".
    std::sort(closers.begin(), closers.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
}

}  // namespace

// Opening and closing internal tags: the translation must leave them
// nested as the source had them (depth at the end and lowest depth).
void ParagraphCheck::checkPairs(std::vector<Finding>& out) {
    if (tags_.pairs == PairStyle::None) return;
    std::vector<std::string> closers;
    if (tags_.pairs == PairStyle::DollarClosers) {
        collectClosers(source_->text, src_, closers);
        collectClosers(translated_->text, tr_, closers);
    }
    std::vector<Balance> before;
    std::vector<Balance> after;
    trace(source_->text, src_, tags_.pairs, closers, before);
    trace(translated_->text, tr_, tags_.pairs, closers, after);
    std::vector<std::string> reported;
    for (const std::string_view tag : names_) {
        if (auto name = pairNameOf(tag, tags_.pairs, closers)) reported.push_back(name->name);
    }
    for (const Balance& now : after) {
        if (std::find(reported.begin(), reported.end(), now.name) != reported.end()) continue;
        auto was = std::find_if(before.begin(), before.end(),
                                [&](const Balance& b) { return b.name == now.name; });
        Balance none;
        const Balance& then = was != before.end() ? *was : none;
        if (then.depth == now.depth && then.lowest == now.lowest) continue;
        Finding finding = make(FindingKind::UnbalancedPair, now.firstOffset);
        finding.role = RunRole::Internal;
        finding.subject = now.opener.empty() ? then.opener : now.opener;
        finding.other = now.closer.empty() ? then.closer : now.closer;
        out.push_back(std::move(finding));
    }
}

// Tags typed as text, and characters that are markup in the format.
void ParagraphCheck::checkPlainText(std::vector<Finding>& out) {
    std::vector<Run> segments;
    auto collect = [&](const StyledParagraph& paragraph, bool skipUsed,
                       std::vector<std::pair<std::string_view, std::size_t>>& tags,
                       std::vector<std::pair<char, std::size_t>>& characters) {
        std::string_view text = paragraph.text;
        plainSegments(paragraph, segments);
        for (const Run& run : segments) {
            std::size_t at = run.begin;
            if (tags_.paragraphTags && run.begin == 0) {
                std::size_t length = paragraphTagLength(text.substr(0, run.end));
                if (length > 0) {
                    tags.emplace_back(text.substr(0, length), 0);
                    at = length;
                }
            }
            // Only "<" and the markup characters matter; the rest is skipped
            // by the table.
            for (; at < run.end; ++at) {
                if (!interesting_[static_cast<unsigned char>(text[at])]) continue;
                if (skipUsed &&
                    isUsed(static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(at + 1))) {
                    continue;
                }
                std::size_t length = tagLengthAt(text.substr(0, run.end), at);
                if (length > 0) {
                    bool lost = skipUsed && isUsed(static_cast<std::uint32_t>(at),
                                                   static_cast<std::uint32_t>(at + length));
                    if (!lost) tags.emplace_back(text.substr(at, length), at);
                    at += length - 1;
                    continue;
                }
                if (markup_[static_cast<unsigned char>(text[at])]) {
                    characters.emplace_back(text[at], at);
                }
            }
        }
    };
    std::vector<std::pair<std::string_view, std::size_t>> sourceTags;
    std::vector<std::pair<std::string_view, std::size_t>> typedTags;
    std::vector<std::pair<char, std::size_t>> sourceCharacters;
    std::vector<std::pair<char, std::size_t>> typedCharacters;
    collect(*translated_, true, typedTags, typedCharacters);
    // The source's text matters only against something in the translation's.
    if (typedTags.empty() && typedCharacters.empty()) return;
    collect(*source_, false, sourceTags, sourceCharacters);

    // Tags of the translation's text beyond those of the source's text.
    std::vector<std::string_view> known;
    for (const auto& tag : sourceTags) known.push_back(tag.first);
    for (const auto& [tag, offset] : typedTags) {
        auto it = std::find(known.begin(), known.end(), tag);
        if (it != known.end()) {
            known.erase(it);
            continue;
        }
        Finding finding = make(FindingKind::UnprotectedTag, offset);
        finding.subject = std::string(tag);
        out.push_back(std::move(finding));
    }
    for (char markup : tags_.markupCharacters) {
        std::size_t allowed = static_cast<std::size_t>(
            std::count_if(sourceCharacters.begin(), sourceCharacters.end(),
                          [&](const auto& c) { return c.first == markup; }));
        for (const auto& [c, offset] : typedCharacters) {
            if (c != markup) continue;
            if (allowed > 0) {
                --allowed;
                continue;
            }
            Finding finding = make(FindingKind::MarkupCharacter, offset);
            finding.subject = std::string(1, c);
            out.push_back(std::move(finding));
        }
    }
}

std::uint64_t paragraphSignature(const StyledParagraph& paragraph) {
    std::hash<std::string_view> hash;
    std::uint64_t ordered = 1469598103934665603ull;
    std::uint64_t unordered = 0;
    const std::vector<Run>& runs = paragraph.runs;
    for (std::size_t i = 0; i < runs.size();) {
        std::size_t j = i;
        while (j + 1 < runs.size() && runs[j + 1].role == runs[i].role) ++j;
        if (isProtected(runs[i].role)) {
            std::string_view text =
                std::string_view(paragraph.text).substr(runs[i].begin, runs[j].end - runs[i].begin);
            std::uint64_t h = hash(text) * 31 + static_cast<std::uint64_t>(runs[i].role);
            if (runs[i].role == RunRole::External) {
                ordered = (ordered ^ h) * 1099511628211ull;
            } else {
                unordered += h;
            }
        }
        i = j + 1;
    }
    return ordered ^ (unordered * 0x9E3779B97F4A7C15ull) ^
           (paragraph.text.empty() ? 0x5bd1e995 : 0);
}

}  // namespace tessel::verify
