// The command table's text jobs through the real line engine of the shared
// library.
#include <gtest/gtest.h>

#include "core/command_table.h"
#include "fake_batch.h"

namespace tessel::app {
namespace {

using testing::readFile;
using testing::ScratchFolder;
using testing::writeFile;

ExportRequest requestFor(const std::string& input, const std::string& extension) {
    ExportRequest request;
    request.inputPath = input;
    request.outputExtension = extension;
    return request;
}

TEST(TextCommands, EachRowCallsTheEngineWithItsFunctionCode) {
    ScratchFolder folder;
    std::string input = folder.path("a.txt");
    writeFile(input, "caf\x8e\r");
    const Command* macToAnsi = findCommand("text", "mac-to-ansi");
    const Command* ansiToMac = findCommand("text", "ansi-to-mac");
    const Command* lineBreaks = findCommand("text", "line-breaks");
    ASSERT_NE(macToAnsi, nullptr);
    ASSERT_NE(ansiToMac, nullptr);
    ASSERT_NE(lineBreaks, nullptr);
    EXPECT_EQ(findCommand("text", "unknown"), nullptr);

    EXPECT_EQ(callExport(macToAnsi->exportBinding, requestFor(input, ".ans")), 0);
    EXPECT_EQ(readFile(folder.path("a.ans")), "caf\xe9\r\n");
    EXPECT_EQ(callExport(ansiToMac->exportBinding, requestFor(folder.path("a.ans"), ".mac")), 0);
    EXPECT_EQ(readFile(folder.path("a.mac")), "caf\x8e\r");
    EXPECT_EQ(callExport(lineBreaks->exportBinding, requestFor(input, ".pc")), 1);
    EXPECT_EQ(readFile(folder.path("a.pc")), "caf\x8e\r\n");
}

TEST(TextCommands, OverlongNamesAreRefusedByTheEngineWithoutHarm) {
    const Command* lineBreaks = findCommand("text", "line-breaks");
    ASSERT_NE(lineBreaks, nullptr);
    ScratchFolder folder;
    std::string input = folder.path(std::string(300, 'n') + ".txt");
    EXPECT_LT(callExport(lineBreaks->exportBinding, requestFor(input, ".out")), 0);
    EXPECT_LT(callExport(lineBreaks->exportBinding, requestFor(input, "")), 0);
}

}  // namespace
}  // namespace tessel::app
