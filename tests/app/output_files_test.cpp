// Output and error-log names, and finding files whatever the case of their
// extension.
#include "core/output_files.h"

#include <gtest/gtest.h>

#include "fake_batch.h"

namespace tessel::app {
namespace {

using testing::ScratchFolder;
using testing::writeFile;

TEST(OutputName, ReplacesTheExtensionOfTheFileName) {
    EXPECT_EQ(outputNameFor("doc/a.txt", ".rtf"), "doc/a.rtf");
    EXPECT_EQ(outputNameFor("a.b.htm", ".rtf"), "a.b.rtf");
    EXPECT_EQ(outputNameFor("noext", ".rtf"), "noext.rtf");
    EXPECT_EQ(outputNameFor("a.txt", "out"), "a.out");
}

TEST(OutputName, DotInAFolderNameIsNoExtension) {
    EXPECT_EQ(outputNameFor("release.v2/notes", ".rtf"), "release.v2/notes.rtf");
    EXPECT_EQ(outputNameFor("C:\\jobs.old\\notes", ".txt"), "C:\\jobs.old\\notes.txt");
}

TEST(OutputName, EmptyExtensionIsTheInputItself) {
    EXPECT_EQ(outputNameFor("doc/a.txt", ""), "doc/a.txt");
}

TEST(ErrorLogName, NextToTheOutput) {
    EXPECT_EQ(errorLogNameFor("doc/a.rtf"), "doc/a.err");
    EXPECT_EQ(errorLogNameFor("doc/a"), "doc/a.err");
}

TEST(FindAnyExtensionCase, FindsTheFileWhateverTheCaseOfItsExtension) {
    ScratchFolder folder;
    writeFile(folder.path("a.ERR"), "log");
    writeFile(folder.path("b.rtf"), "rtf");
    EXPECT_EQ(findAnyExtensionCase(folder.path("a.err")), folder.path("a.ERR"));
    EXPECT_EQ(findAnyExtensionCase(folder.path("a.Err")), folder.path("a.ERR"));
    EXPECT_EQ(findAnyExtensionCase(folder.path("b.rtf")), folder.path("b.rtf"));
    EXPECT_EQ(findAnyExtensionCase(folder.path("b.RTF")), folder.path("b.rtf"));
}

TEST(FindAnyExtensionCase, TheBaseNameMustMatchExactly) {
    ScratchFolder folder;
    writeFile(folder.path("A.err"), "log");
#ifdef _WIN32
    // Windows names ignore case: "a.err" is the file "A.err" itself.
    EXPECT_TRUE(findAnyExtensionCase(folder.path("a.err")).has_value());
#else
    EXPECT_FALSE(findAnyExtensionCase(folder.path("a.err")).has_value());
#endif
    EXPECT_FALSE(findAnyExtensionCase(folder.path("A.er")).has_value());
    EXPECT_FALSE(findAnyExtensionCase(folder.path("missing/a.err")).has_value());
}

TEST(FileVersions, RewrittenOrReplacedFilesAreNew) {
    ScratchFolder folder;
    std::string name = folder.path("a.rtf");
    EXPECT_FALSE(isNewVersion(std::nullopt, findWithStamp(name)));
    writeFile(name, "one");
    std::optional<FoundFile> first = findWithStamp(name);
    EXPECT_TRUE(isNewVersion(std::nullopt, first));
    EXPECT_FALSE(isNewVersion(first, findWithStamp(name)));
    writeFile(name, "longer content");
    EXPECT_TRUE(isNewVersion(first, findWithStamp(name)));
}

}  // namespace
}  // namespace tessel::app
