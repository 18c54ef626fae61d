#include "frame/rtf_writer.h"

#include <array>
#include <new>

#include "resources/rtf_texts.h"

namespace tessel::frame {

namespace res = tessel::resources;

namespace {

// Replacement of each byte value, empty for bytes written as they are.
constexpr std::array<std::string_view, 256> buildEscapeTable() {
    std::array<std::string_view, 256> table{};
    for (const auto& escape : res::kRtfEscapes) {
        table[static_cast<unsigned char>(escape.byte)] = escape.replacement;
    }
    return table;
}

constexpr auto kEscapeTable = buildEscapeTable();

}  // namespace

bool escapeRtf(std::string& line) {
    std::size_t extra = 0;
    for (char c : line) {
        std::string_view replacement = kEscapeTable[static_cast<unsigned char>(c)];
        if (!replacement.empty()) extra += replacement.size() - 1;
    }
    if (extra == 0) return true;
    try {
        std::string escaped;
        escaped.reserve(line.size() + extra);
        for (char c : line) {
            std::string_view replacement = kEscapeTable[static_cast<unsigned char>(c)];
            if (replacement.empty()) {
                escaped += c;
            } else {
                escaped += replacement;
            }
        }
        line.swap(escaped);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::string_view tagOpening(TagKind kind) {
    switch (kind) {
        case TagKind::Internal:
            return res::kInternalTagOpen;
        case TagKind::External:
            return res::kExternalTagOpen;
        case TagKind::DoNotTranslate:
            return res::kDoNotTranslateOpen;
    }
    return res::kInternalTagOpen;
}

void appendTagRun(std::string& out, TagKind kind, std::string_view text) {
    out += tagOpening(kind);
    out += text;
    out += res::kTagClose;
}

void writeRtfHeader(platform::OutputStream& out) {
    out.write(res::kRtfHeader);
}
void writeParagraphEnd(platform::OutputStream& out) {
    out.write(res::kParagraphEnd);
}
void writeDocumentEnd(platform::OutputStream& out) {
    out.write(res::kDocumentEnd);
}

}  // namespace tessel::frame
