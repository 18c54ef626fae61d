#include "dtp/replace_list.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dtp/converter_test_support.h"
#include "dtp/page_maker_replace_list.h"
#include "dtp/static_file_map.h"
#include "dtp/text_to_rtf_replace_list.h"
#include "dtp/text_to_rtf_replace_piece.h"
#include "dtp/xpress_replace_list.h"
#include "platform/streams.h"
#include "resources/markup_framework_texts.h"

namespace tessel::dtp {
namespace {

using test::crlf;

constexpr std::string_view kInternal = "{\\cs6\\cf6\\f1\\lang1024 ";
constexpr std::string_view kExternal = "{\\cs5\\cf15\\f1\\lang1024 ";

class ReplaceListTest : public ::testing::Test {
  protected:
    std::string source(std::string_view bytes) {
        path_ = dir_.write("source.txt", bytes);
        file_ = registerSourceFile(path_);
        return path_;
    }
    CTextPiece range(std::uint32_t l1, std::uint32_t c1, std::uint32_t l2, std::uint32_t c2,
                     std::string text = "t") const {
        return CTextPiece(std::move(text), l1, c1, l2, c2, file_);
    }
    bool add(CReplaceList& list, CTextPiece piece, std::int32_t kind) {
        return list.add(std::make_unique<CTextToRTFReplacePiece>(std::move(piece), kind));
    }
    // Writes the list to "out.rtf" and returns the bytes between header and
    // footer, text-mode line ends turned back into LF.
    std::string body(CReplaceList& list) {
        EXPECT_TRUE(list.writeOutput(path_, dir_.file("out.rtf")));
        std::string written = test::readFile(dir_.file("out.rtf"));
        std::string header = crlf(resources::kConverterRtfHeader);
        EXPECT_EQ(written.substr(0, header.size()), header);
        EXPECT_EQ(written.back(), '}');
        return written.substr(header.size(), written.size() - header.size() - 1);
    }

    test::TempDir dir_;
    test::ConverterLogCapture log_{dir_};
    std::string path_;
    std::int32_t file_ = 0;
};

TEST_F(ReplaceListTest, PiecesAreKeptInSourceOrder) {
    source("abcdefghij\n");
    CTextToRTFReplaceList list(path_);
    EXPECT_TRUE(add(list, range(1, 5, 1, 6), kRtfPieceInternal));
    EXPECT_TRUE(add(list, range(1, 1, 1, 2), kRtfPieceInternal));
    EXPECT_TRUE(add(list, range(1, 8, 1, 9), kRtfPieceExternal));
    EXPECT_TRUE(add(list, range(1, 3, 1, 4), kRtfPieceInternal));
    std::vector<std::uint32_t> starts;
    for (const auto& piece : list.pieces()) starts.push_back(piece->source().startColumn);
    EXPECT_EQ(starts, (std::vector<std::uint32_t>{1, 3, 5, 8}));
    EXPECT_EQ(body(list),
              crlf(std::string(kInternal) + "a}b" + std::string(kInternal) + "c}d" +
                   std::string(kInternal) + "e}fg" + std::string(kExternal) + "h}ij\n\\par "));
}

TEST_F(ReplaceListTest, PieceAfterTheLastIsAppendedButItsDuplicateAndEarlierPiecesAreNot) {
    source("abcdefghij\n");
    CTextToRTFReplaceList list(path_);
    EXPECT_TRUE(add(list, range(1, 3, 1, 5), kRtfPieceInternal));
    EXPECT_TRUE(add(list, range(1, 5, 1, 6), kRtfPieceInternal)) << "starts where the last ends";
    EXPECT_FALSE(add(list, range(1, 5, 1, 6), kRtfPieceInternal)) << "the same range again";
    EXPECT_TRUE(add(list, range(1, 6, 1, 6), kRtfPieceInternal)) << "empty, at the last end";
    EXPECT_TRUE(add(list, range(1, 1, 1, 2), kRtfPieceInternal));
    EXPECT_TRUE(add(list, range(1, 9, 1, 10), kRtfPieceInternal));
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
    for (const auto& piece : list.pieces()) {
        ranges.emplace_back(piece->source().startColumn, piece->source().endColumn);
    }
    EXPECT_EQ(ranges, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                          {1, 2}, {3, 5}, {5, 6}, {6, 6}, {9, 10}}));
}

TEST_F(ReplaceListTest, PieceThatChangesNothingIsDropped) {
    source("x\n");
    CReplaceList list(path_);
    auto same = std::make_unique<CReplacePiece>(range(1, 1, 1, 2, "x"), range(1, 1, 1, 2, "x"));
    EXPECT_FALSE(list.add(std::move(same)));
    CTextToRTFReplaceList rtf;
    EXPECT_FALSE(add(rtf, range(1, 1, 1, 2, ""), kRtfPieceInternal));
    EXPECT_EQ(rtf.count(), 0u);
    EXPECT_TRUE(add(rtf, range(1, 1, 1, 2, "x"), kRtfPieceInternal));
    EXPECT_EQ(rtf.fileName(), path_) << "an empty list takes the piece's file name";
    EXPECT_EQ(log_.text(), "");
}

TEST_F(ReplaceListTest, ReplacementPieceIsTheOneGivenElseTheSourceRangeWithoutText) {
    source("<B>text\n");
    CReplacePiece given(range(1, 1, 1, 4, "<B>"), range(1, 2, 1, 3, "*"));
    EXPECT_EQ(given.replacementPiece(), range(1, 2, 1, 3, "*"));
    EXPECT_EQ(given.replacementFor("<B>"), "*");
    EXPECT_FALSE(given.changesNothing());
    // A converter's piece keeps no replacement piece of its own; it stands
    // for its source range with empty text, so only an empty source text
    // changes nothing.
    CTextToRTFReplacePiece tag(range(1, 1, 1, 4, "<B>"), kRtfPieceReplacementText);
    EXPECT_EQ(tag.replacementPiece(), range(1, 1, 1, 4, ""));
    EXPECT_EQ(tag.replacementFor("<B>"), "") << "the replacement text is empty";
    EXPECT_FALSE(tag.changesNothing());
    EXPECT_TRUE(CTextToRTFReplacePiece(range(1, 1, 1, 4, ""), kRtfPieceExternal).changesNothing());
}

TEST_F(ReplaceListTest, DuplicateRangeKeepsTheFirstAndReportsDifferentReplacements) {
    source("<B>text\n");
    CTextToRTFReplaceList list(path_);
    EXPECT_TRUE(add(list, range(1, 1, 1, 4, "<B>"), kRtfPieceInternal));
    EXPECT_FALSE(add(list, range(1, 1, 1, 4, "<B>"), kRtfPieceInternal));
    EXPECT_EQ(log_.text(), "") << "same replacement: dropped silently";
    EXPECT_FALSE(add(list, range(1, 1, 1, 4, "<B>"), kRtfPieceExternal));
    EXPECT_EQ(list.count(), 1u);
    EXPECT_EQ(log_.text(),
              "\n[1]  Duplicate translations! <B> is translated as {\\cs6\\cf6\\f1\\lang1024 } and "
              "{\\cs5\\cf15\\f1\\lang1024 }.\n-  \n-  \n-  \n");
}

TEST_F(ReplaceListTest, NoPiecesGivesHeaderEscapedSourceAndFooter) {
    source("a{b}\tc\\d\n\xA0\x93q\x94\n");
    CTextToRTFReplaceList list(path_);
    list.lineJoining = false;
    EXPECT_EQ(body(list), "a\\{b\\}\\tab c\\\\d\r\n\\par \\~\\ldblquote q\\rdblquote \r\n\\par ");
}

TEST_F(ReplaceListTest, PieceOverTheLastLineEndLeavesNothingAfterIt) {
    source("a\n<tag>\n");
    CTextToRTFReplaceList list(path_);
    add(list, range(2, 1, 3, 1, "<tag>\n"), kRtfPieceExternal);
    EXPECT_EQ(body(list), crlf("a\n\\par " + std::string(kExternal) + "<tag>\n\\par }"));
}

TEST_F(ReplaceListTest, JoinedInternalTagSpansTwoLinesWithoutParagraphMark) {
    source("x <a\nb> y\xA0z\n");
    CTextToRTFReplaceList list(path_);
    list.internalWithoutLineEnds = true;
    list.lineJoining = false;
    EXPECT_EQ(list.internalKind(), kRtfPieceJoinedInternal);
    add(list, range(1, 3, 2, 3, "<a"), list.internalKind());
    add(list, range(2, 4, 2, 6, " y"), kRtfPieceInternal);
    EXPECT_EQ(body(list), "x " + std::string(kInternal) + "<ab>} " + std::string(kInternal) +
                              "y\\~}z\r\n\\par ");
}

TEST_F(ReplaceListTest, RemovedAndUnknownKindsWriteNothing) {
    source("keep<drop>keep\n");
    CTextToRTFReplaceList list(path_);
    add(list, range(1, 5, 1, 11, "<drop>"), kRtfPieceRemoved);
    EXPECT_EQ(body(list), "keepkeep\r\n\\par ");
    CTextToRTFReplacePiece odd(range(1, 1, 1, 2), 42);
    EXPECT_EQ(odd.replacementFor("abc"), "");
    CTextToRTFReplacePiece joined(range(1, 1, 1, 2), kRtfPieceJoinedExternal);
    EXPECT_EQ(joined.replacementFor("a\nb{"), std::string(kExternal) + "ab\\{}");
    CTextToRTFReplacePiece text(range(1, 1, 1, 2), kRtfPieceJoinedText);
    EXPECT_EQ(text.replacementFor("a\n}"), "a\\}");
}

// Pieces on one line are written from the input's buffer, each kind as it is
// written elsewhere; a Ctrl-Z, which that scan takes for a line end, sends
// the piece (in its text or in the text before it) the slow way, to the same
// result.
TEST_F(ReplaceListTest, EveryKindOnOneLineAndBytesThatStopTheLineScan) {
    source("a\tb<i>c{d}<\x1A>e<x>f\x1Ag<j>h<r>i<t>j\n");
    CTextToRTFReplaceList list(path_);
    add(list, range(1, 4, 1, 7, "<i>"), kRtfPieceInternal);
    add(list, range(1, 11, 1, 14, "<\x1A>"), kRtfPieceExternal);
    add(list, range(1, 15, 1, 18, "<x>"), kRtfPieceJoinedInternal);
    add(list, range(1, 21, 1, 24, "<j>"), kRtfPieceJoinedExternal);
    add(list, range(1, 25, 1, 28, "<r>"), kRtfPieceRemoved);
    add(list, range(1, 29, 1, 32, "<t>"), kRtfPieceJoinedText);
    const std::string internal(kInternal);
    const std::string external(kExternal);
    EXPECT_EQ(body(list), "a\\tab b" + internal + "<i>}c\\{d\\}" + external + "<\x1A>}e" +
                              internal + "<x>}f\x1Ag" + external + "<j>}hi<t>j\r\n\\par ");
    EXPECT_EQ(log_.text(), "");
}

TEST_F(ReplaceListTest, ReadingBackwardsStopsTheWriterAndRemovesThePartialOutput) {
    source("one two three\n");
    CTextToRTFReplaceList list(path_);
    add(list, range(1, 1, 1, 8, "one two"), kRtfPieceInternal);
    // Overlapping pieces: the second starts inside the first and is placed
    // before it, so the writer would have to go back to column 1.
    list.add(std::make_unique<CTextToRTFReplacePiece>(range(1, 5, 1, 10, "two t"), 1));
    ASSERT_EQ(list.count(), 2u);
    EXPECT_FALSE(list.writeOutput(path_, dir_.file("out.rtf")));
    EXPECT_FALSE(test::exists(dir_.file("out.rtf")));
    EXPECT_EQ(log_.text(),
              "\n[1]  Character 1 on line 1 has already been read - current offset is 10.\n");
}

TEST_F(ReplaceListTest, LineBehindTheCurrentOneFails) {
    source("a\nb\nc\n");
    CTextToRTFReplaceList list(path_);
    add(list, range(2, 1, 3, 1, "b\n"), kRtfPieceInternal);
    add(list, range(1, 1, 3, 2, "a"), kRtfPieceInternal);  // overlaps: goes first
    EXPECT_FALSE(list.writeOutput(path_, dir_.file("out.rtf")));
    EXPECT_EQ(log_.text(), "\n[1]  Line 2 has already been read - current line is 3.\n");
}

// A list written while pieces are still added: pieces lying before the
// limit go out, the rest wait, and the whole equals one pass at the end.
TEST_F(ReplaceListTest, WrittenInStepsLikeInOnePass) {
    source("a <b> c <d> e\nf <g> h\n");
    auto addAll = [&](CReplaceList& list, bool stepwise) {
        add(list, range(1, 3, 1, 6, "<b>"), kRtfPieceInternal);
        add(list, range(1, 9, 1, 12, "<d>"), kRtfPieceExternal);
        if (stepwise) {
            list.writeBefore(1, 9);  // <b> lies before; <d> starts at the limit
            EXPECT_EQ(list.pieces().size(), 1u);
        }
        add(list, range(2, 3, 2, 6, "<g>"), kRtfPieceInternal);
        if (stepwise) list.writeBefore(2, 1);
        // A piece taken back after others were written.
        EXPECT_EQ(list.removeEnclosedBy(range(2, 1, 2, 8)), 1u);
        add(list, range(2, 1, 2, 8, "f <g> h"), kRtfPieceExternal);
        EXPECT_EQ(list.count(), 3u) << "written pieces still count";
    };
    CTextToRTFReplaceList whole(path_);
    addAll(whole, false);
    std::string expected = body(whole);
    CTextToRTFReplaceList steps(path_);
    ASSERT_TRUE(steps.beginOutput(path_, dir_.file("out.rtf")));
    addAll(steps, true);
    EXPECT_TRUE(steps.pieces().size() == 1u && steps.finishOutput());
    EXPECT_EQ(test::readFile(dir_.file("out.rtf")),
              crlf(resources::kConverterRtfHeader) + expected + "}");
    EXPECT_EQ(log_.text(), "");
}

// Escapes the few bytes the long source below holds that RTF escapes.
std::string escapedForTest(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '{') {
            out += "\\{";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\n\\par ";
        } else {
            out += c;
        }
    }
    return out;
}

// A source of several input buffers with pieces on every line, some of them
// across a line end: pieces and text that straddle the buffer's end, and
// output longer than one write, come out the same written at once and in
// steps.
TEST_F(ReplaceListTest, LongSourceAcrossBufferEndsIsWrittenWhole) {
    std::string bytes;
    std::string expected;
    std::vector<std::pair<CTextPiece, std::int32_t>> pieces;
    constexpr std::uint32_t kLines = 4000;
    for (std::uint32_t line = 1; line <= kLines; ++line) {
        std::string prefix = "w{" + std::string(line % 37, 'a') + "\\ ";
        std::string tag = "<t" + std::to_string(line) + ">";
        std::string mid = " mid ";
        std::string suffix = std::string(line % 11, 'z');
        bytes += prefix + tag + mid + "<b>" + suffix + "\r\n";
        auto tagStart = static_cast<std::uint32_t>(prefix.size() + 1);
        auto tagEnd = static_cast<std::uint32_t>(tagStart + tag.size());
        auto boldStart = static_cast<std::uint32_t>(tagEnd + mid.size());
        pieces.push_back({range(line, tagStart, line, tagEnd, tag), kRtfPieceInternal});
        expected +=
            escapedForTest(prefix) + std::string(kInternal) + tag + "}" + escapedForTest(mid);
        if (line % 7 == 0 && line < kLines) {
            // From "<b>" to the start of the next line.
            pieces.push_back({range(line, boldStart, line + 1, 1, "<b>"), kRtfPieceExternal});
            expected += std::string(kExternal) + escapedForTest("<b>" + suffix + "\n") + "}";
        } else {
            pieces.push_back(
                {range(line, boldStart, line, boldStart + 3, "<b>"), kRtfPieceExternal});
            expected += std::string(kExternal) + "<b>}" + escapedForTest(suffix + "\n");
        }
    }
    source(bytes);
    ASSERT_GT(bytes.size(), 2 * platform::kStreamBufferSize);
    CTextToRTFReplaceList whole(path_);
    whole.lineJoining = false;
    for (const auto& [piece, kind] : pieces) add(whole, piece, kind);
    EXPECT_EQ(body(whole), crlf(expected));
    CTextToRTFReplaceList steps(path_);
    steps.lineJoining = false;
    ASSERT_TRUE(steps.beginOutput(path_, dir_.file("steps.rtf")));
    for (const auto& [piece, kind] : pieces) {
        add(steps, piece, kind);
        steps.writeBefore(piece.startLine, piece.startColumn);
    }
    ASSERT_TRUE(steps.finishOutput());
    EXPECT_EQ(test::readFile(dir_.file("steps.rtf")),
              crlf(resources::kConverterRtfHeader) + crlf(expected) + "}");
    EXPECT_EQ(log_.text(), "");
}

// Text before a piece that crosses CR LF line ends is converted from the
// input's buffer, joined and escaped as when read in steps; a lone CR sends
// it the slow way, where it ends a line. The Macintosh mapping and a list
// that only copies give the same text.
TEST_F(ReplaceListTest, TextAcrossLineEndsIsWrittenAsRead) {
    source("one\r\ntwo <a>\r\n\r\nthree\tx\r\n<b>\r\nfour\rfive <c>\n");
    auto addAll = [&](CReplaceList& list) {
        add(list, range(2, 5, 2, 8, "<a>"), kRtfPieceInternal);
        add(list, range(5, 1, 5, 4, "<b>"), kRtfPieceInternal);
        add(list, range(7, 6, 7, 9, "<c>"), kRtfPieceInternal);
    };
    const std::string internal(kInternal);
    const std::string expected = "one two " + internal +
                                 "<a>}\n\\par \n\\par three\\tab x\n\\par " + internal +
                                 "<b>}\n\\par four five " + internal + "<c>}\n\\par ";
    for (bool macintosh : {false, true}) {
        CTextToRTFReplaceList list(path_);
        list.macintosh = macintosh;
        addAll(list);
        EXPECT_EQ(body(list), crlf(expected)) << "Macintosh " << macintosh;
    }
    CReplaceList copying(path_);
    addAll(copying);
    ASSERT_TRUE(copying.writeOutput(path_, dir_.file("copy.txt")));
    EXPECT_EQ(test::readFile(dir_.file("copy.txt")),
              crlf("one\ntwo " + internal + "<a>}\n\nthree\tx\n" + internal + "<b>}\nfour\nfive " +
                   internal + "<c>}\n"));
    EXPECT_EQ(log_.text(), "");
}

TEST_F(ReplaceListTest, FailedStepLeavesNoOutputAndTheListShort) {
    source("a\nb\n");
    CTextToRTFReplaceList list(path_);
    ASSERT_TRUE(list.beginOutput(path_, dir_.file("out.rtf")));
    add(list, range(5, 1, 5, 2, "x"), kRtfPieceInternal);  // beyond the file
    list.writeBefore(6, 1);
    EXPECT_TRUE(list.pieces().empty());
    add(list, range(7, 1, 7, 2, "y"), kRtfPieceInternal);
    list.writeBefore(8, 1);
    EXPECT_TRUE(list.pieces().empty()) << "pieces after a failure are dropped, not kept";
    EXPECT_EQ(list.count(), 2u);
    EXPECT_FALSE(list.finishOutput());
    EXPECT_FALSE(test::exists(dir_.file("out.rtf")));
    EXPECT_EQ(log_.text(), "\n[1]  Unexpected End of File in " + path_ +
                               ". This file does not contain 5 lines!");

    // An output begun and then given up, or left when the list goes, is removed.
    ASSERT_TRUE(list.beginOutput(path_, dir_.file("given_up.rtf")));
    list.abandonOutput();
    EXPECT_FALSE(list.finishOutput());
    {
        CTextToRTFReplaceList left(path_);
        ASSERT_TRUE(left.beginOutput(path_, dir_.file("left.rtf")));
        // Begun, the output is written beside its name until it is complete.
        EXPECT_FALSE(test::exists(dir_.file("left.rtf")));
    }
    EXPECT_FALSE(test::exists(dir_.file("given_up.rtf")));
    EXPECT_FALSE(test::exists(dir_.file("left.rtf")));
}

TEST_F(ReplaceListTest, SameNameAndMissingInputAreReported) {
    source("x\n");
    CTextToRTFReplaceList list(path_);
    EXPECT_FALSE(list.writeOutput("", ""));
    std::string upper = path_.substr(0, path_.size() - 3) + "TXT";
    EXPECT_FALSE(list.writeOutput(path_, upper));
    EXPECT_FALSE(list.writeOutput(dir_.file("missing.txt"), dir_.file("m.rtf")));
    std::string logged = log_.text();
    EXPECT_NE(
        logged.find("[1]  Same filename (" + path_ + ") specified for both Input and Output!\n"),
        std::string::npos);
    EXPECT_NE(logged.find("[2]  File Error! Could not open the input file " +
                          dir_.file("missing.txt") + ". No such file or directory\n"),
              std::string::npos);
    EXPECT_NE(
        logged.find("[3]  \nFile Error! No such file or directory\n- Skipping output file for " +
                    dir_.file("m.rtf") + "!\n\n"),
        std::string::npos);
    EXPECT_FALSE(test::exists(dir_.file("m.rtf")));
}

TEST_F(ReplaceListTest, OutputFoldersAreCreatedAndBareNamesNeedNone) {
    source("x\n");
    CTextToRTFReplaceList list(path_);
    EXPECT_TRUE(list.writeOutput(path_, dir_.file("new/deeper/out.rtf")));
    EXPECT_TRUE(test::exists(dir_.file("new/deeper/out.rtf")));
    std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(dir_.path());
    bool bare = list.writeOutput(path_, "bare.RTF");
    std::filesystem::current_path(cwd);
    EXPECT_TRUE(bare);
    EXPECT_TRUE(test::exists(dir_.file("bare.RTF")));
}

TEST_F(ReplaceListTest, MacintoshTextGetsWindowsBytesAndProtectedLiteralTags) {
    source("caf\x8E \xB0 <\x8E\xB0>\n");
    CPageMakerReplaceList list(path_);
    list.macintosh = true;
    add(list, range(1, 8, 1, 12, "<"), kRtfPieceJoinedInternal);
    EXPECT_EQ(body(list), "caf\xE9 " + std::string(kInternal) + "<\\\\#176>} " +
                              std::string(kInternal) + "<\x8E\xB0>}\r\n\\par ");
    EXPECT_EQ(list.literalCharacterTag(0xA5), "<\\#165>");
}

TEST_F(ReplaceListTest, QuarkXPressListWritesTheSameLiteralTags) {
    source("\xB0 a\nb\n");
    CXPressReplaceList list(path_);
    EXPECT_FALSE(list.lineJoining);
    list.macintosh = true;
    EXPECT_EQ(body(list), std::string(kInternal) + "<\\\\#176>} a\r\n\\par b\r\n\\par ");
    CTextToRTFReplaceList plain(path_);
    plain.macintosh = true;
    std::string text = "\xB0x";
    plain.convertText(text);
    EXPECT_EQ(text, "x") << "the base list drops a byte it cannot map";
}

// Literal character tags between pieces are wrapped once each, those written
// before them left as they are.
TEST_F(ReplaceListTest, LiteralTagsBetweenPiecesAreWrappedOnce) {
    source("\xB0<B>\xB0<I>\n");
    CXPressReplaceList list(path_);
    list.macintosh = true;
    add(list, range(1, 2, 1, 5, "<B>"), kRtfPieceInternal);
    add(list, range(1, 6, 1, 9, "<I>"), kRtfPieceInternal);
    std::string literal = std::string(kInternal) + "<\\\\#176>}";
    EXPECT_EQ(body(list), literal + std::string(kInternal) + "<B>}" + literal +
                              std::string(kInternal) + "<I>}\r\n\\par ");
}

TEST_F(ReplaceListTest, WindowsTextKeepsLiteralTagsUnwrapped) {
    source("<\\#176> \xB0\n");
    CPageMakerReplaceList list(path_);
    EXPECT_EQ(body(list), "<\\\\#176> \xB0\r\n\\par ");
}

// Joining is part of the escape scan: a joined line end drops the blanks
// around it, tabs already escaped included.
TEST(LineJoining, JoinsOnlySingleBreaksBetweenWords) {
    auto joined = [](std::string_view text) {
        std::string out;
        appendConverterRtfText(out, text, true);
        return out;
    };
    EXPECT_EQ(joined("word\n  other"), "word other");
    EXPECT_EQ(joined("word  \t\n\tother"), "word other");
    EXPECT_EQ(joined("a\t\t\nb"), "a b");
    EXPECT_EQ(joined("end.\nNext"), "end. Next");
    EXPECT_EQ(joined("word\n\nother"), "word\n\\par \n\\par other");
    EXPECT_EQ(joined("word\n \nother"), "word\n\\par  \n\\par other");
    EXPECT_EQ(joined("word\t\n<tag"), "word\\tab \n\\par <tag");
    EXPECT_EQ(joined("{a}\n{b}"), "\\{a\\}\n\\par \\{b\\}");
    EXPECT_EQ(joined("\nword"), "\n\\par word");
    EXPECT_EQ(joined("word\n"), "word\n\\par ");
    EXPECT_EQ(joined("caf\xE9\nnext"), "caf\xE9\n\\par next");
    EXPECT_EQ(joined("a\nb\nc"), "a b c");
    EXPECT_EQ(joined("a\r\nb"), "a\r\n\\par b") << "a CR read from a file is a byte of its line";
    std::string out = "kept\n";
    appendConverterRtfText(out, "x\ny", false);
    EXPECT_EQ(out, "kept\nx\n\\par y") << "the text is appended; what was there stays";
}

// A line end is joined after a letter, digit or punctuation mark of ASCII
// and before a letter or digit, whatever the locale says of other bytes.
TEST(LineJoining, JoinsAfterVisibleAsciiAndBeforeAlphanumerics) {
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        if (byte == ' ' || byte == '\t' || byte == '\n') continue;
        const bool visible = value < 0x80 && (std::isalnum(value) != 0 || std::ispunct(value) != 0);
        const bool alphanumeric = value < 0x80 && std::isalnum(value) != 0;
        std::string after;
        appendConverterRtfText(after, std::string("x") + byte + "\ny", true);
        EXPECT_EQ(after.find('\n') == std::string::npos, visible) << value;
        std::string before;
        appendConverterRtfText(before, std::string("x\n") + byte, true);
        EXPECT_EQ(before.find('\n') == std::string::npos, alphanumeric) << value;
    }
}

// Text as the input's buffer holds it, with CR LF or LF line ends, comes out
// as the same text read line by line (LF ends), joined or not, for every end
// position after a line end; bytes after the end do not count.
TEST(LineJoining, BufferedTextAcrossLinesAsWhenRead) {
    const std::string bytes = "one two\r\n  three\t\r\n\r\nfour {x}\n\tfive\t \r\nsix.\r\n\\end";
    std::vector<std::size_t> lineStarts;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') lineStarts.push_back(i + 1);
    }
    for (bool join : {false, true}) {
        for (std::size_t line = 0; line < lineStarts.size(); ++line) {
            const std::size_t start = lineStarts[line];
            const std::size_t lineEnd = bytes.find_first_of("\r\n", start);
            const std::size_t last = lineEnd == std::string::npos ? bytes.size() : lineEnd;
            for (std::size_t end = start; end <= last; ++end) {
                std::string read = bytes.substr(0, end);
                std::erase(read, '\r');
                std::string expected = "x";
                appendConverterRtfText(expected, read, join);
                std::string out = "x";
                const auto column = static_cast<std::uint32_t>(end - start + 1);
                std::optional<std::size_t> size = appendConverterRtfTextAcrossLines(
                    out, bytes, static_cast<std::uint32_t>(line + 1), column, join);
                ASSERT_TRUE(size) << line << ":" << column;
                EXPECT_EQ(*size, end);
                EXPECT_EQ(out, expected) << "join " << join << ", " << line << ":" << column;
            }
        }
    }
}

// What the buffered scan does not take: the caller then reads the text in
// steps, which handle these bytes or report the position.
TEST(LineJoining, BufferedTextFailsWhereReadingMustTakeOver) {
    auto across = [](std::string_view bytes, std::uint32_t lineEnds, std::uint32_t column,
                     bool join = true) {
        std::string out;
        return appendConverterRtfTextAcrossLines(out, bytes, lineEnds, column, join).has_value();
    };
    EXPECT_TRUE(across("a\nbc\nd", 2, 2));
    EXPECT_FALSE(across("a\nbc\nd", 0, 1)) << "no line end to cross";
    EXPECT_FALSE(across("a\nbc\nd", 1, 5)) << "a line end before the column";
    EXPECT_FALSE(across("a\nbc\nd", 2, 3)) << "beyond the bytes";
    EXPECT_FALSE(across("a\nbc\nd", 3, 1)) << "too few line ends";
    EXPECT_FALSE(across("a\nb\rc\nd", 2, 1)) << "a lone CR";
    EXPECT_FALSE(across("a\r\r\nd", 1, 1)) << "a CR before a CR LF";
    EXPECT_FALSE(across("a\nb\x1A\nd", 2, 1)) << "Ctrl-Z";
    EXPECT_FALSE(across("a\n  ", 2, 1)) << "blanks up to the end of the bytes";
    EXPECT_FALSE(across("a\n  ", 2, 1, false));
    EXPECT_FALSE(across("a\nb", 1, 0)) << "no column 0";
}

TEST(LineJoining, RtfListJoinsWhenItsFlagIsSet) {
    CTextToRTFReplaceList list;
    std::string text = "one\n  two\n\nthree";
    list.convertText(text);
    EXPECT_EQ(text, "one two\n\\par \n\\par three");
    list.macintosh = true;
    text = "caf\x8E.\n two\n\nend";
    list.convertText(text);
    EXPECT_EQ(text, "caf\xE9. two\n\\par \n\\par end") << "mapped, then joined";
    list.lineJoining = false;
    text = "caf\x8E\nx";
    list.convertText(text);
    EXPECT_EQ(text, "caf\xE9\n\\par x");
}

// What the escape table makes of one byte.
std::string escapedByTable(char byte) {
    for (const auto& escape : resources::kConverterRtfEscapes) {
        if (escape.byte == byte) return std::string(escape.replacement);
    }
    return std::string(1, byte);
}

// Calls check(byte, size, at) for each byte value at each place of texts
// shorter than, as long as and longer than a chunk of the escape scan.
template <typename Check>
void forEachByteAtEachPlace(Check check) {
    for (int value = 0; value < 256; ++value) {
        for (std::size_t size : {1, 7, 15, 16, 17, 24, 31, 32, 33}) {
            for (std::size_t at = 0; at < size; ++at) check(static_cast<char>(value), size, at);
        }
    }
}

// Where a failed check was: the byte's value, its place and the text's size.
std::string placeOf(char byte, std::size_t at, std::size_t size) {
    return std::to_string(static_cast<unsigned char>(byte)) + " at " + std::to_string(at) + " of " +
           std::to_string(size);
}

// The escape scan tests chunks of bytes: each byte at each place, alone or
// before a second escaped byte at the end, comes out as the escape table says.
TEST(ConverterRtfEscape, EveryByteAtEveryPlaceOfAChunk) {
    forEachByteAtEachPlace([](char byte, std::size_t size, std::size_t at) {
        std::string text(size, 'a');
        text[at] = byte;
        std::string expected = text.substr(0, at) + escapedByTable(byte) + text.substr(at + 1);
        if (at + 1 < size) {
            text[size - 1] = '{';
            expected = expected.substr(0, expected.size() - 1) + "\\{";
        }
        std::string appended = "x";
        appendConverterRtfEscaped(appended, text);
        EXPECT_EQ(appended, "x" + expected) << placeOf(byte, at, size);
        escapeConverterRtf(text);
        EXPECT_EQ(text, expected) << placeOf(byte, at, size);
    });
}

// The escape scan of text on one line, over the same texts: whole chunks
// past the text's end are tested where the buffer holds them (their stops do
// not count), and the bytes that end a line or need translation make it fail.
TEST(ConverterRtfEscape, LineTextStopsAtLineEndsAndNotPastItsEnd) {
    forEachByteAtEachPlace([](char byte, std::size_t size, std::size_t at) {
        const bool endsLine = byte == '\n' || byte == '\r' || byte == '\x1A';
        // The text, then bytes of the buffer after it: stops all.
        std::string buffer(size, 'a');
        buffer[at] = byte;
        std::string expected = buffer.substr(0, at) + escapedByTable(byte) + buffer.substr(at + 1);
        buffer += std::string(32, '\n');
        const std::string_view text(buffer.data(), size);
        for (std::size_t readable : {size, size + 1, buffer.size()}) {
            std::string appended = "x";
            bool plain = appendConverterRtfEscapedLine(appended, text, readable);
            EXPECT_EQ(plain, !endsLine) << placeOf(byte, at, size);
            if (plain) {
                EXPECT_EQ(appended, "x" + expected) << placeOf(byte, at, size) << ", " << readable;
            }
        }
    });
}

}  // namespace
}  // namespace tessel::dtp
