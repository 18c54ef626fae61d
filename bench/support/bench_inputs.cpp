#include "support/bench_inputs.h"

#include <array>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>

#include "resources/rtf_texts.h"

namespace tessel::bench {

std::string lineText(std::size_t size, bool macintosh) {
    std::mt19937 random(7);
    std::string text;
    text.reserve(size + 256);
    const char* macintoshWords[] = {"the ",          "quick ", "caf\x8E ",        "na\x95ve ",
                                    "r\x8Esum\x8E ", "and ",   "\xD2quoted\xD3 ", "text ",
                                    "of ",           "a ",     "document ",       "line "};
    const char* windowsWords[] = {"the ",          "quick ", "caf\xE9 ",        "na\xEFve ",
                                  "r\xE9sum\xE9 ", "and ",   "\x93quoted\x94 ", "text ",
                                  "of ",           "a ",     "document ",       "line "};
    const char* const* words = macintosh ? macintoshWords : windowsWords;
    const char* ends[] = {"\r", "\r\n", "\n"};
    while (text.size() < size) {
        std::size_t length = 20 + random() % 100;
        std::size_t start = text.size();
        while (text.size() - start < length) text += words[random() % 12];
        text += ends[random() % 3];
    }
    return text;
}

namespace {

std::string htmlProse(std::mt19937& random) {
    static const char* const words[] = {"the ",         "customer ",
                                        "caf&eacute; ", "receives ",
                                        "a ",           "<B>bold</B> ",
                                        "<I>note</I> ", "&amp; ",
                                        "invoice ",     "&ldquo;quoted&rdquo; ",
                                        "with ",        "<A HREF=\"x.htm\">a link</A> ",
                                        "na&iuml;ve ",  "prices ",
                                        "&nbsp;",       "<FONT SIZE=2>small</FONT> ",
                                        "for ",         "&#233;t&#233; ",
                                        "and ",         "<IMG SRC=\"a.gif\" ALT=\"a picture\"> "};
    std::string line;
    std::size_t length = 40 + random() % 120;
    while (line.size() < length) line += words[random() % std::size(words)];
    return line;
}

void appendHtmlBlock(std::string& text, std::mt19937& random, int block) {
    if (block % 50 == 49) {
        text +=
            "<SCRIPT LANGUAGE=\"JavaScript\">\r\n<!--\r\nfunction go(n) {\r\n"
            "  if (n < 3 && n > 0) window.open(\"p\" + n + \".htm\");\r\n}\r\n// -->\r\n"
            "</SCRIPT>\r\n";
    } else if (block % 10 == 9) {
        text += "<!-- section " + std::to_string(block) + "\r\n     kept for the editors -->\r\n";
    } else if (block % 7 == 6) {
        text += "<TABLE BORDER=1>\r\n";
        for (int row = 0; row < 4; ++row) {
            text += "<TR><TD>" + htmlProse(random) + "</TD><TD ALIGN=right>12&nbsp;%</TD></TR>\r\n";
        }
        text += "</TABLE>\r\n";
    } else {
        text += "<P>";
        for (int line = 1 + random() % 5; line > 0; --line) text += htmlProse(random) + "\r\n";
    }
}

std::string sgmlSentence(std::mt19937& random) {
    static const char* const words[] = {"the ",
                                        "server ",
                                        "configure ",
                                        "<emphasis>must</emphasis> ",
                                        "&amp; ",
                                        "install ",
                                        "caf&eacute; ",
                                        "<filename>/usr/local</filename> ",
                                        "with ",
                                        "options ",
                                        "and ",
                                        "<command>make install</command> ",
                                        "&version; ",
                                        "libraries ",
                                        "a ",
                                        "<xref linkend=\"install-post\"> ",
                                        "environment ",
                                        "of ",
                                        "\x93quoted\x94 ",
                                        "<ulink url=\"http://www.example.org/\">the site</ulink> "};
    std::string line;
    std::size_t length = 40 + random() % 100;
    while (line.size() < length) line += words[random() % std::size(words)];
    return line;
}

void appendSgmlSection(std::string& text, std::mt19937& random, int section) {
    text += "<sect1 id=\"s" + std::to_string(section) + "\">\r\n<title>Section " +
            std::to_string(section) + "</title>\r\n";
    if (section % 5 == 4) text += "<!-- kept for the editors,\r\n     over two lines -->\r\n";
    for (int para = 1 + random() % 4; para > 0; --para) {
        text += "<para>\r\n";
        for (int line = 1 + random() % 5; line > 0; --line) text += sgmlSentence(random) + "\r\n";
        text += "</para>\r\n";
    }
    if (section % 7 == 6) {
        text +=
            "<programlisting>\r\ngmake &gt; log\r\n</programlisting>\r\n<itemizedlist\r\n"
            "  mark=\"bullet\">\r\n<listitem><para>one</para></listitem>\r\n</itemizedlist>\r\n";
    }
    text += "</sect1>\r\n";
}

const char* const kDtpWords[] = {"the ",   "quick ", "caf\xE9 ",  "translation ", "text ",
                                 "of ",    "a ",     "document ", "with ",        "several ",
                                 "words ", "in ",    "menu ",     "season ",      "kitchen "};

std::string dtpWord(std::mt19937& random) {
    return kDtpWords[random() % std::size(kDtpWords)];
}

struct GrammarShape {
    const char* header;
    const char* paragraphs[3];
    const char* trailer;
};

const std::map<std::string, GrammarShape>& grammarShapes() {
    static const std::map<std::string, GrammarShape> table = {
        {"pagemaker",
         {"<PMTags1.0 win>\n",
          {"<@Body text:>Plain text with <B>bold words<P> and an escaped \\<bracket\\> here.\n",
           "<@Heading 1:><FONT \"Arial\"><SIZE 12>A heading line<SIZE$><FONT$>\n",
           "Index <*INDEX \"entry\" \"sub entry\"> and <G>text<C-COLORTABLE (\"Black\" 1 0 0 "
           "0)>\n"},
          ""}},
        {"quark",
         {"<v1.70><e0>\n",
          {"@Normal:A line of text with <B>bold<B$> words and a <\\#183> character<$>\n",
           "@Heading 1:A heading <f\"Arial\">in a font<f$>\n",
           "<*L>More text in a paragraph that runs on for a while <I>with italics<I$> to the "
           "end\n"},
          ""}},
        {"htmlcharset",
         {"<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html; "
          "charset=x-sjis\"></head>\n",
          {"<p class=\"body\">Text of a paragraph with <b>bold</b> and <i>italic</i> words.</p>\n",
           "<!-- a comment --><a href=\"page.html\">a link</a> and more text\n",
           "<table border=\"1\"><tr><td>cell</td><td>cell</td></tr></table>\n"},
          "</html>\n"}},
        {"ventura4",
         {"",
          {"@BODY TEXT = A paragraph of text with <B>bold<D> words and a <$Ffootnote> code.\n\n",
           "@HEADING = A heading <<with>> brackets <@183> and (parentheses)\n\n",
           "@Z_TBL_BEG = COLUMNS(2), DIMENSION(IN)\n\n@Z_TBL_BODY = TABLE TEXT, TABLE TEXT\n\n"
           "Cell one, Cell two\n\n@Z_TBL_END = \n\n"},
          ""}},
        {"ventura",
         {"",
          {"@BODY TEXT = A paragraph of text with <B>bold<D> words and a <$Ffootnote> code.\n\n",
           "@HEADING = A heading <<with>> brackets and (parentheses)\n\n",
           "@Z_TBL_BEG = COLUMNS(2), DIMENSION(IN)\n@Z_TBL_BODY = TABLE TEXT, TABLE TEXT\n"
           "Cell one, Cell two\n@Z_TBL_END = \n\n"},
          ""}},
        {"htmlcharset-prose",
         {"<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html; "
          "charset=x-sjis\"></head>\n<body>\n",
          {"<p>A long paragraph of translated prose that runs on and on with words, commas and "
           "full stops, as an article would have it, without markup for many lines of text.\n",
           "More of the same sentence, still going, with a <b>bold</b> word now and then and "
           "otherwise nothing but the translated words of the page.</p>\n",
           "Text in another language mixed in with Latin words, line after line after line of "
           "it, the way the body of a page reads.\n"},
          "</body>\n</html>\n"}},
        {"pagemaker-prose",
         {"<PMTags1.0 win>\n",
          {"<@Body text:>A long paragraph of story text that runs on and on with words, commas "
           "and full stops, as a brochure would have it, without tags for many lines.\n",
           "More of the same story, still going, with a <B>bold<P> word now and then and "
           "otherwise nothing but the words of the page.\n",
           "A third paragraph of plain text, line after line of it, the way most of a story "
           "reads when it has been exported.\n"},
          ""}},
    };
    return table;
}

}  // namespace

std::string htmlPage(std::size_t size) {
    std::mt19937 random(5);
    std::string text = "<HTML>\r\n<HEAD><TITLE>Benchmark page</TITLE></HEAD>\r\n<BODY>\r\n";
    text.reserve(size + 4096);
    for (int block = 0; text.size() < size; ++block) appendHtmlBlock(text, random, block);
    text += "</BODY>\r\n</HTML>\r\n";
    return text;
}

std::string sgmlChapter(std::size_t size) {
    std::mt19937 random(12);
    std::string text =
        "<!doctype chapter PUBLIC \"-//OASIS//DTD DocBook V3.1//EN\">\r\n"
        "<chapter id=\"installation\">\r\n<title>Installation</title>\r\n";
    text.reserve(size + 4096);
    for (int section = 0; text.size() < size; ++section) appendSgmlSection(text, random, section);
    text += "</chapter>\r\n";
    return text;
}

std::string sgmlStructureTags() {
    std::string tags;
    for (const char* tag :
         {"<chapter id=\"installation\">", "</chapter>", "<title>", "</title>", "<para>", "</para>",
          "</sect1>", "<programlisting>", "</programlisting>", "<itemizedlist mark=\"bullet\">",
          "</itemizedlist>", "<listitem>", "</listitem>"}) {
        tags += std::string(tag) + "\r\n";
    }
    return tags;
}

std::string taggedRtf(std::size_t size) {
    std::mt19937 random(11);
    const char* pieces[] = {
        "the ",
        "translated ",
        "caf\xE9 ",
        "\\'e9t\\'e9 ",
        "{\\cs6\\cf6\\f1\\lang1024 <b>}",
        "{\\cs6\\cf6\\f1\\lang1024 </b>}",
        "{\\cs6\\cf6\\f1\\lang1024 <a href=\"page.htm\">}",
        "\\ldblquote quoted\\rdblquote  ",
        "\\{braces\\} ",
        "text\\tab ",
        "d\xE9j\xE0 vu ",
        "\\endash  ",
        "sentence. ",
    };
    std::string rtf(tessel::resources::kRtfHeader);
    rtf.reserve(size + 512);
    while (rtf.size() < size) {
        rtf += "{\\cs5\\cf15\\f1\\lang1024 <p>}";
        std::size_t length = 40 + random() % 300;
        std::size_t start = rtf.size();
        while (rtf.size() - start < length) rtf += pieces[random() % std::size(pieces)];
        rtf += "{\\cs5\\cf15\\f1\\lang1024 </p>}\\par \n";
    }
    rtf += "}";
    return rtf;
}

std::string pageMakerText(std::size_t size) {
    std::mt19937 random(11);
    std::string text = "<PMTags1.0 win><@Body=<f\"Times New Roman\"><s10>>\n";
    text.reserve(size + 512);
    const char* words[] = {"the ", "quick ",    "caf\xE9 ", "translation ", "text ",  "of ",
                           "a ",   "document ", "with ",    "several ",     "words ", "in "};
    const char* tags[] = {"<B>", "<P>", "<f\"Arial\">", "<f$> ", "\\<", "<*INDEX \"entry\">"};
    while (text.size() < size) {
        text += random() % 4 == 0 ? "<@Heading:>" : "<@Body:>";
        std::size_t length = 200 + random() % 600;
        std::size_t start = text.size();
        while (text.size() - start < length) {
            text += random() % 12 == 0 ? tags[random() % 6] : words[random() % 12];
        }
        text += "\n";
    }
    return text;
}

std::string xpressText(std::size_t size) {
    std::mt19937 random(13);
    std::string text =
        "<v1.70><e1>\r\n@Normal=[S\"\",\"Normal\"]<*L*h\"Standard\"Ps100f\"Times\">\r\n";
    text.reserve(size + 512);
    const char* tags[] = {"<B>", "<I>", "<f\"Arial\">", "<$>", "<\\#183>", "<z10>"};
    while (text.size() < size) {
        text += random() % 4 == 0 ? "@Heading:" : "@Normal:";
        std::size_t length = 200 + random() % 600;
        std::size_t start = text.size();
        while (text.size() - start < length) {
            text += random() % 12 == 0 ? tags[random() % std::size(tags)] : dtpWord(random);
        }
        text += "\r\n";
    }
    return text;
}

// Version 4 wraps running text at about 70 columns; versions 5 to 7 keep a
// paragraph on one line and write tables by lines.
std::string venturaText(std::size_t size, bool version4) {
    std::mt19937 random(17);
    std::string text;
    text.reserve(size + 512);
    const char* codes[] = {"<B>", "<D>", "<I>", "<<", ">>", "<@183>", "<$Fa note>", "<$Ientry>"};
    std::string rowEnd = version4 ? "\r\n\r\n" : "\r\n";
    int paragraphs = 0;
    while (text.size() < size) {
        if (++paragraphs % 50 == 0) {
            text += "@Z_TBL_BEG = " + std::string(version4 ? "" : "VERSION(2), ") +
                    "COLUMNS(3), DIMENSION(IN)" + rowEnd;
            text += "@Z_TBL_BODY = TABLE TEXT, TABLE TEXT, TABLE TEXT" + rowEnd;
            for (int row = 0; row < 4; ++row) text += "Soup, 4.50,, <B>hot<D>" + rowEnd;
            text += "@Z_TBL_END = \r\n\r\n";
        }
        text += random() % 4 == 0 ? "@HEADING = " : "@BODY TEXT = ";
        std::size_t length = 200 + random() % 600;
        std::size_t start = text.size();
        std::size_t lineStart = start;
        while (text.size() - start < length) {
            // A word after each code: "<B>>>" would read as "<B" and ">>".
            if (random() % 12 == 0) text += codes[random() % std::size(codes)];
            text += dtpWord(random);
            if (version4 && text.size() - lineStart > 70) {
                text += "\r\n";
                lineStart = text.size();
            }
        }
        text += "\r\n\r\n";
    }
    return text;
}

std::string grammarText(const std::string& shape, std::size_t size) {
    auto found = grammarShapes().find(shape);
    if (found == grammarShapes().end()) throw std::invalid_argument("no such shape: " + shape);
    const GrammarShape& format = found->second;
    std::string text = format.header;
    text.reserve(size + 512);
    for (std::size_t i = 0; text.size() < size; ++i) text += format.paragraphs[i % 3];
    text += format.trailer;
    return text;
}

std::string charsetPage(const std::string& shape, std::size_t size) {
    static const std::map<std::string, std::array<const char*, 3>> shapes = {
        {"page",
         {"<p class=\"body\">Text of a paragraph with <b>bold</b> and <i>italic</i> "
          "words.</p>\r\n",
          "<!-- a comment --><a href=\"page.html\">a link</a> and more text\r\n",
          "<table border=\"1\"><tr><td>cell</td><td>cell</td></tr></table>\r\n"}},
        {"prose",
         {"<p>\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0, a long paragraph of translated prose that "
          "runs on and on with words, commas, and full stops, as an article would have it, "
          "without markup for many lines of text.\r\n",
          "More of the same sentence, still going, with a <b>bold</b> word now and then and "
          "otherwise nothing but the translated words of the page.</p>\r\n",
          "\xD2\xE5\xEA\xF1\xF2 \xED\xE0 \xF0\xF3\xF1\xF1\xEA\xEE\xEC \xFF\xE7\xFB\xEA\xE5 and "
          "Latin words mixed in the text of the page, line after line after line.\r\n"}},
    };
    auto found = shapes.find(shape);
    if (found == shapes.end()) throw std::invalid_argument("no such shape: " + shape);
    std::string text =
        "<html>\r\n<head><meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=iso-8859-1\"></head>\r\n<body>\r\n";
    text.reserve(size + 512);
    for (std::size_t i = 0; text.size() < size; ++i) text += found->second[i % 3];
    text += "</body>\r\n</html>\r\n";
    return text;
}

}  // namespace tessel::bench
