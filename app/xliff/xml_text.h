// Text written into XML: markup characters as references, characters that
// XML 1.0 cannot hold never written as they are.
#pragma once

#include <string>
#include <string_view>

namespace tessel::xliff {

// Appends `text` as element content ("&", "<", ">" and carriage returns as
// references; a carriage return would read back as a line feed).
void appendXmlText(std::string& out, std::string_view text);
// Appends `text` as an attribute value in double quotes, without the quotes
// (line ends and tabs as references too: a parser would read them as blanks).
void appendXmlAttribute(std::string& out, std::string_view text);
// True for a character (UTF-8 at the start of `text`) that XML 1.0 cannot
// hold; sets `length` to its bytes.
bool isXmlUnfit(std::string_view text, std::size_t& length);
// "U+000C" for the character at the start of `text`.
std::string codePointName(std::string_view text);

}  // namespace tessel::xliff
