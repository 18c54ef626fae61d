// Builds lexer and parser table images byte for byte, so the runtime can be
// tested without the grammar compiler.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessel::test {

using Bytes = std::vector<std::uint8_t>;

inline void putU32(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
inline void putMagic(Bytes& out, std::string_view magic) {
    out.insert(out.end(), magic.begin(), magic.end());
}
inline void setU32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
inline void padTo(Bytes& out, std::size_t size) {
    out.resize(size, 0);
}

inline constexpr std::uint32_t kBof = 0xFFFFFFFFu;

// Accept-entry flags, spelled out for readable tests.
enum LexFlag : std::uint32_t {
    Accept = 0x10,
    Ignore = 0x40,
    Push = 0x20,
    Pop = 0x08,
    Switch = 0x28,
    EndAnchor = 0x80,
    StartAnchor = 0x02,
    Keyword = 0x200,
    Alternate = 0x400,
    ReduceTarget = 0x100,
};

struct AcceptSpec {
    std::int32_t token = 0;
    std::uint32_t flags = 0;
    std::uint32_t list = 0;
    std::uint32_t keywordTable = 0;
    std::int32_t alternate = 0;
};

inline AcceptSpec token(std::int32_t number, std::uint32_t extraFlags = 0, std::uint32_t list = 0) {
    return {number, Accept | extraFlags, list, 0, 0};
}
inline AcceptSpec ignored(std::int32_t number, std::uint32_t extraFlags = 0,
                          std::uint32_t list = 0) {
    return {number, Accept | Ignore | extraFlags, list, 0, 0};
}

// One automaton (expression list); state 0 exists from the start.
class LexListBuilder {
  public:
    struct Triple {
        std::uint32_t low, high, next;
    };

    LexListBuilder() { addState(); }

    std::uint32_t addState(AcceptSpec accept = {}) {
        accepts_.push_back(accept);
        rows_.emplace_back();
        return static_cast<std::uint32_t>(accepts_.size() - 1);
    }
    void setAccept(std::uint32_t state, AcceptSpec accept) { accepts_[state] = accept; }
    void addRange(std::uint32_t from, std::uint32_t low, std::uint32_t high, std::uint32_t to) {
        rows_[from].push_back({low, high, to});
    }
    void addChar(std::uint32_t from, std::uint32_t c, std::uint32_t to) {
        addRange(from, c, c, to);
    }

    // A literal from state 0, sharing states with literals added before.
    std::uint32_t literal(std::string_view text, AcceptSpec accept, std::uint32_t from = 0) {
        std::uint32_t state = from;
        for (unsigned char c : text) state = stepOrAdd(state, c);
        setAccept(state, accept);
        return state;
    }
    // [low-high]+ from `from` (a fresh state).
    std::uint32_t run(std::uint32_t low, std::uint32_t high, AcceptSpec accept,
                      std::uint32_t from = 0) {
        std::uint32_t state = addState(accept);
        addRange(from, low, high, state);
        addRange(state, low, high, state);
        return state;
    }
    // One character of [low-high] from `from`.
    std::uint32_t single(std::uint32_t low, std::uint32_t high, AcceptSpec accept,
                         std::uint32_t from = 0) {
        std::uint32_t state = addState(accept);
        addRange(from, low, high, state);
        return state;
    }
    // BOF -> ignored token -1.
    std::uint32_t bofIgnored() { return single(kBof, kBof, ignored(-1)); }

    Bytes bytes(std::string_view magic = "XLSS") const {
        const std::size_t n = accepts_.size();
        Bytes out;
        putMagic(out, magic);
        putU32(out, 0);  // size, patched below
        padTo(out, 40);
        putU32(out, static_cast<std::uint32_t>(n));
        putU32(out, 0);                                        // size again
        putU32(out, static_cast<std::uint32_t>(88 + 28 * n));  // row-offset array
        putU32(out, 88);                                       // accept array
        padTo(out, 88);
        for (const auto& a : accepts_) {
            putU32(out, static_cast<std::uint32_t>(a.token));
            putU32(out, a.list);
            putU32(out, a.flags);
            putU32(out, a.keywordTable);
            putU32(out, static_cast<std::uint32_t>(a.alternate));
            putU32(out, 0);
            putU32(out, 0);
        }
        std::size_t offsets = out.size();
        padTo(out, offsets + 4 * n);
        for (std::size_t s = 0; s < n; ++s) {
            setU32(out, offsets + 4 * s, static_cast<std::uint32_t>(out.size()));
            auto row = rows_[s];
            std::sort(row.begin(), row.end(),
                      [](const Triple& a, const Triple& b) { return a.low < b.low; });
            putU32(out, static_cast<std::uint32_t>(row.size()));
            for (const auto& t : row) {
                putU32(out, t.low);
                putU32(out, t.high);
                putU32(out, t.next);
            }
        }
        setU32(out, 4, static_cast<std::uint32_t>(out.size()));
        setU32(out, 44, static_cast<std::uint32_t>(out.size()));
        return out;
    }

  private:
    std::uint32_t stepOrAdd(std::uint32_t state, std::uint32_t c) {
        for (const auto& t : rows_[state]) {
            if (t.low == c && t.high == c) return t.next;
        }
        std::uint32_t next = addState();
        addChar(state, c, next);
        return next;
    }

    std::vector<AcceptSpec> accepts_;
    std::vector<std::vector<Triple>> rows_;
};

struct KeywordSpec {
    std::string text;
    std::int32_t token;
    std::int32_t alternate = 0;
    bool caseInsensitive = false;
};

// A keyword table block; entries are sorted by text here.
inline Bytes keywordTableBytes(std::vector<KeywordSpec> keywords) {
    std::sort(keywords.begin(), keywords.end(),
              [](const auto& a, const auto& b) { return a.text < b.text; });
    Bytes out;
    putU32(out, 0);
    putU32(out, static_cast<std::uint32_t>(keywords.size()));
    padTo(out, 40);
    std::size_t textAt = 40 + 41 * keywords.size();
    for (const auto& k : keywords) {
        putU32(out, static_cast<std::uint32_t>(k.token));
        out.push_back(k.caseInsensitive ? 1 : 0);
        putU32(out, static_cast<std::uint32_t>(textAt));
        putU32(out, 0);
        putU32(out, static_cast<std::uint32_t>(k.alternate));
        putU32(out, 0);
        putU32(out, 0);
        padTo(out, out.size() + 16);
        textAt += k.text.size() + 1;
    }
    for (const auto& k : keywords) {
        out.insert(out.end(), k.text.begin(), k.text.end());
        out.push_back(0);
    }
    setU32(out, 0, static_cast<std::uint32_t>(out.size()));
    return out;
}

// A whole lexer table image.
inline Bytes lexTableBytes(const std::vector<LexListBuilder>& lists,
                           const std::vector<Bytes>& keywordTables = {},
                           std::string_view magic = "XLSS") {
    Bytes out;
    putU32(out, static_cast<std::uint32_t>(lists.size()));
    putMagic(out, magic);
    putU32(out, static_cast<std::uint32_t>(keywordTables.size()));
    padTo(out, 36);
    for (const auto& list : lists) {
        Bytes block = list.bytes();
        out.insert(out.end(), block.begin(), block.end());
    }
    for (const auto& table : keywordTables) out.insert(out.end(), table.begin(), table.end());
    return out;
}

// Parser table rows and image.
inline constexpr std::uint32_t shiftTo(std::uint32_t state) {
    return 0x40000000u | state;
}
inline constexpr std::uint32_t reduceBy(std::uint32_t production) {
    return 0x20000000u | production;
}
inline constexpr std::uint32_t acceptAction() {
    return 0x10000000u;
}
inline constexpr std::uint32_t decideBy(std::uint32_t list) {
    return 0x08000000u | list;
}
inline constexpr std::uint32_t marked(std::uint32_t word) {
    return 0x80000000u | word;
}

struct YaccRowSpec {
    std::uint32_t flags = 0;
    std::vector<std::pair<std::uint32_t, std::int32_t>> actions;  // (word, symbol)
    std::vector<std::pair<std::uint32_t, std::int32_t>> gotos;    // (state, nonterminal)
    std::optional<std::uint32_t> errorShift;
};

struct YaccTableSpec {
    std::vector<std::pair<std::uint32_t, std::int32_t>> productions;  // (length, left side)
    std::vector<YaccRowSpec> rows;
    std::vector<LexListBuilder> lookaheadLists;

    // magic: "CYSS", "\1\0\0\0" (by offset) or "\0\0\0\0" (packed).
    Bytes bytes(std::string_view magic = "CYSS") const {
        Bytes out;
        putMagic(out, magic);
        putU32(out, static_cast<std::uint32_t>(productions.size() | (lookaheadLists.size() << 16)));
        putU32(out, static_cast<std::uint32_t>(rows.size()));
        putU32(out, 0);  // first row, patched below
        putU32(out, 0);  // production table, patched below
        padTo(out, 20 + 4 * rows.size());
        setU32(out, 16, static_cast<std::uint32_t>(out.size()));
        for (const auto& [length, left] : productions) {
            putU32(out, length);
            putU32(out, static_cast<std::uint32_t>(left));
        }
        setU32(out, 12, static_cast<std::uint32_t>(out.size()));
        for (std::size_t s = 0; s < rows.size(); ++s) {
            const auto& row = rows[s];
            setU32(out, 20 + 4 * s, static_cast<std::uint32_t>(out.size()));
            std::uint32_t flags = row.flags | (row.errorShift ? 2u : 0u);
            putU32(out, flags);
            putU32(out, static_cast<std::uint32_t>(row.gotos.size()));
            putU32(out, static_cast<std::uint32_t>(row.actions.size()));
            if (flags & 8) continue;
            for (const auto& [word, symbol] : row.actions) {
                putU32(out, word);
                putU32(out, static_cast<std::uint32_t>(symbol));
            }
            for (const auto& [state, symbol] : row.gotos) {
                putU32(out, state);
                putU32(out, static_cast<std::uint32_t>(symbol));
            }
            if (row.errorShift) {
                putU32(out, *row.errorShift);
                putU32(out, static_cast<std::uint32_t>(-2));
            }
        }
        for (const auto& list : lookaheadLists) {
            Bytes block = list.bytes();
            out.insert(out.end(), block.begin(), block.end());
        }
        return out;
    }
};

}  // namespace tessel::test
