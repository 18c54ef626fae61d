// DTP tagged text marked up and converted back untranslated. Every byte of
// the source reaches the RTF, as text or inside a tag's run, so what comes
// back is the source with its line ends normalised: CR LF after every line
// (a lone CR for a Macintosh file, whose header asks for the Macintosh
// pass), the last line without one when it had none. Besides that:
// Macintosh characters without a Windows 1252 counterpart come back as
// literal character tags "<\#N>"; Ventura 5 to 7 back to text leaves empty
// lines out; Ventura 4 joins a line break between running words into one
// blank.
#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "platform/message_box.h"
#include "property/round_trip.h"
#include "tessel_cat.h"

namespace tessel::test {
namespace {

// Macintosh Roman bytes whose character has no counterpart in Windows 1252
// (the Apple logo, the ligatures fi and fl, the mathematical signs, most
// Greek letters, ...), and those that the conversion treats so (0xB6 to 0xBD,
// 0xFC). Every other Macintosh byte converts to Windows 1252 and back to
// itself.
const std::set<unsigned char> kMacintoshWithoutCounterpart = {
    0xAD, 0xB0, 0xB2, 0xB3, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xC3, 0xC5,
    0xC6, 0xD7, 0xDA, 0xDE, 0xDF, 0xF0, 0xF5, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFF};

// Bytes from 0x80 up for Windows files: the RTF escapes some (quotes,
// dashes, the bullet, the no-break space) as control words.
const std::vector<std::string> kWindowsHigh = {"\x80", "\x85", "\x91", "\x92", "\x93", "\x94",
                                               "\x95", "\x96", "\x97", "\xA0", "\xE9", "\xFC"};

std::string macintoshByte(Generator& g) {
    return std::string(1, static_cast<char>(g.between(0x80, 0xFF)));
}

// Text that is never a tag: words, blanks, tabs, characters the RTF escapes.
std::string textPiece(Generator& g, bool macintosh) {
    switch (g.between(0, 6)) {
        case 0:
            return macintosh ? macintoshByte(g) : g.pick(kWindowsHigh);
        case 1:
            return g.chance(0.5) ? " " : "\t";
        case 2:
            return g.chance(0.5) ? "{" : "}";
        default:
            return g.word() + " ";
    }
}

struct TaggedFormat {
    std::vector<std::string> headers;  // the first line; one is picked
    std::vector<std::string> lineStarts;
    std::vector<std::string> tags;
    bool macintosh = false;
};

const TaggedFormat kPageMaker = {
    {"<PMTags1.0 win>"}, {"<@Body:>", "<@Heading:>", ""}, {"<B>", "<P>", "<I>", "<U>"}};
const TaggedFormat kMacPageMaker = {
    {"<PMTags1.0 mac>"}, {"<@Body:>", ""}, {"<B>", "<P>", "<I>"}, true};
const TaggedFormat kXPress = {{"<v1.70><e1>"},
                              {"@Normal:", "@Heading:", ""},
                              {"<B>", "<B$>", "<I>", "<I$>", "<\\#183>", "<*C>", "<f\"Arial\">"}};
const TaggedFormat kMacXPress = {{"<v6.50><e0>"}, {"@Normal:", ""}, {"<B>", "<B$>", "<I>"}, true};
const TaggedFormat kVentura = {
    {},
    {"@BODY = ", "@HEAD = ",
     ""},  // ">>" right after the ">" of a code would read as the escape, so the
    // escapes stand after a blank.
    {"<B>", "<I>", "<D>", " <<", " >>", "<@183>", "<F255>"}};

// Lines of text and tags after the format's header line; a line never ends
// in a tag, so that no tag stands next to a line break (where the Ventura 4
// joining looks at the text between tags only).
Document taggedDocument(Generator& g, const TaggedFormat& format) {
    const std::vector<std::string> lineEnds =
        format.macintosh ? std::vector<std::string>{"\r"} : std::vector<std::string>{"\r\n", "\n"};
    Document document;
    if (!format.headers.empty()) {
        document.pieces.push_back(g.pick(format.headers));
        document.pieces.push_back(g.pick(lineEnds));
        // Their grammars want a tag after the header.
        document.pieces.push_back(g.pick(format.tags));
        document.fixedPieces = 3;
    }
    for (int line = g.between(1, 8); line > 0; --line) {
        if (g.chance(0.2)) {
            document.pieces.push_back(g.pick(lineEnds));  // an empty line
            continue;
        }
        document.pieces.push_back(g.pick(format.lineStarts));
        for (int n = g.between(0, 6); n > 0; --n) {
            document.pieces.push_back(g.chance(0.3) ? g.pick(format.tags)
                                                    : textPiece(g, format.macintosh));
        }
        document.pieces.push_back(g.word());
        if (line > 1 || g.chance(0.7)) document.pieces.push_back(g.pick(lineEnds));
    }
    return document;
}

// The normaliser.

// Lines of a file whose line ends are CR LF, LF or (Macintosh) CR; `tail`
// is what follows the last line end.
std::vector<std::string> linesOf(const std::string& text, std::string& tail) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\n' && c != '\r') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(line);
        line.clear();
    }
    tail = line;
    return lines;
}

std::string joined(const std::vector<std::string>& lines, const std::string& tail,
                   const std::string& lineEnd) {
    std::string text;
    for (const std::string& line : lines) text += line + lineEnd;
    return text + tail;
}

std::string withLiteralTags(const std::string& line) {
    std::string text;
    for (char c : line) {
        auto byte = static_cast<unsigned char>(c);
        text += kMacintoshWithoutCounterpart.count(byte) != 0
                    ? "<\\#" + std::to_string(static_cast<int>(byte)) + ">"
                    : std::string(1, c);
    }
    return text;
}

// `completesLastLine`: the QuarkXPress working copy gets a line end after
// a last line without one.
std::string normalised(const std::string& input, bool macintosh, bool completesLastLine = false) {
    std::string tail;
    std::vector<std::string> lines = linesOf(input, tail);
    if (completesLastLine && !tail.empty()) {
        lines.push_back(tail);
        tail.clear();
    }
    if (!macintosh) return joined(lines, tail, "\r\n");
    for (std::string& line : lines) line = withLiteralTags(line);
    return joined(lines, withLiteralTags(tail), "\r");
}

// Ventura 5 to 7 back to text: empty lines are left out.
std::string withoutEmptyLines(const std::string& input) {
    std::string tail;
    std::vector<std::string> lines = linesOf(input, tail);
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
        if (!line.empty()) kept.push_back(line);
    }
    return joined(kept, tail, "\r\n");
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isAsciiWordOrPunct(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x80 && (std::isalnum(byte) || std::ispunct(byte));
}

bool isAsciiWord(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x80 && std::isalnum(byte);
}

// Ventura 4: a line break between a letter, digit or punctuation character
// and a letter or digit, with the blanks around it, becomes one blank; an
// empty line stays.
std::string withRunningLinesJoined(const std::string& text) {
    std::string read;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) read += text[i];
    }
    std::string out;
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (read[i] != '\n') {
            out += read[i];
            continue;
        }
        std::size_t after = i + 1;
        while (after < read.size() && isBlank(read[after])) ++after;
        std::size_t before = out.size();
        while (before > 0 && isBlank(out[before - 1])) --before;
        bool emptyLineFollows = after < read.size() && read[after] == '\n';
        if (!emptyLineFollows && after < read.size() && before > 0 && out[before - 1] != '\n' &&
            isAsciiWordOrPunct(out[before - 1]) && isAsciiWord(read[after])) {
            out.resize(before);
            out += ' ';
            i = after - 1;
            continue;
        }
        out += '\n';
        if (emptyLineFollows) {
            out.append(read, i + 1, after - i - 1);
            out += '\n';
            i = after;
        }
    }
    std::string output;
    for (char c : out) output += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return output;
}

Verdict checkConverter(const std::string& input,
                       const std::function<int(const std::string&)>& markUp,
                       const std::function<int(const std::string&)>& back,
                       const std::string& expected) {
    platform::MessageBoxCapture quiet;
    RoundTrip trip = roundTrip("doc.txt", input, markUp, "doc.RTF", back, "doc.back");
    if (trip.failure) return trip.failure;
    return sameText(expected, trip.output);
}

int pageMakerBack(const std::string& rtf) {
    return f_iRTF2PageMaker(rtf.c_str(), ".back");
}

int xpressBack(const std::string& rtf) {
    return f_iRTF2XPress(rtf.c_str(), ".back");
}

int pageMakerMarkUp(const std::string& input) {
    return f_iPageMaker2RTF(input.c_str());
}

int xpressMarkUp(const std::string& input) {
    return f_iXPress2RTF(input.c_str());
}

TEST(DtpRoundTrip, PageMakerComesBackWithPcLineEnds) {
    forAllDocuments(
        1601, 250, [](Generator& g) { return taggedDocument(g, kPageMaker); },
        [](const std::string& input) {
            return checkConverter(input, pageMakerMarkUp, pageMakerBack, normalised(input, false));
        });
}

TEST(DtpRoundTrip, MacintoshPageMakerComesBackInMacintoshCharacters) {
    forAllDocuments(
        1602, 250, [](Generator& g) { return taggedDocument(g, kMacPageMaker); },
        [](const std::string& input) {
            return checkConverter(input, pageMakerMarkUp, pageMakerBack, normalised(input, true));
        });
}

TEST(DtpRoundTrip, QuarkXPressComesBackWithPcLineEnds) {
    forAllDocuments(
        1603, 250, [](Generator& g) { return taggedDocument(g, kXPress); },
        [](const std::string& input) {
            return checkConverter(input, xpressMarkUp, xpressBack, normalised(input, false, true));
        });
}

TEST(DtpRoundTrip, MacintoshQuarkXPressComesBackInMacintoshCharacters) {
    forAllDocuments(
        1604, 250, [](Generator& g) { return taggedDocument(g, kMacXPress); },
        [](const std::string& input) {
            return checkConverter(input, xpressMarkUp, xpressBack, normalised(input, true, true));
        });
}

TEST(DtpRoundTrip, VenturaComesBackWithoutEmptyLines) {
    forAllDocuments(
        1605, 250, [](Generator& g) { return taggedDocument(g, kVentura); },
        [](const std::string& input) {
            return checkConverter(
                input, [](const std::string& p) { return f_iVentura567toRTF(p.c_str()); },
                [](const std::string& rtf) { return f_iRTF2Text(rtf.c_str(), ".back"); },
                withoutEmptyLines(input));
        });
}

TEST(DtpRoundTrip, Ventura4ComesBackWithRunningLinesJoined) {
    forAllDocuments(
        1606, 250, [](Generator& g) { return taggedDocument(g, kVentura); },
        [](const std::string& input) {
            return checkConverter(
                input, [](const std::string& p) { return f_iVentura4toRTF(p.c_str()); },
                [](const std::string& rtf) { return f_iVentura4RTF2Text(rtf.c_str(), ".back"); },
                withRunningLinesJoined(input));
        });
}

}  // namespace
}  // namespace tessel::test
