// One deterministic automaton of a lexer table.
//
// States are numbered from 0 (the start state). Each has an accept entry
// (what a match ending there means) and a transition row of character
// ranges. The same block format also serves the parser's lookahead lists,
// whose characters are terminal numbers.
//
// Block layout (unsigned 32-bit little-endian, offsets from the block start):
//   0 magic "XLSS" or 1, 4 block size, 40 state count, 48 offset of the
//   row-offset array, 52 offset of the accept array (28 bytes per state:
//   token, list, flags, keyword table, alternate token, 2 reserved);
//   a row is a count and that many (low, high, next) triples.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tessel::parser {

// Accept flags.
inline constexpr std::uint32_t kSSLexFlagFinal = 0x01;        // end of an EOL pattern's lead
inline constexpr std::uint32_t kSSLexFlagStartAnchor = 0x02;  // drop the leading LF
inline constexpr std::uint32_t kSSLexFlagPop = 0x08;
inline constexpr std::uint32_t kSSLexFlagAccept = 0x10;
inline constexpr std::uint32_t kSSLexFlagPush = 0x20;
inline constexpr std::uint32_t kSSLexFlagSwitch = 0x28;  // pop, then push
inline constexpr std::uint32_t kSSLexFlagIgnore = 0x40;
inline constexpr std::uint32_t kSSLexFlagEndAnchor = 0x80;  // give the trailing LF back
inline constexpr std::uint32_t kSSLexFlagReduce = 0x100;    // lookahead lists: reduce
inline constexpr std::uint32_t kSSLexFlagKeyword = 0x200;
inline constexpr std::uint32_t kSSLexFlagAlternate = 0x400;

// "No transition" as a next state.
inline constexpr std::uint32_t kSSLexNoState = 0xFFFFFFFFu;

struct SSLexAcceptEntry {
    std::int32_t tokenNumber = 0;  // 0: the state does not accept; -1: BOF
    std::uint32_t expressionList = 0;
    std::uint32_t flags = 0;
    std::uint32_t keywordTable = 0;
    std::int32_t alternateTokenNumber = 0;
};

class SSLexExpressionList {
  public:
    static constexpr std::size_t kHeaderSize = 88;
    static constexpr std::size_t kAcceptEntrySize = 28;

    // Parses and validates one block; any inconsistency throws SSLex0104e
    // naming `tableName`.
    SSLexExpressionList(std::span<const std::uint8_t> block, std::string_view tableName);

    std::size_t stateCount() const { return accepts_.size(); }
    // Precondition: state < stateCount().
    const SSLexAcceptEntry& accept(std::uint32_t state) const { return accepts_[state]; }
    // Next state on `character`, or kSSLexNoState. Single bytes come from the
    // dense table; the BOF and double-byte characters scan the row.
    std::uint32_t next(std::uint32_t state, std::uint32_t character) const {
        if (state >= rows_.size()) return kSSLexNoState;
        if (character < kDenseWidth) return nextByte(state, character);
        return scanRow(state, character);
    }
    // Next state on a single byte. Precondition: state < stateCount() and
    // byte < 256.
    std::uint32_t nextByte(std::uint32_t state, std::uint32_t byte) const {
        std::uint32_t entry = dense_[std::size_t{state} * kDenseWidth + byte];
        return entry == kSSLexNoState ? entry : entry & kDenseStateMask;
    }
    // The dense table: for state s and byte b, entry s * 256 + b is
    // kSSLexNoState or the next state, with kDenseAccepting set when that
    // state accepts (flag 0x10) and kDenseRun when it is a run state (see
    // runStates()), so the scanner tests both without another load.
    static constexpr std::uint32_t kDenseWidth = 256;
    static constexpr std::uint32_t kDenseAccepting = 0x80000000u;
    static constexpr std::uint32_t kDenseRun = 0x40000000u;
    static constexpr std::uint32_t kDenseStateMask = 0x3FFFFFFFu;
    const std::uint32_t* denseTable() const { return dense_.data(); }

    // A state that every byte but a few (its stop bytes) leads back to
    // itself: a run of such bytes, as in [^<]+, can be passed in one step
    // instead of a transition per byte.
    static constexpr std::size_t kMaxRunStops = 3;
    struct RunState {
        std::uint8_t stopCount = kNotARun;  // kNotARun: not such a state
        std::array<std::uint8_t, kMaxRunStops> stops{};
        // False when LF is a stop byte: the run then holds no line ends.
        bool holdsLineFeeds = true;
    };
    static constexpr std::uint8_t kNotARun = 0xFF;
    // One entry per state.
    const RunState* runStates() const { return runs_.data(); }
    // Next state found by scanning the state's row: the triples are read in
    // order and the scan stops at the first range starting above the character.
    std::uint32_t scanRow(std::uint32_t state, std::uint32_t character) const {
        if (state >= rows_.size()) return kSSLexNoState;
        std::size_t at = rows_[state];
        std::uint32_t count = word(at);
        for (at += 4; count != 0; --count, at += kTripleSize) {
            if (word(at) > character) break;
            if (character <= word(at + 4)) return word(at + 8);
        }
        return kSSLexNoState;
    }

  private:
    static constexpr std::size_t kTripleSize = 12;
    // Fills dense_ from the rows: the scanner's inner loop then needs one
    // load per byte instead of a row scan.
    void buildDenseTable();
    // Finds the run states in the dense table.
    void findRunStates();
    // Writes the next state of every byte for the row at `at` (256 entries).
    void expandRow(std::size_t at, std::uint32_t* entries) const;

    // Little-endian word of the (validated) block.
    std::uint32_t word(std::size_t offset) const {
        const std::uint8_t* p = block_.data() + offset;
        return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
               static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    }

    std::vector<SSLexAcceptEntry> accepts_;
    // Validated offsets of each state's row inside block_; rows may be shared.
    std::vector<std::uint32_t> rows_;
    std::vector<std::uint8_t> block_;
    // 256 entries per state (see denseTable()).
    std::vector<std::uint32_t> dense_;
    std::vector<RunState> runs_;
};

}  // namespace tessel::parser
