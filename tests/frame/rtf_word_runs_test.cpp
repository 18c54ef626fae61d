// The runs of control words the RTF reader keeps by their bytes: found only
// for the very bytes they were kept for, and only with the byte after them
// when that byte decided where the last word ended.
#include "frame/rtf_word_runs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using tessel::frame::RtfParsedWord;
using tessel::frame::RtfWordRuns;
using tessel::resources::RtfAction;

// Text padded as the reader's buffer is, so that words of eight can be read
// past its end.
std::string padded(std::string text) {
    return text + std::string(RtfWordRuns::kMaxRunBytes + 8, '\0');
}

RtfParsedWord word(std::uint8_t end, std::int32_t parameter) {
    RtfParsedWord parsed;
    parsed.found = {RtfAction::CharacterStyle, 0};
    parsed.hasParameter = true;
    parsed.parameter = parameter;
    parsed.end = end;
    return parsed;
}

TEST(RtfWordRuns, AKeptRunIsFoundByItsBytesOnly) {
    RtfWordRuns runs;
    const std::string text = padded("cs6\\cf6 <b>");
    runs.start();
    ASSERT_TRUE(runs.add(word(4, 6)));
    ASSERT_TRUE(runs.add(word(8, 6)));
    runs.keep(text.data(), 8, false);

    const RtfWordRuns::Run* run = runs.find(text.data(), 11);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->words, 2);
    EXPECT_EQ(run->length, 8);
    EXPECT_EQ(run->word[1].end, 8);
    EXPECT_EQ(run->word[1].parameter, 6);
    // What follows a last word that ends in its space does not matter.
    EXPECT_NE(runs.find(padded("cs6\\cf6 other").data(), 13), nullptr);
    // Any other byte within the run does, at either end of it.
    EXPECT_EQ(runs.find(padded("cs6\\cf7 <b>").data(), 11), nullptr);
    EXPECT_EQ(runs.find(padded("ds6\\cf6 <b>").data(), 11), nullptr);
    // So does data that ends before the run does.
    EXPECT_EQ(runs.find(text.data(), 7), nullptr);
    EXPECT_NE(runs.find(text.data(), 8), nullptr);
}

TEST(RtfWordRuns, TheByteAfterCountsWhenItEndedTheLastWord) {
    RtfWordRuns runs;
    const std::string text = padded("f1<b>");
    runs.start();
    ASSERT_TRUE(runs.add(word(2, 1)));
    runs.keep(text.data(), 2, true);
    const RtfWordRuns::Run* run = runs.find(text.data(), 5);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->compared, 3);
    EXPECT_EQ(run->length, 2);
    // "\f1 " reads as a word and its space, "\f12" as another parameter.
    EXPECT_EQ(runs.find(padded("f1 b").data(), 4), nullptr);
    EXPECT_EQ(runs.find(padded("f12b").data(), 4), nullptr);
    // The byte after must be data.
    EXPECT_EQ(runs.find(text.data(), 2), nullptr);
}

TEST(RtfWordRuns, RunsTooLongOrWithTooManyWordsAreNotKept) {
    RtfWordRuns runs;
    runs.start();
    for (std::size_t i = 0; i < RtfWordRuns::kMaxRunWords; ++i) {
        EXPECT_TRUE(runs.add(word(static_cast<std::uint8_t>(3 * (i + 1)), 1)));
    }
    EXPECT_FALSE(runs.add(word(30, 1)));

    runs.start();
    EXPECT_FALSE(runs.add(word(RtfWordRuns::kMaxRunBytes + 1, 1)));

    // 32 bytes of run and the byte after them: one more than is compared.
    const std::string longRun = padded(std::string(RtfWordRuns::kMaxRunBytes, 'a') + "<");
    runs.start();
    ASSERT_TRUE(runs.add(word(RtfWordRuns::kMaxRunBytes, 1)));
    runs.keep(longRun.data(), RtfWordRuns::kMaxRunBytes, true);
    EXPECT_EQ(runs.find(longRun.data(), RtfWordRuns::kMaxRunBytes + 1), nullptr);
    runs.keep(longRun.data(), RtfWordRuns::kMaxRunBytes, false);
    EXPECT_NE(runs.find(longRun.data(), RtfWordRuns::kMaxRunBytes + 1), nullptr);

    // A run without words is nothing to keep.
    const std::string empty = padded("x");
    runs.start();
    runs.keep(empty.data(), 1, false);
    EXPECT_EQ(runs.find(empty.data(), 1), nullptr);
}

}  // namespace
