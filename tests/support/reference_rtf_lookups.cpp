#include "support/reference_rtf_lookups.h"

#include <functional>

#include "platform/utf8.h"

namespace tessel::testing {
namespace {

using Kind = ReferenceWord::Kind;
using platform::CodePageCodec;
using resources::RtfKeywordKind;

const std::map<std::string, ReferenceWord, std::less<>>& words() {
    static const auto table = [] {
        std::map<std::string, ReferenceWord, std::less<>> map;
        for (const auto& row : resources::rtfKeywords()) {
            ReferenceWord word;
            switch (row.kind) {
                case RtfKeywordKind::Property:
                    word.kind = row.index == resources::kPropHidden  ? Kind::Hidden
                                : row.index == resources::kPropPlain ? Kind::Plain
                                                                     : Kind::NoEffect;
                    break;
                case RtfKeywordKind::Character:
                    word.kind = Kind::Character;
                    word.byte = row.index;
                    break;
                case RtfKeywordKind::Destination:
                    word.kind = row.index == resources::kDestFootnote    ? Kind::Footnote
                                : row.index == resources::kDestFontTable ? Kind::FontTable
                                                                         : Kind::Destination;
                    break;
                case RtfKeywordKind::Special:
                    word.kind = row.index == resources::kSpecialBinary    ? Kind::Binary
                                : row.index == resources::kSpecialHexByte ? Kind::Hex
                                                                          : Kind::Star;
                    break;
            }
            map.emplace(std::string(row.word), word);
        }
        for (const auto& row : resources::rtfTextKeywords()) {
            ReferenceWord word;
            word.kind = Kind::Text;
            word.text = row.action;
            map.emplace(std::string(row.word), word);
        }
        return map;
    }();
    return table;
}

}  // namespace

ReferenceWord findReferenceWord(std::string_view name) {
    auto found = words().find(name);
    return found == words().end() ? ReferenceWord{} : found->second;
}

const CodePageCodec* referenceCodingOf(const ReferenceFonts& fonts, std::int32_t number,
                                       const CodePageCodec* document) {
    auto found = fonts.find(number);
    if (found == fonts.end()) return document;
    const ReferenceFont& font = found->second;
    int codePage = font.codePage;
    if (codePage <= 0 || CodePageCodec::find(codePage) == nullptr) {
        codePage = resources::rtfCharsetCodePage(font.charset);
    }
    if (codePage == resources::kSymbolCharsetCodePage) return nullptr;
    const CodePageCodec* codec = codePage > 0 ? CodePageCodec::find(codePage) : nullptr;
    return codec != nullptr ? codec : document;
}

std::string referenceBytesAsText(std::string_view bytes, const CodePageCodec* codec) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto byte = static_cast<std::uint8_t>(bytes[i]);
        char32_t c = byte;
        if (byte >= 0x80 && codec == nullptr) {
            c = platform::keptByte(byte);
        } else if (byte >= 0x80) {
            c = codec->decode(byte);
            if (codec->isLeadByte(byte) && i + 1 < bytes.size()) {
                char32_t pair = codec->decodePair(byte, static_cast<std::uint8_t>(bytes[i + 1]));
                if (pair != 0) {
                    c = pair;
                    ++i;
                }
            }
        }
        platform::appendUtf8(text, c);
    }
    return text;
}

}  // namespace tessel::testing
