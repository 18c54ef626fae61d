#include "table_writer.h"

namespace tessel::grammar {
namespace {

constexpr std::size_t kLexHeaderSize = 36;
constexpr std::size_t kListHeaderSize = 88;
constexpr std::size_t kAcceptEntrySize = 28;
constexpr std::size_t kYaccHeaderSize = 20;

class ByteImage {
  public:
    std::size_t size() const { return bytes_.size(); }
    void word(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    void magic(const char (&text)[5]) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(text[i]));
    }
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void patch(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    void append(const ByteImage& other) {
        bytes_.insert(bytes_.end(), other.bytes_.begin(), other.bytes_.end());
    }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

std::uint32_t u32(std::size_t value) {
    return static_cast<std::uint32_t>(value);
}

ByteImage listBlock(const ListAutomaton& list) {
    const std::size_t states = list.states.size();
    const std::size_t rowOffsets = kListHeaderSize + states * kAcceptEntrySize;
    ByteImage block;
    block.magic("XLSS");
    block.word(0);  // block size, patched below
    block.zeros(32);
    block.word(u32(states));
    block.word(0);  // block size again, patched below
    block.word(u32(rowOffsets));
    block.word(u32(kListHeaderSize));
    block.zeros(32);
    for (const auto& state : list.states) {
        block.word(static_cast<std::uint32_t>(state.accept.token));
        block.word(state.accept.list);
        block.word(state.accept.flags);
        block.word(0);  // keyword table
        block.word(0);  // alternate token number
        block.zeros(8);
    }
    std::size_t rowStart = rowOffsets + states * 4;
    for (const auto& state : list.states) {
        block.word(u32(rowStart));
        rowStart += 4 + state.transitions.size() * 12;
    }
    for (const auto& state : list.states) {
        block.word(u32(state.transitions.size()));
        for (const auto& t : state.transitions) {
            block.word(t.low);
            block.word(t.high);
            block.word(static_cast<std::uint32_t>(t.target));
        }
    }
    block.patch(4, u32(block.size()));
    block.patch(44, u32(block.size()));
    return block;
}

}  // namespace

std::vector<std::uint8_t> writeLexTable(const std::vector<ListAutomaton>& lists) {
    ByteImage image;
    image.word(u32(lists.size()));
    image.magic("XLSS");
    image.word(0);  // keyword tables
    image.zeros(kLexHeaderSize - 12);
    for (const auto& list : lists) image.append(listBlock(list));
    return image.take();
}

std::vector<std::uint8_t> writeYaccTable(const Grammar& grammar, const ParserTable& table) {
    const std::size_t states = table.rows.size();
    const std::size_t productionTable = kYaccHeaderSize + states * 4;
    const std::size_t firstRow = productionTable + grammar.productions.size() * 8;
    ByteImage image;
    image.magic("CYSS");
    image.word(u32(grammar.productions.size()));  // high 16 bits: no lookahead lists
    image.word(u32(states));
    image.word(u32(firstRow));
    image.word(u32(productionTable));
    std::size_t row = firstRow;
    for (const auto& r : table.rows) {
        image.word(u32(row));
        row += 12 + 8 * (r.actions.size() + r.gotos.size());
    }
    for (const auto& p : grammar.productions) {
        image.word(u32(p.right.size()));
        image.word(static_cast<std::uint32_t>(p.left));
    }
    for (const auto& r : table.rows) {
        image.word(r.flags);
        image.word(u32(r.gotos.size()));
        image.word(u32(r.actions.size()));
        for (const auto& a : r.actions) {
            image.word(a.word);
            image.word(static_cast<std::uint32_t>(a.symbol));
        }
        for (const auto& g : r.gotos) {
            image.word(static_cast<std::uint32_t>(g.target));
            image.word(static_cast<std::uint32_t>(g.nonterminal));
        }
    }
    return image.take();
}

}  // namespace tessel::grammar
