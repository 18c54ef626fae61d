#include "dtp/text_to_rtf_replace_list.h"

#include <cctype>

#include "dtp/text_to_rtf_replace_piece.h"
#include "platform/format.h"
#include "resources/mac_tables.h"
#include "resources/markup_framework_texts.h"
#include "resources/rtf_texts.h"

namespace tessel::dtp {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Classes of the plain ASCII locale; bytes from 0x80 are in none.
bool isAsciiAlnum(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x80 && std::isalnum(byte) != 0;
}
bool isAsciiAlnumOrPunct(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x80 && (std::isalnum(byte) != 0 || std::ispunct(byte) != 0);
}

// Passes `text` on to `appendPart` with each single line break between
// running words (and the blanks around it) made one blank, which goes to
// `appendBlank`.
template <class AppendPart, class AppendBlank>
void joinLines(std::string_view text, AppendPart appendPart, AppendBlank appendBlank) {
    std::size_t handled = 0;  // text before it is decided
    std::size_t copied = 0;   // text before it is passed on
    for (std::size_t lineEnd = text.find('\n'); lineEnd != std::string_view::npos;
         lineEnd = text.find('\n', handled)) {
        std::size_t before = lineEnd;
        while (before > handled && isBlank(text[before - 1])) --before;
        bool hasBefore = before > handled;
        std::size_t after = lineEnd + 1;
        while (after < text.size() && isBlank(text[after])) ++after;
        bool hasAfter = after < text.size();
        if (hasAfter && text[after] == '\n') {
            handled = after + 1;
            continue;
        }
        if (hasBefore && hasAfter && isAsciiAlnumOrPunct(text[before - 1]) &&
            isAsciiAlnum(text[after])) {
            appendPart(text.substr(copied, before - copied));
            appendBlank();
            copied = after;
        }
        if (!hasAfter) break;
        handled = after;
    }
    appendPart(text.substr(copied));
}

}  // namespace

void appendJoinedLines(std::string& joined, std::string_view text) {
    joined.reserve(joined.size() + text.size());
    joinLines(
        text, [&](std::string_view part) { joined += part; }, [&] { joined += ' '; });
}

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
    }
    // The joined text is escaped part by part, as escaping looks at one byte
    // at a time.
    if (lineJoining) {
        joinLines(
            text, [&](std::string_view part) { appendConverterRtfEscaped(out, part); },
            [&] { out += ' '; });
        return;
    }
    appendConverterRtfEscaped(out, text);
}

bool CTextToRTFReplaceList::appendConvertedLine(std::string& out, std::string_view text,
                                                std::size_t readable) {
    if (macintosh) return CReplaceList::appendConvertedLine(out, text, readable);
    return appendConverterRtfEscapedLine(out, text, readable);
}

void CTextToRTFReplaceList::writeHeader(CRCFile& file) {
    file.write(resources::kConverterRtfHeader);
}

void CTextToRTFReplaceList::writeFooter(CRCFile& file) {
    file.write(resources::kConverterRtfFooter);
}

}  // namespace tessel::dtp
