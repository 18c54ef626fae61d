// The corpus's HTML and XHTML pages in UTF-8, UTF-16 and legacy code pages:
// marked up and converted back without translation, each comes back byte
// for byte up to the named round-trip rules. The differences that no rule
// explains yet are listed (tests/verify/data/encodings_roundtrip.txt): an
// entity of the source that comes back as its character in UTF-8, and a tag
// name with a line break after it, which pages read as Windows 1252 show
// as well. A UTF-16 page is compared in UTF-8, where the rules apply.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/translation_checks.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// The corpus where the build expects it, or where TESSEL_CORPUS_DIR says.
fs::path encodingsFolder() {
    const char* chosen = std::getenv("TESSEL_CORPUS_DIR");
    return fs::path(chosen != nullptr && *chosen != '\0' ? chosen : TESSEL_CORPUS_DIR) /
           "encodings";
}

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> files;
    if (!fs::is_directory(folder)) return files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

bool isUtf16(const std::string& bytes) {
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

// UTF-8 of UTF-16 little-endian bytes after their mark (the corpus's page).
std::string utf8OfUtf16(std::string_view bytes) {
    std::string text;
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
        char32_t c = static_cast<unsigned char>(bytes[at]) |
                     char32_t(static_cast<unsigned char>(bytes[at + 1])) << 8;
        if (c >= 0xD800 && c <= 0xDBFF && at + 3 < bytes.size()) {
            char32_t low = static_cast<unsigned char>(bytes[at + 2]) |
                           char32_t(static_cast<unsigned char>(bytes[at + 3])) << 8;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            at += 2;
        }
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

std::string described(const std::string& file, const verify::Difference& d) {
    std::string rules;
    for (verify::RoundTripRule rule : d.rules) {
        rules += (rules.empty() ? "" : "+") + std::string(verify::describe(rule).name);
    }
    return fs::path(file).filename().string() + ":" + std::to_string(d.line) + ":" +
           std::to_string(d.column) + ": " + (rules.empty() ? "unexplained" : rules);
}

// The UTF-16 page through the jobs, compared in UTF-8.
Lines utf16Differences(const std::string& path, const verify::RoundTripFormat& format) {
    TempDir dir;
    const std::string source = readFile(path);
    std::string copy = dir.write("page.html", source);
    EXPECT_EQ(f_iHTML2RTF(copy.c_str(), nullptr) >= 0, true);
    EXPECT_GE(f_iRTF2HTML(dir.file("page.rtf").c_str(), ".back"), 0);
    const std::string output = readFile(dir.file("page.back"));
    EXPECT_TRUE(output.starts_with(source.substr(0, 2))) << "the same mark";
    Lines found;
    for (const verify::Difference& d :
         verify::compareRoundTrip(utf8OfUtf16(source), utf8OfUtf16(output), format.rules)) {
        found.push_back(described(path, d));
    }
    return found;
}

TEST(EncodingsRoundTrip, EveryPageComesBackUpToTheNamedRules) {
    const fs::path encodings = encodingsFolder();
    std::vector<std::string> files = filesIn(encodings / "html");
    for (const std::string& file : filesIn(encodings / "xhtml")) files.push_back(file);
    if (files.empty()) GTEST_SKIP() << "no corpus of today's encodings at " << encodings;
    const verify::RoundTripFormat* html = verify::findRoundTripFormat("html");
    ASSERT_NE(html, nullptr);
    std::vector<std::string> eightBit;
    Lines found;
    for (const std::string& file : files) {
        if (!isUtf16(readFile(file))) {
            eightBit.push_back(file);
            continue;
        }
        for (std::string& line : utf16Differences(file, *html)) found.push_back(std::move(line));
    }
    verify::RoundTripOptions options;
    options.format = html;
    app::RoundTripReport report = app::roundTripFiles(eightBit, options);
    for (const verify::RoundTripResult& result : report.results) {
        EXPECT_FALSE(result.failed) << result.file << ": " << result.failureMessage;
        for (const verify::Difference& d : result.differences) {
            if (d.rules.empty()) found.push_back(described(result.file, d));
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(
        std::remove_if(found.begin(), found.end(),
                       [](const std::string& line) { return !line.ends_with("unexplained"); }),
        found.end());
    Lines expected;
    std::ifstream in(fs::path(TESSEL_SOURCE_DIR) / "tests/verify/data/encodings_roundtrip.txt");
    for (std::string line; std::getline(in, line);) expected.push_back(line);
    EXPECT_EQ(found, expected);
}

}  // namespace
}  // namespace tessel::test
