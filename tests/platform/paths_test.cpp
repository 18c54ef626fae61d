#include "platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "platform/format.h"
#include "support/temp_dir.h"

namespace tessel::platform {
namespace {

// The command-line tool filters the files of walked folders with these
// patterns; Windows names compare ignoring case, so the patterns do too.
TEST(WildcardMatches, StarsQuestionMarksAndSetsIgnoringCase) {
    EXPECT_TRUE(wildcardMatches("*.htm*", "Index.HTML"));
    EXPECT_TRUE(wildcardMatches("*.rtf", "a.b.RTF"));
    EXPECT_FALSE(wildcardMatches("*.rtf", "a.rtf.bak"));
    EXPECT_TRUE(wildcardMatches("doc?.txt", "doc1.txt"));
    EXPECT_FALSE(wildcardMatches("doc?.txt", "doc.txt"));
    EXPECT_TRUE(wildcardMatches("*", ""));
    EXPECT_FALSE(wildcardMatches("?", ""));
    EXPECT_TRUE(wildcardMatches("a*b*c", "aXXbYYbZc"));
    EXPECT_FALSE(wildcardMatches("a*b*c", "aXXbYYbZ"));
    EXPECT_TRUE(wildcardMatches("[a-c]*.sgm", "Book.sgm"));
    EXPECT_FALSE(wildcardMatches("[!a-c]*.sgm", "book.sgm"));
    EXPECT_TRUE(wildcardMatches("[!a-c]*.sgm", "guide.sgm"));
    // A set without its "]" is a literal "[".
    EXPECT_TRUE(wildcardMatches("x[1", "x[1"));
    EXPECT_FALSE(wildcardMatches("x[1", "x1"));
    // Many stars over a long name stay linear enough to finish at once.
    EXPECT_FALSE(wildcardMatches("*a*a*a*a*a*a*a*b", std::string(5000, 'a')));
}

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
#ifdef _WIN32
    // Windows names ignore case altogether: "DOC.rtf" is the same file.
    EXPECT_TRUE(outputExists(dir.file("DOC.rtf")));
#else
    EXPECT_FALSE(outputExists(dir.file("DOC.rtf"))) << "base names keep their case";
#endif
    EXPECT_FALSE(outputExists(dir.file("doc.rtf.bak")));
}

#ifndef _WIN32
// Short extensions are looked for spelling by spelling, long or non-ASCII
// ones in the folder's listing: both must find the same entries, of any
// kind, that differ only in the case of the extension.
TEST(Files, EveryKindOfEntryCountsByBothWaysOfLooking) {
    test::TempDir dir;
    dir.write("short.Rtf", "x");
    dir.write("long.HtmLXx", "x");
    dir.write("latin.T\xC9x", "x");
    std::filesystem::create_directory(dir.file("folder.ERR"));
    std::filesystem::create_symlink(dir.file("nowhere"), dir.file("broken.TmP"));
    EXPECT_EQ(findFileAnyExtensionCase(dir.file("short.rtf")), dir.file("short.Rtf"));
    EXPECT_EQ(findFileAnyExtensionCase(dir.file("long.htmlxx")), dir.file("long.HtmLXx"));
    EXPECT_EQ(findFileAnyExtensionCase(dir.file("latin.t\xC9X")), dir.file("latin.T\xC9x"));
    EXPECT_EQ(findFileAnyExtensionCase(dir.file("folder.err")), dir.file("folder.ERR"));
    EXPECT_EQ(findFileAnyExtensionCase(dir.file("broken.tmp")), dir.file("broken.TmP"));
    // The exact name is found first; other names and bases never match.
    dir.write("both.rtf", "x");
    dir.write("both.RTF", "x");
    EXPECT_EQ(findFileAnyExtensionCase(dir.file("both.rtf")), dir.file("both.rtf"));
    // Then every letter turned, as the job logs are spelled, before mixes.
    dir.write("mixed.Err", "x");
    dir.write("mixed.ERR", "x");
    EXPECT_EQ(findFileAnyExtensionCase(dir.file("mixed.err")), dir.file("mixed.ERR"));
    EXPECT_FALSE(outputExists(dir.file("short.rtx")));
    EXPECT_FALSE(outputExists(dir.file("Short.rtf")));
    EXPECT_FALSE(outputExists(dir.file("long.htmlx")));
    EXPECT_FALSE(outputExists(dir.file("missing/short.rtf")));
}
#endif

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
