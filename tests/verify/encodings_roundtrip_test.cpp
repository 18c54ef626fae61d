// The corpus's HTML and XHTML pages in UTF-8, UTF-16 and legacy code pages:
// marked up and converted back without translation, each comes back byte
// for byte up to the named round-trip rules. The differences that no rule
// explains yet are listed (tests/verify/data/encodings_roundtrip.txt): an
// entity of the source that comes back as its character in UTF-8, and a tag
// name with a line break after it, which pages read as Windows 1252 show
// as well. A UTF-16 page goes through the same round trip, which compares
// it in UTF-8, where the rules apply.
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

std::string described(const std::string& file, const verify::Difference& d) {
    std::string rules;
    for (verify::RoundTripRule rule : d.rules) {
        rules += (rules.empty() ? "" : "+") + std::string(verify::describe(rule).name);
    }
    return fs::path(file).filename().string() + ":" + std::to_string(d.line) + ":" +
           std::to_string(d.column) + ": " + (rules.empty() ? "unexplained" : rules);
}

TEST(EncodingsRoundTrip, EveryPageComesBackUpToTheNamedRules) {
    const fs::path encodings = encodingsFolder();
    std::vector<std::string> files = filesIn(encodings / "html");
    for (const std::string& file : filesIn(encodings / "xhtml")) files.push_back(file);
    if (files.empty()) GTEST_SKIP() << "no corpus of today's encodings at " << encodings;
    const verify::RoundTripFormat* html = verify::findRoundTripFormat("html");
    ASSERT_NE(html, nullptr);
    Lines found;
    verify::RoundTripOptions options;
    options.format = html;
    app::RoundTripReport report = app::roundTripFiles(files, options);
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
