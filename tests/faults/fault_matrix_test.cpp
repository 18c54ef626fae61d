// Every export under every fault around it: a missing, empty or odd input,
// an existing output or backup, names too long, and each open, write, rename
// and remove of the job failing in turn. Whatever happens the job returns a
// code; it either does exactly what it does without the fault, or it fails
// and leaves the input as it was, every file it did not create unchanged,
// and no partial output or empty log behind.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/fault_seam.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;
using tessel::test::readFile;
using tessel::test::TempDir;
using tessel::test::withoutDate;

using Snapshot = std::map<std::string, std::string>;

// Every file of the folder with its bytes; log dates are blanked.
Snapshot snapshotOf(const fs::path& folder) {
    Snapshot files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::string name = fs::relative(entry.path(), folder).string();
        files[name] = withoutDate(readFile(entry.path().string()));
    }
    return files;
}

bool isLog(const std::string& name) {
    std::string extension = fs::path(name).extension().string();
    return extension == ".ERR" || extension == ".err";
}

int runTextEngine(const std::string& input, int code, const char* extension) {
    std::array<char, 300> path{};
    input.copy(path.data(), std::min(input.size(), path.size() - 1));
    return funciTextReadWriteParser(path.data(), code, 1, extension);
}

// One export with an input that exercises its whole path: messages in the
// log, a second pass, a working copy or a backup.
struct JobRow {
    std::string name;
    std::string inputName;
    std::string input;
    std::function<int(const std::string& inputPath)> run;
    Snapshot extraFiles = {};  // beside the input, such as a tag file
    bool inPlace = false;
};

const std::string kRtf =
    "{\\rtf1 \\ansi {\\fonttbl {\\f1 Courier;}}{\\cs6 <B>}caf\\'e9 text\\par\n"
    "{\\cs5 <P>}line \\ldblquote two\\rdblquote\\par\n}";
const std::string kMacPageMakerRtf =
    "{\\rtf1 \\ansi {\\cs5 <PMTags1.0 mac>}\\par\nCaf\\'e9 \\'80 euro\\par\n}";
const std::string kHtml =
    "<HTML><BODY>\n<P>Caf&eacute; <B>bold</B> <ABBR>x</ABBR>\nAT&T\n<A HREF=\"a\"\n"
    "TITLE=\"t\">l</A>\n</BODY></HTML>\n";

std::vector<JobRow> jobRows() {
    return {
        {"line breaks in place",
         "doc.txt",
         "one\rtwo\nthree\r\n",
         [](const std::string& p) { return runTextEngine(p, 613, nullptr); },
         {},
         true},
        {"ANSI to Macintosh", "doc.txt", "euro \x80 caf\xe9\n",
         [](const std::string& p) { return runTextEngine(p, 611, ".mac"); }},
        {"entities", "doc.txt", "a < b & caf\xe9\n",
         [](const std::string& p) { return runTextEngine(p, 901, ".htm"); }},
        {"HTML mark-up", "page.htm", kHtml,
         [](const std::string& p) { return f_iHTML2RTF(p.c_str(), nullptr); }},
        {"HTML mark-up with a tag file",
         "page.htm",
         kHtml,
         [](const std::string& p) {
             std::string tags = (fs::path(p).parent_path() / "tags.txt").string();
             return f_iHTML2RTF(p.c_str(), tags.c_str());
         },
         {{"tags.txt", "ABBR\tE\n"}}},
        {"RTF to HTML", "back.rtf", kRtf,
         [](const std::string& p) { return f_iRTF2HTML(p.c_str(), ".htm"); }},
        {"RTF to text", "back.rtf", kRtf,
         [](const std::string& p) { return f_iRTF2Text(p.c_str(), ".txt"); }},
        {"RTF to Macintosh PageMaker", "back.rtf", kMacPageMakerRtf,
         [](const std::string& p) { return f_iRTF2PageMaker(p.c_str(), ".txt"); }},
        {"PageMaker mark-up", "pm.txt", "<PMTags1.0 win>\n<@Body:>Hello <B>bold<P>\n",
         [](const std::string& p) { return f_iPageMaker2RTF(p.c_str()); }},
        {"PageMaker mark-up with a syntax error", "pm.txt", "<PMTags1.0 win>\n<@Body:>a <B\n",
         [](const std::string& p) { return f_iPageMaker2RTF(p.c_str()); }},
    };
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
                    << what << ": " << name << " existed and was changed";
                continue;
            }
            if (isLog(name)) {
                EXPECT_FALSE(bytes.empty()) << what << ": empty log " << name;
                continue;
            }
            auto complete = clean.files.find(name);
            bool isCompleteOutput = complete != clean.files.end() && complete->second == bytes;
            bool isBackup = row.inPlace && bytes == row.input;
            EXPECT_TRUE(isCompleteOutput || isBackup) << what << ": partial or stray file " << name;
        }
        EXPECT_TRUE(originalKept) << what << ": the original text is gone";
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
    EXPECT_EQ(missing.result, -101);
    Snapshot extras = row.extraFiles;
    EXPECT_EQ(missing.files, extras) << "nothing created for a missing input";

    Outcome folder = runIn([&](const TempDir& dir) {
        fs::remove(dir.file(row.inputName));
        fs::create_directory(dir.file(row.inputName));
    });
    EXPECT_EQ(folder.result, -101);
    EXPECT_EQ(folder.files, extras) << "nothing created for a folder as input";

    Outcome empty = runIn([&](const TempDir& dir) { dir.write(row.inputName, ""); });
    for (const auto& [name, bytes] : empty.files) {
        EXPECT_FALSE(isLog(name) && bytes.empty()) << "empty log " << name;
    }
}

TEST_P(FaultMatrix, ExistingFilesAreNeverReplaced) {
    const JobRow& row = GetParam();
    Outcome clean = reference();
    ASSERT_FALSE(clean.files == inputsOf(row)) << "the reference run writes something";
    for (const auto& [name, bytes] : clean.files) {
        if (inputsOf(row).count(name) != 0 || isLog(name)) continue;
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

TEST_P(FaultMatrix, ExistingBackupsStayAsTheyAre) {
    const JobRow& row = GetParam();
    if (!row.inPlace) GTEST_SKIP() << "only in-place jobs make backups";
    Snapshot backups = {{"doc.OLD", "first backup"}, {"doc.001", "second backup"}};
    Outcome outcome = runIn([&](const TempDir& dir) {
        for (const auto& [name, bytes] : backups) dir.write(name, bytes);
    });
    EXPECT_GE(outcome.result, 0);
    for (const auto& [name, bytes] : backups) EXPECT_EQ(outcome.files[name], bytes);
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
            EXPECT_EQ(result, -101) << length << " characters do not fit";
        }
        if (result < 0 && result != -113) {
            for (const auto& [name, bytes] : snapshotOf(folder)) {
                EXPECT_TRUE(inputsOf(row).count(name) != 0 || (isLog(name) && !bytes.empty()))
                    << length << ": " << name << " left after " << result;
            }
        }
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
    for (const Kind& kind :
         {Kind{FileOperation::Open, 0, "open"},
          Kind{FileOperation::Write, 0, "write (disk full at once)"},
          Kind{FileOperation::Write, 100, "write (disk full after 100 bytes)"},
          Kind{FileOperation::Rename, 0, "rename"}, Kind{FileOperation::Remove, 0, "remove"}}) {
        for (int skip = 0; skip < 32; ++skip) {
            FaultPlan plan;
            plan.operation = kind.operation;
            plan.skip = skip;
            plan.writeLimit = kind.writeLimit;
            Outcome outcome =
                runIn([](const TempDir&) {}, [&] { tessel::platform::injectFault(plan); });
            // The count of the run outlives clearFaults().
            if (tessel::platform::faultsStruck() == 0) break;
            std::string what = std::string(kind.name) + " #" + std::to_string(skip + 1);
            if (kind.operation == FileOperation::Remove) {
                // A file that could not be removed stays (a backup: -110; an
                // empty log: -114). What must hold: the output is complete or
                // absent, and a failed job keeps the original text.
                bool originalKept = false;
                for (const auto& [name, bytes] : outcome.files) {
                    originalKept = originalKept || bytes == GetParam().input;
                    auto complete = clean.files.find(name);
                    if (complete != clean.files.end() && !isLog(name) && before.count(name) == 0) {
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

#endif

INSTANTIATE_TEST_SUITE_P(Exports, FaultMatrix, ::testing::ValuesIn(jobRows()),
                         [](const ::testing::TestParamInfo<JobRow>& info) {
                             std::string name;
                             for (char c : info.param.name) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                             }
                             return name;
                         });

}  // namespace
