#include "frame/execute_function.h"

#include <gtest/gtest.h>

#include <string>

#include "frame/return_codes.h"
#include "resources/mac_tables.h"

namespace tessel::frame {
namespace {

// What converting byte by byte through the table gives: the converted line
// and whether a byte without a counterpart (written "^") was met.
std::pair<std::string, bool> convertedByTable(const std::string& line,
                                              const resources::ByteTable& table) {
    std::string out;
    bool missing = false;
    for (char c : line) {
        std::uint8_t to = table[static_cast<unsigned char>(c)];
        if (to == resources::kNoCounterpart) {
            missing = true;
            to = '^';
        }
        out += static_cast<char>(to);
    }
    return {out, missing};
}

void expectConvertedByTable(const std::string& line, int code, const resources::ByteTable& table) {
    std::string converted = line;
    int result = convertCharacterSet(converted, code);
    auto [expected, missing] = convertedByTable(line, table);
    EXPECT_EQ(converted, expected) << "code " << code << " length " << line.size();
    EXPECT_EQ(result, missing ? -1501 : 0) << "code " << code << " length " << line.size();
}

TEST(ConvertCharacterSet, EveryByteValueConvertsAsItsTableSaysInBothDirections) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    // Every byte alone, and all of them in one line at every starting offset
    // of a chunk, so that each lands in the chunked part and in the tail.
    for (int code : {kMacToAnsi, kAnsiToMac}) {
        const resources::ByteTable& table =
            code == kMacToAnsi ? resources::macToAnsiTable() : resources::ansiToMacTable();
        for (int byte = 0; byte < 256; ++byte) {
            expectConvertedByTable(std::string(1, static_cast<char>(byte)), code, table);
        }
        for (std::size_t shift = 0; shift < 17; ++shift) {
            expectConvertedByTable(std::string(shift, 'a') + all, code, table);
        }
    }
}

TEST(ConvertCharacterSet, AByteWithoutCounterpartIsFoundAtEveryOffset) {
    for (int code : {kMacToAnsi, kAnsiToMac}) {
        const resources::ByteTable& table =
            code == kMacToAnsi ? resources::macToAnsiTable() : resources::ansiToMacTable();
        int missingByte = -1;
        for (int byte = 0x80; byte < 256 && missingByte < 0; ++byte) {
            if (table[byte] == resources::kNoCounterpart) missingByte = byte;
        }
        ASSERT_GE(missingByte, 0) << "code " << code << " has no byte without counterpart";
        for (std::size_t length = 1; length <= 40; ++length) {
            for (std::size_t at = 0; at < length; ++at) {
                std::string line(length, 'x');
                line[at] = static_cast<char>(missingByte);
                expectConvertedByTable(line, code, table);
            }
        }
    }
}

}  // namespace
}  // namespace tessel::frame
