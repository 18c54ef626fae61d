// Characters a translator typed that a tagged text format reads as markup:
// the back-conversions write them as the format's escapes, only in text
// runs, and the file they write marks up again to the same text.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dtp/converter_test_support.h"
#include "frame/rtf_byte_source.h"
#include "frame/rtf_reader.h"
#include "frame/rtf_style_sheet.h"
#include "platform/streams.h"
#include "resources/back_conversion_texts.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;
namespace res = tessel::resources;
using tessel::test::converterDocument;
using tessel::test::externalRun;
using tessel::test::internalRun;
using tessel::test::readFile;
using tessel::test::TempDir;

// What the translator typed, RTF-escaped: every character the formats read
// as markup, between words.
constexpr std::string_view kTypedRtf = "Mail: info@example.com, 3 < 4 > 2, a\\\\b @ end";
constexpr std::string_view kTyped = "Mail: info@example.com, 3 < 4 > 2, a\\b @ end";

// A paragraph as runs: text, or the text of a tag run.
struct Run {
    std::string text;
    bool tag;
    bool operator==(const Run&) const = default;
};
using Paragraph = std::vector<Run>;

void PrintTo(const Run& run, std::ostream* out) {
    *out << (run.tag ? "tag \"" : "text \"") << run.text << '"';
}

// Reads an RTF file's paragraphs as runs of text and of tag styles.
class RunReader final : public tessel::frame::RtfParagraphSink,
                        public tessel::frame::RtfStyleObserver {
  public:
    explicit RunReader(const std::string& path) {
        tessel::platform::InputStream sheetInput;
        EXPECT_TRUE(sheetInput.open(path, tessel::platform::StreamMode::Binary));
        tessel::frame::StreamByteSource sheetSource(sheetInput);
        sheet_ = tessel::frame::readRtfStyleSheet(sheetSource);
        tessel::platform::InputStream input;
        EXPECT_TRUE(input.open(path, tessel::platform::StreamMode::Binary));
        tessel::frame::StreamByteSource source(input);
        tessel::frame::RtfReader reader(source, *this);
        reader.observeStyles(this);
        changes_.emplace_back(0, style_);
        EXPECT_EQ(reader.read(), 0);
    }
    const std::vector<Paragraph>& paragraphs() const { return paragraphs_; }

  private:
    int paragraph(std::string& line, bool /*lineEnd*/) override {
        Paragraph runs;
        for (std::size_t i = 0; i < changes_.size(); ++i) {
            std::size_t begin = std::min(changes_[i].first, line.size());
            std::size_t end = i + 1 < changes_.size() ? std::min(changes_[i + 1].first, line.size())
                                                      : line.size();
            if (end <= begin) continue;
            bool tag = changes_[i].second != tessel::frame::kNoCharacterStyle &&
                       sheet_.tagStyle(changes_[i].second) != tessel::frame::TagStyle::None;
            if (!runs.empty() && runs.back().tag == tag && !tag) {
                runs.back().text += line.substr(begin, end - begin);
            } else {
                runs.push_back({line.substr(begin, end - begin), tag});
            }
        }
        paragraphs_.push_back(std::move(runs));
        changes_.clear();
        changes_.emplace_back(0, style_);
        return 0;
    }
    void characterStyle(std::int32_t style, std::size_t offset) override {
        style_ = style;
        if (!changes_.empty() && changes_.back().first == offset) {
            changes_.back().second = style;
        } else {
            changes_.emplace_back(offset, style);
        }
    }

    tessel::frame::RtfStyleSheet sheet_;
    std::int32_t style_ = tessel::frame::kNoCharacterStyle;
    std::vector<std::pair<std::size_t, std::int32_t>> changes_;
    std::vector<Paragraph> paragraphs_;
};

// The paragraphs with every tag run that is one of the format's escapes
// read as its character, joined to the text around it: what a reader of the
// format takes for text.
std::vector<Paragraph> withEscapesRead(const std::vector<Paragraph>& paragraphs,
                                       std::span<const res::TextEscape> escapes) {
    std::vector<Paragraph> result;
    for (const auto& paragraph : paragraphs) {
        // Plain text leaves out empty paragraphs.
        if (paragraph.empty()) continue;
        Paragraph runs;
        for (const auto& run : paragraph) {
            Run read = run;
            if (run.tag) {
                for (const auto& escape : escapes) {
                    if ((!escape.written.empty() && run.text == escape.written) ||
                        (!escape.writtenAfterCode.empty() && run.text == escape.writtenAfterCode)) {
                        read = {std::string(1, escape.character), false};
                    }
                }
            }
            if (!read.tag && !runs.empty() && !runs.back().tag) {
                runs.back().text += read.text;
            } else {
                runs.push_back(read);
            }
        }
        result.push_back(std::move(runs));
    }
    return result;
}

struct FormatCase {
    const char* name;
    int(TESSEL_CALL* back)(const char*, const char*);
    int(TESSEL_CALL* markUp)(const char*);
    std::span<const res::TextEscape> escapes;
    std::string body;      // the translated RTF's body
    std::string expected;  // what the back-conversion writes (LF for line ends)
};

std::string crlf(std::string_view text) {
    return tessel::test::crlf(text);
}

// Back-converts the translated RTF, checks the bytes written, marks the
// output up again with the same format and compares the runs: the text the
// translator typed, the tags as they were.
void checkRoundTrip(const FormatCase& format) {
    SCOPED_TRACE(format.name);
    TempDir dir;
    std::string translated = dir.write("t.rtf", converterDocument(format.body));
    ASSERT_EQ(format.back(translated.c_str(), ".txt"), 0) << readFile(dir.file("t.ERR"));
    std::string written = readFile(dir.file("t.txt"));
    EXPECT_EQ(written, crlf(format.expected));

    fs::create_directory(dir.path() / "again");
    std::string again = dir.write("again/t.txt", written);
    int marked = format.markUp(again.c_str());
    ASSERT_GE(marked, 0) << readFile(dir.file("again/t.err"));
    std::vector<Paragraph> typed =
        withEscapesRead(RunReader(translated).paragraphs(), format.escapes);
    std::vector<Paragraph> back =
        withEscapesRead(RunReader(dir.file("again/t.RTF")).paragraphs(), format.escapes);
    ASSERT_EQ(back.size(), typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(back[i], typed[i]) << "paragraph " << i + 1;
    }
}

// PageMaker reads "<" as a tag and a backslash before "<", ">" or "@" as an
// escape; ">" and "@" alone are text.
TEST(RtfBackEscapes, PageMakerWritesBackslashEscapesAndMarksUpToTheSameText) {
    std::string body = externalRun("<PMTags1.0 win>") + "\\par\n" + externalRun("<@Body:>") +
                       std::string(kTypedRtf) + internalRun("<B>") + "C:\\\\" + internalRun("<B>") +
                       " q\\\\@r \\\\>s \\\\\\\\<\\par\n";
    checkRoundTrip({"pagemaker", f_iRTF2PageMaker, f_iPageMaker2RTF, res::kPageMakerEscapes, body,
                    "<PMTags1.0 win>\n<@Body:>Mail: info@example.com, 3 \\< 4 > 2, a\\b @ "
                    "end<B>C:<\\#92><B> q<\\#92>@r <\\#92>>s \\\\\\<\n"});
}

TEST(RtfBackEscapes, XPressWritesLiteralCharacterTagsAndMarksUpToTheSameText) {
    std::string body = externalRun("<v1.70><e1>") + "\\par\n" + externalRun("@Normal:") +
                       std::string(kTypedRtf) + internalRun("<B>") + "bold\\\\" +
                       internalRun("<B>") + "\\par\n";
    checkRoundTrip({"quark", f_iRTF2XPress, f_iXPress2RTF, res::kXPressEscapes, body,
                    "<v1.70><e1>\n@Normal:Mail: info<\\@>example.com, 3 <\\<> 4 > 2, "
                    "a\\b <\\@> end<B>bold\\<B>\n"});
}

// Ventura: brackets doubled; "@" as its character code where "= " follows
// it on the line, which would make a paragraph tag of it.
TEST(RtfBackEscapes, VenturaWritesDoubledBracketsAndCharacterCodes) {
    std::string body = externalRun("@BODY = ") + std::string(kTypedRtf) + internalRun("<B>") +
                       "x@y = z" + internalRun("<D>") + "\\par\n\\par\n" + externalRun("@BODY = ") +
                       "mail info@example.com >" + internalRun("<B>") + ">>@" + internalRun("<B>") +
                       ">\\par\n";
    std::string first =
        "@BODY = Mail: info<64>example.com, 3 << 4 >> 2, a\\b <64> end<B>"
        "x<64>y = z<D>\n";
    std::string second = "@BODY = mail info@example.com >><B><62><62>@<B><62>\n";
    // Version 5 to 7 is written by the text back-conversion, which leaves
    // out empty paragraphs.
    checkRoundTrip({"ventura 5 to 7", f_iRTF2Text, f_iVentura567toRTF, res::kVenturaEscapes, body,
                    first + second});
    checkRoundTrip({"ventura 4", f_iVentura4RTF2Text, f_iVentura4toRTF, res::kVenturaEscapes, body,
                    first + "\n" + second});
}

// In a table, ", " separates cells and ",," makes empty ones: a typed comma
// that would begin or join one is written as its character code; "4,50"
// and commas outside the table stay.
TEST(RtfBackEscapes, VenturaTableCellsKeepTypedCommas) {
    std::vector<res::TextEscape> escapes(std::begin(res::kVenturaEscapes),
                                         std::end(res::kVenturaEscapes));
    escapes.push_back(res::kVenturaCellEscapes[0]);
    // Versions 5 to 7 also have cells of their own, whose commas separate
    // nothing; version 4 has none.
    for (bool version4 : {false, true}) {
        std::string body = externalRun("@Z_TBL_BEG = COLUMNS(2)") + "\\par\n\\par\n" +
                           externalRun("@Z_TBL_BODY = TABLE TEXT, TABLE TEXT") + "\\par\n\\par\n" +
                           "Soup, hot" + externalRun(", ") + "4,50 or 4,, 5," + "\\par\n\\par\n";
        std::vector<std::string> rows = {"@Z_TBL_BEG = COLUMNS(2)\n",
                                         "@Z_TBL_BODY = TABLE TEXT, TABLE TEXT\n",
                                         "Soup<44> hot, 4,50 or 4<44><44> 5,\n"};
        if (!version4) {
            body += externalRun("@Z_TBL_CELL_BEG = ") + "its own, where commas are text\\par\n" +
                    externalRun("@Z_TBL_CELL_END = ") + "\\par\n";
            rows.push_back(
                "@Z_TBL_CELL_BEG = its own, where commas are text\n@Z_TBL_CELL_END = \n");
        }
        body += externalRun("@Z_TBL_END = ") + "\\par\n\\par\n" + externalRun("@BODY = ") +
                "after, the table\\par\n";
        rows.insert(rows.end(), {"@Z_TBL_END = \n", "@BODY = after, the table\n"});
        std::string joined;
        std::string apart;
        for (const auto& row : rows) {
            joined += row;
            apart += (apart.empty() ? "" : "\n") + row;
        }
        if (version4) {
            checkRoundTrip(
                {"ventura 4", f_iVentura4RTF2Text, f_iVentura4toRTF, escapes, body, apart});
        } else {
            checkRoundTrip(
                {"ventura 5 to 7", f_iRTF2Text, f_iVentura567toRTF, escapes, body, joined});
        }
    }
}

// Tags are written as they stand: the protected runs hold the format's
// markup characters, which must stay markup.
TEST(RtfBackEscapes, TagRunsAndTextWithoutMarkupCharactersStayAsTheyAre) {
    TempDir dir;
    std::string body = externalRun("<PMTags1.0 win>") + "\\par\n" +
                       externalRun("<@Head=<B><SIZE 12>>") + internalRun("\\\\<") +
                       "plain words, nothing to escape" + internalRun("<\\\\#176>") + "\\par\n";
    std::string path = dir.write("t.rtf", converterDocument(body));
    ASSERT_EQ(f_iRTF2PageMaker(path.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("t.txt")),
              crlf("<PMTags1.0 win>\n<@Head=<B><SIZE 12>>\\<plain words, nothing to "
                   "escape<\\#176>\n"));
}

// A document that no mark-up wrote (no tag styles in its style sheet) has
// no tags to tell from text: it is written as it stands.
TEST(RtfBackEscapes, DocumentWithoutTagStylesIsWrittenAsItStands) {
    TempDir dir;
    std::string path =
        dir.write("t.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard a < b @ c\\par }");
    ASSERT_EQ(f_iRTF2Text(path.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("t.txt")), "a < b @ c\r\n");
}

// Inside the quotes of an index entry everything but the quote is text, and
// the quote has no escape: it is written as "?" and logged as a character
// the output cannot hold.
TEST(RtfBackEscapes, PageMakerIndexStringKeepsTextAndLogsTypedQuotes) {
    TempDir dir;
    std::string body = externalRun("<PMTags1.0 win>") + "\\par\n" + "See " +
                       internalRun("<*INDEX\"") + "a \"b\" <c>" + internalRun("\">") +
                       " and 1 < 2\\par\n";
    std::string path = dir.write("t.rtf", converterDocument(body));
    EXPECT_EQ(f_iRTF2PageMaker(path.c_str(), ".txt"), -113);
    EXPECT_EQ(readFile(dir.file("t.txt")),
              crlf("<PMTags1.0 win>\nSee <*INDEX\"a ?b? <c>\"> and 1 \\< 2\n"));
    std::string log = readFile(dir.file("t.ERR"));
    EXPECT_NE(log.find("Not written as themselves: U+0022."), std::string::npos) << log;
    EXPECT_EQ(log.find("[2]"), std::string::npos) << "one message for the line: " << log;
}

}  // namespace
