// A plain reader of lexer and parser table images, following the byte layout
// word by word, used by the tests to check generated tables independently of
// the compiler's own data structures. Single-byte input only; no recovery.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessel::testing {

struct ScannedToken {
    std::int32_t token;
    int line;
    int column;
    std::string text;
    bool ignored;
};

// Scans text (line feeds as line ends) with the lexer table; throws
// std::runtime_error("invalid token at L:C") when no expression matches.
std::vector<ScannedToken> scanWithTable(std::span<const std::uint8_t> lexTable,
                                        const std::string& text);

struct ParseOutcome {
    std::vector<int> reductions;  // production numbers in order
    bool accepted = false;
    int errorState = -1;                 // state at the first syntax error
    std::int32_t errorToken = 0;         // lookahead at the first syntax error
    std::vector<std::int32_t> expected;  // action symbols of errorState, row order
};

// Parses the non-ignored tokens (followed by eof, -1) without recovery.
ParseOutcome parseWithTable(std::span<const std::uint8_t> yaccTable,
                            const std::vector<ScannedToken>& tokens);

// Little-endian word at a byte offset of a table image.
std::uint32_t tableWord(std::span<const std::uint8_t> image, std::size_t offset);

}  // namespace tessel::testing
