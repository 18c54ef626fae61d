// The library-wide state of the running HTML mark-up: an open comment,
// script or server block, the carry-over buffer of a tag or block still open
// at the end of a line, the PRE flag, the user's tag entries and how tags
// were marked so far. One
// conversion runs at a time; the job resets it at its start.
#pragma once

#include <string>

#include "markup/carry_over_buffer.h"
#include "markup/html_tag_markings.h"

namespace tessel::markup {

struct UserTagList;

enum class HtmlBlock { None, Comment, Script, ServerBlock };

struct HtmlMarkupState {
    HtmlBlock block = HtmlBlock::None;
    // A script's closing tag began on an earlier line; its ">" ends the block.
    bool scriptEndPending = false;
    // Text of an unclosed tag or block that began on an earlier line, with
    // "\\par \n" where each of those lines ended (the library's one
    // carry-over buffer).
    std::string& carryOver = carryOverBuffer();
    bool pre = false;
    // The entries of the tag definition file; null when none was named.
    const UserTagList* userTags = nullptr;
    // Memory of the previous line, reused for the next one.
    std::string lineBuffer;
    // Memory of the last tag classified on its own in the one pass over a
    // line (its text and its marked-up text), reused for the next one.
    std::string tagSource;
    std::string tagBuffer;
    // How the tags met so far were marked.
    HtmlTagMarkings tagMarkings;

    void reset();
};

HtmlMarkupState& htmlMarkupState();

}  // namespace tessel::markup
