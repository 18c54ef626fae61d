// The texts of the line-oriented jobs' error log: header, titles, message
// catalogue and summary. Formats use %d for numbers and %s for texts.
#pragma once

#include <span>
#include <string_view>

namespace tessel::resources {

inline constexpr std::string_view kLogTitleLine = "\t\tError Log File from Tessel CAT Tools %s\n\n";
inline constexpr std::string_view kLogVersionLine = "DLL Version:\t%s\n";
inline constexpr std::string_view kLogDateLine = "Date:\t%s\n";
inline constexpr std::string_view kLogFileLine = "File:\t%s\n";
inline constexpr std::string_view kLogFunctionLabel = "Function:\t";
inline constexpr std::string_view kUnknownFunctionTitle = "Unknown Function!";

// Parser titles of the log header.
inline constexpr std::string_view kTextParserTitle = "Text Parser";
inline constexpr std::string_view kRtfToTextParserTitle = "RTF to Text Parser";
inline constexpr std::string_view kTextToRtfParserTitle = "Text to RTF Parser";
inline constexpr std::string_view kSgmlHtmlParserTitle = "SGML/HTML Text Parser";

// 58 dashes around a quoted text segment.
inline constexpr std::string_view kSeparatorLine =
    "----------------------------------------------------------";
// 115 dashes closing the header and the summary.
inline constexpr std::string_view kRuleLine =
    "-------------------------------------------------------------------------------------------"
    "------------------------";

inline constexpr std::string_view kSummaryNothingToReport = "\t...\n";
inline constexpr std::string_view kSummaryHeading =
    "\n------------------------------------------------- Summary "
    "-------------------------------------------------\n";
inline constexpr std::string_view kKeepOriginalLine = "\tThe original file is saved as %s\n";

struct FunctionTitle {
    int code;
    std::string_view title;
};
std::span<const FunctionTitle> functionTitles();
std::string_view functionTitle(int code);

struct MessageText {
    int code;
    std::string_view text;      // with %d = number and, unless contextFree, three %s
    std::string_view followUp;  // second sentence, may be empty; %s = the report's detail
    bool contextFree;           // no separator and quoted text
};
std::span<const MessageText> messageCatalogue();
const MessageText* findMessage(int code);

// One line of the summary: a format with %d and one or more %s, all taking
// the same plural suffix of the count.
enum class SummaryCount { Errors, Changes };
struct SummaryLine {
    std::string_view format;
    SummaryCount count;
};
// The summary lines for a function code.
std::span<const SummaryLine> summaryLines(int functionCode);

}  // namespace tessel::resources
