// The corpus's HTML and XHTML pages in UTF-8, UTF-16 and legacy code pages:
// marked up and converted back without translation, each comes back byte
// for byte up to the named round-trip rules, and none is read as Windows
// 1252 bytes it is not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/translation_checks.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;

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

TEST(EncodingsRoundTrip, EveryPageComesBackUpToTheNamedRules) {
    const fs::path encodings = encodingsFolder();
    std::vector<std::string> files = filesIn(encodings / "html");
    for (const std::string& file : filesIn(encodings / "xhtml")) files.push_back(file);
    if (files.empty()) GTEST_SKIP() << "no corpus of today's encodings at " << encodings;
    verify::RoundTripOptions options;
    options.format = verify::findRoundTripFormat("html");
    ASSERT_NE(options.format, nullptr);
    app::RoundTripReport report = app::roundTripFiles(files, options);
    ASSERT_EQ(report.results.size(), files.size());
    for (const verify::RoundTripResult& result : report.results) {
        EXPECT_FALSE(result.failed) << result.file << ": " << result.failureMessage;
        for (const verify::Difference& d : result.differences) {
            EXPECT_FALSE(d.rules.empty())
                << result.file << ":" << d.line << ":" << d.column << " unexplained: \"" << d.source
                << "\" became \"" << d.output << "\"";
        }
    }
    EXPECT_EQ(report.totals.unexplained, 0u);
}

}  // namespace
}  // namespace tessel::test
