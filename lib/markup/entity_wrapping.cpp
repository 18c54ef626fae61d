#include "markup/entity_wrapping.h"

#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/rtf_writer.h"
#include "markup/html_codes.h"
#include "platform/spare_buffer.h"
#include "resources/rtf_texts.h"

namespace tessel::markup {

namespace {

// Largest distance from "&" to the ";" that ends an entity.
constexpr std::size_t kMaxEntitySpan = 15;

// Last position of `c` in [from, to), or npos.
std::size_t lastOf(std::string_view text, std::size_t from, std::size_t to, char c) {
    if (to <= from) return std::string_view::npos;
    std::size_t found = text.substr(from, to - from).rfind(c);
    return found == std::string_view::npos ? found : from + found;
}

}  // namespace

int wrapRemainingEntities(std::string& line, int& message) {
    if (std::memchr(line.data(), '&', line.size()) == nullptr) return 0;
    const std::string_view text = line;
    // The entities to wrap, [start, end) each, are found first: the wrapped
    // line is then sized once and filled with plain copies.
    thread_local std::vector<std::pair<std::size_t, std::size_t>> entities;
    entities.clear();
    std::size_t wrappedUpTo = 0;
    std::size_t scanned = 0;  // '<' and '>' are known up to here
    std::size_t lastOpen = std::string_view::npos;
    std::size_t lastClose = std::string_view::npos;
    for (std::size_t amp = text.find('&'); amp != std::string_view::npos;
         amp = text.find('&', amp + 1)) {
        if (amp < wrappedUpTo) continue;  // inside an entity already wrapped
        std::size_t semicolon = text.substr(amp + 1, kMaxEntitySpan).find(';');
        if (semicolon == std::string_view::npos) {
            // Whether the "&" stands inside a tag: the last "<" and ">"
            // before it, looked for only here, from where the last look
            // ended.
            if (std::size_t open = lastOf(text, scanned, amp, '<');
                open != std::string_view::npos) {
                lastOpen = open;
            }
            if (std::size_t close = lastOf(text, scanned, amp, '>');
                close != std::string_view::npos) {
                lastClose = close;
            }
            scanned = amp;
            bool followedByBlank = amp + 1 < text.size() && text[amp + 1] == ' ';
            bool insideTag = lastOpen != std::string_view::npos &&
                             (lastClose == std::string_view::npos || lastClose < lastOpen);
            if (!followedByBlank && !insideTag) message = kAmpersandWithoutSemicolon;
            continue;
        }
        wrappedUpTo = amp + 1 + semicolon + 1;
        entities.emplace_back(amp, wrappedUpTo);
    }
    if (entities.empty()) return 0;
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

}  // namespace tessel::markup
