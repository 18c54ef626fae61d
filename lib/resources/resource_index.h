// Index of the resources compiled into the library. The platform lookup
// searches these tables; generated code and the string tables provide them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tessel::resources {

struct BinaryResource {
    std::string_view name;  // stored in capitals; lookup ignores case
    std::string_view type;
    std::span<const std::uint8_t> data;
};

struct StringResource {
    unsigned id;
    std::string_view text;
};

// Grammar tables, generated at build time from lib/resources/grammars/.
std::span<const BinaryResource> grammarResources();

// The library's string table, sorted by id.
std::span<const StringResource> libraryStrings();

}  // namespace tessel::resources
