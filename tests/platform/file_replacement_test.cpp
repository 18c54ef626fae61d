// Rewriting a file without ever losing it: a new file beside the old one,
// then one rename over it.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <string>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace {

using tessel::test::readFile;
using tessel::test::TempDir;
namespace platform = tessel::platform;

#ifdef _WIN32

// Windows keeps no permission bits: the new file is checked for its place
// and content only.
TEST(FileReplacement, NewFileBesideTouchesNothing) {
    TempDir dir;
    auto target = dir.write("tags.txt", "old");
    std::string first = platform::createUniqueFileBeside(target);
    std::string second = platform::createUniqueFileBeside(target);
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind(target + ".", 0), 0u) << "in the same folder, named after the file";
    EXPECT_EQ(readFile(first), "");
    EXPECT_EQ(readFile(target), "old");
    EXPECT_TRUE(platform::createUniqueFileBeside(dir.file("no/such/folder/x")).empty());
}

#else

mode_t modeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(FileReplacement, NewFileBesideTakesThePermissionsAndTouchesNothing) {
    TempDir dir;
    auto target = dir.write("tags.txt", "old");
    ::chmod(target.c_str(), 0640);
    std::string first = platform::createUniqueFileBeside(target);
    std::string second = platform::createUniqueFileBeside(target);
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind(target + ".", 0), 0u) << "in the same folder, named after the file";
    EXPECT_EQ(readFile(first), "");
    EXPECT_EQ(modeOf(first), 0640u);
    EXPECT_EQ(readFile(target), "old");
    EXPECT_TRUE(platform::createUniqueFileBeside(dir.file("no/such/folder/x")).empty());
}

#endif  // _WIN32

TEST(FileReplacement, ReplacesInOneStepOrNotAtAll) {
    TempDir dir;
    auto target = dir.write("tags.txt", "old");
    auto fresh = dir.write("fresh", "new");
    EXPECT_TRUE(platform::replaceFile(fresh, target));
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(dir.listing(), "tags.txt");

    EXPECT_FALSE(platform::replaceFile(dir.file("missing"), target));
    EXPECT_EQ(readFile(target), "new");
    auto other = dir.write("other", "x");
    EXPECT_EQ(platform::renameFile(other, target), platform::RenameResult::TargetExists)
        << "the plain rename still never replaces";
    EXPECT_EQ(readFile(target), "new");
}

}  // namespace
