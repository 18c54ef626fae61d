// Our examples reviewed in LibreOffice Writer (scripts/client-test --update
// writes tests/frame/data/revisions/ through scripts/client_test_revisions.py):
// words replaced, a sentence deleted and words inserted with changes
// tracked, saved as RTF and also through Word 2007 XML, and a comment on a
// word. Converted back, each reads as the document with every change
// accepted and without the comment, and the log says what was done.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;
using tessel::test::readFile;
using tessel::test::TempDir;

const fs::path kRevisions = fs::path(TESSEL_SOURCE_DIR) / "tests/frame/data/revisions";

struct BackJob {
    std::string_view prefix;  // of the fixture's name: "html" in "html_product_page"
    int(TESSEL_CALL* job)(const char*, const char*);
};

constexpr BackJob kBackJobs[] = {
    {"html", f_iRTF2HTML},
    {"sgml", f_iRTF2SGML},
    {"pagemaker", f_iRTF2PageMaker},
    {"quark", f_iRTF2XPress},
    {"ventura4", f_iVentura4RTF2Text},
    {"ventura", f_iRTF2Text},
};

const BackJob* backJobOf(const std::string& name) {
    std::string prefix = name.substr(0, name.find('_'));
    for (const BackJob& job : kBackJobs) {
        if (job.prefix == prefix) return &job;
    }
    return nullptr;
}

// The first words of the log message of each code the fixtures name.
const std::map<std::string, std::string> kMessageStarts = {
    {"-413", "The RTF file holds tracked changes. They have been accepted"},
    {"-414", "The RTF file holds comments. They have been left out"},
};

struct Back {
    int result = 0;
    std::string text;
    std::string log;
};

Back convert(const std::string& fixture) {
    const BackJob* job = backJobOf(fixture);
    EXPECT_NE(job, nullptr) << fixture;
    if (job == nullptr) return {};
    TempDir dir;
    std::string path = dir.write("r.rtf", readFile((kRevisions / fixture).string()));
    Back back;
    back.result = job->job(path.c_str(), ".out");
    back.text = readFile(dir.file("r.out"));
    if (fs::exists(dir.file("r.ERR"))) back.log = readFile(dir.file("r.ERR"));
    return back;
}

struct Expectation {
    std::string fixture;
    std::string kind;  // present, absent, message, same
    std::string value;
};

std::vector<Expectation> expectations() {
    std::vector<Expectation> rows;
    for (const auto& entry : fs::directory_iterator(kRevisions)) {
        if (!entry.path().filename().string().ends_with(".expect.txt")) continue;
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            std::size_t first = line.find('\t');
            std::size_t second = line.find('\t', first + 1);
            if (first == std::string::npos || second == std::string::npos) continue;
            rows.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1),
                            line.substr(second + 1)});
        }
    }
    return rows;
}

TEST(ReviewedInLibreOffice, ChangesAreAcceptedAndCommentsLeftOut) {
    if (!fs::exists(kRevisions)) GTEST_SKIP() << "no fixtures in " << kRevisions;
    std::map<std::string, Back> converted;
    auto backOf = [&](const std::string& fixture) -> const Back& {
        auto found = converted.find(fixture);
        if (found == converted.end()) found = converted.emplace(fixture, convert(fixture)).first;
        return found->second;
    };
    std::map<std::string, std::set<std::string>> kindsOf;
    for (const Expectation& row : expectations()) {
        const Back& back = backOf(row.fixture);
        kindsOf[row.fixture].insert(row.kind);
        if (row.kind == "present") {
            EXPECT_NE(back.text.find(row.value), std::string::npos)
                << row.fixture << ": " << row.value << " missing\n"
                << back.text;
        } else if (row.kind == "absent") {
            EXPECT_EQ(back.text.find(row.value), std::string::npos)
                << row.fixture << ": " << row.value << " written\n"
                << back.text;
            // The log's header names the tool and the files, words a
            // document may hold too: only its entries are looked at.
            const std::size_t entries = std::min(back.log.find("\n[1]"), back.log.size());
            EXPECT_EQ(back.log.find(row.value, entries), std::string::npos)
                << row.fixture << ": " << row.value << " in the log";
        } else if (row.kind == "message") {
            // A warning: the job succeeds, and its log holds the message once.
            EXPECT_EQ(back.result, -113) << row.fixture;
            ASSERT_EQ(kMessageStarts.count(row.value), 1u) << row.value;
            const std::string& start = kMessageStarts.at(row.value);
            std::size_t at = back.log.find(start);
            EXPECT_NE(at, std::string::npos) << row.fixture << ": " << row.value << "\n"
                                             << back.log;
            if (at != std::string::npos) {
                EXPECT_EQ(back.log.find(start, at + 1), std::string::npos) << row.fixture;
            }
        } else if (row.kind == "same") {
            const Back& other = backOf(row.value);
            EXPECT_EQ(other.result, 0) << row.value << "\n" << other.log;
            EXPECT_EQ(back.text, other.text) << row.fixture << " and " << row.value;
        } else {
            ADD_FAILURE() << row.fixture << ": unknown expectation " << row.kind;
        }
    }
    // Each fixture kind is there and checked for both what it shows and what
    // it leaves out.
    std::set<std::string> suffixes;
    for (const auto& [fixture, kinds] : kindsOf) {
        suffixes.insert(fixture.substr(fixture.find('.')));
        EXPECT_TRUE(kinds.count("present") && kinds.count("absent") && kinds.count("message"))
            << fixture;
        EXPECT_FALSE(backOf(fixture).text.empty()) << fixture;
    }
    EXPECT_EQ(suffixes, (std::set<std::string>{".tracked.rtf", ".docx.rtf", ".comment.rtf"}));
}

// What Writer really writes for the constructs: the fixtures hold them, so
// the test above reads them and not only what hand-written RTF holds.
TEST(ReviewedInLibreOffice, FixturesHoldTheConstructsAsWriterWritesThem) {
    if (!fs::exists(kRevisions)) GTEST_SKIP() << "no fixtures in " << kRevisions;
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(kRevisions)) {
        std::string name = entry.path().filename().string();
        std::string rtf = readFile(entry.path().string());
        if (name.ends_with(".tracked.rtf") || name.ends_with(".docx.rtf")) {
            ++files;
            EXPECT_NE(rtf.find("\\revtbl"), std::string::npos) << name;
            EXPECT_NE(rtf.find("\\deleted"), std::string::npos) << name;
            EXPECT_NE(rtf.find("\\revised"), std::string::npos) << name;
        } else if (name.ends_with(".comment.rtf")) {
            ++files;
            EXPECT_NE(rtf.find("\\annotation"), std::string::npos) << name;
            EXPECT_NE(rtf.find("\\atnauthor"), std::string::npos) << name;
        }
    }
    EXPECT_GE(files, 3u);
}

}  // namespace
