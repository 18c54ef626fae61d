#include "platform/resources.h"

#include <algorithm>

#include "platform/paths.h"
#include "resources/resource_index.h"

namespace tessel::platform {

std::optional<std::span<const std::uint8_t>> findResource(std::string_view name,
                                                          std::string_view type) {
    for (const auto& resource : resources::grammarResources()) {
        if (sameNameIgnoringCase(resource.name, name) &&
            sameNameIgnoringCase(resource.type, type)) {
            return resource.data;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> loadString(unsigned id) {
    auto strings = resources::libraryStrings();
    auto it = std::lower_bound(strings.begin(), strings.end(), id,
                               [](const auto& entry, unsigned key) { return entry.id < key; });
    if (it == strings.end() || it->id != id) return std::nullopt;
    return it->text;
}

}  // namespace tessel::platform
