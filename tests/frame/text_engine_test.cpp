// Whole jobs of the line-by-line engine: names, backups, line reading,
// character tables, logs and clean-up.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstring>
#include <filesystem>

#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

using tessel::test::exists;
using tessel::test::readFile;
using tessel::test::TempDir;
using tessel::test::withoutDate;

struct PathBuffer {
    explicit PathBuffer(const std::string& path) {
        std::memset(bytes, 0, sizeof bytes);
        std::strncpy(bytes, path.c_str(), sizeof bytes - 1);
    }
    char bytes[260];
};

int run(const std::string& path, int code, bool deleteBackup, const char* extension,
        std::string* outputName = nullptr) {
    PathBuffer buffer(path);
    int result = funciTextReadWriteParser(buffer.bytes, code, deleteBackup ? 1 : 0, extension);
    if (outputName != nullptr) *outputName = buffer.bytes;
    return result;
}

TEST(LineBreaks, InPlaceWithLoneCarriageReturnsKeepsTheBackup) {
    TempDir dir;
    auto path = dir.write("b.txt", "one\rtwo\rthree\r");
    EXPECT_EQ(run(path, 613, false, nullptr), 3);
    EXPECT_EQ(readFile(path), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(readFile(dir.file("b.OLD")), "one\rtwo\rthree\r");
    EXPECT_EQ(dir.listing(), "b.OLD b.txt") << "no log is left when nothing went wrong";
}

TEST(LineBreaks, InPlaceDeletesTheBackupWhenAsked) {
    TempDir dir;
    auto path = dir.write("b.txt", "x\ny\n");
    EXPECT_EQ(run(path, 613, true, ""), 2);
    EXPECT_EQ(dir.listing(), "b.txt");
}

TEST(LineBreaks, LineEndRulesOfTheReader) {
    TempDir dir;
    // LF, LF CR (one line end), lone CR, CR LF, and a last line without an end
    // that is transformed together with the line before it.
    auto path = dir.write("m.txt", "a\nb\n\rc\rd\r\ne");
    std::string output;
    EXPECT_EQ(run(path, 613, false, "out", &output), 4);
    EXPECT_EQ(output, dir.file("m.out"));
    EXPECT_EQ(readFile(output), "a\r\nb\r\nc\r\nd\r\ne");
}

TEST(LineBreaks, EmptyFileIsOneEmptyTransformation) {
    TempDir dir;
    auto path = dir.write("e.txt", "");
    EXPECT_EQ(run(path, 613, false, "out"), 1);
    EXPECT_EQ(readFile(dir.file("e.out")), "");
}

TEST(LineBreaks, LongLinesAreOneLineAndZeroBytesSurvive) {
    TempDir dir;
    std::string longLine(10000, 'L');
    longLine[5000] = '\0';
    std::string huge(3 * 1024 * 1024, 'H');
    auto path = dir.write("l.txt", longLine + "\n" + huge + "\nend\n");
    EXPECT_EQ(run(path, 613, false, "out"), 3);
    EXPECT_EQ(readFile(dir.file("l.out")), longLine + "\r\n" + huge + "\r\nend\r\n");
}

TEST(MacintoshPass, UnconvertibleCharacterIsLoggedAndReplaced) {
    TempDir dir;
    auto path = dir.write("p.txt", "euro \x80 here\nfine\n");
    EXPECT_EQ(run(path, 611, false, "mac"), -113);
    EXPECT_EQ(readFile(dir.file("p.mac")), "euro ^ here\rfine\r");
    std::string log = withoutDate(readFile(dir.file("p.ERR")));
    const std::string separator(58, '-');
    EXPECT_NE(log.find("[1] One or more characters could not be converted, since no "
                       "corresponding character exists.\r\nIn the text segment below these "
                       "characters have been replaced with ^.\r\n" +
                       separator + "\r\neuro ^ here\r\n\r\n" + separator + "\r\n\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("\t1 error reported in this file.\r\n\t0 changes made in the output "
                       "file.\r\n\tThe original file is saved as " +
                       path + "\r\n"),
              std::string::npos)
        << log;
}

TEST(MacintoshPass, CharactersRoundTripBetweenTheSets) {
    TempDir dir;
    // e acute, en dash, bullet, left double quote in ANSI.
    auto path = dir.write("r.txt", "caf\xE9 \x96 \x95 \x93q\x94\n");
    EXPECT_EQ(run(path, 611, false, "mac"), 0);
    std::string mac = readFile(dir.file("r.mac"));
    EXPECT_EQ(mac, "caf\x8E \xD1 \xA5 \xD2q\xD3\r");
    // Back: the Macintosh file's CR line ends are read as line ends.
    EXPECT_EQ(run(dir.file("r.mac"), 610, false, "ansi"), 0);
    EXPECT_EQ(readFile(dir.file("r.ansi")), "caf\xE9 \x96 \x95 \x93q\x94\r\n");
}

TEST(Names, OutputEqualToInputIgnoringCaseTouchesNothing) {
    TempDir dir;
    auto path = dir.write("a.txt", "x\n");
    EXPECT_EQ(run(path, 613, false, "TXT"), -904);
    EXPECT_EQ(dir.listing(), "a.txt");
    EXPECT_EQ(readFile(path), "x\n");
}

TEST(Names, ExistingOutputIsRefusedWhateverTheCaseOfItsExtension) {
    TempDir dir;
    auto path = dir.write("a.txt", "x\n");
    dir.write("a.OUT", "keep");
    std::string output;
    EXPECT_EQ(run(path, 613, false, "out", &output), -115);
    EXPECT_EQ(output, dir.file("a.out")) << "the buffer holds the output name after a failure";
    EXPECT_EQ(readFile(dir.file("a.OUT")), "keep");
    EXPECT_EQ(dir.listing(), "a.OUT a.txt");
}

TEST(Names, SecondRunIsRefusedWhileTheFirstOutputExists) {
    TempDir dir;
    auto path = dir.write("a.txt", "x\n");
    EXPECT_EQ(run(path, 613, false, "tmp"), 1);
    EXPECT_EQ(run(path, 613, false, "tmp"), -115);
}

TEST(Names, InputNamedLikeItsLogIsRefused) {
    TempDir dir;
    auto path = dir.write("a.ERR", "data\n");
    EXPECT_EQ(run(path, 613, false, "txt"), -904);
    EXPECT_EQ(run(path, 613, false, nullptr), -904);
    EXPECT_EQ(readFile(path), "data\n");
    EXPECT_EQ(dir.listing(), "a.ERR");
}

TEST(Backups, NumberedNamesFollowTheOldOne) {
    TempDir dir;
    auto path = dir.write("b.txt", "x\n");
    dir.write("b.OLD", "old");
    dir.write("b.001", "one");
    EXPECT_EQ(run(path, 613, false, nullptr), 1);
    EXPECT_EQ(readFile(dir.file("b.002")), "x\n");
    EXPECT_EQ(readFile(dir.file("b.OLD")), "old");
    EXPECT_EQ(readFile(dir.file("b.001")), "one");
}

TEST(Backups, NoFreeBackupNameFailsWithoutTouchingTheInput) {
    TempDir dir;
    auto path = dir.write("b.txt", "x\n");
    dir.write("b.OLD", "");
    for (int i = 1; i <= 999; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "b.%03d", i);
        dir.write(name, "");
    }
    EXPECT_EQ(run(path, 613, false, nullptr), -102);
    EXPECT_EQ(readFile(path), "x\n");
}

TEST(Failures, UnsupportedCodesTouchNothing) {
    TempDir dir;
    auto path = dir.write("k.txt", "x\n");
    EXPECT_EQ(run(path, 606, false, nullptr), -1000);
    EXPECT_EQ(dir.listing(), "k.txt");
}

TEST(Failures, CodeRejectedPerLineRestoresTheOriginal) {
    TempDir dir;
    auto path = dir.write("k.txt", "x\ny\n");
    EXPECT_EQ(run(path, 999, true, nullptr), -1000);
    EXPECT_EQ(readFile(path), "x\ny\n");
    EXPECT_EQ(dir.listing(), "k.txt") << "output deleted, backup renamed back, log deleted";
}

TEST(Failures, MissingInputsFoldersAndOverlongNames) {
    TempDir dir;
    EXPECT_EQ(run(dir.file("missing.txt"), 613, false, nullptr), -101);
    EXPECT_EQ(run(dir.file("missing.txt"), 613, false, "out"), -101);
    EXPECT_EQ(run(dir.path().string(), 613, false, "out"), -101);
    EXPECT_EQ(funciTextReadWriteParser(nullptr, 613, 0, "out"), -101);
    std::string longName = dir.file(std::string(255, 'n') + ".txt");
    PathBuffer buffer(longName);
    EXPECT_EQ(funciTextReadWriteParser(buffer.bytes, 613, 0, "out"), -101);
    EXPECT_EQ(dir.listing(), "");
}

// Folder permission bits are POSIX; Windows keeps access rights in ACLs.
#ifndef _WIN32
TEST(Failures, ReadOnlyFolderKeepsTheInputUnderItsName) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    auto path = dir.write("r.txt", "x\n");
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_EQ(run(path, 613, false, "out"), -102);
    EXPECT_EQ(run(path, 613, false, nullptr), -106);
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(dir.listing(), "r.txt");
}
#endif  // !_WIN32

TEST(Failures, UnwritableLogLeavesNoOutputAndRestoresTheName) {
    TempDir dir;
    auto path = dir.write("w.txt", "x\n");
    // A folder in the log's place: the log cannot be created.
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("w.ERR")));
    EXPECT_EQ(run(path, 613, false, nullptr), -102);
    EXPECT_EQ(run(path, 613, false, "out"), -102);
    EXPECT_EQ(readFile(path), "x\n");
    EXPECT_EQ(dir.listing(), "w.ERR w.txt");
}

}  // namespace
