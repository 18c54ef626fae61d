// Runs of the tool that meet each other or are cut short: eight processes on
// one file, eight on inputs of one stem into one output folder, runs killed
// or interrupted at several points of a job on a file of tens of MB, and an
// output folder on a full file system. Nothing may be lost, no final name
// may hold a partial file, and what failed must say so.
#ifndef _WIN32

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/small_file_system.h"
#include "tool_runner.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using tessel::cli::testing::readFile;
using tessel::cli::testing::runTool;
using tessel::cli::testing::ScratchFolder;
using tessel::cli::testing::ToolRun;
using tessel::cli::testing::writeFile;
using Clock = std::chrono::steady_clock;

struct Started {
    pid_t pid = -1;
    std::string outPath;
    std::string errPath;
};

// Starts the tool in `folder` without waiting for it.
Started start(const std::vector<std::string>& args, const std::string& folder, int id) {
    Started run;
    run.outPath = folder + "/../out-" + std::to_string(id);
    run.errPath = folder + "/../err-" + std::to_string(id);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, run.outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, run.errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> strings{TESSEL_TOOL_PATH};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : strings) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::string here = fs::current_path().string();
    fs::current_path(folder);
    if (posix_spawn(&run.pid, TESSEL_TOOL_PATH, &actions, nullptr, argv.data(), environ) != 0) {
        run.pid = -1;
    }
    fs::current_path(here);
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

int waitFor(const Started& run) {
    int status = 0;
    ::waitpid(run.pid, &status, 0);
    return status;
}

// Whether the process has ended, without reaping it.
bool hasEnded(const Started& run) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(run.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == run.pid;
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::vector<std::string> temporariesIn(const fs::path& folder) {
    std::vector<std::string> found;
    for (const std::string& name : namesIn(folder)) {
        if (name.front() == '.' && name.ends_with(".tmp")) found.push_back(name);
    }
    return found;
}

std::string lines(std::size_t count, std::string_view end) {
    std::string text;
    text.reserve(count * 48);
    for (std::size_t i = 0; i < count; ++i) {
        text += "Line " + std::to_string(i) + " of the text to convert";
        text += end;
    }
    return text;
}

// Eight processes convert one file in place at once, round after round: each
// waits for the one before, so every run succeeds, the file ends converted
// and complete, and no backup or partial copy stays.
TEST(ConcurrentRuns, EightInPlaceRunsOnOneFileLoseNothing) {
    const std::string original = lines(4000, "\n");
    const std::string converted = lines(4000, "\r\n");
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    int rounds = 0;
    for (; rounds < 6 && Clock::now() < deadline; ++rounds) {
        ScratchFolder scratch;
        const std::string folder = scratch.path("in");
        fs::create_directory(folder);
        writeFile(folder + "/a.txt", original);
        std::vector<Started> runs;
        for (int i = 0; i < 8; ++i)
            runs.push_back(start({"text", "line-breaks", "-q", "a.txt"}, folder, i));
        for (const Started& run : runs) {
            ASSERT_GT(run.pid, 0);
            int status = waitFor(run);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "round " << rounds << ": " << readFile(run.errPath);
        }
        EXPECT_EQ(readFile(folder + "/a.txt"), converted) << "round " << rounds;
        EXPECT_EQ(namesIn(folder), std::set<std::string>{"a.txt"}) << "round " << rounds;
    }
    EXPECT_GE(rounds, 1);
}

// Eight processes mark up a.htm and a.html (same stem, other texts) into one
// output folder: one of them writes out/a.rtf, with its own input's text;
// every other one says why it wrote nothing, and nothing stays beside the
// inputs.
TEST(ConcurrentRuns, SameStemIntoOneFolderNeverMixesOrLosesSilently) {
    const std::string first = "<html><body><p>The first page</p></body></html>\n";
    const std::string second = "<html><body><p>The second page, other words</p></body></html>\n";
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    int rounds = 0;
    for (; rounds < 6 && Clock::now() < deadline; ++rounds) {
        ScratchFolder scratch;
        const std::string folder = scratch.path("in");
        fs::create_directory(folder);
        writeFile(folder + "/a.htm", first);
        writeFile(folder + "/a.html", second);
        std::vector<Started> runs;
        for (int i = 0; i < 8; ++i) {
            const char* input = i % 2 == 0 ? "a.htm" : "a.html";
            runs.push_back(start({"markup", "html", "-q", "-o", "out", input}, folder, i));
        }
        int written = -1;
        int succeeded = 0;
        for (int i = 0; i < 8; ++i) {
            ASSERT_GT(runs[i].pid, 0);
            int status = waitFor(runs[i]);
            ASSERT_TRUE(WIFEXITED(status));
            if (WEXITSTATUS(status) == 0) {
                ++succeeded;
                written = i;
            } else {
                EXPECT_NE(readFile(runs[i].errPath), "") << "round " << rounds << ": silent";
            }
        }
        ASSERT_EQ(succeeded, 1) << "round " << rounds;
        const std::string rtf = readFile(folder + "/out/a.rtf");
        const std::string own = written % 2 == 0 ? "The first page" : "The second page";
        EXPECT_NE(rtf.find(own), std::string::npos) << "round " << rounds << ": " << rtf;
        EXPECT_EQ(namesIn(folder), (std::set<std::string>{"a.htm", "a.html", "out"}));
        EXPECT_EQ(namesIn(folder + "/out"), std::set<std::string>{"a.rtf"});
    }
    EXPECT_GE(rounds, 1);
}

// A job cut short by a signal at several points: the final name holds the
// complete output or nothing, the input (or its backup) is whole, SIGINT and
// SIGTERM end the tool with 130 and 143 and take the temporary with them,
// and a temporary left by kill -9 is named and cleared by the next run.
struct KillCase {
    std::vector<std::string> args;
    std::string input;
    std::string output;
};

TEST(InterruptedRuns, KillMatrixLeavesNoPartialFileUnderAFinalName) {
    const std::string original = lines(500000, "\n");  // about 20 MB
    const std::string converted = lines(500000, "\r\n");
    const std::vector<KillCase> cases = {
        {{"text", "line-breaks", "-q", "a.txt"}, "a.txt", "a.txt"},
        {{"text", "line-breaks", "-q", "--ext", "out", "a.txt"}, "a.txt", "a.out"}};
    const auto deadline = Clock::now() + std::chrono::seconds(75);
    int killedMidway = 0;
    for (const KillCase& job : cases) {
        for (int signal : {SIGKILL, SIGINT, SIGTERM}) {
            for (int delayMs : {0, 100, 400}) {
                if (Clock::now() > deadline) break;
                ScratchFolder scratch;
                const std::string folder = scratch.path("in");
                fs::create_directory(folder);
                writeFile(folder + "/a.txt", original);
                const std::string what = job.args[2] + " " + std::to_string(signal) + " at " +
                                         std::to_string(delayMs) + " ms";
                Started run = start(job.args, folder, 0);
                ASSERT_GT(run.pid, 0);
                // The points are counted from the job's first file on disk:
                // before the program has started, no program can clean up.
                const auto startedBy = Clock::now() + std::chrono::seconds(10);
                while (temporariesIn(folder).empty() && Clock::now() < startedBy &&
                       !hasEnded(run)) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                ::kill(run.pid, signal);
                int status = waitFor(run);
                const bool finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
                if (!finished) ++killedMidway;
                if (signal != SIGKILL) {
                    EXPECT_TRUE(WIFEXITED(status)) << what << ": ended by the signal itself";
                    if (!finished && WIFEXITED(status)) {
                        EXPECT_EQ(WEXITSTATUS(status), 128 + signal) << what;
                    }
                    EXPECT_EQ(temporariesIn(folder), std::vector<std::string>{}) << what;
                }
                const std::string outputPath = folder + "/" + job.output;
                if (fs::exists(outputPath)) {
                    const std::string bytes = readFile(outputPath);
                    EXPECT_TRUE(bytes == converted ||
                                (job.output == job.input && bytes == original))
                        << what << ": partial " << job.output << " of " << bytes.size() << " bytes";
                }
                if (job.output == job.input) {
                    bool inputKept =
                        fs::exists(folder + "/a.OLD") && readFile(folder + "/a.OLD") == original;
                    inputKept = inputKept || readFile(outputPath) == original;
                    // A signal that comes after the converted file took the
                    // input's name (on a busy machine, 400 ms can be past it)
                    // ends a job that has done what it was asked.
                    const bool replaced = readFile(outputPath) == converted;
                    EXPECT_TRUE(inputKept || replaced || finished)
                        << what << ": the original is lost";
                }
                if (signal == SIGKILL && fs::exists(folder + "/a.txt") &&
                    !fs::exists(folder + "/" + job.output)) {
                    std::vector<std::string> left = temporariesIn(folder);
                    Started again = start(job.args, folder, 1);
                    int againStatus = waitFor(again);
                    EXPECT_TRUE(WIFEXITED(againStatus) && WEXITSTATUS(againStatus) == 0)
                        << what << ": " << readFile(again.errPath);
                    EXPECT_EQ(readFile(outputPath), converted) << what;
                    for (const std::string& name : left) {
                        EXPECT_NE(readFile(again.errPath).find(name), std::string::npos)
                            << what << ": " << name << " not named";
                    }
                    EXPECT_EQ(temporariesIn(folder), std::vector<std::string>{}) << what;
                }
            }
        }
    }
    // On a machine so fast that every job ended before its signal, the
    // matrix proved nothing.
    EXPECT_GT(killedMidway, 0);
}

// An output folder on a full file system: the file is not moved there, the
// line says why, and nothing half-written stays on the full disk.
TEST(InterruptedRuns, FullOutputFolderSaysNoSpaceAndLeavesNothing) {
    tessel::test::SmallFileSystem disk(1024 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "no right to mount a small tmpfs here (needs root)";
    ScratchFolder scratch;
    const std::string folder = scratch.path("in");
    fs::create_directory(folder);
    std::string page = "<html><body>\n";
    for (int i = 0; i < 3000; ++i)
        page += "<p>Paragraph " + std::to_string(i) + " of the page</p>\n";
    writeFile(folder + "/big.htm", page + "</body></html>\n");
    disk.fill();
    ToolRun run =
        runTool({"markup", "html", "-q", "-o", disk.root().string(), folder + "/big.htm"});
    EXPECT_EQ(run.exitStatus, 1) << run.out << run.err;
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
    EXPECT_EQ(disk.listing(), "");
    EXPECT_EQ(temporariesIn(disk.root()), std::vector<std::string>{});

    // The library's own file on a full disk: the job fails with the reason
    // and leaves the input as it was.
    disk.drain();
    writeFile(disk.file("a.txt"), lines(2000, "\n"));
    disk.fill();
    ToolRun inPlace = runTool({"text", "line-breaks", "-q", disk.file("a.txt")});
    EXPECT_EQ(inPlace.exitStatus, 1);
    EXPECT_NE(inPlace.err.find("No space left on device"), std::string::npos) << inPlace.err;
    EXPECT_EQ(readFile(disk.file("a.txt")), lines(2000, "\n"));
    EXPECT_EQ(temporariesIn(disk.root()), std::vector<std::string>{});
}

// A link under a log's or an output's name is refused with a line that says
// what is in the way, and the file it points to is untouched.
TEST(InterruptedRuns, PlantedLinkIsNamedInTheProblemLine) {
    ScratchFolder scratch;
    const std::string folder = scratch.path("in");
    fs::create_directory(folder);
    writeFile(folder + "/b.htm", "<html><body><p>Hello</p></body></html>\n");
    writeFile(scratch.path("victim"), "precious");
    ASSERT_EQ(::symlink(scratch.path("victim").c_str(), (folder + "/b.ERR").c_str()), 0);
    ToolRun run = runTool({"markup", "html", "-q", folder + "/b.htm"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find(folder + "/b.ERR is a symbolic link"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(scratch.path("victim")), "precious");

    writeFile(scratch.path("target.txt"), "one\ntwo\n");
    ASSERT_EQ(::symlink(scratch.path("target.txt").c_str(), (folder + "/link.txt").c_str()), 0);
    ToolRun text = runTool({"text", "line-breaks", "-q", folder + "/link.txt"});
    EXPECT_EQ(text.exitStatus, 1);
    EXPECT_NE(text.err.find(folder + "/link.txt is a symbolic link"), std::string::npos)
        << text.err;
    EXPECT_EQ(readFile(scratch.path("target.txt")), "one\ntwo\n");
    EXPECT_TRUE(fs::is_symlink(folder + "/link.txt"));
}

}  // namespace

#endif  // !_WIN32
