// RTF escaping of the text and tags the RTF-writing converters copy from
// their sources, and the joining of wrapped lines in text between pieces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessel::dtp {

// RTF escaping of text and tag text (13 replacements, inserted text never
// escaped again), appended to `out`.
void appendConverterRtfEscaped(std::string& out, std::string_view text);
// The same in place.
void escapeConverterRtf(std::string& text);
// The same for text on one line, `readable` bytes of which may be read from
// its start: false, with `out` possibly changed, when the text holds a line
// end (CRCFile::holdsLineEnd()), which the scan for escaped bytes finds too.
bool appendConverterRtfEscapedLine(std::string& out, std::string_view text, std::size_t readable);

// Text between pieces, escaped, and with `joinLines` each single line break
// between running words (and the blanks around it) made one blank.
void appendConverterRtfText(std::string& out, std::string_view text, bool joinLines);
// The same for text as the input's buffer holds it, in `bytes` from its
// start: the text ends at `column` of the line after the `lineEnds`-th line
// end (at least one), each LF or CR LF (read as LF). Returns the text's
// length; nothing, with `out` possibly changed, when `bytes` do not hold it
// whole or it holds a lone CR, Ctrl-Z or a line end on its last line.
std::optional<std::size_t> appendConverterRtfTextAcrossLines(std::string& out,
                                                             std::string_view bytes,
                                                             std::uint32_t lineEnds,
                                                             std::uint32_t column, bool joinLines);

}  // namespace tessel::dtp
