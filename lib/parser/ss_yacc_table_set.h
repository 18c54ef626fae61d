// A loaded LALR parser table.
//
// Image layout (unsigned 32-bit little-endian, offsets from the image start):
//   0 magic "CYSS", 1 (rows located by offset) or 0 (rows packed from the
//     first-row offset);
//   4 low 16 bits production count, high 16 bits lookahead-list count;
//   8 state count; 12 first-row offset; 16 production-table offset;
//   20 one row offset per state.
// Production table: (right-side length, left-side nonterminal) per production.
// A state row: flags, goto count, action count, then the action entries, the
// goto entries and, with flag 2, the error-shift entry; each entry is a word
// and a symbol. Behind the last row come the lookahead lists, in the
// expression-list block format of the lexer.
// Every offset, count, state, production and list number is checked while
// loading; a damaged image throws SSYacc0111e (SSLex0104e for a bad
// lookahead list) and is never read beyond its end.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "parser/ss_lex_expression_list.h"

namespace tessel::parser {

// Row flags.
inline constexpr std::uint32_t kSSYaccRowMarkedRecovery = 0x1;  // marked actions resume here
inline constexpr std::uint32_t kSSYaccRowErrorShift = 0x2;    // row ends with an error-shift entry
inline constexpr std::uint32_t kSSYaccRowFullRecovery = 0x4;  // every action resumes here
inline constexpr std::uint32_t kSSYaccRowEmpty = 0x8;

// Action word bits; the operand is the low 27 bits.
inline constexpr std::uint32_t kSSYaccShift = 0x40000000;
inline constexpr std::uint32_t kSSYaccReduce = 0x20000000;
inline constexpr std::uint32_t kSSYaccAccept = 0x10000000;
inline constexpr std::uint32_t kSSYaccLookahead = 0x08000000;
inline constexpr std::uint32_t kSSYaccRecoveryMark = 0x80000000;
inline constexpr std::uint32_t kSSYaccOperandMask = 0x07FFFFFF;

// Symbols of the runtime's own tokens.
inline constexpr std::int32_t kSSYaccEofSymbol = -1;
inline constexpr std::int32_t kSSYaccErrorSymbol = -2;

// "No goto entry" as a target state.
inline constexpr std::uint32_t kSSYaccNoGoto = 0xFFFFFFFFu;

class SSYaccTableSet {
  public:
    struct Entry {
        std::uint32_t word;
        std::int32_t symbol;
    };
    struct Production {
        std::uint32_t length;
        std::int32_t leftSide;
    };
    struct Row {
        std::uint32_t flags = 0;
        std::vector<Entry> actions;
        std::vector<Entry> gotos;
        std::optional<std::uint32_t> errorShiftState;
    };

    // Loads the named resource of the library ("YACCTABLE"; names ignore
    // case). A missing resource throws SSYacc0115e with the name.
    static SSYaccTableSet fromResource(std::string_view name, std::string_view type = "YACCTABLE");
    // The same tables, loaded once per process and kept (resources never
    // change): what a converter built for each file of a batch uses.
    static const SSYaccTableSet& shared(std::string_view name, std::string_view type = "YACCTABLE");
    // Loads a table file; SSYacc0101e when it cannot be opened.
    static SSYaccTableSet fromFile(const std::string& path);
    // Loads an image held by the caller; `name` appears in error messages.
    static SSYaccTableSet fromImage(std::span<const std::uint8_t> image, std::string_view name);

    std::size_t stateCount() const { return rowOfState_.size(); }
    std::size_t productionCount() const { return productions_.size(); }
    std::size_t lookaheadListCount() const { return lookaheadLists_.size(); }
    // Preconditions: index below the respective count.
    const Row& row(std::size_t state) const { return rows_[rowOfState_[state]]; }
    const Production& production(std::size_t index) const { return productions_[index]; }
    const SSLexExpressionList& lookaheadList(std::size_t index) const {
        return lookaheadLists_[index];
    }
    const std::string& name() const { return name_; }

    // The word of the state's first action entry for `symbol`, or 0 (an
    // error action) when the row has none. Precondition: state <
    // stateCount().
    std::uint32_t actionWord(std::uint32_t state, std::int32_t symbol) const {
        if (!denseActions_.empty()) {
            std::uint64_t column = std::uint64_t(std::int64_t{symbol} - actionBase_);
            if (column >= actionSpan_) return 0;
            return denseActions_[std::size_t{state} * actionSpan_ + column];
        }
        return scanActions(state, symbol);
    }
    // The goto target of the state's first goto entry for `nonterminal`, or
    // kSSYaccNoGoto. Precondition: state < stateCount().
    std::uint32_t gotoState(std::uint32_t state, std::int32_t nonterminal) const {
        if (!denseGotos_.empty()) {
            std::uint64_t column = std::uint64_t(std::int64_t{nonterminal} - gotoBase_);
            if (column >= gotoSpan_) return kSSYaccNoGoto;
            return denseGotos_[std::size_t{state} * gotoSpan_ + column];
        }
        return scanGotos(state, nonterminal);
    }
    // The same answers found by scanning the row's entries in order.
    std::uint32_t scanActions(std::uint32_t state, std::int32_t symbol) const;
    std::uint32_t scanGotos(std::uint32_t state, std::int32_t nonterminal) const;

  private:
    SSYaccTableSet(std::span<const std::uint8_t> image, std::string_view name);
    void validateTargets() const;
    // Fills the dense tables when they stay small; otherwise the rows are
    // scanned.
    void buildDenseTables();

    // Per state, one entry per symbol from the base: actions hold the word
    // (0 for none), gotos the target state (kSSYaccNoGoto for none).
    std::vector<std::uint32_t> denseActions_;
    std::int64_t actionBase_ = 0;
    std::uint64_t actionSpan_ = 0;
    std::vector<std::uint32_t> denseGotos_;
    std::int64_t gotoBase_ = 0;
    std::uint64_t gotoSpan_ = 0;

    std::string name_;
    std::vector<Production> productions_;
    std::vector<Row> rows_;  // distinct rows; states may share one
    std::vector<std::uint32_t> rowOfState_;
    std::vector<SSLexExpressionList> lookaheadLists_;
};

}  // namespace tessel::parser
