// The Macintosh character-set conversions as byte tables: each entry holds
// the converted byte ("^" for a byte without a counterpart) and, above it, a
// flag for the bytes without one, so a byte costs one load and no branch.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "resources/mac_tables.h"

namespace tessel::frame {

class CaretTable {
  public:
    explicit CaretTable(const resources::ByteTable& table);

    // Converts `size` bytes from `in` to `out` (which may be `in`); true when
    // some byte had no counterpart.
    bool convert(const char* in, std::size_t size, char* out) const {
        unsigned seen = 0;
        std::size_t i = 0;
        // Eight bytes a round: the loop's own steps cost as much as a byte's.
        for (; size - i >= 8; i += 8) {
            seen |= convertByte(in[i], out[i]) | convertByte(in[i + 1], out[i + 1]) |
                    convertByte(in[i + 2], out[i + 2]) | convertByte(in[i + 3], out[i + 3]) |
                    convertByte(in[i + 4], out[i + 4]) | convertByte(in[i + 5], out[i + 5]) |
                    convertByte(in[i + 6], out[i + 6]) | convertByte(in[i + 7], out[i + 7]);
        }
        for (; i < size; ++i) seen |= convertByte(in[i], out[i]);
        return (seen & kMissing) != 0;
    }

    // True when `byte` converts to itself: a line end that the table keeps
    // can be written without going through it.
    bool keeps(unsigned char byte) const { return entries_[byte] == byte; }

  private:
    static constexpr std::uint16_t kMissing = 0x100;

    // Converts one byte; returns its table entry.
    unsigned convertByte(char in, char& out) const {
        std::uint16_t entry = entries_[static_cast<unsigned char>(in)];
        out = static_cast<char>(entry & 0xFF);
        return entry;
    }

    std::array<std::uint16_t, 256> entries_{};
};

// The table of a character-set function code (610 Macintosh to ANSI, 611
// ANSI to Macintosh); null for any other code.
const CaretTable* characterSetTable(int functionCode);

}  // namespace tessel::frame
