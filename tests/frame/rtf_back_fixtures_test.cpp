// RTF written by a real word processor: our own mark-up output re-saved with
// LibreOffice Writer (tests/frame/data/make_libreoffice_fixtures.sh) must
// convert back to the same text as our own file, and the Word- and
// LibreOffice-saved documents of the corpus must convert without failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;
using tessel::test::readFile;
using tessel::test::TempDir;

const fs::path kData = fs::path(TESSEL_SOURCE_DIR) / "tests/frame/data";

struct Converted {
    int result;
    std::string text;
};

Converted convertCopy(const fs::path& rtf, const std::string& name, int code) {
    TempDir dir;
    std::string copy = dir.write(name + ".rtf", readFile(rtf.string()));
    int result = funciReadRTFWriteTextParser(copy.c_str(), code, ".out");
    return {result, readFile(dir.file(name + ".out"))};
}

struct Fixture {
    const char* name;
    int code;
    int result = 0;  // compatible HTML logs the punctuation it substitutes
};

class ResavedByWordProcessor : public ::testing::TestWithParam<Fixture> {};

TEST_P(ResavedByWordProcessor, ConvertsBackToTheSameText) {
    const Fixture& fixture = GetParam();
    Converted ours = convertCopy(kData / "ours" / (std::string(fixture.name) + ".rtf"),
                                 fixture.name, fixture.code);
    Converted resaved = convertCopy(kData / "libreoffice" / (std::string(fixture.name) + ".rtf"),
                                    fixture.name, fixture.code);
    ASSERT_EQ(ours.result, fixture.result);
    EXPECT_EQ(resaved.result, fixture.result);
    EXPECT_FALSE(ours.text.empty());
    EXPECT_EQ(resaved.text, ours.text);
}

// Where the re-saved file does not hold the same text: LibreOffice drops
// control characters on reading. Its other changes come back as they were:
// the soft hyphen (0xAD) it writes as "\-", and each space of a run of two
// or more, which it reads as a six-per-em space (U+2006) followed by the
// space and writes as "\u8198\'20" and the space.
std::string asLibreOfficeSavesIt(const std::string& text) {
    std::string kept;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') continue;
        kept += c;
    }
    return kept;
}

TEST(ResavedByWordProcessor, SpecialCharactersDifferOnlyAsExplained) {
    Converted ours = convertCopy(kData / "ours" / "special_characters.rtf", "s", 504);
    Converted resaved = convertCopy(kData / "libreoffice" / "special_characters.rtf", "s", 504);
    ASSERT_EQ(ours.result, 0);
    ASSERT_EQ(resaved.result, 0);
    EXPECT_NE(ours.text.find("<a href=\"C:\\dir\\file.htm\" title=\"{x}\">"), std::string::npos)
        << ours.text;
    EXPECT_NE(ours.text.find("Soft\xADhyphen"), std::string::npos);
    EXPECT_NE(ours.text.find("Spaces:   three"), std::string::npos);
    EXPECT_NE(ours.text, resaved.text);
    EXPECT_EQ(resaved.text, asLibreOfficeSavesIt(ours.text));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ResavedByWordProcessor,
                         ::testing::Values(Fixture{"html", 508}, Fixture{"html", 514, -113},
                                           Fixture{"pagemaker", 510}, Fixture{"pagemaker_mac", 510},
                                           Fixture{"ventura", 504}, Fixture{"ventura", 513}),
                         [](const auto& info) {
                             return std::string(info.param.name) + "_" +
                                    std::to_string(info.param.code);
                         });

}  // namespace

namespace {

const fs::path kCorpus = fs::path(TESSEL_CORPUS_DIR) / "rtf";

struct CorpusFile {
    const char* name;
    int result;
    const char* present;  // text that must reach the output
    const char* absent;   // text of a dropped destination or hidden text
};

class CorpusRtf : public ::testing::TestWithParam<CorpusFile> {};

TEST_P(CorpusRtf, ConvertsToSensibleText) {
    const CorpusFile& file = GetParam();
    fs::path path = kCorpus / (std::string(file.name) + ".rtf");
    if (!fs::exists(path)) GTEST_SKIP() << "corpus not available: " << path;
    for (int code : {504, 513}) {
        Converted converted = convertCopy(path, "c", code);
        EXPECT_EQ(converted.result, file.result) << code;
        EXPECT_NE(converted.text.find(file.present), std::string::npos) << converted.text;
        EXPECT_EQ(converted.text.find(file.absent), std::string::npos) << converted.text;
        EXPECT_EQ(converted.text.find("\\"), std::string::npos) << "no RTF codes in the text";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, CorpusRtf,
    ::testing::Values(
        // The comment is left out, and the log says so.
        CorpusFile{"libreoffice-annotation", -113, "This word is commented.\r\n",
                   "comment contents"},
        CorpusFile{"macword-hidden-footnote-inline", 0, "Text that is underlined. Wavy double.",
                   "Arial;"},
        // Word left one "}" more than "{" in this file: all text is written,
        // and the log says so.
        CorpusFile{"word-cp1250-polish", -113, "Prosz\xEA o zapoznanie si\xEA", "Calibri"},
        CorpusFile{"word2003-cp1251-russian-header-footer", 0, "\xC7\xC0\xDF\xC2\xCA\xC0",
                   "Times New Roman"},
        CorpusFile{"word2007plus-rsid-themedata", 0, "Numbered List\r\n1.\tBold\r\n", "themedata"}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            if (c == '-') c = '_';
        }
        return name;
    });

}  // namespace
