#include "platform/byte_scan.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace tessel::platform {
namespace {

// The index a byte-by-byte scan gives: what the word-wise scan must match.
std::size_t slowFindLineEnd(const std::string& text, bool ctrlZ) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\n' || c == '\r' || (ctrlZ && c == '\x1A')) return i;
    }
    return text.size();
}

// Lengths up to two whole 16-byte chunks and a partial third: every offset of
// a chunk and of the byte-wise tail.
constexpr std::size_t kLongestText = 40;

TEST(FindLineEnd, FindsTheFirstStopAtEveryOffsetOfAWord) {
    for (std::size_t length = 0; length <= kLongestText; ++length) {
        for (std::size_t at = 0; at <= length; ++at) {
            for (char stop : {'\n', '\r', '\x1A'}) {
                std::string text(length, 'a');
                if (at < length) text[at] = stop;
                for (bool ctrlZ : {false, true}) {
                    EXPECT_EQ(findLineEnd(text.data(), text.size(), ctrlZ),
                              slowFindLineEnd(text, ctrlZ))
                        << "length " << length << " at " << at << " byte " << int(stop);
                }
            }
        }
    }
}

TEST(FindLineEnd, PassesOverOtherControlAndHighBytesInTheSameWord) {
    // Tab, form feed, NUL and 0x19 are below the word test's limit but are
    // no stops; 0x0E and the high bytes lie above it.
    std::string text = std::string("\t\f\0\x19\x0E\x80\xFF", 7) + "x\x8D\x0A";
    EXPECT_EQ(findLineEnd(text.data(), text.size(), false), text.size() - 1);
    EXPECT_EQ(findLineEnd(text.data(), text.size(), true), text.size() - 1);
    std::string withCtrlZ = std::string("\t\t\t\t\t\t\t\t\t\x1A", 10) + "\n";
    EXPECT_EQ(findLineEnd(withCtrlZ.data(), withCtrlZ.size(), false), 10u);
    EXPECT_EQ(findLineEnd(withCtrlZ.data(), withCtrlZ.size(), true), 9u);
}

TEST(FindLineEnd, AStopRightAfterASmallByteIsNotHiddenByTheBorrow) {
    // A byte below the limit borrows from the byte above it in the word test.
    for (char low : {'\0', '\x01', '\t', '\x0C'}) {
        std::string text = std::string(3, 'q') + low + '\r' + "qqq";
        EXPECT_EQ(findLineEnd(text.data(), text.size(), false), 4u) << int(low);
    }
}

TEST(FindFirstOf, MatchesAByteByByteScanForOneToThreeStops) {
    const std::uint8_t stops[] = {'<', '\\', 0xFF};
    for (std::size_t count = 1; count <= 3; ++count) {
        for (std::size_t length = 0; length <= kLongestText; ++length) {
            for (std::size_t at = 0; at <= length; ++at) {
                for (std::size_t which = 0; which < 3; ++which) {
                    // Bytes next to the stops in value, and a zero byte.
                    std::vector<std::uint8_t> text(length, '=');
                    for (std::size_t i = 0; i < length; i += 3) text[i] = i % 2 ? ';' : 0;
                    if (at < length) text[at] = stops[which];
                    std::size_t expected = length;
                    for (std::size_t i = 0; i < length && expected == length; ++i) {
                        for (std::size_t s = 0; s < count; ++s) {
                            if (text[i] == stops[s]) expected = i;
                        }
                    }
                    EXPECT_EQ(findFirstOf(text.data(), text.size(), stops, count), expected)
                        << "count " << count << " length " << length << " at " << at;
                }
            }
        }
    }
}

TEST(FindByteInWindow, StopsAtTheWindowWhetherTheChunkIsReadOrNot) {
    // Windows shorter and longer than a chunk, followed by 0 to 20 more
    // readable bytes: only the first byte inside the window is reported,
    // whether the chunk is read or not.
    for (std::size_t window = 0; window <= detail::kChunkSize + 4; ++window) {
        for (std::size_t after = 0; after <= 20; ++after) {
            for (std::size_t at = 0; at < window + after; ++at) {
                std::string text(window + after, 'x');
                text[at] = ';';
                if (at + 1 < text.size()) text[at + 1] = ';';
                const std::size_t expected = at < window ? at : window;
                EXPECT_EQ(findByteInWindow(text.data(), window, text.size(), ';'), expected)
                    << "window " << window << " after " << after << " at " << at;
            }
            const std::string none(window + after, 'x');
            EXPECT_EQ(findByteInWindow(none.data(), window, none.size(), ';'), window);
        }
    }
}

// The marks of a chunk, counted: every set of marked bytes of one chunk.
TEST(CountMarked, CountsEveryChoiceOfMarkedBytes) {
    using namespace detail;
    for (unsigned chosen = 0; chosen < (1u << kChunkSize); ++chosen) {
        std::uint8_t bytes[kChunkSize] = {};
        for (std::size_t i = 0; i < kChunkSize; ++i) {
            if ((chosen >> i) & 1) bytes[i] = '\n';
        }
        const ChunkMask marks = bytesEqual(loadChunk(bytes), '\n');
        ASSERT_EQ(countMarked(marks), static_cast<std::size_t>(std::popcount(chosen))) << chosen;
    }
}

}  // namespace
}  // namespace tessel::platform
