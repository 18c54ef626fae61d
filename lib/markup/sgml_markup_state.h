// The library-wide state of the running SGML job: a piece of markup still
// open at the end of a line (its text in the shared carry-over buffer, the
// scan that resumes on the next line), what the markup before leaves open
// in the running text (elements that a null end tag "/" ends, included
// marked sections that "]]>" ends), and for mark-up the list of external
// tags. One job runs at a time; the job resets it at its start and before
// each file it reads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "markup/carry_over_buffer.h"
#include "markup/sgml_markup_scan.h"

namespace tessel::markup {

class SortedStringList;

struct SgmlMarkupState {
    // Text of the open piece from its "<" on, with the job's separator
    // where each of its lines ended.
    std::string& carryOver = carryOverBuffer();
    sgml::OpenMarkup open;
    // Elements begun with a NET-enabling start tag ("<tt/") on this line.
    std::size_t netElements = 0;
    // Included marked sections ("<![ %entity; [") not yet ended by "]]>".
    std::size_t includedSections = 0;
    // An XML declaration was met: instructions end at "?>".
    bool xml = false;
    // Found on the line just scanned, for the job to log: a "<" that begins
    // no markup, and a NET-enabling start tag whose "/" did not come.
    bool unplacedStart = false;
    bool missingNet = false;
    // Mark-up: the tags to wrap as external, escaped for RTF; null for none.
    const SortedStringList* externalTags = nullptr;
    // Memory of the previous line, reused for the next one.
    std::string lineBuffer;

    bool textOpen() const { return !carryOver.empty(); }

    // The open piece goes on at the start of `line`: returns one past its
    // end, its whole text then in the carry-over buffer and its kind in
    // `kind`; or npos when the line ends inside it (the line is then added
    // to the buffer).
    std::size_t continueOpenText(std::string_view line, bool rtfEscaped, sgml::Piece& kind);
    // What a finished piece (`text`) leaves open in the running text.
    void noteFinished(const sgml::Finished& done, std::string_view text);
    // At the end of a line: elements still waiting for their "/" are taken
    // as ended there, so that a "/" of running text on a later line stays
    // text.
    void endLine();
    // Forgets the open piece once its text is handled.
    void closeOpenText();
    // Forgets what is open (a new file starts with nothing open).
    void startFile();
    void reset();
};

SgmlMarkupState& sgmlMarkupState();

}  // namespace tessel::markup
