// The options of the conversion commands that shape a batch: the output
// folder (-o), folders walked (-r, --include), the quiet report (-q), the JSON
// report (--report json), file names starting with "-", the per-file lines on
// standard error and the exit statuses 0, 1 and 3.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "json_lines.h"
#include "support/small_file_system.h"
#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

namespace fs = std::filesystem;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Every file below `folder` with its bytes, by path relative to it.
std::map<std::string, std::string> tree(const fs::path& folder) {
    std::map<std::string, std::string> files;
    if (!fs::exists(folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            // "sub/name" whichever separator the system joins with.
            std::string name = nativeName(entry.path().lexically_relative(folder));
            std::replace(name.begin(), name.end(), '\\', '/');
            files[name] = readFile(nativeName(entry.path()));
        }
    }
    return files;
}

const std::string kPage = "<P>Hello <B>world</B></P>\r\n";
// An unknown tag: the page is marked up, and the log keeps a warning (-113).
const std::string kPageWithWarning = "<ABBR>x</ABBR>\r\n";

class BatchOptions : public ::testing::Test {
  protected:
    ScratchFolder scratch;
    fs::path root = fs::path(scratch.path("x")).parent_path();
    std::string in(const std::string& name) { return nativeName(root / "in" / nativePath(name)); }
    std::string out(const std::string& name) { return nativeName(root / "out" / nativePath(name)); }
    void page(const std::string& name, const std::string& bytes = kPage) {
        fs::create_directories(nativePath(in(name)).parent_path());
        writeFile(in(name), bytes);
    }
};

TEST_F(BatchOptions, OutputFolderTakesOutputsAndLogsWithSpacesAndUtf8Names) {
    page("my page.htm");
    page("café ünïcode.html", kPageWithWarning);
    ToolRun run =
        runTool({"markup", "html", "-o", out(""), in("my page.htm"), in("café ünïcode.html")});

    EXPECT_EQ(run.exitStatus, 3) << run.out << run.err;
    auto produced = tree(root / "out");
    EXPECT_EQ(produced.size(), 3u) << run.out;
    EXPECT_TRUE(produced.count("my page.rtf"));
    EXPECT_TRUE(produced.count("café ünïcode.rtf"));
    EXPECT_TRUE(produced.count("café ünïcode.ERR")) << run.out;
    EXPECT_TRUE(contains(produced["my page.rtf"], "Hello")) << produced["my page.rtf"];
    // Nothing is left next to the inputs.
    EXPECT_EQ(tree(root / "in").size(), 2u);
    EXPECT_TRUE(contains(run.out, "Written to " + out("my page.rtf") + "\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "Error log: " + out("café ünïcode.ERR") + "\n")) << run.out;
    EXPECT_TRUE(contains(run.err, "tessel: " + in("café ünïcode.html") +
                                      ": Errors Reported in the Error Log File! (see " +
                                      out("café ünïcode.ERR") + ")\n"))
        << run.err;
}

TEST_F(BatchOptions, ExistingOutputInTheFolderIsKeptUnlessOverwriteIsGiven) {
    page("a.htm");
    fs::create_directories(root / "out");
    writeFile(out("a.rtf"), "the user's earlier output");

    ToolRun kept = runTool({"markup", "html", "-o", out(""), in("a.htm")});
    EXPECT_EQ(kept.exitStatus, 1) << kept.out;
    EXPECT_EQ(readFile(out("a.rtf")), "the user's earlier output");
    EXPECT_TRUE(contains(kept.out, "File Error! Output file already exists.\n\n")) << kept.out;
    EXPECT_TRUE(contains(kept.err, "not a terminal")) << kept.err;
    EXPECT_EQ(tree(root / "in").size(), 1u) << "the refused output is not left next to the input";

    ToolRun replaced = runTool({"--overwrite", "markup", "html", "-o", out(""), in("a.htm")});
    EXPECT_EQ(replaced.exitStatus, 0) << replaced.out << replaced.err;
    EXPECT_TRUE(contains(readFile(out("a.rtf")), "Hello"));
    EXPECT_EQ(tree(root / "in").size(), 1u);
    EXPECT_EQ(tree(root / "out").size(), 1u) << "no temporary file is left";
}

// A file already lying next to the input under the output's name is the
// user's: it stays where and as it is, and the output still reaches the
// folder (the job runs again on a copy of the input in a work folder there,
// which goes). The round trip in one folder: the source beside its RTF.
TEST_F(BatchOptions, AFileBesideTheInputUnderTheOutputsNameStaysAndTheOutputIsWritten) {
    page("a.htm", "<P>page</P>\r\n");
    writeFile(in("a.rtf"), "the user's file beside the input");
    ToolRun run = runTool({"--overwrite", "markup", "html", "-o", out(""), in("a.htm")});

    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    EXPECT_EQ(readFile(in("a.rtf")), "the user's file beside the input");
    EXPECT_TRUE(contains(readFile(out("a.rtf")), "page"));
    EXPECT_EQ(tree(root / "out").size(), 1u) << "no work folder is left";
    EXPECT_TRUE(contains(run.out, "Written to " + out("a.rtf"))) << run.out;

    // Back from the RTF that lies beside its source, as a translator
    // returns it: the source stays, the translation goes to the folder.
    writeFile(in("ch.txt"), "<PMTags1.0 win>\r\n<@Normal:>Hello\r\n");
    ASSERT_EQ(runTool({"markup", "pagemaker", in("ch.txt")}).exitStatus, 0);
    ToolRun back = runTool({"back", "pagemaker", "-o", out("de"), in("ch.RTF")});
    EXPECT_EQ(back.exitStatus, 0) << back.out << back.err;
    EXPECT_EQ(readFile(out("de/ch.txt")), "<PMTags1.0 win>\r\n<@Normal:>Hello\r\n");
    EXPECT_EQ(readFile(in("ch.txt")), "<PMTags1.0 win>\r\n<@Normal:>Hello\r\n");
    EXPECT_EQ(tree(root / "out/de").size(), 1u);
}

TEST_F(BatchOptions, TwoInputsOfOneOutputNameDoNotReplaceEachOther) {
    page("one/a.htm", "<P>first</P>\r\n");
    page("two/a.htm", "<P>second</P>\r\n");
    ToolRun run =
        runTool({"--overwrite", "markup", "html", "-o", out(""), in("one/a.htm"), in("two/a.htm")});

    EXPECT_EQ(run.exitStatus, 1) << run.out;
    EXPECT_TRUE(contains(readFile(out("a.rtf")), "first"));
    EXPECT_TRUE(contains(run.err, "was written earlier in this run")) << run.err;
    EXPECT_FALSE(exists(in("two/a.rtf")));
}

TEST_F(BatchOptions, OutputFolderUsageRules) {
    page("a.txt", "a\r");
    const std::vector<std::vector<std::string>> wrong = {
        {"text", "line-breaks", "-o", out(""), in("a.txt")},
        {"sgml", "collect-tags", "--tag-file", in("t.txt"), "-o", out(""), in("a.txt")},
        {"markup", "html", "-o"},
        {"markup", "html", "--output-dir=", in("a.txt")},
    };
    for (const auto& args : wrong) {
        ToolRun run = runTool(args);
        EXPECT_EQ(run.exitStatus, 2) << args[1] << ": " << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_EQ(readFile(in("a.txt")), "a\r");
    EXPECT_FALSE(exists(out("")));

    ToolRun withExtension =
        runTool({"text", "line-breaks", "--ext", ".dos", "-o", out("sub"), in("a.txt")});
    EXPECT_EQ(withExtension.exitStatus, 0) << withExtension.out << withExtension.err;
    EXPECT_EQ(readFile(out("sub/a.dos")), "a\r\n") << "the folder is created when missing";
    EXPECT_EQ(readFile(in("a.txt")), "a\r");
}

TEST_F(BatchOptions, RecursiveWalksNestedFoldersWithTheCommandsFilterInAnyCase) {
    page("site/index.htm");
    page("site/Über uns/TEAM.HTML");
    page("site/deep/er/x.shtml");  // *.htm* does not match .shtml
    page("site/notes.txt", "not html\r\n");
    ToolRun run = runTool({"markup", "html", "-r", "-o", out(""), in("site")});

    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    auto produced = tree(root / "out");
    EXPECT_EQ(produced.size(), 2u) << run.out;
    EXPECT_TRUE(produced.count("index.rtf"));
    EXPECT_TRUE(produced.count("Über uns/TEAM.rtf")) << "sub-folders are kept";
    EXPECT_TRUE(contains(run.out, "2 File(s) Processed.")) << run.out;

    ToolRun included = runTool({"markup", "html", "-r", "--include", "*.SHTML", "--include",
                                "index.*", "-o", out("inc"), in("site/")});
    EXPECT_EQ(included.exitStatus, 0) << included.out << included.err;
    auto inc = tree(root / "out" / "inc");
    EXPECT_EQ(inc.size(), 2u) << included.out;
    EXPECT_TRUE(inc.count("deep/er/x.rtf"));
    EXPECT_TRUE(inc.count("index.rtf"));

    ToolRun beside = runTool({"markup", "html", "-r", in("site")});
    EXPECT_EQ(beside.exitStatus, 0) << beside.out << beside.err;
    EXPECT_TRUE(exists(in("site/Über uns/TEAM.rtf")));
}

TEST_F(BatchOptions, AFolderWithoutRecursiveOrWithoutMatchesFailsThatArgument) {
    page("site/a.htm");
    page("empty/readme.txt", "x\r\n");
    page("b.htm");
    ToolRun run = runTool({"markup", "html", in("site"), in("b.htm")});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(contains(run.err, "tessel: " + in("site") + ": is a folder")) << run.err;
    EXPECT_TRUE(exists(in("b.rtf")));
    EXPECT_FALSE(exists(in("site/a.rtf")));

    ToolRun none = runTool({"markup", "html", "-r", in("empty")});
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_TRUE(contains(none.err, in("empty") + ": no file in this folder matches *.htm*"))
        << none.err;

    ToolRun usage = runTool({"markup", "html", "--include", "*.x", in("b.htm")});
    EXPECT_EQ(usage.exitStatus, 2) << usage.err;
}

TEST_F(BatchOptions, QuietShowsOnlyFilesWithProblemsAndTheSummary) {
    page("good.htm");
    page("warned.htm", kPageWithWarning);
    ToolRun run =
        runTool({"markup", "html", "-q", in("good.htm"), in("missing.htm"), in("warned.htm")});

    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_FALSE(contains(run.out, "Marking up HTML tags")) << run.out;
    EXPECT_FALSE(contains(run.out, "Converting " + in("good.htm"))) << run.out;
    EXPECT_TRUE(contains(run.out, "Converting " + in("missing.htm") +
                                      "...\nFile Error! Can not open input file.\n\n"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "Converting " + in("warned.htm"))) << run.out;
    // The summary block gives way to one line that ends the report.
    EXPECT_FALSE(contains(run.out, "File(s) Processed.")) << run.out;
    EXPECT_FALSE(contains(run.out, "Summary of Markup")) << run.out;
    EXPECT_FALSE(contains(run.out, "Error log: ")) << run.out;
    const std::string summary =
        "Files: 3, converted: 1, with warnings: 1, failed: 1; outputs created: 2, error logs: "
        "1.\n";
    ASSERT_GE(run.out.size(), summary.size()) << run.out;
    EXPECT_EQ(run.out.substr(run.out.size() - summary.size()), summary) << run.out;
    EXPECT_TRUE(contains(run.err, "tessel: " + in("missing.htm") +
                                      ": File Error! Can not open input file. (No such file or "
                                      "directory)\n"))
        << run.err;
}

TEST_F(BatchOptions, JsonReportHasOneObjectPerFileAndTheRunSummary) {
    page("good.htm");
    page("warned.htm", kPageWithWarning);
    // A name with a line feed, a quote and a byte that is no UTF-8 (Latin-1 é).
    // Windows refuses the line feed and the quote in names: an apostrophe
    // and a space stand in for them there.
#ifdef _WIN32
    const std::string oddStem = "odd 'name\xe9";
    const std::string oddInJson = "odd 'name";
#else
    const std::string oddStem = "odd\n\"name\xe9";
    const std::string oddInJson = "odd\\n\\\"name";
#endif
    std::string oddName = in(oddStem + ".htm");
    writeFile(oddName, kPage);
    ToolRun run = runTool({"markup", "html", "--report", "json", "-o", out(""), in("good.htm"),
                           in("warned.htm"), oddName, in("missing.htm")});

    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(contains(run.err, "Marking up HTML tags...")) << "the report goes to stderr";
    std::optional<std::vector<JsonFields>> objects = parseJsonLines(run.out);
    ASSERT_TRUE(objects) << run.out;
    ASSERT_EQ(objects->size(), 5u) << run.out;
    using Kind = JsonValue::Kind;
    auto expectFile = [&](const JsonFields& o, const std::string& input,
                          std::optional<std::string> output, std::optional<std::string> log,
                          long long code, const std::string& text, const std::string& status) {
        SCOPED_TRACE(input);
        EXPECT_EQ(o.at("kind").text, "file");
        EXPECT_EQ(o.at("input").text, input);
        if (output) {
            EXPECT_EQ(o.at("output").text, *output);
        } else {
            EXPECT_EQ(o.at("output").kind, Kind::Null);
        }
        if (log) {
            EXPECT_EQ(o.at("errorLog").text, *log);
        } else {
            EXPECT_EQ(o.at("errorLog").kind, Kind::Null);
        }
        EXPECT_EQ(o.at("returnCode").number, code);
        EXPECT_EQ(o.at("text").text, text);
        EXPECT_EQ(o.at("status").text, status);
        EXPECT_EQ(o.at("count").kind, code >= 0 ? Kind::Number : Kind::Null);
    };
    const auto& files = *objects;
    expectFile(files[0], in("good.htm"), out("good.rtf"), std::nullopt, files[0].at("count").number,
               files[0].at("text").text, "converted");
    EXPECT_GE(files[0].at("returnCode").number, 0);
    expectFile(files[1], in("warned.htm"), out("warned.rtf"), out("warned.ERR"), -113,
               "Errors Reported in the Error Log File!", "warnings");
    expectFile(files[2], oddName, out(oddStem + ".rtf"), std::nullopt,
               files[2].at("returnCode").number, files[2].at("text").text, "converted");
    expectFile(files[3], in("missing.htm"), std::nullopt, std::nullopt, -101,
               "File Error! Can not open input file.", "failed");
    EXPECT_TRUE(contains(run.out, "\\udce9")) << "the Latin-1 byte is escaped";
    EXPECT_TRUE(contains(run.out, oddInJson)) << run.out;

    const JsonFields& summary = files[4];
    EXPECT_EQ(summary.at("kind").text, "summary");
    EXPECT_EQ(summary.at("files").number, 4);
    EXPECT_EQ(summary.at("filesRead").number, 3);
    EXPECT_EQ(summary.at("outputsCreated").number, 3);
    EXPECT_EQ(summary.at("errorLogsWritten").number, 1);
    EXPECT_EQ(summary.at("converted").number, 2);
    EXPECT_EQ(summary.at("warnings").number, 1);
    EXPECT_EQ(summary.at("failed").number, 1);
    EXPECT_EQ(summary.at("argumentsRefused").kind, Kind::False);
    EXPECT_EQ(summary.at("exitStatus").number, 1);
}

TEST_F(BatchOptions, ExitStatusThreeOnlyWhenEveryOutputWasWrittenWithLogsKept) {
    page("good.htm");
    page("warned.htm", kPageWithWarning);
    EXPECT_EQ(runTool({"markup", "html", in("good.htm")}).exitStatus, 0);
    EXPECT_EQ(runTool({"markup", "html", in("warned.htm")}).exitStatus, 3);
    // A failed file outweighs the warnings.
    fs::remove(in("warned.rtf"));
    EXPECT_EQ(runTool({"markup", "html", in("warned.htm"), in("missing.htm")}).exitStatus, 1);
    // The existing output is refused: no output written.
    EXPECT_EQ(runTool({"markup", "html", in("warned.htm")}).exitStatus, 1);
}

TEST_F(BatchOptions, FilesNamedLikeOptionsAreFiles) {
    page("-dash.htm");
    page("--overwrite");
    // As a shell pattern expands it, from inside the folder.
    fs::path here = fs::current_path();
    fs::current_path(root / "in");
    ToolRun run = runTool({"markup", "html", "-dash.htm"});
    ToolRun ended = runTool({"markup", "html", "-o", "o", "--", "--overwrite"});
    ToolRun unknown = runTool({"markup", "html", "-nothing.htm"});
    fs::current_path(here);

    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    EXPECT_TRUE(exists(in("-dash.rtf")));
    EXPECT_EQ(ended.exitStatus, 0) << ended.out << ended.err;
    EXPECT_TRUE(exists(in("o/--overwrite.rtf")));
    EXPECT_EQ(unknown.exitStatus, 2) << "no such file: an unknown option";
}

TEST_F(BatchOptions, ReadOnlyOutputFolderFailsEachFileAndLosesNothing) {
    tessel::test::SmallFileSystem disk(256 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "no right to mount a small tmpfs here (needs root)";
    writeFile(disk.file("old.rtf"), "an old output");
    ASSERT_TRUE(disk.makeReadOnly());
    page("old.htm");
    page("new.htm");

    ToolRun run = runTool({"--overwrite", "markup", "html", "-o", disk.root().string(),
                           in("old.htm"), in("new.htm")});
    EXPECT_EQ(run.exitStatus, 1) << run.out;
    EXPECT_EQ(disk.listing(), "old.rtf");
    EXPECT_EQ(readFile(disk.file("old.rtf")), "an old output");
    EXPECT_TRUE(contains(run.err, "Read-only file system")) << run.err;
    // The conversions are kept next to their inputs, and said to be there.
    EXPECT_TRUE(contains(run.err, "cannot move " + in("new.rtf"))) << run.err;
    EXPECT_EQ(readFile(in("old.htm")), kPage);

    ToolRun folder = runTool({"markup", "html", "-o", disk.file("sub"), in("new.htm")});
    EXPECT_EQ(folder.exitStatus, 1);
    EXPECT_TRUE(contains(folder.err, "output folder " + disk.file("sub") + ":")) << folder.err;
}

// The library says only that it could not create or rename a file; the line
// on standard error adds the system's reason.
TEST_F(BatchOptions, ProblemLinesNameTheSystemsReason) {
    tessel::test::SmallFileSystem disk(256 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "no right to mount a small tmpfs here (needs root)";
    writeFile(disk.file("a.htm"), kPage);
    writeFile(disk.file("b.txt"), "a\r");
    ASSERT_TRUE(disk.makeReadOnly());

    ToolRun markup = runTool({"markup", "html", "-q", disk.file("a.htm")});
    EXPECT_EQ(markup.exitStatus, 1);
    EXPECT_EQ(markup.err, "tessel: " + disk.file("a.htm") +
                              ": File Error! Can not open output file. (Read-only file system)\n");
    ToolRun text = runTool({"text", "line-breaks", "-q", disk.file("b.txt")});
    EXPECT_EQ(text.exitStatus, 1);
    EXPECT_EQ(text.err, "tessel: " + disk.file("b.txt") +
                            ": File Error! Can not rename the input file. It may be open in "
                            "another application. (Read-only file system)\n");
    EXPECT_EQ(disk.listing(), "a.htm b.txt");
}

TEST_F(BatchOptions, OutputFolderOnAnotherFileSystemGetsCompleteFiles) {
    tessel::test::SmallFileSystem disk(256 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "no right to mount a small tmpfs here (needs root)";
    page("a.htm");
    writeFile(disk.file("a.rtf"), "an old output");
    ToolRun run =
        runTool({"--overwrite", "markup", "html", "-o", disk.root().string(), in("a.htm")});
    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    EXPECT_EQ(disk.listing(), "a.rtf") << "no temporary copy is left";
    EXPECT_TRUE(contains(readFile(disk.file("a.rtf")), "Hello"));
    EXPECT_FALSE(exists(in("a.rtf")));
}

}  // namespace
}  // namespace tessel::cli::testing

namespace tessel::cli::testing {
namespace {

// A file from 20 MB up says on a terminal that it is being converted and
// when it is done; a smaller one, or the same file without a terminal, not.
TEST(ToolProgress, ALargeFileIsAnnouncedOnATerminalOnly) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a pseudo-terminal, which Windows consoles do not offer to tests";
#else
    ScratchFolder folder;
    std::string large = folder.path("large.txt");
    std::string small = folder.path("small.txt");
    writeFile(large, std::string(21 * 1024 * 1024, 'a') + "\r");
    writeFile(small, "a\r");

    ToolRun run = runToolWithTerminalErr({"text", "line-breaks", "--ext", ".dos", large, small});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.err.find("tessel: converting " + large + " (21 MB)...\r\n"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("tessel: " + large + " done in "), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(small), std::string::npos) << run.err;

    ToolRun piped = runTool({"--overwrite", "text", "line-breaks", "--ext", ".dos", large});
    EXPECT_EQ(piped.exitStatus, 0) << piped.err;
    EXPECT_TRUE(piped.err.empty()) << piped.err;
#endif
}

}  // namespace
}  // namespace tessel::cli::testing
