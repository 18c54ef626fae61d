// SGML as it is written: null end tags, empty and unclosed tags, marked
// sections, processing instructions, declarations with a subset or with
// comments, and XML; each line's tags as the extraction finds them, and the
// runs the mark-up makes of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup/sgml_line_extraction.h"
#include "markup/sgml_line_markup.h"
#include "markup/sgml_markup_state.h"
#include "support/rtf_expectations.h"

namespace {

using namespace tessel::markup;
using Lines = std::vector<std::string>;
const std::string& I = tessel::test::kInternalRun;
const std::string& E = tessel::test::kExternalRun;

class SgmlShortForms : public ::testing::Test {
  protected:
    void SetUp() override { sgmlMarkupState().reset(); }
    void TearDown() override { sgmlMarkupState().reset(); }

    // The tags of each line, as extraction writes them (one per line).
    Lines tags(Lines input, const std::string& separator = "\n") {
        for (std::string& line : input) {
            results.push_back(funcExtractSGMLTags(line));
            if (!sgmlMarkupState().carryOver.empty()) sgmlMarkupState().carryOver += separator;
        }
        return input;
    }

    std::string markUp(std::string line) {
        results.push_back(funcMarkUpSGMLLine(line));
        if (!sgmlMarkupState().carryOver.empty()) sgmlMarkupState().carryOver += "\\par \n";
        return line;
    }

    std::vector<int> results;
};

TEST_F(SgmlShortForms, NullEndTagsOnlyAfterANetEnablingStartTag) {
    EXPECT_EQ(tags({"the <em/Guide/, in <tt/guide.sgml/ and/or http://x/y",
                    "<tt>/usr/share/GPL</tt> <url url=\"http://a/b/\">",
                    "<tag/First item./  Here's one. a/b"}),
              (Lines{"<em/\n/\n<tt/\n/", "<tt>\n</tt>\n<url url=\"http://a/b/\">", "<tag/\n/"}));
    EXPECT_EQ(results, (std::vector<int>{4, 3, 2}));
    // A tag inside the element; the "/" that ends it stays one tag.
    EXPECT_EQ(tags({"<tt/&lt;mdw@x.edu/&gt; <em/a <b>c</b> d/ e/f"}),
              (Lines{"<tt/\n/\n<em/\n<b>\n</b>\n/"}));
}

TEST_F(SgmlShortForms, EmptyUnclosedAndNestedTags) {
    EXPECT_EQ(tags({"<>x</> <b<i>y</i</b> <A B=<C>> <p", "id=a<q>"}),
              (Lines{"<>\n</>\n<b\n<i>\n</i\n</b>\n<A B=<C>>", "<p\nid=a\n<q>"}));
    EXPECT_EQ(results, (std::vector<int>{7, 2}));
}

TEST_F(SgmlShortForms, XmlEmptyElementsInstructionsAndCdata) {
    EXPECT_EQ(tags({"<?xml version=\"1.0\" encoding=\"UTF-8\"?><doc><x/><y a=\"1\"/>t/u",
                    "<?php if (a > b) ?><![CDATA[ if (a<b) <c> ]]></doc>"}),
              (Lines{"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<doc>\n<x/>\n<y a=\"1\"/>",
                     "<?php if (a > b) ?>\n</doc>"}));
    EXPECT_EQ(results, (std::vector<int>{4, 2})) << "no stray > and no null end tag";
    // Without an XML declaration an instruction ends at its first ">".
    sgmlMarkupState().reset();
    EXPECT_EQ(tags({"<?page 3><p>"}), (Lines{"<?page 3>\n<p>"}));
}

TEST_F(SgmlShortForms, MarkedSections) {
    EXPECT_EQ(
        tags({"<![%standalone-include[<productname>PostgreSQL</>]]> and", "<![ %x; [", "<b>in</b>",
              "]]> <![ CDATA [ a <c> ]]> <i>", "<![ IGNORE [ <![ INCLUDE [ <d> ]]> <e> ]]> <f>",
              "<![ RCDATA [ <g>", "]]> <![ TEMP [<h>]]>"}),
        (Lines{"<![%standalone-include[\n<productname>\n</>\n]]>", "<![ %x; [", "<b>\n</b>",
               "]]>\n<i>", "<f>", "", "<![ TEMP [\n<h>\n]]>"}));
    EXPECT_EQ(results, (std::vector<int>{4, 1, 2, 2, 1, 0, 3}));
    // With no section open "]]>" is running text, its ">" a stray one.
    results.clear();
    EXPECT_EQ(tags({"a ]]> b"}), (Lines{""}));
    EXPECT_EQ(results, (std::vector<int>{-1202}));
}

TEST_F(SgmlShortForms, DeclarationsWithSubsetsCommentsAndLiterals) {
    EXPECT_EQ(tags({"<!doctype debiandoc system [", "<!-- don't hard code it > here -->",
                    "<!entity % versiondata SYSTEM \"version.ent\"> %versiondata;",
                    "<![ %x; [ <!entity y \"]>\"> ]]>", "]>", "<debiandoc>"}),
              (Lines{"", "", "", "", "", "<debiandoc>"}))
        << "a declaration with a subset is no tag";
    EXPECT_EQ(tags({"<!doctype linuxdoc system><!ELEMENT x - - (#PCDATA) -- a > b --><!>"}),
              (Lines{"<!doctype linuxdoc system>\n<!ELEMENT x - - (#PCDATA) -- a > b -->\n<!>"}));
    EXPECT_EQ(results.back(), 3);
}

TEST_F(SgmlShortForms, AStartThatBeginsNoMarkupIsTextAndNoted) {
    EXPECT_EQ(tags({"if a < b and c <= d <p>"}), (Lines{"<p>"}));
    EXPECT_TRUE(sgmlMarkupState().unplacedStart);
    sgmlMarkupState().unplacedStart = false;
    // A null end tag that does not come on the line: on the next line a
    // "/" is text again.
    EXPECT_EQ(tags({"<tt/never closed", "and/or <q>"}), (Lines{"<tt/", "<q>"}));
    EXPECT_TRUE(sgmlMarkupState().missingNet);
    EXPECT_FALSE(sgmlMarkupState().unplacedStart);
}

TEST_F(SgmlShortForms, MarkUpWrapsTagsAndProtectsBlocksWhole) {
    EXPECT_EQ(markUp("the <em/Guide/, a/b"), "the " + I + "<em/}Guide" + I + "/}, a/b");
    EXPECT_EQ(markUp("<!DOCTYPE x ["), "");
    EXPECT_EQ(markUp("<!ENTITY caf \"caf\\'e9\"> ]>text"),
              E + "<!DOCTYPE x [\\par \n<!ENTITY caf \"caf\\'e9\"> ]>}text");
    EXPECT_EQ(markUp("<![CDATA[x <y> z]]><b<i>"),
              E + "<![CDATA[x <y> z]]>}" + I + "<b}" + I + "<i>}");
    // An escaped byte of the RTF line opens no literal.
    EXPECT_EQ(markUp("<!x a\\'e9 b>t"), I + "<!x a\\'e9 b>}t");
    EXPECT_EQ(results, (std::vector<int>{2, 0, 1, 3, 1}));
}

}  // namespace
