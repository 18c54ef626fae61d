// The rules by which a file that is marked up and converted back without
// translation differs from itself: each explains a kind of difference and
// makes the two texts alike by removing it from both.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tessel::verify {

enum class RoundTripRule {
    LineEnds,            // LF or CR line ends are written as CR LF
    FinalLineEnd,        // a line end at the end of the file is added or dropped
    TrailingBlanks,      // blanks and tabs at the end of a line are dropped
    HtmlEntities,        // characters and entities trade places ("&quot;" and '"')
    JoinedLines,         // a line break inside running text becomes a blank
    LineBreakBeforeTag,  // a line break is put before (or taken from before) a tag
    JoinedTagLines,      // a tag wrapped over lines is written on one line
    MacintoshLiterals,   // a Macintosh character without a Windows one becomes "<\#N>"
    DroppedStyleReset,   // "<$>" after 254 characters of text is dropped
    EmptyLines,          // empty lines (empty paragraphs) are left out
};

struct RuleDescription {
    RoundTripRule rule;
    std::string_view name;         // "joined-lines"
    std::string_view explanation;  // for the difference line
};

const RuleDescription& describe(RoundTripRule rule);

// Removes the differences of `rule` from `text`, a piece of a file that
// reaches the file's end when `atEnd`. LineEnds turns CR LF and CR into LF.
void applyRule(RoundTripRule rule, std::string& text, bool atEnd);

}  // namespace tessel::verify
