#include <gtest/gtest.h>

#include <string>

#include "xliff/xliff_reader.h"
#include "xliff/xliff_writer.h"

namespace tessel::xliff {
namespace {

TranslationUnit sampleUnit() {
    TranslationUnit unit;
    unit.id = "7";
    auto code = [&unit](std::string text, CodeKind kind, std::uint32_t id) {
        unit.parts.push_back({unit.codes.size(), {}});
        InlineCode inline_;
        inline_.text = std::move(text);
        inline_.kind = kind;
        inline_.id = id;
        unit.codes.push_back(std::move(inline_));
    };
    unit.parts.push_back({UnitPart::kText, "Fish & \"chips\" <3 \r"});
    code("<B>", CodeKind::Open, 1);
    unit.parts.push_back({UnitPart::kText, "caf\xC3\xA9"});
    code("</B>", CodeKind::Close, 1);
    code("&amp;", CodeKind::Single, 2);
    code("<A HREF=\"x\">", CodeKind::IsolatedOpen, 3);
    code("</I>", CodeKind::IsolatedClose, 4);
    code("\f", CodeKind::Single, 5);
    return unit;
}

std::string written(XliffVersion version) {
    XliffHeader header;
    header.version = version;
    header.original = "a&b.htm";
    header.format = "pagemaker";
    header.fingerprint = "0123456789abcdef";
    header.targetLanguage = "de";
    XliffWriter writer(header);
    writer.unit(sampleUnit());
    writer.finish();
    return writer.take();
}

// What is written reads back as the same text and codes, with the header's
// original, format and fingerprint, in both versions.
TEST(XliffFile, ReadsBackWhatItWrites) {
    for (XliffVersion version : {XliffVersion::V1_2, XliffVersion::V2_1}) {
        std::string xml = written(version);
        XliffFile file;
        std::string problem;
        ASSERT_TRUE(readXliff(xml, file, problem)) << problem << "\n" << xml;
        EXPECT_EQ(file.version, version);
        EXPECT_EQ(file.original, "a&b.htm");
        EXPECT_EQ(file.format, "pagemaker");
        EXPECT_EQ(file.fingerprint, "0123456789abcdef");
        ASSERT_EQ(file.units.size(), 1u);
        EXPECT_EQ(file.units[0].id, "7");
        // A 1.2 unit's target is its source, still to be translated.
        EXPECT_EQ(file.units[0].hasTarget, version == XliffVersion::V1_2);
        EXPECT_FALSE(file.units[0].translated());
        EXPECT_EQ(partsKey(file.units[0].source), partsKey(sampleUnit())) << xml;
    }
    // 1.2 keeps each tag's text as the code's content; 2.1 in originalData.
    EXPECT_NE(written(XliffVersion::V1_2).find("<bpt id=\"1\">&lt;B&gt;</bpt>"), std::string::npos);
    EXPECT_NE(written(XliffVersion::V1_2).find("<it id=\"4\" pos=\"close\">&lt;/I&gt;</it>"),
              std::string::npos);
    EXPECT_NE(written(XliffVersion::V1_2).find("<ph id=\"5\">[U+000C]</ph>"), std::string::npos);
    EXPECT_NE(written(XliffVersion::V2_1).find("<data id=\"d6\"><cp hex=\"000C\"/></data>"),
              std::string::npos);
    EXPECT_NE(written(XliffVersion::V2_1).find("<ec startRef=\"1\" dataRef=\"d2\"/>"),
              std::string::npos);
}

// Targets as translation tools write them: 1.2 with <g>, <x/> and markers,
// 2.1 with several segments (one without a target), <pc> and <cp>.
TEST(XliffFile, ReadsTargetsInTheFormsToolsWrite) {
    const std::string v12 =
        "<?xml version='1.0'?><xliff version='1.2' xmlns='urn:oasis:names:tc:xliff:document:1.2'>"
        "<file original='p.htm' datatype='html' source-language='en'><body>"
        "<trans-unit id='1'><source>a<x id='2'/>b</source>"
        "<seg-source><mrk mtype='seg' mid='1'>a</mrk></seg-source>"
        "<target><mrk mtype='seg' mid='1'>A<g id='1'>B</g><x id='2'/></mrk></target>"
        "<alt-trans><target>ignored</target></alt-trans></trans-unit>"
        "<trans-unit id='2'><source>x</source><target/></trans-unit>"
        "</body></file></xliff>";
    XliffFile file;
    std::string problem;
    ASSERT_TRUE(readXliff(v12, file, problem)) << problem;
    EXPECT_EQ(file.format, "html");
    ASSERT_EQ(file.units.size(), 2u);
    EXPECT_EQ(partsKey(file.units[0].target), "A{1 1}B{2 1}{0 2}");
    EXPECT_TRUE(file.units[1].hasTarget);
    EXPECT_TRUE(file.units[1].target.empty());

    const std::string v21 =
        "<xliff xmlns='urn:oasis:names:tc:xliff:document:2.0' version='2.1' srcLang='en'>"
        "<file id='f' original='p.txt'><unit id='u'>"
        "<segment><source>One.</source><target>Eins<pc id='1'>!</pc><cp "
        "hex='1'/></target></segment>"
        "<ignorable><source> </source></ignorable>"
        "<segment><source>Two<ph id='2' dataRef='d'/></source></segment>"
        "</unit></file></xliff>";
    ASSERT_TRUE(readXliff(v21, file, problem)) << problem;
    ASSERT_EQ(file.units.size(), 1u);
    EXPECT_TRUE(file.units[0].hasTarget);
    EXPECT_EQ(partsKey(file.units[0].target), "Eins{1 1}!{2 1}\x01 Two{0 2}");
}

TEST(XliffFile, RefusesFilesItCannotMergeWithTheReason) {
    struct Case {
        std::string_view xml;
        std::string_view problem;
    };
    const Case cases[] = {
        {"<html/>", "line 1: the root element is not <xliff>"},
        {"<xliff version='1.1'/>",
         "line 1: the XLIFF version is \"1.1\"; 1.2, 2.0 and 2.1 are read"},
        {"<xliff version='1.2'></xliff>", "the file holds no <file> element"},
        {"<xliff "
         "version='1.2'><file><body><trans-unit><source/></trans-unit></body></file></xliff>",
         "line 1: a unit without an id"},
        {"<xliff version='1.2'><file><body>\n<trans-unit id='1'/>\n<trans-unit "
         "id='1'/></body></file>"
         "</xliff>",
         "line 3: the unit id \"1\" twice"},
        {"<xliff version='2.1'><file><unit id='1'><segment><source><cp hex='D800'/></source>"
         "</segment></unit></file></xliff>",
         "line 1: a <cp> with a bad hex value \"D800\""},
        {"<xliff version='1.2'><file><body><trans-unit id='1'><source>a</target>",
         "line 1: </target> where </source> was due"},
    };
    for (const Case& c : cases) {
        XliffFile file;
        std::string problem;
        EXPECT_FALSE(readXliff(c.xml, file, problem)) << c.xml;
        EXPECT_EQ(problem, c.problem) << c.xml;
    }
}

}  // namespace
}  // namespace tessel::xliff
