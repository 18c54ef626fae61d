#include "markup/entity_wrapping.h"

#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/rtf_writer.h"
#include "markup/html_codes.h"
#include "markup/html_entities.h"
#include "platform/spare_buffer.h"
#include "resources/rtf_texts.h"

namespace tessel::markup {

namespace {

// Largest distance from "&" to the ";" that ends an entity.
constexpr std::size_t kMaxEntitySpan = 15;

// [start, end) of each entity to wrap, in order.
using EntitySpans = std::vector<std::pair<std::size_t, std::size_t>>;

// Last position of `c` in [from, to), or npos.
std::size_t lastOf(std::string_view text, std::size_t from, std::size_t to, char c) {
    if (to <= from) return std::string_view::npos;
    std::size_t found = text.substr(from, to - from).rfind(c);
    return found == std::string_view::npos ? found : from + found;
}

// Sets -1305 for an "&" without its ";" that is neither followed by a blank
// nor inside a tag. The "<" and ">" last seen are looked for only for such
// an "&", from where the last look ended, so the "&" come in order.
class LoneAmpersands {
  public:
    explicit LoneAmpersands(std::string_view text) : text_(text) {}

    void check(std::size_t amp, int& message) {
        if (std::size_t open = lastOf(text_, scanned_, amp, '<'); open != std::string_view::npos) {
            lastOpen_ = open;
        }
        if (std::size_t close = lastOf(text_, scanned_, amp, '>');
            close != std::string_view::npos) {
            lastClose_ = close;
        }
        scanned_ = amp;
        bool followedByBlank = amp + 1 < text_.size() && text_[amp + 1] == ' ';
        bool insideTag = lastOpen_ != std::string_view::npos &&
                         (lastClose_ == std::string_view::npos || lastClose_ < lastOpen_);
        if (!followedByBlank && !insideTag) message = kAmpersandWithoutSemicolon;
    }

  private:
    std::string_view text_;
    std::size_t scanned_ = 0;  // '<' and '>' are known up to here
    std::size_t lastOpen_ = std::string_view::npos;
    std::size_t lastClose_ = std::string_view::npos;
};

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
    LoneAmpersands lone(text);
    std::size_t wrappedUpTo = 0;
    for (std::size_t amp = text.find('&'); amp != std::string_view::npos;
         amp = text.find('&', amp + 1)) {
        if (amp < wrappedUpTo) continue;  // inside an entity already wrapped
        std::size_t semicolon = text.substr(amp + 1, kMaxEntitySpan).find(';');
        if (semicolon == std::string_view::npos) {
            lone.check(amp, message);
            continue;
        }
        wrappedUpTo = amp + 1 + semicolon + 1;
        entities.emplace_back(amp, wrappedUpTo);
    }
    return wrapSpans(line, entities);
}

int decodeAndWrapEntities(std::string& line, int& message) {
    thread_local LeftAmpersands left;
    decodeEntitiesForMarkup(line, left);
    // An "&" with another in its reach may see decoded text there: the
    // decoded line is searched again.
    if (!left.exact) return wrapRemainingEntities(line, message);
    if (left.list.empty()) return 0;
    // No entity left holds an "&", so none lies inside another.
    EntitySpans& entities = spans();
    LoneAmpersands lone(line);
    for (const LeftAmpersand& amp : left.list) {
        if (amp.semicolon == kNoEntityEnd) {
            lone.check(amp.at, message);
        } else {
            entities.emplace_back(amp.at, amp.at + amp.semicolon + 2);
        }
    }
    return wrapSpans(line, entities);
}

}  // namespace tessel::markup
