// "tessel back": the tag checks of the RTF read. The examples are marked
// up, damaged as translators damage them (by editing the RTF text), and
// converted back.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

constexpr const char* kInternal = "{\\cs6\\cf6\\f1\\lang1024 ";

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "the example no longer holds " << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string replacedAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string examplePath(const std::string& relative) {
    return std::string(TESSEL_EXAMPLES_DIR) + "/" + relative;
}

// The example marked up in `folder`; the RTF's text.
std::string markedUp(const ScratchFolder& folder, const std::string& example,
                     const std::string& family, const std::string& rtfName) {
    std::string name = std::filesystem::path(example).filename().string();
    writeFile(folder.path(name), readFile(examplePath(example)));
    // (The HTML example's mark-up logs its unknown tags: status 3.)
    ToolRun run = runTool({"markup", family, folder.path(name)});
    EXPECT_TRUE(run.exitStatus == 0 || run.exitStatus == 3) << run.err;
    return readFile(folder.path(rtfName));
}

// The report without the summary's time.
std::string withoutTime(std::string report) {
    std::size_t at = report.find("Summary of Markup\n\n");
    if (at == std::string::npos) return report;
    at += 19;
    report.erase(at, report.find('\n', at) - at);
    return report;
}

struct BackRun {
    ToolRun run;
    std::string log;  // empty when none was kept
};

BackRun back(const ScratchFolder& folder, const std::string& format, const std::string& rtf,
             const std::string& text, std::vector<std::string> options = {}) {
    std::string path = folder.path(rtf);
    writeFile(path, text);
    std::vector<std::string> args{"back", format};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(path);
    BackRun result{runTool(args), ""};
    std::string log = folder.path(std::filesystem::path(rtf).stem().string() + ".ERR");
    if (exists(log)) result.log = readFile(log);
    return result;
}

struct Damage {
    const char* name;
    const char* message;  // what the message says
    std::string (*damage)(const std::string&);
};

// Each damage of the HTML example alone is found without the original.
TEST(BackChecks, EachDamageOfHtmlTagsIsANumberedMessage) {
    ScratchFolder folder;
    const std::string rtf = markedUp(folder, "html/product_page.htm", "html", "product_page.rtf");
    const Damage damages[] = {
        {"deleted opening tag", "Tags that no longer pair up in paragraph ",
         [](const std::string& t) { return replaced(t, std::string(kInternal) + "<B>}", ""); }},
        {"altered tag", "Protected run that is no longer a tag in paragraph ",
         [](const std::string& t) {
             return replaced(t, std::string(kInternal) + "<SMALL>}",
                             std::string(kInternal) + "<SMALL}");
         }},
        {"swapped pair", "Tags that no longer pair up in paragraph ",
         [](const std::string& t) {
             std::string s = replaced(t, std::string(kInternal) + "<B>}", "@@OPEN@@");
             s = replaced(s, std::string(kInternal) + "</B>}", std::string(kInternal) + "<B>}");
             return replaced(s, "@@OPEN@@", std::string(kInternal) + "</B>}");
         }},
        {"typographic quotes", "holds typographic quotes where a tag has straight ones",
         [](const std::string& t) {
             return replaced(t, "<A HREF=\"booking.htm\"",
                             "<A HREF=\\ldblquote booking.htm\\rdblquote ");
         }},
        {"tag typed as text", "Tag text outside the protected styles in paragraph ",
         [](const std::string& t) {
             return replaced(t, std::string(kInternal) + "<PRE>}", "<PRE>");
         }},
        {"tags hidden by their style", "Hidden tags from paragraph ",
         [](const std::string& t) {
             std::string s = replaced(t, "\\additive \\cf6\\f1\\lang1024 qz4lexInternal",
                                      "\\additive \\v\\cf6\\f1\\lang1024 qz4lexInternal");
             return replacedAll(s, std::string(kInternal), "{\\cs6\\v\\cf6\\f1\\lang1024 ");
         }},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.name);
        ScratchFolder run;
        BackRun result = back(run, "html", "page.rtf", d.damage(rtf));
        EXPECT_EQ(result.run.exitStatus, 3) << result.run.out << result.run.err;
        EXPECT_TRUE(exists(run.path("page.htm")));
        EXPECT_TRUE(contains(result.log, "[1] ")) << result.log;
        EXPECT_TRUE(contains(result.log, d.message)) << result.log;
        EXPECT_TRUE(contains(result.log, " of the RTF file")) << result.log;
        EXPECT_TRUE(contains(result.log, "Function:\tConverting HTML RTF file to HTML Text file"))
            << result.log;
        EXPECT_TRUE(contains(result.log, "reported in this file.")) << result.log;
        // The message names the paragraph of the damage.
        std::size_t at = result.log.find(" paragraph ");
        ASSERT_NE(at, std::string::npos);
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(result.log[at + 11]))) << result.log;
    }
    // The hidden tags are gone from the output, which the message says.
    ScratchFolder hidden;
    BackRun result = back(hidden, "html", "page.rtf", damages[5].damage(rtf));
    EXPECT_FALSE(contains(readFile(hidden.path("page.htm")), "<B>"));
}

// A clean file: no log, status 0 and the output the conversion writes
// without the checks.
TEST(BackChecks, CleanFilesKeepTheirOutputAndNoLog) {
    struct Example {
        const char* source;
        const char* family;
        const char* rtf;
        const char* format;
        const char* output;
    };
    const Example examples[] = {
        {"html/product_page.htm", "html", "product_page.rtf", "html", "page.htm"},
        {"pagemaker/windows_sample.txt", "pagemaker", "windows_sample.RTF", "pagemaker",
         "page.txt"},
        {"quark/windows_sample.xtg", "quark", "windows_sample.RTF", "quark", "page.xtg"},
        {"ventura/ventura5_sample.txt", "ventura", "ventura5_sample.RTF", "text", "page.txt"},
        {"ventura/ventura4_sample.txt", "ventura4", "ventura4_sample.RTF", "ventura4", "page.txt"},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(e.source);
        ScratchFolder folder;
        std::string rtf = markedUp(folder, e.source, e.family, e.rtf);
        ScratchFolder run;
        BackRun without = back(run, e.format, "page.rtf", rtf, {"--no-check"});
        std::string unchecked = readFile(run.path(e.output));
        std::filesystem::remove(run.path(e.output));
        BackRun withChecks = back(run, e.format, "page.rtf", rtf);
        EXPECT_EQ(withChecks.run.exitStatus, 0) << withChecks.log;
        EXPECT_EQ(without.run.exitStatus, 0);
        EXPECT_TRUE(withChecks.log.empty()) << withChecks.log;
        EXPECT_FALSE(exists(run.path("page.ERR")));
        EXPECT_EQ(readFile(run.path(e.output)), unchecked);
        EXPECT_EQ(withoutTime(withChecks.run.out), withoutTime(without.run.out));
    }
}

// Two Ventura paragraphs joined: the second paragraph tag stands inside
// the first. A character the text back-conversion cannot hold keeps the
// conversion's own message first; the check's message follows it.
TEST(BackChecks, JoinedParagraphsAfterTheConversionsOwnMessage) {
    ScratchFolder folder;
    std::string rtf =
        markedUp(folder, "ventura/ventura5_sample.txt", "ventura", "ventura5_sample.RTF");
    std::string joined = replaced(rtf, "\\par {\\cs5\\cf15\\f1\\lang1024 @Z_TBL_CELL_END = }",
                                  "{\\cs5\\cf15\\f1\\lang1024 @Z_TBL_CELL_END = }");
    ScratchFolder run;
    BackRun alone = back(run, "text", "page.rtf", joined);
    EXPECT_EQ(alone.run.exitStatus, 3);
    EXPECT_TRUE(contains(alone.log, "[1] Paragraph tag in the middle of paragraph ")) << alone.log;
    EXPECT_TRUE(contains(alone.log, "\t1 error reported in this file.")) << alone.log;

    std::string polish = replaced(joined, "Our kitchen", "Our \\u322?kitchen");
    ScratchFolder both;
    BackRun result = back(both, "text", "page.rtf", polish);
    EXPECT_EQ(result.run.exitStatus, 3);
    std::size_t own = result.log.find("[1] ");
    std::size_t check = result.log.find("[2] Paragraph tag in the middle of paragraph ");
    EXPECT_NE(own, std::string::npos) << result.log;
    EXPECT_NE(check, std::string::npos) << result.log;
    EXPECT_LT(own, check);
    EXPECT_TRUE(contains(result.log, "\t2 errors reported in this file.")) << result.log;
    EXPECT_EQ(result.log.find("Summary"), result.log.rfind("Summary")) << "one summary";
}

// A tag pair deleted whole leaves nothing a file alone shows; the
// comparison with the original finds it, and a swapped pair is told
// against the source's order.
TEST(BackChecks, OriginalAddsTheComparison) {
    ScratchFolder folder;
    std::string rtf = markedUp(folder, "html/product_page.htm", "html", "product_page.rtf");
    std::string original = folder.path("product_page.rtf");
    std::string deleted =
        replaced(replaced(rtf, std::string(kInternal) + "<ABBR TITLE=\"Value added tax\">}", ""),
                 std::string(kInternal) + "</ABBR>}", "");
    ScratchFolder alone;
    EXPECT_EQ(back(alone, "html", "product_page.rtf", deleted).run.exitStatus, 0);

    ScratchFolder compared;
    BackRun result = back(compared, "html", "product_page.rtf", deleted, {"--original", original});
    EXPECT_EQ(result.run.exitStatus, 3) << result.run.err;
    EXPECT_TRUE(contains(result.log, "Tag of the original missing in paragraph ")) << result.log;
    EXPECT_TRUE(contains(result.log, "<ABBR TITLE=\"Value added tax\">")) << result.log;

    // Paired by name from a folder; a file without its original is told.
    ScratchFolder byFolder;
    result =
        back(byFolder, "html", "product_page.rtf", deleted, {"--original-dir", folder.path("")});
    EXPECT_EQ(result.run.exitStatus, 3);
    EXPECT_TRUE(contains(result.log, "Tag of the original missing in paragraph ")) << result.log;
    ScratchFolder unpaired;
    result = back(unpaired, "html", "other.rtf", rtf, {"--original-dir", folder.path("")});
    EXPECT_EQ(result.run.exitStatus, 3);
    EXPECT_TRUE(contains(result.log, "[1] No original to compare the RTF file with")) << result.log;

    // The untouched translation against its original: nothing.
    ScratchFolder clean;
    result = back(clean, "html", "product_page.rtf", rtf, {"--original", original});
    EXPECT_EQ(result.run.exitStatus, 0) << result.log;
    EXPECT_TRUE(result.log.empty());
}

TEST(BackChecks, OptionsOfTheChecks) {
    ScratchFolder folder;
    writeFile(folder.path("a.rtf"), "{\\rtf1 a}");
    writeFile(folder.path("b.rtf"), "{\\rtf1 b}");
    auto status = [](std::vector<std::string> args) { return runTool(args).exitStatus; };
    EXPECT_EQ(status({"back", "html", "--original", folder.path("a.rtf"), folder.path("a.rtf"),
                      folder.path("b.rtf")}),
              2)
        << "one input only";
    EXPECT_EQ(status({"back", "html", "--original", folder.path("none.rtf"), folder.path("a.rtf")}),
              2);
    EXPECT_EQ(status({"back", "html", "--original-dir", folder.path("none"), folder.path("a.rtf")}),
              2);
    EXPECT_EQ(status({"back", "html", "--no-check", "--original", folder.path("b.rtf"),
                      folder.path("a.rtf")}),
              2);
    EXPECT_EQ(status({"markup", "html", "--no-check", folder.path("a.htm")}), 2);
    ToolRun help = runTool({"back", "html", "--help"});
    EXPECT_TRUE(contains(help.out, "--original FILE")) << help.out;
    EXPECT_TRUE(contains(help.out, "--original-dir DIR")) << help.out;
    EXPECT_TRUE(contains(help.out, "--no-check")) << help.out;
}

}  // namespace
}  // namespace tessel::cli::testing
