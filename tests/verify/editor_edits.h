// Edits of marked-up RTF as word processors make them, for pairs of an
// original and a "translation": styles renumbered, runs split and merged,
// 8-bit text written as "\u" escapes.
#pragma once

#include <string>
#include <string_view>

namespace tessel::test {

// Our protected styles 5, 6 and 8 as 19, 20 and 22, declared "{\*\csN ...}"
// and opened "{\loch\csN\hich\af6\loch\cfN\f6\lang1033\loch" + line end.
std::string renumberStyles(std::string_view rtf);

// Every protected run of the body in LibreOffice's form whose text has no
// control word is cut in two groups of its style at its middle.
std::string splitRuns(std::string_view rtf);

// Groups of one style directly after each other become one group.
std::string mergeRuns(std::string_view rtf);

// Bytes from 0x80 up in the body as "\uN\'xx" (Windows 1252).
std::string unicodeEscapes(std::string_view rtf);

// All of them, in the order an editor's save would make them.
std::string asEditorSaves(std::string_view rtf);

// `text` with the first `from` replaced by `to`; throws when absent.
std::string replaceOnce(std::string text, std::string_view from, std::string_view to);

}  // namespace tessel::test
