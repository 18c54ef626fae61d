// The tessel tool's HTML mark-up: report texts, the tag definition file
// option and its usage errors, on real files through the library.
#include <gtest/gtest.h>

#include <filesystem>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

namespace fs = std::filesystem;

// The tag file of the HTML5 elements, which the build puts beside the tool.
const std::string kShippedTagFile =
    (fs::path(TESSEL_TOOL_PATH).parent_path() / "html5-tags.txt").string();

// The report names the shipped tag file. The tool names it by its own
// folder, which on Windows the build's path may spell otherwise (a Wine
// drive letter), so there only the file's name is compared.
bool namesShippedTagFile(const std::string& out) {
#ifdef _WIN32
    return contains(out, "Marking up HTML tags...\n\nUsing Tag Definition File: ") &&
           contains(out, "html5-tags.txt\n");
#else
    return contains(
        out, "Marking up HTML tags...\n\nUsing Tag Definition File: " + kShippedTagFile + "\n");
#endif
}

class MarkupHtml : public ::testing::Test {
  protected:
    ScratchFolder folder;
};

TEST_F(MarkupHtml, ReportsTheTagFileAndTheChanges) {
    std::string page = folder.path("page.htm");
    std::string tags = folder.path("tags.txt");
    writeFile(page, "<P>Hello <FORM>world</FORM>\r\n");
    writeFile(tags, "FORM\tD\r\n");
    ToolRun run = runTool({"markup", "html", "--tag-file", tags, page});

    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find("Summary of Markup")),
              "Marking up HTML tags...\n\n"
              "Using Tag Definition File: " +
                  tags +
                  "\n"
                  "Converting " +
                  page +
                  "...\n"
                  "3 change(s) made.\n\n"
                  "1 File(s) Processed.\n\n");
    std::string rtf = readFile(folder.path("page.rtf"));
    EXPECT_TRUE(contains(rtf, "{\\cs8\\cf13\\f1\\lang1024 <FORM>}world")) << rtf;
}

TEST_F(MarkupHtml, WithoutTagFileAndWithNothingToMarkUp) {
    std::string page = folder.path("plain.html");
    writeFile(page, "just text\r\n");
    ToolRun run = runTool({"markup", "html", page});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    // Without a tag file of the user's the shipped one is read.
    EXPECT_TRUE(namesShippedTagFile(run.out)) << run.out;
    EXPECT_TRUE(contains(run.out, "No changes made!\n\n")) << run.out;

    ToolRun again = runTool({"markup", "html", page});
    EXPECT_EQ(again.exitStatus, 1);
    EXPECT_TRUE(contains(again.out, "File Error! RTF Output file already exists.\n\n"))
        << again.out;
}

TEST_F(MarkupHtml, ProblemsKeepTheLogAndEndWithStatusThree) {
    std::string page = folder.path("odd.htm");
    writeFile(page, "<ABBR>x</ABBR>\r\n");
    ToolRun run = runTool({"markup", "html", page});
    EXPECT_EQ(run.exitStatus, 3) << "the output is written, the log kept";
    EXPECT_TRUE(exists(folder.path("odd.rtf")));
    EXPECT_TRUE(contains(run.out, "Errors Reported in the Error Log File!")) << run.out;
    EXPECT_TRUE(exists(folder.path("odd.ERR")));
}

TEST_F(MarkupHtml, UsageErrors) {
    std::string page = folder.path("p.htm");
    writeFile(page, "<P>\r\n");
    const std::vector<std::vector<std::string>> wrong = {
        {"markup", "html", "--tag-file"},
        {"markup", "html", "--tag-file=", page},
        {"markup", "html", "--tag-file", folder.path("missing.txt"), page},
        {"markup", "html", "--ext", ".txt", page},
        {"text", "line-breaks", "--tag-file", page, page},
        {"markup", "sgml", page},
    };
    for (const auto& args : wrong) {
        ToolRun run = runTool(args);
        EXPECT_EQ(run.exitStatus, 2) << args[2];
        EXPECT_TRUE(contains(run.err, "tessel: ")) << run.err;
    }
    EXPECT_FALSE(exists(folder.path("p.rtf")));
    ToolRun help = runTool({"markup", "html", "--help"});
    EXPECT_TRUE(contains(help.out, "--tag-file FILE")) << help.out;
}

TEST_F(MarkupHtml, EncodingOptionAndTheReportOfHowTheSourceWasRead) {
    std::string page = folder.path("cz.htm");
    writeFile(page,
              "<P>\xB3\xF3"
              "d\xBF\r\n");  // Polish in windows-1250, declared nowhere
    ToolRun run = runTool({"markup", "html", "--encoding", "windows-1250", page});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "...\nRead as code page 1250 (the encoding chosen)\n1 change"))
        << run.out;
    EXPECT_TRUE(contains(readFile(folder.path("cz.rtf")),
                         "\\u322?\xF3"
                         "d\\u380?"));

    // A source read as Windows 1252 gets no such line.
    std::string west = folder.path("west.htm");
    writeFile(west, "<P>caf\xE9\r\n");
    ToolRun plain = runTool({"markup", "html", west});
    EXPECT_FALSE(contains(plain.out, "Read as")) << plain.out;

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"markup", "html", "--encoding", "klingon", page},
          std::vector<std::string>{"markup", "html", "--encoding=", page},
          std::vector<std::string>{"back", "html", "--encoding", "utf-8", page}}) {
        ToolRun refused = runTool(wrong);
        EXPECT_EQ(refused.exitStatus, 2) << wrong[3];
        EXPECT_TRUE(contains(refused.err, "encoding")) << refused.err;
    }
    ToolRun help = runTool({"markup", "sgml", "--help"});
    EXPECT_TRUE(contains(help.out, "--encoding NAME")) << help.out;
}

}  // namespace
}  // namespace tessel::cli::testing
