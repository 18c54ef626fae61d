#include "platform/paths.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/format.h"
#include "support/temp_dir.h"

namespace tessel::platform {
namespace {

TEST(SplitPath, SeparatesDriveFolderBaseNameAndExtension) {
    PathParts parts = splitPath("C:\\docs\\sub/report.final.htm");
    EXPECT_EQ(parts.drive, "C:");
    EXPECT_EQ(parts.directory, "\\docs\\sub/");
    EXPECT_EQ(parts.baseName, "report.final");
    EXPECT_EQ(parts.extension, ".htm");

    parts = splitPath("dir.v2/readme");
    EXPECT_EQ(parts.directory, "dir.v2/");
    EXPECT_EQ(parts.baseName, "readme");
    EXPECT_EQ(parts.extension, "");

    parts = splitPath("plain.txt");
    EXPECT_EQ(parts.directory, "");
    EXPECT_EQ(parts.baseName, "plain");
}

TEST(WithExtension, DotIsOptionalAndOnlyTheFileNameChanges) {
    EXPECT_EQ(withExtension("/a/b.rtf", "txt"), "/a/b.txt");
    EXPECT_EQ(withExtension("/a/b.rtf", ".txt"), "/a/b.txt");
    EXPECT_EQ(withExtension("/a.d/b", "ERR"), "/a.d/b.ERR");
    EXPECT_EQ(withExtension("b.tar.gz", "OLD"), "b.tar.OLD");
    EXPECT_EQ(withExtension("x\\y.htm", ".rtf"), "x\\y.rtf");
}

TEST(WithoutExtension, StopsAtTheLastDotOfTheFileName) {
    EXPECT_EQ(withoutExtension("/a/b.rtf"), "/a/b");
    EXPECT_EQ(withoutExtension("/a.d/b"), "/a.d/b");
    EXPECT_EQ(withoutExtension("name"), "name");
}

TEST(SameName, IgnoresAsciiCaseOnly) {
    EXPECT_TRUE(sameNameIgnoringCase("A.TXT", "a.txt"));
    EXPECT_FALSE(sameNameIgnoringCase("a.txt", "a.txt "));
    EXPECT_FALSE(sameNameIgnoringCase("\xC9.txt", "\xE9.txt"));
}

TEST(FillPlaceholders, SubstitutesInOrderAndKeepsZeroBytes) {
    std::string quoted("a\0b", 3);
    EXPECT_EQ(fillPlaceholders("[%d] %s|%s", {"3", quoted, "z"}), "[3] " + quoted + "|z");
    EXPECT_EQ(fillPlaceholders("100%", {}), "100%");
    EXPECT_EQ(fillPlaceholders("%s%s", {"only"}), "only");
}

TEST(Files, FindsAnOutputWhateverTheCaseOfItsExtension) {
    test::TempDir dir;
    dir.write("doc.RTF", "x");
    EXPECT_EQ(findFileAnyExtensionCase(dir.file("doc.rtf")), dir.file("doc.RTF"));
    EXPECT_TRUE(outputExists(dir.file("doc.Rtf")));
    EXPECT_FALSE(outputExists(dir.file("DOC.rtf"))) << "base names keep their case";
    EXPECT_FALSE(outputExists(dir.file("doc.rtf.bak")));
}

TEST(Files, RenameNeverReplacesAnExistingFile) {
    test::TempDir dir;
    auto from = dir.write("a.txt", "new");
    auto to = dir.write("a.OLD", "precious");
    EXPECT_EQ(renameFile(from, to), RenameResult::TargetExists);
    EXPECT_EQ(test::readFile(to), "precious");
    EXPECT_EQ(renameFile(from, dir.file("a.old2")), RenameResult::Ok);
    EXPECT_FALSE(fileExists(from));
    EXPECT_EQ(renameFile(dir.file("gone"), dir.file("b")), RenameResult::Failed);
}

TEST(Files, CreatesMissingParentFoldersAndAcceptsBareNames) {
    test::TempDir dir;
    EXPECT_TRUE(createParentDirectories(dir.file("x/y/z.rtf")));
    EXPECT_TRUE(isDirectory(dir.file("x/y")));
    EXPECT_TRUE(createParentDirectories("bare-name.rtf"));
    dir.write("plain", "");
    EXPECT_FALSE(createParentDirectories(dir.file("plain/sub/f.rtf")));
}

}  // namespace
}  // namespace tessel::platform
