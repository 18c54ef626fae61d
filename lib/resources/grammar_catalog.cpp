#include "resources/grammar_catalog.h"

#include <algorithm>

#include "platform/paths.h"

namespace tessel::resources {
const GrammarDescription* findGrammar(std::string_view key) {
    for (const auto& grammar : grammarCatalog()) {
        if (platform::sameNameIgnoringCase(grammar.key, key)) return &grammar;
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
