#include "parser/ss_yacc_table_set.h"

#include <algorithm>
#include <cstdint>

#include "parser/shared_table_sets.h"
#include "parser/ss_exception.h"
#include "parser/table_image.h"
#include "platform/resources.h"
#include "platform/streams.h"

namespace tessel::parser {

namespace {

constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kRowHeaderSize = 12;
constexpr std::size_t kEntrySize = 8;

enum class RowPlacement { ByOffset, Packed };

}  // namespace

SSYaccTableSet SSYaccTableSet::fromResource(std::string_view name, std::string_view type) {
    auto image = platform::findResource(name, type);
    if (!image) throw SSException(SSError::YaccResourceNotFound, {name});
    return SSYaccTableSet(*image, name);
}

const SSYaccTableSet& SSYaccTableSet::shared(std::string_view name, std::string_view type) {
    auto image = platform::findResource(name, type);
    if (!image) throw SSException(SSError::YaccResourceNotFound, {name});
    return sharedTableSet<SSYaccTableSet>(*image, name);
}

SSYaccTableSet SSYaccTableSet::fromFile(const std::string& path) {
    platform::InputStream stream;
    if (!stream.open(path, platform::StreamMode::Binary)) {
        throw SSException(SSError::YaccOpenFile, {path});
    }
    std::vector<std::uint8_t> bytes;
    withStorage([&] {
        char chunk[8192];
        while (std::size_t got = stream.read(chunk, sizeof chunk)) {
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
    });
    if (stream.failed()) throw SSException(SSError::YaccTableReadError, {path});
    return SSYaccTableSet(bytes, path);
}

SSYaccTableSet SSYaccTableSet::fromImage(std::span<const std::uint8_t> image,
                                         std::string_view name) {
    return SSYaccTableSet(image, name);
}

SSYaccTableSet::SSYaccTableSet(std::span<const std::uint8_t> bytes, std::string_view name)
    : name_(name) {
    auto invalid = [&] { return SSException(SSError::YaccTableReadError, {name_}); };
    TableImage image(bytes);
    if (!image.fits(0, kHeaderSize)) throw invalid();
    RowPlacement placement;
    if (image.hasMagic(0, "CYSS") || image.u32(0) == 1) {
        placement = RowPlacement::ByOffset;
    } else if (image.u32(0) == 0) {
        placement = RowPlacement::Packed;
    } else {
        throw invalid();
    }
    std::uint64_t productions = image.u32(4) & 0xFFFF;
    std::uint64_t lookaheadLists = image.u32(4) >> 16;
    std::uint64_t states = image.u32(8);
    std::uint64_t firstRow = image.u32(12);
    std::uint64_t productionTable = image.u32(16);
    if (!image.fits(kHeaderSize, states * 4) || !image.fits(productionTable, productions * 8)) {
        throw invalid();
    }
    // Each row takes at least its header, which bounds the state count.
    if (states * kRowHeaderSize > image.size()) throw invalid();

    withStorage([&] {
        productions_.reserve(productions);
        rowOfState_.reserve(states);
    });
    for (std::uint64_t p = 0; p < productions; ++p) {
        std::size_t at = productionTable + p * 8;
        productions_.push_back({image.u32(at), image.i32(at + 4)});
    }

    std::uint64_t rowsEnd = 0;
    std::uint64_t at = firstRow;
    std::map<std::uint64_t, std::uint32_t> rowAtOffset;
    for (std::uint64_t s = 0; s < states; ++s) {
        if (placement == RowPlacement::ByOffset) at = image.u32(kHeaderSize + s * 4);
        if (auto known = rowAtOffset.find(at); known != rowAtOffset.end()) {
            rowOfState_.push_back(known->second);
            continue;
        }
        if (!image.fits(at, kRowHeaderSize)) throw invalid();
        auto index = static_cast<std::uint32_t>(rows_.size());
        withStorage([&] {
            rows_.emplace_back();
            rowAtOffset.emplace(at, index);
            rowOfState_.push_back(index);
        });
        Row& row = rows_.back();
        row.flags = image.u32(at);
        std::uint64_t size = kRowHeaderSize;
        if (!(row.flags & kSSYaccRowEmpty)) {
            std::uint64_t gotos = image.u32(at + 4);
            std::uint64_t actions = image.u32(at + 8);
            std::uint64_t entries = actions + gotos + ((row.flags & kSSYaccRowErrorShift) ? 1 : 0);
            if (!image.fits(at + kRowHeaderSize, entries * kEntrySize)) throw invalid();
            auto entryAt = [&](std::uint64_t i) -> Entry {
                std::size_t e = at + kRowHeaderSize + i * kEntrySize;
                return {image.u32(e), image.i32(e + 4)};
            };
            withStorage([&] {
                row.actions.reserve(actions);
                row.gotos.reserve(gotos);
                for (std::uint64_t i = 0; i < actions; ++i) row.actions.push_back(entryAt(i));
                for (std::uint64_t i = 0; i < gotos; ++i) {
                    row.gotos.push_back(entryAt(actions + i));
                }
            });
            if (row.flags & kSSYaccRowErrorShift) {
                row.errorShiftState = entryAt(actions + gotos).word & kSSYaccOperandMask;
            }
            size += entries * kEntrySize;
        }
        at += size;
        rowsEnd = std::max(rowsEnd, at);
    }

    // Lookahead lists follow the last row.
    at = rowsEnd;
    withStorage([&] { lookaheadLists_.reserve(std::min<std::uint64_t>(lookaheadLists, 64)); });
    for (std::uint64_t i = 0; i < lookaheadLists; ++i) {
        if (!image.fits(at, SSLexExpressionList::kHeaderSize)) {
            throw SSException(SSError::LexInvalidTable, {name_});
        }
        std::uint64_t size = image.u32(at + 4);
        if (size < SSLexExpressionList::kHeaderSize || !image.fits(at, size)) {
            throw SSException(SSError::LexInvalidTable, {name_});
        }
        withStorage([&] { lookaheadLists_.emplace_back(image.slice(at, size), name_); });
        at += size;
    }
    validateTargets();
    buildDenseTables();
}

std::uint32_t SSYaccTableSet::scanActions(std::uint32_t state, std::int32_t symbol) const {
    for (const Entry& entry : row(state).actions) {
        if (entry.symbol == symbol) return entry.word;
    }
    return 0;
}

std::uint32_t SSYaccTableSet::scanGotos(std::uint32_t state, std::int32_t nonterminal) const {
    for (const Entry& entry : row(state).gotos) {
        if (entry.symbol == nonterminal) return entry.word & kSSYaccOperandMask;
    }
    return kSSYaccNoGoto;
}

namespace {

// Lays the entries of every state's row out densely by symbol; empty when
// the symbols span too wide a range for that to pay.
template <class EntriesOf, class ValueOf>
std::vector<std::uint32_t> denseBySymbol(std::size_t states, EntriesOf entriesOf, ValueOf valueOf,
                                         std::uint32_t none, std::int64_t& base,
                                         std::uint64_t& span) {
    constexpr std::uint64_t kMaxEntries = std::uint64_t{1} << 20;
    std::int64_t low = INT64_MAX;
    std::int64_t high = INT64_MIN;
    for (std::size_t s = 0; s < states; ++s) {
        for (const auto& entry : entriesOf(s)) {
            low = std::min<std::int64_t>(low, entry.symbol);
            high = std::max<std::int64_t>(high, entry.symbol);
        }
    }
    std::vector<std::uint32_t> dense;
    if (low > high) return dense;
    base = low;
    span = static_cast<std::uint64_t>(high - low) + 1;
    if (span > kMaxEntries || states * span > kMaxEntries) return dense;
    withStorage([&] { dense.assign(states * span, none); });
    for (std::size_t s = 0; s < states; ++s) {
        // Walked backwards, so that the first entry for a symbol wins.
        const auto& entries = entriesOf(s);
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
            dense[s * span + static_cast<std::uint64_t>(entry->symbol - low)] = valueOf(*entry);
        }
    }
    return dense;
}

}  // namespace

void SSYaccTableSet::buildDenseTables() {
    denseActions_ = denseBySymbol(
        stateCount(), [&](std::size_t s) -> const std::vector<Entry>& { return row(s).actions; },
        [](const Entry& e) { return e.word; }, 0, actionBase_, actionSpan_);
    denseGotos_ = denseBySymbol(
        stateCount(), [&](std::size_t s) -> const std::vector<Entry>& { return row(s).gotos; },
        [](const Entry& e) { return e.word & kSSYaccOperandMask; }, kSSYaccNoGoto, gotoBase_,
        gotoSpan_);
}

// Every state, production and list an entry names must exist, so that the
// parse loop never indexes outside the table.
void SSYaccTableSet::validateTargets() const {
    auto invalid = [&] { return SSException(SSError::YaccTableReadError, {name_}); };
    for (const Row& row : rows_) {
        for (const Entry& action : row.actions) {
            std::uint32_t operand = action.word & kSSYaccOperandMask;
            if (action.word & kSSYaccShift) {
                if (operand >= stateCount()) throw invalid();
            } else if (action.word & kSSYaccReduce) {
                if (operand >= productions_.size()) throw invalid();
            } else if (action.word & kSSYaccAccept) {
            } else if (action.word & kSSYaccLookahead) {
                if (operand >= lookaheadLists_.size()) throw invalid();
            }
        }
        for (const Entry& go : row.gotos) {
            if ((go.word & kSSYaccOperandMask) >= stateCount()) throw invalid();
        }
        if (row.errorShiftState && *row.errorShiftState >= stateCount()) throw invalid();
    }
}

}  // namespace tessel::parser
