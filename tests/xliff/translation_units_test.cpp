#include "xliff/translation_units.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace tessel::xliff {
namespace {

using verify::RunRole;

verify::StyledParagraph paragraphOf(std::initializer_list<std::pair<RunRole, std::string>> runs) {
    verify::StyledParagraph paragraph;
    paragraph.number = 1;
    for (const auto& [role, text] : runs) {
        auto begin = static_cast<std::uint32_t>(paragraph.text.size());
        paragraph.text += text;
        paragraph.runs.push_back({role, begin, static_cast<std::uint32_t>(paragraph.text.size())});
    }
    return paragraph;
}

// What the segmenter hands on: "[x]" skeleton runs (x the role's letter),
// "{id: ...}" units with "(kind id text)" codes, "|" paragraph ends.
class Recording final : public DocumentSink {
  public:
    void skeleton(RunRole role, std::string_view text) override {
        if (text.empty()) return;
        static constexpr char kRoles[] = "teid";
        out += "[";
        out += kRoles[static_cast<int>(role)];
        out += ":" + std::string(text) + "]";
        whole += text;
    }
    void unit(const TranslationUnit& unit) override {
        static constexpr const char* kKinds[] = {"s", "o", "c", "io", "ic"};
        out += "{" + unit.id + ":";
        for (const UnitPart& part : unit.parts) {
            if (!part.isCode()) {
                out += part.text;
                whole += part.text;
                continue;
            }
            const InlineCode& code = unit.codes[part.code];
            out += "(" + std::string(kKinds[static_cast<int>(code.kind)]) +
                   std::to_string(code.id) + " " + code.text + ")";
            whole += code.text;
        }
        out += "}";
    }
    void paragraphEnd(bool lineEnd) override { out += lineEnd ? "|" : "."; }
    std::string out;
    std::string whole;  // the paragraph's text again, from everything handed on
};

std::string segmented(const verify::StyledParagraph& paragraph,
                      verify::PairStyle pairs = verify::PairStyle::SlashClosers, bool html = true) {
    UnitSegmenter segmenter(pairs, html);
    Recording recording;
    segmenter.paragraph(paragraph, recording);
    EXPECT_EQ(recording.whole, paragraph.text) << "the pieces do not make up the paragraph";
    return recording.out;
}

constexpr RunRole E = RunRole::External;
constexpr RunRole I = RunRole::Internal;
constexpr RunRole T = RunRole::Text;
constexpr RunRole D = RunRole::DoNotTranslate;

TEST(UnitSegmenter, CutsAtExternalTagsAndKeepsEdgesInTheSkeleton) {
    // Blanks at the edges of a block go to the skeleton; a block of blanks
    // and tags only is no unit.
    EXPECT_EQ(segmented(paragraphOf({{E, "<TD>"},
                                     {T, "  Day "},
                                     {E, "</TD>"},
                                     {T, " "},
                                     {E, "<TD>"},
                                     {I, "<BR>"},
                                     {T, " "},
                                     {E, "</TD>"}})),
              "[e:<TD>][t:  ]{1:Day}[t: ][e:</TD>][t: ][e:<TD>][i:<BR>][t: ][e:</TD>]|");
    // Codes at a unit's edges belong to it; text runs side by side are one.
    EXPECT_EQ(
        segmented(paragraphOf({{E, "<P>"}, {I, "<B>"}, {T, "every"}, {T, " day"}, {I, "</B>"}})),
        "[e:<P>]{1:(o1 <B>)every day(c1 </B>)}|");
    // Units are numbered on over the paragraphs of a document.
    UnitSegmenter segmenter(verify::PairStyle::SlashClosers, true);
    Recording recording;
    segmenter.paragraph(paragraphOf({{T, "one"}, {E, "<P>"}, {T, "two"}}), recording);
    verify::StyledParagraph last = paragraphOf({{T, "three"}});
    last.lineEnd = false;
    segmenter.paragraph(last, recording);
    EXPECT_EQ(recording.out, "{1:one}[e:<P>]{2:two}|{3:three}.");
}

TEST(UnitSegmenter, PairsTagsInsideAUnitAndMarksPairsSplitOverUnits) {
    // Innermost pairs first; a closing tag left over closes another unit's
    // pair; an opening one that can close opens one; void elements and
    // attribute pieces stand alone.
    EXPECT_EQ(segmented(paragraphOf({{T, "a"},
                                     {I, "</I>"},
                                     {I, "<A HREF=\"x\">"},
                                     {I, "<B>"},
                                     {T, "b"},
                                     {I, "</b>"},
                                     {I, "<IMG SRC=\"i\" ALT=\""},
                                     {T, "c"},
                                     {I, "\">"},
                                     {I, "<SPAN>"},
                                     {T, "d"}})),
              "{1:a(ic1 </I>)(io2 <A HREF=\"x\">)(o3 <B>)b(c3 </b>)(s4 <IMG SRC=\"i\" ALT=\")c"
              "(s5 \">)(io6 <SPAN>)d}|");
    // Outside HTML an opening tag left over stands alone; dollar closers pair.
    EXPECT_EQ(
        segmented(paragraphOf(
                      {{T, "x"}, {I, "<SIZE 12>"}, {T, "y"}, {I, "<SIZE$>"}, {I, "<B>"}, {T, "z"}}),
                  verify::PairStyle::DollarClosers, false),
        "{1:x(o1 <SIZE 12>)y(c1 <SIZE$>)(s2 <B>)z}|");
    // Do-not-translate runs never pair.
    EXPECT_EQ(segmented(paragraphOf({{T, "x"}, {D, "<B>"}, {T, "y"}, {I, "</B>"}})),
              "{1:x(s1 <B>)y(ic2 </B>)}|");
}

TEST(UnitSegmenter, KeepsCharactersXmlCannotHoldAsCodes) {
    EXPECT_EQ(segmented(paragraphOf({{T, "a\fb\x01 c\xEF\xBF\xBF"}})),
              "{1:a(s1 \f)b(s2 \x01) c(s3 \xEF\xBF\xBF)}|");
}

}  // namespace
}  // namespace tessel::xliff
