// Code pages and their double-byte lead bytes.
//
// The library works on 8-bit text in the process's active ANSI code page.
// Some East Asian code pages encode characters in two bytes, the first of
// which (the lead byte) lies in a page-specific range; scanners must keep the
// two bytes together. The class table below is the single place that knows
// those ranges.
#pragma once

#include <cstdint>

namespace tessel::platform {

// Code page assumed when neither the environment nor the system names one.
inline constexpr int kDefaultAnsiCodePage = 1252;

// Code-page classes: 0 stands for "whatever the active code page is", the
// others are fixed lead-byte behaviours.
enum class CodePageClass : int {
    Active = 0,              // decided by activeAnsiCodePage()
    SingleByte = 1,          // 874, 1250-1258, 1361: no lead bytes
    Japanese = 2,            // 932: 0x81-0x9F, 0xE0-0xFC
    SimplifiedChinese = 3,   // 936: 0xA1-0xFE
    Korean = 4,              // 949: 0x81-0xFE
    TraditionalChinese = 5,  // 950: 0x81-0xFE
    Other = 6,               // any other page: no lead bytes
};

// Class of a Windows code page number (never Active).
CodePageClass codePageClass(int codePage);

// True when `byte` starts a double-byte character in `codePage`.
bool isLeadByte(int codePage, std::uint8_t byte);

// True when `byte` is a lead byte of the given class (Active: of the active
// ANSI code page).
bool isLeadByteOfClass(CodePageClass cls, std::uint8_t byte);

// The active ANSI code page: the number in the environment variable
// TESSEL_ACP when it holds a valid one, else the system's active ANSI code
// page on Windows and 1252 elsewhere. Read on every call so a
// process (or a test) may change it before creating a scanner.
int activeAnsiCodePage();

}  // namespace tessel::platform
