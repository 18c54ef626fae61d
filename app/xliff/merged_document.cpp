#include "xliff/merged_document.h"

#include <cstdint>
#include <cstdio>
#include <unordered_map>

#include "platform/utf8.h"
#include "resources/rtf_texts.h"

namespace tessel::xliff {

using verify::RunRole;

namespace {

// Codes that stand for one another: an opening code may come back isolated
// and the other way round.
char categoryOf(CodeKind kind) {
    switch (kind) {
        case CodeKind::Open:
        case CodeKind::IsolatedOpen:
            return 'o';
        case CodeKind::Close:
        case CodeKind::IsolatedClose:
            return 'c';
        case CodeKind::Single:
            break;
    }
    return 's';
}

std::string codeKey(CodeKind kind, std::string_view id) {
    std::string key(1, categoryOf(kind));
    key += id;
    return key;
}

void appendUnicodeEscape(std::string& out, char32_t c) {
    auto escape = [&out](std::uint32_t unit) {
        out += "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(unit))) +
               "?";
    };
    if (c >= 0x10000) {
        std::uint32_t v = static_cast<std::uint32_t>(c) - 0x10000;
        escape(0xD800 + (v >> 10));
        escape(0xDC00 + (v & 0x3FF));
    } else {
        escape(static_cast<std::uint32_t>(c));
    }
}

}  // namespace

void appendRtfText(std::string& out, std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x80) {
            appendUnicodeEscape(out, platform::nextUtf8(text, at));
            continue;
        }
        ++at;
        switch (byte) {
            case '\\':
                out += "\\\\";
                continue;
            case '{':
                out += "\\{";
                continue;
            case '}':
                out += "\\}";
                continue;
            case '\t':
                out += "\\tab ";
                continue;
            case '\n':
                out += resources::kEscapedLineEnd;
                continue;
            default:
                break;
        }
        if (byte < 0x20 || byte == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\'%02x", byte);
            out += hex;
        } else {
            out += static_cast<char>(byte);
        }
    }
}

MergeWriter::MergeWriter(platform::OutputStream& out, const XliffFile& xliff, MergeTally& tally)
    : out_(out), xliff_(xliff), tally_(tally) {
    out_.write(resources::kRtfHeader);
}

void MergeWriter::writeRun(RunRole role, std::string_view text) {
    if (text.empty()) return;
    std::string_view open;
    switch (role) {
        case RunRole::External:
            open = resources::kExternalTagOpen;
            break;
        case RunRole::Internal:
            open = resources::kInternalTagOpen;
            break;
        case RunRole::DoNotTranslate:
            open = resources::kDoNotTranslateOpen;
            break;
        case RunRole::Text:
            break;
    }
    buffer_.clear();
    buffer_ += open;
    appendRtfText(buffer_, text);
    if (!open.empty()) buffer_ += resources::kTagClose;
    out_.write(buffer_);
}

void MergeWriter::skeleton(RunRole role, std::string_view text) {
    writeRun(role, text);
}

void MergeWriter::paragraphEnd(bool lineEnd) {
    if (lineEnd) out_.write(resources::kParagraphEnd);
}

void MergeWriter::finish() {
    out_.write(resources::kDocumentEnd);
}

void MergeWriter::unit(const TranslationUnit& unit) {
    ++tally_.units;
    auto found = xliff_.byId.find(unit.id);
    const XliffUnit* translated =
        found == xliff_.byId.end() ? nullptr : &xliff_.units[found->second];
    if (translated != nullptr && partsKey(translated->source) != partsKey(unit) &&
        tally_.mismatchedUnit.empty()) {
        tally_.mismatchedUnit = unit.id;
        tally_.mismatchedLine = translated->line;
    }
    if (translated == nullptr || !translated->translated()) {
        ++tally_.untranslated;
        for (const UnitPart& part : unit.parts) {
            if (part.isCode()) {
                const InlineCode& code = unit.codes[part.code];
                writeRun(code.role, code.text);
            } else {
                writeRun(RunRole::Text, part.text);
            }
        }
        return;
    }
    ++tally_.translated;
    writeTarget(unit, *translated);
}

// The target's text as plain text, each code as the tag of the unit it
// stands for; a code the unit has no tag for is written as the target
// gives it, so the translation check finds it.
void MergeWriter::writeTarget(const TranslationUnit& unit, const XliffUnit& translated) {
    std::unordered_map<std::string, std::size_t> codes;
    for (std::size_t i = 0; i < unit.codes.size(); ++i) {
        codes.emplace(codeKey(unit.codes[i].kind, std::to_string(unit.codes[i].id)), i);
    }
    for (const XliffPart& part : translated.target) {
        if (!part.isCode) {
            writeRun(RunRole::Text, part.text);
            continue;
        }
        auto code = codes.find(codeKey(part.kind, part.id));
        if (code == codes.end()) {
            ++tally_.unknownCodes;
            writeRun(RunRole::Internal, part.text);
            continue;
        }
        const InlineCode& original = unit.codes[code->second];
        writeRun(original.role, original.text);
    }
}

}  // namespace tessel::xliff
