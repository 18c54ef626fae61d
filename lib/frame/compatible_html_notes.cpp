#include "frame/compatible_html_notes.h"

#include "frame/target_encoder.h"
#include "platform/code_page_codec.h"
#include "platform/format.h"
#include "resources/back_conversion_texts.h"
#include "resources/html_entity_tables.h"

namespace tessel::frame {

namespace {

namespace res = tessel::resources;

const res::EntityEncoding* substituteOf(unsigned char byte) {
    for (const auto& row : res::kCompatible1252Entities) {
        if (row.character == byte) return &row;
    }
    return nullptr;
}

}  // namespace

std::vector<std::string> CompatibleHtmlNotes::newKinds(std::string_view line) {
    std::vector<std::string> details;
    for (char c : line) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 || told_.test(byte)) continue;
        const res::EntityEncoding* row = substituteOf(byte);
        if (row == nullptr) continue;
        told_.set(byte);
        char32_t character = platform::CodePageCodec::windows1252().decode(byte);
        details.push_back(platform::fillPlaceholders(
            res::kCompatibleSubstituteDetail,
            {characterNames({character}), std::string(1, c), row->replacement}));
    }
    return details;
}

}  // namespace tessel::frame
