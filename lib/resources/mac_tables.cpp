// The two tables are derived at compile time from the Unicode identity of
// each byte in both character sets, then the few deliberate exceptions are
// applied.
#include "resources/mac_tables.h"

#include <utility>

namespace tessel::resources {

namespace {

// Unicode of the Macintosh Roman bytes 0x80-0xFF, with the currency sign at
// 0xDB.
constexpr char16_t kMacRomanHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,  // 80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,  // 88
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,  // 90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,  // 98
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,  // A0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,  // A8
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,  // B0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,  // B8
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,  // C0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,  // C8
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,  // D0
    0x00FF, 0x0178, 0x2044, 0x00A4, 0x2039, 0x203A, 0xFB01, 0xFB02,  // D8
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,  // E0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,  // E8
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,  // F0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,  // F8
};

// Unicode of the Windows 1252 bytes 0x80-0x9F (0 = undefined); 0xA0-0xFF
// are Latin-1.
constexpr char16_t kWindows1252C1[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98
};

constexpr char16_t macUnicode(int byte) {
    return byte < 0x80 ? static_cast<char16_t>(byte) : kMacRomanHigh[byte - 0x80];
}

constexpr char16_t ansiUnicode(int byte) {
    if (byte < 0x80 || byte >= 0xA0) return static_cast<char16_t>(byte);
    return kWindows1252C1[byte - 0x80];
}

// Control characters other than tab, line feed, form feed and carriage
// return have no counterpart in either direction.
constexpr bool isUnmappedControl(int byte) {
    return (byte >= 1 && byte <= 8) || byte == 11 || (byte >= 14 && byte <= 31);
}

template <typename FromUnicode, typename ToUnicode>
constexpr ByteTable deriveTable(FromUnicode from, ToUnicode to) {
    ByteTable table{};
    for (int byte = 0; byte < 256; ++byte) {
        if (isUnmappedControl(byte)) {
            table[byte] = kNoCounterpart;
            continue;
        }
        char16_t wanted = from(byte);
        table[byte] = kNoCounterpart;
        if (byte == 0) table[byte] = 0;
        for (int candidate = 0; candidate < 256 && wanted != 0; ++candidate) {
            if (!isUnmappedControl(candidate) && to(candidate) == wanted) {
                table[byte] = static_cast<std::uint8_t>(candidate);
                break;
            }
        }
    }
    return table;
}

constexpr ByteTable buildMacToAnsi() {
    ByteTable table = deriveTable(macUnicode, ansiUnicode);
    for (int byte = 0xB6; byte <= 0xBD; ++byte) table[byte] = kNoCounterpart;
    table[0xD0] = 0xAD;  // en dash
    table[0xD1] = 0x96;  // em dash
    table[0xFC] = kNoCounterpart;
    table[0xFE] = 0xB8;
    return table;
}

constexpr ByteTable buildAnsiToMac() {
    ByteTable table = deriveTable(ansiUnicode, macUnicode);
    table[0x80] = kNoCounterpart;
    table[0x96] = 0xD1;
    table[0x97] = kNoCounterpart;
    table[0xA4] = 0xDB;
    table[0xAA] = kNoCounterpart;
    table[0xAD] = 0xD0;
    table[0xB8] = 0xFE;
    table[0xBA] = kNoCounterpart;
    return table;
}

constexpr ByteTable kMacToAnsi = buildMacToAnsi();
constexpr ByteTable kAnsiToMac = buildAnsiToMac();

}  // namespace

const ByteTable& macToAnsiTable() {
    return kMacToAnsi;
}
const ByteTable& ansiToMacTable() {
    return kAnsiToMac;
}

}  // namespace tessel::resources
