#include "platform/code_pages.h"

#include <array>
#include <cstdlib>
#include <string_view>

#include "platform/windows_api.h"

namespace tessel::platform {

namespace {

struct LeadRange {
    std::uint8_t low;
    std::uint8_t high;
};

struct ClassLeadBytes {
    CodePageClass cls;
    std::array<LeadRange, 2> ranges;  // unused ranges are {1, 0} (empty)
};

constexpr LeadRange kNone{1, 0};

// Lead-byte ranges of the double-byte classes; every other class has none.
constexpr std::array<ClassLeadBytes, 4> kLeadBytes{{
    {CodePageClass::Japanese, {{{0x81, 0x9F}, {0xE0, 0xFC}}}},
    {CodePageClass::SimplifiedChinese, {{{0xA1, 0xFE}, kNone}}},
    {CodePageClass::Korean, {{{0x81, 0xFE}, kNone}}},
    {CodePageClass::TraditionalChinese, {{{0x81, 0xFE}, kNone}}},
}};

}  // namespace

CodePageClass codePageClass(int codePage) {
    switch (codePage) {
        case 874:
        case 1361:
            return CodePageClass::SingleByte;
        case 932:
            return CodePageClass::Japanese;
        case 936:
            return CodePageClass::SimplifiedChinese;
        case 949:
            return CodePageClass::Korean;
        case 950:
            return CodePageClass::TraditionalChinese;
        default:
            break;
    }
    if (codePage >= 1250 && codePage <= 1258) return CodePageClass::SingleByte;
    return CodePageClass::Other;
}

bool isLeadByteOfClass(CodePageClass cls, std::uint8_t byte) {
    if (cls == CodePageClass::Active) cls = codePageClass(activeAnsiCodePage());
    for (const auto& entry : kLeadBytes) {
        if (entry.cls != cls) continue;
        for (const auto& range : entry.ranges) {
            if (byte >= range.low && byte <= range.high) return true;
        }
        return false;
    }
    return false;
}

bool isLeadByte(int codePage, std::uint8_t byte) {
    return isLeadByteOfClass(codePageClass(codePage), byte);
}

namespace {

// The code page when TESSEL_ACP names none.
int systemAnsiCodePage() {
#ifdef _WIN32
    return static_cast<int>(::GetACP());
#else
    return kDefaultAnsiCodePage;
#endif
}

}  // namespace

int activeAnsiCodePage() {
    const char* value = std::getenv("TESSEL_ACP");
    if (value == nullptr) return systemAnsiCodePage();
    std::string_view text(value);
    if (text.empty() || text.size() > 5) return systemAnsiCodePage();
    int number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return systemAnsiCodePage();
        number = number * 10 + (c - '0');
    }
    return number > 0 && number <= 65535 ? number : systemAnsiCodePage();
}

}  // namespace tessel::platform
