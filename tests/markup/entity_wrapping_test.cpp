// Protecting the entities left after decoding: the one-step decoding and
// wrapping gives the line, count and message of decoding and then wrapping.
#include "markup/entity_wrapping.h"

#include <gtest/gtest.h>

#include <random>
#include <span>
#include <string>

#include "frame/rtf_writer.h"
#include "markup/html_codes.h"
#include "markup/html_entities.h"

namespace {

using tessel::markup::decodeAndWrapEntities;
using tessel::markup::decodeEntitiesForMarkup;
using tessel::markup::escapeDecodeAndWrapEntities;
using tessel::markup::kAmpersandWithoutSemicolon;
using tessel::markup::wrapRemainingEntities;

struct Wrapped {
    std::string line;
    int count = 0;
    int message = 0;
};

Wrapped inTwoSteps(std::string line) {
    Wrapped result;
    decodeEntitiesForMarkup(line);
    result.count = wrapRemainingEntities(line, result.message);
    result.line = line;
    return result;
}

Wrapped inOneStep(std::string line) {
    Wrapped result;
    result.count = decodeAndWrapEntities(line, result.message);
    result.line = line;
    return result;
}

// Escaped for RTF first, then decoded and wrapped in two steps.
Wrapped escapedInTwoSteps(std::string line) {
    EXPECT_TRUE(tessel::frame::escapeRtf(line));
    return inTwoSteps(line);
}

Wrapped escapedInOneStep(std::string line) {
    Wrapped result;
    EXPECT_TRUE(escapeDecodeAndWrapEntities(line, result.count, result.message));
    result.line = line;
    return result;
}

void expectEscapedSameAsTwoSteps(const std::string& line) {
    const Wrapped expected = escapedInTwoSteps(line);
    const Wrapped actual = escapedInOneStep(line);
    EXPECT_EQ(actual.line, expected.line) << "line: " << line;
    EXPECT_EQ(actual.count, expected.count) << "line: " << line;
    EXPECT_EQ(actual.message, expected.message) << "line: " << line;
}

void expectSameAsTwoSteps(const std::string& line) {
    const Wrapped expected = inTwoSteps(line);
    const Wrapped actual = inOneStep(line);
    EXPECT_EQ(actual.line, expected.line) << "line: " << line;
    EXPECT_EQ(actual.count, expected.count) << "line: " << line;
    EXPECT_EQ(actual.message, expected.message) << "line: " << line;
}

// Checks 4,000 lines of up to `maxPieces` pieces drawn at random from
// `pieces`, stopping at the first failure.
void forRandomLines(std::span<const std::string> pieces, int maxPieces, unsigned seed,
                    void (*check)(const std::string&)) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, maxPieces);
    for (int round = 0; round < 4000; ++round) {
        std::string line;
        for (int n = length(random); n > 0; --n) line += pieces[pick(random)];
        check(line);
        if (::testing::Test::HasFailure()) break;
    }
}

std::string internal(const std::string& text) {
    std::string run;
    tessel::frame::appendTagRun(run, tessel::frame::TagKind::Internal, text);
    return run;
}

TEST(DecodeAndWrapEntities, DecodesKnownEntitiesAndWrapsTheRest) {
    const Wrapped result = inOneStep("a &eacute; &amp; b&#233;&foo;");
    EXPECT_EQ(result.line, "a \xE9 " + internal("&amp;") + " b\xE9" + internal("&foo;"));
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(result.message, 0);
}

TEST(DecodeAndWrapEntities, LinesWithoutAmpersandsStayAsTheyAre) {
    for (const std::string line : {"", "plain text", "<B>bold</B>", "a;b;c"}) {
        const Wrapped result = inOneStep(line);
        EXPECT_EQ(result.line, line);
        EXPECT_EQ(result.count, 0);
        EXPECT_EQ(result.message, 0);
    }
}

TEST(DecodeAndWrapEntities, LoneAmpersandsSetTheMessageOutsideTagsOnly) {
    EXPECT_EQ(inOneStep("fish & chips").message, 0) << "followed by a blank";
    EXPECT_EQ(inOneStep("<A HREF=\"x?a=1&b=2\">").message, 0) << "inside a tag";
    EXPECT_EQ(inOneStep("R&D department").message, kAmpersandWithoutSemicolon);
    EXPECT_EQ(inOneStep("<B>R&D</B>").message, kAmpersandWithoutSemicolon);
    EXPECT_EQ(inOneStep("ends with &").message, kAmpersandWithoutSemicolon);
}

TEST(DecodeAndWrapEntities, AmpersandsWithinReachOfAnotherMatchTwoSteps) {
    // Decoding changes what follows the first "&": a later entity shrinks,
    // or a reference turns into the ";" that ends the first.
    for (const std::string line :
         {"&a&eacute;", "&foo&#59;", "&a&b;", "&&amp;", "&x &#233;&#233;&#233; y;",
          "&abcdefghijklm&eacute;;", "<A &x&#59;>", "&&", "&;&;", "a&b<c&d;>"}) {
        expectSameAsTwoSteps(line);
    }
}

TEST(DecodeAndWrapEntities, SemicolonAtTheEdgeOfTheWindow) {
    // The ";" 15 bytes after the "&" is within reach, 16 bytes is not.
    const std::string fourteen(14, 'x');
    expectSameAsTwoSteps("&" + fourteen + ";");
    expectSameAsTwoSteps("&" + fourteen + "x;");
    expectSameAsTwoSteps("&" + fourteen + ";tail of the line");
    expectSameAsTwoSteps("&" + fourteen + "x;tail of the line");
    EXPECT_EQ(inOneStep("&" + fourteen + ";").count, 1);
    EXPECT_EQ(inOneStep("&" + fourteen + "x;").count, 0);
}

TEST(DecodeAndWrapEntities, RandomLinesMatchTwoSteps) {
    // Short pieces that make entities, references, tags and lone "&" meet
    // in every order, at every distance and at the end of the line.
    const std::string pieces[] = {"&",      ";",  "<",     ">",    " ",       "a",
                                  "#",      "x",  "&#59;", "&amp", "&eacute", "&#233;",
                                  "&nbsp;", "&#", "&#38;", "text", "<B>",     "\xE9"};
    forRandomLines(pieces, 24, 20240611, expectSameAsTwoSteps);
}

TEST(EscapeDecodeAndWrapEntities, EscapesBeforeDecoding) {
    // Escaping lengthens the window after an "&", so that a ";" may fall
    // out of it; and a decoded character is never escaped.
    const Wrapped braces = escapedInOneStep("a &}bsp; {b} &ldquo;");
    EXPECT_EQ(braces.line, "a " + internal("&\\}bsp;") + " \\{b\\} \x93");
    EXPECT_EQ(braces.count, 1);
    for (const std::string line : {"&\\\\\\\\\\\\\\\\;", "&abcdefghijklm\\;", "&abcdefghijklmn\t;",
                                   "tab\there &amp;", "\x93&amp;\x97", "&amp;{", "{&amp;", "&\n",
                                   "R&D {x}", "<A &\\;>", "\x7C\x7E\x80\x98&amp;|"}) {
        expectEscapedSameAsTwoSteps(line);
    }
}

TEST(EscapeDecodeAndWrapEntities, EveryPositionWithinAChunk) {
    // Entities and escaped bytes at each offset from the line's start and
    // end, so that they meet the chunk edges and the last partial chunk.
    for (std::size_t offset = 0; offset < 40; ++offset) {
        const std::string pad(offset, 'x');
        for (const std::string piece :
             {"&amp;", "&eacute;", "&foo;", "& ", "&", "{", "\x95", "\xE9"}) {
            expectEscapedSameAsTwoSteps(pad + piece);
            expectEscapedSameAsTwoSteps(piece + pad);
            expectEscapedSameAsTwoSteps(pad + piece + pad + piece);
        }
        if (HasFailure()) break;
    }
}

TEST(EscapeDecodeAndWrapEntities, RandomLinesMatchEscapingAndTwoSteps) {
    const std::string pieces[] = {"&",     ";",    "<",      ">",  " ",    "a",     "#",
                                  "&#59;", "&amp", "&nbsp;", "{",  "}",    "\\",    "\t",
                                  "\x93",  "\xE9", "|",      "&#", "text", "&amp;", "<B>"};
    forRandomLines(pieces, 40, 20261209, expectEscapedSameAsTwoSteps);
}

TEST(EscapeDecodeAndWrapEntities, LongLinesWithManyWrapsGrowTheBuffer) {
    // More wraps than the room set aside at first.
    std::string line;
    for (int i = 0; i < 300; ++i) line += "&amp;x";
    expectEscapedSameAsTwoSteps(line);
    expectSameAsTwoSteps(line);
    EXPECT_EQ(escapedInOneStep(line).count, 300);
}

}  // namespace
