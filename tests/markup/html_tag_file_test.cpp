// The HTML tag definition file and the string list behind it.
#include "markup/html_tag_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

using tessel::markup::funciLLInsertAfter;
using tessel::markup::funcReadHTMLTagFile;
using tessel::markup::StringList;
using tessel::markup::UserTagList;
using tessel::test::readFile;
using tessel::test::TempDir;

std::vector<std::string> contents(const StringList& list) {
    std::vector<std::string> texts;
    for (auto* node = list.first(); node != nullptr; node = node->next.get()) {
        texts.push_back(node->text);
    }
    return texts;
}

struct ReadResult {
    int code;
    std::string log;
    std::unique_ptr<UserTagList> tags;
};

ReadResult readTagFile(const TempDir& dir, const std::string& content) {
    auto path = dir.write("tags.txt", content);
    ReadResult result;
    {
        tessel::platform::OutputStream log;
        EXPECT_TRUE(log.open(dir.file("log.txt"), tessel::platform::StreamMode::Binary));
        result.code = funcReadHTMLTagFile(path, log, result.tags);
    }
    result.log = readFile(dir.file("log.txt"));
    std::string prefix = "Reading tag file: " + path + "\n";
    EXPECT_EQ(result.log.substr(0, prefix.size()), prefix);
    result.log.erase(0, prefix.size());
    std::string success = "Tag file " + path + " read successfully!\n\n";
    if (result.code == 0) {
        EXPECT_EQ(result.log.substr(result.log.size() - success.size()), success);
        result.log.erase(result.log.size() - success.size());
    }
    return result;
}

TEST(StringList, InsertAfterHeadReversesTheOrder) {
    StringList list;
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(funciLLInsertAfter(list.head(), "one"), 1);
    EXPECT_EQ(funciLLInsertAfter(list.head(), "two"), 1);
    EXPECT_EQ(funciLLInsertAfter(*list.head().next, std::string_view("a\0b", 3)), 1);
    EXPECT_EQ(contents(list), (std::vector<std::string>{"two", std::string("a\0b", 3), "one"}));
    EXPECT_EQ(list.head().text, "") << "the dummy head holds no entry";
}

TEST(StringList, SortedVariantKeepsOrderWithoutDuplicates) {
    StringList list;
    EXPECT_EQ(list.insertSorted("P"), 1);
    EXPECT_EQ(list.insertSorted("B"), 1);
    EXPECT_EQ(list.insertSorted("TABLE"), 1);
    EXPECT_EQ(list.insertSorted("B"), 0);
    EXPECT_EQ(list.insertSorted("BODY"), 1);
    EXPECT_EQ(contents(list), (std::vector<std::string>{"B", "BODY", "P", "TABLE"}));
    EXPECT_TRUE(list.containsSorted("P"));
    EXPECT_FALSE(list.containsSorted("C"));
    EXPECT_FALSE(list.containsSorted("Z"));
}

TEST(StringList, LongListIsReleasedWithoutDeepRecursion) {
    StringList list;
    for (int i = 0; i < 100000; ++i) ASSERT_EQ(funciLLInsertAfter(list.head(), "x"), 1);
    EXPECT_EQ(list.first()->text, "x");
}

TEST(TagFile, EntriesInReverseFileOrderWithQuotesRemoved) {
    TempDir dir;
    auto result = readTagFile(dir,
                              "FORM\tI\r\n\r\n\n"
                              "IMG\tSD\t\" ALT=\"\r\n"
                              "\"AREA\"\t\x93SI\x94\t\x93 alt=\x94\tx\r\n"
                              "FORM\t\"D\"");
    ASSERT_EQ(result.code, 0);
    EXPECT_EQ(result.log, "");
    EXPECT_EQ(contents(result.tags->names),
              (std::vector<std::string>{"FORM", "AREA", "IMG", "FORM"}));
    EXPECT_EQ(contents(result.tags->classes), (std::vector<std::string>{"D", "SI", "SD", "I"}));
    EXPECT_EQ(contents(result.tags->attributes),
              (std::vector<std::string>{"", " alt=\x94\tx", " ALT=", ""}))
        << "everything after the second tab is the attribute, its leading quote removed";
}

TEST(TagFile, EmptyPathAndEmptyFile) {
    TempDir dir;
    tessel::platform::OutputStream log;
    ASSERT_TRUE(log.open(dir.file("log.txt"), tessel::platform::StreamMode::Binary));
    std::unique_ptr<UserTagList> tags;
    EXPECT_EQ(funcReadHTMLTagFile("", log, tags), 0);
    EXPECT_EQ(tags, nullptr) << "no file, no lists";
    log.close();
    EXPECT_EQ(readFile(dir.file("log.txt")), "") << "the log is not touched";

    auto empty = readTagFile(dir, "\r\n\n\r\n");
    EXPECT_EQ(empty.code, 0);
    ASSERT_NE(empty.tags, nullptr);
    EXPECT_TRUE(empty.tags->names.empty());
}

TEST(TagFile, FirstBadLineEndsTheReading) {
    TempDir dir;
    auto noTab = readTagFile(dir, "TABLE E\r\nP\tI\r\n");
    EXPECT_EQ(noTab.code, -2206);
    EXPECT_EQ(noTab.log, "No tab character found on this line in the tag file:\nTABLE E\n\n");

    auto letters = readTagFile(dir, "X\tEX\t\" ALT=\"\r\n");
    EXPECT_EQ(letters.code, -2206);
    EXPECT_EQ(letters.log,
              "Something is wrong. There should be 1 or 2 characters left in the string, and they "
              "should be only S/E/I/D characters.\nText:\nEX\nLeft:\nEX\n");

    auto quotedLetters = readTagFile(dir, "X\t\"SEI\"\tv\r\n");
    EXPECT_EQ(quotedLetters.code, -2206);
    EXPECT_NE(quotedLetters.log.find("Text:\n\"SEI\"\nLeft:\nSEI\n"), std::string::npos);

    auto twoFields = readTagFile(dir, "P\tI\r\nX\tS\r\nB\tE\r\n");
    EXPECT_EQ(twoFields.code, -2206);
    EXPECT_EQ(twoFields.log,
              "Tag not internal, external, or DO_NOT_TRANSLATE in tag file on this line:\nS\n");
    EXPECT_EQ(contents(twoFields.tags->names), (std::vector<std::string>{"X", "P"}))
        << "lines after the bad one are not read";

    auto lowerCase = readTagFile(dir, "P\ti\r\n");
    EXPECT_EQ(lowerCase.code, -2206);
}

TEST(TagFile, ThreeFieldClassThatPassesTheReader) {
    TempDir dir;
    // S alone or SS pass the reader; the markup reports them when a tag fits.
    auto result = readTagFile(dir, "X\tS\t\" ALT=\"\r\nY\tSS\t\r\n");
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(contents(result.tags->classes), (std::vector<std::string>{"SS", "S"}));
}

TEST(TagFile, LongLineIsReadAsSeveralLines) {
    TempDir dir;
    // 4095 bytes without a tab, then the rest of the line as a line of its own.
    auto result = readTagFile(dir, std::string(4095, 'N') + "\tE\r\n");
    EXPECT_EQ(result.code, -2206);
    EXPECT_NE(result.log.find("No tab character found"), std::string::npos);
}

TEST(TagFile, MissingFile) {
    TempDir dir;
    tessel::platform::OutputStream log;
    ASSERT_TRUE(log.open(dir.file("log.txt"), tessel::platform::StreamMode::Binary));
    std::unique_ptr<UserTagList> tags;
    EXPECT_EQ(funcReadHTMLTagFile(dir.file("nothing.txt"), log, tags), -101);
    log.close();
    EXPECT_EQ(readFile(dir.file("log.txt")), "Reading tag file: " + dir.file("nothing.txt") + "\n");
}

}  // namespace
