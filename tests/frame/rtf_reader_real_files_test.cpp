// What word processors really write around and inside the text: bytes after
// the document's closing brace, one closing brace too many, binary data that
// holds line ends, tables with nested cells, tracked changes and comments.
// The reader takes the document as it reads with every change accepted, and
// tells its sink what it left out.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "frame/rtf_byte_source.h"
#include "frame/rtf_reader.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

using tessel::frame::MemoryByteSource;
using tessel::frame::RtfNotice;
using tessel::frame::RtfParagraphSink;
using tessel::frame::RtfReader;

// Paragraphs with "|" after each that ended with a mark, and the notices in
// the order told, each as "<kind>:<quoted>" with "@" for a notice about the
// paragraph that follows it.
class NoticeSink final : public RtfParagraphSink {
  public:
    int paragraph(std::string& line, bool lineEnd) override {
        text += line;
        if (lineEnd) text += '|';
        return 0;
    }
    void notice(RtfNotice kind, std::string_view quoted) override {
        notices.push_back(std::to_string(static_cast<int>(kind)) + ":" + std::string(quoted));
        text += '@';
    }
    std::string text;
    std::vector<std::string> notices;
};

struct Read {
    int result;
    std::string text;
    std::vector<std::string> notices;
};

Read readRtf(std::string_view rtf) {
    MemoryByteSource source(rtf);
    NoticeSink sink;
    RtfReader reader(source, sink);
    int result = reader.read();
    // Once the document has ended, reading on finds nothing more.
    if (result == 0) {
        EXPECT_EQ(reader.read(), 0);
    }
    return {result, sink.text, sink.notices};
}

std::string notice(RtfNotice kind, std::string_view quoted) {
    return std::to_string(static_cast<int>(kind)) + ":" + std::string(quoted);
}

TEST(RtfReaderDocumentEnd, WhiteSpaceAndNulAfterTheEndAreNothing) {
    for (std::string tail : {std::string(""), std::string("\r\n"), std::string("\0", 1),
                             std::string("}\0", 2).substr(1), std::string(" \t\r\n\0\0 ", 7)}) {
        Read read = readRtf("{\\rtf1 a\\par b}" + tail);
        EXPECT_EQ(read.result, 0);
        EXPECT_EQ(read.text, "a|b") << "the last paragraph needs no mark";
        EXPECT_TRUE(read.notices.empty()) << read.notices.front();
    }
}

TEST(RtfReaderDocumentEnd, AnythingElseAfterTheEndIsToldOnceAndNotWritten) {
    Read junk = readRtf(
        "{\\rtf1 text}\xEF\xBF\xBD"
        "8$DM\\par more\\par");
    EXPECT_EQ(junk.result, 0);
    EXPECT_EQ(junk.text, "text@");
    ASSERT_EQ(junk.notices.size(), 1u);
    EXPECT_EQ(junk.notices[0],
              notice(RtfNotice::DataAfterDocument, "\\'ef\\'bf\\'bd8$DM\\par more\\par"));

    Read second = readRtf("{\\rtf1 first}\r\n{\\rtf1 second\\par}\r\n");
    EXPECT_EQ(second.text, "first@");
    ASSERT_EQ(second.notices.size(), 1u);
    EXPECT_EQ(second.notices[0], notice(RtfNotice::DataAfterDocument, "{\\rtf1 second\\par}"));

    // A long tail is quoted by its start only.
    Read longTail = readRtf("{\\rtf1 t}" + std::string(5000, 'x'));
    ASSERT_EQ(longTail.notices.size(), 1u);
    EXPECT_EQ(longTail.notices[0], notice(RtfNotice::DataAfterDocument,
                                          std::string(RtfReader::kQuotedTailBytes, 'x') + "..."));
}

TEST(RtfReaderDocumentEnd, ASurplusClosingBraceKeepsEveryParagraph) {
    Read atEnd = readRtf("{\\rtf1 abc\\par def}}");
    EXPECT_EQ(atEnd.result, 0);
    EXPECT_EQ(atEnd.text, "abc|def@");
    ASSERT_EQ(atEnd.notices.size(), 1u);
    EXPECT_EQ(atEnd.notices[0], notice(RtfNotice::SurplusClosingBrace, "}"));

    // Outlook: one paragraph of manual line breaks only.
    Read outlook = readRtf("{\\rtf1\\ansi\\fromhtml1 one\\line two\\line}}\r\n\0");
    EXPECT_EQ(outlook.text, "one\u2028two\u2028@");
    ASSERT_EQ(outlook.notices.size(), 1u);

    // Word closed the document early, then wrote its theme data and the
    // brace too many: told once, as the brace.
    Read word = readRtf("{\\rtf1 body\\par }{\\*\\themedata 504b}{\\*\\datastore 0105}}");
    EXPECT_EQ(word.text, "body|@");
    ASSERT_EQ(word.notices.size(), 1u);
    EXPECT_EQ(word.notices[0], notice(RtfNotice::SurplusClosingBrace,
                                      "{\\*\\themedata 504b}{\\*\\datastore 0105}}"));

    // Braces in the tail that balance are data, not a brace too many;
    // escaped braces do not count.
    Read balanced = readRtf("{\\rtf1 x}{\\*\\y \\}}");
    ASSERT_EQ(balanced.notices.size(), 1u);
    EXPECT_EQ(balanced.notices[0], notice(RtfNotice::DataAfterDocument, "{\\*\\y \\}}"));
}

TEST(RtfReaderDocumentEnd, BraceBeforeAnyGroupAndMissingBracesStillFail) {
    EXPECT_EQ(readRtf("}").result, -401);
    Read open = readRtf("{\\rtf1 a\\par b");
    EXPECT_EQ(open.result, -402);
    EXPECT_EQ(open.text, "a|");
}

TEST(RtfReaderBinaryData, ExactlyNRawBytesWhateverTheyAre) {
    // The case of the report: CR LF as the data of a picture.
    Read picture = readRtf("{\\rtf1 A{\\*\\pict\\pngblip\\bin2 \r\n}B\\par}");
    EXPECT_EQ(picture.result, 0);
    EXPECT_EQ(picture.text, "AB|");
    // Braces, backslashes, CR, LF and NUL in the data are all data.
    const std::string data("\r\n}\\\r{\0\n\r\n", 10);
    Read mixed = readRtf("{\\rtf1 a{\\pict\\bin10 " + data + "}b}");
    EXPECT_EQ(mixed.result, 0);
    EXPECT_EQ(mixed.text, "ab");
    // Data at the end of the input block reads the same.
    std::string padding(65536 - 20, 'p');
    Read across = readRtf("{\\rtf1 " + padding + "{\\pict\\bin10 " + data + "}z}");
    EXPECT_EQ(across.text, padding + "z");
}

TEST(RtfReaderTables, CellsEndAsParagraphsDoAndRowsAddNothing) {
    EXPECT_EQ(readRtf("{\\rtf1 \\trowd\\cellx1000\\cellx2000 a\\cell b\\cell\\row c\\par}").text,
              "a|b|c|");
    // A cell of several paragraphs, and an empty cell.
    EXPECT_EQ(readRtf("{\\rtf1 \\intbl one\\par two\\cell \\cell\\row}").text, "one|two||");
    // No cell end is a carriage return.
    Read cells = readRtf("{\\rtf1 \\intbl a\\cell b\\nestcell\\nestrow\\cell\\row}");
    EXPECT_EQ(cells.text, "a|b||");
    EXPECT_EQ(cells.text.find('\r'), std::string::npos);
}

TEST(RtfReaderTables, NestedCellsWithoutTheirFallback) {
    // As Word writes a table in a table: the nested cells end with
    // "\\nestcell", their row properties and the text for readers without
    // nested tables follow in groups of their own.
    const std::string nested =
        "{\\rtf1\\ansi\n\\trowd\\cellx5000\n"
        "\\pard\\intbl\\itap2 Level two before\\par\n"
        "\\pard\\intbl\\itap3 Deep A\\nestcell Deep B\\nestcell\n"
        "{\\*\\nesttableprops\\trowd\\cellx2000\\cellx4000\\nestrow}\n"
        "{\\nonesttables NESTED FALLBACK ONE\\par}\n"
        "\\pard\\intbl\\itap2 Level two after\\nestcell\n"
        "{\\*\\nesttableprops\\trowd\\cellx4000\\nestrow}\n"
        "{\\nonesttables PARENT FALLBACK\\par}\n"
        "\\pard\\intbl\\itap1 Outer after\\cell\n\\row\n"
        "\\pard\\itap0 Outside table\\par\n}";
    EXPECT_EQ(readRtf(nested).text,
              "Level two before|Deep A|Deep B|Level two after|Outer after|Outside table|");
    EXPECT_EQ(readRtf("{\\rtf1 {\\*\\nonesttables x\\par}y}").text, "y");
}

TEST(RtfReaderDestinations, ListTablesAndGeneratorWithoutStarAreNoText) {
    // A list written without "{\*\listtable" around it (a converter's file):
    // its levels' numbering text and its name are no text of the document.
    EXPECT_EQ(readRtf("{\\rtf1{\\list\\listtemplateid1{\\listlevel{\\leveltext \\'02\\'00.}"
                      "{\\levelnumbers \\'01}}{\\listname List1;}\\listid7}\n"
                      "{\\listoverride\\listid7\\listoverridecount0\\ls1}Body\\par}")
                  .text,
              "Body|");
    EXPECT_EQ(readRtf("{\\rtf1{\\listtable{\\list{\\listname L;}}}{\\*\\listoverridetable"
                      "{\\listoverride\\ls1}}x}")
                  .text,
              "x");
    // "{*\generator" (the backslash of "\*" lost): the "*" is text, the
    // program's name is not.
    EXPECT_EQ(readRtf("{\\rtf1{*\\generator Aspose.Words 13.9;}Body\\par}").text, "*Body|");
    // The list label Word writes as text stays.
    EXPECT_EQ(readRtf("{\\rtf1{\\listtext 1.\\tab}One\\par}").text, "1.\tOne|");
}

TEST(RtfReaderRevisions, DeletedTextIsNotTextInsertedTextIs) {
    Read read = readRtf(
        "{\\rtf1{\\*\\revtbl {Unknown;}{Ann Reviewer;}}"
        "\\pard Welcome {\\deleted\\revauthdel1\\revdttmdel1234 to our cafe}"
        "{\\revised\\revauth1\\revdttm1234 in unserem Caf\\'e9}\\par "
        "second\\par}");
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.text, "@Welcome in unserem Café|second|");
    ASSERT_EQ(read.notices.size(), 1u) << "one notice for the document";
    EXPECT_EQ(read.notices[0], notice(RtfNotice::TrackedChangesAccepted, ""));
}

TEST(RtfReaderRevisions, DeletionsEndWhereTheirPropertyEnds) {
    EXPECT_EQ(readRtf("{\\rtf1 a\\deleted b\\deleted0 c}").text, "@ac");
    EXPECT_EQ(readRtf("{\\rtf1 a\\deleted b\\plain c}").text, "@ac");
    // Hidden text switched off does not bring deleted text back.
    EXPECT_EQ(readRtf("{\\rtf1 a{\\deleted\\v b\\v0 c}d}").text, "@ad");
    // A deleted paragraph mark joins the paragraphs around it.
    EXPECT_EQ(readRtf("{\\rtf1 one {\\deleted gone\\par}two\\par three\\par}").text,
              "@one two|three|");
    // Text moved away is deleted where it stood.
    EXPECT_EQ(readRtf("{\\rtf1 {\\mvf\\deleted moved }stays {\\mvt\\revised moved}}").text,
              "@stays moved");
}

TEST(RtfReaderRevisions, OtherTrackedChangesAreAcceptedAndTold) {
    // A formatting change keeps its old properties in a group of their own.
    Read formatting = readRtf("{\\rtf1 {\\b\\crauth1\\crdate99{\\*\\oldcprops \\i old}bold}\\par}");
    EXPECT_EQ(formatting.text, "@bold|");
    EXPECT_EQ(formatting.notices.size(), 1u);
    Read paragraph = readRtf("{\\rtf1 \\pard\\prauth1\\prdate5{\\*\\oldpprops \\pard\\qc}p\\par}");
    EXPECT_EQ(paragraph.text, "@p|");
    EXPECT_EQ(paragraph.notices.size(), 1u);
    // Told at the first paragraph with a change, not again.
    Read later = readRtf("{\\rtf1 plain\\par {\\deleted x}a\\par {\\revised b}\\par}");
    EXPECT_EQ(later.text, "plain|@a|b|");
    EXPECT_EQ(later.notices.size(), 1u);
}

TEST(RtfReaderRevisions, RevisionIdsAndTablesAloneAreNoChanges) {
    // Word writes an rsid on every run and may keep a table of authors.
    Read read = readRtf(
        "{\\rtf1{\\*\\revtbl {Unknown;}}{\\*\\rsidtbl \\rsid123}"
        "{\\insrsid123\\charrsid5 text}\\par}");
    EXPECT_EQ(read.text, "text|");
    EXPECT_TRUE(read.notices.empty());
    // A change in a dropped destination changes no text of ours.
    EXPECT_TRUE(readRtf("{\\rtf1 {\\header {\\deleted h}}t}").notices.empty());
    // Every list level Word writes says "no numbering revision"; the
    // document setting that tracks changes is no change either.
    Read lists = readRtf(
        "{\\rtf1\\revisions{\\pntext 1.\\tab}{\\*\\pn \\pnlvlbody\\ilvl0\\ls1\\pnrnot0\\pndec"
        "{\\pntxta .}}One\\pnrnot0\\par}");
    EXPECT_EQ(lists.text, "1.\tOne|");
    EXPECT_TRUE(lists.notices.empty());
    // Without the "*" the authors and ids are still no text.
    EXPECT_EQ(readRtf("{\\rtf1{\\revtbl {Unknown;}}{\\rsidtbl \\rsid1}x}").text, "x");
}

TEST(RtfReaderRevisions, MovedTextKeepsItsNewPlaceOnly) {
    // As Word writes a move: the marks of both ranges, the old text deleted
    // and moved away, the new text inserted and moved here.
    Read read = readRtf(
        "{\\rtf1 {\\*\\mvfmf move1 123456}{\\deleted\\mvf\\revauthdel1\\revdttmdel9 Later. }"
        "{\\*\\mvfml move1}Now. {\\*\\mvtof move1 123456}{\\revised\\mvt\\revauth1 Later.}"
        "{\\*\\mvtol move1}\\par}");
    EXPECT_EQ(read.text, "@Now. Later.|");
    EXPECT_EQ(read.notices.size(), 1u);
    // A mark without its "*" is no text either.
    EXPECT_EQ(readRtf("{\\rtf1 a{\\mvtof m 1}b{\\mvtol m}}").text, "ab");
}

TEST(RtfReaderAnnotations, CommentsAreNotText) {
    // As LibreOffice writes a comment, and as Word does, with the range marks.
    EXPECT_EQ(readRtf("{\\rtf1 This {\\*\\atnid A}{\\*\\atnauthor Ann}\\chatn{\\*\\annotation"
                      "{\\*\\atndate 1}The comment.}word.}")
                  .text,
              "@This word.");
    EXPECT_EQ(readRtf("{\\rtf1 {\\*\\atrfstart 1}word{\\*\\atrfend 1}{\\*\\atnid A}"
                      "{\\*\\atnauthor Ann}\\chatn{\\*\\annotation{\\*\\atnref 1}note}.}")
                  .text,
              "@word.");
    // Older writers leave out the "\\*", and keep the time and icon apart.
    EXPECT_EQ(readRtf("{\\rtf1 a{\\atnid A}{\\atnauthor Ann}{\\atntime \\yr2024}"
                      "{\\atnicn x}\\chatn{\\annotation note}b}")
                  .text,
              "@ab");
    // The example of the format's own description: the mark and comment in
    // hidden text.
    EXPECT_EQ(readRtf("{\\rtf1 physics.{\\v\\fs16 {\\atnid bz}\\chatn{\\*\\annotation\\pard\\plain "
                      "{\\fs16 \\chatn }How about some examples?}} More\\par}")
                  .text,
              "@physics. More|");
}

TEST(RtfReaderAnnotations, CommentsAreToldOnceAtTheirFirstParagraph) {
    Read read =
        readRtf("{\\rtf1 plain\\par a{\\*\\annotation one}\\par b{\\*\\annotation two}\\par}");
    EXPECT_EQ(read.text, "plain|@a|b|");
    ASSERT_EQ(read.notices.size(), 1u);
    EXPECT_EQ(read.notices[0], notice(RtfNotice::CommentsLeftOut, ""));
    // A change and a comment in one paragraph: the change is told first.
    Read both = readRtf("{\\rtf1 a{\\*\\annotation c}{\\deleted d}e\\par}");
    EXPECT_EQ(both.text, "@@ae|");
    ASSERT_EQ(both.notices.size(), 2u);
    EXPECT_EQ(both.notices[0], notice(RtfNotice::TrackedChangesAccepted, ""));
    EXPECT_EQ(both.notices[1], notice(RtfNotice::CommentsLeftOut, ""));
    // A comment in a dropped destination, or with the document's end
    // before any paragraph.
    EXPECT_TRUE(readRtf("{\\rtf1 {\\footnote x{\\*\\annotation c}}t}").notices.empty());
    EXPECT_EQ(readRtf("{\\rtf1 t\\par {\\*\\annotation c}}").text, "t|@");
    // The same group read again (groups read before are replayed) is told
    // once, and a replay does not lose the first telling.
    std::string group = "{\\*\\atnid A}\\chatn{\\*\\annotation x}";
    Read again = readRtf("{\\rtf1 a" + group + "\\par b" + group + "\\par c" + group + "}");
    EXPECT_EQ(again.text, "@a|b|c");
    EXPECT_EQ(again.notices.size(), 1u);
}

// What the README says is left out on purpose, besides comments.
TEST(RtfReaderDropped, FieldInstructionsHiddenTextPicturesAndNotes) {
    EXPECT_EQ(readRtf("{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"http://x\"}"
                      "{\\fldrslt here}}, {\\v hidden}{\\*\\shppict{\\pict\\pngblip 89}}"
                      "{\\footnote note}{\\header h}done.}")
                  .text,
              "see here, done.");
}

}  // namespace

namespace {

using tessel::test::readFile;
using tessel::test::TempDir;

const std::string kSeparator(58, '-');

// The numbered message of the log, from "[N]" to the end of its quote.
std::string quotedMessage(const std::string& number, const std::string& text,
                          const std::string& quoted) {
    return "[" + number + "] " + text + "\r\n" + kSeparator + "\r\n" + quoted + "\r\n" +
           kSeparator + "\r\n";
}

TEST(RtfBackRealFiles, ASurplusBraceIsAWarningWithEveryParagraphWritten) {
    TempDir dir;
    auto path = dir.write("w.rtf", "{\\rtf1 abc\\par def}}");
    EXPECT_EQ(f_iRTF2Text(path.c_str(), ".txt"), -113);
    EXPECT_EQ(readFile(dir.file("w.txt")), "abc\r\ndef");
    std::string log = readFile(dir.file("w.ERR"));
    EXPECT_NE(log.find(quotedMessage(
                  "1",
                  "The RTF file has more closing braces than opening ones. It was read up to the "
                  "brace that closes the document; what follows it was not read:",
                  "}")),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("[2]"), std::string::npos) << "told once";
}

TEST(RtfBackRealFiles, WhatFollowsTheDocumentIsNeverWritten) {
    TempDir dir;
    // RichEdit ends its files with a NUL byte.
    auto nul = dir.write("n.rtf", std::string("{\\rtf1 text\\par }\r\n\0", 20));
    EXPECT_EQ(f_iRTF2Text(nul.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("n.txt")), "text\r\n");
    EXPECT_FALSE(tessel::test::exists(dir.file("n.ERR")));

    auto junk = dir.write("j.rtf",
                          "{\\rtf1 text\\par }\xEF\xBF\xBD"
                          "8$DM{\\rtf1 more}");
    EXPECT_EQ(f_iRTF2HTML(junk.c_str(), ".htm"), -113);
    EXPECT_EQ(readFile(dir.file("j.htm")), "text\r\n");
    std::string log = readFile(dir.file("j.ERR"));
    EXPECT_NE(log.find(quotedMessage("1",
                                     "The RTF file goes on after the closing brace of the "
                                     "document. What follows it was not read:",
                                     "\\'ef\\'bf\\'bd8$DM{\\rtf1 more}")),
              std::string::npos)
        << log;
}

TEST(RtfBackRealFiles, BinaryDataWithLineEndsOnDisk) {
    TempDir dir;
    auto path = dir.write("b.rtf", "{\\rtf1 A{\\*\\pict\\pngblip\\bin2 \r\n}B\\par}");
    EXPECT_EQ(f_iRTF2Text(path.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("b.txt")), "AB\r\n");
}

TEST(RtfBackRealFiles, TrackedChangesAreAcceptedAndTheLogSaysSo) {
    TempDir dir;
    auto path = dir.write(
        "t.rtf",
        "{\\rtf1\\ansi{\\*\\revtbl {Unknown;}{Ann;}}"
        "{\\cs6\\cf6\\f1\\lang1024 <H1>}{\\deleted\\revauthdel1 Welcome to our cafe}"
        "{\\revised\\revauth1 Willkommen in unserem Caf\\'e9}{\\cs6\\cf6\\f1\\lang1024 </H1>}\\par "
        "{\\deleted\\revauthdel1 Opening hours}{\\revised\\revauth1 \\'d6ffnungszeiten}\\par }");
    EXPECT_EQ(f_iRTF2HTML(path.c_str(), ".htm"), -113);
    EXPECT_EQ(readFile(dir.file("t.htm")),
              "<H1>Willkommen in unserem Caf&eacute;</H1>\r\n&Ouml;ffnungszeiten\r\n");
    std::string log = readFile(dir.file("t.ERR"));
    EXPECT_NE(log.find(quotedMessage(
                  "1",
                  "The RTF file holds tracked changes. They have been accepted: deleted text was "
                  "left out, inserted text written. The first paragraph with a change:",
                  "<H1>Willkommen in unserem Caf&eacute;</H1>")),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("[2]"), std::string::npos) << "told once";

    // A change in the empty last paragraph is told too.
    auto last = dir.write("l.rtf", "{\\rtf1 text\\par {\\deleted gone}}");
    EXPECT_EQ(f_iRTF2Text(last.c_str(), ".txt"), -113);
    EXPECT_EQ(readFile(dir.file("l.txt")), "text\r\n");
    EXPECT_NE(readFile(dir.file("l.ERR")).find("[1] The RTF file holds tracked changes."),
              std::string::npos);
}

TEST(RtfBackRealFiles, CommentsAreLeftOutAndTheLogSaysSo) {
    TempDir dir;
    auto path = dir.write(
        "c.rtf",
        "{\\rtf1\\ansi {\\cs6\\cf6\\f1\\lang1024 <P>}Gr\\'fc\\'dfe{\\*\\atrfstart 0}"
        "{\\*\\atnid AR}{\\*\\atnauthor Ann Reviewer}\\chatn{\\*\\annotation{\\*\\atnref 0}"
        "{\\*\\atndate 1}\\pard\\plain Check this word}{\\*\\atrfend 0}\\par "
        "{\\*\\annotation second}Ende{\\deleted  alt}\\par }");
    EXPECT_EQ(f_iRTF2HTML(path.c_str(), ".htm"), -113);
    EXPECT_EQ(readFile(dir.file("c.htm")), "<P>Gr&uuml;&szlig;e\r\nEnde\r\n");
    std::string log = readFile(dir.file("c.ERR"));
    EXPECT_NE(log.find(quotedMessage("1",
                                     "The RTF file holds comments. They have been left out: the "
                                     "text of a comment is not written. The first paragraph with "
                                     "a comment:",
                                     "<P>Gr&uuml;&szlig;e")),
              std::string::npos)
        << log;
    // The change comes later, in a paragraph of its own.
    EXPECT_NE(log.find(quotedMessage("2",
                                     "The RTF file holds tracked changes. They have been "
                                     "accepted: deleted text was left out, inserted text "
                                     "written. The first paragraph with a change:",
                                     "Ende")),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("[3]"), std::string::npos) << "each told once";
    EXPECT_EQ(log.find("Check this word"), std::string::npos);

    // The PageMaker back job holds its first lines until the header is
    // read: the notices wait with them.
    auto held = dir.write("p.rtf",
                          "{\\rtf1 <PMTags1.0 win>{\\*\\annotation n}{\\deleted x}\\par "
                          "text\\par }");
    EXPECT_EQ(f_iRTF2PageMaker(held.c_str(), ".txt"), -113);
    EXPECT_EQ(readFile(dir.file("p.txt")), "<PMTags1.0 win>\r\ntext\r\n");
    std::string heldLog = readFile(dir.file("p.ERR"));
    std::size_t change = heldLog.find("[1] The RTF file holds tracked changes.");
    std::size_t comment = heldLog.find("[2] The RTF file holds comments.");
    EXPECT_NE(change, std::string::npos) << heldLog;
    EXPECT_NE(comment, std::string::npos) << heldLog;
}

}  // namespace
