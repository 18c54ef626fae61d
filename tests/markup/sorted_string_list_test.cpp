// The indexed sorted list gives exactly what the plain list's walk gives:
// the same insertion results and the same order, duplicates refused.
#include "markup/sorted_string_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "markup/string_list.h"

namespace {

using tessel::markup::SortedStringList;
using tessel::markup::StringList;
using tessel::markup::StringNode;

template <typename List>
std::vector<std::string> walk(const List& list) {
    std::vector<std::string> texts;
    for (const StringNode* node = list.first(); node != nullptr; node = node->next.get()) {
        texts.push_back(node->text);
    }
    return texts;
}

TEST(SortedStringList, SameResultsAndOrderAsTheWalkingList) {
    std::mt19937 random(11);
    const std::string alphabet("<>/aAbB \0\xE9", 11);
    SortedStringList indexed;
    StringList walking;
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        for (std::size_t n = random() % 5; n > 0; --n) text += alphabet[random() % alphabet.size()];
        ASSERT_EQ(indexed.insert(text), walking.insertSorted(text)) << i;
    }
    EXPECT_EQ(walk(indexed), walk(walking));
    EXPECT_EQ(indexed.size(), walk(walking).size());
    EXPECT_TRUE(indexed.contains(""));
    EXPECT_EQ(indexed.contains("zz"), walking.containsSorted("zz"));
}

TEST(SortedStringList, ByteOrderWithCase) {
    SortedStringList list;
    for (const char* tag : {"<b>", "<B>", "</b>", "<b>", "<\xE9>", "<B >"}) list.insert(tag);
    EXPECT_EQ(walk(list), (std::vector<std::string>{"</b>", "<B >", "<B>", "<b>", "<\xE9>"}));
    EXPECT_FALSE(list.contains("<b"));
}

}  // namespace
