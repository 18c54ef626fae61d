// Compares one paragraph of a translation with its source paragraph: the
// protected runs (missing, added, changed, moved), tags that lost their
// style or were typed as text, pairs of internal tags, and characters that
// are markup in the text of HTML and SGML.
//
// Word processors merge adjacent runs of one style and split runs: the
// translation's runs of one role that touch are joined and cut again into
// the source paragraph's runs where their texts allow.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "verify/check_targets.h"
#include "verify/finding.h"
#include "verify/styled_paragraph.h"

namespace tessel::verify {

class ParagraphCheck {
  public:
    ParagraphCheck(const TagRules& tags, bool strict);

    // Appends the findings of `translated` against `source` (null: a
    // paragraph the source does not have) to `out`, in column order, with
    // kind, paragraph numbers, column, role, subject and other set.
    void compare(const StyledParagraph* source, const StyledParagraph& translated,
                 std::vector<Finding>& out);
    // The unprotected-tag findings alone of `translated` checked without a
    // source (what compare(nullptr, ...) finds of that kind), without
    // making a finding of every run first: a paragraph of a million tags
    // would hold a million added-run findings.
    void findUnprotectedTags(const StyledParagraph& translated, std::vector<Finding>& out);

    struct Atom {
        RunRole role;
        std::uint32_t begin;
        std::uint32_t end;
    };

  private:
    struct Range {
        std::uint32_t begin;
        std::uint32_t end;
    };

    void start(const StyledParagraph* source, const StyledParagraph& translated);
    void sourceAtoms(const StyledParagraph& source);
    void translatedAtoms(const StyledParagraph& translated);
    bool cutInSourceOrder(std::string_view text, RunRole role, std::uint32_t base);
    bool decompose(std::string_view text, RunRole role, std::uint32_t base);
    void cutAsFarAsKnown(std::string_view text, RunRole role, std::uint32_t base);
    bool sameRunsInOrder() const;
    void match();
    void matchInOrder(RunRole role, bool anyRole);
    void matchByText(bool onlyUnmatched);
    void findLostStyles(std::vector<Finding>& out);
    void pairChanged(std::vector<Finding>& out);
    void reportRest(std::vector<Finding>& out);
    void checkPairs(std::vector<Finding>& out);
    void checkPlainText(std::vector<Finding>& out);
    bool isUsed(std::uint32_t begin, std::uint32_t end) const;
    Finding make(FindingKind kind, std::size_t offset) const;

    std::string_view srcText(const Atom& atom) const;
    std::string_view trText(const Atom& atom) const;

    TagRules tags_;
    bool strict_;
    std::array<bool, 256> markup_{};       // the format's markup characters
    std::array<bool, 256> interesting_{};  // those and "<"
    const StyledParagraph* source_ = nullptr;
    const StyledParagraph* translated_ = nullptr;
    std::vector<Atom> src_;
    std::vector<Atom> tr_;
    // -1 unmatched, else the index on the other side; moved pairs too.
    std::vector<long> srcMatch_;
    std::vector<long> trMatch_;
    std::vector<bool> srcHandled_;
    std::vector<bool> trHandled_;
    std::vector<Range> used_;              // text of the translation already reported
    std::vector<std::string_view> names_;  // pair names with other findings
    // Decomposition scratch.
    std::vector<std::uint32_t> previous_;
    std::vector<std::string_view> dictionary_;
    std::size_t nextSource_ = 0;  // the source run after the last cut in order
    // Columns of the translated paragraph's findings (started anew for each).
    mutable ColumnCounter columns_;
};

struct PairName {
    std::string name;
    bool closes;
};

// The pair name of an internal tag: "b" for "<B>" and "</b>" (slash
// closers), "SIZE" for "<SIZE$>" and "<SIZE 12>" (dollar closers, whose
// names `closers` holds); nothing for other runs.
std::optional<PairName> pairNameOf(std::string_view tag, PairStyle style,
                                   const std::vector<std::string>& closers);

// A value that two paragraphs with the same protected runs share, however
// an editor grouped the runs (for lining up paragraphs when some were added
// or removed).
std::uint64_t paragraphSignature(const StyledParagraph& paragraph);

}  // namespace tessel::verify
