// The HTML charset name of a Windows code page and the META line that
// declares it.
#pragma once

#include <string>
#include <string_view>

namespace tessel::markup {

// True and the name from the library's table ("Windows-1251" for 1251), or
// false and an empty `name` for a code page without one.
bool charsetNameForCodePage(unsigned codePage, std::string& name);

// The META charset declaration for `charsetName`, beginning with a line
// break: "\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=...\">".
std::string metaCharsetLine(std::string_view charsetName);

// True when `name` can stand as a charset value in a META tag: one or more
// letters, digits and - _ . : + (nothing that would end the value or the tag).
bool isUsableCharsetName(std::string_view name);

}  // namespace tessel::markup
