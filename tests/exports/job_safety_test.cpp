// The exports as a program calls them when things around a job go wrong:
// callers on several threads, inputs that are not regular files, a disk that
// is full. Whatever happens, every job returns its code, and no file that the
// job did not create is changed or removed.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "faults/job_rows.h"
#include "support/fifo_watchdog.h"
#include "support/small_file_system.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

using tessel::test::JobRow;
using tessel::test::readFile;
using tessel::test::SmallFileSystem;
using tessel::test::TempDir;
using tessel::test::withoutDate;

// Inputs that give logs with messages, several tags and a carried-over tag,
// so that jobs which shared their state would show it in every file.
std::string htmlInput(int n) {
    std::string text = "<HTML><BODY>\n<P>Page " + std::to_string(n) + " <B>bold</B>\n";
    for (int i = 0; i < 40 * (n + 1); ++i) {
        text += "<ABBR title=x>t" + std::to_string(i) +
                "</ABBR>\nAT&T\n<A HREF=\"a\"\nTITLE=\"b\">l</A>\n";
    }
    return text + "</BODY></HTML>\n";
}

struct JobFiles {
    std::string html, rtf, log;
};

TEST(ConcurrentJobs, ThreadsGetTheSameFilesAsJobsOneAfterAnother) {
    TempDir dir;
    constexpr int kFiles = 8;
    std::vector<JobFiles> files;
    for (int n = 0; n < kFiles; ++n) {
        std::string name = "page" + std::to_string(n);
        files.push_back({dir.write(name + ".htm", htmlInput(n)), dir.file(name + ".rtf"),
                         dir.file(name + ".ERR")});
    }
    std::vector<int> sequentialResults;
    std::map<std::string, std::string> sequential;
    for (const JobFiles& f : files) {
        sequentialResults.push_back(f_iHTML2RTF(f.html.c_str(), nullptr));
        sequential[f.rtf] = readFile(f.rtf);
        sequential[f.log] = withoutDate(readFile(f.log));
        std::filesystem::remove(f.rtf);
        std::filesystem::remove(f.log);
    }
    ASSERT_EQ(sequentialResults[0], -113) << "the inputs are meant to log messages";

    std::vector<int> results(kFiles, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int n = t; n < kFiles; n += 4) {
                results[n] = f_iHTML2RTF(files[n].html.c_str(), nullptr);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(results, sequentialResults);
    for (const JobFiles& f : files) {
        EXPECT_EQ(readFile(f.rtf), sequential[f.rtf]) << f.rtf;
        EXPECT_EQ(withoutDate(readFile(f.log)), sequential[f.log]) << f.log;
    }
}

// Every job of the fault matrix, each in a folder of its own, once after
// the other and then from four threads at once: the threads must leave
// exactly the files and results of the sequential run.
class EveryJob : public ::testing::Test {
  protected:
    using Files = std::map<std::string, std::string>;

    // Lays out every row's files in `root/NN`.
    static void layOut(const TempDir& root, const std::vector<JobRow>& rows) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::string folder = root.file(std::to_string(100 + i));
            std::filesystem::create_directory(folder);
            for (const auto& [name, bytes] : rows[i].extraFiles) {
                tessel::test::writeFile(folder + "/" + name, bytes);
            }
            tessel::test::writeFile(folder + "/" + rows[i].inputName, rows[i].input);
        }
    }
    static int run(const TempDir& root, const std::vector<JobRow>& rows, std::size_t i) {
        return rows[i].run(root.file(std::to_string(100 + i)) + "/" + rows[i].inputName);
    }
    // Every file with its bytes; dates and the root's name, which logs
    // quote, blanked.
    static Files filesOf(const TempDir& root) {
        Files files;
        const std::string rootName = root.path().string();
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root.path())) {
            if (!entry.is_regular_file()) continue;
            std::string bytes = withoutDate(readFile(entry.path().string()));
            for (std::size_t at = bytes.find(rootName); at != std::string::npos;
                 at = bytes.find(rootName, at)) {
                bytes.replace(at, rootName.size(), "<root>");
            }
            files[std::filesystem::relative(entry.path(), root.path()).string()] = bytes;
        }
        return files;
    }
};

TEST_F(EveryJob, OnFourThreadsLikeOneAfterAnother) {
    const std::vector<JobRow> rows = tessel::test::jobRows();
    TempDir sequentialRoot;
    layOut(sequentialRoot, rows);
    std::vector<int> sequential;
    for (std::size_t i = 0; i < rows.size(); ++i)
        sequential.push_back(run(sequentialRoot, rows, i));

    TempDir threadedRoot;
    layOut(threadedRoot, rows);
    std::vector<int> threaded(rows.size(), 0);
    std::vector<std::thread> threads;
    // Each thread takes every fourth row from the back, so that neighbours in
    // the table run at the same time on different threads.
    for (std::size_t t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t k = t; k < rows.size(); k += 4) {
                std::size_t i = rows.size() - 1 - k;
                threaded[i] = run(threadedRoot, rows, i);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();

    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(threaded[i], sequential[i]) << rows[i].name;
    }
    EXPECT_EQ(filesOf(threadedRoot), filesOf(sequentialRoot));
}

// FIFOs are a POSIX file type; Windows has none in its file system.
#ifndef _WIN32
TEST(RegularFilesOnly, AFifoIsRefusedBeforeAnythingIsRenamedOrCreated) {
    using tessel::test::FifoWatchdog;
    TempDir dir;
    const std::array<std::pair<const char*, std::function<int(const std::string&)>>, 6> jobs = {{
        {"doc.txt",
         [](const std::string& p) {
             std::array<char, 260> path{};
             p.copy(path.data(), p.size());
             return funciTextReadWriteParser(path.data(), 613, 1, nullptr);
         }},
        {"doc.txt",
         [](const std::string& p) {
             std::array<char, 260> path{};
             p.copy(path.data(), p.size());
             return funciTextReadWriteParser(path.data(), 610, 1, ".ans");
         }},
        {"doc.htm", [](const std::string& p) { return f_iHTML2RTF(p.c_str(), nullptr); }},
        {"doc.rtf", [](const std::string& p) { return f_iRTF2HTML(p.c_str(), ".htm"); }},
        {"doc.rtf", [](const std::string& p) { return f_iRTF2PageMaker(p.c_str(), ".txt"); }},
        {"doc.pm", [](const std::string& p) { return f_iPageMaker2RTF(p.c_str()); }},
    }};
    for (const auto& [name, job] : jobs) {
        std::string fifo = dir.file(name);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        int result = 0;
        {
            FifoWatchdog watchdog(fifo);
            result = job(fifo);
            EXPECT_FALSE(watchdog.fired()) << name << ": the job waited on the FIFO";
        }
        EXPECT_EQ(result, -101) << name;
        EXPECT_EQ(dir.listing(), name) << "nothing renamed or created beside " << name;
        std::filesystem::remove(fifo);
    }
}
#endif  // !_WIN32

// An RTF of some size: its outputs cannot fit on a full disk.
std::string rtfInput() {
    std::string text = "{\\rtf1 \\ansi\\deff3 {\\fonttbl {\\f1 Courier New;}}\n";
    for (int i = 0; i < 300; ++i) {
        text +=
            "{\\cs6\\cf6\\f1\\lang1024 <B>}Paragraph " + std::to_string(i) + " caf\\'e9\\par \n";
    }
    return text + "}";
}

class FullDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!disk.mounted()) GTEST_SKIP() << "no right to mount a small tmpfs here";
    }
    // Writes the input, fills the disk, and runs the job.
    void runOnFullDisk(const std::string& name, const std::string& content,
                       const std::function<int(const std::string&)>& job, int expected) {
        std::string input = disk.file(name);
        tessel::test::writeFile(input, content);
        disk.fill();
        EXPECT_EQ(job(input), expected) << name;
        EXPECT_TRUE(readFile(input) == content) << name << " must be left as it was";
        EXPECT_EQ(disk.listing(), name) << "no partial output and no empty log";
        std::filesystem::remove(input);
        disk.drain();
    }
    SmallFileSystem disk{256 * 1024};
};

TEST_F(FullDisk, EveryJobFailsCleanlyAndKeepsItsInput) {
    runOnFullDisk(
        "back.rtf", rtfInput(), [](const std::string& p) { return f_iRTF2HTML(p.c_str(), ".htm"); },
        -102);
    runOnFullDisk(
        "back.rtf", rtfInput(), [](const std::string& p) { return f_iRTF2Text(p.c_str(), ".txt"); },
        -102);
    runOnFullDisk(
        "page.htm", htmlInput(6),
        [](const std::string& p) { return f_iHTML2RTF(p.c_str(), nullptr); }, -102);
    std::string lines;
    for (int i = 0; i < 2000; ++i) lines += "line " + std::to_string(i) + "\r";
    runOnFullDisk(
        "mac.txt", lines,
        [](const std::string& p) {
            std::array<char, 260> path{};
            p.copy(path.data(), p.size());
            return funciTextReadWriteParser(path.data(), 613, 1, nullptr);
        },
        -102);
    runOnFullDisk(
        "pm.txt", "<PMTags1.0 win>\n" + lines,
        [](const std::string& p) { return f_iPageMaker2RTF(p.c_str()); }, -102);
}

}  // namespace
