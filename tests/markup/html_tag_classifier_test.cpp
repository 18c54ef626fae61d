// Trying tag entries against a tag, and the built-in lookup against the
// plain walk through the ordered table.
#include "markup/html_tag_classifier.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

#include "markup/html_markup_state.h"
#include "resources/html_tag_table.h"

namespace {

using tessel::markup::classifyByBuiltInTable;
using tessel::markup::funcClassifyHTMLTag;
using tessel::markup::MarkedLine;
using tessel::markup::TagSpan;

TagSpan spanOf(const std::string& tag) {
    std::size_t name = tag.find_first_not_of(" /", 1);
    return TagSpan{0, name, tag.size(), tag.find('/') < name};
}

int tryEntry(const std::string& tag, std::string_view name, std::string_view tagClass,
             std::string* marked = nullptr, std::string_view attribute = "") {
    MarkedLine line(tag);
    TagSpan span = spanOf(tag);
    int result = funcClassifyHTMLTag(line, span, name, tagClass, attribute);
    if (marked != nullptr) *marked = line.finish();
    return result;
}

TEST(ClassifyTag, OrderAndNameBoundary) {
    EXPECT_EQ(tryEntry("<BODY>", "BR", "I"), -2207) << "BO sorts before BR";
    EXPECT_EQ(tryEntry("<BR>", "BODY", "E"), 0) << "BR sorts after BO";
    EXPECT_EQ(tryEntry("<BODY>", "B", "I"), 0) << "B does not fit BODY";
    EXPECT_EQ(tryEntry("<H1>", "H", "E"), 1) << "H fits H1";
    EXPECT_EQ(tryEntry("<hr>", "H", "E"), 0);
    EXPECT_EQ(tryEntry("<b>", "B", "I"), 1) << "without regard to case";
    EXPECT_EQ(tryEntry("<B", "BR", "I"), -2207) << "the end of the line sorts first";
}

TEST(ClassifyTag, ClassLetters) {
    std::string marked;
    EXPECT_EQ(tryEntry("<X>", "X", "EI", &marked), 1) << "a second letter after E is ignored";
    EXPECT_EQ(marked, "{\\cs5\\cf15\\f1\\lang1024 <X>}");
    EXPECT_EQ(tryEntry("<X>", "X", "S"), -2201);
    EXPECT_EQ(tryEntry("<X>", "X", "SS"), -2201);
    EXPECT_EQ(tryEntry("<X>", "X", "Q"), -2201);
    EXPECT_EQ(tryEntry("<X>", "X", ""), -2201);
    EXPECT_EQ(tryEntry("</X ALT=\"a\">", "X", "SD", &marked), 1);
    EXPECT_EQ(marked, "{\\cs8\\cf13\\f1\\lang1024 </X ALT=\"a\">}") << "closing tag whole";
}

TEST(ClassifyTag, PreFlagFollowsOnlyThePreEntry) {
    auto& state = tessel::markup::htmlMarkupState();
    state.reset();
    EXPECT_EQ(tryEntry("<pre>", "PRE", "I"), 1);
    EXPECT_TRUE(state.pre);
    EXPECT_EQ(tryEntry("</PRE>", "PRE", "I"), 1);
    EXPECT_FALSE(state.pre);
    EXPECT_EQ(tryEntry("<PRE>", "pre", "I"), 1);
    EXPECT_FALSE(state.pre) << "a user entry spelt otherwise does not switch it";
    state.reset();
}

// `text` wrapped whole in the internal group, as a tag is.
std::string internalGroup(const std::string& text) {
    MarkedLine line(text);
    line.wrap(0, text.size(), tessel::frame::TagKind::Internal);
    return line.finish();
}

TEST(ClassifyTag, TranslatableValueFoundInAnyCase) {
    // The value between the quotes stays outside the two groups.
    auto split = [](const std::string& before, const std::string& value, const std::string& after) {
        return internalGroup(before) + value + internalGroup(after);
    };
    std::string marked;
    const std::string tag = "<IMG SRC=\"a\" alt=\"v\">";
    EXPECT_EQ(tryEntry(tag, "IMG", "SI", &marked, " ALT="), 1);
    EXPECT_EQ(marked, split("<IMG SRC=\"a\" alt=\"", "v", "\">"));
    EXPECT_EQ(tryEntry(tag, "IMG", "SI", &marked, "Alt="), 1) << "a letter first, either case";
    EXPECT_EQ(marked, split("<IMG SRC=\"a\" alt=\"", "v", "\">"));
    EXPECT_EQ(tryEntry(tag, "IMG", "SI", &marked, "\" ALT="), 1) << "a quote first";
    EXPECT_EQ(marked, split("<IMG SRC=\"a\" alt=\"", "v", "\">"));
    EXPECT_EQ(tryEntry(tag, "IMG", "SI", &marked, " SRC="), 1) << "the first attribute";
    EXPECT_EQ(marked, split("<IMG SRC=\"", "a", "\" alt=\"v\">"));
    EXPECT_EQ(tryEntry(tag, "IMG", "SI", &marked, " TITLE="), 1) << "absent: the whole tag";
    EXPECT_EQ(marked, internalGroup(tag));
    EXPECT_EQ(tryEntry(tag, "IMG", "SI", &marked, "\">"), 1) << "the bracket is not searched";
    EXPECT_EQ(marked, internalGroup(tag));
    EXPECT_EQ(tryEntry("<IMG ALT=>", "IMG", "SI", &marked, " ALT="), 1) << "no quote";
    EXPECT_EQ(marked, internalGroup("<IMG ALT=>"));
    EXPECT_EQ(tryEntry("<IMG ALT=\"v>", "IMG", "SI", &marked, " ALT="), -2204);
}

// The built-in lookup must give what the plain walk gives: every entry from
// the first, in order, until one fits or the tag sorts before one.
std::string orderedWalk(const std::string& tag) {
    for (const auto& entry : tessel::resources::kHtmlTagTable) {
        MarkedLine line(tag);
        TagSpan span = spanOf(tag);
        int result = funcClassifyHTMLTag(line, span, entry.name, entry.tagClass, entry.attribute);
        if (result == 1) return line.finish();
        if (result != 0) return "";
    }
    return "";
}

TEST(BuiltInLookup, SameResultAsTheFullOrderedWalk) {
    std::mt19937 random(11);
    const std::string alphabet = "ABDEFHILMOPRSTUVabdehilmoprstu!-_[`{123 /=\"";
    std::vector<std::string> tags;
    for (const auto& entry : tessel::resources::kHtmlTagTable) {
        tags.push_back("<" + std::string(entry.name) + ">");
        tags.push_back("</" + std::string(entry.name) + "X>");
        tags.push_back("<" + std::string(entry.name) + "1 ALT=\"v\" TITLE=\"t\" VALUE=\"x\">");
        // Other cases, a run of letters longer than any name, the name at
        // the very end of the text.
        std::string lower(entry.name);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        tags.push_back("<" + lower + ">");
        tags.push_back("< /" + lower.substr(0, 1) + std::string(entry.name).substr(1) + " x>");
        tags.push_back("<" + std::string(entry.name) + "ABCDEFGHIJK>");
        tags.push_back("<" + std::string(entry.name));
        // Bytes next to the letters in the code table, and bytes whose low
        // bits are a letter's, end the name.
        for (const char* next : {"@", "[", "`", "{", "\xC1", "\xE1", "\xDA", "\xFA"}) {
            tags.push_back("<" + std::string(entry.name) + next + ">");
        }
        // The same length with the last letter changed: names of more than
        // eight letters differ only past the first eight.
        std::string changed(entry.name);
        changed.back() = changed.back() == 'A' ? 'B' : 'A';
        tags.push_back("<" + changed + ">");
    }
    for (int i = 0; i < 5000; ++i) {
        std::string name;
        for (std::size_t n = 1 + random() % 6; n > 0; --n)
            name += alphabet[random() % alphabet.size()];
        tags.push_back("<" + name + ">");
    }
    for (const auto& tag : tags) {
        MarkedLine line(tag);
        TagSpan span = spanOf(tag);
        std::string viaLookup = classifyByBuiltInTable(line, span) == 1 ? line.finish() : "";
        EXPECT_EQ(viaLookup, orderedWalk(tag)) << tag;
    }
}

}  // namespace
