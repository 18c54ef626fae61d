#include "frame/caret_table.h"

#include "frame/return_codes.h"

namespace tessel::frame {

CaretTable::CaretTable(const resources::ByteTable& table) {
    for (std::size_t byte = 0; byte < 256; ++byte) {
        bool missing = table[byte] == resources::kNoCounterpart;
        entries_[byte] = static_cast<std::uint16_t>(missing ? kMissing | '^' : table[byte]);
    }
}

const CaretTable* characterSetTable(int functionCode) {
    static const CaretTable macToAnsi(resources::macToAnsiTable());
    static const CaretTable ansiToMac(resources::ansiToMacTable());
    switch (functionCode) {
        case kMacToAnsi:
            return &macToAnsi;
        case kAnsiToMac:
            return &ansiToMac;
        default:
            return nullptr;
    }
}

}  // namespace tessel::frame
