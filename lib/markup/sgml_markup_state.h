// The library-wide state of the running SGML job: a tag or comment still open
// at the end of a line (its text in the shared carry-over buffer, the nesting
// depth reached inside the tag), and for mark-up the list of external tags.
// One job runs at a time; the job resets it at its start and before each file
// it reads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "markup/carry_over_buffer.h"

namespace tessel::markup {

class SortedStringList;

struct SgmlMarkupState {
    // Text of the open tag or comment from its "<" on, with the job's
    // separator where each of its lines ended.
    std::string& carryOver = carryOverBuffer();
    // "<" still open inside the open tag.
    std::size_t depth = 0;
    bool commentOpen = false;
    // Mark-up: the tags to wrap as external, escaped for RTF; null for none.
    const SortedStringList* externalTags = nullptr;
    // Memory of the previous line, reused for the next one.
    std::string lineBuffer;

    bool tagOpen() const { return !commentOpen && !carryOver.empty(); }
    bool textOpen() const { return commentOpen || !carryOver.empty(); }

    // The open tag or comment goes on at the start of `line`: returns one past
    // its end ("-->", or the ">" back at depth zero), its whole text then in
    // the carry-over buffer; or npos when the line ends inside it (the line
    // is then added to the buffer).
    std::size_t continueOpenText(std::string_view line);
    // Forgets the open tag or comment once its text is handled.
    void closeOpenText();
    // Forgets an open tag or comment (a new file starts with none).
    void startFile();
    void reset();
};

SgmlMarkupState& sgmlMarkupState();

}  // namespace tessel::markup
