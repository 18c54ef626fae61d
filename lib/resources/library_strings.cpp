// The library's string table: texts the jobs look up by number.
#include <array>

#include "resources/resource_index.h"

namespace tessel::resources {

namespace {

// Sorted by id.
constexpr std::array kStrings = {
    // Fallback language names of the language list.
    StringResource{500, "Chinese, Traditional (Taiwan)"},
    StringResource{501, "Chinese, Simplified (People's Republic of China)"},
    StringResource{502, "Chinese (Hong Kong)"},
    StringResource{503, "Chinese (Singapore)"},
    StringResource{504, "Japanese"},
    StringResource{505, "Korean"},
    StringResource{507, "Thai"},
    StringResource{508, "Vietnamese"},
    // Charset names by code page, in ascending code-page order.
    StringResource{900, "dos-720"},
    StringResource{901, "windows-850"},
    StringResource{902, "dos-862"},
    StringResource{903, "Windows-874"},
    StringResource{904, "shift_jis"},
    StringResource{905, "gb2312"},
    StringResource{906, "ks_c_5601-1987"},
    StringResource{907, "big5"},
    StringResource{908, "Windows-1250"},
    StringResource{909, "Windows-1251"},
    StringResource{910, "iso-8859-1"},
    StringResource{911, "Windows-1253"},
    StringResource{912, "Windows-1254"},
    StringResource{913, "Windows-1255"},
    StringResource{914, "Windows-1256"},
    StringResource{915, "Windows-1257"},
    StringResource{916, "Windows-1258"},
    StringResource{917, "koi8-r"},
    StringResource{918, "iso-8859-2"},
    StringResource{919, "iso-8859-4"},
    StringResource{920, "iso-8859-5"},
    StringResource{921, "iso-8859-7"},
    StringResource{922, "iso-8859-9"},
    StringResource{923, "iso-2022-jp"},
    StringResource{924, "ISO-2022-KR"},
    StringResource{925, "x-euc-jp"},
    StringResource{926, "HZ-GB-2312"},
    StringResource{927, "UNICODE-1-1-UTF-7"},
    StringResource{928, "UTF-8"},
    // The META charset declaration inserted into HTML output.
    StringResource{950, "\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=%s\">"},
};

}  // namespace

std::span<const StringResource> libraryStrings() {
    return kStrings;
}

}  // namespace tessel::resources
