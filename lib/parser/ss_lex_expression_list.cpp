#include "parser/ss_lex_expression_list.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>

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
    buildDenseTable();
}

void SSLexExpressionList::buildDenseTable() {
    // Bounded by the image: every state takes a 28-byte accept entry.
    withStorage([&] { dense_.resize(rows_.size() * std::size_t{kDenseWidth}); });
    std::unordered_map<std::uint32_t, std::uint32_t> firstStateOfRow;
    for (std::uint32_t state = 0; state < rows_.size(); ++state) {
        std::uint32_t* entries = dense_.data() + std::size_t{state} * kDenseWidth;
        auto [first, added] =
            withStorage([&] { return firstStateOfRow.emplace(rows_[state], state); });
        if (added) {
            expandRow(rows_[state], entries);
        } else {
            std::copy_n(dense_.data() + std::size_t{first->second} * kDenseWidth, kDenseWidth,
                        entries);
        }
    }
    // The marks go on last: findRunStates() compares plain states. A state
    // number is far below the mark bits, as every state takes 28 bytes of
    // an image whose offsets are 32-bit words.
    findRunStates();
    for (std::uint32_t& entry : dense_) {
        if (entry == kSSLexNoState) continue;
        std::uint32_t marks = 0;
        if (accepts_[entry].flags & kSSLexFlagAccept) marks |= kDenseAccepting;
        if (runs_[entry].stopCount != kNotARun) marks |= kDenseRun;
        entry |= marks;
    }
}

void SSLexExpressionList::findRunStates() {
    withStorage([&] { runs_.resize(rows_.size()); });
    for (std::uint32_t state = 0; state < rows_.size(); ++state) {
        const std::uint32_t* entries = dense_.data() + std::size_t{state} * kDenseWidth;
        RunState run;
        run.stopCount = 0;
        for (std::uint32_t byte = 0; byte < kDenseWidth; ++byte) {
            if (entries[byte] != kSSLexNoState && (entries[byte] & kDenseStateMask) == state) {
                continue;
            }
            if (run.stopCount == kMaxRunStops) {
                run.stopCount = kNotARun;
                break;
            }
            run.stops[run.stopCount++] = static_cast<std::uint8_t>(byte);
            if (byte == '\n') run.holdsLineFeeds = false;
        }
        runs_[state] = run;
    }
}

// The row scan's answer for every byte at once, in one pass over the
// triples: a byte takes the first triple whose range holds it, unless an
// earlier triple started above it (the scan would have stopped there).
void SSLexExpressionList::expandRow(std::size_t at, std::uint32_t* entries) const {
    std::fill_n(entries, kDenseWidth, kSSLexNoState);
    std::array<bool, kDenseWidth> taken{};
    std::uint32_t count = word(at);
    std::uint32_t lowest = 0;  // bytes below it were passed by the scan
    for (at += 4; count != 0; --count, at += kTripleSize) {
        lowest = std::max(lowest, word(at));
        if (lowest >= kDenseWidth) break;
        std::uint32_t high = std::min(word(at + 4), kDenseWidth - 1);
        for (std::uint32_t byte = lowest; byte <= high; ++byte) {
            if (taken[byte]) continue;
            taken[byte] = true;
            entries[byte] = word(at + 8);
        }
    }
}

}  // namespace tessel::parser
