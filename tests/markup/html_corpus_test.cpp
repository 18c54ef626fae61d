// Real HTML pages: the RTF is well formed and holds every character of the
// page, in order, once the documented transformations are undone.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "markup/html_entities.h"
#include "resources/rtf_texts.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;
namespace res = tessel::resources;
using tessel::test::readFile;
using tessel::test::TempDir;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string withoutBlanks(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (!isBlank(c)) out += c;
    }
    return out;
}

// The page as the markup sees it: lines (text-mode line ends), entities
// decoded; blanks are dropped since lines are joined and trimmed.
std::string pageText(const std::string& bytes) {
    std::string out;
    std::string line;
    auto flush = [&] {
        tessel::markup::decodeEntitiesForMarkup(line);
        out += withoutBlanks(line);
        line.clear();
    };
    for (char c : bytes) {
        if (c == '\n' || c == '\r') {
            flush();
        } else {
            line += c;
        }
    }
    flush();
    return out;
}

// Reads the RTF body back to text: tag runs opened and closed in pairs,
// escapes and control words turned back into characters. Fails the test on
// anything else.
std::string rtfText(std::string rtf) {
    std::string text;
    std::string lf;
    for (char c : rtf) {
        if (c != '\r') lf += c;
    }
    EXPECT_TRUE(lf.starts_with(res::kRtfHeader)) << "header";
    EXPECT_TRUE(lf.ends_with("}"));
    std::string_view body(lf);
    body.remove_prefix(res::kRtfHeader.size());
    body.remove_suffix(1);
    const std::map<std::string, char> words = {
        {"par", ' '},       {"tab", ' '},          {"lquote", '\x91'},
        {"rquote", '\x92'}, {"ldblquote", '\x93'}, {"rdblquote", '\x94'},
        {"bullet", '\x95'}, {"endash", '\x96'},    {"emdash", '\x97'}};
    int depth = 0;
    std::size_t i = 0;
    while (i < body.size()) {
        std::string_view rest = body.substr(i);
        bool opened = false;
        for (std::string_view opening :
             {res::kInternalTagOpen, res::kExternalTagOpen, res::kDoNotTranslateOpen}) {
            if (rest.starts_with(opening)) {
                ++depth;
                i += opening.size();
                opened = true;
                break;
            }
        }
        if (opened) continue;
        char c = body[i];
        if (c == '{') {
            ADD_FAILURE() << "unexpected group at " << i;
            return text;
        }
        if (c == '}') {
            if (--depth < 0) {
                ADD_FAILURE() << "unbalanced close at " << i;
                return text;
            }
            ++i;
            continue;
        }
        if (c == '\\') {
            char next = i + 1 < body.size() ? body[i + 1] : '\0';
            if (next == '\\' || next == '{' || next == '}') {
                text += next;
                i += 2;
                continue;
            }
            std::size_t end = body.find(' ', i);
            auto word = words.find(std::string(body.substr(i + 1, end - i - 1)));
            if (end == std::string_view::npos || word == words.end()) {
                ADD_FAILURE() << "unknown control word at " << i;
                return text;
            }
            text += word->second;
            i = end + 1;
            continue;
        }
        text += c;
        ++i;
    }
    EXPECT_EQ(depth, 0) << "every tag run closed";
    return withoutBlanks(text);
}

TEST(HtmlCorpus, EveryPageIsMarkedUpWithoutLosingText) {
    fs::path corpus = fs::path(TESSEL_CORPUS_DIR) / "html";
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "corpus not found at " << corpus;
    TempDir dir;
    int pages = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        SCOPED_TRACE(entry.path().filename().string());
        std::string bytes = readFile(entry.path().string());
        auto path = dir.write(entry.path().filename().string(), bytes);
        int result = f_iHTML2RTF(path.c_str(), nullptr);
        EXPECT_TRUE(result >= 0 || result == -113) << result;
        std::string rtf = readFile(dir.file(entry.path().stem().string() + ".rtf"));
        EXPECT_EQ(rtfText(rtf), pageText(bytes));
        ++pages;
    }
    EXPECT_GT(pages, 0);
}

}  // namespace
