#include "frame/execute_function.h"

#include <array>
#include <cstdint>

#include "frame/return_codes.h"
#include "resources/mac_tables.h"

namespace tessel::frame {

namespace {

constexpr int kUnconvertibleCharacters = -1501;

// A conversion table whose entries hold the converted byte ("^" for a byte
// without a counterpart) and, above it, a flag for the bytes without one:
// one load per byte, no branch.
class CaretTable {
  public:
    explicit CaretTable(const resources::ByteTable& table) {
        for (std::size_t byte = 0; byte < 256; ++byte) {
            bool missing = table[byte] == resources::kNoCounterpart;
            entries_[byte] = static_cast<std::uint16_t>(missing ? kMissing | '^' : table[byte]);
        }
    }

    // Converts `line` in place; true when some byte had no counterpart.
    bool convert(std::string& line) const {
        unsigned seen = 0;
        char* p = line.data();
        char* end = p + line.size();
        // Eight bytes a round: the loop's own steps cost as much as a byte's.
        for (; end - p >= 8; p += 8) {
            seen |= convertByte(p[0]) | convertByte(p[1]) | convertByte(p[2]) | convertByte(p[3]) |
                    convertByte(p[4]) | convertByte(p[5]) | convertByte(p[6]) | convertByte(p[7]);
        }
        for (; p < end; ++p) seen |= convertByte(*p);
        return (seen & kMissing) != 0;
    }

  private:
    static constexpr std::uint16_t kMissing = 0x100;

    // Converts one byte in place; returns its table entry.
    unsigned convertByte(char& c) const {
        std::uint16_t entry = entries_[static_cast<unsigned char>(c)];
        c = static_cast<char>(entry & 0xFF);
        return entry;
    }

    std::array<std::uint16_t, 256> entries_{};
};

}  // namespace

int convertCharacterSet(std::string& line, int functionCode) {
    static const CaretTable macToAnsi(resources::macToAnsiTable());
    static const CaretTable ansiToMac(resources::ansiToMacTable());
    const CaretTable& table = functionCode == kMacToAnsi ? macToAnsi : ansiToMac;
    return table.convert(line) ? kUnconvertibleCharacters : 0;
}

int executeFrameFunction(std::string& line, int functionCode) {
    switch (functionCode) {
        case kRtfToText:
        case kRtfToHtml:
        case kRtfToPageMaker:
        case kRtfToXPress:
        case kRtfToSgml:
        case kRtfToVentura4:
        case kRtfToCompatibleHtml:
        case kRtfToHtmlMultiLingual:
            return 0;
        case kMacToAnsi:
        case kAnsiToMac:
            return convertCharacterSet(line, functionCode);
        case kLineBreaksToPc:
            return 1;
        default:
            return kInvalidFunction;
    }
}

}  // namespace tessel::frame
