#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "verify/styled_paragraph.h"

namespace tessel::verify {
namespace {

// The counter goes on from the offset asked last; whatever the order of the
// offsets, and whichever text comes next, it must give what columnOf counts
// from the start.
TEST(ColumnCounter, GivesTheColumnsOfCountingFromTheStart) {
    // "caf\xC3\xA9" is four characters in five bytes; the offsets fall inside
    // and after multi-byte characters and past the end.
    const std::string text = "a caf\xC3\xA9 <b>\xE2\x80\x9Cquoted\xE2\x80\x9D</b> end";
    const std::vector<std::size_t> offsets = {0, 1, 5, 6, 7, 7, 12, 30, 9, 3, 200, 2, 0};
    ColumnCounter counter;
    for (std::size_t offset : offsets) {
        EXPECT_EQ(counter.columnOf(text, offset), columnOf(text, offset)) << "offset " << offset;
    }
    EXPECT_EQ(columnOf(text, 7), 7u);  // six characters ("a café") before it
    EXPECT_EQ(columnOf(text, 200), columnOf(text, text.size()));
}

TEST(ColumnCounter, StartsAgainForAnotherTextOfTheSameSize) {
    const std::string first = "\xC3\xA9\xC3\xA9\xC3\xA9xx";
    const std::string second = "abcdefgh";
    ColumnCounter counter;
    EXPECT_EQ(counter.columnOf(first, 6), 4u);
    EXPECT_EQ(counter.columnOf(second, 7), 8u);
    EXPECT_EQ(counter.columnOf(first, 8), 6u);
}

}  // namespace
}  // namespace tessel::verify
