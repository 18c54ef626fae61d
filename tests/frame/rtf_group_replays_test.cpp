// Groups the RTF reader replays: which bytes make a group that can be kept,
// that a kept group is found only for its own bytes and entry state, and
// that reading with replays gives exactly what reading every group afresh
// gives, on documents built to break it (state held across a "{", fonts and
// code pages that change, paragraphs, binary data and escapes inside
// groups, groups across the ends of the input buffer).
#include "frame/rtf_group_replays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "frame/rtf_byte_source.h"
#include "frame/rtf_reader.h"
#include "platform/code_page_codec.h"

namespace {

using tessel::frame::RtfByteSource;
using tessel::frame::RtfParagraphSink;
using tessel::frame::RtfReader;
using tessel::frame::RtfStyleChange;
using tessel::frame::RtfStyleObserver;
using tessel::platform::CodePageCodec;

struct Entry {
    std::uint64_t state[2] = {};
    bool operator==(const Entry&) const = default;
};
using Replays = tessel::frame::RtfGroupReplays<Entry>;

// Text padded as the reader's buffer is.
std::string padded(std::string text) {
    return text + std::string(Replays::kReadPast, '\0');
}

std::size_t extentOf(const std::string& text) {
    std::uint64_t hash = 0;
    return Replays::extent(padded(text).data(), text.size(), hash);
}

TEST(RtfGroupReplays, AGroupIsKeptOnlyWithoutOtherBracesAndWithinReach) {
    EXPECT_EQ(extentOf("{\\cs6\\f1 <b>}after"), 13u);
    EXPECT_EQ(extentOf("{}"), 2u);
    EXPECT_EQ(extentOf("{\\cs6{\\v x}}"), 0u) << "a group inside";
    EXPECT_EQ(extentOf("{\\cs6 \\{x}"), 0u) << "an escaped opening brace";
    EXPECT_EQ(extentOf("{\\cs6 x\\}y}"), 0u) << "an escaped closing brace";
    EXPECT_EQ(extentOf("{\\cs6 x\\\\}"), 0u) << "a backslash before the end";
    EXPECT_EQ(extentOf("{\\cs6 <b>"), 0u) << "the data ends first";
    // The end must lie within the available bytes, and within reach.
    std::uint64_t hash = 0;
    EXPECT_EQ(Replays::extent(padded("{ab}").data(), 3, hash), 0u);
    const std::string longest = "{" + std::string(Replays::kMaxGroupBytes - 2, 'a') + "}";
    EXPECT_EQ(extentOf(longest), Replays::kMaxGroupBytes);
    EXPECT_EQ(extentOf("{a" + longest.substr(1)), 0u);
}

TEST(RtfGroupReplays, AKeptGroupIsFoundForItsBytesAndEntryOnly) {
    Replays replays;
    const std::string group = padded("{\\cs6 <b>}");
    std::uint64_t hash = 0;
    const std::size_t length = Replays::extent(group.data(), group.size(), hash);
    ASSERT_EQ(length, 10u);
    const Entry entry{{1, 2}};
    EXPECT_EQ(replays.find(group.data(), length, hash, entry), nullptr) << "nothing kept yet";

    const RtfStyleChange changes[] = {{6, 0}, {-1, 3}};
    ASSERT_TRUE(replays.keep(group.data(), length, hash, entry, "<b>", 3, changes, 2));
    const Replays::Group* found = replays.find(group.data(), length, hash, entry);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(std::string(found->text, found->textLength), "<b>");
    EXPECT_EQ(found->changeCount, 2u);
    EXPECT_EQ(found->changes[1].style, -1);
    EXPECT_EQ(found->changes[1].offset, 3u);

    EXPECT_EQ(replays.find(group.data(), length, hash, Entry{{1, 3}}), nullptr);
    const std::string other = padded("{\\cs6 <i>}");
    std::uint64_t otherHash = 0;
    ASSERT_EQ(Replays::extent(other.data(), other.size(), otherHash), length);
    EXPECT_EQ(replays.find(other.data(), length, otherHash, entry), nullptr);
    EXPECT_EQ(replays.find(other.data(), length, hash, entry), nullptr) << "same hash, other bytes";

    // What does not fit is not kept.
    const RtfStyleChange many[Replays::kMaxStyleChanges + 1] = {};
    EXPECT_FALSE(replays.keep(other.data(), length, otherHash, entry, "<i>", 3, many,
                              Replays::kMaxStyleChanges + 1));
    EXPECT_EQ(replays.find(other.data(), length, otherHash, entry), nullptr);
}

// Hands the document on in pieces of random sizes, so that groups meet the
// end of the reader's buffer at every offset; with seed 0, in whole blocks.
class PiecewiseSource final : public RtfByteSource {
  public:
    PiecewiseSource(std::string_view bytes, std::uint32_t seed)
        : seed_(seed), rest_(bytes), random_(seed) {}
    std::size_t read(char* out, std::size_t n) override {
        std::size_t size = std::min({n, rest_.size(), pieceSize()});
        std::copy_n(rest_.data(), size, out);
        rest_.remove_prefix(size);
        return size;
    }

  private:
    std::uint32_t seed_;
    std::size_t pieceSize() {
        // Mostly whole blocks, sometimes a few bytes.
        return seed_ != 0 && random_() % 4 == 0 ? 1 + random_() % 200 : 70000;
    }
    std::string_view rest_;
    std::mt19937 random_;
};

// Writes everything the reader hands on, in order, into one transcript.
class TranscriptSink final : public RtfParagraphSink, public RtfStyleObserver {
  public:
    explicit TranscriptSink(const CodePageCodec* codePage) : codePage_(codePage) {}
    int paragraph(std::string& line, bool lineEnd) override {
        transcript += "[" + line + (lineEnd ? "]\n" : "]end\n");
        return 0;
    }
    const CodePageCodec* textCodePage() const override { return codePage_; }
    int paragraphInCodePage(std::string& line, const CodePageCodec&, bool lineEnd) override {
        transcript += "bytes";
        return paragraph(line, lineEnd);
    }
    void documentCodePage(int codePage) override {
        transcript += "cpg" + std::to_string(codePage) + "\n";
    }
    void characterStyle(std::int32_t style, std::size_t offset) override {
        transcript += "(" + std::to_string(style) + "@" + std::to_string(offset) + ")";
    }
    std::string transcript;

  private:
    const CodePageCodec* codePage_;
};

struct Reading {
    int result;
    std::string transcript;
};

Reading readWith(const std::string& rtf, bool replays, bool observe, const CodePageCodec* codePage,
                 std::uint32_t seed) {
    PiecewiseSource source(rtf, seed);
    TranscriptSink sink(codePage);
    RtfReader reader(source, sink);
    reader.replayGroups(replays);
    if (observe) reader.observeStyles(&sink);
    int result = reader.read();
    return {result, sink.transcript};
}

// Pieces of documents: tags in groups that repeat, and what may change how
// the same group reads, or must keep it from being kept.
const char* const kPieces[] = {
    "{\\cs6\\cf6\\f1\\lang1024 <b>}",
    "{\\cs6\\cf6\\f1\\lang1024 </b>}",
    "{\\cs5\\cf15\\f1\\lang1024 <p>}",
    "{\\cs5\\cf15 caf\\'e9 <a href=\"x\">}",
    "{\\f2 \\'c4\\'e0}",
    "{\\f3 \\'82\\'a0}",
    "{\\f3 \\'82}",
    "{\\f4 abc}",
    "{\\v hidden}",
    "{\\plain plain}",
    "{\\cs7\\plain\\cs8 two styles}",
    "{\\cs9 \\par split}",
    "{\\cs9 \\'0a}",
    "{\\cs9 \\u8198\\'20 \\u8198  }",
    "{\\uc2\\u1234 ab}",
    "{\\u1234}",
    "{\\*\\bkmkstart x}",
    "{\\xyz unknown}",
    "{\\*\\xyz dropped}",
    "{\\cs6 \\'41}",
    "{\\*}",
    "{\\'e}",
    "{\\bin3 }}}}",
    "{\\bin2 ab}",
    "{\\deff2 x}",
    "{\\ansicpg1251 \\'c4}",
    "{\\cs6 \\{braced\\}}",
    "{\\cs6 \\\\}",
    "{\\cs6 \\'7b\\'7d}",
    "{\\cs6 a\r\nb}",
    "{\\cs6\\ltrch\\rtlch\\loch\\hich\\dbch <t>}",
    "{\\cs6{\\v nested}}",
    "{\\fonttbl{\\f2\\fcharset204 Cyr;}}",
    "{\\fonttbl{\\f2\\fcharset0 Latin;}{\\f3\\fcharset2 Symbol;}}",
    "\\ansicpg1252 ",
    "\\'82",
    "\\'e{\\cs6 x}f",
    "\\u1234",
    "\\uc0 ",
    "\\uc1 ",
    "\\*",
    "\\v ",
    "\\v0 ",
    "\\f3 ",
    "\\f1 ",
    "\\cs6 ",
    "\\plain ",
    "\\par ",
    "\\line ",
    "\\'e9",
    "text ",
    "caf\xe9 ",
    "\\{ ",
    "{",
    "}",
};

std::string randomDocument(std::mt19937& random, std::size_t pieces) {
    std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset0 Times;}{\\f1\\fcharset0 Courier;}"
        "{\\f2\\fcharset204 Cyrillic;}{\\f3\\fcharset128 Japanese;}{\\f4\\fcharset2 Symbol;}}"
        "{\\stylesheet{\\*\\cs6 Internal;}}\r\n";
    int depth = 0;
    for (std::size_t i = 0; i < pieces; ++i) {
        // The tag groups most of the time, as in marked-up documents.
        std::size_t index = random() % 3 != 0 ? random() % 4 : random() % std::size(kPieces);
        std::string piece = kPieces[index];
        if (piece == "{") ++depth;
        if (piece == "}" && --depth < 0) {
            depth = 0;
            continue;
        }
        rtf += piece;
        if (random() % 16 == 0) rtf += "\r\n";
    }
    rtf.append(static_cast<std::size_t>(depth), '}');
    return rtf + "}";
}

TEST(RtfGroupReplays, ReadingWithReplaysEqualsReadingEveryGroup) {
    const CodePageCodec* codePages[] = {nullptr, &CodePageCodec::windows1252(),
                                        CodePageCodec::find(1251)};
    std::mt19937 random(20261209);
    for (int round = 0; round < 24; ++round) {
        // Most rounds cross several buffers; some are short.
        std::size_t pieces = round % 4 == 0 ? 300 : 12000 + random() % 8000;
        std::string rtf = randomDocument(random, pieces);
        bool observe = round % 2 == 0;
        const CodePageCodec* codePage = codePages[round % 3];
        std::uint32_t seed = random();
        Reading fresh = readWith(rtf, false, observe, codePage, seed);
        Reading replayed = readWith(rtf, true, observe, codePage, seed);
        ASSERT_EQ(fresh.result, 0) << "round " << round << ": the document is read to its end";
        ASSERT_EQ(replayed.result, 0) << "round " << round;
        ASSERT_EQ(replayed.transcript, fresh.transcript) << "round " << round;
    }
}

// A hexadecimal escape cut by a group: the "\\'" inside the group ends the
// one waiting outside it, whose digits then start a byte of their own. A
// replay of the group must not leave the first digit waiting.
TEST(RtfGroupReplays, AnEscapeWaitingOutsideAGroup) {
    // (Text after the groups keeps them away from the end of the data, where
    // the reader moves what is left of its buffer.)
    const std::string rtf =
        "{\\rtf1{\\fonttbl{\\f0 Times;}}\\'e{\\cs6 \\'41}f0 \\'e{\\cs6 \\'41}f0 x\\par " +
        std::string(100, 'y') + "}";
    Reading fresh = readWith(rtf, false, true, nullptr, 0);
    Reading replayed = readWith(rtf, true, true, nullptr, 0);
    EXPECT_EQ(fresh.result, 0);
    EXPECT_EQ(replayed.result, 0);
    EXPECT_EQ(replayed.transcript, fresh.transcript);
    EXPECT_NE(fresh.transcript.find("A\u00F0 A\u00F0 x"), std::string::npos) << fresh.transcript;
}

// A document whose fonts are declared again after its groups were kept: the
// same bytes then read in other code pages.
TEST(RtfGroupReplays, GroupsReadAgainAfterTheFontsChange) {
    std::string groups;
    for (int i = 0; i < 300; ++i) groups += "{\\f2 \\'c4\\'e0}{\\cs6 <b>}";
    // The document's code page set inside groups: the sink hears of each.
    std::string codePageGroups;
    for (int i = 0; i < 3; ++i) codePageGroups += "{\\ansicpg1251 \\'c4}";
    const std::string rtf = "{\\rtf1{\\fonttbl{\\f2\\fcharset204 Cyr;}}" + groups +
                            "\\par{\\fonttbl{\\f2\\fcharset161 Greek;}}" + groups +
                            "\\par\\ansicpg1250 " + groups + codePageGroups + groups + "}";
    for (bool observe : {false, true}) {
        Reading fresh = readWith(rtf, false, observe, nullptr, 0);
        Reading replayed = readWith(rtf, true, observe, nullptr, 0);
        EXPECT_EQ(replayed.result, 0);
        EXPECT_EQ(replayed.transcript, fresh.transcript);
        EXPECT_NE(fresh.transcript.find("\u0414\u0430"), std::string::npos) << "Cyrillic first";
        EXPECT_NE(fresh.transcript.find("\u0394"), std::string::npos) << "then Greek";
    }
}

}  // namespace
