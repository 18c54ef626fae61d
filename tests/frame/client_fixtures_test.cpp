// Our examples marked up, re-saved in LibreOffice Writer and edited there
// with words in Polish, Russian, Greek and Japanese and typographic quotes
// (scripts/client-test --update writes tests/frame/data/client/). Converted
// back, every typed word stands where its original stood, character by
// character, and a format that cannot hold a character says so in its log.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "markup/html_entities.h"
#include "platform/code_page_codec.h"
#include "platform/utf8.h"
#include "resources/mac_tables.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;
using tessel::platform::appendUtf8;
using tessel::platform::CodePageCodec;
using tessel::test::readFile;
using tessel::test::TempDir;

const fs::path kClient = fs::path(TESSEL_SOURCE_DIR) / "tests/frame/data/client";

// Numeric references and literal character tags above 255 as characters.
std::string expandNumbers(const std::string& text, const std::regex& pattern) {
    std::string out;
    auto end = std::sregex_iterator();
    std::size_t at = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != end; ++it) {
        out.append(text, at, it->position() - at);
        appendUtf8(out, static_cast<char32_t>(std::stoul((*it)[1])));
        at = it->position() + it->length();
    }
    out.append(text, at);
    return out;
}

// The output as UTF-8 text without CR.
std::string decode(const std::string& output, bool html, bool macintosh) {
    std::string bytes;
    for (char c : output) {
        if (c != '\r' || macintosh) bytes += (c == '\r' ? '\n' : c);
    }
    if (html) tessel::markup::funcHTMLEntitiesToChars(bytes);
    if (macintosh) {
        for (char& c : bytes)
            c = static_cast<char>(tessel::resources::macToAnsiTable()[std::uint8_t(c)]);
    }
    std::string utf8;
    for (char c : bytes) appendUtf8(utf8, CodePageCodec::windows1252().decode(std::uint8_t(c)));
    static const std::regex reference("&#([0-9]+);");
    static const std::regex literalTag("<\\\\#([0-9]{3,})>");
    return expandNumbers(utf8, html ? reference : literalTag);
}

std::vector<std::pair<std::string, std::string>> typedWords(const fs::path& path) {
    std::vector<std::pair<std::string, std::string>> words;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::size_t tab = line.find('\t');
        if (tab != std::string::npos) words.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return words;
}

struct Back {
    int result;
    std::string text;
    std::string log;
};

Back convert(const fs::path& rtf, int (*job)(const char*, const char*), const char* extension) {
    TempDir dir;
    std::string path = dir.write("c.rtf", readFile(rtf.string()));
    Back back{job(path.c_str(), extension), readFile(dir.file(std::string("c") + extension)), ""};
    if (fs::exists(dir.file("c.ERR"))) back.log = readFile(dir.file("c.ERR"));
    return back;
}

bool outside1252(const std::string& word) {
    std::size_t at = 0;
    std::string ignored;
    while (at < word.size()) {
        if (!CodePageCodec::windows1252().encode(tessel::platform::nextUtf8(word, at), ignored)) {
            return true;
        }
    }
    return false;
}

TEST(EditedInLibreOffice, TypedWordsComeBackAsTyped) {
    if (!fs::exists(kClient)) GTEST_SKIP() << "no fixtures in " << kClient;
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(kClient)) {
        std::string name = entry.path().filename().string();
        if (!name.ends_with(".typed.txt")) continue;
        std::string base = name.substr(0, name.size() - std::string(".typed.txt").size());
        bool html = base.starts_with("html");
        auto job = html ? f_iRTF2HTML : f_iRTF2PageMaker;
        Back resaved = convert(kClient / (base + ".resaved.rtf"), job, ".out");
        Back edited = convert(kClient / (base + ".edited.rtf"), job, ".out");
        ASSERT_EQ(resaved.result >= 0, true) << base;
        bool macintosh = resaved.text.starts_with("<PMTags1.0 mac>");
        std::string before = decode(resaved.text, html, macintosh);
        std::string after = decode(edited.text, html, macintosh);
        // Put the original words back where the typed ones stand.
        std::string rebuilt;
        std::size_t at = 0;
        bool lost = false;
        for (const auto& [original, typed] : typedWords(entry.path())) {
            std::size_t found = after.find(typed, at);
            ASSERT_NE(found, std::string::npos) << base << ": " << typed;
            rebuilt += after.substr(at, found - at) + original;
            at = found + typed.size();
            lost = lost || (!html && outside1252(typed));
        }
        rebuilt += after.substr(at);
        EXPECT_EQ(rebuilt, before) << base;
        if (lost) {
            EXPECT_EQ(edited.result, -113) << base;
            EXPECT_NE(edited.log.find("Not written as themselves: U+0141"), std::string::npos)
                << edited.log;
        } else {
            EXPECT_EQ(edited.result, resaved.result) << base;
        }
        ++checked;
    }
    EXPECT_GE(checked, 4);
}

}  // namespace
