// Header lines of PageMaker and QuarkXPress tagged text: they tell whether a
// file is in the Macintosh character set, which decides whether a
// back-converted file needs the Macintosh pass.
#pragma once

#include <string>
#include <string_view>

namespace tessel::frame {

// "<PMTags1.0 mac>": a PageMaker header whose first ">" follows "mac" (any
// case).
bool pageMakerHeaderNamesMac(std::string_view firstLine);

// "<v4.00><e0>": a QuarkXPress version tag followed by encoding 0. The header
// is the first line, or the second when the first starts with "#".
bool xpressHeaderIsMacintosh(std::string_view firstLine, std::string_view secondLine);

// The digit of the QuarkXPress header's encoding tag ('9' for "<v11.10><e9>"),
// found as above after a UTF-8 byte-order mark if the first line starts with
// one; 0 without such a header.
char xpressHeaderEncoding(std::string_view firstLine, std::string_view secondLine);

// The digits of the encodings of QuarkXPress headers that are Unicode: the
// file is written back in UTF-8.
inline constexpr std::string_view kXPressUnicodeEncodings = "89";
// The digit of UTF-16, which a source without a byte-order mark is written
// back in as little-endian units.
inline constexpr char kXPressUtf16Encoding = '8';

// The UTF-8 byte-order mark, which a line of UTF-8 text may start with.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// The UTF-16 marks FF FE and FE FF as the UTF-8 of the private characters
// that stand for their bytes (U+F0FF U+F0FE and U+F0FE U+F0FF): how a text
// that came in UTF-16 starts while it is carried as UTF-8.
inline constexpr std::string_view kKeptUtf16LittleEndianMark = "\xEF\x83\xBF\xEF\x83\xBE";
inline constexpr std::string_view kKeptUtf16BigEndianMark = "\xEF\x83\xBE\xEF\x83\xBF";

}  // namespace tessel::frame
