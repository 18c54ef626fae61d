// Byte tables between the Macintosh character set and the ANSI code page
// (Windows 1252). The value 2 marks a character without a counterpart.
#pragma once

#include <array>
#include <cstdint>

namespace tessel::resources {

inline constexpr std::uint8_t kNoCounterpart = 2;

using ByteTable = std::array<std::uint8_t, 256>;

const ByteTable& macToAnsiTable();
const ByteTable& ansiToMacTable();

}  // namespace tessel::resources
