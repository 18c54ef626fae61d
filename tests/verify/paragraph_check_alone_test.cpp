// The check of a file alone asks for the unprotected tags of each paragraph
// without a source: the short way must find exactly what the whole
// comparison finds of that kind, on every RTF file of the tests and the
// corpus, for each format's tag rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "verify/check_targets.h"
#include "verify/paragraph_check.h"
#include "verify/styled_paragraph_reader.h"
#include "verify_test_support.h"

namespace tessel::verify {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> rtfFiles() {
    std::vector<fs::path> files;
    std::vector<fs::path> folders = {test::kFrameData};
    for (const char* corpus : {"rtf", "rtf-wild"}) {
        if (fs::is_directory(test::kCorpus / corpus)) folders.push_back(test::kCorpus / corpus);
    }
    for (const fs::path& folder : folders) {
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.path().extension() == ".rtf") files.push_back(entry.path());
        }
    }
    return files;
}

std::string described(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& f : findings) {
        text +=
            std::to_string(f.paragraph) + ":" + std::to_string(f.column) + " " + f.subject + "\n";
    }
    return text;
}

// The unprotected tags `alone` finds and those of `whole`'s comparison, a
// line each.
std::pair<std::string, std::string> bothWays(ParagraphCheck& whole, ParagraphCheck& alone,
                                             const StyledParagraph& paragraph) {
    std::vector<Finding> all;
    whole.compare(nullptr, paragraph, all);
    std::vector<Finding> expected;
    for (Finding& f : all) {
        if (f.kind == FindingKind::UnprotectedTag) expected.push_back(std::move(f));
    }
    std::vector<Finding> got;
    alone.findUnprotectedTags(paragraph, got);
    return {described(got), described(expected)};
}

// Paragraphs with tags typed as text, beside protected runs or alone.
std::vector<StyledParagraph> typedTags() {
    auto paragraph = [](std::vector<std::pair<RunRole, std::string>> runs) {
        StyledParagraph p;
        p.number = 1;
        for (const auto& [role, text] : runs) {
            auto begin = static_cast<std::uint32_t>(p.text.size());
            p.text += text;
            p.runs.push_back({role, begin, static_cast<std::uint32_t>(p.text.size())});
        }
        return p;
    };
    return {
        paragraph({{RunRole::Text, "Hello <B>world</B> & <@Body:>"}}),
        paragraph({{RunRole::External, "<P>"},
                   {RunRole::Text, "a <I>b</I> c"},
                   {RunRole::Internal, "<B>"},
                   {RunRole::Text, "d <SIZE 12>e<SIZE$>"},
                   {RunRole::Internal, "</B>"}}),
        paragraph({{RunRole::Internal, "<A HREF=\"x\">"}, {RunRole::Text, "<A HREF=\"x\"> twice"}}),
    };
}

TEST(ParagraphCheckAlone, UnprotectedTagsAreThoseOfTheWholeComparison) {
    std::vector<fs::path> files = rtfFiles();
    ASSERT_GT(files.size(), 20u);
    std::size_t paragraphs = 0;
    std::size_t found = 0;
    for (const char* key : {"html", "pagemaker", "ventura", "text"}) {
        std::optional<TargetChoice> target = parseTarget(key);
        ASSERT_TRUE(target) << key;
        for (const fs::path& file : files) {
            StyledParagraphReader reader(file.string());
            ParagraphCheck whole(target->target->tags, false);
            ParagraphCheck alone(target->target->tags, false);
            StyledParagraph paragraph;
            while (reader.next(paragraph)) {
                auto [got, expected] = bothWays(whole, alone, paragraph);
                ASSERT_EQ(got, expected) << file << " " << key;
                ++paragraphs;
                found += static_cast<std::size_t>(std::count(got.begin(), got.end(), '\n'));
            }
        }
    }
    // Typed tags are found the same way, and found at all.
    std::size_t typed = 0;
    for (const char* key : {"html", "pagemaker"}) {
        ParagraphCheck whole(parseTarget(key)->target->tags, false);
        ParagraphCheck alone(parseTarget(key)->target->tags, false);
        for (const StyledParagraph& paragraph : typedTags()) {
            auto [got, expected] = bothWays(whole, alone, paragraph);
            EXPECT_EQ(got, expected) << key << ": " << paragraph.text;
            typed += static_cast<std::size_t>(std::count(got.begin(), got.end(), '\n'));
        }
    }
    EXPECT_GE(typed, 6u);
    std::cout << paragraphs << " paragraphs of files, " << found << " unprotected tags; " << typed
              << " in the typed paragraphs\n";
}

}  // namespace
}  // namespace tessel::verify
