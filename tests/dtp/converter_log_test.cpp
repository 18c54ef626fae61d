// The converter log's entries kept back while the output is written
// alongside the parse.
#include "dtp/converter_log.h"

#include <gtest/gtest.h>

#include "dtp/converter_test_support.h"

namespace tessel::dtp {
namespace {

TEST(ConverterLog, HeldEntriesFollowTheOthersOrAreDropped) {
    test::TempDir dir;
    test::ConverterLogCapture log(dir);
    reportMessage("parse one", kMessageParseError);
    {
        HeldConverterMessages held;
        reportMessage("written", kMessageFile);
    }
    reportMessage("parse two", kMessageParseError);
    EXPECT_EQ(converterLogEntryCount(), 2) << "a held entry is not counted yet";
    releaseHeldConverterMessages();
    EXPECT_EQ(log.text(), "\n[1]  parse one\n[2]  parse two\n[3]  written");
    {
        HeldConverterMessages held;
        reportMessage("lost", kMessageFile);
    }
    dropHeldConverterMessages();
    reportMessage("after", kMessageWarning);
    releaseHeldConverterMessages();
    EXPECT_EQ(log.text(), "\n[1]  parse one\n[2]  parse two\n[3]  written\n[4]  after");
    EXPECT_EQ(converterLogEntryCount(), 4);
}

}  // namespace
}  // namespace tessel::dtp
