// The RTF reader for readers that pull paragraphs one at a time and need
// the character styles of the text: pausing after a paragraph and the
// places where the style changes.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "frame/rtf_byte_source.h"
#include "frame/rtf_reader.h"

namespace {

using tessel::frame::kNoCharacterStyle;
using tessel::frame::MemoryByteSource;
using tessel::frame::RtfParagraphSink;
using tessel::frame::RtfReader;
using tessel::frame::RtfStyleObserver;

// Pauses after each paragraph; records the style changes of each.
class PullingSink final : public RtfParagraphSink, public RtfStyleObserver {
  public:
    int paragraph(std::string& line, bool) override {
        lines.push_back(line);
        styles.push_back(std::move(current));
        current.clear();
        return 1;
    }
    void characterStyle(std::int32_t style, std::size_t offset) override {
        current.emplace_back(offset, style);
    }
    std::vector<std::string> lines;
    std::vector<std::vector<std::pair<std::size_t, std::int32_t>>> styles;
    std::vector<std::pair<std::size_t, std::int32_t>> current;
};

using Changes = std::vector<std::pair<std::size_t, std::int32_t>>;

TEST(RtfReaderPulling, APositiveResultPausesAfterEachParagraph) {
    std::string rtf = "{\\rtf1 one\\par two\\par three}";
    MemoryByteSource source(rtf);
    PullingSink sink;
    RtfReader reader(source, sink);
    EXPECT_EQ(reader.read(), 1);
    EXPECT_EQ(sink.lines, std::vector<std::string>{"one"});
    EXPECT_EQ(reader.read(), 1);
    EXPECT_EQ(reader.read(), 1);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(reader.read(), 0);
    EXPECT_EQ(reader.read(), 0) << "the end stays the end";
    EXPECT_EQ(sink.lines.size(), 3u);
}

TEST(RtfReaderPulling, StyleChangesAtTheirOffsets) {
    // Our mark-up's adjacent groups of one style, a style inside a style
    // sheet entry, "\plain" and a group of no style.
    std::string rtf =
        "{\\rtf1{\\stylesheet{\\cs6 qz4lexInternal;}}"
        "a{\\cs6 <B>}{\\cs6 </B>}b{\\cs5 x\\plain y}z\\par }";
    MemoryByteSource source(rtf);
    PullingSink sink;
    RtfReader reader(source, sink);
    reader.observeStyles(&sink);
    EXPECT_EQ(reader.read(), 1);
    EXPECT_EQ(sink.lines.front(), "a<B></B>bxyz");
    Changes seen;
    for (const auto& change : sink.styles.front()) {
        if (change.first > 0 || change.second != kNoCharacterStyle) seen.push_back(change);
    }
    // The style sheet's "\cs6" comes (and goes again) at offset 0; the
    // group that closes after "\plain" changes nothing.
    Changes expected = {{0, 6},
                        {1, 6},
                        {4, kNoCharacterStyle},
                        {4, 6},
                        {8, kNoCharacterStyle},
                        {9, 5},
                        {10, kNoCharacterStyle}};
    EXPECT_EQ(seen, expected);
}

}  // namespace
