#include "resources/log_texts.h"

#include <algorithm>
#include <array>

namespace tessel::resources {

namespace {

constexpr std::array kFunctionTitles = {
    FunctionTitle{101, "Removing K-Tags"},
    FunctionTitle{102, "Deleting All Internal tags"},
    FunctionTitle{103, "Removing Help Formatting"},
    FunctionTitle{104, "Removing Space in Hotspots"},
    FunctionTitle{105, "Changing all internal tags to (DELETE_THIS_TAG)"},
    FunctionTitle{201, "Preparing Orvane memory for being imported into QZ4Lex"},
    FunctionTitle{301, "Converting R-Tags into Help Formatting"},
    FunctionTitle{302, "Verifying R-Tags in Bexalt File"},
    FunctionTitle{303, "Marking (DELETE_THIS_TAG) as Internal Tags"},
    FunctionTitle{304, "Converting Bexalt .BX files into a QZ4Lex Import Translation Memory"},
    FunctionTitle{305, "Marking Ventura Tags as Internal/External Tags"},
    FunctionTitle{401, "Removing Double Quotes"},
    FunctionTitle{402, "Converting Tab Separated Text into an .BX File"},
    FunctionTitle{501, "Convert Kelmo File into Text Only"},
    FunctionTitle{502, "Extracting Translated $ and K Footnotes"},
    FunctionTitle{503, "Deleting All Footnotes in RTF File"},
    FunctionTitle{504, "Converting RTF file into Text Only"},
    FunctionTitle{505, "Removing Unused Font Information from the Font Table in an RTF File"},
    FunctionTitle{506, "Marking Help References as QZ4LexInternal"},
    FunctionTitle{507, "Converting Kelmo STF/RTF file to Text for Spell Checking"},
    FunctionTitle{508, "Converting HTML RTF file to HTML Text file"},
    FunctionTitle{509, "Preparing Tagged RTF file for Aligning"},
    FunctionTitle{510, "Converting PageMaker RTF file to PageMaker Tagged Text"},
    FunctionTitle{511, "Converting QuarkXPress Tag File from RTF to Text"},
    FunctionTitle{512, "Converting SGML RTF file to SGML Tagged Text"},
    FunctionTitle{513, "Converting Ventura 4 RTF file to Ventura 4 Tagged Text"},
    FunctionTitle{514, "Converting HTML RTF file to compatible HTML Tagged Text"},
    FunctionTitle{515, "Converting HTML RTF file to Language Dependent HTML Tagged Text"},
    FunctionTitle{601, "Converting Text File from CP850 to ANSI"},
    FunctionTitle{602, "Converting Text File from ANSI to CP850"},
    FunctionTitle{603, "Converting Text File from CP437 to ANSI"},
    FunctionTitle{604, "Converting Text File from CP860 to ANSI"},
    FunctionTitle{605, "Counting Character Frequencies"},
    FunctionTitle{606, "Converting Kelmo STF (Text Only) file to RTF"},
    FunctionTitle{607, "Converting Text File from MIF Code Page to ANSI"},
    FunctionTitle{608, "Marking External Tags in Help CNT File"},
    FunctionTitle{609, "Converting CR+LF to LF only"},
    FunctionTitle{610, "Converting Macintosh characters to ANSI"},
    FunctionTitle{611, "Converting ANSI characters to Macintosh code page"},
    FunctionTitle{612, "Marking up PageMaker 6 tags"},
    FunctionTitle{613, "Converting Line Breaks into PC format"},
    FunctionTitle{614, "Marking up QuarkXPress Tags"},
    FunctionTitle{615, "Marking up Ventura 4 Tags"},
    FunctionTitle{616, "Marking up Ventura 5-7 Tags"},
    FunctionTitle{617, "Marking up VAXDocument Tags"},
    FunctionTitle{701, "Converting ZX9 Exported RTF File to Vandor Lexforge for Windows File"},
    FunctionTitle{702, "Converting ZX9 Exported MIF File to Vandor Lexforge for Windows File"},
    FunctionTitle{801, "Extracting SGML Tags"},
    FunctionTitle{802, "Extracting All SGML Tags"},
    FunctionTitle{803, "Marking up SGML Tags"},
    FunctionTitle{901, "Converting extended ANSI characters to HTML tags"},
    FunctionTitle{902, "Marking up HTML tags"},
    FunctionTitle{903, "Converting text to compatible HTML"},
    FunctionTitle{904, "Marking up HTML tags, keeping all line breaks"},
};

constexpr std::array kMessages = {
    MessageText{-113, "[%d] Error during code page conversion of intermediate file.\n", "", true},
    MessageText{-201, "[%d] K-Tag without ending > detected in text:\n%s\n%s\n%s\n\n", "", false},
    MessageText{-301, "[%d] Could not find On Tag in the following text segment:\n%s\n%s\n%s\n\n",
                "", false},
    MessageText{-302, "[%d] Could not find Off Tag in the following text segment:\n%s\n%s\n%s\n\n",
                "", false},
    MessageText{-411,
                "[%d] The RTF file has more closing braces than opening ones. It was read up to "
                "the brace that closes the document; what follows it was not read:\n%s\n%s\n%s\n\n",
                "", false},
    MessageText{-412,
                "[%d] The RTF file goes on after the closing brace of the document. What follows "
                "it was not read:\n%s\n%s\n%s\n\n",
                "", false},
    MessageText{
        -413,
        "[%d] The RTF file holds tracked changes. They have been accepted: deleted text "
        "was left out, inserted text written. The first paragraph with a change:\n%s\n%s\n%s\n\n",
        "", false},
    MessageText{-414,
                "[%d] The RTF file holds comments. They have been left out: the text of a "
                "comment is not written. The first paragraph with a comment:\n%s\n%s\n%s\n\n",
                "", false},
    MessageText{-502,
                "[%d] Ending quote in K-Tag missing in the following text segment:\n%s\n%s\n%s\n",
                "The tag is corrupt. Fix it in the source file!\n\n", false},
    MessageText{-910,
                "[%d] Character(s) that could not be converted from MIF code page to \nWindows "
                "Text detected and removed in the following text segment:\n%s\n%s\n%s\n",
                "The problem characters are shown as ^ in the text!\n\n", false},
    MessageText{-1201, "[%d] SGML tag with no end detected in the following text:\n%s\n%s\n%s\n\n",
                "", false},
    MessageText{-1202,
                "[%d] SGML tag with no start detected in the following text:\n%s\n%s\n%s\n\n", "",
                false},
    MessageText{-1203,
                "[%d] SGML \"<\" that begins no tag detected in the following text:\n%s\n%s\n%s\n",
                "Line %s. The \"<\" is kept as text; write it as &lt; if it is meant as "
                "text.\n\n",
                false},
    MessageText{-1204,
                "[%d] SGML start tag enabling a null end tag (/) without that \"/\" detected in "
                "the following text:\n%s\n%s\n%s\n",
                "Line %s. The element is taken as ended at the end of the line; a \"/\" on a "
                "later line is text.\n\n",
                false},
    MessageText{-1305,
                "[%d] HTML/SGML ampersand (&) tag without ending semicolon (;) found in the "
                "following text:\n%s\n%s\n%s\n",
                "The ampersand tag has not been marked up.\n\n", false},
    MessageText{-1501,
                "[%d] One or more characters could not be converted, since no corresponding "
                "character exists.\nIn the text segment below these characters have been "
                "replaced with ^.\n%s\n%s\n%s\n\n",
                "", false},
    MessageText{-1502,
                "[%d] Character(s) that the code page of the output file cannot hold were found "
                "in the following text segment:\n%s\n%s\n%s\n",
                "Not written as themselves: %s. The text holds the format's character codes or "
                "substitutes in their place!\n\n",
                false},
    MessageText{-1503,
                "[%d] Bytes that the encoding the file is read in gives no character were found "
                "in the following text segment:\n%s\n%s\n%s\n",
                "The file is read as %s. The bytes are kept as they stand and are written back "
                "unchanged; check the encoding of the file!\n\n",
                false},
    MessageText{-1504,
                "[%d] The file declares an encoding that the Tessel CAT Tools do not read.\n",
                "Declared: \"%s\". The file was read by the rules that follow a declaration (the "
                "encoding chosen, UTF-8 or Windows 1252); check its letters!\n\n",
                true},
    MessageText{-1505, "[%d] UTF-16 units that pair with no other were found in the file.\n",
                "%s of them were read as U+FFFD.\n\n", true},
    MessageText{-1601,
                "[%d] Something is strange about the RTF codes in this text segment. Expected a "
                "space somewhere after the '\\cs6'.\n%s\n%s\n%s\n\n",
                "", false},
    MessageText{-1701,
                "[%d] No litteral closing brace found for Help Reference in the following RTF "
                "segment:\n%s\n%s\n%s\n\n",
                "", false},
    MessageText{-1801,
                "[%d] This line contains a CNT file Keyword that was not recognized by the Tessel "
                "CAT Tools:\n%s\n%s\n%s\nThe following keywords are supported in this version: "
                "\":Title\", \":Base\", \":Include\", \":Link\", \":Tab\", and \":Index\"\n",
                "Nothing on this line was marked as External Tags.\n\n", false},
    MessageText{-2001,
                "[%d] End of a Ventura tag not found in this text segment:\n%s\n%s\n%s\nThe tag "
                "may be damaged.\n\n",
                "", false},
    MessageText{-2101,
                "[%d] Closing brace for a style was not found when trying to change text in this "
                "text segment:\n%s\n%s\n%s\n",
                "The text was not changed. (This is likely to result from a limitation in the "
                "Tessel CAT Tools.)\nThis has no major impact if preparing RTF files for "
                "Aligning. It means that this Internal tag has not been converted to "
                "(DELETE_THIS_TAG).\n\n",
                false},
    MessageText{-2102,
                "[%d] Closing brace for a style was not found when trying to remove text in this "
                "text segment:\n%s\n%s\n%s\n",
                "The text was not removed. (This is likely to result from a limitation in the "
                "Tessel CAT Tools.)\nWhen preparing RTF file for Aligning, this means that this "
                "External tag will still be in the RTF file.\n\n",
                false},
    MessageText{-2202, "[%d] Unknown HTML tag in the following text segment:\n%s\n%s\n%s\n",
                "The unknown tag has been marked up as an Internal tag.\n\n", false},
    MessageText{-2203,
                "[%d] HTML tag with no end before line break detected in line preceding "
                "this:\n%s\n%s\n%s\n",
                "This tag has not been marked up. Nor has any other tags in this text "
                "segment.\n\n",
                false},
    MessageText{-2204,
                "[%d] Missing end quote in HTML tag containing text that might need translation "
                "in the following text segment:\n%s\n%s\n%s\n",
                "", false},
    MessageText{-2205, "[%d] Nested HTML tag found in the following text segment:\n%s\n%s\n%s\n",
                "The nested tag has been marked up as one tag.\n\n", false},
    MessageText{-2301,
                "[%d] PageMaker tag without starting < found in the following text "
                "segment:\n%s\n%s\n%s\n",
                "", false},
    MessageText{-2302,
                "[%d] PageMaker tag without ending > found in the following text "
                "segment:\n%s\n%s\n%s\n",
                "", false},
    MessageText{-2401,
                "[%d] Compatible HTML writes a character of the following text segment as a "
                "substitute:\n%s\n%s\n%s\n",
                "%s. Every further one in this file is written so too, without another "
                "message.\n\n",
                false},
    MessageText{-2402,
                "[%d] The translated text is bold, italic or underlined in places. The "
                "back-conversion cannot write such formatting and has dropped it. The first "
                "paragraph with formatting:\n%s\n%s\n%s\n\n",
                "", false},
};

using enum SummaryCount;

constexpr SummaryLine kKTagSummary[] = {
    {"\t%d faulty K-Tag%s discovered in the file!\n\tCorrect the error%s and run the utility "
     "again.\n\tNote that the file must be edited in a Windows text editor!\n",
     Errors},
    {"\t%d K-Tag%s successfully removed.\n", Changes}};
constexpr SummaryLine kRTagSummary[] = {
    {"\t%d faulty R-Tag%s discovered in the file!\n\tCorrect the error%s and run the utility "
     "again.\n\tNote that the file must be edited in a DOS text editor!\n",
     Errors},
    {"\t%d R-Tag%s successfully converted.\n", Changes}};
constexpr SummaryLine kBxSummary[] = {
    {"\tThe %d translation unit%s appearing in this file were removed from the BX file.\n",
     Changes}};
constexpr SummaryLine kAlignSummary[] = {
    {"\t%d Internal/External tag%s left unchanged.\n\tThe RTF file can still be aligned.\n",
     Errors},
    {"\t%d tag%s changed/removed.\n", Changes}};
constexpr SummaryLine kCodePageSummary[] = {
    {"\t%d line%s contain characters that could not be converted!\n\tAll such characters have "
     "been converted into ^.\n",
     Errors}};
constexpr SummaryLine kCntSummary[] = {
    {"\t%d line%s with not recognized CNT keyword%s.\n\tAll such lines are left unchanged.\n",
     Errors}};
constexpr SummaryLine kSgmlSummary[] = {
    {"\t%d faulty SGML Tag%s detected in this file!\n\tThe SGML Tag%s may acutally be correctly "
     "abbreviated \n\t- but the Tessel CAT Tools does not support abbreviated SGML Tags.\n",
     Errors},
    {"\t%d SGML Tag%s successfully extracted.\n", Changes}};
constexpr SummaryLine kDefaultSummary[] = {{"\t%d error%s reported in this file.\n", Errors},
                                           {"\t%d change%s made in the output file.\n", Changes}};

constexpr int kKTagCodes[] = {101, 501};
constexpr int kRTagCodes[] = {301};
constexpr int kBxCodes[] = {302};
constexpr int kAlignCodes[] = {509};
constexpr int kCodePageCodes[] = {601, 602, 603, 604, 607, 702};
constexpr int kCntCodes[] = {608};
constexpr int kSgmlCodes[] = {801, 802, 803};

struct SummaryRule {
    std::span<const int> codes;
    std::span<const SummaryLine> lines;
};

constexpr SummaryRule kSummaryRules[] = {
    {kKTagCodes, kKTagSummary},   {kRTagCodes, kRTagSummary},         {kBxCodes, kBxSummary},
    {kAlignCodes, kAlignSummary}, {kCodePageCodes, kCodePageSummary}, {kCntCodes, kCntSummary},
    {kSgmlCodes, kSgmlSummary},
};

}  // namespace

std::span<const FunctionTitle> functionTitles() {
    return kFunctionTitles;
}

std::string_view functionTitle(int code) {
    for (const auto& entry : kFunctionTitles) {
        if (entry.code == code) return entry.title;
    }
    return kUnknownFunctionTitle;
}

std::span<const MessageText> messageCatalogue() {
    return kMessages;
}

const MessageText* findMessage(int code) {
    auto it = std::find_if(kMessages.begin(), kMessages.end(),
                           [code](const MessageText& m) { return m.code == code; });
    return it == kMessages.end() ? nullptr : &*it;
}

std::span<const SummaryLine> summaryLines(int functionCode) {
    for (const auto& rule : kSummaryRules) {
        if (std::find(rule.codes.begin(), rule.codes.end(), functionCode) != rule.codes.end()) {
            return rule.lines;
        }
    }
    return kDefaultSummary;
}

}  // namespace tessel::resources
