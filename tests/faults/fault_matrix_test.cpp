// Every export under every fault around it: a missing, empty or odd input,
// an existing output or backup, names too long, and each open, write, rename
// and remove of the job failing in turn. Whatever happens the job returns a
// code; it either does exactly what it does without the fault, or it fails
// and leaves the input as it was, every file it did not create unchanged,
// and no partial output or empty log behind.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "faults/job_rows.h"
#include "platform/fault_seam.h"
#include "platform/message_box.h"
#include "support/fifo_watchdog.h"
#include "support/small_file_system.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;
using tessel::test::entriesOf;
using tessel::test::FolderEntry;
using tessel::test::readFile;
using tessel::test::SmallFileSystem;
using tessel::test::TempDir;
using tessel::test::withoutDate;

using tessel::test::JobRow;
using tessel::test::Snapshot;

// Every file of the folder with its bytes; log dates are blanked, and the
// folder's own name (which logs quote) too, so that runs in different
// folders compare equal.
// The regular files below TOP/RELATIVE, named relative to `top`.
void addFiles(Snapshot& files, const fs::path& top, const fs::path& relative) {
    const std::string folderName = top.string();
    for (const FolderEntry& entry : entriesOf(top / relative)) {
        fs::path name = relative / entry.name;
        if (entry.isFolder) {
            addFiles(files, top, name);
            continue;
        }
        if (!entry.isRegularFile) continue;
        std::string bytes = withoutDate(readFile((top / name).string()));
        for (std::size_t at = bytes.find(folderName); at != std::string::npos;
             at = bytes.find(folderName, at)) {
            bytes.replace(at, folderName.size(), "<folder>");
        }
        files[name.string()] = bytes;
    }
}

Snapshot snapshotOf(const fs::path& folder) {
    Snapshot files;
    addFiles(files, folder, {});
    return files;
}

bool isLog(const std::string& name) {
    std::string extension = fs::path(name).extension().string();
    return extension == ".ERR" || extension == ".err";
}

// Names and sizes, for failure messages.
std::string describe(const Snapshot& files) {
    std::string text;
    for (const auto& [name, bytes] : files) {
        text += name + " (" + std::to_string(bytes.size()) + " bytes) ";
    }
    return text;
}

struct Outcome {
    int result = 0;
    Snapshot files;
};

class FaultMatrix : public ::testing::TestWithParam<JobRow> {
  protected:
    // Runs the row in a fresh folder laid out by `prepare`.
    Outcome runIn(
        const std::function<void(const TempDir&)>& prepare,
        const std::function<void()>& arm = [] {}) {
        TempDir dir;
        const JobRow& row = GetParam();
        for (const auto& [name, bytes] : row.extraFiles) dir.write(name, bytes);
        dir.write(row.inputName, row.input);
        prepare(dir);
        arm();
        Outcome outcome;
        // Converters that cannot start say so in a message box.
        tessel::platform::MessageBoxCapture quiet;
        outcome.result = row.run(dir.file(row.inputName));
#ifdef TESSEL_FAULT_INJECTION
        tessel::platform::clearFaults();
#endif
        outcome.files = snapshotOf(dir.path());
        return outcome;
    }

    Outcome reference() {
        return runIn([](const TempDir&) {});
    }

    // The failure half of the promise, for a run that did not turn out as the
    // reference run did.
    void expectCleanFailure(const Outcome& outcome, const Outcome& clean, const Snapshot& before,
                            const std::string& what) {
        const JobRow& row = GetParam();
        EXPECT_LT(outcome.result, 0) << what << ": a changed outcome must be a failure";
        bool originalKept = false;
        for (const auto& [name, bytes] : outcome.files) {
            if (bytes == row.input) originalKept = true;
            auto old = before.find(name);
            if (old != before.end()) {
                EXPECT_TRUE(old->second == bytes || (row.inPlace && name == row.inputName))
                    << what << ": " << name << " existed and was changed (" << outcome.result
                    << "); the reference run returned " << clean.result << " and left "
                    << describe(clean.files) << "; this run left " << describe(outcome.files);
                continue;
            }
            if (isLog(name)) {
                EXPECT_FALSE(bytes.empty()) << what << ": empty log " << name;
                continue;
            }
            if (row.inPlace && bytes == row.input) continue;  // the backup
            // Only a job that wrote its output and logged messages (-113)
            // keeps it, and then complete; a failed job removes it.
            EXPECT_TRUE(outcome.result == -113 && isComplete(name, bytes, clean, outcome.result))
                << what << ": " << (outcome.result == -113 ? "partial" : "failed job left") << " "
                << name << " after " << outcome.result << ":\n"
                << bytes;
        }
        EXPECT_TRUE(originalKept) << what << ": the original text is gone";
    }

    // True when `bytes` under `name` is the output of the reference run, or,
    // for a job whose final step failed and said so, that output without the
    // step.
    static bool isComplete(const std::string& name, const std::string& bytes, const Outcome& clean,
                           int result) {
        auto complete = clean.files.find(name);
        if (complete == clean.files.end()) return false;
        if (complete->second == bytes) return true;
        const auto& withoutStep = GetParam().withoutFinalStep;
        return withoutStep && result == -113 && withoutStep(bytes) == withoutStep(complete->second);
    }

    void expectUnchangedOrCleanFailure(const Outcome& outcome, const Outcome& clean,
                                       const Snapshot& before, const std::string& what) {
        if (outcome.result == clean.result && outcome.files == clean.files) return;
        expectCleanFailure(outcome, clean, before, what);
    }
};

Snapshot inputsOf(const JobRow& row) {
    Snapshot files = row.extraFiles;
    files[row.inputName] = row.input;
    return files;
}

TEST_P(FaultMatrix, InputsThatAreMissingAFolderOrEmpty) {
    const JobRow& row = GetParam();
    Outcome missing = runIn([&](const TempDir& dir) { fs::remove(dir.file(row.inputName)); });
    EXPECT_EQ(missing.result, row.cannotOpenCode);
    Snapshot extras = row.extraFiles;
    EXPECT_EQ(missing.files, extras) << "nothing created for a missing input";

    Outcome folder = runIn([&](const TempDir& dir) {
        fs::remove(dir.file(row.inputName));
        fs::create_directory(dir.file(row.inputName));
    });
    EXPECT_EQ(folder.result, row.cannotOpenCode);
    EXPECT_EQ(folder.files, extras) << "nothing created for a folder as input";

#ifndef _WIN32
    // A FIFO would block a reader until a writer comes, and never end
    // (Windows has no FIFOs in its file system).
    std::optional<tessel::test::FifoWatchdog> watchdog;
    Outcome fifo = runIn([&](const TempDir& dir) {
        fs::remove(dir.file(row.inputName));
        ASSERT_EQ(::mkfifo(dir.file(row.inputName).c_str(), 0600), 0);
        watchdog.emplace(dir.file(row.inputName));
    });
    EXPECT_FALSE(watchdog->fired()) << "the job waited on the FIFO";
    watchdog.reset();
    EXPECT_EQ(fifo.result, row.cannotOpenCode);
    EXPECT_EQ(fifo.files, extras) << "nothing created for a FIFO as input";
#endif

    Outcome empty = runIn([&](const TempDir& dir) { dir.write(row.inputName, ""); });
    for (const auto& [name, bytes] : empty.files) {
        EXPECT_FALSE(isLog(name) && bytes.empty()) << "empty log " << name;
    }
}

TEST_P(FaultMatrix, ExistingFilesAreNeverReplaced) {
    const JobRow& row = GetParam();
    Outcome clean = reference();
    ASSERT_FALSE(clean.files == inputsOf(row)) << "the reference run writes something";
    std::vector<std::string> outputs = row.transientNames;
    for (const auto& [name, bytes] : clean.files) {
        bool updated = std::find(row.updatedNames.begin(), row.updatedNames.end(), name) !=
                       row.updatedNames.end();
        if (inputsOf(row).count(name) == 0 && !isLog(name) && !updated) outputs.push_back(name);
    }
    for (const std::string& name : outputs) {
        // The output as it is named, and with its extension in the other case.
        fs::path upper = name;
        std::string extension = upper.extension().string();
        for (char& c : extension) {
            if (std::isalpha(static_cast<unsigned char>(c))) c = static_cast<char>(c ^ 0x20);
        }
        for (const std::string& existing : {name, upper.replace_extension(extension).string()}) {
            Snapshot before = inputsOf(row);
            before[existing] = "a user's file";
            Outcome outcome =
                runIn([&](const TempDir& dir) { dir.write(existing, "a user's file"); });
            EXPECT_TRUE(outcome.result == -115 || outcome.result == -1401)
                << existing << ": " << outcome.result;
            EXPECT_EQ(outcome.files, before) << existing << " exists: nothing may change";
        }
    }
}

TEST_P(FaultMatrix, InputsNamedLikeTheirLog) {
    const JobRow& row = GetParam();
    for (const char* extension : {".ERR", ".err"}) {
        std::string named = fs::path(row.inputName).replace_extension(extension).string();
        TempDir dir;
        for (const auto& [name, bytes] : row.extraFiles) dir.write(name, bytes);
        std::string input = dir.write(named, row.input);
        int result = row.run(input);
        EXPECT_TRUE(result == -904 || result == -101 || extension != std::string(".ERR") ||
                    row.inPlace)
            << named << ": " << result;
        EXPECT_EQ(readFile(input), row.input) << named << " must not be truncated by its own log";
    }
}

// Files with the names of backups (an in-place job takes the next free
// one) stay as they are, and the job does what it does without them.
TEST_P(FaultMatrix, ExistingBackupsStayAsTheyAre) {
    Outcome clean = reference();
    const std::string base = fs::path(GetParam().inputName).stem().string();
    Snapshot backups = {{base + ".OLD", "first backup"}, {base + ".001", "second backup"}};
    Outcome outcome = runIn([&](const TempDir& dir) {
        for (const auto& [name, bytes] : backups) dir.write(name, bytes);
    });
    Snapshot expected = clean.files;
    expected.insert(backups.begin(), backups.end());
    EXPECT_EQ(outcome.result, clean.result);
    EXPECT_EQ(outcome.files, expected);
}

TEST_P(FaultMatrix, LongPaths) {
    const JobRow& row = GetParam();
    for (std::size_t length : {259u, 260u, 300u}) {
        TempDir dir;
        // A folder name that brings the input's full path to `length`.
        // Folders of at most 100 characters each: file systems limit a name.
        fs::path folder = dir.path();
        std::size_t wanted = length - row.inputName.size() - 1;
        while (folder.string().size() < wanted) {
            std::size_t room = wanted - folder.string().size() - 1;
            folder /= std::string(std::max<std::size_t>(1, std::min<std::size_t>(room, 100)), 'f');
        }
        fs::create_directories(folder);
        std::string input = (folder / row.inputName).string();
        ASSERT_EQ(input.size(), length);
        for (const auto& [name, bytes] : row.extraFiles) {
            tessel::test::writeFile((folder / name).string(), bytes);
        }
        tessel::test::writeFile(input, row.input);
        int result = row.run(input);
        EXPECT_TRUE(readFile(input) == row.input || row.inPlace) << length;
        if (length > 259) {
            EXPECT_EQ(result, row.cannotOpenCode) << length << " characters do not fit";
        }
        if (result < 0 && result != -113) {
            for (const auto& [name, bytes] : snapshotOf(folder)) {
                EXPECT_TRUE(inputsOf(row).count(name) != 0 || (isLog(name) && !bytes.empty()))
                    << length << ": " << name << " left after " << result;
            }
        }
    }
}

// The folder of the input (and so of every output) is on a file system
// mounted read-only, or on one that is full: the job must fail, leave every
// file as it was and create nothing; on the full one a file it could create
// must not stay behind empty or partial.
TEST_P(FaultMatrix, ReadOnlyAndFullFileSystems) {
    const JobRow& row = GetParam();
    for (bool readOnly : {true, false}) {
        SmallFileSystem disk(256 * 1024);
        if (!disk.mounted()) GTEST_SKIP() << "no right to mount a small tmpfs here";
        for (const auto& [name, bytes] : inputsOf(row))
            tessel::test::writeFile(disk.file(name), bytes);
        if (readOnly) {
            ASSERT_TRUE(disk.makeReadOnly());
        } else {
            disk.fill();
        }
        const char* what = readOnly ? "read-only" : "full";
        int result = 0;
        {
            tessel::platform::MessageBoxCapture quiet;
            result = row.run(disk.file(row.inputName));
        }
        EXPECT_LT(result, 0) << what;
        EXPECT_NE(result, -113) << what << ": no log can hold the messages";
        Snapshot after = snapshotOf(disk.root());
        after.erase(SmallFileSystem::kBallast);
        EXPECT_EQ(after, inputsOf(row)) << what << ": nothing may change or stay behind";
    }
}

#ifdef TESSEL_FAULT_INJECTION

using tessel::platform::FaultPlan;
using tessel::platform::FileOperation;

TEST_P(FaultMatrix, EveryFileOperationFailingInTurn) {
    Outcome clean = reference();
    const Snapshot before = inputsOf(GetParam());
    struct Kind {
        FileOperation operation;
        std::uint64_t writeLimit;
        const char* name;
    };
    const std::vector<Kind> kinds = {
        {FileOperation::Open, 0, "open"},
        {FileOperation::Write, 0, "write (disk full at once)"},
        {FileOperation::Write, 1, "write (disk full after 1 byte)"},
        {FileOperation::Write, 100, "write (disk full after 100 bytes)"},
        {FileOperation::Rename, 0, "rename"},
        {FileOperation::Remove, 0, "remove"}};
    // Each operation fails from its turn on (a disk that stays full), and
    // alone (a file that is written last and finds the disk full).
    for (const Kind& kind : kinds) {
        for (int times : {0, 1}) {
            for (int skip = 0;; ++skip) {
                // Every operation of the job gets its turn; a job that never
                // ends its operations would never end this loop either.
                ASSERT_LT(skip, 64) << kind.name << ": more operations than any job makes";
                FaultPlan plan;
                plan.operation = kind.operation;
                plan.skip = skip;
                plan.writeLimit = kind.writeLimit;
                plan.times = times;
                Outcome outcome =
                    runIn([](const TempDir&) {}, [&] { tessel::platform::injectFault(plan); });
                // The count of the run outlives clearFaults().
                if (tessel::platform::faultsStruck() == 0) break;
                std::string what = std::string(kind.name) + (times == 0 ? " from #" : " only #") +
                                   std::to_string(skip + 1);
                if (kind.operation == FileOperation::Remove) {
                    // A file that could not be removed stays (a backup: -110; an
                    // empty log: -114). What must hold: the output is complete or
                    // absent, and a failed job keeps the original text.
                    bool originalKept = false;
                    for (const auto& [name, bytes] : outcome.files) {
                        originalKept = originalKept || bytes == GetParam().input;
                        auto complete = clean.files.find(name);
                        if (complete != clean.files.end() && !isLog(name) &&
                            before.count(name) == 0) {
                            EXPECT_TRUE(complete->second == bytes) << what << ": partial " << name;
                        }
                    }
                    bool failed = outcome.result < 0 && outcome.result != -113 &&
                                  outcome.result != -114 && outcome.result != -110;
                    EXPECT_TRUE(originalKept || !failed) << what << ": " << outcome.result;
                    continue;
                }
                expectUnchangedOrCleanFailure(outcome, clean, before, what);
            }
        }
    }
}

#endif

INSTANTIATE_TEST_SUITE_P(Exports, FaultMatrix, ::testing::ValuesIn(tessel::test::jobRows()),
                         [](const ::testing::TestParamInfo<JobRow>& info) {
                             std::string name;
                             for (char c : info.param.name) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                             }
                             return name;
                         });

}  // namespace
