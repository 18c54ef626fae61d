// One SGML line at a time, extraction and mark-up sharing their rules: the
// nesting depth carried into the next line, comments and ">" outside tags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup/sgml_line_extraction.h"
#include "markup/sgml_line_markup.h"
#include "markup/sgml_markup_state.h"
#include "support/rtf_expectations.h"

namespace {

using namespace tessel::markup;
const std::string& I = tessel::test::kInternalRun;

class SgmlLines : public ::testing::Test {
  protected:
    void SetUp() override { sgmlMarkupState().reset(); }
    void TearDown() override { sgmlMarkupState().reset(); }

    // Runs `step` on each line as the jobs do: a separator goes into the text
    // of a tag or comment still open.
    template <typename Step>
    std::vector<std::string> lines(std::vector<std::string> input, Step step,
                                   const std::string& separator, std::vector<int>* results) {
        for (std::string& line : input) {
            int result = step(line);
            if (results != nullptr) results->push_back(result);
            if (!sgmlMarkupState().carryOver.empty()) sgmlMarkupState().carryOver += separator;
        }
        return input;
    }
};

TEST_F(SgmlLines, TextModeCarriesTheNestingDepthIntoTheNextLine) {
    std::vector<int> results;
    // A "<" right after "=" nests; elsewhere it would begin a new tag.
    auto out = lines({"a <x =<y", "> still x> <z> b > c", "<!--> <k>", "<!-- a", "b --> <m>"},
                     funcExtractSGMLTags, "\n", &results);
    EXPECT_EQ(out, (std::vector<std::string>{"", "<x =<y\n> still x>\n<z>", "<k>", "", "<m>"}));
    EXPECT_EQ(results, (std::vector<int>{0, -1202, 1, 0, 1}))
        << "a stray > is reported after every tag of the line is taken";
    EXPECT_TRUE(sgmlMarkupState().carryOver.empty());
}

TEST_F(SgmlLines, MarkUpOfOpenTextAndOfDepthOverLines) {
    std::vector<int> results;
    auto out = lines({"t <a =<b", "c> d", "e> f &x g"}, funcMarkUpSGMLLine, "\\par \n", &results);
    EXPECT_EQ(out,
              (std::vector<std::string>{"t ", "", I + "<a =<b\\par \nc> d\\par \ne>} f &x g"}));
    EXPECT_EQ(results, (std::vector<int>{0, 0, -1305}));
}

}  // namespace
