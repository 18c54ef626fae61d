// Where the programs find the tag file shipped with them, and which tag file
// an HTML mark-up reads for what the user named.
#include "core/shipped_tag_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fake_batch.h"

namespace tessel::app {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;
using testing::writeFile;

TEST(ShippedTagFile, BesideTheProgramOrInTheInstalledDataFolder) {
    ScratchFolder folder;
    fs::path bin = folder.root / "prefix" / "bin";
    fs::path data = folder.root / "prefix" / "share" / "tessel-filter-pack";
    fs::create_directories(bin);
    fs::create_directories(data);
    // Neither place holds it: none.
    EXPECT_TRUE(shippedTagFileFor(bin).empty());
    // An installed tree: in the data folder beside bin.
    writeFile((data / "html5-tags.txt").string(), "NAV\tE\n");
    EXPECT_EQ(shippedTagFileFor(bin), (data / "html5-tags.txt").lexically_normal());
    // The build tree puts it beside the program, which comes first.
    writeFile((bin / "html5-tags.txt").string(), "NAV\tE\n");
    EXPECT_EQ(shippedTagFileFor(bin), (bin / "html5-tags.txt").lexically_normal());
    // A folder of that name is no tag file.
    fs::remove(bin / "html5-tags.txt");
    fs::create_directory(bin / "html5-tags.txt");
    EXPECT_EQ(shippedTagFileFor(bin), (data / "html5-tags.txt").lexically_normal());
}

TEST(ShippedTagFile, TheUsersChoiceComesFirstAndNoneMeansTheBuiltInTable) {
    EXPECT_EQ(tagFileToRead(std::string("my tags.txt")), "my tags.txt");
    EXPECT_EQ(tagFileToRead(std::string("none")), "");
    // Nothing named: the running program's shipped file (this test program
    // has none beside it).
    EXPECT_EQ(tagFileToRead(std::nullopt), shippedTagFile());

    const Command* markup = findCommand("markup", "html");
    const Command* sgml = findCommand("markup", "sgml");
    ASSERT_NE(markup, nullptr);
    ASSERT_NE(sgml, nullptr);
    EXPECT_TRUE(takesShippedTagFile(*markup));
    EXPECT_FALSE(takesShippedTagFile(*sgml));
}

}  // namespace
}  // namespace tessel::app
