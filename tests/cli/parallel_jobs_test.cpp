// -j N: a batch converted in worker processes reports, writes and ends as the
// same batch converted in one process: the same bytes on standard output and
// standard error in the order of the inputs, the same JSON report, exit
// status and output files, also where two inputs give one output name.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

namespace fs = std::filesystem;

// The tool runs its batches in workers on Linux and other POSIX systems;
// on Windows it converts them one after another.
#ifndef _WIN32

// Every file below `folder` with its bytes, by path relative to it.
std::map<std::string, std::string> tree(const fs::path& folder) {
    std::map<std::string, std::string> files;
    if (!fs::exists(folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[entry.path().lexically_relative(folder).generic_string()] =
                readFile(entry.path().string());
        }
    }
    return files;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ParallelJobs : public ::testing::Test {
  protected:
    void SetUp() override {
        // The summary's date line: one fixed time for every run.
        ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
        fs::create_directories(root / "in" / "sub");
        for (int i = 0; i < 38; ++i) {
            std::string name = "page" + std::to_string(i) + (i % 5 == 0 ? ".html" : ".htm");
            // Every seventh page has a tag the mark-up does not know: an
            // error log with warnings.
            std::string body = i % 7 == 3 ? "<ABBR>x</ABBR>\r\n"
                                          : "<P>Page " + std::to_string(i) + " <B>bold</B></P>\r\n";
            writeFile((root / "in" / name).string(), body);
            inputs.push_back((root / "in" / name).string());
            if (i == 20) inputs.push_back((root / "in" / "missing.htm").string());
        }
        // The same file name in another folder: one output name in -o.
        writeFile((root / "in" / "sub" / "page4.htm").string(), "<P>Other four</P>\r\n");
        inputs.push_back((root / "in" / "sub" / "page4.htm").string());
    }
    void TearDown() override { ::unsetenv("SOURCE_DATE_EPOCH"); }

    // The batch into a fresh output folder that holds one output already.
    ToolRun run(const std::vector<std::string>& options, const std::string& jobs) {
        fs::remove_all(root / "out");
        fs::create_directories(root / "out");
        writeFile((root / "out" / "page9.rtf").string(), "kept\n");
        std::vector<std::string> args{"markup", "html", "-j", jobs, "-o", (root / "out").string()};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), inputs.begin(), inputs.end());
        return runTool(args);
    }

    ScratchFolder scratch;
    fs::path root = fs::path(scratch.path("x")).parent_path();
    std::vector<std::string> inputs;
};

TEST_F(ParallelJobs, WorkersReportAndWriteAsOneProcessDoes) {
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, {"-q"}, {"--report", "json"}}) {
        const std::string mode = options.empty() ? "plain" : options[0];
        ToolRun serial = run(options, "1");
        std::map<std::string, std::string> serialFiles = tree(root / "out");
        ToolRun parallel = run(options, "3");
        EXPECT_EQ(parallel.exitStatus, serial.exitStatus) << mode;
        EXPECT_EQ(parallel.out, serial.out) << mode;
        EXPECT_EQ(parallel.err, serial.err) << mode;
        EXPECT_EQ(tree(root / "out"), serialFiles) << mode;

        // The runs hold every case: a failed file, warnings, an existing
        // output not replaced, two inputs of one output name.
        EXPECT_EQ(serial.exitStatus, 1) << mode;
        EXPECT_EQ(serialFiles.at("page9.rtf"), "kept\n") << mode;
        EXPECT_TRUE(serialFiles.count("page3.ERR")) << mode;
        EXPECT_TRUE(contains(serialFiles.at("page4.rtf"), "Page 4")) << mode;
        const std::string problems = serial.err;
        EXPECT_TRUE(contains(problems, "missing.htm: File Error! Can not open input file."))
            << mode;
        EXPECT_TRUE(contains(problems, "page4.rtf was written earlier in this run")) << mode;
        EXPECT_TRUE(contains(problems, "No (standard input is not a terminal; use --overwrite)"))
            << mode;
        EXPECT_LT(problems.find("page9"), problems.find("missing.htm")) << mode;
        EXPECT_LT(problems.find("missing.htm"), problems.find("sub/page4.htm")) << mode;
    }
}

TEST_F(ParallelJobs, OverwriteReplacesInEveryWorker) {
    ToolRun serial = run({"--overwrite", "-q"}, "1");
    std::map<std::string, std::string> serialFiles = tree(root / "out");
    ToolRun parallel = run({"--overwrite", "-q"}, "0");
    EXPECT_EQ(parallel.out, serial.out);
    EXPECT_EQ(parallel.err, serial.err);
    EXPECT_EQ(tree(root / "out"), serialFiles);
    EXPECT_NE(serialFiles.at("page9.rtf"), "kept\n");
}

TEST(ParallelJobsUsage, JobsTakesANumber) {
    for (const char* wrong : {"x", "-1", "", "12345"}) {
        ToolRun run = runTool({"markup", "html", "--jobs", wrong, "a.htm"});
        EXPECT_EQ(run.exitStatus, 2) << wrong;
        EXPECT_TRUE(contains(run.err, "--jobs takes a number of processes")) << run.err;
    }
    EXPECT_EQ(runTool({"markup", "html", "-j"}).exitStatus, 2);
}

#endif

}  // namespace
}  // namespace tessel::cli::testing
