// "-" as the only file: standard input converted to standard output, the
// report and the error log on standard error, nothing left behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The tool's temporary folder is a scratch folder of the test's own, so
// that what a run leaves in it can be seen.
class PipedJob : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        if (old != nullptr) oldTmp_ = old;
        fs::create_directories(tmp());
        ::setenv("TMPDIR", tmp().c_str(), 1);
    }
    void TearDown() override {
        if (oldTmp_) {
            ::setenv("TMPDIR", oldTmp_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }
    std::string tmp() const { return folder_.path("tmp"); }
    // No private folder of a piped run is left (the name locks of every run
    // have a folder of their own there).
    bool noPipeFolderLeft() const {
        for (const auto& entry : fs::directory_iterator(tmp())) {
            if (entry.path().filename().string().starts_with("tessel-pipe-")) return false;
        }
        return true;
    }

    ScratchFolder folder_;
    std::optional<std::string> oldTmp_;
};

TEST_F(PipedJob, StandardInputToStandardOutputAsForAFile) {
    const std::string page = "<html><body><p>Caf\xE9 <b>bold</b></p></body></html>\n";
    writeFile(folder_.path("page.htm"), page);
    ASSERT_EQ(runTool({"markup", "html", folder_.path("page.htm")}).exitStatus, 0);

    ToolRun markup =
        runToolBetween({"markup", "html", "-"}, folder_.path("page.htm"), folder_.path("out.rtf"));
    EXPECT_EQ(markup.exitStatus, 0) << markup.err;
    EXPECT_EQ(readFile(folder_.path("out.rtf")), readFile(folder_.path("page.rtf")));
    EXPECT_TRUE(contains(markup.err, "1 output file created.")) << "the report goes to stderr";

    ToolRun back =
        runToolBetween({"back", "html", "-"}, folder_.path("out.rtf"), folder_.path("back.htm"));
    EXPECT_EQ(back.exitStatus, 0) << back.err;
    EXPECT_EQ(readFile(folder_.path("back.htm")),
              "<html><body><p>Caf&eacute; <b>bold</b></p></body></html>\r\n");
    EXPECT_TRUE(noPipeFolderLeft());
}

// A job that keeps its log writes it to standard error after the report,
// and ends as it would for a file.
TEST_F(PipedJob, TheErrorLogGoesToStandardError) {
    writeFile(folder_.path("in.rtf"), "not rtf at all\n");
    ToolRun broken =
        runToolBetween({"back", "text", "-"}, folder_.path("in.rtf"), folder_.path("out.txt"));
    EXPECT_EQ(broken.exitStatus, 1) << broken.err;
    EXPECT_TRUE(contains(broken.err, "This is not an RTF file.")) << broken.err;

    writeFile(folder_.path("page.htm"), "<section><p>text</p></section>\n");
    ToolRun logged = runToolBetween({"markup", "html", "--tag-file", "none", "-"},
                                    folder_.path("page.htm"), folder_.path("page.rtf"));
    EXPECT_EQ(logged.exitStatus, 3) << logged.err;
    EXPECT_TRUE(contains(logged.err, "Error Log File")) << logged.err;
    EXPECT_TRUE(contains(logged.err, "<section>")) << logged.err;
    EXPECT_TRUE(contains(readFile(folder_.path("page.rtf")), "{\\rtf1")) << "the output still";
    EXPECT_TRUE(noPipeFolderLeft());
}

TEST_F(PipedJob, DashOnlyAloneAndNeverAFolder) {
    writeFile(folder_.path("a.htm"), "<p>a</p>\n");
    ToolRun two = runTool({"markup", "html", "-", folder_.path("a.htm")});
    EXPECT_EQ(two.exitStatus, 2);
    EXPECT_TRUE(contains(two.err, "must be the only file given")) << two.err;
    ToolRun folder = runTool({"markup", "html", "-o", "-", folder_.path("a.htm")});
    EXPECT_EQ(folder.exitStatus, 2);
    EXPECT_TRUE(contains(folder.err, "-o - is not a folder")) << folder.err;
    EXPECT_FALSE(fs::exists("-"));
    ToolRun both = runTool({"markup", "html", "-o", folder_.path("out"), "-"});
    EXPECT_EQ(both.exitStatus, 2);
    EXPECT_FALSE(fs::exists(folder_.path("out")));
}

TEST_F(PipedJob, AStandardOutputThatCannotBeWrittenEndsWithItsReason) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    writeFile(folder_.path("page.htm"), "<p>Hello</p>\n");
    ToolRun run = runToolBetween({"markup", "html", "-"}, folder_.path("page.htm"), "/dev/full");
    EXPECT_EQ(run.exitStatus, 2) << run.err;
    EXPECT_TRUE(contains(run.err, "tessel: cannot write to standard output")) << run.err;
    EXPECT_TRUE(noPipeFolderLeft());
}
#endif

}  // namespace
}  // namespace tessel::cli::testing
