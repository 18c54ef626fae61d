// Real DocBook, LinuxDoc and DebianDoc files through the whole SGML workflow:
// collect their tags, mark up with the full tag list and with an edited one,
// convert back with the SGML back-conversion, and compare with the original.
// The round trip gives the file back with exactly these differences, each the
// effect of a rule of the mark-up:
//   trailing blanks  blanks and tabs at the end of a line are removed;
//   joined lines     a line of running text continues the paragraph of the
//                    line before it after one blank (its leading blanks and
//                    tabs dropped), unless it begins with an external tag;
//                    line breaks inside a tag or comment stay;
//   line ends        the SGML is written with CR LF, whatever the input had.
// The short forms are read as SGML writes them: <tt/text/ is two tags around
// its text, marked sections give their start and "]]>" as tags, and a
// document type declaration with a subset is one external run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/rtf_expectations.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;
using tessel::test::readFile;
using tessel::test::TempDir;

const std::string& I = tessel::test::kInternalRun;
const std::string& E = tessel::test::kExternalRun;

std::string withoutCarriageReturns(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != '\r') out += c;
    }
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out(1);
    for (char c : text) {
        if (c == '\n') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

std::string trimmedEnd(std::string line) {
    line.erase(line.find_last_not_of(" \t") + 1);
    return line;
}

std::string trimmedStart(const std::string& line) {
    std::size_t start = line.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : line.substr(start);
}

// Empty when `back` is `original` changed by the two rules above only (each
// line break either kept or replaced by one blank that joins the next line);
// otherwise where they part.
std::string differenceBeyondTheRules(const std::string& original, const std::string& back) {
    std::vector<std::string> source = lines(withoutCarriageReturns(original));
    std::string out = withoutCarriageReturns(back);
    std::size_t pos = 0;
    for (std::size_t i = 0; i < source.size(); ++i) {
        std::string line = trimmedEnd(source[i]);
        if (i > 0) {
            char join = pos < out.size() ? out[pos] : '\0';
            if (join == ' ' && !line.empty()) {
                line = trimmedStart(line);
            } else if (join != '\n') {
                return "line " + std::to_string(i + 1) + ": neither kept nor joined";
            }
            ++pos;
        }
        if (out.compare(pos, line.size(), line) != 0) {
            return "line " + std::to_string(i + 1) + ": \"" + line + "\" became \"" +
                   out.substr(pos, line.size() + 20) + "\"";
        }
        pos += line.size();
    }
    if (pos != out.size()) return "more text after the end: " + out.substr(pos, 40);
    return {};
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// The tag file edited as a user would: the inline elements of the three DTDs
// taken out, so that they become internal runs.
std::string editedTagFile(const std::string& full) {
    static const std::vector<std::string> inlineNames = {
        "emphasis",    "literal", "command", "filename", "application", "option",
        "replaceable", "envar",   "acronym", "ulink",    "xref",        "link",
        "tt",          "em",      "bf",      "it",       "prgn",        "package",
        "file",        "var",     "email",   "ref",      "url"};
    std::string edited;
    for (const std::string& tag : lines(withoutCarriageReturns(full))) {
        if (tag.empty()) continue;
        std::size_t nameStart = tag.rfind("</", 0) == 0 ? 2 : 1;
        std::size_t nameEnd = tag.find_first_of(" \t>/", nameStart);
        std::string name = tag.substr(nameStart, nameEnd - nameStart);
        bool isInline = false;
        for (const std::string& inlineName : inlineNames) isInline |= name == inlineName;
        if (!isInline) edited += tag + "\r\n";
    }
    return edited;
}

struct CorpusCase {
    const char* name;
    std::vector<const char*> parts;  // concatenated in this order
    int collected;                   // result of the tag collection
    std::size_t openTags;            // "no end" messages of the collection
    std::size_t strayEnds;           // "no start" messages of the collection
    // The end of the file, when an abbreviated tag runs on to it: the text
    // the last (open) external run ends with. The tags after it are never
    // seen, so the list holds no inline tags to edit out.
    const char* openTagRunsTo = nullptr;
};

class SgmlCorpus : public ::testing::TestWithParam<CorpusCase> {
  protected:
    void SetUp() override {
        if (!fs::is_directory(kFolder)) {
            GTEST_SKIP() << "SGML corpus folder " << kFolder << " not found";
        }
    }
    const fs::path kFolder = fs::path(TESSEL_CORPUS_DIR) / "sgml";
};

TEST_P(SgmlCorpus, CollectMarkUpAndBackGiveTheDocumentedResult) {
    const CorpusCase& c = GetParam();
    std::string original;
    for (const char* part : c.parts) original += readFile((kFolder / part).string());
    TempDir dir;
    auto full = dir.write("full.sgml", original);
    auto edited = dir.write("edited.sgml", original);
    auto tags = dir.file("tags.txt");

    ASSERT_EQ(f_iAddUniqueSGMLTagsToFile(full.c_str(), tags.c_str()), c.collected);
    if (c.collected == -113) {
        std::string log = readFile(dir.file("full.ERR"));
        EXPECT_EQ(count(log, "SGML tag with no end detected"), c.openTags);
        EXPECT_EQ(count(log, "SGML tag with no start detected"), c.strayEnds);
        std::remove(dir.file("full.ERR").c_str());
    }
    std::string tagList = readFile(tags);
    auto editedTags = dir.write("edited-tags.txt", editedTagFile(tagList));
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(full.c_str(), tags.c_str()), c.collected < 0 ? -113 : 0)
        << "collecting again finds nothing new";
    EXPECT_EQ(readFile(tags), tagList);

    int expectedMarkup = c.openTags + c.strayEnds > 0 ? -113 : 1;
    int fullResult = f_iSGML2RTF(full.c_str(), tags.c_str());
    int editedResult = f_iSGML2RTF(edited.c_str(), editedTags.c_str());
    EXPECT_EQ(fullResult < 0, expectedMarkup < 0) << fullResult;
    EXPECT_EQ(editedResult < 0, expectedMarkup < 0) << editedResult;
    std::string fullRtf = readFile(dir.file("full.rtf"));
    std::string editedRtf = readFile(dir.file("edited.rtf"));
    // With the full list every tag is external; the internal runs left are
    // the entities. The edited list makes the inline tags internal.
    std::size_t entities = count(fullRtf, I + "&");
    EXPECT_EQ(count(fullRtf, I), entities);
    EXPECT_EQ(count(editedRtf, I + "<"), count(editedRtf, I) - entities);
    EXPECT_EQ(count(fullRtf, E) - count(editedRtf, E), count(editedRtf, I) - entities);
    if (c.openTagRunsTo == nullptr) {
        EXPECT_GT(count(editedRtf, I), entities);
    } else {
        EXPECT_EQ(editedRtf, fullRtf);
        std::string end = tessel::test::crlf(std::string(c.openTagRunsTo) + "\n\\par }}");
        EXPECT_EQ(fullRtf.substr(fullRtf.size() - end.size()), end);
    }

    for (const char* name : {"full", "edited"}) {
        std::string rtf = dir.file(std::string(name) + ".rtf");
        ASSERT_GE(f_iRTF2SGML(rtf.c_str(), ".sgm"), 0) << name;
        std::string back = readFile(dir.file(std::string(name) + ".sgm"));
        EXPECT_EQ(differenceBeyondTheRules(original, back), "") << name;
        EXPECT_EQ(count(back, "\n"), count(back, "\r\n")) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SgmlCorpus,
    ::testing::Values(
        // DocBook chapter: marked sections, short end tags "</>"; whole only
        // after the prolog of its standalone file.
        CorpusCase{"docbook_chapter", {"docbook31-pg-installation.sgml"}, 127, 0, 0},
        CorpusCase{"docbook_standalone",
                   {"docbook31-pg-standalone-install.sgml", "docbook31-pg-installation.sgml"},
                   127,
                   0,
                   0},
        // A ">" in running text ("(>= 5.6)").
        CorpusCase{"debiandoc_perl_policy", {"debiandoc-perl-policy.sgml"}, -113, 0, 1},
        // NET-enabling start tags ("<email/.../"); three ">" in running text.
        CorpusCase{"debiandoc_checklist", {"debiandoc-upgrading-checklist.sgml"}, -113, 0, 3},
        CorpusCase{"linuxdoc", {"linuxdoc-example.sgml"}, 73, 0, 0}),
    [](const ::testing::TestParamInfo<CorpusCase>& info) { return info.param.name; });

// The RTF with every tag run (internal, external, do not translate) taken
// out: what the translator sees as text.
std::string textOutsideRuns(const std::string& rtf) {
    static const std::string kDoNotTranslate = "{\\cs8\\cf13\\f1\\lang1024 ";
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        std::size_t run = std::string::npos;
        for (const std::string* opening : {&I, &E, &kDoNotTranslate}) {
            run = std::min(run, rtf.find(*opening, pos));
        }
        out += rtf.substr(pos, run - pos);
        if (run == std::string::npos) return out;
        // The run ends at the first "}" that no backslash escapes.
        std::size_t end = run + I.size();
        while (end < rtf.size() && rtf[end] != '}') end += rtf[end] == '\\' ? 2 : 1;
        pos = end + 1;
    }
}

// "<" as a tag, declaration or instruction begins: a name, "/", "!", "?".
std::size_t tagShapedText(const std::string& text) {
    std::size_t n = 0;
    for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        char next = at + 1 < text.size() ? text[at + 1] : '\0';
        n += std::isalpha(static_cast<unsigned char>(next)) != 0 || next == '/' || next == '!' ||
             next == '?';
    }
    return n;
}

// The element names of the start and end tags a file uses ("<name" and
// "</name"), its comments taken out first.
std::set<std::string> elementNames(std::string text) {
    for (std::size_t at = text.find("<!--"); at != std::string::npos; at = text.find("<!--", at)) {
        std::size_t end = text.find("-->", at);
        text.erase(at, end == std::string::npos ? std::string::npos : end + 3 - at);
    }
    std::set<std::string> names;
    for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        std::size_t start = at + (text.compare(at, 2, "</") == 0 ? 2 : 1);
        std::size_t end = start;
        while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) != 0 ||
                                     text[end] == '.' || text[end] == '-')) {
            ++end;
        }
        if (end > start && std::isalpha(static_cast<unsigned char>(text[start])) != 0) {
            names.insert(text.substr(start, end - start));
        }
    }
    return names;
}

// Every file of the folder, as it is: the collection finds every element it
// uses, and the mark-up leaves no tag-shaped text to the translator, with
// no message about markup it could not place.
TEST(SgmlCorpusFiles, EveryTagCollectedAndNoTagLeftAsText) {
    const fs::path folder = fs::path(TESSEL_CORPUS_DIR) / "sgml";
    if (!fs::is_directory(folder)) GTEST_SKIP() << "SGML corpus folder " << folder << " not found";
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const std::string original = readFile(entry.path().string());
        TempDir dir;
        auto doc = dir.write("doc.sgml", original);
        auto tags = dir.file("tags.txt");
        f_iAddUniqueSGMLTagsToFile(doc.c_str(), tags.c_str());
        // A file without tags (a prolog only) leaves no tag file.
        const std::string tagList =
            tessel::test::exists(tags) ? withoutCarriageReturns(readFile(tags)) : "";
        for (const std::string& element : elementNames(original)) {
            bool found = tagList.find("<" + element) != std::string::npos ||
                         tagList.find("</" + element) != std::string::npos;
            EXPECT_TRUE(found) << "no tag of <" << element << "> collected";
        }
        std::remove(dir.file("doc.ERR").c_str());
        f_iSGML2RTF(doc.c_str(), tags.c_str());
        const std::string rtf = readFile(dir.file("doc.rtf"));
        EXPECT_EQ(tagShapedText(textOutsideRuns(rtf)), 0u);
        std::string log =
            tessel::test::exists(dir.file("doc.ERR")) ? readFile(dir.file("doc.ERR")) : "";
        EXPECT_EQ(count(log, "that begins no tag"), 0u) << log;
        EXPECT_EQ(count(log, "null end tag"), 0u) << log;
        EXPECT_EQ(count(log, "SGML tag with no end"), 0u) << log;
        ++files;
    }
    EXPECT_GT(files, 0u);
}

}  // namespace
