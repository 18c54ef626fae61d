// The round trip: its rules one by one, the comparison on bytes, and every
// example and corpus file of the formats that mark up with the exact list of
// its differences.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/translation_checks.h"
#include "verify_test_support.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using verify::RoundTripRule;
using Lines = std::vector<std::string>;

std::string applied(RoundTripRule rule, std::string text, bool atEnd = false) {
    verify::applyRule(rule, text, atEnd);
    return text;
}

TEST(RoundTripRules, EachRuleTakesAwayItsOwnDifference) {
    EXPECT_EQ(applied(RoundTripRule::LineEnds, "a\r\nb\rc\n"), "a\nb\nc\n");
    EXPECT_EQ(applied(RoundTripRule::FinalLineEnd, "a\n\n", true), "a");
    EXPECT_EQ(applied(RoundTripRule::FinalLineEnd, "a\n", false), "a\n");
    EXPECT_EQ(applied(RoundTripRule::TrailingBlanks, "a \t\nb  ", true), "a\nb");
    EXPECT_EQ(applied(RoundTripRule::HtmlEntities, "&eacute;&#233;\xE9&quot;"), "\xE9\xE9\xE9\"");
    EXPECT_EQ(applied(RoundTripRule::JoinedLines, "a  \n  b\nc"), "a b c");
    EXPECT_EQ(applied(RoundTripRule::LineBreakBeforeTag, "x \n<p> y <b>"), "x<p> y<b>");
    // Only breaks inside a tag; an escaped "\<" opens none.
    EXPECT_EQ(applied(RoundTripRule::JoinedTagLines, "<f\"A\"\n s9>a\nb \\<c\nd"),
              "<f\"A\" s9>a\nb \\<c\nd");
    EXPECT_EQ(applied(RoundTripRule::MacintoshLiterals, "a<\\#176>b<\\#1234>"),
              "a\xB0"
              "b<\\#1234>");
    EXPECT_EQ(applied(RoundTripRule::DroppedStyleReset, "text<$>more<$>"), "textmore");
}

TEST(RoundTripCompare, NamesEachDifferenceWithItsPositionAndRule) {
    using verify::compareRoundTrip;
    const RoundTripRule html[] = {RoundTripRule::LineEnds, RoundTripRule::TrailingBlanks,
                                  RoundTripRule::HtmlEntities, RoundTripRule::JoinedLines};
    EXPECT_TRUE(compareRoundTrip("same\n", "same\n", html).empty());

    // Pieces close together are one difference, explained by all the
    // rules it takes.
    auto differences = compareRoundTrip("one &eacute; x\ntwo &eacute;\nthree is here  \nfour",
                                        "one \xE9 x\r\ntwo \xE9 three is here\r\nfour", html);
    ASSERT_EQ(differences.size(), 4u);
    EXPECT_EQ(differences[0].rules, std::vector{RoundTripRule::LineEnds});
    EXPECT_EQ(differences[0].count, 3u);
    EXPECT_EQ(differences[0].column, 15u);
    EXPECT_EQ(differences[1].line, 1u);
    EXPECT_EQ(differences[1].column, 5u);
    EXPECT_EQ(differences[1].rules, std::vector{RoundTripRule::HtmlEntities});
    EXPECT_EQ(differences[2].line, 2u);
    EXPECT_EQ(differences[2].column, 5u);
    EXPECT_EQ(differences[2].rules,
              (std::vector{RoundTripRule::HtmlEntities, RoundTripRule::JoinedLines}));
    EXPECT_EQ(differences[3].line, 3u);
    EXPECT_EQ(differences[3].column, 14u);
    EXPECT_EQ(differences[3].rules, std::vector{RoundTripRule::TrailingBlanks});

    // A changed word is no rule's doing.
    auto changed = compareRoundTrip("a cat\n", "a dog\n", html);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_TRUE(changed[0].rules.empty());
    EXPECT_EQ(changed[0].source, "cat");
    EXPECT_EQ(changed[0].output, "dog");
}

// Lines of a round trip with "DIR/" taken out.
Lines roundTripLines(const std::vector<std::string>& files, const fs::path& dir) {
    app::RoundTripReport report = app::roundTripFiles(files, nullptr);
    std::string prefix = dir.string() + "/";
    for (std::string& line : report.lines) {
        if (line.starts_with(prefix)) line.erase(0, prefix.size());
    }
    return report.lines;
}

TEST(RoundTripFiles, EveryExampleWithItsDifferences) {
    std::vector<std::string> files;
    for (const char* name : {"html/product_page.htm", "html/server_page.asp",
                             "pagemaker/macintosh_sample.txt", "pagemaker/windows_sample.txt"}) {
        files.push_back((kExamples / name).string());
    }
    const std::string joined = ": joined-lines: \"\\n\" became \" \" (output ";
    const std::string blank = "): a line break inside running text becomes a blank";
    const std::string tagLines = ": joined-tag-lines: \"\\n\" became \"\" (output ";
    const std::string oneLine = "): a tag wrapped over lines is written on one line";
    Lines expected = {
        "html/product_page.htm:21:66" + joined + "21:66" + blank,
        "html/product_page.htm:23:45" + joined + "22:45" + blank,
        "html/product_page.htm:24:22" + joined + "22:67" + blank,
        "html/product_page.htm:31:36" + joined + "28:36" + blank,
        "html/product_page.htm:34:8" + joined + "30:8" + blank,
        "html/server_page.asp:10:63" + joined + "10:63" + blank,
        "pagemaker/macintosh_sample.txt:3:23: macintosh-literal: \"\\xB0\" became \"<\\#176>\" "
        "(output 3:23): a Macintosh character without a Windows counterpart is written as its "
        "literal character tag",
        "pagemaker/macintosh_sample.txt:4:32" + tagLines + "4:32" + oneLine,
        "pagemaker/windows_sample.txt:1:45: line-ends: \"\\n\" became \"\\r\\n\" at 8 line ends: "
        "line ends are written as CR LF",
        "pagemaker/windows_sample.txt:5:26" + tagLines + "5:26" + oneLine,
        "roundtrip: 4 files, 0 identical, 10 differences (joined-lines 6, joined-tag-lines 2, "
        "line-ends 1, macintosh-literal 1)",
    };
    EXPECT_EQ(roundTripLines(files, kExamples), expected);
}

TEST(RoundTripFiles, FilesThatComeBackAsTheyWereAndFilesOfNoFormat) {
    TempDir dir;
    std::string same = dir.write("same.htm", "<P>One line.\r\n");
    std::string none = dir.write("notes.rtf", "{\\rtf1 x}");
    EXPECT_EQ(roundTripLines({same, none}, dir.path()),
              (Lines{"same.htm: identical after the round trip (html)",
                     "notes.rtf: no format that marks up is known for it",
                     "roundtrip: 2 files, 1 identical, 1 failed"}));
}

// Every corpus file of the formats that mark up: the position and rules of
// each difference (tests/verify/data/corpus_roundtrip.txt), none unexplained.
TEST(RoundTripFiles, EveryCorpusFileWithItsDifferences) {
    if (!fs::exists(kCorpus)) GTEST_SKIP() << "no corpus at " << kCorpus;
    std::vector<std::string> files;
    for (const char* folder : {"html", "pagemaker"}) {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(kCorpus / folder))
            names.push_back(entry.path());
        std::sort(names.begin(), names.end());
        for (const fs::path& name : names) files.push_back(name.string());
    }
    app::RoundTripReport report = app::roundTripFiles(files, nullptr);
    Lines found;
    std::string prefix = kCorpus.string() + "/";
    for (const verify::RoundTripResult& result : report.results) {
        EXPECT_FALSE(result.failed) << result.file;
        for (const verify::Difference& d : result.differences) {
            std::string rules;
            for (RoundTripRule rule : d.rules) {
                rules += (rules.empty() ? "" : "+") + std::string(verify::describe(rule).name);
            }
            found.push_back(d.file.substr(prefix.size()) + ":" + std::to_string(d.line) + ":" +
                            std::to_string(d.column) + ": " +
                            (rules.empty() ? "unexplained" : rules));
        }
    }
    Lines expected;
    std::ifstream in(fs::path(TESSEL_SOURCE_DIR) / "tests/verify/data/corpus_roundtrip.txt");
    for (std::string line; std::getline(in, line);) expected.push_back(line);
    EXPECT_EQ(found, expected);
    EXPECT_EQ(report.totals.unexplained, 0u);
}

}  // namespace
}  // namespace tessel::test
