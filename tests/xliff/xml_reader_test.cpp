#include "xliff/xml_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace tessel::xliff {
namespace {

// The events of a document, one per line: "<name a=v>", "</name>", "'text'",
// "error LINE: problem".
std::string events(std::string_view document) {
    XmlReader reader(document);
    std::string out;
    for (int guard = 0; guard < 100000; ++guard) {
        const XmlEvent& event = reader.next();
        switch (event.kind) {
            case XmlEvent::Kind::Start:
                out += "<" + event.name;
                for (const XmlAttribute& a : event.attributes) out += " " + a.name + "=" + a.value;
                out += ">";
                break;
            case XmlEvent::Kind::End:
                out += "</" + event.name + ">";
                break;
            case XmlEvent::Kind::Text:
                out += "'" + event.text + "'";
                break;
            case XmlEvent::Kind::Error:
                return out + "error " + std::to_string(event.line) + ": " + event.text;
            case XmlEvent::Kind::EndOfDocument:
                return out;
        }
    }
    return out + "no end";
}

TEST(XmlReader, ReadsElementsTextAndReferences) {
    struct Case {
        std::string_view xml;
        std::string_view events;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\"?>\n<a x='1' y=\"&lt;&amp;&quot;\">t</a>\n",
         "<a x=1 y=<&\">'t'</a>"},
        {"\xEF\xBB\xBF<a/>", "<a></a>"},
        // Character references, CDATA kept as it stands, comments left out.
        {"<a>&#233;&#x1F600;<![CDATA[<b>&amp;]]><!-- c --></a>",
         "<a>'\xC3\xA9\xF0\x9F\x98\x80''<b>&amp;'</a>"},
        // A carriage return reads as a line feed; one from a reference stays.
        {"<a>1\r\n2\r3&#13;</a>", "<a>'1\n2\n3\r'</a>"},
        // Blanks in an attribute value read as spaces.
        {"<a v=\"x\ty\nz\"/>", "<a v=x y z></a>"},
        // A DOCTYPE with an internal subset is skipped, its entities unread.
        {"<!DOCTYPE a [<!ENTITY e \"boom\"> ]><a>x</a>", "<a>'x'</a>"},
    };
    for (const Case& c : cases) EXPECT_EQ(events(c.xml), c.events) << c.xml;
}

TEST(XmlReader, RefusesWhatIsNotWellFormedWithItsLine) {
    struct Case {
        std::string_view xml;
        std::string_view ending;
    };
    const Case cases[] = {
        {"<a>\n<b></a>", "error 2: </a> where </b> was due"},
        {"<a>&nbsp;</a>", "error 1: the entity \"&nbsp;\", which XLIFF does not define"},
        {"<a>&#0;</a>",
         "error 1: a character reference to a character XML does not allow: \"&#0;\""},
        {"<a>&#x110000;</a>",
         "error 1: a character reference to a character XML does not allow: \"&#x110000;\""},
        {"<a>&#x12g;</a>", "error 1: a bad character reference \"&#x12g;\""},
        {"<a>x & y</a>", "error 1: an \"&\" that starts no reference"},
        {"<a x=1/>", "error 1: the value of x is not quoted"},
        {"<a x='1' x='2'/>", "error 1: the attribute x twice in <a>"},
        {"<a><b>", "error 1: the file ends inside <b>"},
        {"<a/><b/>", "error 1: a second root element"},
        {"text<a/>", "error 1: text outside the root element"},
        {"<a><!-- open", "error 1: the file ends inside a comment"},
        {"", "error 1: the file holds no element"},
    };
    for (const Case& c : cases) {
        std::string got = events(c.xml);
        EXPECT_TRUE(got.ends_with(c.ending)) << c.xml << "\n" << got;
    }
    // Nesting stops at a bound instead of growing without one.
    std::string deep;
    for (int i = 0; i < 5000; ++i) deep += "<a>";
    EXPECT_TRUE(events(deep).ends_with("elements nested too deep")) << events(deep).substr(0, 80);
}

}  // namespace
}  // namespace tessel::xliff
