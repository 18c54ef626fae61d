// Where one piece of SGML markup that begins with "<" ends, in the
// reference delimiters: start and end tags ("<name", "</name", "<>", "</>"),
// unclosed tags ("<b<i>": "<b" ends before the next "<"), NET-enabling start
// tags ("<tt/", whose element a later "/" ends), XML empty elements
// ("<x/>"), comments ("<!--" to "-->"), markup declarations ("<!name" to
// the ">" outside literals, "--" comments and a "[...]" subset), marked
// sections ("<![" keywords "[" ... "]]>") and processing instructions ("<?"
// to ">", or "?>" in an XML document). A "<" that no name, "/", "!", "?",
// ">" or "<" follows begins no markup and stays text. A piece may go on over
// lines: its scan stops at the end of a line and resumes on the next one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessel::markup::sgml {

// How the mark-up treats a piece: tags are collected and classified by the
// tag list; comments, declarations with a subset and marked sections whose
// content is not markup (CDATA, RCDATA, IGNORE) are protected whole as
// external runs and are no tags.
enum class Piece { Text, Comment, Block, Tag };

enum class Markup : unsigned char {
    None,
    Tag,           // start or end tag, also the nesting form "<A B=<C>>"
    Comment,       // "<!--" to "-->"
    Declaration,   // "<!name ...>"
    SectionStart,  // "<![" up to the "[" after its keywords
    Section,       // a CDATA, RCDATA or IGNORE section up to its "]]>"
    Instruction,   // "<?" to ">" or "?>"
};

// The scan of a piece that may go on in the next line.
struct OpenMarkup {
    Markup kind = Markup::None;
    // Tag: "<" nested at a place where no tag can begin; Declaration: "["
    // open; Section: marked sections open (an IGNORE section nests them).
    std::size_t depth = 0;
    char quote = 0;              // Declaration: the literal's quote while one is open
    bool inComment = false;      // Declaration: between "--" and "--"
    bool subset = false;         // Declaration: a "[" was met
    bool inName = false;         // Tag: still in the name that follows "<"
    bool named = false;          // Tag: a name follows its "<" or "</"
    bool endTag = false;         // Tag: begins "</"
    bool nestsSections = false;  // Section: IGNORE (nested sections count)
    char previous = 0;           // Tag: the last byte that was no blank
    std::string keywords;        // SectionStart: the text after "<![" so far
};

// What a finished piece is and what it leaves open after it.
struct Finished {
    Piece kind = Piece::Tag;
    bool enablesNet = false;    // "<name/": a later "/" ends the element
    bool opensSection = false;  // "<![ INCLUDE [": a later "]]>" ends it
};

struct ScanOptions {
    bool xml = false;         // instructions end at "?>"
    bool rtfEscaped = false;  // the line is escaped for RTF ("\'e9" is no quote)
};

// Begins the scan of the "<" at `start`: returns where finishMarkup goes on
// from, or npos when the "<" begins no markup.
std::size_t beginMarkup(std::string_view line, std::size_t start, OpenMarkup& open);

// Goes on with `open` from `from`. Returns one past the piece's end (for an
// unclosed tag, the "<" that ends it) with `done` filled in; npos when the
// line ends first (`open` then holds what the next line resumes with).
std::size_t finishMarkup(std::string_view line, std::size_t from, OpenMarkup& open,
                         const ScanOptions& options, Finished& done);

inline bool isNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace tessel::markup::sgml
