#include "core/xliff_jobs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "verify/roundtrip.h"

namespace tessel::app {
namespace {

namespace fs = std::filesystem;
using test::exists;
using test::readFile;
using test::TempDir;
using xliff::XliffVersion;

const fs::path kExamples = fs::path(TESSEL_SOURCE_DIR) / "examples";
const fs::path kCorpus = TESSEL_CORPUS_DIR;
const fs::path kSchemas = TESSEL_SCHEMAS_DIR;

struct Source {
    fs::path path;
    std::string format;
    std::string tagFile;
};

// Every example, and the corpus files of the formats that mark up where
// the corpus is at hand.
std::vector<Source> sources(bool withCorpus) {
    std::vector<Source> all = {
        {kExamples / "html/product_page.htm", "html", ""},
        {kExamples / "html/server_page.asp", "html", ""},
        {kExamples / "sgml/guide.sgml", "sgml", (kExamples / "sgml/tags.txt").string()},
        {kExamples / "pagemaker/windows_sample.txt", "pagemaker", ""},
        {kExamples / "pagemaker/macintosh_sample.txt", "pagemaker", ""},
        {kExamples / "quark/windows_sample.xtg", "quark", ""},
        {kExamples / "quark/macintosh_sample.xtg", "quark", ""},
        {kExamples / "ventura/ventura4_sample.txt", "ventura4", ""},
        {kExamples / "ventura/ventura5_sample.txt", "ventura", ""},
    };
    if (!withCorpus || !fs::is_directory(kCorpus)) return all;
    for (const char* folder : {"html", "pagemaker", "quark", "sgml", "encodings/html"}) {
        for (const auto& entry : fs::directory_iterator(kCorpus / folder)) {
            std::string format = std::string(folder) == "encodings/html" ? "html" : folder;
            all.push_back({entry.path(), format, ""});
        }
    }
    return all;
}

std::string copyInto(const TempDir& dir, const fs::path& source) {
    std::string copy = dir.file(source.filename().string());
    fs::copy_file(source, copy);
    return copy;
}

int extract(const std::string& path, std::string_view format, const std::string& tagFile = {}) {
    return extractXliff(XliffJob{format, path, path, tagFile});
}

int merge(const std::string& xlf, std::string_view format, const std::string& tagFile = {}) {
    return mergeXliff(XliffJob{format, xlf, xlf, tagFile});
}

std::string replaced(std::string text, const std::string& pattern, const std::string& by) {
    return std::regex_replace(text, std::regex(pattern), by);
}

// Every example and corpus file comes back through XLIFF exactly as through
// RTF: the same bytes, so the same differences under the same rules.
TEST(XliffJobs, RoundTripThroughXliffIsTheRoundTripThroughRtf) {
    if (!fs::is_directory(kCorpus)) std::cout << "shared corpus not found: examples only\n";
    for (XliffVersion version : {XliffVersion::V1_2, XliffVersion::V2_1}) {
        setXliffSettings(XliffSettings{version, "en", ""});
        for (const Source& source : sources(true)) {
            const verify::RoundTripFormat* format = verify::findRoundTripFormat(source.format);
            ASSERT_NE(format, nullptr);
            verify::RoundTripResult rtf =
                verify::roundTrip(source.path.string(), *format, source.tagFile);
            verify::RoundTripResult xliff =
                roundTripViaXliff(source.path.string(), *format, source.tagFile);
            SCOPED_TRACE(source.path.string());
            ASSERT_EQ(xliff.failed, rtf.failed) << xliff.failureMessage;
            EXPECT_EQ(xliff.identical, rtf.identical);
            ASSERT_EQ(xliff.differences.size(), rtf.differences.size());
            for (std::size_t i = 0; i < rtf.differences.size(); ++i) {
                EXPECT_EQ(xliff.differences[i].line, rtf.differences[i].line);
                EXPECT_EQ(xliff.differences[i].column, rtf.differences[i].column);
                EXPECT_EQ(xliff.differences[i].output, rtf.differences[i].output);
            }
        }
    }
    setXliffSettings({});
}

// The extraction of an unchanged file is the same XLIFF, ids included.
TEST(XliffJobs, ExtractionIsStable) {
    TempDir dir;
    std::string page = copyInto(dir, kExamples / "html/product_page.htm");
    std::string xlf = dir.file("product_page.xlf");
    // The mark-up's warning (a tag it does not know) stays with the job.
    ASSERT_EQ(extract(page, "html"), -113);
    EXPECT_NE(readFile(dir.file("product_page.err")).find("Unknown HTML tag"), std::string::npos);
    std::string first = readFile(xlf);
    EXPECT_EQ(extract(page, "html"), -115) << "an existing XLIFF is never replaced";
    fs::remove(xlf);
    ASSERT_EQ(extract(page, "html"), -113);
    EXPECT_EQ(readFile(xlf), first);
}

TEST(XliffJobs, MergeWritesTargetsAndChecksTheirCodes) {
    TempDir dir;
    std::string page = copyInto(dir, kExamples / "html/product_page.htm");
    ASSERT_EQ(extract(page, "html"), -113);
    std::string xlf = dir.file("product_page.xlf");
    std::string xml = readFile(xlf);
    // Every unit translated (its target taken as it stands), unit 5 with its
    // pair of tags moved, unit 20 with one dropped.
    std::string translated = replaced(xml, "<target state=\"needs-translation\">", "<target>");
    translated = replaced(
        translated,
        "<target>We are open <bpt id=\"1\">&lt;B&gt;</bpt>every day<ept id=\"1\">&lt;/B&gt;</ept>",
        "<target>Wir haben <bpt id=\"1\">&lt;B&gt;</bpt>jeden Tag<ept id=\"1\">&lt;/B&gt;</ept> "
        "offen");
    translated =
        replaced(translated, "<target><bpt id=\"1\">&lt;ABBR(.*?)</bpt>VAT", "<target>MWST");
    translated = replaced(translated, "<target>Opening hours</target>",
                          "<target>\xC3\x96"
                          "ffnungszeiten</target>");
    test::writeFile(xlf, translated);
    fs::remove(page);
    fs::create_directory(dir.file("src"));
    // The original lies beside the XLIFF.
    EXPECT_EQ(merge(xlf, "html"), -2002);
    EXPECT_NE(readFile(dir.file("product_page.err")).find("The original file is not found"),
              std::string::npos);
    fs::copy_file(kExamples / "html/product_page.htm", page);
    fs::remove(dir.file("product_page.err"));
    // Its output is written under the back-conversion's extension: the
    // original's name is taken.
    EXPECT_EQ(merge(xlf, "html"), -115);
    fs::create_directory(dir.file("out"));
    fs::copy_file(xlf, dir.file("out/product_page.xlf"));
    int merged = mergeXliff(XliffJob{"html", dir.file("out/product_page.xlf"), xlf, ""});
    EXPECT_EQ(merged, -113);
    std::string html = readFile(dir.file("out/product_page.htm"));
    EXPECT_NE(html.find("<P>Wir haben <B>jeden Tag</B> offen from 8&nbsp;a.m."), std::string::npos)
        << html;
    EXPECT_NE(html.find("<H1>&Ouml;ffnungszeiten</H1>"), std::string::npos);
    EXPECT_NE(html.find("<P>MWST</ABBR> number"), std::string::npos) << html;
    std::string log = readFile(dir.file("out/product_page.err"));
    EXPECT_NE(log.find("[1] Tag of the original missing in paragraph"), std::string::npos) << log;
    EXPECT_NE(log.find("<ABBR TITLE=\"Value added tax\">"), std::string::npos) << log;
    EXPECT_EQ(log.find("Tag out of the original's order"), std::string::npos)
        << "a pair moved together is no finding:\n"
        << log;
}

TEST(XliffJobs, MergeCountsUnitsWithoutTargetAndRefusesWhatItCannotMerge) {
    TempDir dir;
    std::string source = copyInto(dir, kExamples / "pagemaker/windows_sample.txt");
    ASSERT_GT(extract(source, "pagemaker"), 0);
    std::string xlf = dir.file("windows_sample.xlf");
    const std::string xml = readFile(xlf);
    fs::create_directory(dir.file("o"));
    std::string out = dir.file("o/windows_sample.xlf");
    auto mergeText = [&](const std::string& text, std::string_view format = "pagemaker") {
        fs::remove(out);
        fs::remove(dir.file("o/windows_sample.txt"));
        fs::remove(dir.file("o/windows_sample.err"));
        test::writeFile(out, text);
        return mergeXliff(XliffJob{format, out, xlf, ""});
    };
    // No target: the source is kept, counted in the log and the report.
    EXPECT_EQ(mergeText(xml), -113);
    EXPECT_NE(readFile(dir.file("o/windows_sample.txt")).find("<PMTags"), std::string::npos);
    EXPECT_NE(readFile(dir.file("o/windows_sample.err"))
                  .find("translation units had no translation (no target"),
              std::string::npos);
    EXPECT_NE(lastMergeReport().find("translation units had no translation;"), std::string::npos);

    EXPECT_EQ(mergeText(xml, "quark"), -2004);
    EXPECT_EQ(mergeText(xml.substr(0, xml.size() / 2)), -2001);
    EXPECT_NE(readFile(dir.file("o/windows_sample.err")).find("cannot be merged: line "),
              std::string::npos);
    EXPECT_EQ(mergeText(replaced(xml, "original=\"windows_sample.txt\"",
                                 "original=\"../windows_sample.txt\"")),
              -2002);
    EXPECT_EQ(
        mergeText(replaced(xml, "original=\"windows_sample.txt\"", "original=\"/etc/passwd\"")),
        -2002);
    EXPECT_FALSE(exists(dir.file("o/windows_sample.txt")));
    // The original changed since the extraction.
    std::string bytes = readFile(source);
    test::writeFile(source, bytes + "x");
    EXPECT_EQ(mergeText(xml), -2003);
    EXPECT_NE(readFile(dir.file("o/windows_sample.err")).find("has changed since"),
              std::string::npos);
    test::writeFile(source, bytes);
    // A unit whose source is not the original's (another tag file, an edit).
    std::string edited = replaced(xml, "<source>([^<]{3})", "<source>$1x");
    EXPECT_EQ(mergeText(edited), -2003);
    EXPECT_NE(readFile(dir.file("o/windows_sample.err")).find("is not the text of the original"),
              std::string::npos);
}

// Every XLIFF written validates against the OASIS schemas (xmllint, where
// it is installed, without the network).
TEST(XliffJobs, EveryXliffValidatesAgainstTheSchemas) {
    if (std::system("xmllint --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xmllint not installed";
    if (!fs::is_directory(kSchemas)) GTEST_SKIP() << "schemas not found at " << kSchemas;
    for (XliffVersion version : {XliffVersion::V1_2, XliffVersion::V2_1}) {
        setXliffSettings(XliffSettings{version, "de-CH", "fr"});
        TempDir dir;
        std::string files;
        for (const Source& source : sources(true)) {
            fs::path folder = dir.path() / std::to_string(files.size());
            fs::create_directory(folder);
            std::string copy = (folder / source.path.filename()).string();
            fs::copy_file(source.path, copy);
            int units = extract(copy, source.format, source.tagFile);
            fs::path xlf = fs::path(copy).replace_extension(".xlf");
            if (!fs::exists(xlf)) {
                ADD_FAILURE() << source.path << ": no XLIFF (" << units << ")";
                continue;
            }
            files += " '" + xlf.string() + "'";
        }
        std::string schema = version == XliffVersion::V1_2
                                 ? (kSchemas / "xliff-1.2/xliff-core-1.2-strict.xsd").string()
                                 : (kSchemas / "xliff-2.1/xliff_core_2.0.xsd").string();
        std::string command = "XML_CATALOG_FILES='" + (kSchemas / "catalog.xml").string() +
                              "' xmllint --nonet --noout --schema '" + schema + "'" + files +
                              " >'" + dir.file("xmllint.txt") + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << readFile(dir.file("xmllint.txt"));
    }
    setXliffSettings({});
}

}  // namespace
}  // namespace tessel::app
