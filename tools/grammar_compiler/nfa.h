// Nondeterministic automaton over the characters the lexer delivers: bytes,
// double-byte characters (lead byte + 256 x trail byte, so at most 0xFFFF) and
// the start-of-input pseudo-character.
#pragma once

#include <cstdint>
#include <vector>

namespace tessel::grammar {

constexpr std::uint32_t kBofChar = 0xFFFFFFFFu;
// Highest character an input can deliver; complements and "any character"
// range over 0..kMaxChar and never include the start-of-input character.
constexpr std::uint32_t kMaxChar = 0xFFFFu;

struct CharRange {
    std::uint32_t low;
    std::uint32_t high;
    friend bool operator==(const CharRange&, const CharRange&) = default;
};

// Sorted, disjoint, non-adjacent ranges.
class CharSet {
  public:
    void add(std::uint32_t low, std::uint32_t high);
    void add(std::uint32_t c) { add(c, c); }
    void addAll(const CharSet& other);
    CharSet complement() const;  // over 0..kMaxChar
    const std::vector<CharRange>& ranges() const { return ranges_; }
    bool empty() const { return ranges_.empty(); }
    bool contains(std::uint32_t c) const;

  private:
    std::vector<CharRange> ranges_;
};

struct NfaEdge {
    std::uint32_t low;
    std::uint32_t high;
    int target;
};

struct NfaState {
    std::vector<NfaEdge> edges;
    std::vector<int> epsilon;
    int acceptRule = -1;  // index of the lexer rule this state completes, or -1
};

struct Nfa {
    std::vector<NfaState> states;
    int addState() {
        states.emplace_back();
        return static_cast<int>(states.size()) - 1;
    }
};

// A piece of automaton with one entry and one exit state (Thompson construction).
struct NfaFragment {
    int start;
    int end;
};

}  // namespace tessel::grammar
