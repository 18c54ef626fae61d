// The library's compiled-in resources, found by name and type as resources of
// a module are: names and types compare without regard to case.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tessel::platform {

// Binary resource (grammar tables: types "LEXTABLE" and "YACCTABLE").
std::optional<std::span<const std::uint8_t>> findResource(std::string_view name,
                                                          std::string_view type);

// String-table entry by number.
std::optional<std::string_view> loadString(unsigned id);

}  // namespace tessel::platform
