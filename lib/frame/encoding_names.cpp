#include "frame/encoding_names.h"

#include "resources/encoding_names.h"

namespace tessel::frame {

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

int codePageOfEncodingName(std::string_view name) {
    name = trimBlanks(name);
    for (const auto& entry : resources::kEncodingNames) {
        if (sameIgnoringCase(entry.name, name)) return entry.codePage;
    }
    return 0;
}

}  // namespace tessel::frame
