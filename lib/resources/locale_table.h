// Our own locale information: the display name of a locale's language and its
// default ANSI code page, standing in for what the operating system would
// report for a locale identifier. Only the locales the language dialog lists
// are here.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tessel::resources {

struct LocaleRecord {
    std::uint32_t id;              // locale identifier: language low 10 bits, sublanguage above
    std::string_view displayName;  // at most 50 characters
    unsigned defaultAnsiCodePage;
};

// Sorted by identifier.
std::span<const LocaleRecord> localeTable();

}  // namespace tessel::resources
