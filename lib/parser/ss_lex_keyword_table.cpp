#include "parser/ss_lex_keyword_table.h"

#include <cstring>

#include "parser/ss_exception.h"
#include "parser/ss_token.h"
#include "parser/table_image.h"

namespace tessel::parser {

namespace {

unsigned char lowerAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// strcmp-like comparison of two zero-terminated texts.
int compareTexts(const char* text, const char* keyword, bool caseInsensitive) {
    for (;; ++text, ++keyword) {
        unsigned char a = static_cast<unsigned char>(*text);
        unsigned char b = static_cast<unsigned char>(*keyword);
        if (caseInsensitive) {
            a = lowerAscii(a);
            b = lowerAscii(b);
        }
        if (a != b) return a < b ? -1 : 1;
        if (a == 0) return 0;
    }
}

}  // namespace

SSLexKeywordTable::SSLexKeywordTable(std::span<const std::uint8_t> block,
                                     std::string_view tableName) {
    auto invalid = [&] { return SSException(SSError::LexInvalidTable, {tableName}); };
    TableImage image(block);
    if (!image.fits(0, kHeaderSize)) throw invalid();
    std::uint64_t count = image.u32(4);
    if (!image.fits(kHeaderSize, count * kEntrySize)) throw invalid();
    withStorage([&] { entries_.reserve(count); });
    for (std::uint64_t i = 0; i < count; ++i) {
        std::size_t at = kHeaderSize + i * kEntrySize;
        std::uint32_t textAt = image.u32(at + 5);
        if (!image.fits(textAt, 1)) throw invalid();
        auto rest = image.slice(textAt, image.size() - textAt);
        const void* zero = std::memchr(rest.data(), 0, rest.size());
        if (zero == nullptr) throw invalid();  // text must end inside the table
        std::size_t length = static_cast<const std::uint8_t*>(zero) - rest.data();
        withStorage([&] {
            entries_.push_back({image.i32(at), image.u8(at + 4) != 0,
                                std::string(reinterpret_cast<const char*>(rest.data()), length),
                                image.i32(at + 13)});
        });
    }
}

bool SSLexKeywordTable::lookup(SSToken& token) const {
    std::size_t low = 0;
    std::size_t high = entries_.size();
    while (high > low) {
        std::size_t middle = low + (high - low) / 2;
        const Entry& entry = entries_[middle];
        int order = compareTexts(token.text(), entry.text.c_str(), entry.caseInsensitive);
        if (order == 0) {
            token.setTokenNumber(entry.tokenNumber);
            token.setAlternateTokenNumber(entry.alternateTokenNumber);
            return true;
        }
        if (order < 0) {
            if (low == middle) break;
            high = middle;
        } else {
            if (high == middle + 1) break;
            low = middle;
        }
    }
    return false;
}

}  // namespace tessel::parser
