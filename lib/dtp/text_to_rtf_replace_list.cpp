#include "dtp/text_to_rtf_replace_list.h"

#include "dtp/source_characters.h"
#include "dtp/text_to_rtf_replace_piece.h"
#include "platform/format.h"
#include "resources/mac_tables.h"
#include "resources/markup_framework_texts.h"
#include "resources/rtf_texts.h"

namespace tessel::dtp {

std::string CTextToRTFReplaceList::literalCharacterTag(std::uint8_t) const {
    return {};
}

std::string CTextToRTFReplaceList::decimalCharacterTag(std::uint8_t byte) {
    return platform::fillPlaceholders(resources::kLiteralCharacterTag, {std::to_string(byte)});
}

std::int32_t CTextToRTFReplaceList::internalKind() const {
    return internalWithoutLineEnds ? kRtfPieceJoinedInternal : kRtfPieceInternal;
}

void CTextToRTFReplaceList::convertFromMacintosh(std::string& text) const {
    const resources::ByteTable& table = resources::macToAnsiTable();
    bool unmapped = false;
    for (char c : text) {
        if (table[static_cast<unsigned char>(c)] == resources::kNoCounterpart) {
            unmapped = true;
            break;
        }
    }
    if (!unmapped) {
        for (char& c : text) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
        return;
    }
    std::string rebuilt;
    rebuilt.reserve(text.size() + 16);
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        std::uint8_t mapped = table[byte];
        if (mapped == resources::kNoCounterpart) {
            rebuilt += literalCharacterTag(byte);
        } else {
            rebuilt += static_cast<char>(mapped);
        }
    }
    text.swap(rebuilt);
}

void CTextToRTFReplaceList::wrapLiteralCharacterTags(std::string& text, std::size_t from) {
    constexpr std::string_view start = resources::kEscapedLiteralCharacterTagStart;
    std::size_t found = text.find(start, from);
    if (found == std::string::npos) return;
    // Only text[from, end) is rebuilt: the text before it may be long.
    std::string wrapped;
    wrapped.reserve(text.size() - from + 64);
    std::size_t copied = from;
    while (found != std::string::npos) {
        std::size_t close = text.find('>', found + start.size());
        if (close == std::string::npos) break;
        wrapped.append(text, copied, found - copied);
        wrapped += resources::kInternalTagOpen;
        wrapped.append(text, found, close + 1 - found);
        wrapped += resources::kTagClose;
        copied = close + 1;
        found = text.find(start, copied);
    }
    wrapped.append(text, copied, std::string::npos);
    text.replace(from, std::string::npos, wrapped);
}

void CTextToRTFReplaceList::appendConverted(std::string& out, std::string_view text) {
    if (macintosh) {
        mapped_.assign(text);
        convertFromMacintosh(mapped_);
        text = mapped_;
    } else if (const SourceCharacters& characters = activeSourceCharacters();
               characters.decodes()) {
        return appendDecodedRtfText(out, text, characters, lineJoining);
    }
    appendConverterRtfText(out, text, lineJoining);
}

bool CTextToRTFReplaceList::appendConvertedLine(std::string& out, std::string_view text,
                                                std::size_t readable) {
    if (macintosh || activeSourceCharacters().decodes()) {
        return CReplaceList::appendConvertedLine(out, text, readable);
    }
    return appendConverterRtfEscapedLine(out, text, readable);
}

std::optional<std::size_t> CTextToRTFReplaceList::appendConvertedLines(std::string& out,
                                                                       std::string_view bytes,
                                                                       std::uint32_t lineEnds,
                                                                       std::uint32_t column) {
    if (macintosh || activeSourceCharacters().decodes()) {
        return CReplaceList::appendConvertedLines(out, bytes, lineEnds, column);
    }
    return appendConverterRtfTextAcrossLines(out, bytes, lineEnds, column, lineJoining);
}

void CTextToRTFReplaceList::writeHeader(CRCFile& file) {
    file.write(resources::kConverterRtfHeader);
}

void CTextToRTFReplaceList::writeFooter(CRCFile& file) {
    file.write(resources::kConverterRtfFooter);
}

}  // namespace tessel::dtp
