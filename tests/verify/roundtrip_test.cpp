// The round trip: its rules one by one, the comparison on bytes, and every
// example and corpus file of the formats that mark up with the exact list of
// its differences.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/translation_checks.h"
#include "platform/utf16.h"
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
    EXPECT_EQ(applied(RoundTripRule::EmptyLines, "a\n\n\nb\n\n", true), "a\nb");
    EXPECT_EQ(applied(RoundTripRule::EmptyLines, "a\n\nb\n", false), "a\nb\n");
}

// "<$>" goes only after exactly 254 characters since the line's start or
// its last tag, as the QuarkXPress mark-up counts them.
TEST(RoundTripRules, StyleResetCountsTheTextSinceTheLastTag) {
    auto line = [](const std::string& before, std::size_t length) {
        return "x\n" + before + std::string(length, 'a') + "<$>b\n";
    };
    auto dropped = [](const std::string& text) {
        return applied(RoundTripRule::DroppedStyleReset, text).find("<$>") == std::string::npos;
    };
    EXPECT_TRUE(dropped(line("", 254)));
    EXPECT_FALSE(dropped(line("", 253)));
    EXPECT_FALSE(dropped(line("", 255)));
    // A style sheet application, a paragraph tag and a character tag start
    // the count again; a literal character tag counts as one character.
    EXPECT_TRUE(dropped(line("@Normal:", 254)));
    EXPECT_TRUE(dropped(line("@Head=[S\"\",\"Head\"]", 254)));
    EXPECT_TRUE(dropped(line("aaaa<*C><B>", 254)));
    EXPECT_TRUE(dropped(line("<A\"x\"<B>y>", 254)));
    EXPECT_TRUE(dropped(line("<\\#183><\\@>", 252)));
    EXPECT_TRUE(dropped(line("<\\>>", 253)));
    EXPECT_FALSE(dropped(line("<\\#183>", 254)));
    // Without the line's start in sight, fewer may be all that is seen.
    EXPECT_TRUE(applied(RoundTripRule::DroppedStyleReset, "aaa<$>b") == "aaab");
    EXPECT_FALSE(dropped(std::string(300, 'a') + "<$>"));
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

    // A recurring line matched with the wrong copy: the joined lines are
    // still seen together, not as an inserted and a deleted stretch.
    const RoundTripRule sgml[] = {RoundTripRule::LineEnds, RoundTripRule::JoinedLines};
    auto realigned = compareRoundTrip("<p>\nFirst words\n<p>\n<p>\nLast words\n",
                                      "<p> First words\n<p>\n<p> Last words\n", sgml);
    ASSERT_EQ(realigned.size(), 2u);
    for (const auto& d : realigned) {
        EXPECT_EQ(d.rules, std::vector{RoundTripRule::JoinedLines}) << d.line << ":" << d.column;
    }
    EXPECT_EQ(realigned[0].line, 1u);
    EXPECT_EQ(realigned[1].line, 4u);

    // A changed word is no rule's doing.
    auto changed = compareRoundTrip("a cat\n", "a dog\n", html);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_TRUE(changed[0].rules.empty());
    EXPECT_EQ(changed[0].source, "cat");
    EXPECT_EQ(changed[0].output, "dog");
}

// Lines of a round trip with "DIR/" taken out.
Lines roundTripLines(const std::vector<std::string>& files, const fs::path& dir,
                     const verify::RoundTripOptions& options = {}) {
    app::RoundTripReport report = app::roundTripFiles(files, options);
    for (std::string& line : report.lines) dropFolderPrefix(line, dir);
    return report.lines;
}

TEST(RoundTripFiles, EveryExampleWithItsDifferences) {
    std::vector<std::string> files;
    for (const char* name :
         {"html/product_page.htm", "html/server_page.asp", "pagemaker/macintosh_sample.txt",
          "pagemaker/windows_sample.txt", "quark/macintosh_sample.xtg", "quark/windows_sample.xtg",
          "ventura/ventura5_sample.txt", "sgml/guide.sgml"}) {
        files.push_back((kExamples / name).string());
    }
    const std::string joined = ": joined-lines: \"\\n\" became \" \" (output ";
    const std::string blank = "): a line break inside running text becomes a blank";
    const std::string tagLines = ": joined-tag-lines: \"\\n\" became \"\" (output ";
    const std::string oneLine = "): a tag wrapped over lines is written on one line";
    const std::string emptyLine = ": empty-lines: \"\\n\" became \"\" (output ";
    const std::string leftOut =
        "): empty lines are left out (the back-conversion writes no empty paragraph)";
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
        "quark/macintosh_sample.xtg:4:18: macintosh-literal: \"\\xB0\" became \"<\\#176>\" "
        "(output 4:18): a Macintosh character without a Windows counterpart is written as its "
        "literal character tag",
        "quark/windows_sample.xtg:8:263: dropped-style-reset: \"<$>\" became \"\" (output 8:263): "
        "\"<$>\" after exactly 254 characters of text is dropped",
        "quark/windows_sample.xtg:12:39: final-line-end: \"\" became \"\\n\" (output 12:39): the "
        "line end at the end of the file differs",
        "ventura/ventura5_sample.txt:2:1" + emptyLine + "2:1" + leftOut,
        "ventura/ventura5_sample.txt:5:1" + emptyLine + "4:1" + leftOut,
        "ventura/ventura5_sample.txt:8:1" + emptyLine + "6:1" + leftOut,
        "ventura/ventura5_sample.txt:10:1" + emptyLine + "7:1" + leftOut,
        "ventura/ventura5_sample.txt:20:1" + emptyLine + "16:1" + leftOut,
        "sgml/guide.sgml:8:7" + joined + "8:7" + blank,
        "sgml/guide.sgml:9:54" + joined + "8:61" + blank,
        "sgml/guide.sgml:10:61" + joined + "8:122" + blank,
        "roundtrip: 8 files, 0 identical, 21 differences (dropped-style-reset 1, empty-lines 5, "
        "final-line-end 1, joined-lines 9, joined-tag-lines 2, line-ends 1, macintosh-literal 2)",
    };
    EXPECT_EQ(roundTripLines(files, kExamples), expected);

    // Version 4 by --format: its paragraphs' lines are joined, empty lines
    // stay.
    verify::RoundTripOptions ventura4{verify::findRoundTripFormat("ventura4"), {}};
    ASSERT_NE(ventura4.format, nullptr);
    EXPECT_EQ(
        roundTripLines({(kExamples / "ventura/ventura4_sample.txt").string()}, kExamples, ventura4),
        (Lines{
            "ventura/ventura4_sample.txt:3:65" + joined + "3:65" + blank,
            "ventura/ventura4_sample.txt:4:64" + joined + "3:129" + blank,
            "ventura/ventura4_sample.txt:7:76" + joined + "5:76" + blank,
            "ventura/ventura4_sample.txt:8:65" + joined + "5:141" + blank,
            "ventura/ventura4_sample.txt:9:77" + joined + "5:218" + blank,
            "ventura/ventura4_sample.txt:10:69" + joined + "5:287" + blank,
            "ventura/ventura4_sample.txt:29:41" + joined + "23:41" + blank,
            "roundtrip: 1 file, 0 identical, 7 differences (joined-lines 7)",
        }));
}

// SGML takes the user's tag file, or collects one from the file itself;
// the user's file is read only.
TEST(RoundTripFiles, SgmlWithTheUsersTagFileOrACollectedOne) {
    TempDir dir;
    std::string tagText = "<chapter>\r\n<para>\r\n";
    std::string tags = dir.write("tags.txt", tagText);
    // "<b>" is internal with the user's file: the line is joined to the one
    // before it; collected, every tag is external and starts a paragraph.
    std::string sgml =
        dir.write("doc.sgml", "<chapter>\r\n<para>Some text\r\n<b>bold</b>\r\n</para>\r\n");
    verify::RoundTripOptions withTags{nullptr, tags};
    EXPECT_EQ(roundTripLines({sgml}, dir.path(), withTags),
              (Lines{"doc.sgml:2:16: joined-lines: \"\\n\" became \" \" (output 2:16): a line "
                     "break inside running text becomes a blank",
                     "roundtrip: 1 file, 0 identical, 1 difference (joined-lines 1)"}));
    EXPECT_EQ(readFile(tags), tagText);
    EXPECT_EQ(roundTripLines({sgml}, dir.path()),
              (Lines{"doc.sgml: identical after the round trip (sgml)",
                     "roundtrip: 1 file, 1 identical"}));
    EXPECT_FALSE(fs::exists(dir.file("doc.rtf")));

    // Characters from 0x80 up come back as named entities.
    std::string accented = dir.write("cafe.sgm", "<doc>Caf\xE9\r\n</doc>\r\n");
    EXPECT_EQ(roundTripLines({accented}, dir.path()),
              (Lines{"cafe.sgm:1:9: entities: \"\\xE9\" became \"&eacute;\" (output 1:9): "
                     "characters are written as named entities and entities of plain characters "
                     "as the characters",
                     "roundtrip: 1 file, 0 identical, 1 difference (entities 1)"}));

    // A file without tags is marked up with an empty list: all its text is
    // text.
    std::string untagged = dir.write("plain.sgml", "No tags at all.\r\n");
    EXPECT_EQ(roundTripLines({untagged}, dir.path()),
              (Lines{"plain.sgml: identical after the round trip (sgml)",
                     "roundtrip: 1 file, 1 identical"}));
}

// HTML takes the user's tag file when one is given: the page's unknown tag
// is then no message in the mark-up's log, and FORM, do not translate there,
// no longer starts a paragraph, so its lines are joined to those around.
TEST(RoundTripFiles, HtmlWithTheUsersTagFile) {
    const verify::RoundTripFormat* html = verify::findRoundTripFormat("html");
    ASSERT_NE(html, nullptr);
    std::string page = (kExamples / "html/product_page.htm").string();
    std::string tags = (kExamples / "html/tags.txt").string();
    verify::RoundTripResult without = verify::roundTrip(page, *html);
    verify::RoundTripResult with = verify::roundTrip(page, *html, tags);
    EXPECT_EQ(without.markUpResult, -113);
    EXPECT_GT(with.markUpResult, 0);
    EXPECT_FALSE(with.failed);
    std::vector<std::pair<std::size_t, std::size_t>> positions;
    for (const verify::Difference& d : with.differences) {
        EXPECT_EQ(d.rules, std::vector{RoundTripRule::JoinedLines});
        positions.emplace_back(d.line, d.column);
    }
    EXPECT_EQ(positions, (std::vector<std::pair<std::size_t, std::size_t>>{
                             {21, 66}, {23, 45}, {24, 22}, {30, 9}, {31, 36}, {33, 40}, {34, 8}}));
}

// The header or the extension tells the format; Ventura 4 only by name.
TEST(RoundTripFiles, FormatsByHeaderOrExtension) {
    TempDir dir;
    auto formatOf = [&](const std::string& name, const std::string& text) {
        const verify::RoundTripFormat* format = verify::formatOfFile(dir.write(name, text));
        return format == nullptr ? std::string("none") : std::string(format->name);
    };
    EXPECT_EQ(formatOf("a.txt", "<v1.70><e1>\r\n@Normal:x\r\n"), "quark");
    EXPECT_EQ(formatOf("b.txt", "#index\r\n<v4.00><e0>\r\n"), "quark");
    EXPECT_EQ(formatOf("c.xtg", "@Normal:x\r\n"), "quark");
    EXPECT_EQ(formatOf("d.txt", "<v1.x><e1>\r\n"), "none");
    EXPECT_EQ(formatOf("e.txt", "@BODY TEXT = Text\r\n"), "ventura");
    EXPECT_EQ(formatOf("f.txt", "@Normal:<B> = <B$>\r\n"), "none");
    EXPECT_EQ(formatOf("g.sgm", "<doc>\n"), "sgml");
    EXPECT_EQ(formatOf("h.txt", "Plain text.\n"), "none");
    EXPECT_EQ(formatOf("i", "Plain text.\n"), "none");
    EXPECT_EQ(formatOf("j.pm6", "<@Normal:>x\n"), "pagemaker");
}

// A file that does not mark up says why, with the first message of the
// converter's log, and the round trip goes on with the next file.
TEST(RoundTripFiles, AParseErrorIsReportedWithTheLogsMessage) {
    TempDir dir;
    // No encoding of the format has the digit 5.
    std::string broken = dir.write("new.xtg", "<v11.10><e5>\r\n@Normal:Text\r\n");
    std::string fine = dir.write("old.xtg", "<v1.70><e1>\r\n@Normal:Text\r\n");
    EXPECT_EQ(roundTripLines({broken, fine}, dir.path()),
              (Lines{"new.xtg: the round trip failed in the mark-up (quark, code -1); the log "
                     "says: Parse Error: SSLex0105e: Invalid token, Line 1, Offset 9, <e5",
                     "old.xtg: identical after the round trip (quark)",
                     "roundtrip: 2 files, 1 identical, 1 failed"}));
}

// QuarkXPress text in UTF-16 comes back in UTF-16 byte for byte; a file
// without its last line end is compared in UTF-8 (in which a UTF-16 byte
// would be no line end), and the rule that explains it names its line.
TEST(RoundTripFiles, Utf16TextIsComparedInItsCharacters) {
    const verify::RoundTripFormat* quark = verify::findRoundTripFormat("quark");
    ASSERT_NE(quark, nullptr);
    TempDir dir;
    const std::string text = "<v8.00><e8>\r\n@Normal:Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\r\n";
    std::string whole = dir.write("whole.xtg", "\xFF\xFE" + platform::utf16OfUtf8(text, false));
    std::string cut = dir.write(
        "cut.xtg", "\xFE\xFF" + platform::utf16OfUtf8(text.substr(0, text.size() - 2), true));
    verify::RoundTripResult same = verify::roundTrip(whole, *quark);
    EXPECT_FALSE(same.failed) << same.failureMessage;
    EXPECT_TRUE(same.identical);
    verify::RoundTripResult differs = verify::roundTrip(cut, *quark);
    EXPECT_FALSE(differs.failed) << differs.failureMessage;
    ASSERT_EQ(differs.differences.size(), 1u);
    EXPECT_EQ(differs.differences[0].line, 2u);
    EXPECT_EQ(differs.differences[0].rules, std::vector{RoundTripRule::FinalLineEnd});
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
// each difference, or the step and code of a round trip that failed with
// the message code of its log (tests/verify/data/corpus_roundtrip.txt; no
// corpus text), none unexplained.
TEST(RoundTripFiles, EveryCorpusFileWithItsDifferences) {
    if (!fs::exists(kCorpus)) GTEST_SKIP() << "no corpus at " << kCorpus;
    std::vector<std::string> files;
    for (const char* folder : {"html", "pagemaker", "quark", "sgml"}) {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(kCorpus / folder))
            names.push_back(entry.path());
        std::sort(names.begin(), names.end());
        for (const fs::path& name : names) files.push_back(name.string());
    }
    app::RoundTripReport report = app::roundTripFiles(files, {});
    Lines found;
    for (const verify::RoundTripResult& result : report.results) {
        // "html/a.htm" whichever separator the folder listing joined with.
        std::string file = result.file;
        dropFolderPrefix(file, kCorpus);
        std::replace(file.begin(), file.end(), '\\', '/');
        if (result.failed) {
            // "Parse Error: SSLex0105e: Invalid token, ..." to its code.
            const std::string& message = result.failureMessage;
            std::size_t code = message.find("SSLex");
            found.push_back(file + ": failed in the mark-up " +
                            std::to_string(result.markUpResult) + ": " +
                            (code == std::string::npos ? "" : message.substr(code, 10)));
            continue;
        }
        for (const verify::Difference& d : result.differences) {
            std::string rules;
            for (RoundTripRule rule : d.rules) {
                rules += (rules.empty() ? "" : "+") + std::string(verify::describe(rule).name);
            }
            found.push_back(file + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) +
                            ": " + (rules.empty() ? "unexplained" : rules));
        }
    }
    const fs::path expectedFile =
        fs::path(TESSEL_SOURCE_DIR) / "tests/verify/data/corpus_roundtrip.txt";
    // TESSEL_UPDATE_EXPECTED=1 writes what was found as the new expectation,
    // to be read in the diff before it is committed.
    if (std::getenv("TESSEL_UPDATE_EXPECTED") != nullptr) {
        std::ofstream out(expectedFile, std::ios::binary);
        for (const std::string& line : found) out << line << '\n';
    }
    Lines expected;
    std::ifstream in(expectedFile);
    for (std::string line; std::getline(in, line);) expected.push_back(line);
    EXPECT_EQ(found, expected);
    EXPECT_EQ(report.totals.unexplained, 0u);
}

}  // namespace
}  // namespace tessel::test
