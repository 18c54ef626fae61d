// Where a tag with nested "<" ends: the brackets are found a chunk of bytes
// at a time, so each case puts them at every position across the first
// chunks and at the very end of the text.
#include "markup/nested_tag_end.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using tessel::markup::findNestedTagEnd;

constexpr std::size_t npos = std::string_view::npos;

TEST(NestedTagEnd, FirstCloseAtDepthZeroAtEveryPosition) {
    for (std::size_t before = 0; before < 40; ++before) {
        std::string text = std::string(before, 'x') + ">" + std::string(before % 5, 'y');
        std::size_t depth = 0;
        std::size_t nested = 0;
        EXPECT_EQ(findNestedTagEnd(text, 0, depth, nested), before + 1) << before;
        EXPECT_EQ(depth, 0u);
        EXPECT_EQ(nested, 0u);
    }
}

TEST(NestedTagEnd, NestedOpeningsAreCountedAndClosedFirst) {
    for (std::size_t gap = 0; gap < 40; ++gap) {
        // "<" ... ">" inside the tag, then the tag's own ">".
        std::string inner = std::string(gap, 'a') + "<" + std::string(gap, 'b') + ">";
        std::string text = inner + std::string(gap % 3, 'c') + ">z";
        std::size_t depth = 0;
        std::size_t nested = 0;
        EXPECT_EQ(findNestedTagEnd(text, 0, depth, nested), text.size() - 1) << gap;
        EXPECT_EQ(depth, 0u);
        EXPECT_EQ(nested, 1u);
    }
}

TEST(NestedTagEnd, TextEndingInsideKeepsTheDepthForTheNextLine) {
    for (std::size_t gap = 0; gap < 40; ++gap) {
        std::string text = std::string(gap, 'a') + "<<" + std::string(gap, 'b') + ">";
        std::size_t depth = 0;
        std::size_t nested = 0;
        EXPECT_EQ(findNestedTagEnd(text, 0, depth, nested), npos) << gap;
        EXPECT_EQ(depth, 1u) << "two opened, one closed";
        EXPECT_EQ(nested, 2u);
        // The next line closes the last nested tag and then the tag itself.
        std::string next = std::string(gap, 'c') + ">>";
        EXPECT_EQ(findNestedTagEnd(next, 0, depth, nested), next.size());
        EXPECT_EQ(depth, 0u);
    }
}

TEST(NestedTagEnd, StartAtOrPastTheEnd) {
    std::size_t depth = 0;
    std::size_t nested = 0;
    EXPECT_EQ(findNestedTagEnd("ab>", 3, depth, nested), npos);
    EXPECT_EQ(findNestedTagEnd("", 0, depth, nested), npos);
    EXPECT_EQ(findNestedTagEnd("<a>b>", 1, depth, nested), 3u) << "from just past the tag's \"<\"";
    EXPECT_EQ(nested, 0u);
}

}  // namespace
