// Code pages and the HTML charset names they are declared with: the names
// are string resources 900 to 928 of the library; any other code page has no
// charset name.
#pragma once

#include <span>

namespace tessel::resources {

struct CodePageName {
    unsigned codePage;
    unsigned stringId;
};

// Sorted by code page.
std::span<const CodePageName> codePageNames();

// String resource of the META charset declaration inserted into HTML: it
// begins with a line break and takes the charset name for its %s.
inline constexpr unsigned kMetaCharsetLineId = 950;

}  // namespace tessel::resources
