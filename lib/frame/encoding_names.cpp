#include "frame/encoding_names.h"

#include "platform/paths.h"
#include "resources/encoding_names.h"

namespace tessel::frame {

namespace {

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

int codePageOfEncodingName(std::string_view name) {
    name = trimBlanks(name);
    for (const auto& entry : resources::kEncodingNames) {
        if (platform::sameNameIgnoringCase(entry.name, name)) return entry.codePage;
    }
    return 0;
}

}  // namespace tessel::frame
