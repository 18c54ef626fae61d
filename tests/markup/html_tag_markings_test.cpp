// Tags marked as a tag of the same bytes was before: kept and found by
// their bytes only, dropped when the user's entries change, not kept under
// entries whose names reach past a tag; and marking pages with the kept
// markings gives exactly what classifying every tag gives.
#include "markup/html_tag_markings.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "frame/rtf_writer.h"
#include "markup/html_line_markup.h"
#include "markup/html_markup_state.h"
#include "markup/html_tag_file.h"

namespace {

using tessel::frame::TagKind;
using tessel::markup::funciLLInsertAfter;
using tessel::markup::htmlMarkupState;
using tessel::markup::HtmlTagMarkings;
using tessel::markup::UserTagList;
using tessel::markup::WrapLog;

// Text padded as a line's memory is.
std::string padded(const std::string& text) {
    return text + std::string(16, '\0');
}

TEST(HtmlTagMarkings, KeptByTheTagsBytes) {
    HtmlTagMarkings markings;
    ASSERT_TRUE(markings.serve(nullptr));
    const std::string line = padded("ab<IMG ALT=\"x\">cd");
    WrapLog log;
    log.add(2, 12, TagKind::External);
    log.add(13, 15, TagKind::External);
    markings.keep(line.data() + 2, 13, 1, log, 2);

    const std::string again = padded("<IMG ALT=\"x\">");
    const HtmlTagMarkings::Marking* found = markings.find(again.data(), 13);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->result, 1);
    ASSERT_EQ(found->wrapCount, 2u);
    EXPECT_EQ(found->wraps[0].start, 0);
    EXPECT_EQ(found->wraps[0].end, 10);
    EXPECT_EQ(found->wraps[1].start, 11);
    EXPECT_EQ(found->wraps[1].kind, TagKind::External);
    EXPECT_EQ(markings.find(padded("<IMG ALT=\"y\">").data(), 13), nullptr);
    EXPECT_EQ(markings.find(again.data(), 12), nullptr);

    // Short tags are told apart by their bytes, not by what follows them.
    markings.keep(padded("<B>x").data(), 3, 1, WrapLog{}, 0);
    EXPECT_NE(markings.find(padded("<B>y").data(), 3), nullptr);
    EXPECT_EQ(markings.find(padded("<I>x").data(), 3), nullptr);

    // A tag wrapped more often than logged is not kept.
    WrapLog overflowing;
    for (int i = 0; i < 3; ++i) overflowing.add(0, 3, TagKind::Internal);
    EXPECT_TRUE(overflowing.overflow);
    markings.keep(padded("<U>").data(), 3, 1, overflowing, 0);
    EXPECT_EQ(markings.find(padded("<U>").data(), 3), nullptr);
}

TEST(HtmlTagMarkings, UserEntriesDecideWhatIsKept) {
    HtmlTagMarkings markings;
    UserTagList plain;
    ASSERT_EQ(funciLLInsertAfter(plain.names.head(), "MYTAG"), 1);
    UserTagList reaching;
    ASSERT_EQ(funciLLInsertAfter(reaching.names.head(), "A>B"), 1);

    ASSERT_TRUE(markings.serve(&plain));
    markings.keep(padded("<B>").data(), 3, 1, WrapLog{}, 0);
    EXPECT_NE(markings.find(padded("<B>").data(), 3), nullptr);
    // Other entries: what was kept under the first no longer counts.
    EXPECT_TRUE(markings.serve(nullptr));
    EXPECT_EQ(markings.find(padded("<B>").data(), 3), nullptr);
    EXPECT_FALSE(markings.serve(&reaching)) << "a name with \">\" is compared past the tag";
    markings.enable(false);
    EXPECT_FALSE(markings.serve(nullptr));
}

// Tags, entities and blocks as pages have them, with the cases the markings
// leave out: PRE, tags over lines, nested "<", values without their quote.
const char* const kPieces[] = {
    "<B>",
    "</B>",
    "<P>",
    "<I>",
    "</I>",
    "<A HREF=\"x.htm\">",
    "</A>",
    "<IMG SRC=\"a.gif\" ALT=\"a picture\">",
    "<IMG SRC=\"a.gif\">",
    "<FONT SIZE=2>",
    "</FONT>",
    "<BR>",
    "< B >",
    "</ B>",
    "<b>",
    "<PRE>",
    "</PRE>",
    "<pre>",
    "<UNKNOWN>",
    "<MYTAG VALUE=\"v\">",
    "<MYTAG>",
    "<X<Y>>",
    "<A HREF=\"x",
    "<IMG ALT=\"open>",
    "<!-- comment -->",
    "<!--",
    "-->",
    "<SCRIPT>x</SCRIPT>",
    "<%= server %>",
    "<!DOCTYPE html>",
    "&amp;",
    "&nbsp;",
    "caf&eacute;",
    "text ",
    "more text ",
    "<",
    ">",
    "\\{",
    "<TD\nALIGN=left>",
    "<B\n>",
    "<FONT\nSIZE=3>",
};

std::vector<std::string> markUpPage(const std::vector<std::string>& lines, bool markings,
                                    const UserTagList* userTags, std::vector<int>& results) {
    htmlMarkupState().reset();
    htmlMarkupState().tagMarkings.enable(markings);
    htmlMarkupState().userTags = userTags;
    std::vector<std::string> marked;
    for (std::string line : lines) {
        results.push_back(tessel::markup::funcMarkUpHTMLLine(line));
        if (!htmlMarkupState().carryOver.empty()) htmlMarkupState().carryOver += "\\par \n";
        marked.push_back(line + (htmlMarkupState().pre ? "|pre" : ""));
    }
    htmlMarkupState().tagMarkings.enable(true);
    htmlMarkupState().reset();
    return marked;
}

TEST(HtmlTagMarkings, MarkingWithKeptMarkingsEqualsClassifyingEveryTag) {
    UserTagList userTags;
    // Entries in list order: name, class, attribute.
    ASSERT_EQ(funciLLInsertAfter(userTags.names.head(), "MYTAG"), 1);
    ASSERT_EQ(funciLLInsertAfter(userTags.classes.head(), "SI"), 1);
    ASSERT_EQ(funciLLInsertAfter(userTags.attributes.head(), "VALUE="), 1);
    std::mt19937 random(20261209);
    for (int round = 0; round < 12; ++round) {
        std::vector<std::string> lines;
        for (int n = 0; n < 400; ++n) {
            std::string line;
            const int pieces = 1 + static_cast<int>(random() % 14);
            for (int i = 0; i < pieces; ++i) {
                std::string piece = kPieces[random() % std::size(kPieces)];
                // A piece over two lines stands at the end of this one.
                if (const auto lf = piece.find('\n'); lf != std::string::npos) {
                    line += piece.substr(0, lf);
                    lines.push_back(line);
                    line = piece.substr(lf + 1);
                    continue;
                }
                line += piece;
            }
            lines.push_back(line);
        }
        const UserTagList* entries = round % 2 == 0 ? &userTags : nullptr;
        std::vector<int> freshResults;
        std::vector<int> keptResults;
        const auto fresh = markUpPage(lines, false, entries, freshResults);
        const auto kept = markUpPage(lines, true, entries, keptResults);
        ASSERT_EQ(kept, fresh) << "round " << round;
        ASSERT_EQ(keptResults, freshResults) << "round " << round;
    }
}

}  // namespace
