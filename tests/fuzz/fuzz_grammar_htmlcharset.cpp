// Lexes and parses arbitrary input with the htmlcharset grammar.
#include "fuzz/grammar_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tessel::fuzz::lexAndParse("htmlcharset", data, size);
}
