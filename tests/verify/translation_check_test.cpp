// The translation check on pairs made from the examples and the corpus:
// untouched and editor-saved pairs have no findings, and each kind of
// finding comes from one edit, as its exact line.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "editor_edits.h"
#include "verify_test_support.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

struct Example {
    const char* path;
    bool pageMaker;
    std::size_t paragraphs;
    const char* target;
};

const Example kExampleFiles[] = {
    {"html/product_page.htm", false, 37, "html"},
    {"html/server_page.asp", false, 13, "html"},
    {"pagemaker/windows_sample.txt", true, 7, "pagemaker"},
    {"pagemaker/macintosh_sample.txt", true, 5, "pagemaker"},
};

std::string clean(std::size_t paragraphs, const std::string& target) {
    return "verify: no findings in 1 translation (" + std::to_string(paragraphs) +
           " paragraphs checked, back-conversion " + target + ")";
}

TEST(VerifyExamples, UntouchedAndEditorSavedPairsHaveNoFindings) {
    for (const Example& example : kExampleFiles) {
        TempDir dir;
        std::string original = markUp(dir, kExamples / example.path, example.pageMaker, "o.txt");
        ASSERT_FALSE(original.empty()) << example.path;
        std::string rtf = readFile(original);
        Lines expected{clean(example.paragraphs, example.target)};
        EXPECT_EQ(verifyLines(dir, original, original), expected) << example.path;
        std::string saved = dir.write("saved.rtf", asEditorSaves(rtf));
        EXPECT_EQ(verifyLines(dir, original, saved), expected) << example.path;
        // Adjacent tags of one style merged into one run.
        std::string merged = dir.write("merged.rtf", mergeRuns(renumberStyles(rtf)));
        EXPECT_EQ(verifyLines(dir, original, merged), expected) << example.path;
        // And the other way round: the editor's file as the original.
        EXPECT_EQ(verifyLines(dir, saved, original), expected) << example.path;
    }
}

TEST(VerifyCorpus, EditorSavedCorpusFilesHaveNoFindings) {
    if (!fs::exists(kCorpus)) GTEST_SKIP() << "no corpus at " << kCorpus;
    int checked = 0;
    for (const char* folder : {"html", "pagemaker"}) {
        for (const auto& entry : fs::directory_iterator(kCorpus / folder)) {
            TempDir dir;
            std::string original =
                markUp(dir, entry.path(), std::string(folder) == "pagemaker", "o.txt");
            ASSERT_FALSE(original.empty()) << entry.path();
            std::string saved = dir.write("saved.rtf", asEditorSaves(readFile(original)));
            app::VerifyReport report = app::verifyTranslations({{original, saved}}, {});
            EXPECT_EQ(report.findings.size(), 0u) << entry.path() << "\n" << report.lines.front();
            EXPECT_GT(report.totals.paragraphs, 0u);
            ++checked;
        }
    }
    EXPECT_GE(checked, 8);
}

TEST(VerifyFixtures, LibreOfficeSavedFixturesAreClean) {
    const std::map<std::string, std::string> targets = {{"html", "html"},
                                                        {"special_characters", "html"},
                                                        {"pagemaker", "pagemaker"},
                                                        {"pagemaker_mac", "pagemaker"},
                                                        {"ventura", "ventura"}};
    for (const auto& [name, target] : targets) {
        TempDir dir;
        std::string ours = (kFrameData / "ours" / (name + ".rtf")).string();
        std::string saved = (kFrameData / "libreoffice" / (name + ".rtf")).string();
        app::VerifyReport report = app::verifyTranslations({{ours, saved}}, {});
        EXPECT_EQ(report.findings.size(), 0u) << name << ": " << report.lines.front();
        EXPECT_EQ(report.totals.target, target) << name;
    }
}

// The client fixtures: our examples re-saved in LibreOffice (clean), and
// edited there through UNO. The edit replaced words by setting the text of
// whole portions, which put the typed words (and the text around them) into
// the neighbouring tag runs' styles: the check sees protected runs that the
// source does not have. PageMaker's Windows 1252 cannot hold the Polish,
// Russian, Greek and Japanese words.
TEST(VerifyFixtures, ClientFixturesAgainstTheirOriginals) {
    struct Fixture {
        const char* name;
        const char* example;
        bool pageMaker;
        std::map<std::string, std::size_t> editedKinds;
    };
    const Fixture fixtures[] = {
        {"html_01", "html/product_page.htm", false, {{"added-run", 21}}},
        {"html_02", "html/server_page.asp", false, {{"added-run", 8}}},
        {"pagemaker_09",
         "pagemaker/macintosh_sample.txt",
         true,
         {{"added-run", 7}, {"unheld-character", 3}}},
        {"pagemaker_10",
         "pagemaker/windows_sample.txt",
         true,
         {{"added-run", 14}, {"unheld-character", 5}}},
    };
    fs::path client = kFrameData / "client";
    for (const Fixture& fixture : fixtures) {
        TempDir dir;
        std::string original = markUp(dir, kExamples / fixture.example, fixture.pageMaker, "o.txt");
        std::string resaved = (client / (std::string(fixture.name) + ".resaved.rtf")).string();
        std::string edited = (client / (std::string(fixture.name) + ".edited.rtf")).string();
        EXPECT_TRUE(app::verifyTranslations({{original, resaved}}, {}).findings.empty())
            << fixture.name;
        app::VerifyReport report = app::verifyTranslations({{original, edited}}, {});
        EXPECT_EQ(report.totals.byKind, fixture.editedKinds) << fixture.name;
    }
}

struct Replacement {
    std::string from;
    std::string to;
};

struct Edit {
    const char* name;
    const char* example;
    bool pageMaker;
    std::vector<Replacement> replacements;
    verify::VerifyOptions options;
    Lines expected;
};

std::string internal(std::string_view tag) {
    return "{\\cs6\\cf6\\f1\\lang1024 " + std::string(tag) + "}";
}
std::string external(std::string_view tag) {
    return "{\\cs5\\cf15\\f1\\lang1024 " + std::string(tag) + "}";
}

const std::string kWeAreOpen = "We are open " + internal("<B>") + "every day" + internal("</B>");
const std::string kPricesInclude = "Prices include VAT " + internal("&amp;");

verify::VerifyOptions strict() {
    verify::VerifyOptions options;
    options.strict = true;
    return options;
}

verify::VerifyOptions target(const char* name) {
    verify::VerifyOptions options;
    options.target = verify::parseTarget(name);
    return options;
}

const char* const kProductPage = "html/product_page.htm";
const char* const kWindowsSample = "pagemaker/windows_sample.txt";
const std::string kPolishWord = "Tessel \\u321?\\u243\\'f3d\\u378?";

std::vector<Edit> edits() {
    std::vector<Edit> all;
    auto add = [&](const char* name, const char* example, std::vector<Replacement> replacements,
                   verify::VerifyOptions options, Lines expected) {
        bool pageMaker = std::string_view(example).starts_with("pagemaker");
        all.push_back({name, example, pageMaker, std::move(replacements), std::move(options),
                       std::move(expected)});
    };
    const std::string form = external("<FORM ACTION=\"/cgi-bin/newsletter\">");
    const std::string input = external("<INPUT TYPE=\"text\" NAME=\"mail\" SIZE=30>");
    const std::string movedAmp =
        "We are open " + internal("&amp;") + " " + internal("<B>") + "every day" + internal("</B>");
    const std::string hours = "Opening hours" + external("</H1>");
    add("missing", kProductPage, {{internal("</B>"), ""}}, {},
        {"t.rtf:21: missing-run: internal run \"</B>\" of source paragraph 21 is missing, in "
         "\"<P>We are open <B>every day from 8\xC2\xA0"
         "a.m. \xE2\x80\xA6\""});
    add("added", kProductPage, {{"every day", internal("<I>") + "every day"}}, {},
        {"t.rtf:21: added-run: internal run \"<I>\" at column 19 is not in the source, in \"<P>We "
         "are open <B><I>every day</B> from \xE2\x80\xA6\""});
    add("changed", kProductPage, {{"booking.htm", "buchung.htm"}}, {},
        {"t.rtf:22: changed-run: internal run \"<A HREF=\"booking.htm\" TITLE=\"\" reads \"<A "
         "HREF=\"buchung.htm\" TITLE=\"\" at column 46, in \"<P>For groups of more than 10 people, "
         "pl\xE2\x80\xA6\""});
    add("moved external", kProductPage,
        {{form + " Your e-mail address: " + input, input + " Your e-mail address: " + form}}, {},
        {"t.rtf:28: moved-run: external run \"<FORM ACTION=\"/cgi-bin/newsletter\">\" at column 62 "
         "is out of its source order, in \"<INPUT TYPE=\"text\" NAME=\"mail\" SIZE=30> "
         "\xE2\x80\xA6\""});
    add("moved internal", kProductPage,
        {{kPricesInclude, "Prices include VAT and"}, {kWeAreOpen, movedAmp}}, {}, {});
    add("moved internal, strict", kProductPage,
        {{kPricesInclude, "Prices include VAT and"}, {kWeAreOpen, movedAmp}}, strict(),
        {"t.rtf:21: moved-run: internal run \"&amp;\" at column 16 is out of its source order, in "
         "\"<P>We are open &amp; <B>every day</B> fr\xE2\x80\xA6\""});
    add("lost style", kProductPage, {{internal("<B>"), "<B>"}}, {},
        {"t.rtf:21: unprotected-tag: \"<B>\" at column 16 stands outside any "
         "protected style (internal in the source), in \"<P>We are open "
         "<B>every day</B> from 8\xC2\xA0"
         "a\xE2\x80\xA6\""});
    add("typed tag", kProductPage, {{hours, "Opening <BR>hours" + external("</H1>")}}, {},
        {"t.rtf:20: unprotected-tag: \"<BR>\" at column 13 stands "
         "outside any protected style, in \"<H1>Opening "
         "<BR>hours</H1>\""});
    add("unbalanced", kProductPage,
        {{kWeAreOpen, "We are open " + internal("</B>") + "every day" + internal("<B>")}}, {},
        {"t.rtf:21: unbalanced-pair: \"<B>\" and \"</B>\" at column 16 no "
         "longer pair up as in source paragraph 21, in \"<P>We are open "
         "</B>every day<B> from 8\xC2\xA0"
         "a\xE2\x80\xA6\""});
    add("markup characters", kProductPage, {{hours, "Opening < hours & more" + external("</H1>")}},
        {},
        {"t.rtf:20: markup-character: \"<\" at column 13 is "
         "written back as it is, as markup, in \"<H1>Opening < "
         "hours & more</H1>\"",
         "t.rtf:20: markup-character: \"&\" at column 21 is "
         "written back as it is, as markup, in \"<H1>Opening < "
         "hours & more</H1>\""});
    add("unheld", kWindowsSample, {{"Tessel sample", kPolishWord}}, {},
        {"t.rtf:3: unheld-character: U+0141 \"\xC5\x81\" (column 19), U+017A \"\xC5\xBA\" (column "
         "22) cannot be held by the pagemaker back-conversion, which writes \"<\\#321>\", "
         "\"<\\#378>\", in \"<@Heading:>Tessel \xC5\x81\xC3\xB3"
         "d\xC5\xBA\""});
    add("unheld as plain text", kWindowsSample, {{"Tessel sample", kPolishWord}}, target("text"),
        {"t.rtf:3: unheld-character: U+0141 \"\xC5\x81\" (column "
         "19), U+017A \"\xC5\xBA\" (column 22) cannot be held by "
         "the text back-conversion, which writes \"?\", \"?\", in "
         "\"<@Heading:>Tessel \xC5\x81\xC3\xB3"
         "d\xC5\xBA\""});
    add("held as references", kWindowsSample, {{"Tessel sample", kPolishWord}}, target("html"), {});
    add("paragraph added", kProductPage,
        {{external("</H1>") + "\\par \r\n",
          external("</H1>") + "\\par \r\nA new paragraph\\par \r\n"}},
        {},
        {"t.rtf:21: paragraph-added: a paragraph the source does not have, in \"A new "
         "paragraph\""});
    add("paragraph removed", kProductPage,
        {{external("<TABLE BORDER=1 CELLPADDING=4>") + "\\par \r\n", ""}}, {},
        {"t.rtf:23: paragraph-removed: source paragraph 23 is missing here, source \"<TABLE "
         "BORDER=1 CELLPADDING=4>\""});
    return all;
}

TEST(VerifyFindings, EachEditGivesItsFindingLine) {
    for (const Edit& edit : edits()) {
        TempDir dir;
        std::string original = markUp(dir, kExamples / edit.example, edit.pageMaker, "o.txt");
        std::string edited = readFile(original);
        for (const Replacement& r : edit.replacements) edited = replaceOnce(edited, r.from, r.to);
        std::string translated = dir.write("t.rtf", asEditorSaves(edited));
        EXPECT_EQ(findingLines(dir, original, translated, edit.options), edit.expected)
            << edit.name;
    }
}

TEST(VerifyFindings, UnreadableFilesAreFindingsOfTheirOwn) {
    TempDir dir;
    std::string original = markUp(dir, kExamples / "html/server_page.asp", false, "o.txt");
    std::string rtf = readFile(original);
    std::string cut = dir.write("t.rtf", rtf.substr(0, rtf.rfind('}')));
    EXPECT_EQ(findingLines(dir, original, cut), Lines{"t.rtf:14: unreadable: Corrupt RTF file! "
                                                      "Missing closing brace. (stopped "
                                                      "before paragraph 14)"});
    std::string text = dir.write("t.rtf", "plain text");
    EXPECT_EQ(findingLines(dir, original, text), Lines{"t.rtf:0: unreadable: File Error! This is "
                                                       "not an RTF file."});
}

}  // namespace
}  // namespace tessel::test
