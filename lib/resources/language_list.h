// The languages the language dialog offers: locale identifiers in the order
// they are added to the list, and the fallback names and code pages of the
// locales whose information may be missing.
#pragma once

#include <cstdint>
#include <span>

namespace tessel::resources {

// The 104 locale identifiers, in table order.
std::span<const std::uint32_t> languageListLocales();

struct LanguageFallback {
    std::uint32_t locale;
    unsigned nameStringId;  // in the library's string table
    unsigned codePage;
};

// Used where the locale information gives no name or no code page; every
// other locale without information is left out of the list.
std::span<const LanguageFallback> languageFallbacks();

}  // namespace tessel::resources
