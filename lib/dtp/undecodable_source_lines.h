// The lines of a converter's source that hold bytes its encoding gives no
// character: invalid UTF-8 in a UTF-8 source, an undefined byte of a
// single-byte code page. The bytes themselves travel through the RTF as the
// private characters that stand for them and come back unchanged; each line
// that holds one is quoted in the converter log, so that nothing is read
// otherwise than it is declared without a word.
#pragma once

#include <string>

#include "dtp/source_characters.h"

namespace tessel::dtp {

// Writes one entry to the current converter log for each line of the file
// at `path` that holds such bytes; nothing for a source that is not decoded
// (Windows 1252, Macintosh) or a file that cannot be read (the parse reports
// that), and one entry counting the units of a UTF-16 source that paired
// with none. Returns the number of entries written.
int reportUndecodableSourceLines(const std::string& path, const SourceCharacters& characters);

}  // namespace tessel::dtp
