#include "markup/code_page_charset.h"

#include <algorithm>

#include "platform/format.h"
#include "platform/resources.h"
#include "resources/code_page_names.h"

namespace tessel::markup {

bool charsetNameForCodePage(unsigned codePage, std::string& name) {
    name.clear();
    auto table = resources::codePageNames();
    auto it =
        std::lower_bound(table.begin(), table.end(), codePage,
                         [](const auto& entry, unsigned key) { return entry.codePage < key; });
    if (it == table.end() || it->codePage != codePage) return false;
    std::optional<std::string_view> text = platform::loadString(it->stringId);
    if (!text) return false;
    name = *text;
    return true;
}

std::string metaCharsetLine(std::string_view charsetName) {
    std::string_view format = platform::loadString(resources::kMetaCharsetLineId).value_or("");
    return platform::fillPlaceholders(format, {charsetName});
}

bool isUsableCharsetName(std::string_view name) {
    if (name.empty()) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        bool digit = c >= '0' && c <= '9';
        return letter || digit || c == '-' || c == '_' || c == '.' || c == ':' || c == '+';
    });
}

}  // namespace tessel::markup
