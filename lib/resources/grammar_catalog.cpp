#include "resources/grammar_catalog.h"

#include <algorithm>

#include "platform/paths.h"

namespace tessel::resources {
namespace {

constexpr std::int32_t kEofToken = -1;
constexpr std::int32_t kErrorToken = -2;
constexpr std::string_view kEofName = "eof";
constexpr std::string_view kErrorName = "%error";
constexpr std::string_view kUnknownTokenName = "SSLexTokenNotFound";

}  // namespace

const GrammarDescription* findGrammar(std::string_view key) {
    for (const auto& grammar : grammarCatalog()) {
        if (platform::sameNameIgnoringCase(grammar.key, key)) return &grammar;
    }
    return nullptr;
}

std::string_view grammarTokenName(const GrammarDescription& grammar, std::int32_t token) {
    if (token == kEofToken) return kEofName;
    if (token == kErrorToken) return kErrorName;
    auto names = grammar.tokenNames;
    auto it = std::lower_bound(
        names.begin(), names.end(), token,
        [](const GrammarTokenName& entry, std::int32_t key) { return entry.token < key; });
    if (it != names.end() && it->token == token) return it->name;
    return kUnknownTokenName;
}

}  // namespace tessel::resources
