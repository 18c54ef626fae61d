// Lexes and parses arbitrary input with the pagemaker grammar.
#include "fuzz/grammar_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tessel::fuzz::lexAndParse("pagemaker", data, size);
}
