#include "platform/code_page_codec.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <span>

#include "platform/utf8.h"

namespace tessel::platform {

namespace {

namespace res = tessel::resources;

}  // namespace

CodePageCodec::CodePageCodec(const res::CodePageTable& table)
    : table_(table),
      direct_(kDirectLimit - 0x80, 0),
      punctuation_(kPunctuationLimit - kPunctuationFirst, 0),
      highUtf8_{} {
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        std::string utf8;
        appendUtf8(utf8, decode(static_cast<std::uint8_t>(b)));
        Utf8& entry = highUtf8_[b - 0x80];
        entry.length = static_cast<std::uint8_t>(utf8.size());
        for (std::size_t i = 0; i < utf8.size(); ++i) entry.bytes[i] = utf8[i];
    }
    auto add = [this](char32_t c, std::uint16_t bytes) {
        if (c < 0x80) return;
        if (c < kDirectLimit) {
            if (direct_[c - 0x80] == 0) direct_[c - 0x80] = bytes;
        } else {
            sorted_.emplace_back(c, bytes);
        }
    };
    for (unsigned b = 0x80; b <= 0xFF; ++b)
        add(table.high[b - 0x80], static_cast<std::uint16_t>(b));
    if (isDoubleByte()) {
        for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
            int row = table.leadRow[lead - 0x80];
            if (row < 0) continue;
            for (unsigned trail = res::kTrailFirst; trail <= res::kTrailLast; ++trail) {
                char16_t c = table.pairs[row * res::kTrailCount + trail - res::kTrailFirst];
                if (c != 0) add(c, static_cast<std::uint16_t>(lead * 256 + trail));
            }
        }
    }
    // The first sequence that decodes to a character is its bytes, unless
    // the table says otherwise.
    std::stable_sort(sorted_.begin(), sorted_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    sorted_.erase(std::unique(sorted_.begin(), sorted_.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  sorted_.end());
    for (const auto& [c, bytes] : sorted_) {
        if (c >= kPunctuationFirst && c < kPunctuationLimit)
            punctuation_[c - kPunctuationFirst] = bytes;
    }
    for (int i = 0; i < table.encodeExceptionCount; ++i) {
        const auto& exception = table.encodeExceptions[i];
        std::uint16_t bytes = exception.length == 0 ? 0 : exception.bytes;
        char32_t c = exception.character;
        if (c < kDirectLimit) {
            direct_[c - 0x80] = bytes;
            continue;
        }
        auto it =
            std::lower_bound(sorted_.begin(), sorted_.end(), c,
                             [](const auto& entry, char32_t key) { return entry.first < key; });
        if (it != sorted_.end() && it->first == c) it->second = bytes;
        if (c >= kPunctuationFirst && c < kPunctuationLimit)
            punctuation_[c - kPunctuationFirst] = bytes;
    }
}

namespace {

// A page's codec, built the first time the page is asked for: building the
// double-byte pages takes most of a small job's time, and few jobs need them.
struct LazyCodec {
    std::once_flag built;
    std::unique_ptr<CodePageCodec> codec;
};

}  // namespace

const CodePageCodec* CodePageCodec::find(int codePage) {
    const std::span<const res::CodePageTable> tables = res::codePageTables();
    static const std::unique_ptr<LazyCodec[]> codecs(new LazyCodec[tables.size()]);
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (tables[i].codePage != codePage) continue;
        LazyCodec& lazy = codecs[i];
        std::call_once(lazy.built,
                       [&] { lazy.codec = std::make_unique<CodePageCodec>(tables[i]); });
        return lazy.codec.get();
    }
    return nullptr;
}

const CodePageCodec& CodePageCodec::windows1252() {
    static const CodePageCodec* codec = find(1252);
    return *codec;
}

void CodePageCodec::appendSingleByteUtf8(std::string_view bytes, std::string& out) const {
    for (char c : bytes) {
        auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            const Utf8& utf8 = highByteUtf8(byte);
            out.append(utf8.bytes, utf8.length);
        }
    }
}

char32_t CodePageCodec::decodePair(std::uint8_t lead, std::uint8_t trail) const {
    if (!isLeadByte(lead) || trail < res::kTrailFirst || trail > res::kTrailLast) return 0;
    int row = table_.leadRow[lead - 0x80];
    return table_.pairs[row * res::kTrailCount + trail - res::kTrailFirst];
}

bool CodePageCodec::encode(char32_t c, std::string& out) const {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return true;
    }
    if (isKeptByte(c)) {
        out += static_cast<char>(c - kKeptByteFirst);
        return true;
    }
    std::uint16_t bytes = 0;
    if (c < kDirectLimit) {
        bytes = direct_[c - 0x80];
    } else if (c >= kPunctuationFirst && c < kPunctuationLimit) {
        bytes = punctuation_[c - kPunctuationFirst];
    } else {
        auto it =
            std::lower_bound(sorted_.begin(), sorted_.end(), c,
                             [](const auto& entry, char32_t key) { return entry.first < key; });
        if (it != sorted_.end() && it->first == c) bytes = it->second;
    }
    if (bytes == 0) return false;
    if (bytes > 0xFF) out += static_cast<char>(bytes >> 8);
    out += static_cast<char>(bytes & 0xFF);
    return true;
}

std::uint8_t macRomanOnlyByte(char32_t c) {
    auto characters = res::macRomanOnlyCharacters();
    auto it =
        std::lower_bound(characters.begin(), characters.end(), c,
                         [](const auto& entry, char32_t key) { return entry.character < key; });
    return it != characters.end() && it->character == c ? it->byte : 0;
}

}  // namespace tessel::platform
