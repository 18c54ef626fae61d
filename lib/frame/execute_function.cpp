#include "frame/execute_function.h"

#include <array>
#include <cstdint>

#include "frame/return_codes.h"
#include "platform/byte_scan.h"
#include "resources/mac_tables.h"

namespace tessel::frame {

namespace {

constexpr int kUnconvertibleCharacters = -1501;

// A conversion table whose entries hold the converted byte ("^" for a byte
// without a counterpart) and, above it, a flag for the bytes without one.
class CaretTable {
  public:
    explicit CaretTable(const resources::ByteTable& table) {
        for (std::size_t byte = 0; byte < 256; ++byte) {
            bool missing = table[byte] == resources::kNoCounterpart;
            entries_[byte] = static_cast<std::uint16_t>(missing ? kMissing | '^' : table[byte]);
            if (byte >= 0x20 && byte < 0x80 && entries_[byte] != byte) printableKept_ = false;
        }
    }

    // Converts `line` in place; true when some byte had no counterpart.
    bool convert(std::string& line) const {
        unsigned seen = 0;
        char* bytes = line.data();
        if (printableKept_) {
            // Text is mostly printable ASCII, which both tables keep: only
            // the other bytes are looked up.
            platform::forEachNonPrintableByte(
                bytes, line.size(), [&](std::size_t at) { seen |= convertByte(bytes[at]); });
        } else {
            for (char& c : line) seen |= convertByte(c);
        }
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
    bool printableKept_ = true;  // every byte from 0x20 to 0x7F converts to itself
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
