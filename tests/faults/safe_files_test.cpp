// Every file the library writes goes through a locked temporary beside its
// name: nothing planted under a name (a link, a FIFO, a folder) redirects a
// write, the final name never holds a partial file, a rewrite keeps the
// file's mode, an interrupted writer leaves nothing behind, and a temporary
// left by a killed one is cleared by the next run.
#ifndef _WIN32

#include "platform/safe_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "faults/job_rows.h"
#include "platform/message_box.h"
#include "platform/streams.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;
using tessel::platform::ExistingName;
using tessel::platform::OutputStream;
using tessel::platform::StreamMode;
using tessel::test::TempDir;

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

bool holdsTemporary(const fs::path& folder) {
    for (const std::string& name : namesIn(folder)) {
        if (name.size() > 4 && name.front() == '.' && name.ends_with(".tmp")) return true;
    }
    return false;
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode;
}

// A FIFO under a name with a reader that drains it, so that code which
// wrongly writes into it neither blocks nor goes unnoticed.
class DrainedFifo {
  public:
    explicit DrainedFifo(const std::string& path) {
        EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0);
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
        reader_ = std::thread([this] {
            char buffer[4096];
            while (!stop_) {
                ssize_t got = ::read(fd_, buffer, sizeof buffer);
                if (got > 0)
                    bytes_ += static_cast<std::size_t>(got);
                else
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    ~DrainedFifo() {
        stop_ = true;
        reader_.join();
        ::close(fd_);
    }
    std::size_t bytesRead() const { return bytes_; }

  private:
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> bytes_{0};
    std::thread reader_;
};

TEST(SafeOutput, FinalNameAppearsOnlyWhenCompleteAndNoTemporaryStays) {
    TempDir dir;
    const std::string name = dir.file("out.rtf");
    OutputStream output;
    ASSERT_TRUE(output.open(name, StreamMode::Binary, ExistingName::Refuse));
    output.write(std::string(200000, 'x'));
    EXPECT_FALSE(fs::exists(name)) << "the final name must not hold a partial file";
    EXPECT_TRUE(holdsTemporary(dir.path()));
    ASSERT_TRUE(output.close());
    EXPECT_EQ(tessel::test::readFile(name), std::string(200000, 'x'));
    EXPECT_FALSE(holdsTemporary(dir.path())) << dir.listing();
}

TEST(SafeOutput, PlantedNamesAreRefusedAndTheirTargetsUntouched) {
    TempDir dir;
    const std::string victim = dir.write("victim.txt", "precious");
    const std::string link = dir.file("out.ERR");
    ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
    const std::string dangling = dir.file("new.ERR");
    ASSERT_EQ(::symlink(dir.file("nowhere.txt").c_str(), dangling.c_str()), 0);
    const std::string folder = dir.file("folder.ERR");
    fs::create_directory(folder);
    for (ExistingName existing : {ExistingName::Replace, ExistingName::Refuse}) {
        for (const std::string& name : {link, dangling, folder}) {
            OutputStream output;
            errno = 0;
            EXPECT_FALSE(output.open(name, StreamMode::Text, existing)) << name;
            EXPECT_NE(errno, 0) << name << ": the reason must be kept";
        }
    }
    EXPECT_EQ(tessel::test::readFile(victim), "precious");
    EXPECT_FALSE(fs::exists(dir.file("nowhere.txt")));
    EXPECT_TRUE(S_ISLNK(modeOf(link)));
    {
        DrainedFifo fifo(dir.file("pipe.ERR"));
        OutputStream output;
        EXPECT_FALSE(output.open(dir.file("pipe.ERR"), StreamMode::Text));
        output.write("log text");
        output.close();
        EXPECT_EQ(fifo.bytesRead(), 0u);
    }
    EXPECT_FALSE(holdsTemporary(dir.path())) << dir.listing();
}

TEST(SafeOutput, RefusedNameTakenMeanwhileKeepsTheOtherFile) {
    TempDir dir;
    const std::string name = dir.file("a.rtf");
    OutputStream output;
    ASSERT_TRUE(output.open(name, StreamMode::Binary, ExistingName::Refuse));
    output.write("mine");
    tessel::test::writeFile(name, "theirs");
    errno = 0;
    EXPECT_FALSE(output.close());
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(tessel::test::readFile(name), "theirs");
    EXPECT_FALSE(holdsTemporary(dir.path())) << dir.listing();
}

TEST(SafeOutput, ReplacingKeepsTheModeOfTheFileReplaced) {
    TempDir dir;
    for (mode_t mode : {mode_t{0600}, mode_t{0755}, mode_t{0640}}) {
        const std::string name = dir.write("log.ERR", "old");
        ASSERT_EQ(::chmod(name.c_str(), mode), 0);
        OutputStream output;
        ASSERT_TRUE(output.open(name, StreamMode::Text));
        output.write("new\n");
        ASSERT_TRUE(output.close());
        EXPECT_EQ(tessel::test::readFile(name), "new\r\n");
        EXPECT_EQ(modeOf(name) & 07777, mode);
    }
}

TEST(SafeOutput, StaleTemporaryIsRemovedAndNamedButALiveOneIsLeft) {
    TempDir dir;
    const std::string name = dir.file("a.rtf");
    const std::string stale = tessel::platform::temporaryNameFor(name, "AbC123");
    tessel::test::writeFile(stale, "half a file");
    OutputStream live;
    ASSERT_TRUE(live.open(dir.file("b.rtf"), StreamMode::Binary));
    tessel::platform::MessageBoxCapture shown;
    OutputStream output;
    ASSERT_TRUE(output.open(name, StreamMode::Binary));
    EXPECT_FALSE(fs::exists(stale));
    ASSERT_EQ(shown.texts().size(), 1u);
    EXPECT_NE(shown.texts()[0].find(stale), std::string::npos) << shown.texts()[0];
    // b.rtf's temporary is locked by its writer: another run for b.rtf
    // leaves it be.
    OutputStream second;
    ASSERT_TRUE(second.open(dir.file("b.rtf"), StreamMode::Binary));
    EXPECT_EQ(shown.texts().size(), 1u);
    live.write("complete");
    EXPECT_TRUE(live.close());
    EXPECT_EQ(tessel::test::readFile(dir.file("b.rtf")), "complete");
    second.discard();
    output.discard();
    EXPECT_FALSE(holdsTemporary(dir.path())) << dir.listing();
}

TEST(SafeOutput, TemporaryNamesAreRecognisedExactly) {
    using tessel::platform::isTemporaryNameOf;
    EXPECT_TRUE(isTemporaryNameOf("a.rtf", ".a.rtf~Ab3xQ9.tmp"));
    EXPECT_FALSE(isTemporaryNameOf("a.rtf", ".a.rtf~Ab3xQ.tmp"));
    EXPECT_FALSE(isTemporaryNameOf("a.rtf", ".b.rtf~Ab3xQ9.tmp"));
    EXPECT_FALSE(isTemporaryNameOf("a.rtf", "a.rtf~Ab3xQ9.tmp.x"));
    EXPECT_FALSE(isTemporaryNameOf("a", ".ab~Ab3xQ9.tmp"));
    EXPECT_EQ(tessel::platform::temporaryNameFor("dir/a.rtf", "Ab3xQ9"), "dir/.a.rtf~Ab3xQ9.tmp");
}

// A child writes part of a file and is then stopped by `signal`: it must end
// with 128 + the signal's number and take its temporary with it.
TEST(SafeOutput, InterruptRemovesTheTemporaryAndEndsWithTheShellStatus) {
    for (int signal : {SIGINT, SIGTERM}) {
        TempDir dir;
        const std::string name = dir.file("big.rtf");
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            OutputStream output;
            if (!output.open(name, StreamMode::Binary)) ::_exit(3);
            output.write(std::string(1 << 20, 'y'));
            if (::write(ready[1], "r", 1) != 1) ::_exit(4);
            for (;;) ::pause();
        }
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        EXPECT_TRUE(holdsTemporary(dir.path()));
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(ready[0]);
        ::close(ready[1]);
        ASSERT_TRUE(WIFEXITED(status)) << "signal " << signal << " ended it unhandled";
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        EXPECT_FALSE(holdsTemporary(dir.path())) << dir.listing();
        EXPECT_FALSE(fs::exists(name));
    }
}

TEST(NameLocks, SecondHolderWaitsUntilTheFirstLetsGo) {
    TempDir dir;
    const std::string name = dir.file("a.txt");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        tessel::platform::NameLocks locks;
        if (!locks.lock({name})) ::_exit(3);
        if (::write(ready[1], "r", 1) != 1) ::_exit(4);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    auto start = std::chrono::steady_clock::now();
    tessel::platform::NameLocks locks;
    // Spelled otherwise, the name is the same file and so the same lock.
    ASSERT_TRUE(locks.lock({dir.file("./a.txt"), dir.file("b.txt")}));
    auto waited = std::chrono::steady_clock::now() - start;
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_GE(waited, std::chrono::milliseconds(250));
}

// The rewritten file of an in-place text job is the user's file still: the
// same mode (0600 stays private, 0755 stays runnable), and a link is not
// replaced by a converted copy.
TEST(InPlaceJobs, KeepTheModeAndRefuseALink) {
    for (mode_t mode : {mode_t{0600}, mode_t{0755}, mode_t{0640}}) {
        TempDir dir;
        std::string path = dir.write("a.txt", "one\ntwo\n");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        std::string argument = path;
        argument.resize(300, '\0');
        int result = funciTextReadWriteParser(argument.data(), 613, 1, nullptr);
        EXPECT_GE(result, 0);
        EXPECT_EQ(tessel::test::readFile(path), "one\r\ntwo\r\n");
        EXPECT_EQ(modeOf(path) & 07777, mode) << std::oct << mode;
    }
    TempDir dir;
    std::string target = dir.write("target.txt", "one\ntwo\n");
    std::string link = dir.file("link.txt");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    std::string argument = link;
    argument.resize(300, '\0');
    EXPECT_LT(funciTextReadWriteParser(argument.data(), 613, 1, nullptr), 0);
    EXPECT_TRUE(S_ISLNK(modeOf(link)));
    EXPECT_EQ(tessel::test::readFile(target), "one\ntwo\n");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"link.txt", "target.txt"}));
}

// Every name a job writes (outputs, logs, backups, working copies), found
// by a clean run, gets a link to a file outside, a dangling link, a folder
// and a FIFO planted under it in turn: the job must neither write through
// it nor replace it, and must not hang.
class PlantedNames : public ::testing::TestWithParam<tessel::test::JobRow> {};

std::set<std::string> namesWritten(const tessel::test::JobRow& row) {
    TempDir dir;
    for (const auto& [name, bytes] : row.extraFiles) dir.write(name, bytes);
    std::string input = dir.write(row.inputName, row.input);
    std::set<std::string> before = namesIn(dir.path());
    {
        tessel::platform::MessageBoxCapture quiet;
        row.run(input);
    }
    std::set<std::string> written;
    for (const std::string& name : namesIn(dir.path())) {
        if (before.count(name) == 0) written.insert(name);
    }
    for (const std::string& name : row.transientNames) written.insert(name);
    // The backup of a job in place is gone again after a clean run.
    if (row.inPlace) written.insert(fs::path(row.inputName).replace_extension(".OLD").string());
    return written;
}

TEST_P(PlantedNames, NothingPlantedRedirectsAWrite) {
    const tessel::test::JobRow& row = GetParam();
    for (const std::string& planted : namesWritten(row)) {
        for (const char* kind : {"link", "dangling", "folder", "fifo"}) {
            TempDir outside;
            const std::string victim = outside.write("victim", "precious");
            TempDir dir;
            for (const auto& [name, bytes] : row.extraFiles) dir.write(name, bytes);
            std::string input = dir.write(row.inputName, row.input);
            const std::string name = dir.file(planted);
            const std::string what = row.name + ": " + kind + " as " + planted;
            std::optional<DrainedFifo> fifo;
            if (std::string_view(kind) == "link") {
                ASSERT_EQ(::symlink(victim.c_str(), name.c_str()), 0);
            } else if (std::string_view(kind) == "dangling") {
                ASSERT_EQ(::symlink(outside.file("created").c_str(), name.c_str()), 0);
            } else if (std::string_view(kind) == "folder") {
                fs::create_directory(name);
            } else {
                fifo.emplace(name);
            }
            const mode_t plantedType = modeOf(name) & S_IFMT;
            {
                tessel::platform::MessageBoxCapture quiet;
                row.run(input);
            }
            EXPECT_EQ(tessel::test::readFile(victim), "precious") << what;
            EXPECT_FALSE(fs::exists(outside.file("created"))) << what;
            EXPECT_EQ(modeOf(name) & S_IFMT, plantedType) << what << ": replaced";
            if (fifo) {
                EXPECT_EQ(fifo->bytesRead(), 0u) << what;
            }
            EXPECT_FALSE(holdsTemporary(dir.path())) << what << ": " << dir.listing();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Exports, PlantedNames, ::testing::ValuesIn(tessel::test::jobRows()),
                         [](const ::testing::TestParamInfo<tessel::test::JobRow>& info) {
                             std::string name;
                             for (char c : info.param.name) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                             }
                             return name;
                         });

}  // namespace

#endif  // !_WIN32
