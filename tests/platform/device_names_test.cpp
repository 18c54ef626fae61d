// The Windows device names that no job may take for a file: the classifier
// on its own (every platform), and the writes refused on Windows.
#include "platform/device_names.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <cerrno>
#include <filesystem>

#include "faults/job_rows.h"
#include "platform/message_box.h"
#include "platform/safe_files.h"
#include "platform/streams.h"
#include "support/temp_dir.h"
#endif

namespace {

using tessel::platform::isWindowsDeviceName;

TEST(WindowsDeviceNames, DevicesInAnyCaseWithAnyExtensionInAnyFolder) {
    for (const char* name :
         {"CON", "con", "NUL.txt", "aux.htm", "Prn.rtf", "nul.tar.gz", "COM1", "com9.log", "LPT0",
          "lpt3.ERR", "CONIN$", "conout$.txt", "dir/aux.rtf", "C:\\work\\NUL.txt", "C:nul",
          "nul .txt", "AUX ", "COM\xB9.htm", "lpt\xB2"}) {
        EXPECT_TRUE(isWindowsDeviceName(name)) << name;
    }
}

TEST(WindowsDeviceNames, OrdinaryNamesThatLookAlike) {
    for (const char* name : {"console.htm", "null.txt", "auxiliary.rtf", "COM10", "LPT", "com1x",
                             "a.aux", "aux/page.htm", "nul/x.rtf", ".aux.rtf~A1B2C3.tmp", "", "x.",
                             "CONIN", "COM\xB4", "dir\\ con"}) {
        EXPECT_FALSE(isWindowsDeviceName(name)) << name;
    }
}

#ifdef _WIN32

using tessel::test::TempDir;

std::size_t entriesIn(const TempDir& dir) {
    std::size_t count = 0;
    for (auto it = std::filesystem::directory_iterator(dir.path());
         it != std::filesystem::directory_iterator(); ++it) {
        ++count;
    }
    return count;
}

// A device under an output's name is refused before anything is written.
TEST(WindowsDeviceNames, WritesToDeviceNamesAreRefused) {
    TempDir dir;
    for (const char* name : {"CON", "NUL.txt", "aux.htm", "com1.rtf", "lpt1"}) {
        EXPECT_EQ(tessel::platform::unusableFinalName(dir.file(name)), EINVAL) << name;
        tessel::platform::OutputStream output;
        EXPECT_FALSE(output.open(dir.file(name), tessel::platform::StreamMode::Binary,
                                 tessel::platform::ExistingName::Replace))
            << name;
    }
    EXPECT_EQ(entriesIn(dir), 0u);
}

// Every job given a device as its input ("CON", "NUL.txt", "aux.htm" with the
// job's own extension) refuses it at once, without reading the device,
// writing nothing: as an input that is not a regular file, or, since the
// output name it would write ("aux.rtf") names a device too, as an output it
// may not write (cannot open, or taken) where the job looks at its output
// first. Which of the two a job meets first depends on what the system says
// of the name (Wine answers differently from run to run).
// The refusals of an output a job may not write.
constexpr int kCannotOpenOutput = -102;
constexpr int kOutputExists = -115;
constexpr int kRtfOutputExists = -1401;

TEST(WindowsDeviceNames, EveryJobRefusesADeviceAsItsInput) {
    for (const tessel::test::JobRow& row : tessel::test::jobRows()) {
        std::string extension = std::filesystem::path(row.inputName).extension().string();
        for (std::string stem : {"CON", "NUL", "aux"}) {
            TempDir dir;
            for (const auto& [name, bytes] : row.extraFiles) dir.write(name, bytes);
            const std::size_t before = entriesIn(dir);
            std::string input = dir.file(stem + extension);
            {
                tessel::platform::MessageBoxCapture quiet;
                const int result = row.run(input);
                const bool refused = result == row.cannotOpenCode || result == kCannotOpenOutput ||
                                     result == kOutputExists || result == kRtfOutputExists;
                EXPECT_TRUE(refused) << row.name << ": " << input << ": " << result;
            }
            EXPECT_EQ(entriesIn(dir), before) << row.name << ": " << input << ": " << dir.listing();
        }
    }
}

#endif  // _WIN32

}  // namespace
