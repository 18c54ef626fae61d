// What the translation check finds, as data: the tool prints each finding
// as a line or as JSON, the desktop program writes it into its log window.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "verify/styled_paragraph.h"

namespace tessel::verify {

enum class FindingKind {
    MissingRun,        // a protected run of the source is not in the translation
    AddedRun,          // a protected run the source does not have
    ChangedRun,        // a protected run whose text differs from the source's
    MovedRun,          // an external run out of its order (any run with --strict)
    UnprotectedTag,    // tag text outside any protected style
    UnbalancedPair,    // opening and closing internal tags no longer pair up
    MarkupCharacter,   // "<", ">" or "&" typed in the text of HTML or SGML
    UnheldCharacter,   // a character the back-conversion cannot write as itself
    Utf8ReadAs1252,    // text that shows UTF-8 read as Windows 1252 ("Ã©" for "é")
    ParagraphAdded,    // a paragraph the source does not have
    ParagraphRemoved,  // a paragraph of the source not in the translation
    Unreadable,        // a file that cannot be read as RTF
    // Found in a translation alone, without its original:
    NotATag,             // a protected run that no longer has the form of a tag of the format
    ParagraphTagInLine,  // a paragraph tag in the middle of a paragraph (paragraphs joined)
    HiddenTags,          // protected runs whose text is hidden, so nothing of them is written
};

// "missing-run", "added-run", ...
std::string_view kindName(FindingKind kind);

// A character the back-conversion cannot write as itself, where it stands.
struct UnheldCharacter {
    std::string character;             // UTF-8
    std::vector<std::size_t> columns;  // every position in the paragraph
    std::string written;               // what the back-conversion writes instead
};

struct Finding {
    FindingKind kind;
    std::string file;                 // the translated file
    std::size_t paragraph = 0;        // in the translated file, from 1; 0: the file
    std::size_t sourceParagraph = 0;  // in the original; 0: none
    std::size_t column = 0;           // characters from 1 in the paragraph; 0: none
    RunRole role = RunRole::Text;     // the run's role
    std::string subject;              // the run, tag or character concerned
    // changed-run: the translation's text; unbalanced-pair: the closing tag;
    // unheld-character: the back-conversion; utf8-read-as-1252: the
    // characters the first stretch stands for.
    std::string other;
    std::vector<UnheldCharacter> characters;  // unheld-character, in order of appearance
    std::string quote;                        // start of the paragraph concerned
    int code = 0;                             // unreadable: the return code
    // utf8-read-as-1252: stretches in the paragraph; hidden-tags: paragraphs
    // with hidden runs.
    std::size_t places = 0;
    std::string text;  // the whole paragraph, when the check was asked to keep it
};

class FindingSink {
  public:
    virtual ~FindingSink() = default;
    virtual void finding(Finding&& finding) = 0;
};

}  // namespace tessel::verify
