// The grammars compiled into the library: for each, its short name, the
// resource names of its two tables and the display names of its tokens.
// Generated at build time from lib/resources/grammars/*.grammar together with
// the tables themselves (grammarResources in resource_index.h).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tessel::resources {

struct GrammarTokenName {
    std::int32_t token;
    std::string_view name;
};

struct GrammarDescription {
    std::string_view key;        // "pagemaker", "quark", "ventura4", "ventura", "htmlcharset"
    std::string_view lexTable;   // resource of type "LEXTABLE"
    std::string_view yaccTable;  // resource of type "YACCTABLE"
    std::span<const GrammarTokenName> tokenNames;  // sorted by token number
};

// Generated.
std::span<const GrammarDescription> grammarCatalog();

// The grammar with the given short name (case ignored), or nullptr.
const GrammarDescription* findGrammar(std::string_view key);

// Display name of a token as the converters' lexers show it ("eof" for -1 and
// "%error" for -2 included), or nothing for a token without a name (the
// lexer's default name applies: see tessel::parser::GrammarLex).
std::optional<std::string_view> grammarTokenName(const GrammarDescription& grammar,
                                                 std::int32_t token);

}  // namespace tessel::resources
