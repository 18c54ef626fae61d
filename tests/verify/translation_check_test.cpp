// The translation check on pairs made from the examples and the corpus:
// untouched and editor-saved pairs have no findings, and each kind of
// finding comes from one edit, as its exact line.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "editor_edits.h"
#include "platform/code_page_codec.h"
#include "platform/utf8.h"
#include "tessel_cat.h"
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

// Code points as "U+0141".
std::string codePoints(const std::set<char32_t>& characters) {
    std::string text;
    for (char32_t c : characters) {
        char number[16];
        std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(c));
        text += (text.empty() ? "" : " ") + std::string(number);
    }
    return text;
}

// The characters of the typed words (tests/frame/data/client/NAME.typed.txt)
// that Windows 1252 lacks.
std::set<char32_t> typedOutside1252(const fs::path& typed) {
    std::set<char32_t> outside;
    std::ifstream in(typed);
    for (std::string line; std::getline(in, line);) {
        std::string word = line.substr(line.find('\t') + 1);
        for (std::size_t at = 0; at < word.size();) {
            char32_t c = platform::nextUtf8(word, at);
            std::string ignored;
            if (!platform::CodePageCodec::windows1252().encode(c, ignored)) outside.insert(c);
        }
    }
    return outside;
}

// The characters message -1502 of a back-conversion's log names ("Not
// written as themselves: U+0141, U+0444").
std::set<char32_t> namedInLog(const std::string& log) {
    std::set<char32_t> named;
    static const std::regex number("U\\+([0-9A-F]{4,6})");
    for (auto it = std::sregex_iterator(log.begin(), log.end(), number);
         it != std::sregex_iterator(); ++it) {
        named.insert(static_cast<char32_t>(std::stoul((*it)[1], nullptr, 16)));
    }
    return named;
}

// The client fixtures: our examples of every format re-saved in LibreOffice
// (clean), and edited there through UNO with words that keep the text's own
// style (clean too). Only targets without every character find unheld
// characters: exactly the typed ones outside Windows 1252, which the
// back-conversion's log names as well.
TEST(VerifyFixtures, ClientFixturesAgainstTheirOriginals) {
    struct Fixture {
        const char* name;
        const char* example;
        const char* format;
        const char* target;
        int(TESSEL_CALL* back)(const char*, const char*);
        bool holdsAll;
    };
    const Fixture fixtures[] = {
        {"html_product_page", "html/product_page.htm", "html", "html", f_iRTF2HTML, true},
        {"html_server_page", "html/server_page.asp", "html", "html", f_iRTF2HTML, true},
        {"pagemaker_macintosh_sample", "pagemaker/macintosh_sample.txt", "pagemaker", "pagemaker",
         f_iRTF2PageMaker, false},
        {"pagemaker_windows_sample", "pagemaker/windows_sample.txt", "pagemaker", "pagemaker",
         f_iRTF2PageMaker, false},
        {"quark_macintosh_sample", "quark/macintosh_sample.xtg", "quark", "quark", f_iRTF2XPress,
         false},
        {"quark_windows_sample", "quark/windows_sample.xtg", "quark", "quark", f_iRTF2XPress,
         false},
        {"ventura4_ventura4_sample", "ventura/ventura4_sample.txt", "ventura4", "ventura4",
         f_iVentura4RTF2Text, false},
        {"ventura_ventura5_sample", "ventura/ventura5_sample.txt", "ventura", "ventura",
         f_iRTF2Text, false},
        {"sgml_guide", "sgml/guide.sgml", "sgml", "sgml", f_iRTF2SGML, true},
    };
    fs::path client = kFrameData / "client";
    std::string sgmlTags = (kExamples / "sgml/tags.txt").string();
    for (const Fixture& fixture : fixtures) {
        SCOPED_TRACE(fixture.name);
        TempDir dir;
        std::string original = markUpAs(dir, kExamples / fixture.example, fixture.format, "o.txt",
                                        fixture.format == std::string("sgml") ? sgmlTags : "");
        ASSERT_FALSE(original.empty());
        std::string resaved = (client / (std::string(fixture.name) + ".resaved.rtf")).string();
        std::string edited = (client / (std::string(fixture.name) + ".edited.rtf")).string();
        verify::VerifyOptions options;
        options.target = verify::parseTarget(fixture.target);
        ASSERT_TRUE(options.target.has_value());
        app::VerifyReport clean = app::verifyTranslations({{original, resaved}}, options);
        EXPECT_TRUE(clean.findings.empty()) << clean.lines.front();

        app::VerifyReport report = app::verifyTranslations({{original, edited}}, options);
        std::set<char32_t> unheld;
        for (const verify::Finding& finding : report.findings) {
            EXPECT_EQ(finding.kind, verify::FindingKind::UnheldCharacter)
                << app::findingLine(finding);
            for (const verify::UnheldCharacter& c : finding.characters) {
                std::size_t at = 0;
                unheld.insert(platform::nextUtf8(c.character, at));
            }
        }
        std::set<char32_t> expected =
            fixture.holdsAll
                ? std::set<char32_t>{}
                : typedOutside1252(client / (std::string(fixture.name) + ".typed.txt"));
        EXPECT_EQ(codePoints(unheld), codePoints(expected));
        EXPECT_EQ(expected.empty(), fixture.holdsAll);

        // The back-conversion logs the same characters as -1502.
        std::string rtf = dir.write("edited.rtf", readFile(edited));
        int result = fixture.back(rtf.c_str(), ".out");
        std::string log =
            fs::exists(dir.file("edited.ERR")) ? readFile(dir.file("edited.ERR")) : "";
        EXPECT_EQ(result, expected.empty() ? result : -113) << log;
        EXPECT_EQ(codePoints(namedInLog(log)), codePoints(expected)) << log;
        // One message -1502 for each paragraph that verify finds them in.
        std::size_t messages = 0;
        const std::string kCannotHold =
            "] Character(s) that the code page of the output file "
            "cannot hold were found in the following text segment:";
        for (std::size_t at = log.find(kCannotHold); at != std::string::npos;
             at = log.find(kCannotHold, at + 1)) {
            ++messages;
        }
        EXPECT_EQ(messages, report.findings.size()) << log;
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
