// Character tables of the Windows code pages that translated RTF arrives in
// and that back-converted files are written in: 874, 932, 936, 949, 950 and
// 1250 to 1258. The data (code_page_tables.cpp) is generated from a reliable
// source by tools/code_pages/generate_code_page_tables.py.
#pragma once

#include <cstdint>
#include <span>

namespace tessel::resources {

// Trail bytes of a double-byte page's rows run from here to 0xFE.
inline constexpr unsigned kTrailFirst = 0x40;
inline constexpr unsigned kTrailLast = 0xFE;
inline constexpr unsigned kTrailCount = kTrailLast - kTrailFirst + 1;

// A character whose bytes differ from the first byte sequence that decodes
// to it; `length` 0 means the page holds no bytes for it.
struct CodePageEncodeException {
    char16_t character;
    std::uint16_t bytes;  // one byte, or lead byte * 256 + trail byte
    std::uint8_t length;
};

// Bytes 0x00 to 0x7F are ASCII in every page.
struct CodePageTable {
    int codePage;
    // Character of each single byte 0x80 to 0xFF; 0 for a lead byte or a
    // byte without a character.
    const char16_t* high;
    // Double-byte pages: row of each byte 0x80 to 0xFF in `pairs`, -1 for a
    // byte that leads no pair; null for single-byte pages.
    const std::int16_t* leadRow;
    // kTrailCount characters per row, 0 where a pair has none.
    const char16_t* pairs;
    const CodePageEncodeException* encodeExceptions;
    int encodeExceptionCount;
};

std::span<const CodePageTable> codePageTables();

// A character of the Macintosh Roman set that Windows 1252 lacks, and its
// Macintosh byte (sorted by character).
struct MacRomanByte {
    char16_t character;
    std::uint8_t byte;
};
std::span<const MacRomanByte> macRomanOnlyCharacters();

}  // namespace tessel::resources
