#include "support/table_interpreter.h"

#include <stdexcept>

namespace tessel::testing {
namespace {

constexpr std::uint32_t kBof = 0xFFFFFFFFu;

struct LexView {
    std::span<const std::uint8_t> image;
    std::vector<std::size_t> lists;  // block offsets

    explicit LexView(std::span<const std::uint8_t> table) : image(table) {
        std::uint32_t count = tableWord(image, 0);
        std::size_t at = 36;
        for (std::uint32_t i = 0; i < count; ++i) {
            lists.push_back(at);
            at += tableWord(image, at + 4);
        }
    }
    std::uint32_t word(std::size_t list, std::size_t offset) const {
        return tableWord(image, lists[list] + offset);
    }
    std::uint32_t acceptField(std::size_t list, std::uint32_t state, int field) const {
        return word(list, word(list, 52) + state * 28 + field * 4);
    }
    std::uint32_t next(std::size_t list, std::uint32_t state, std::uint32_t c) const {
        std::uint32_t row = word(list, word(list, 48) + state * 4);
        std::uint32_t count = word(list, row);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t low = word(list, row + 4 + i * 12);
            std::uint32_t high = word(list, row + 8 + i * 12);
            if (low > c) break;
            if (c <= high) return word(list, row + 12 + i * 12);
        }
        return kBof;
    }
};

}  // namespace

std::uint32_t tableWord(std::span<const std::uint8_t> image, std::size_t offset) {
    if (offset + 4 > image.size()) throw std::runtime_error("table read out of range");
    return image[offset] | (image[offset + 1] << 8) | (image[offset + 2] << 16) |
           (static_cast<std::uint32_t>(image[offset + 3]) << 24);
}

std::vector<ScannedToken> scanWithTable(std::span<const std::uint8_t> lexTable,
                                        const std::string& text) {
    LexView lex(lexTable);
    std::vector<std::size_t> stack;
    std::size_t current = 0;
    std::vector<ScannedToken> tokens;
    std::size_t mark = 0;
    int line = 1, column = 1;
    bool bofPending = true;
    auto advance = [&](std::size_t from, std::size_t to, int& l, int& c) {
        for (std::size_t i = from; i < to; ++i) {
            if (text[i] == '\n') {
                ++l;
                c = 1;
            } else {
                ++c;
            }
        }
    };
    while (mark < text.size() || bofPending) {
        std::uint32_t state = 0;
        std::uint32_t acceptState = kBof;
        std::size_t acceptEnd = mark;
        bool acceptedBof = false;
        std::size_t pos = mark;
        bool bof = bofPending;
        while (true) {
            std::uint32_t c;
            if (bof) {
                c = kBof;
            } else if (pos < text.size()) {
                c = static_cast<unsigned char>(text[pos]);
            } else {
                break;
            }
            std::uint32_t target = lex.next(current, state, c);
            if (target == kBof) break;
            state = target;
            if (bof) {
                bof = false;
            } else {
                ++pos;
            }
            if (lex.acceptField(current, state, 2) & 0x10) {
                acceptState = state;
                acceptEnd = pos;
                acceptedBof = bofPending;
            }
        }
        if (acceptState == kBof) {
            throw std::runtime_error("invalid token at " + std::to_string(line) + ":" +
                                     std::to_string(column));
        }
        if (acceptedBof) bofPending = false;
        std::uint32_t flags = lex.acceptField(current, acceptState, 2);
        if (flags & 0x80) --acceptEnd;  // the line feed is given back
        std::size_t start = mark;
        int startLine = line, startColumn = column;
        if ((flags & 0x02) && text[start] == '\n' && start < acceptEnd) {
            advance(start, start + 1, startLine, startColumn);
            ++start;
        }
        ScannedToken token{static_cast<std::int32_t>(lex.acceptField(current, acceptState, 0)),
                           startLine, startColumn, text.substr(start, acceptEnd - start),
                           (flags & 0x40) != 0};
        if ((flags & 0x28) == 0x28) {
            current = lex.acceptField(current, acceptState, 1);
        } else if (flags & 0x20) {
            stack.push_back(current);
            current = lex.acceptField(current, acceptState, 1);
        } else if (flags & 0x08) {
            if (stack.empty()) throw std::runtime_error("pop of an empty list stack");
            current = stack.back();
            stack.pop_back();
        }
        if (current >= lex.lists.size()) throw std::runtime_error("bad list number");
        advance(mark, acceptEnd, line, column);
        mark = acceptEnd;
        if (token.token != -1) tokens.push_back(std::move(token));
    }
    return tokens;
}

ParseOutcome parseWithTable(std::span<const std::uint8_t> yacc,
                            const std::vector<ScannedToken>& tokens) {
    std::vector<std::int32_t> input;
    for (const auto& t : tokens) {
        if (!t.ignored) input.push_back(t.token);
    }
    input.push_back(-1);
    const std::uint32_t productionTable = tableWord(yacc, 16);
    auto row = [&](std::uint32_t state) { return tableWord(yacc, 20 + state * 4); };
    ParseOutcome outcome;
    std::vector<std::uint32_t> stack{0};
    std::size_t next = 0;
    for (int steps = 0; steps < 100000; ++steps) {
        std::uint32_t r = row(stack.back());
        std::uint32_t gotos = tableWord(yacc, r + 4), actions = tableWord(yacc, r + 8);
        std::int32_t symbol = input[next];
        std::uint32_t word = 0;
        bool found = false;
        for (std::uint32_t i = 0; i < actions && !found; ++i) {
            if (static_cast<std::int32_t>(tableWord(yacc, r + 16 + i * 8)) == symbol) {
                word = tableWord(yacc, r + 12 + i * 8);
                found = true;
            }
        }
        if (!found || (word & 0x70000000u) == 0) {
            outcome.errorState = static_cast<int>(stack.back());
            outcome.errorToken = symbol;
            for (std::uint32_t i = 0; i < actions; ++i) {
                outcome.expected.push_back(
                    static_cast<std::int32_t>(tableWord(yacc, r + 16 + i * 8)));
            }
            return outcome;
        }
        std::uint32_t operand = word & 0x07FFFFFFu;
        if (word & 0x40000000u) {
            stack.push_back(operand);
            ++next;
        } else if (word & 0x20000000u) {
            outcome.reductions.push_back(static_cast<int>(operand));
            std::uint32_t length = tableWord(yacc, productionTable + operand * 8);
            std::uint32_t left = tableWord(yacc, productionTable + operand * 8 + 4);
            stack.resize(stack.size() - length);
            std::uint32_t from = row(stack.back());
            std::uint32_t gotoStart = from + 12 + tableWord(yacc, from + 8) * 8;
            std::uint32_t gotoCount = tableWord(yacc, from + 4);
            bool moved = false;
            for (std::uint32_t i = 0; i < gotoCount && !moved; ++i) {
                if (tableWord(yacc, gotoStart + i * 8 + 4) == left) {
                    stack.push_back(tableWord(yacc, gotoStart + i * 8) & 0x07FFFFFFu);
                    moved = true;
                }
            }
            if (!moved) throw std::runtime_error("missing goto");
            (void)gotos;
        } else {
            outcome.accepted = true;
            return outcome;
        }
    }
    throw std::runtime_error("parse did not end");
}

}  // namespace tessel::testing
