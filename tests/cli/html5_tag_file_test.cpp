// The HTML tag file of the HTML5 elements that the tool reads when the user
// names no tag file: a page written today marks up without a kept log, and
// "--tag-file none" gives the built-in table alone, as before.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kShippedTagFile = fs::path(TESSEL_TOOL_PATH).parent_path() / "html5-tags.txt";
const fs::path kCorpus = TESSEL_CORPUS_DIR;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Every element that HTML5 added, in the places a page puts them.
const std::string kModernPage =
    "<!DOCTYPE html>\r\n<html><head><title>Now</title></head><body>\r\n"
    "<header><nav><a href=\"/\">Home</a></nav></header>\r\n"
    "<main><article><section><h1>News</h1>\r\n"
    "<p>On <time datetime=\"2026-12-10\">10 December</time> a <mark>new</mark> "
    "<data value=\"7\">seven</data>, <bdi>name</bdi>, <ruby>kan<rp>(</rp><rt>k</rt><rp>)</rp>"
    "</ruby>, <output>3</output> <meter value=\"1\">full</meter> "
    "<progress value=\"1\">done</progress> a<wbr>b <slot>x</slot>"
    "<math><mi>x</mi><mo>=</mo><mn>2</mn></math>.</p>\r\n"
    "<figure><picture><source srcset=\"a.webp\"><img src=\"a.png\" alt=\"A\"></picture>"
    "<figcaption>A picture</figcaption></figure>\r\n"
    "<video controls><track kind=\"captions\" src=\"c.vtt\"></video><audio src=\"a.ogg\"></audio>"
    "<canvas></canvas><svg viewBox=\"0 0 1 1\"><path d=\"M0 0\"/><text>Label</text></svg>\r\n"
    "<details><summary>More</summary>Hidden text</details>\r\n"
    "<dialog>Asked</dialog><template><p>Later</p></template><search>Find</search>\r\n"
    "</section></article><aside>Aside</aside></main>\r\n"
    "<footer>Footer</footer></body></html>\r\n";

class Html5TagFile : public ::testing::Test {
  protected:
    ScratchFolder folder;
};

TEST_F(Html5TagFile, AModernPageMarksUpWithoutAKeptLog) {
    ASSERT_TRUE(fs::is_regular_file(kShippedTagFile)) << kShippedTagFile;
    std::string page = folder.path("now.html");
    writeFile(page, kModernPage);
    ToolRun run = runTool({"markup", "html", page});
    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
#ifdef _WIN32
    // The tool names the file by its own folder, which the build's path may
    // spell otherwise there (a Wine drive letter).
    EXPECT_TRUE(contains(run.out, "html5-tags.txt\n")) << run.out;
#else
    EXPECT_TRUE(contains(run.out, "Using Tag Definition File: " + kShippedTagFile.string()))
        << run.out;
#endif
    EXPECT_FALSE(exists(folder.path("now.ERR")));
    // Block elements are external runs, phrase elements internal ones.
    std::string rtf = readFile(folder.path("now.rtf"));
    const std::string external = "{\\cs5\\cf15\\f1\\lang1024 ";
    const std::string internal = "{\\cs6\\cf6\\f1\\lang1024 ";
    for (const char* tag : {"<section>", "<nav>", "<figcaption>", "<details>", "</footer>"}) {
        EXPECT_TRUE(contains(rtf, external + tag + "}")) << tag;
    }
    for (const char* tag : {"<mark>", "</time>", "<bdi>", "<rt>", "<mi>"}) {
        EXPECT_TRUE(contains(rtf, internal + tag + "}")) << tag;
    }

    // The built-in table alone logs every one of them, as it always did.
    fs::remove(folder.path("now.rtf"));
    ToolRun builtIn = runTool({"markup", "html", "--tag-file", "none", page});
    EXPECT_EQ(builtIn.exitStatus, 3) << builtIn.out << builtIn.err;
    EXPECT_TRUE(contains(builtIn.out, "No Tag Definition File Used.\n")) << builtIn.out;
    std::string log = readFile(folder.path("now.ERR"));
    // One message for each of the nine lines that holds an unknown tag.
    EXPECT_EQ(count(log, "Unknown HTML tag"), 9u) << log;
    // A user's own tag file still stands alone in front of the built-in table.
    fs::remove(folder.path("now.rtf"));
    fs::remove(folder.path("now.ERR"));
    std::string own = folder.path("own.txt");
    writeFile(own, "SECTION\tI\r\n");
    ToolRun user = runTool({"markup", "html", "--tag-file", own, page});
    EXPECT_EQ(user.exitStatus, 3);
    EXPECT_TRUE(contains(readFile(folder.path("now.rtf")), internal + "<section>}"));
}

// The shipped file only adds: no name of the built-in table is classified
// again, and every line is NAME, a tab and one class letter.
TEST_F(Html5TagFile, TheShippedFileAddsNamesTheBuiltInTableLacks) {
    const std::set<std::string> builtIn = {"A",   "B",     "BODY",   "BR",     "DIV",   "SPAN",
                                           "P",   "IMG",   "FORM",   "INPUT",  "TITLE", "MENU",
                                           "WBR", "EMBED", "OBJECT", "IFRAME", "H",     "S"};
    std::ifstream in(kShippedTagFile);
    std::set<std::string> names;
    int lines = 0;
    for (std::string line; std::getline(in, line); ++lines) {
        std::size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        std::string name = line.substr(0, tab);
        std::string tagClass = line.substr(tab + 1);
        EXPECT_TRUE(tagClass == "E" || tagClass == "I") << line;
        EXPECT_EQ(builtIn.count(name), 0u) << name;
        EXPECT_TRUE(names.insert(name).second) << "twice: " << name;
    }
    EXPECT_GE(lines, 40);
    for (const char* name : {"SECTION", "NAV", "HEADER", "FOOTER", "ASIDE", "MAIN", "ARTICLE",
                             "FIGURE", "TIME", "MARK"}) {
        EXPECT_EQ(names.count(name), 1u) << name;
    }
}

// A W3C page of the corpus logged 27 unknown tags with the built-in table.
TEST_F(Html5TagFile, AW3cPageOfTheCorpus) {
    fs::path source = kCorpus / "encodings/html/w3c-i18n-de-utf8.html";
    if (!fs::exists(source)) GTEST_SKIP() << "no corpus page at " << source;
    std::string page = folder.path("de.html");
    writeFile(page, readFile(source.string()));
    ToolRun run = runTool({"markup", "html", page});
    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    EXPECT_FALSE(exists(folder.path("de.ERR")));
    fs::remove(folder.path("de.rtf"));
    ToolRun builtIn = runTool({"markup", "html", "--tag-file", "none", page});
    EXPECT_EQ(builtIn.exitStatus, 3);
    EXPECT_EQ(count(readFile(folder.path("de.ERR")), "Unknown HTML tag"), 27u);
}

}  // namespace
}  // namespace tessel::cli::testing
