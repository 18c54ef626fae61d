// Our examples of every format that marks up, re-saved in LibreOffice
// Writer and edited there with words in Polish, Russian, Greek and Japanese
// and typographic quotes (scripts/client-test --update writes
// tests/frame/data/client/, NAME as FORMAT_EXAMPLE). Converted back, every
// typed word stands where its original stood, character by character, and a
// format that cannot hold a character names it in its log.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
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

// How a back-conversion writes what it cannot hold.
enum class Writes { Entities, LiteralTags, Fallback };

struct BackFormat {
    std::string_view prefix;  // of the fixture's name: "quark" in "quark_windows_sample"
    int(TESSEL_CALL* job)(const char*, const char*);
    Writes writes;
};

constexpr BackFormat kBackFormats[] = {
    {"html", f_iRTF2HTML, Writes::Entities},
    {"sgml", f_iRTF2SGML, Writes::Entities},
    {"pagemaker", f_iRTF2PageMaker, Writes::LiteralTags},
    {"quark", f_iRTF2XPress, Writes::LiteralTags},
    {"ventura4", f_iVentura4RTF2Text, Writes::Fallback},
    {"ventura", f_iRTF2Text, Writes::Fallback},
};

const BackFormat* backFormatOf(const std::string& base) {
    std::string prefix = base.substr(0, base.find('_'));
    for (const BackFormat& format : kBackFormats) {
        if (format.prefix == prefix) return &format;
    }
    return nullptr;
}

// A Macintosh file by its header: "<PMTags1.0 mac>" or QuarkXPress "<e0>".
bool isMacintosh(const std::string& output) {
    std::string first = output.substr(0, output.find_first_of("\r\n"));
    return first.starts_with("<PMTags1.0 mac>") ||
           (first.starts_with("<v") && first.find("<e0>") != std::string::npos);
}

// The output as UTF-8 text without CR.
std::string decode(const std::string& output, Writes writes) {
    bool macintosh = writes == Writes::LiteralTags && isMacintosh(output);
    bool entities = writes == Writes::Entities;
    std::string bytes;
    for (char c : output) {
        if (c != '\r' || macintosh) bytes += (c == '\r' ? '\n' : c);
    }
    if (entities) tessel::markup::funcHTMLEntitiesToChars(bytes);
    if (macintosh) {
        for (char& c : bytes)
            c = static_cast<char>(tessel::resources::macToAnsiTable()[std::uint8_t(c)]);
    }
    std::string utf8;
    for (char c : bytes) appendUtf8(utf8, CodePageCodec::windows1252().decode(std::uint8_t(c)));
    static const std::regex reference("&#([0-9]+);");
    static const std::regex literalTag("<\\\\#([0-9]{3,})>");
    if (writes == Writes::Fallback) return utf8;
    return expandNumbers(utf8, entities ? reference : literalTag);
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

Back convert(const fs::path& rtf, int(TESSEL_CALL* job)(const char*, const char*),
             const char* extension) {
    TempDir dir;
    std::string path = dir.write("c.rtf", readFile(rtf.string()));
    Back back{job(path.c_str(), extension), readFile(dir.file(std::string("c") + extension)), ""};
    if (fs::exists(dir.file("c.ERR"))) back.log = readFile(dir.file("c.ERR"));
    return back;
}

bool in1252(char32_t c) {
    std::string ignored;
    return CodePageCodec::windows1252().encode(c, ignored);
}

// "U+0141" for the log's list of characters not written as themselves.
std::string codePoint(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

// The typed word as the output shows it once decoded, and the characters
// of it the output cannot hold.
std::string asWritten(const std::string& word, Writes writes, std::set<char32_t>& unheld) {
    std::string written;
    std::size_t at = 0;
    while (at < word.size()) {
        char32_t c = tessel::platform::nextUtf8(word, at);
        bool held = writes == Writes::Entities || in1252(c);
        if (!held) unheld.insert(c);
        appendUtf8(written, held || writes == Writes::LiteralTags ? c : U'?');
    }
    return written;
}

TEST(EditedInLibreOffice, TypedWordsComeBackAsTyped) {
    if (!fs::exists(kClient)) GTEST_SKIP() << "no fixtures in " << kClient;
    std::set<std::string> prefixes;
    for (const auto& entry : fs::directory_iterator(kClient)) {
        std::string name = entry.path().filename().string();
        if (!name.ends_with(".typed.txt")) continue;
        std::string base = name.substr(0, name.size() - std::string(".typed.txt").size());
        const BackFormat* format = backFormatOf(base);
        ASSERT_NE(format, nullptr) << base;
        Back resaved = convert(kClient / (base + ".resaved.rtf"), format->job, ".out");
        Back edited = convert(kClient / (base + ".edited.rtf"), format->job, ".out");
        ASSERT_GE(resaved.result, 0) << base << "\n" << resaved.log;
        std::string before = decode(resaved.text, format->writes);
        std::string after = decode(edited.text, format->writes);
        // Put the original words back where the typed ones stand.
        std::string rebuilt;
        std::size_t at = 0;
        std::set<char32_t> unheld;
        auto words = typedWords(entry.path());
        for (const auto& [original, typed] : words) {
            std::string written = asWritten(typed, format->writes, unheld);
            std::size_t found = after.find(written, at);
            ASSERT_NE(found, std::string::npos) << base << ": " << typed;
            rebuilt += after.substr(at, found - at) + original;
            at = found + written.size();
        }
        rebuilt += after.substr(at);
        EXPECT_EQ(rebuilt, before) << base;
        // What the output cannot hold is named in the log, and the job
        // says so; otherwise it ends as the unedited file's does.
        if (!unheld.empty()) {
            EXPECT_EQ(edited.result, -113) << base;
            for (char32_t c : unheld) {
                EXPECT_NE(edited.log.find(codePoint(c)), std::string::npos)
                    << base << ": " << codePoint(c) << "\n"
                    << edited.log;
            }
        } else {
            EXPECT_EQ(edited.result, resaved.result) << base << "\n" << edited.log;
        }
        EXPECT_FALSE(words.empty()) << base;
        prefixes.insert(std::string(format->prefix));
    }
    // Every back-conversion has its fixtures.
    EXPECT_EQ(prefixes.size(), std::size(kBackFormats));
}

}  // namespace
