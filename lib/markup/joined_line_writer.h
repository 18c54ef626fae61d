// Writes the marked-up lines of a mark-up job and joins them. In RTF a line
// that goes on with text continues the paragraph after one blank, a line that
// begins with an external tag starts a new one, and an empty line leaves an
// empty paragraph; in plain text every line break stays a line break. While a
// tag or block is open (the carry-over buffer holds it), the line break goes
// into its text instead.
#pragma once

#include <string>
#include <string_view>

#include "platform/streams.h"

namespace tessel::markup {

class JoinedLineWriter {
  public:
    enum class Joining {
        Paragraphs,  // RTF: "\\par \n" between paragraphs, one blank inside one
        LineBreaks,  // text: "\n" between lines
    };

    JoinedLineWriter(platform::OutputStream& output, std::string& carryOver, Joining joining);

    // One complete line as marked up. `keepLineBreak` (inside PRE) writes a
    // paragraph end where a blank would join; `breakInCarried` tells that the
    // line finished a tag or block of earlier lines, whose text holds the
    // line break already, so nothing but a bare line end joins it (unless the
    // tag or block began its first line: that line's join comes first).
    void writeLine(std::string& line, bool keepLineBreak = false, bool breakInCarried = false);

    // The last unit of the file, written as it stands.
    void writeLast(std::string_view unit, bool breakInCarried = false);

    // What was still open at the end of the file, right after the last unit:
    // RTF keeps it as an external run, so that the document holds the whole
    // input; plain text leaves it out.
    void writeUnclosed(std::string_view text);

  private:
    std::string_view separator() const;
    // Writes the join before a line; returns how many leading bytes of the
    // line it replaced (the leading blanks and tab words a blank joins over).
    std::size_t writeJoin(std::string_view line, bool keepLineBreak, bool breakInCarried);

    platform::OutputStream& output_;
    std::string& carryOver_;
    Joining joining_;
    bool wroteSomething_ = false;
    // The open tag or block began a line, whose join is not written yet.
    bool joinPending_ = false;
};

// Removes the blanks and tabs at the end of a line (the jobs do this before a
// line is marked up).
void trimTrailingBlanks(std::string& line);

// Length of the leading blanks and "\\tab " control words of a marked-up line.
std::size_t leadingBlanks(std::string_view line);

}  // namespace tessel::markup
