// Keyword table of a lexer table: sorted entries that turn a completed token
// into a keyword token (token number and alternate number of the entry).
//
// Block layout (unsigned 32-bit little-endian): a 40-byte header (0 table
// size, 4 entry count), then 41-byte entries: 0 token number, 4 case-
// insensitive flag (1 byte), 5 offset of the zero-terminated text from the
// table start, 9 pointer word, 13 alternate token number, 17 second offset,
// 21 pointer word, reserved up to 41.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::parser {

class SSToken;

class SSLexKeywordTable {
  public:
    static constexpr std::size_t kHeaderSize = 40;
    static constexpr std::size_t kEntrySize = 41;

    struct Entry {
        std::int32_t tokenNumber;
        bool caseInsensitive;
        std::string text;
        std::int32_t alternateTokenNumber;
    };

    // Parses and validates one table block (SSLex0104e naming `tableName`).
    SSLexKeywordTable(std::span<const std::uint8_t> block, std::string_view tableName);

    // Binary search for the token's text; on a hit the token takes the
    // entry's token number and alternate number. Returns whether it hit.
    bool lookup(SSToken& token) const;

    const std::vector<Entry>& entries() const { return entries_; }

  private:
    std::vector<Entry> entries_;
};

}  // namespace tessel::parser
