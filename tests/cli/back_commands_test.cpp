// "tessel back FORMAT FILE...": RTF back to tagged text through the tool.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A small RTF document as our mark-up writes it (header shortened to the
// tables the reader skips, and the two tag styles the tests use, which the
// back-conversion's tag checks find by name).
std::string taggedRtf(const std::string& body) {
    return "{\\rtf1 \\ansi\\deff3 \n{\\fonttbl \n{\\f1 \\fmodern Courier New;}}\n"
           "{\\stylesheet \n{\\cs5 \\additive \\cf15\\f1\\lang1024 qz4lexExternal;}\n"
           "{\\cs6 \\additive \\cf6\\f1\\lang1024 qz4lexInternal;}}\n" +
           body + "}";
}

TEST(BackCommands, HelpListsEveryFormat) {
    ToolRun run = runTool({"back", "--help"});
    EXPECT_EQ(run.exitStatus, 0);
    for (const char* name :
         {"html ", "html-compatible", "pagemaker", "quark", "sgml", "text ", "ventura4"}) {
        EXPECT_TRUE(contains(run.out, name)) << name << "\n" << run.out;
    }
    ToolRun quark = runTool({"back", "quark", "--help"});
    EXPECT_TRUE(contains(quark.out, "next to each file as NAME.xtg")) << quark.out;
    EXPECT_EQ(runTool({"back", "html", "--ext", ".x", "a.rtf"}).exitStatus, 2)
        << "the output extension belongs to the format";
}

TEST(BackCommands, HtmlFileConvertedOK) {
    ScratchFolder folder;
    std::string file = folder.path("page.rtf");
    writeFile(file, taggedRtf("{\\cs6\\cf6\\f1\\lang1024 <p>}Caf\xE9{\\cs6\\cf6\\f1\\lang1024 "
                              "</p>}\\par \n"));
    ToolRun run = runTool({"back", "html", file});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(readFile(folder.path("page.htm")), "<p>Caf&eacute;</p>\r\n");
    EXPECT_EQ(run.out.substr(0, run.out.find("Summary of Markup")),
              "Converting RTF to HTML...\n\nConverting " + file +
                  "...\nFile converted OK.\n\n1 File(s) Processed.\n\n");
}

// Multilingual HTML takes its code page from the command line (the desktop
// program asks for it); without one the command line is wrong, where it
// once ended silently with status 0.
TEST(BackCommands, MultilingualHtmlInTheCodePageGiven) {
    ScratchFolder folder;
    std::string file = folder.path("page.rtf");
    // U+0416 (Cyrillic Zhe), 0xC6 in code page 1251.
    writeFile(file, taggedRtf("{\\cs6\\cf6\\f1\\lang1024 <p>}\\u1046?{\\cs6\\cf6\\f1\\lang1024 "
                              "</p>}\\par \n"));
    ToolRun missing = runTool({"back", "html-multilingual", file});
    EXPECT_EQ(missing.exitStatus, 2) << missing.err;
    EXPECT_TRUE(contains(missing.err, "--codepage CP or --choose is required")) << missing.err;
    EXPECT_EQ(runTool({"back", "html", "--charset", "windows-1251", file}).exitStatus, 2);
    EXPECT_EQ(runTool({"back", "html", "--choose", file}).exitStatus, 2);
    EXPECT_EQ(runTool({"back", "html-multilingual", "--codepage", "x", file}).exitStatus, 2);
    EXPECT_EQ(
        runTool({"back", "html-multilingual", "--codepage", "1251", "--choose", file}).exitStatus,
        2);
    EXPECT_FALSE(exists(folder.path("page.htm")));

    // Without a terminal to ask on, the language dialog is cancelled: no
    // file is converted and the run fails.
    ToolRun cancelled = runTool({"back", "html-multilingual", "--choose", file});
    EXPECT_EQ(cancelled.exitStatus, 1) << cancelled.err;
    EXPECT_TRUE(contains(cancelled.err, "no language chosen")) << cancelled.err;
    EXPECT_FALSE(exists(folder.path("page.htm")));

    ToolRun run = runTool(
        {"back", "html-multilingual", "--codepage", "1251", "--charset", "windows-1251", file});
    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    std::string html = readFile(folder.path("page.htm"));
    EXPECT_TRUE(contains(html, "<p>\xC6</p>")) << html;
    EXPECT_TRUE(contains(html, "CHARSET=windows-1251\"")) << html;
}

// --choose asks in the language dialog on the terminal: the numbered list,
// then the character set (Enter keeps the code page's own name).
TEST(BackCommands, MultilingualHtmlInTheLanguageChosenAtTheTerminal) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a pseudo-terminal, which Windows consoles do not offer to tests";
#else
    ScratchFolder folder;
    std::string file = folder.path("page.rtf");
    writeFile(file, taggedRtf("{\\cs6\\cf6\\f1\\lang1024 <p>}\\u1046?{\\cs6\\cf6\\f1\\lang1024 "
                              "</p>}\\par \n"));
    ToolRun cancelled = runToolAtTerminal({"back", "html-multilingual", "--choose", file}, "0\n");
    EXPECT_EQ(cancelled.exitStatus, 1) << cancelled.err;
    EXPECT_TRUE(contains(cancelled.err, "no language chosen")) << cancelled.err;
    EXPECT_FALSE(exists(folder.path("page.htm")));

    // The list's line of a language with code page 1251: "  N  NAME  1251  CHARSET".
    std::istringstream list(cancelled.err);
    std::string line, number, charset;
    while (number.empty() && std::getline(list, line)) {
        std::istringstream fields(line.substr(1));
        std::vector<std::string> words;
        for (std::string word; fields >> word;) words.push_back(word);
        if (words.size() >= 4 && words[words.size() - 2] == "1251") {
            number = words.front();
            charset = words.back();
        }
    }
    ASSERT_FALSE(number.empty()) << "no language with code page 1251 listed:\n" << cancelled.err;

    ToolRun run =
        runToolAtTerminal({"back", "html-multilingual", "--choose", file}, number + "\n\n");
    EXPECT_EQ(run.exitStatus, 0) << run.err << run.out;
    std::string html = readFile(folder.path("page.htm"));
    EXPECT_TRUE(contains(html, "<p>\xC6</p>")) << html;
    EXPECT_TRUE(contains(html, "CHARSET=" + charset + "\"")) << html;
#endif
}

// HTML and SGML that declare no encoding are written in the code page given
// with --codepage; without it as before (Windows 1252 with references). A
// document's own declaration wins over it, and the report says so.
TEST(BackCommands, HtmlAndSgmlInTheCodePageGivenWhereTheDocumentDeclaresNone) {
    ScratchFolder folder;
    // U+0416 (Cyrillic Zhe): 0xC6 in code page 1251, D0 96 in UTF-8.
    const std::string body =
        "{\\cs6\\cf6\\f1\\lang1024 <p>}\\u1046?{\\cs6\\cf6\\f1\\lang1024 </p>}\\par \n";
    std::string plain = folder.path("plain.rtf");
    writeFile(plain, taggedRtf(body));
    ToolRun before = runTool({"back", "html", plain});
    EXPECT_EQ(before.exitStatus, 0) << before.err;
    EXPECT_EQ(readFile(folder.path("plain.htm")), "<p>&#1046;</p>\r\n");
    std::filesystem::remove(folder.path("plain.htm"));
    ToolRun cyrillic = runTool({"back", "html", "--codepage", "1251", plain});
    EXPECT_EQ(cyrillic.exitStatus, 0) << cyrillic.err;
    EXPECT_EQ(readFile(folder.path("plain.htm")), "<p>\xC6</p>\r\n");
    EXPECT_FALSE(contains(cyrillic.out, "Written as")) << cyrillic.out;
    ToolRun sgml = runTool({"back", "sgml", "--codepage", "1251", plain});
    EXPECT_EQ(sgml.exitStatus, 0) << sgml.err;
    EXPECT_EQ(readFile(folder.path("plain.sgm")), "<p>\xC6</p>\r\n");
    EXPECT_EQ(runTool({"back", "html-compatible", "--codepage", "1234", plain}).exitStatus, 2);
    EXPECT_EQ(runTool({"back", "sgml", "--choose", plain}).exitStatus, 2);

    std::string declared = folder.path("declared.rtf");
    writeFile(declared,
              taggedRtf("{\\cs5\\cf15\\f1\\lang1024 <meta charset=\"utf-8\">}\\par \n" + body));
    ToolRun utf8 = runTool({"back", "html", "--codepage", "1251", declared});
    EXPECT_EQ(utf8.exitStatus, 0) << utf8.err;
    EXPECT_EQ(readFile(folder.path("declared.htm")),
              "<meta charset=\"utf-8\">\r\n<p>\xD0\x96</p>\r\n");
    EXPECT_TRUE(contains(utf8.out, "Converting " + declared +
                                       "...\nWritten as UTF-8 (declared in the document; the "
                                       "code page chosen, 1251, is not used)\nFile converted OK."))
        << utf8.out;
}

TEST(BackCommands, EveryFormatWritesItsExtension) {
    ScratchFolder folder;
    const std::vector<std::pair<std::string, std::string>> formats = {{"html-compatible", "htm"},
                                                                      {"pagemaker", "txt"},
                                                                      {"quark", "xtg"},
                                                                      {"sgml", "sgm"},
                                                                      {"text", "txt"},
                                                                      {"ventura4", "txt"}};
    for (const auto& [format, extension] : formats) {
        std::string file = folder.path(format + ".rtf");
        writeFile(file, taggedRtf("line\\par \n"));
        ToolRun run = runTool({"back", format, file});
        EXPECT_EQ(run.exitStatus, 0) << format << ": " << run.err;
        EXPECT_EQ(readFile(folder.path(format + "." + extension)), "line\r\n") << format;
    }
}

// A Polish translation into a PageMaker file written in the code page given
// with --codepage: the letters are 1250 bytes. Without it they are literal
// character tags of a 1252 file and the log is kept; a code page the
// back-conversions do not write is refused before any file is touched.
TEST(BackCommands, EightBitFormatsInTheCodePageGiven) {
    ScratchFolder folder;
    std::string file = folder.path("pl.rtf");
    writeFile(file, taggedRtf("{\\cs5\\cf15\\f1\\lang1024 <PMTags1.0 win>}\\par "
                              "Za\\u380?\\'f3\\u322?\\u263? g\\u281?\\u347?l\\u261?\\par \n"));
    ToolRun unknown = runTool({"back", "pagemaker", "--codepage", "1234", file});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_TRUE(contains(unknown.err, "--codepage 1234 is not a code page this conversion writes"))
        << unknown.err;
    EXPECT_EQ(runTool({"back", "quark", "--choose", file}).exitStatus, 2);

    ToolRun polish = runTool({"back", "pagemaker", "--codepage", "1250", file});
    EXPECT_EQ(polish.exitStatus, 0) << polish.err;
    EXPECT_EQ(readFile(folder.path("pl.txt")),
              "<PMTags1.0 win>\r\nZa\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9\r\n");

    std::filesystem::remove(folder.path("pl.txt"));
    ToolRun text = runTool({"back", "text", "--codepage=1250", file});
    EXPECT_EQ(text.exitStatus, 0) << text.err;
    EXPECT_EQ(readFile(folder.path("pl.txt")),
              "<PMTags1.0 win>\r\nZa\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9\r\n");

    std::filesystem::remove(folder.path("pl.txt"));
    ToolRun western = runTool({"back", "pagemaker", file});
    EXPECT_NE(western.exitStatus, 0);
    EXPECT_EQ(readFile(folder.path("pl.txt")),
              "<PMTags1.0 win>\r\nZa<\\#380>\xF3<\\#322><\\#263> g<\\#281><\\#347>l<\\#261>\r\n");

    ToolRun help = runTool({"back", "ventura4", "--help"});
    EXPECT_TRUE(contains(help.out, "--codepage CP")) << help.out;
}

// A text format whose document declares UTF-8 (a byte-order mark, a
// QuarkXPress header declaring Unicode) is written in UTF-8 whatever code
// page is chosen, and the report says so; a header that declares nothing
// takes the choice without a report line.
TEST(BackCommands, EightBitFormatsSayWhenTheDocumentsDeclarationWins) {
    ScratchFolder folder;
    auto external = [](const std::string& tag) {
        return "{\\cs5\\cf15\\f1\\lang1024 " + tag + "}";
    };
    const std::string letters = "\\par Za\\u380?\\'f3\\par \n";
    const std::string report =
        "Written as UTF-8 (declared in the document; the code page chosen, 1250, is not used)\n";
    struct Case {
        std::string format, headerRuns, extension, headerBytes;
    };
    // The mark-up writes a byte-order mark as a run of its own, touching the
    // header's run; the tag checks take the two for a header.
    const std::vector<Case> cases = {
        {"pagemaker", external("\\u-257?") + external("<PMTags1.0 win>"), "txt",
         "\xEF\xBB\xBF<PMTags1.0 win>"},
        {"text", external("\\u-257?") + "Text", "txt", "\xEF\xBB\xBFText"},
        {"quark", external("<v11.10><e9>"), "xtg", "<v11.10><e9>"},
    };
    for (const Case& c : cases) {
        std::string file = folder.path(c.format + ".rtf");
        writeFile(file, taggedRtf(c.headerRuns + letters));
        ToolRun run = runTool({"back", c.format, "--codepage", "1250", file});
        EXPECT_EQ(run.exitStatus, 0) << c.format << ": " << run.err << run.out;
        EXPECT_EQ(readFile(folder.path(c.format + "." + c.extension)),
                  c.headerBytes + "\r\nZa\xC5\xBC\xC3\xB3\r\n")
            << c.format;
        EXPECT_TRUE(contains(run.out, "...\n" + report + "File converted OK.")) << run.out;
        std::filesystem::remove(folder.path(c.format + "." + c.extension));
        ToolRun utf8 = runTool({"back", c.format, "--codepage", "65001", file});
        EXPECT_FALSE(contains(utf8.out, "Written as")) << c.format << ": " << utf8.out;
        std::filesystem::remove(folder.path(c.format + "." + c.extension));
    }
    std::string plain = folder.path("plain.rtf");
    writeFile(plain, taggedRtf(external("<v11.10><e1>") + letters));
    ToolRun chosen = runTool({"back", "quark", "--codepage", "1250", plain});
    EXPECT_EQ(chosen.exitStatus, 0) << chosen.err << chosen.out;
    EXPECT_EQ(readFile(folder.path("plain.xtg")), "<v11.10><e1>\r\nZa\xBF\xF3\r\n");
    EXPECT_FALSE(contains(chosen.out, "Written as")) << chosen.out;
}

TEST(BackCommands, CorruptRtfIsReportedWithItsText) {
    ScratchFolder folder;
    std::string broken = folder.path("broken.rtf");
    writeFile(broken, taggedRtf("text\\par \n{\\b "));
    std::string plain = folder.path("plain.rtf");
    writeFile(plain, "not rtf at all\n");
    ToolRun run = runTool({"back", "text", broken, plain});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(contains(run.out, "Corrupt RTF file! Missing closing brace.\n\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "File Error! This is not an RTF file.\n\n")) << run.out;
    EXPECT_EQ(readFile(folder.path("broken.txt")), "text\r\n") << "partial output kept";
    EXPECT_TRUE(exists(folder.path("broken.ERR")));
}

}  // namespace
}  // namespace tessel::cli::testing
