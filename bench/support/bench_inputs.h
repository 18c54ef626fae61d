// Generated inputs of every format the benchmarks convert, of any size: the
// text of each is built the same way for every size, so a 100 MB file is ten
// 10 MB files' worth of the same kind of content.
#pragma once

#include <cstddef>
#include <string>

namespace tessel::bench {

// Prose-like lines of 20 to 120 bytes with accented letters and quotes of
// the Macintosh or the Windows character set and mixed line ends (the line
// engine's input).
std::string lineText(std::size_t size, bool macintosh);

// A page of prose with inline tags and entities, tables, comments and now
// and then a script; CR LF line ends.
std::string htmlPage(std::size_t size);

// A DocBook-like SGML chapter with CR LF line ends, and the tag file a user
// keeps for it (its structure tags).
std::string sgmlChapter(std::size_t size);
std::string sgmlStructureTags();

// Translated RTF in our mark-up's form: paragraphs with internal and external
// tag runs, escaped characters, hex bytes of accented letters, 8-bit bytes.
std::string taggedRtf(std::size_t size);

// Exports of the desktop-publishing programs, as their users' files have
// them: paragraphs with a style tag, a character tag every dozen words or so.
std::string pageMakerText(std::size_t size);
std::string xpressText(std::size_t size);
std::string venturaText(std::size_t size, bool version4);

// Typical content of a grammar's format repeated up to `size`: "pagemaker",
// "quark", "htmlcharset", "ventura4", "ventura", and the prose-like
// "pagemaker-prose" and "htmlcharset-prose" (long runs of text, few tags).
std::string grammarText(const std::string& shape, std::size_t size);

// An HTML page in code page 1251 for the charset step: "page" is tag-dense,
// "prose" is long runs of text.
std::string charsetPage(const std::string& shape, std::size_t size);

}  // namespace tessel::bench
