// Recycled blocks of tokens and stack items: a released block is handed out
// again, a token made in a recycled block carries only its own text and
// fields, and sizes beyond the pool or the per-class cap go to the heap.
#include "parser/ss_block_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "parser/ss_token.h"
#include "parser/ss_yacc_stack_item.h"

namespace tessel::parser {
namespace {

SSToken::Fields fields(std::int32_t number, std::string_view text, std::int32_t line) {
    SSToken::Fields f;
    f.tokenNumber = number;
    f.text = text;
    f.line = line;
    f.offset = line + 1;
    f.streamOffset = static_cast<std::uint32_t>(line * 10);
    return f;
}

TEST(SSBlockPool, AReleasedBlockIsHandedOutAgain) {
    constexpr std::size_t kSize = 72;
    void* first = allocatePooledBlock(kSize);
    std::size_t kept = pooledBlocksFree(kSize);
    releasePooledBlock(first, kSize);
    EXPECT_EQ(pooledBlocksFree(kSize), kept + 1);
    // Any size of the same 16-byte class takes it.
    void* again = allocatePooledBlock(kSize - 5);
    EXPECT_EQ(again, first);
    EXPECT_EQ(pooledBlocksFree(kSize), kept);
    releasePooledBlock(again, kSize - 5);
}

TEST(SSBlockPool, LargeBlocksAndBlocksBeyondTheCapGoToTheHeap) {
    void* large = allocatePooledBlock(kSSBlockPoolLimit + 1);
    releasePooledBlock(large, kSSBlockPoolLimit + 1);
    EXPECT_EQ(pooledBlocksFree(kSSBlockPoolLimit + 1), 0u);

    constexpr std::size_t kSize = 200;
    std::vector<void*> blocks;
    for (std::uint32_t i = 0; i < kSSBlockPoolCap + 10; ++i) {
        blocks.push_back(allocatePooledBlock(kSize));
    }
    for (void* block : blocks) releasePooledBlock(block, kSize);
    EXPECT_EQ(pooledBlocksFree(kSize), std::size_t{kSSBlockPoolCap});
}

TEST(SSBlockPool, TokensInRecycledBlocksKeepTheirOwnTextAndFields) {
    // Long texts first, so that short ones land in blocks that held more.
    std::vector<std::string> texts;
    for (int i = 0; i < 50; ++i)
        texts.push_back(std::string(60 - i, static_cast<char>('a' + i % 26)));
    for (int round = 0; round < 3; ++round) {
        std::vector<SSRefPtr<SSToken>> tokens;
        for (int i = 0; i < 50; ++i) {
            const std::string& text = texts[static_cast<std::size_t>((i + round * 7) % 50)];
            tokens.emplace_back(SSToken::createInline(fields(i, text, round * 100 + i)));
        }
        for (int i = 0; i < 50; ++i) {
            const std::string& text = texts[static_cast<std::size_t>((i + round * 7) % 50)];
            const SSToken& t = *tokens[static_cast<std::size_t>(i)];
            ASSERT_EQ(t.textView(), text);
            ASSERT_EQ(t.text()[text.size()], '\0');
            ASSERT_EQ(t.text()[text.size() + 1], '\0');
            EXPECT_EQ(t.tokenNumber(), i);
            EXPECT_EQ(t.alternateTokenNumber(), 0);
            EXPECT_EQ(t.line(), round * 100 + i);
            EXPECT_EQ(t.offset(), round * 100 + i + 1);
            EXPECT_EQ(t.streamOffset(), static_cast<std::uint32_t>((round * 100 + i) * 10));
            EXPECT_FALSE(t.ownsText());
            EXPECT_EQ(t.refCount(), 1);
        }
        // Released in a different order from the one they were made in.
        std::reverse(tokens.begin(), tokens.end());
    }
}

// A converter's own stack item, bigger than the pool's largest block.
class BigItem : public SSYaccStackItem {
  public:
    explicit BigItem(int* destroyed) : destroyed_(destroyed) { payload_[0] = 'x'; }
    ~BigItem() override { ++*destroyed_; }
    char payload_[kSSBlockPoolLimit];
    int* destroyed_;
};

TEST(SSBlockPool, StackItemsOfEverySizeAreMadeAndDestroyed) {
    int destroyed = 0;
    {
        SSRefPtr<SSYaccStackItem> big(new BigItem(&destroyed));
        SSRefPtr<SSYaccStackItem> small(new SSYaccStackItem());
        SSRefPtr<SSToken> token(SSToken::createInline(fields(3, "tag", 1)));
        small->setToken(token.get());
        big->setToken(token.get());
        EXPECT_EQ(token->refCount(), 3);
    }
    EXPECT_EQ(destroyed, 1);
    // The plain item's block came back and is the next item's block.
    std::size_t kept = pooledBlocksFree(sizeof(SSYaccStackItem));
    ASSERT_GE(kept, 1u);
    SSRefPtr<SSYaccStackItem> item(new SSYaccStackItem());
    EXPECT_EQ(pooledBlocksFree(sizeof(SSYaccStackItem)), kept - 1);
    item.reset();
    EXPECT_EQ(pooledBlocksFree(sizeof(SSYaccStackItem)), kept);
}

}  // namespace
}  // namespace tessel::parser
