// The back-conversions' RTF reader against the plain reference reader of
// tests/support: both must hand on the same paragraphs, the same
// character-style runs, the same notices and the same result, for small
// documents of each rule, for every RTF file of the tests' data folders and
// for the shared corpus's RTF files.
//
// Both keep the same documented limits (group depth, fonts, fallback bytes
// kept, parameter saturation), so no input is left out for them. Group
// replay is the fast reader's own business: it is compared both with and
// without it, as its header promises the same result either way.
#include "support/reference_rtf_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using tessel::testing::describeReading;
using tessel::testing::readFastRtf;
using tessel::testing::readReferenceRtf;

std::string reference(std::string_view rtf) {
    return describeReading(readReferenceRtf(rtf));
}

void expectSameReading(std::string_view rtf, const std::string& name) {
    std::string expected = reference(rtf);
    EXPECT_EQ(describeReading(readFastRtf(rtf, true)), expected) << name;
    EXPECT_EQ(describeReading(readFastRtf(rtf, false)), expected) << name << " (no replays)";
}

// The reference reader itself, on one rule each: what it must give is
// written out here from the rule, not taken from either reader.
TEST(ReferenceRtfReader, ReadsEachRuleAsDocumented) {
    using namespace std::literals;
    struct Case {
        std::string_view rtf;
        const char* reading;
    };
    const Case cases[] = {
        // Paragraphs; text after the last mark ends the document without one.
        {R"({\rtf1 one\par two})", "<-1>one|\n<-1>two.\n[result 0]\n"},
        // Dropped destinations, "\*" of an unknown word, hidden text.
        {R"({\rtf1{\fonttbl{\f0 Arial;}}{\*\unknown x}{\info{\title t}}a{\v b}c\par})",
         "<-1>ac|\n[result 0]\n"},
        // "\uN" with its fallback skipped; "\uc0" has none; a "?" is not worth keeping.
        {R"({\rtf1 \u322?x\uc0\u322 y\par})", "<-1>\\xC5\\x82x\\xC5\\x82y|\n[result 0]\n"},
        // A surrogate pair is one character; a lone high one is one U+FFFD.
        {R"({\rtf1 \u-10179?\u-8704?\par})", "<-1>\\xF0\\x9F\\x98\\x80|\n[result 0]\n"},
        {R"({\rtf1 \u-10179?\u-10179?\u-8704?\par})",
         "<-1>\\xEF\\xBF\\xBD\\xF0\\x9F\\x98\\x80|\n[result 0]\n"},
        // Bytes in the font's code page; a symbol font keeps its bytes.
        {R"({\rtf1{\fonttbl{\f1\fcharset204 X;}{\f2\fcharset2 S;}}\f1\'c0\f2\'c0\par})",
         "<-1>\\xD0\\x90\\xEF\\x83\\x80|\n[result 0]\n"},
        // A six-per-em space before a space is that space.
        // (With "\uc0": the space after "\u8198" ends the word, the next one is text.)
        {R"({\rtf1\uc0 a\u8198  b\u8198\par})", "<-1>a b\\xE2\\x80\\x86|\n[result 0]\n"},
        {R"({\rtf1 a\u8198 \'20b\par})", "<-1>a\\xE2\\x80\\x86b|\n[result 0]\n"},
        // The code pages hold wherever the font table or "\ansicpgN" stands.
        {R"({\rtf1\f1{{\fonttbl{\f1\fcharset204 X;}}}\'c0\par})", "<-1>\\xD0\\x90|\n[result 0]\n"},
        {R"({\rtf1{\ansicpg1251}\'c0\par})", "<-1>\\xD0\\x90|\n[result 0]\n"},
        // Hidden text leaves nothing, not even for a surrogate without its pair.
        {R"({\rtf1 a{\v\u-10179?}\par})", "<-1>a|\n[result 0]\n"},
        // Deleted text is no text, a deleted mark joins the paragraphs;
        // the notice comes before the first paragraph with the change.
        {R"({\rtf1 a{\deleted b\par}c\par})", "[notice 2]\n<-1>ac|\n[result 0]\n"},
        // Character styles: runs by offset, back at the group's end.
        {R"({\rtf1 a{\cs5 bc}d\par})", "<-1>a<5>bc<-1>d|\n[result 0]\n"},
        // "\binN" takes N bytes whatever they are.
        {"{\\rtf1 a\\bin3 {}\\b\\par}", "<-1>a{}\\x5Cb|\n[result 0]\n"},
        // Binary data between the two digits of a "\'" leaves the digit to
        // come pending (found by fuzzing: the fast reader read it as text).
        {"{\\rtf1 \\'4\\bin1 Z1\\par}", "<-1>ZA|\n[result 0]\n"},
        // "\plain" ends the double-byte font too: a byte in a "\dbch" run
        // after it is in the font of the text (found by fuzzing: the fast
        // reader kept the double-byte font named before "\plain").
        {R"({\rtf1{\fonttbl{\f0\fcharset204 X;}}\dbch\f2\plain\dbch\'c0\par})",
         "<-1>\\xD0\\x90|\n[result 0]\n"},
        // Failures: a "}" before any "{", the data ending inside the
        // document, a bad hexadecimal digit.
        {"a}", "[result -401]\n"},
        {"{\\rtf1 a\\par b", "<-1>a|\n[result -402]\n"},
        {"{\\rtf1 \\'4x}", "[result -404]\n"},
        // More "}" than "{", data after the document.
        {"{\\rtf1 a}}", "<-1>a.\n[notice 0]\n[result 0]\n"},
        {"{\\rtf1 a}\r\n\0x"sv, "<-1>a.\n[notice 1]\n[result 0]\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(reference(c.rtf), c.reading) << c.rtf;
        expectSameReading(c.rtf, std::string(c.rtf));
    }
}

// Nesting past the documented depth ends both readers with -405.
TEST(ReferenceRtfReader, StopsAtTheDocumentedDepth) {
    std::string deep = "{\\rtf1 a\\par" + std::string(10001, '{');
    EXPECT_EQ(reference(deep), "<-1>a|\n[result -405]\n");
    expectSameReading(deep, "10001 groups");
}

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<fs::path> rtfFilesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (entry.is_regular_file() && extension == ".rtf") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ReferenceRtfReader, ReadsTheTestsDataAlike) {
    std::vector<fs::path> files = rtfFilesUnder(fs::path(TESSEL_SOURCE_DIR) / "tests");
    ASSERT_GE(files.size(), 40u);
    for (const fs::path& file : files) expectSameReading(contentsOf(file), file.string());
}

TEST(ReferenceRtfReader, ReadsTheSharedCorpusAlike) {
    std::size_t read = 0;
    for (const char* folder : {"rtf", "rtf-wild"}) {
        fs::path path = fs::path(TESSEL_CORPUS_DIR) / folder;
        if (!fs::is_directory(path)) continue;
        for (const fs::path& file : rtfFilesUnder(path)) {
            expectSameReading(contentsOf(file), file.string());
            ++read;
        }
    }
    if (read == 0) GTEST_SKIP() << "no shared corpus RTF files in " << TESSEL_CORPUS_DIR;
}

}  // namespace
