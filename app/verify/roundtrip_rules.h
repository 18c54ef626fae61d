// The rules by which a file that is marked up and converted back without
// translation differs from itself: each explains a kind of difference and
// makes the two texts alike by removing it from both.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "verify/text_encoding.h"

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

// As above for a text in `encoding`, where the entities rule turns the text
// into its characters (UTF-8) and every entity into the character it stands
// for: a source and its output are alike under it only when they read as
// the same characters, each in its own encoding.
void applyRule(RoundTripRule rule, std::string& text, bool atEnd, const TextEncoding& encoding);

}  // namespace tessel::verify
