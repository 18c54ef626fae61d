// What the check knows of each format it can be asked about: the
// back-conversion that will write the translated file (for the characters
// it cannot hold) and the format's tag rules (pairs of opening and closing
// tags, characters that are markup, paragraph tags).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessel::verify {

// How a format closes what a tag opened.
enum class PairStyle {
    None,
    SlashClosers,   // "<B>" ... "</B>" (HTML, SGML)
    DollarClosers,  // "<SIZE 12>" ... "<SIZE$>", "<@Style>" ... "<@$>" (PageMaker, QuarkXPress)
};

struct TagRules {
    PairStyle pairs;
    // Characters of translatable text the back-conversion writes as they
    // are, where they are markup.
    std::string_view markupCharacters;
    // Ventura: "@TAG = " at the start of a paragraph is a tag.
    bool paragraphTags;
};

struct CheckTarget {
    std::string_view key;  // the value of --target
    int functionCode;      // the back-conversion
    TagRules tags;
    bool takesCodePage;  // "html-multilingual:CP"
};

std::span<const CheckTarget> checkTargets();

struct TargetChoice {
    const CheckTarget* target = nullptr;
    int codePage = 0;  // multilingual HTML
    std::string name() const;
};

// "pagemaker", "html-multilingual:1250", ...; nothing for an unknown key or
// a missing or unknown code page.
std::optional<TargetChoice> parseTarget(std::string_view text);

// The keys for help texts: "html|html-compatible|...".
std::string targetKeys();

}  // namespace tessel::verify
