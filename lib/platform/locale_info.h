// Locale information for the language list: the display name of a locale's
// language and its default ANSI code page, from the library's own locale
// table (resources/locale_table) instead of the operating system.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessel::platform {

// At most 50 characters; none for a locale the table does not know.
std::optional<std::string_view> localeLanguageName(std::uint32_t locale);

// None for a locale the table does not know.
std::optional<unsigned> localeDefaultAnsiCodePage(std::uint32_t locale);

}  // namespace tessel::platform
