// Marking up HTML lines: tag classes, translatable attribute values, blocks
// over several lines, tags continued over lines, entities and the message
// codes with their precedence.
#include "markup/html_line_markup.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "frame/rtf_writer.h"
#include "markup/execute_function.h"
#include "markup/html_markup_state.h"
#include "markup/html_tag_file.h"

namespace {

using tessel::markup::escapeAndMarkUpHtmlLine;
using tessel::markup::funcMarkUpHTMLLine;
using tessel::markup::htmlMarkupState;

const std::string I = "{\\cs6\\cf6\\f1\\lang1024 ";
const std::string E = "{\\cs5\\cf15\\f1\\lang1024 ";
const std::string D = "{\\cs8\\cf13\\f1\\lang1024 ";

struct Marked {
    std::string text;
    int result;
};

// Marks up lines of one job in order, as the job does: each line escaped
// for RTF first, "\\par \n" added to the carry-over after each line.
class LineMarkupTest : public ::testing::Test {
  protected:
    void SetUp() override { htmlMarkupState().reset(); }
    void TearDown() override { htmlMarkupState().reset(); }

    Marked markUp(std::string line) {
        EXPECT_TRUE(tessel::frame::escapeRtf(line));
        int result = funcMarkUpHTMLLine(line);
        if (!htmlMarkupState().carryOver.empty()) htmlMarkupState().carryOver += "\\par \n";
        return {line, result};
    }
    std::string carry() const { return htmlMarkupState().carryOver; }
};

TEST_F(LineMarkupTest, TagClassesFromTheBuiltInTable) {
    auto m = markUp("x <B>y</B> z");
    EXPECT_EQ(m.text, "x " + I + "<B>}y" + I + "</B>} z");
    EXPECT_EQ(m.result, 2);
    EXPECT_EQ(markUp("<P>").text, E + "<P>}");
    EXPECT_EQ(markUp("<h3 align=center>").text, E + "<h3 align=center>}") << "entry H";
    EXPECT_EQ(markUp("<hr>").text, E + "<hr>}") << "entry HR, not H";
    EXPECT_EQ(markUp("< / Body >").text, E + "< / Body >}") << "blanks and any case";
    EXPECT_EQ(markUp("<!DOCTYPE html>").text, E + "<!DOCTYPE html>}");
    EXPECT_EQ(markUp("<!--BOLOC-->").text, D + "<!--BOLOC-->}") << "not a comment";
    EXPECT_EQ(markUp("<!--eoloc-->x").text, D + "<!--eoloc-->}x");
}

TEST_F(LineMarkupTest, TranslatableAttributeValues) {
    EXPECT_EQ(markUp("<IMG SRC=\"a.gif\" ALT=\"Logo\">").text,
              I + "<IMG SRC=\"a.gif\" ALT=\"}Logo" + I + "\">}");
    auto whole = markUp("<IMG SRC=\"a.gif\" ALT=Logo>");
    EXPECT_EQ(whole.text, I + "<IMG SRC=\"a.gif\" ALT=Logo>}");
    EXPECT_EQ(whole.result, 1);
    EXPECT_EQ(markUp("<INPUT TYPE=submit VALUE=\"Send\">").text,
              E + "<INPUT TYPE=submit VALUE=\"}Send" + E + "\">}");
    EXPECT_EQ(markUp("<img alt=  \"x\">").text, I + "<img alt=  \"}x" + I + "\">}")
        << "blanks before the quote, any case";
    EXPECT_EQ(markUp("</A>").text, I + "</A>}") << "a closing tag is wrapped whole";
    EXPECT_EQ(markUp("<IMGX ALT=\"x\">").result, -2202) << "IMG does not fit IMGX";
}

TEST_F(LineMarkupTest, MissingEndQuoteStopsTheLine) {
    auto m = markUp("<B>a</B><IMG ALT=\"Logo><I>b</I>");
    EXPECT_EQ(m.result, -2204);
    EXPECT_EQ(m.text, I + "<B>}a" + I + "</B>}<IMG ALT=\"Logo><I>b</I>")
        << "written as marked so far";
}

TEST_F(LineMarkupTest, UnknownAndNestedTags) {
    auto unknown = markUp("<ABBR>x</ABBR>");
    EXPECT_EQ(unknown.text, I + "<ABBR>}x" + I + "</ABBR>}");
    EXPECT_EQ(unknown.result, -2202);
    auto nested = markUp("<A HREF=\"<b>\">x</A> <ABBR>");
    EXPECT_EQ(nested.text, I + "<A HREF=\"<b>\">}x" + I + "</A>} " + I + "<ABBR>}");
    EXPECT_EQ(nested.result, -2205) << "nested before unknown";
}

TEST_F(LineMarkupTest, Entities) {
    auto decoded = markUp("caf&eacute; &amp; &lt;b&gt;");
    EXPECT_EQ(decoded.text, "caf\xE9 " + I + "&amp;} " + I + "&lt;}b" + I + "&gt;}");
    EXPECT_EQ(decoded.result, 3);
    EXPECT_EQ(markUp("AT&T").result, -1305);
    EXPECT_EQ(markUp("AT&T").text, "AT&T");
    EXPECT_EQ(markUp("A & B").result, 0);
    EXPECT_EQ(markUp("<A HREF=x?a=1&b=2>").result, 1) << "inside a tag";
    EXPECT_EQ(markUp("AT&T <ABBR>").result, -2202) << "unknown before ampersand";
    EXPECT_EQ(markUp("AT&T <B>").result, -1305);
}

// An "&" without its ";" is reported only outside a tag: whether it stands
// inside one is judged by the last "<" and ">" before it, also when entities
// with their ";" come between.
TEST_F(LineMarkupTest, AmpersandWithoutSemicolonAfterWrappedEntities) {
    EXPECT_EQ(markUp("<A HREF=\"?a=&amp;&b=2\">").result, 2) << "inside the tag";
    EXPECT_EQ(markUp("&amp; <B> &amp; AT&T").result, -1305) << "after the tag";
    EXPECT_EQ(markUp("&amp;<B &amp; c=&d").result, 2) << "in a tag left open";
    htmlMarkupState().reset();
    EXPECT_EQ(markUp("<B>&x; > &y; AT&T").result, -1305) << "a stray \">\" after the tag";
    htmlMarkupState().reset();
    EXPECT_EQ(markUp("&x; <I &y; >&z; <U AT&T").result, 4) << "the last \"<\" comes last";
}

TEST_F(LineMarkupTest, NumericReferencesNeverBreakTheRtf) {
    // Decoded after escaping, a brace or backslash would be raw RTF syntax.
    auto m = markUp("a&#123;b&#125;c&#92;d&#60;e&#x7B;");
    EXPECT_EQ(m.text, "a" + I + "&#123;}b" + I + "&#125;}c" + I + "&#92;}d" + I + "&#60;}e" + I +
                          "&#x7B;}");
    EXPECT_EQ(markUp("&#0;&#300;").text, I + "&#0;}" + I + "&#300;}") << "kept and protected";
    EXPECT_EQ(markUp("&#xE9;&#65;").text,
              "\xE9"
              "A");
}

TEST_F(LineMarkupTest, CommentOverThreeLines) {
    auto first = markUp("before <!-- one");
    EXPECT_EQ(first.text, "before ");
    EXPECT_EQ(first.result, 0);
    EXPECT_EQ(markUp("two").text, "");
    auto last = markUp("three --> after <B>");
    EXPECT_EQ(last.text, E + "<!-- one\\par \ntwo\\par \nthree -->} after " + I + "<B>}");
    EXPECT_EQ(last.result, 2);
    EXPECT_EQ(carry(), "");
    EXPECT_EQ(markUp("<!-- x --> y <!---->").text, E + "<!-- x -->} y " + E + "<!---->}");
}

TEST_F(LineMarkupTest, ScriptsAndServerBlocks) {
    EXPECT_EQ(markUp("<SCRIPT>if (a<b) x();</SCRIPT>").text, E + "<SCRIPT>if (a<b) x();</SCRIPT>}");
    markUp("< script language=\"js\">");
    markUp("var a = \"<B>\";");
    auto end = markUp("< /Script > text");
    EXPECT_EQ(end.text,
              E + "< script language=\"js\">\\par \nvar a = \"<B>\";\\par \n< /Script >} text");
    EXPECT_EQ(markUp("<% if x %>y").text, E + "<% if x %>}y");
    EXPECT_EQ(markUp("a < %= b %> c").text, "a " + E + "< %= b %>} c");
}

TEST_F(LineMarkupTest, ScriptEndWithoutBracketKeepsTheScriptTogether) {
    markUp("<SCRIPT>");
    auto broken = markUp("x = 1; </SCRIPT");
    EXPECT_EQ(broken.result, -2203);
    EXPECT_EQ(broken.text, "") << "the script's lines stay in order in the carry-over";
    auto end = markUp("> after");
    EXPECT_EQ(end.text, E + "<SCRIPT>\\par \nx = 1; </SCRIPT\\par \n>} after");
    EXPECT_EQ(end.result, 1);
}

TEST_F(LineMarkupTest, TagContinuedOverLines) {
    auto first = markUp("See <A HREF=\"help.htm\"");
    EXPECT_EQ(first.text, "See ");
    EXPECT_EQ(carry(), "<A HREF=\"help.htm\"\\par \n");
    auto second = markUp("TITLE=\"Help\">the help</A>");
    EXPECT_EQ(second.text,
              I + "<A HREF=\"help.htm\" TITLE=\"}Help" + I + "\">}the help" + I + "</A>}")
        << "internal: the line break becomes a blank";
    auto table = markUp("<TABLE");
    EXPECT_EQ(table.text, "");
    EXPECT_EQ(markUp("BORDER=1>x").text, E + "<TABLE\\par \nBORDER=1>}x")
        << "external: the line break stays";
}

// Wrapped tags take more room than the line; a line of many short tags
// outgrows the room the marked-up line starts with, also after a tag
// continued from the line before.
TEST_F(LineMarkupTest, LinesOfManyTagsGrowTheMarkedUpLine) {
    std::string line;
    std::string want;
    for (int i = 0; i < 400; ++i) {
        line += "<B>x";
        want += I + "<B>}x";
    }
    auto m = markUp(line);
    EXPECT_EQ(m.text, want);
    EXPECT_EQ(m.result, 400);

    EXPECT_EQ(markUp("a <A HREF=\"x.htm\"").text, "a ");
    auto continued = markUp("TITLE=\"t\">" + line);
    EXPECT_EQ(continued.text, I + "<A HREF=\"x.htm\" TITLE=\"}t" + I + "\">}" + want);
    EXPECT_EQ(continued.result, 401);
}

// The buffers of one line are reused by the next: a short line after a long
// one holds nothing of the long one.
TEST_F(LineMarkupTest, ShortLineAfterALongOneKeepsNothingOfIt) {
    std::string line;
    for (int i = 0; i < 200; ++i) line += "<B>long text ";
    markUp(line);
    for (std::string shortLine : {"", "x", "<B>", "a<I>b"}) {
        auto m = markUp(shortLine);
        EXPECT_EQ(m.text.find("long"), std::string::npos) << shortLine;
        EXPECT_LE(m.text.size(), shortLine.size() + I.size() + 1) << shortLine;
    }
    EXPECT_EQ(markUp("a<I>b").text, "a" + I + "<I>}b");
}

TEST_F(LineMarkupTest, OpenTagWithNestingIsNotCarried) {
    auto m = markUp("<A <B> x");
    EXPECT_EQ(m.result, -2205);
    EXPECT_EQ(m.text, "<A <B> x");
    EXPECT_EQ(carry(), "");
}

TEST_F(LineMarkupTest, BlockEndingBeforeAnOpenTagKeepsTheTextInOrder) {
    markUp("<!-- a");
    auto m = markUp("b --> text <A HREF=\"x\"");
    EXPECT_EQ(m.text, E + "<!-- a\\par \nb -->} text ") << "the block is written on its line";
    EXPECT_EQ(carry(), "<A HREF=\"x\"\\par \n") << "only the open tag is carried";
    EXPECT_EQ(markUp(">y</A>").text, I + "<A HREF=\"x\" >}y" + I + "</A>}");

    markUp("<!-- c");
    auto twoBlocks = markUp("d --> text <!-- e");
    EXPECT_EQ(twoBlocks.text, E + "<!-- c\\par \nd -->} text ");
    EXPECT_EQ(carry(), "<!-- e\\par \n");
}

TEST_F(LineMarkupTest, PreFlag) {
    markUp("<PRE>");
    EXPECT_TRUE(htmlMarkupState().pre);
    markUp("x</pre>");
    EXPECT_FALSE(htmlMarkupState().pre);
}

TEST_F(LineMarkupTest, UserEntriesComeFirstInListOrder) {
    tessel::markup::UserTagList tags;
    auto add = [&](const char* name, const char* cls, const char* attribute) {
        tessel::markup::funciLLInsertAfter(tags.names.head(), name);
        tessel::markup::funciLLInsertAfter(tags.classes.head(), cls);
        tessel::markup::funciLLInsertAfter(tags.attributes.head(), attribute);
    };
    add("FORM", "I", "");
    add("FORM", "D", "");  // read later, tried first
    add("IMG", "SD", " ALT=");
    add("X", "S", "");
    htmlMarkupState().userTags = &tags;
    EXPECT_EQ(markUp("<form>").text, D + "<form>}");
    EXPECT_EQ(markUp("<IMG ALT=\"a\">").text, D + "<IMG ALT=\"}a" + D + "\">}");
    EXPECT_EQ(markUp("<P>").text, E + "<P>}") << "built-in entries still apply";
    EXPECT_EQ(markUp("<X>").result, -2201) << "invalid class letters end the job";
    std::string viaDispatcher = "<B>";
    EXPECT_EQ(tessel::markup::ExecuteFunction(viaDispatcher, 902), 1) << "code 902 marks up";
}

TEST_F(LineMarkupTest, BinaryAndNulBytesAreText) {
    std::string line("a\0<B\0>\x01\xFF<", 9);
    std::string escaped = line;
    int result = funcMarkUpHTMLLine(escaped);
    EXPECT_GE(result, 0);
    EXPECT_EQ(escaped, std::string("a\0", 2) + I + std::string("<B\0>}\x01\xFF", 7));
    EXPECT_EQ(carry(), "<");
}

// Pieces of unescaped lines, weighted to where the one pass over a line
// must give the line up to the steps: bytes that RTF escapes in and around
// tags and entities, an "&" whose reach holds another or a "<", entities
// inside tags, blocks, tags left open, nested tags, long tags, PRE.
const char* const kRawPieces[] = {
    "<B>",
    "</B>",
    "<P>",
    "<I>",
    "<A HREF=\"x.htm\">",
    "</A>",
    "<IMG SRC=\"a.gif\" ALT=\"a b\">",
    "<TD ALIGN=right>",
    "<UNKNOWN>",
    "<PRE>",
    "</pre>",
    "< B >",
    "<>",
    "text ",
    "word",
    " ",
    "\t",
    "{",
    "}",
    "\\",
    "\x93",
    "\xE9",
    "\x7F",
    "\x01",
    "&amp;",
    "&nbsp;",
    "&eacute;",
    "&#233;",
    "&#60;",
    "&#x7B;",
    "&bogus;",
    "& ",
    "&",
    "&x <B>;",
    "&a&b;",
    "<A HREF=\"x?a=1&amp;b=2\">",
    "<IMG ALT=\"\tx\">",
    "<B\t>",
    "<!-- c -->",
    "<!--",
    "-->",
    "<SCRIPT>",
    "</SCRIPT>",
    "<% s %>",
    "<!--BOLOC-->",
    "<X<Y>>",
    "<A HREF=\"",
    "<IMG ALT=\"open>",
    "<FONT",
    "SIZE=2>",
    "<A HREF=\"http://www.example.com/a/very/long/path/to/some/page.html\">",
};

// Marks up a page of lines as the HTML job does, with the markings (and so
// the one pass over a line) on or off.
std::vector<Marked> markUpRawPage(const std::vector<std::string>& lines, bool onePass) {
    htmlMarkupState().reset();
    htmlMarkupState().tagMarkings.enable(onePass);
    std::vector<Marked> marked;
    for (std::string line : lines) {
        int result = 0;
        EXPECT_TRUE(escapeAndMarkUpHtmlLine(line, result));
        if (!htmlMarkupState().carryOver.empty()) htmlMarkupState().carryOver += "\\par \n";
        marked.push_back(
            {line + (htmlMarkupState().pre ? "|pre" : "") + "|" + htmlMarkupState().carryOver,
             result});
    }
    htmlMarkupState().tagMarkings.enable(true);
    htmlMarkupState().reset();
    return marked;
}

TEST(HtmlLineOnePass, GivesWhatEscapingDecodingAndMarkingInStepsGives) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 40; ++round) {
        std::vector<std::string> lines;
        for (int n = 0; n < 200; ++n) {
            std::string line;
            const int pieces = static_cast<int>(random() % 16);
            for (int i = 0; i < pieces; ++i) line += kRawPieces[random() % std::size(kRawPieces)];
            lines.push_back(line);
        }
        const std::vector<Marked> inSteps = markUpRawPage(lines, false);
        const std::vector<Marked> inOnePass = markUpRawPage(lines, true);
        ASSERT_EQ(inOnePass.size(), inSteps.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ASSERT_EQ(inOnePass[i].text, inSteps[i].text) << "round " << round << ": " << lines[i];
            ASSERT_EQ(inOnePass[i].result, inSteps[i].result)
                << "round " << round << ": " << lines[i];
        }
    }
}

}  // namespace
