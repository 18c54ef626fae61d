// The per-file result texts of both report kinds and the summary's counted
// lines.
#include "core/report_texts.h"

#include <gtest/gtest.h>

#include <climits>
#include <regex>

#include "core/batch_session.h"

namespace tessel::app {
namespace {

TEST(ChangesResultText, ZeroDependsOnTheConversionFlag) {
    EXPECT_EQ(fileResultText(ReportKind::Changes, true, 0), "File converted OK.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Changes, false, 0), "No changes made!\n\n");
}

TEST(ChangesResultText, PositiveCountsChanges) {
    EXPECT_EQ(fileResultText(ReportKind::Changes, true, 1), "1 change(s) made.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Changes, false, 42), "42 change(s) made.\n\n");
}

TEST(ChangesResultText, NegativeShowsTheTextOfTheCode) {
    EXPECT_EQ(fileResultText(ReportKind::Changes, true, -101),
              "File Error! Can not open input file.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Changes, true, -113),
              "Errors Reported in the Error Log File!\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Changes, true, -1000),
              "Bug! Invalid number for ExecuteFunction.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Changes, true, -1401),
              "File Error! RTF Output file already exists.\n\n");
}

TEST(ChangesResultText, CodesWithoutTextFallBackToTheNumber) {
    EXPECT_EQ(fileResultText(ReportKind::Changes, true, -104),
              "Error when converting the file. Error Code: -104\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Changes, true, -1),
              "Error when converting the file. Error Code: -1\n\n");
    // 5000 minus the code must not overflow for the most negative code.
    EXPECT_EQ(fileResultText(ReportKind::Changes, true, INT_MIN),
              "Error when converting the file. Error Code: " + std::to_string(INT_MIN) + "\n\n");
}

TEST(ReturnCodeText, LooksUpResource5000MinusTheCode) {
    EXPECT_EQ(returnCodeText(-115), "File Error! Output file already exists.");
    EXPECT_EQ(returnCodeText(-904),
              "File Error! Same file name specified for input and output files.");
    EXPECT_FALSE(returnCodeText(-100).has_value());
    EXPECT_FALSE(returnCodeText(0).has_value());
    EXPECT_FALSE(returnCodeText(-5000).has_value());
}

TEST(TagsResultText, FixedTextsForTheListedResults) {
    EXPECT_EQ(fileResultText(ReportKind::Tags, true, 0), "No tags marked up!\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Tags, true, 1), "One tag marked up.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Tags, true, -115),
              "File Error! Output file already exists.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Tags, true, -2),
              "Error! Could not create output file.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Tags, true, -1),
              "Error! Parsing of this file failed.\nMore info may be available in the error log "
              "file.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Tags, false, 17), "17 Tags Marked Up.\n\n");
}

TEST(TagsResultText, OtherFailuresAreNeverReportedAsTagCounts) {
    EXPECT_EQ(fileResultText(ReportKind::Tags, true, -101),
              "File Error! Can not open input file.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::Tags, true, -7),
              "Error when converting the file. Error Code: -7\n\n");
}

TEST(SgmlResultTexts, NewAndExtractedTagsByCountAndTheSgmlCodes) {
    EXPECT_EQ(fileResultText(ReportKind::NewTags, false, 0), "No new tags found.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::NewTags, false, 1),
              "1 new tag added to the tag file.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::NewTags, false, 12),
              "12 new tags added to the tag file.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::ExtractedTags, false, 0), "No tags found.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::ExtractedTags, false, 1), "1 tag extracted.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::ExtractedTags, false, 7), "7 tags extracted.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::NewTags, false, -1301),
              "File Error! Specified output file exists, but does not contain SGML Tags.\n\n");
    EXPECT_EQ(fileResultText(ReportKind::ExtractedTags, false, -1302),
              "Bug! No file for SGML tags specified. This should not happen.\n\n");
}

TEST(SummaryCountLine, NoneOneAndMany) {
    EXPECT_EQ(summaryCountLine(text::kFilesRead, 0), "No files read.\n");
    EXPECT_EQ(summaryCountLine(text::kFilesRead, 1), "1 file read.\n");
    EXPECT_EQ(summaryCountLine(text::kFilesRead, 3), "3 files read.\n");
    EXPECT_EQ(summaryCountLine(text::kOutputsCreated, 0), "No output files created.\n");
    EXPECT_EQ(summaryCountLine(text::kOutputsCreated, 1), "1 output file created.\n");
    EXPECT_EQ(summaryCountLine(text::kOutputsCreated, 12), "12 output files created.\n");
    EXPECT_EQ(summaryCountLine(text::kErrorLogsWritten, 0), "No Error Log Files written.\n");
    EXPECT_EQ(summaryCountLine(text::kErrorLogsWritten, 1), "1 Error Log File written.\n");
    EXPECT_EQ(summaryCountLine(text::kErrorLogsWritten, 2), "2 Error Log Files written.\n");
}

TEST(SummaryTime, DayMonthYearAndTime) {
    std::string now = summaryTimeNow();
    std::regex form("[0-9]{2}/[0-9]{2}/[0-9]{4}, [0-9]{2}:[0-9]{2}:[0-9]{2}\n\n");
    EXPECT_TRUE(std::regex_match(now, form)) << now;
}

}  // namespace
}  // namespace tessel::app
