// Building a marked-up line beside its source: wraps of every kind, the
// buffer growing past the room sized ahead, and the tail passed on at the end.
#include "markup/marked_line.h"

#include <gtest/gtest.h>

#include <string>

#include "frame/rtf_writer.h"

namespace {

using tessel::frame::TagKind;
using tessel::frame::tagOpening;
using tessel::markup::MarkedLine;

TEST(MarkedLine, WrapsWithTheOpeningOfEachKindAndPassesTheRestOn) {
    for (TagKind kind : {TagKind::Internal, TagKind::External, TagKind::DoNotTranslate}) {
        MarkedLine line("ab<x>cd<y>ef");
        line.wrap(2, 5, kind);
        line.wrap(7, 10, kind);
        const std::string opening(tagOpening(kind));
        EXPECT_EQ(line.finish(), "ab" + opening + "<x>}cd" + opening + "<y>}ef");
    }
}

TEST(MarkedLine, WrapsAtEveryDistanceFromTheEndOfTheSource) {
    // Runs are copied in whole chunks, near the end of the source too (into
    // the memory it keeps past its end): spans of several lengths that end
    // at every distance from the end give the exact text.
    const std::string opening(tagOpening(TagKind::External));
    for (std::size_t size = 1; size <= 48; ++size) {
        std::string source;
        for (std::size_t i = 0; i < size; ++i) source += static_cast<char>('a' + i % 26);
        for (std::size_t start = 0; start < size; ++start) {
            for (std::size_t end = start; end <= size; end += 3) {
                MarkedLine line(source);
                line.wrap(start, end, TagKind::External);
                EXPECT_EQ(line.finish(), source.substr(0, start) + opening +
                                             source.substr(start, end - start) + "}" +
                                             source.substr(end))
                    << size << " " << start << " " << end;
            }
        }
    }
}

TEST(MarkedLine, GrowsPastTheRoomSizedAheadWhenEveryByteIsWrapped) {
    // One-byte spans each gain an opening and a brace: far more than the
    // room of three times the source that the line starts with.
    const std::string source(200, 'q');
    MarkedLine line(source, std::string(5, 'z'));
    std::string expected;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const TagKind kind = i % 3 == 0   ? TagKind::Internal
                             : i % 3 == 1 ? TagKind::External
                                          : TagKind::DoNotTranslate;
        line.wrap(i, i + 1, kind);
        expected += std::string(tagOpening(kind)) + "q}";
    }
    EXPECT_EQ(line.finish(), expected);
}

TEST(MarkedLine, FinishDropsTheTailAndTheBufferIsReusedCleanly) {
    MarkedLine line("x<t>y<open", std::string(300, '#'));
    line.wrap(1, 4, TagKind::Internal);
    EXPECT_EQ(line.finish(5), "x" + std::string(tagOpening(TagKind::Internal)) + "<t>}y");
    // The old contents of the lent buffer never show through.
    MarkedLine empty("", std::string(100, '#'));
    EXPECT_EQ(empty.finish(), "");
}

TEST(MarkedLine, FindsTheFirstOfTwoBytesAtEveryDistanceFromTheEnd) {
    for (std::size_t size = 0; size <= 40; ++size) {
        for (std::size_t at = 0; at <= size; ++at) {
            // The source's memory holds brackets past its end, which the
            // search reads in whole chunks but must not report.
            std::string source(size + 32, '>');
            source.replace(0, size, std::string(size, 'a'));
            if (at < size) source[at] = '>';
            source.resize(size);
            MarkedLine line(std::move(source));
            const std::size_t expected = at < size ? at : std::string::npos;
            EXPECT_EQ(line.findEither('<', '>', 0), expected) << size << " " << at;
            EXPECT_EQ(line.find('>', 0), expected) << size << " " << at;
            if (at < size) {
                EXPECT_EQ(line.find('>', at + 1), std::string::npos) << size << " " << at;
                EXPECT_EQ(line.find('<', 0), std::string::npos) << size << " " << at;
            }
        }
        MarkedLine line(std::string(size, 'a'));
        EXPECT_EQ(line.find('a', size), std::string::npos) << "from the end";
        EXPECT_EQ(line.find('a', size + 5), std::string::npos) << "from past the end";
    }
}

}  // namespace
