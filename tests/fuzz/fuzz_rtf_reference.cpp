// Fuzzes the RTF reader against the plain reference reader of tests/support:
// for any input both must hand on the same paragraphs, character-style runs
// (the changes the style observer is told of, with their offsets), notices
// and result, with group replay on and off. Both keep the same documented
// limits, so every input is compared.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/reference_rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessel::testing;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string expected = describeReading(readReferenceRtf(bytes));
    for (bool replays : {true, false}) {
        const std::string found = describeReading(readFastRtf(bytes, replays));
        if (found != expected) {
            std::fprintf(stderr, "reference reading:\n%s\nreader's reading (replays %s):\n%s\n",
                         expected.c_str(), replays ? "on" : "off", found.c_str());
            std::abort();
        }
    }
    return 0;
}
