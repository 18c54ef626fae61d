#include "frame/error_log.h"

#include <gtest/gtest.h>

#include "frame/job_state.h"
#include "support/temp_dir.h"

namespace tessel::frame {
namespace {

const std::string kSeparator(58, '-');
const std::string kRule(115, '-');

class ErrorLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        jobState().reset();
        ASSERT_TRUE(log_.open(path_));
    }
    std::string finish() {
        EXPECT_TRUE(log_.close());
        return test::readFile(path_);
    }

    test::TempDir dir_;
    std::string path_ = dir_.file("in.ERR");
    ErrorLog log_;
    int changes_ = 0;
};

TEST_F(ErrorLogTest, HeaderNamesParserVersionFileAndFunction) {
    log_.writeHeader("Text Parser", "C:\\in.txt", 613);
    std::string expected =
        "\t\tError Log File from Tessel CAT Tools Text Parser\r\n\r\n"
        "DLL Version:\tVersion 1.09\r\n"
        "Date:\t<date>\r\n"
        "File:\tC:\\in.txt\r\n"
        "Function:\tConverting Line Breaks into PC format\r\n" +
        kRule + "\r\n";
    EXPECT_EQ(test::withoutDate(finish()), expected);
}

TEST_F(ErrorLogTest, DateIsTheTwentyFourCharacterForm) {
    log_.writeHeader("Text Parser", "x", 1);
    std::string log = finish();
    auto start = log.find("Date:\t") + 6;
    auto end = log.find("\r\n", start);
    std::string date = log.substr(start, end - start);
    ASSERT_EQ(date.size(), 24u) << date;
    EXPECT_EQ(date[3], ' ');
    EXPECT_EQ(date[7], ' ');
    EXPECT_NE(date[8], ' ') << "day of month has two digits";
    EXPECT_NE(log.find("Function:\tUnknown Function!"), std::string::npos);
}

TEST_F(ErrorLogTest, ResultsAddUpOrBecomeNumberedMessages) {
    EXPECT_EQ(log_.report(2, changes_, "a\n"), 0);
    EXPECT_EQ(log_.report(-1501, changes_, "b^\n"), 0);
    EXPECT_EQ(log_.report(-2205, changes_, "c\n"), 0);
    EXPECT_EQ(changes_, 2);
    EXPECT_TRUE(jobState().messagesWritten);
    EXPECT_EQ(jobState().nextMessage, 3);
    std::string expected =
        "[1] One or more characters could not be converted, since no corresponding character "
        "exists.\r\nIn the text segment below these characters have been replaced with ^.\r\n" +
        kSeparator + "\r\nb^\r\n\r\n" + kSeparator + "\r\n\r\n" +
        "[2] Nested HTML tag found in the following text segment:\r\n" + kSeparator +
        "\r\nc\r\n\r\n" + kSeparator + "\r\nThe nested tag has been marked up as one tag.\r\n\r\n";
    EXPECT_EQ(finish(), expected);
}

TEST_F(ErrorLogTest, UnknownNegativeResultsWriteNothingAndAreReturned) {
    EXPECT_EQ(log_.report(-1000, changes_, "x"), -1000);
    EXPECT_EQ(log_.report(-103, changes_, "x"), -103);
    EXPECT_TRUE(jobState().keepOriginal);
    EXPECT_FALSE(jobState().messagesWritten);
    EXPECT_EQ(finish(), "");
}

TEST_F(ErrorLogTest, ContextFreeMessageHasNoQuotedText) {
    log_.report(-113, changes_, "ignored");
    EXPECT_EQ(finish(), "[1] Error during code page conversion of intermediate file.\r\n");
}

TEST_F(ErrorLogTest, SummaryWithoutMessagesIsOneLine) {
    log_.writeSummary(613, 5, "orig.OLD");
    EXPECT_EQ(finish(), "\t...\r\n");
}

TEST_F(ErrorLogTest, SummaryCountsUsePluralSuffixes) {
    log_.report(-1501, changes_, "x\n");
    jobState().keepOriginal = false;
    log_.writeSummary(610, 1, "orig.OLD");
    std::string summary = finish();
    EXPECT_NE(summary.find("\t1 error reported in this file.\r\n"), std::string::npos);
    EXPECT_NE(summary.find("\t1 change made in the output file.\r\n"), std::string::npos);
    EXPECT_EQ(summary.find("The original file"), std::string::npos);
}

TEST_F(ErrorLogTest, SummaryOfTwoErrorsNoChangesAndTheKeptOriginal) {
    log_.report(-1501, changes_, "x\n");
    log_.report(-1501, changes_, "y\n");
    log_.writeSummary(611, 0, "C:\\orig.OLD");
    std::string summary = finish();
    std::string expected = "\r\n" + std::string(49, '-') + " Summary " + std::string(49, '-') +
                           "\r\n\t2 errors reported in this file.\r\n"
                           "\t0 changes made in the output file.\r\n"
                           "\tThe original file is saved as C:\\orig.OLD\r\n" +
                           kRule + "\r\n";
    ASSERT_GE(summary.size(), expected.size());
    EXPECT_EQ(summary.substr(summary.size() - expected.size()), expected);
}

TEST_F(ErrorLogTest, SummaryRowsFollowTheFunctionCode) {
    log_.report(-1201, changes_, "<x\n");
    jobState().keepOriginal = false;
    log_.writeSummary(803, 3, "");
    std::string summary = finish();
    EXPECT_NE(
        summary.find("\t1 faulty SGML Tag detected in this file!\r\n\tThe SGML Tag may acutally "
                     "be correctly abbreviated \r\n"),
        std::string::npos);
    EXPECT_NE(summary.find("\t3 SGML Tags successfully extracted.\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tessel::frame
