#include "resources/grammar_catalog.h"

#include <algorithm>

namespace tessel::resources {

namespace {

// Grammar keys are ASCII words; the tables are data and need no platform.
bool sameKey(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

const GrammarDescription* findGrammar(std::string_view key) {
    for (const auto& grammar : grammarCatalog()) {
        if (sameKey(grammar.key, key)) return &grammar;
    }
    return nullptr;
}

std::optional<std::string_view> grammarTokenName(const GrammarDescription& grammar,
                                                 std::int32_t token) {
    auto names = grammar.tokenNames;
    auto it = std::lower_bound(
        names.begin(), names.end(), token,
        [](const GrammarTokenName& entry, std::int32_t key) { return entry.token < key; });
    if (it != names.end() && it->token == token) return it->name;
    return std::nullopt;
}

}  // namespace tessel::resources
