// HTML and SGML marked up and converted back untranslated. What comes back
// is the input as the mark-up reads it: lines end at CR LF, LF (with a CR
// after it) or a lone CR; trailing blanks and tabs go; a line joins the one
// before it with one blank (its leading blanks and tabs dropped) unless it
// starts with an external tag; an empty line stays an empty line; the last
// line and what follows it stay as they are; named and numeric entities of
// characters become characters, which the back-conversion writes as named
// entities from 0x80 up; "&amp;" and "&lt;" stay. Every line ends in CR LF.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "property/round_trip.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace tessel::test {
namespace {

// The characters the generator writes from 0x80 up and the entity the
// back-conversion writes for each (none: the byte stays as it is).
const std::map<unsigned char, std::string> kHighCharacters = {
    {0x82, "&sbquo;"},  {0x85, ""},         {0x8C, "&OElig;"},  {0x91, "&lsquo;"},
    {0x92, "&rsquo;"},  {0x93, "&ldquo;"},  {0x94, "&rdquo;"},  {0x95, ""},
    {0x96, "&ndash;"},  {0x97, "&mdash;"},  {0x99, ""},         {0x9C, "&oelig;"},
    {0xA0, "&nbsp;"},   {0xA9, "&copy;"},   {0xC9, "&Eacute;"}, {0xDF, "&szlig;"},
    {0xE0, "&agrave;"}, {0xE9, "&eacute;"}, {0xF1, "&ntilde;"}, {0xFC, "&uuml;"},
};

// Entities of characters the mark-up decodes, with the character.
const std::map<std::string, unsigned char> kDecodedEntities = {
    {"&eacute;", 0xE9}, {"&Eacute;", 0xC9}, {"&szlig;", 0xDF}, {"&copy;", 0xA9},
    {"&ldquo;", 0x93},  {"&mdash;", 0x97},  {"&trade;", 0x99}, {"&#233;", 0xE9},
    {"&#252;", 0xFC},   {"&quot;", '"'},    {"&#65;", 'A'},
};

// Entities that stay entities.
const std::vector<std::string> kKeptEntities = {"&amp;", "&lt;", "&gt;", "&nosuch;"};

const std::vector<std::string> kLineEnds = {"\r\n", "\n", "\r", "\n\r"};

struct MarkupFormat {
    std::vector<std::string> internalTags;
    std::vector<std::string> externalTags;
};

const MarkupFormat kHtml = {
    {"<B>", "</B>", "<I>", "</i>", "<BR>", "<FONT SIZE=2>", "</FONT>", "<A HREF=\"x.htm\">", "</A>",
     "<IMG SRC=\"a.gif\" ALT=\"Logo\">", "<A HREF=\"y\" TITLE=\"Help\">"},
    {"<P>", "</P>", "<TD>", "<h2 align=center>", "<!-- a note -->", "<HR>",
     "<INPUT TYPE=submit VALUE=\"Send\">"},
};

// The SGML job's tag file lists the external tags; all others are internal.
const MarkupFormat kSgml = {
    {"<emph>", "</emph>", "<ulink url=\"x\">", "</ulink>", "<tt>", "</tt>"},
    {"<chapter>", "</chapter>", "<title>", "</title>", "<para>", "<!-- a note -->"},
};
const std::string kSgmlTagFile = "<chapter>\n</chapter>\n<title>\n</title>\n<para>\n";

std::string blanks(Generator& g) {
    static const std::vector<std::string> kBlanks = {" ", "  ", "\t", " \t "};
    return g.pick(kBlanks);
}

// One piece of a line: a word, a tag, an entity, a character from 0x80 up or
// blanks between them.
std::string linePiece(Generator& g, const MarkupFormat& format) {
    switch (g.between(0, 9)) {
        case 0:
            return g.pick(format.internalTags);
        case 1:
            return g.pick(format.externalTags);
        case 2: {
            auto entity = kDecodedEntities.begin();
            std::advance(entity, g.between(0, static_cast<int>(kDecodedEntities.size()) - 1));
            return entity->first;
        }
        case 3:
            return g.pick(kKeptEntities);
        case 4: {
            auto high = kHighCharacters.begin();
            std::advance(high, g.between(0, static_cast<int>(kHighCharacters.size()) - 1));
            return std::string(1, static_cast<char>(high->first));
        }
        case 5:
            return blanks(g);
        case 6:
            return g.chance(0.5) ? "\\" : (g.chance(0.5) ? "{" : "}");
        default:
            return g.word() + (g.chance(0.5) ? " " : "");
    }
}

Document markupDocument(Generator& g, const MarkupFormat& format) {
    Document document;
    for (int line = g.between(0, 8); line > 0; --line) {
        if (g.chance(0.15)) {
            document.pieces.push_back(g.chance(0.5) ? "" : blanks(g));  // an empty line
        } else {
            if (g.chance(0.2)) document.pieces.push_back(blanks(g));
            for (int n = g.between(1, 7); n > 0; --n)
                document.pieces.push_back(linePiece(g, format));
        }
        // A document may end without a line end.
        if (line > 1 || g.chance(0.7)) document.pieces.push_back(g.pick(kLineEnds));
    }
    return document;
}

// The normaliser.

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Lines as the mark-up reads them: CR LF read as LF, then LF with a CR after
// it, or a lone CR, end a line. `tail` is what follows the last line end.
std::vector<std::string> linesOf(const std::string& text, std::string& tail) {
    std::string read;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) read += text[i];
    }
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < read.size(); ++i) {
        char c = read[i];
        if (c != '\n' && c != '\r') {
            line += c;
            continue;
        }
        if (c == '\n' && i + 1 < read.size() && read[i + 1] == '\r') ++i;
        lines.push_back(line);
        line.clear();
    }
    tail = line;
    return lines;
}

std::string decodeEntities(const std::string& line) {
    std::string text = line;
    for (const auto& [entity, character] : kDecodedEntities) {
        for (std::size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + 1)) {
            text.replace(at, entity.size(), 1, static_cast<char>(character));
        }
    }
    return text;
}

std::string encodeHighCharacters(const std::string& line) {
    std::string text;
    for (char c : line) {
        auto high = kHighCharacters.find(static_cast<unsigned char>(c));
        text += high == kHighCharacters.end() || high->second.empty() ? std::string(1, c)
                                                                      : high->second;
    }
    return text;
}

bool startsWithExternalTag(const std::string& line, const MarkupFormat& format) {
    for (const std::string& tag : format.externalTags) {
        if (line.starts_with(tag)) return true;
    }
    return false;
}

std::string normalised(const std::string& input, const MarkupFormat& format) {
    std::string tail;
    std::vector<std::string> lines = linesOf(input, tail);
    // Paragraphs joined by "\n", as the RTF holds them.
    std::string paragraphs;
    bool written = false;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        std::string line = lines[i];
        while (!line.empty() && isBlank(line.back())) line.pop_back();
        if (line.empty()) {
            paragraphs += written ? "\n\n" : "\n";
            written = false;
            continue;
        }
        std::size_t text = line.find_first_not_of(" \t");
        if (written && !startsWithExternalTag(line.substr(text), format)) {
            paragraphs += " " + line.substr(text);
        } else {
            paragraphs += (written ? "\n" : "") + line;
        }
        written = true;
    }
    // The last line with its line end and what follows it: one unit, as it is.
    std::string last = lines.empty() ? tail : lines.back() + "\n" + tail;
    if (!last.empty()) paragraphs += (written ? "\n" : "") + last;

    std::string output;
    std::size_t start = 0;
    for (std::size_t end = paragraphs.find('\n'); end != std::string::npos;
         end = paragraphs.find('\n', start)) {
        output += encodeHighCharacters(decodeEntities(paragraphs.substr(start, end - start)));
        output += "\r\n";
        start = end + 1;
    }
    return output + encodeHighCharacters(decodeEntities(paragraphs.substr(start)));
}

TEST(MarkupRoundTrip, HtmlComesBackNormalised) {
    forAllDocuments(
        1501, 300, [](Generator& g) { return markupDocument(g, kHtml); },
        [](const std::string& input) -> Verdict {
            RoundTrip trip = roundTrip(
                "page.htm", input,
                [](const std::string& p) { return f_iHTML2RTF(p.c_str(), nullptr); }, "page.rtf",
                [](const std::string& rtf) { return f_iRTF2HTML(rtf.c_str(), ".back"); },
                "page.back");
            if (trip.failure) return trip.failure;
            return sameText(normalised(input, kHtml), trip.output);
        });
}

TEST(MarkupRoundTrip, SgmlComesBackNormalised) {
    forAllDocuments(
        1502, 300, [](Generator& g) { return markupDocument(g, kSgml); },
        [](const std::string& input) -> Verdict {
            RoundTrip trip = roundTrip(
                "doc.sgm", input,
                [](const std::string& p) {
                    std::string tags =
                        std::filesystem::path(p).replace_filename("tags.txt").string();
                    writeFile(tags, kSgmlTagFile);
                    return f_iSGML2RTF(p.c_str(), tags.c_str());
                },
                "doc.rtf", [](const std::string& rtf) { return f_iRTF2SGML(rtf.c_str(), ".back"); },
                "doc.back");
            if (trip.failure) return trip.failure;
            return sameText(normalised(input, kSgml), trip.output);
        });
}

}  // namespace
}  // namespace tessel::test
