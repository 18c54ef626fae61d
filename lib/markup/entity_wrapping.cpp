#include "markup/entity_wrapping.h"

#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/rtf_writer.h"
#include "markup/entity_decoding.h"
#include "markup/html_entities.h"
#include "markup/one_pass_decoding.h"
#include "platform/spare_buffer.h"
#include "resources/rtf_texts.h"

namespace tessel::markup {

namespace {

using entity_decoding::kMaxEntitySpan;

// [start, end) of each entity to wrap, in order.
using EntitySpans = std::vector<std::pair<std::size_t, std::size_t>>;

// Sizes the wrapped line once and fills it with plain copies.
int wrapSpans(std::string& line, const EntitySpans& entities) {
    if (entities.empty()) return 0;
    const std::string_view text = line;
    const std::string_view opening = frame::tagOpening(frame::TagKind::Internal);
    const std::string_view close = resources::kTagClose;
    platform::rebuildInPlace(line, [&](std::string& wrapped) {
        wrapped.resize(text.size() + entities.size() * (opening.size() + close.size()));
        char* out = wrapped.data();
        auto put = [&out](std::string_view piece) {
            std::memcpy(out, piece.data(), piece.size());
            out += piece.size();
        };
        std::size_t copied = 0;
        for (const auto& [start, end] : entities) {
            put(text.substr(copied, start - copied));
            put(opening);
            put(text.substr(start, end - start));
            put(close);
            copied = end;
        }
        put(text.substr(copied));
    });
    return static_cast<int>(entities.size());
}

EntitySpans& spans() {
    thread_local EntitySpans entities;
    entities.clear();
    return entities;
}

}  // namespace

int wrapRemainingEntities(std::string& line, int& message) {
    if (std::memchr(line.data(), '&', line.size()) == nullptr) return 0;
    const std::string_view text = line;
    // The entities to wrap are found first.
    EntitySpans& entities = spans();
    LoneAmpersands lone;
    std::size_t wrappedUpTo = 0;
    for (std::size_t amp = text.find('&'); amp != std::string_view::npos;
         amp = text.find('&', amp + 1)) {
        if (amp < wrappedUpTo) continue;  // inside an entity already wrapped
        std::size_t semicolon = text.substr(amp + 1, kMaxEntitySpan).find(';');
        if (semicolon == std::string_view::npos) {
            lone.check(text.substr(0, amp), amp + 1 < text.size() && text[amp + 1] == ' ', message);
            continue;
        }
        wrappedUpTo = amp + 1 + semicolon + 1;
        entities.emplace_back(amp, wrappedUpTo);
    }
    return wrapSpans(line, entities);
}

int decodeAndWrapEntities(std::string& line, int& message) {
    int count = 0;
    NoTagMarkup entitiesOnly;
    if (decodeAndWrapInOnePass<EscapedBytes::Kept>(line, entitiesOnly, count, message)) {
        return count;
    }
    // An "&" with another in its reach may see decoded text there: the
    // decoded line is searched again.
    decodeEntitiesForMarkup(line);
    return wrapRemainingEntities(line, message);
}

bool escapeDecodeAndWrapEntities(std::string& line, int& count, int& message) {
    NoTagMarkup entitiesOnly;
    if (decodeAndWrapInOnePass<EscapedBytes::Escaped>(line, entitiesOnly, count, message)) {
        return true;
    }
    if (!frame::escapeRtf(line)) return false;
    count = decodeAndWrapEntities(line, message);
    return true;
}

}  // namespace tessel::markup
