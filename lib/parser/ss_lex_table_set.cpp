#include "parser/ss_lex_table_set.h"

#include "parser/shared_table_sets.h"
#include "parser/ss_exception.h"
#include "parser/table_image.h"
#include "platform/resources.h"

namespace tessel::parser {

SSLexTableSet SSLexTableSet::fromResource(std::string_view name, std::string_view type) {
    auto image = platform::findResource(name, type);
    if (!image) throw SSException(SSError::LexResourceNotFound, {name});
    return SSLexTableSet(*image, name);
}

const SSLexTableSet& SSLexTableSet::shared(std::string_view name, std::string_view type) {
    auto image = platform::findResource(name, type);
    if (!image) throw SSException(SSError::LexResourceNotFound, {name});
    return sharedTableSet<SSLexTableSet>(*image, name);
}

SSLexTableSet SSLexTableSet::fromImage(std::span<const std::uint8_t> image, std::string_view name) {
    return SSLexTableSet(image, name);
}

SSLexTableSet::SSLexTableSet(std::span<const std::uint8_t> bytes, std::string_view name)
    : name_(name) {
    auto invalid = [&] { return SSException(SSError::LexInvalidTable, {name_}); };
    TableImage image(bytes);
    if (!image.fits(0, kHeaderSize)) throw invalid();
    if (!image.hasMagic(4, "XLSS") && image.u32(4) != 0) throw invalid();
    std::uint64_t listCount = image.u32(0);
    std::uint64_t keywordCount = image.u32(8);
    // Every block takes at least its header, which bounds the counts.
    if (listCount * SSLexExpressionList::kHeaderSize > image.size() ||
        keywordCount * SSLexKeywordTable::kHeaderSize > image.size()) {
        throw invalid();
    }
    withStorage([&] {
        lists_.reserve(listCount);
        keywords_.reserve(keywordCount);
    });
    std::uint64_t at = kHeaderSize;
    for (std::uint64_t i = 0; i < listCount; ++i) {
        if (!image.fits(at, SSLexExpressionList::kHeaderSize)) throw invalid();
        std::uint64_t size = image.u32(at + 4);
        if (size < SSLexExpressionList::kHeaderSize || !image.fits(at, size)) throw invalid();
        lists_.emplace_back(image.slice(at, size), name_);
        at += size;
    }
    for (std::uint64_t i = 0; i < keywordCount; ++i) {
        if (!image.fits(at, SSLexKeywordTable::kHeaderSize)) throw invalid();
        std::uint64_t size = image.u32(at);
        if (size < SSLexKeywordTable::kHeaderSize || !image.fits(at, size)) throw invalid();
        keywords_.emplace_back(image.slice(at, size), name_);
        at += size;
    }
    checkListTargets();
}

void SSLexTableSet::checkListTargets() const {
    for (const SSLexExpressionList& list : lists_) {
        for (std::uint32_t state = 0; state < list.stateCount(); ++state) {
            const SSLexAcceptEntry& entry = list.accept(state);
            // A switch carries the push bit too.
            if ((entry.flags & kSSLexFlagPush) && entry.expressionList >= lists_.size()) {
                throwInvalidList(entry.expressionList);
            }
        }
    }
}

void SSLexTableSet::throwInvalidList(std::size_t index) {
    throw SSException(SSError::LexInvalidExpressionList, {static_cast<long>(index)});
}

}  // namespace tessel::parser
