#include "verify/translation_check.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "frame/dtp_text_headers.h"
#include "frame/return_codes.h"
#include "frame/target_encoder.h"
#include "platform/utf8.h"
#include "verify/misread_utf8.h"
#include "verify/paragraph_check.h"
#include "verify/styled_paragraph_reader.h"

namespace tessel::verify {

namespace {

// Paragraphs looked ahead for one that lines up again, and how many in a
// row must agree.
constexpr std::size_t kWindow = 24;
constexpr std::size_t kConfirm = 3;
// Paragraphs of the original looked at for the format.
constexpr std::size_t kDetectionParagraphs = 8;
constexpr std::size_t kQuoteCharacters = 40;

struct Buffered {
    StyledParagraph paragraph;
    std::uint64_t signature = 0;
};

// The paragraphs read ahead from one file, in a ring reused as it turns.
class ParagraphQueue {
  public:
    explicit ParagraphQueue(const std::string& path)
        : reader_(path), ring_(kWindow + kConfirm + 2) {}

    // At least `n` paragraphs are buffered, or the file has no more.
    void fill(std::size_t n) {
        n = std::min(n, ring_.size());
        while (count_ < n && !ended_) {
            Buffered& slot = ring_[(head_ + count_) % ring_.size()];
            if (!reader_.next(slot.paragraph)) {
                ended_ = true;
                break;
            }
            slot.signature = paragraphSignature(slot.paragraph);
            ++count_;
            last_ = slot.paragraph.number;
        }
    }
    std::size_t size() const { return count_; }
    const Buffered& at(std::size_t i) const { return ring_[(head_ + i) % ring_.size()]; }
    void pop() {
        head_ = (head_ + 1) % ring_.size();
        --count_;
    }
    // The file has no paragraphs beyond those buffered.
    bool exhausted() const { return ended_; }
    int error() const { return reader_.error(); }
    std::size_t lastNumber() const { return last_; }
    int documentCodePage() const { return reader_.documentCodePage(); }

  private:
    StyledParagraphReader reader_;
    std::vector<Buffered> ring_;
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    bool ended_ = false;
    std::size_t last_ = 0;
};

bool startsWithVersionTag(std::string_view text) {
    return text.size() > 2 && text[0] == '<' && text[1] == 'v' && text[2] >= '0' && text[2] <= '9';
}

bool containsIgnoringCase(std::string_view text, std::string_view word) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < word.size() && lower(text[i + k]) == word[k]) ++k;
        if (k == word.size()) return true;
    }
    return false;
}

std::optional<TargetChoice> targetNamed(std::string_view key) {
    return parseTarget(key);
}

class PairCheck {
  public:
    PairCheck(const std::string& original, const std::string& translated,
              const VerifyOptions& options, FindingSink& sink)
        : translatedPath_(translated),
          originalPath_(original),
          options_(options),
          sink_(sink),
          source_(original),
          translation_(translated) {}

    PairOutcome run();

  private:
    void start();
    bool agrees(std::size_t sourceAt, std::size_t translatedAt);
    void comparePair();
    void removed();
    void added();
    void unheldCharacters(const StyledParagraph& paragraph);
    void misreadUtf8(const StyledParagraph& paragraph);
    void emit(std::vector<Finding>& findings, std::string_view quote);
    void unreadable(const std::string& path, int code, std::size_t paragraph);

    std::string translatedPath_;
    std::string originalPath_;
    const VerifyOptions& options_;
    FindingSink& sink_;
    ParagraphQueue source_;
    ParagraphQueue translation_;
    std::optional<TargetChoice> target_;
    std::optional<ParagraphCheck> check_;
    std::optional<frame::TargetEncoder> encoder_;
    std::vector<Finding> findings_;
    std::string encoded_;
    PairOutcome outcome_;
};

PairOutcome PairCheck::run() {
    if (source_.error() != 0) {
        unreadable(originalPath_, source_.error(), 0);
        return outcome_;
    }
    if (translation_.error() != 0) {
        unreadable(translatedPath_, translation_.error(), 0);
        return outcome_;
    }
    start();
    for (;;) {
        source_.fill(1);
        translation_.fill(1);
        if (source_.error() != 0 || translation_.error() != 0) break;
        bool haveSource = source_.size() > 0;
        bool haveTranslation = translation_.size() > 0;
        if (!haveSource && !haveTranslation) break;
        if (!haveTranslation) {
            removed();
            continue;
        }
        if (!haveSource) {
            added();
            continue;
        }
        if (source_.at(0).signature == translation_.at(0).signature) {
            comparePair();
            continue;
        }
        source_.fill(kWindow + kConfirm);
        translation_.fill(kWindow + kConfirm);
        std::size_t skip = 0;
        bool sourceAhead = false;
        for (std::size_t k = 1; k <= kWindow && skip == 0; ++k) {
            if (k < source_.size() && agrees(k, 0)) {
                skip = k;
                sourceAhead = true;
            } else if (k < translation_.size() && agrees(0, k)) {
                skip = k;
            }
        }
        for (std::size_t i = 0; i < skip; ++i) sourceAhead ? removed() : added();
        if (skip == 0) comparePair();
    }
    if (source_.error() != 0) {
        unreadable(originalPath_, source_.error(), source_.lastNumber() + 1);
    } else if (translation_.error() != 0) {
        unreadable(translatedPath_, translation_.error(), translation_.lastNumber() + 1);
    }
    outcome_.sourceParagraphs = source_.lastNumber();
    outcome_.translatedParagraphs = translation_.lastNumber();
    return outcome_;
}

// The format and the encoder of the back-conversion, from the first
// paragraphs of both files.
void PairCheck::start() {
    source_.fill(kDetectionParagraphs);
    translation_.fill(2);
    target_ = options_.target;
    if (!target_) {
        std::vector<const StyledParagraph*> first;
        for (std::size_t i = 0; i < source_.size(); ++i) first.push_back(&source_.at(i).paragraph);
        target_ = detectTarget(first.data(), first.size());
    }
    static constexpr TagRules kNoTags{PairStyle::None, "", false};
    check_.emplace(target_ ? target_->target->tags : kNoTags, options_.strict);
    if (!target_) return;
    outcome_.target = target_->name();
    int code = target_->target->functionCode;
    bool macintosh = false;
    auto line = [&](std::size_t i) -> std::string_view {
        return i < translation_.size() ? std::string_view(translation_.at(i).paragraph.text)
                                       : std::string_view();
    };
    if (code == frame::kRtfToPageMaker) macintosh = frame::pageMakerHeaderNamesMac(line(0));
    if (code == frame::kRtfToXPress) macintosh = frame::xpressHeaderIsMacintosh(line(0), line(1));
    frame::TargetRules rules =
        frame::targetRules(code, translation_.documentCodePage(), target_->codePage, macintosh);
    // Numeric references lose nothing: such a back-conversion holds every
    // character.
    if (rules.unheld != resources::UnheldCharacterRule::NumericReference) encoder_.emplace(rules);
}

// Do the paragraphs from `sourceAt` and `translatedAt` on line up?
bool PairCheck::agrees(std::size_t sourceAt, std::size_t translatedAt) {
    std::size_t matched = 0;
    while (matched < kConfirm && sourceAt + matched < source_.size() &&
           translatedAt + matched < translation_.size()) {
        if (source_.at(sourceAt + matched).signature !=
            translation_.at(translatedAt + matched).signature) {
            return false;
        }
        ++matched;
    }
    if (matched == kConfirm) return true;
    // Fewer are left: they must end together.
    return matched > 0 && source_.size() == sourceAt + matched &&
           translation_.size() == translatedAt + matched && source_.exhausted() &&
           translation_.exhausted();
}

void PairCheck::comparePair() {
    const StyledParagraph& source = source_.at(0).paragraph;
    const StyledParagraph& translated = translation_.at(0).paragraph;
    findings_.clear();
    check_->compare(&source, translated, findings_);
    unheldCharacters(translated);
    misreadUtf8(translated);
    emit(findings_, translated.text);
    source_.pop();
    translation_.pop();
}

void PairCheck::removed() {
    const StyledParagraph& source = source_.at(0).paragraph;
    findings_.clear();
    Finding finding{};
    finding.kind = FindingKind::ParagraphRemoved;
    finding.paragraph = translation_.size() > 0
                            ? translation_.at(0).paragraph.number
                            : std::max<std::size_t>(1, translation_.lastNumber());
    finding.sourceParagraph = source.number;
    findings_.push_back(std::move(finding));
    emit(findings_, source.text);
    source_.pop();
}

void PairCheck::added() {
    const StyledParagraph& translated = translation_.at(0).paragraph;
    findings_.clear();
    Finding finding{};
    finding.kind = FindingKind::ParagraphAdded;
    finding.paragraph = translated.number;
    findings_.push_back(std::move(finding));
    check_->compare(nullptr, translated, findings_);
    // An added paragraph's runs are all added: the paragraph says it.
    findings_.erase(
        std::remove_if(findings_.begin() + 1, findings_.end(),
                       [](const Finding& f) { return f.kind == FindingKind::AddedRun; }),
        findings_.end());
    unheldCharacters(translated);
    misreadUtf8(translated);
    emit(findings_, translated.text);
    translation_.pop();
}

// The characters the back-conversion writes otherwise than as themselves,
// each with every column where it stands: one finding per paragraph.
void PairCheck::unheldCharacters(const StyledParagraph& paragraph) {
    if (!encoder_) return;
    const std::string& raw = paragraph.raw.empty() ? paragraph.text : paragraph.raw;
    if (!platform::hasNonAscii(raw)) return;
    encoded_ = raw;
    encoder_->encode(encoded_);
    if (encoder_->lostCharacters().empty()) return;
    std::vector<char32_t> lost = encoder_->lostCharacters();
    encoder_->clearLostCharacters();
    Finding finding{};
    finding.kind = FindingKind::UnheldCharacter;
    finding.paragraph = paragraph.number;
    finding.other = outcome_.target;
    std::string_view text = paragraph.text;
    for (char32_t c : lost) {
        UnheldCharacter unheld;
        std::size_t column = 1;
        for (std::size_t at = 0; at < text.size(); ++column) {
            std::size_t start = at;
            if (platform::nextUtf8(text, at) != c) continue;
            unheld.columns.push_back(column);
            if (unheld.character.empty())
                unheld.character = std::string(text.substr(start, at - start));
        }
        if (unheld.columns.empty()) continue;
        // What the back-conversion writes for it alone (the RTF's fallback
        // of each place aside).
        frame::TargetEncoder single = *encoder_;
        unheld.written = unheld.character;
        single.encode(unheld.written);
        finding.characters.push_back(std::move(unheld));
    }
    if (finding.characters.empty()) return;
    finding.column = finding.characters.front().columns.front();
    findings_.push_back(std::move(finding));
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) { return a.column < b.column; });
}

// Text that shows UTF-8 read as Windows 1252: one finding per paragraph,
// at its first stretch.
void PairCheck::misreadUtf8(const StyledParagraph& paragraph) {
    std::vector<MisreadUtf8> stretches = findMisreadUtf8(paragraph.text);
    if (stretches.empty()) return;
    const MisreadUtf8& first = stretches.front();
    Finding finding{};
    finding.kind = FindingKind::Utf8ReadAs1252;
    finding.paragraph = paragraph.number;
    finding.column = columnOf(paragraph.text, first.begin);
    finding.subject = paragraph.text.substr(first.begin, first.end - first.begin);
    finding.other = first.meant;
    finding.places = stretches.size();
    findings_.push_back(std::move(finding));
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) { return a.column < b.column; });
}

void PairCheck::emit(std::vector<Finding>& findings, std::string_view text) {
    if (findings.empty()) return;
    std::string quote = quoteOf(text);
    for (Finding& finding : findings) {
        finding.file = translatedPath_;
        finding.quote = quote;
        if (options_.keepText) finding.text = std::string(text);
        ++outcome_.findings;
        sink_.finding(std::move(finding));
    }
    findings.clear();
}

void PairCheck::unreadable(const std::string& path, int code, std::size_t paragraph) {
    Finding finding{};
    finding.kind = FindingKind::Unreadable;
    finding.file = path;
    finding.paragraph = paragraph;
    finding.code = code;
    ++outcome_.findings;
    sink_.finding(std::move(finding));
}

}  // namespace

std::optional<TargetChoice> detectTarget(const StyledParagraph* const* paragraphs,
                                         std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const StyledParagraph& paragraph = *paragraphs[i];
        std::string_view text = paragraph.text;
        if (text.starts_with("<PMTags")) return targetNamed("pagemaker");
        if (startsWithVersionTag(text)) return targetNamed("quark");
        if (i == 0 && text.starts_with("#") && count > 1 &&
            startsWithVersionTag(paragraphs[1]->text)) {
            return targetNamed("quark");
        }
        for (const Run& run : paragraph.runs) {
            if (!isProtected(run.role)) continue;
            std::string_view tag = paragraph.runText(run);
            if (run.begin == 0 && tag.starts_with("@") && tag.ends_with(" = ")) {
                return targetNamed("ventura");
            }
            if (!tag.starts_with("<")) continue;
            if (containsIgnoringCase(tag, "<!doctype") && !containsIgnoringCase(tag, "html")) {
                return targetNamed("sgml");
            }
            return targetNamed("html");
        }
    }
    return std::nullopt;
}

std::string quoteOf(std::string_view text) {
    std::string quote;
    std::size_t at = 0;
    std::size_t characters = 0;
    while (at < text.size() && characters < kQuoteCharacters) {
        std::size_t start = at;
        char32_t c = platform::nextUtf8(text, at);
        if (c == '\t' || c == '\n' || c == '\r' || c == 0x2028) {
            quote += ' ';
        } else {
            quote.append(text.substr(start, at - start));
        }
        ++characters;
    }
    if (at < text.size()) quote += "\xE2\x80\xA6";  // an ellipsis
    return quote;
}

PairOutcome verifyTranslation(const std::string& original, const std::string& translated,
                              const VerifyOptions& options, FindingSink& sink) {
    PairCheck check(original, translated, options, sink);
    return check.run();
}

}  // namespace tessel::verify
