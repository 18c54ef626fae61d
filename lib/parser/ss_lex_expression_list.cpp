#include "parser/ss_lex_expression_list.h"

#include <optional>

#include "parser/ss_exception.h"
#include "parser/table_image.h"

namespace tessel::parser {

namespace {

constexpr std::size_t kStateCountAt = 40;
constexpr std::size_t kRowOffsetsAt = 48;
constexpr std::size_t kAcceptsAt = 52;

}  // namespace

SSLexExpressionList::SSLexExpressionList(std::span<const std::uint8_t> block,
                                         std::string_view tableName) {
    auto invalid = [&] { return SSException(SSError::LexInvalidTable, {tableName}); };
    TableImage image(block);
    if (!image.fits(0, kHeaderSize)) throw invalid();
    if (!image.hasMagic(0, "XLSS") && image.u32(0) != 1) throw invalid();

    std::uint64_t states = image.u32(kStateCountAt);
    if (states == 0) throw invalid();  // there must be a start state
    std::uint64_t rowOffsets = image.u32(kRowOffsetsAt);
    std::uint64_t accepts = image.u32(kAcceptsAt);
    if (!image.fits(rowOffsets, states * 4) || !image.fits(accepts, states * kAcceptEntrySize)) {
        throw invalid();
    }
    withStorage([&] {
        accepts_.reserve(states);
        rows_.reserve(states);
        block_.assign(block.begin(), block.end());
    });
    for (std::uint64_t s = 0; s < states; ++s) {
        std::size_t at = accepts + s * kAcceptEntrySize;
        accepts_.push_back({image.i32(at), image.u32(at + 4), image.u32(at + 8), image.u32(at + 12),
                            image.i32(at + 16)});
    }
    std::optional<std::uint32_t> lastChecked;
    for (std::uint64_t s = 0; s < states; ++s) {
        std::uint32_t row = image.u32(rowOffsets + s * 4);
        rows_.push_back(row);
        if (row == lastChecked) continue;  // a row shared by neighbours is checked once
        if (!image.fits(row, 4)) throw invalid();
        std::uint64_t count = image.u32(row);
        if (!image.fits(std::uint64_t{row} + 4, count * kTripleSize)) throw invalid();
        for (std::uint64_t t = 0; t < count; ++t) {
            std::uint32_t next = image.u32(row + 4 + t * kTripleSize + 8);
            if (next != kSSLexNoState && next >= states) throw invalid();
        }
        lastChecked = row;
    }
}

}  // namespace tessel::parser
