#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dtp/text_to_rtf_replace_piece.h"
#include "parser/ss_block_pool.h"

namespace tessel::dtp {
namespace {

CTextPiece numbered(std::uint32_t n) {
    return CTextPiece("<tag number " + std::to_string(n) + " with a long text>", n, 1, n, 9, 0);
}

// A piece of a larger class, whose blocks come from another size class.
class LargerPiece : public CTextToRTFReplacePiece {
  public:
    LargerPiece(CTextPiece source, std::string note)
        : CTextToRTFReplacePiece(std::move(source), kRtfPieceInternal), note(std::move(note)) {}
    std::string note;
    char padding[64] = {};
};

// Pieces freed and made again in numbers past the blocks the pool keeps, with
// pieces of a larger class among them: every piece keeps what it was given.
TEST(PooledReplacePiece, PiecesMadeAgainKeepTheirContents) {
    constexpr std::uint32_t kCount = 6000;
    std::vector<std::unique_ptr<CTextToRTFReplacePiece>> pieces;
    auto make = [](std::uint32_t n) -> std::unique_ptr<CTextToRTFReplacePiece> {
        if (n % 5 == 0) return std::make_unique<LargerPiece>(numbered(n), std::to_string(n));
        return std::make_unique<CTextToRTFReplacePiece>(numbered(n), n % 7);
    };
    auto check = [](const CTextToRTFReplacePiece& piece, std::uint32_t n) {
        EXPECT_EQ(piece.source().text, numbered(n).text) << n;
        EXPECT_EQ(piece.source().startLine, n);
        if (n % 5 == 0) {
            EXPECT_EQ(static_cast<const LargerPiece&>(piece).note, std::to_string(n));
        } else {
            EXPECT_EQ(piece.kind(), static_cast<std::int32_t>(n % 7));
        }
    };
    for (std::uint32_t n = 0; n < kCount; ++n) pieces.push_back(make(n));
    for (std::uint32_t n = 0; n < kCount; n += 2) pieces[n].reset();
    for (std::uint32_t n = 0; n < kCount; n += 2) pieces[n] = make(n);
    for (std::uint32_t n = 0; n < kCount; ++n) check(*pieces[n], n);
    pieces.clear();
    for (std::uint32_t n = 0; n < kCount; ++n) pieces.push_back(make(n));
    for (std::uint32_t n = 0; n < kCount; ++n) check(*pieces[n], n);
}

// A freed piece's block is kept and handed to the next piece of its class.
TEST(PooledReplacePiece, FreedPieceBlockIsHandedOutAgain) {
    auto first = std::make_unique<CTextToRTFReplacePiece>(numbered(1), kRtfPieceInternal);
    const void* block = first.get();
    std::size_t keptBefore = parser::pooledBlocksFree(sizeof(CTextToRTFReplacePiece));
    first.reset();
    EXPECT_EQ(parser::pooledBlocksFree(sizeof(CTextToRTFReplacePiece)), keptBefore + 1);
    auto again = std::make_unique<CTextToRTFReplacePiece>(numbered(2), kRtfPieceExternal);
    EXPECT_EQ(static_cast<const void*>(again.get()), block);
    EXPECT_EQ(again->source().text, numbered(2).text);
}

}  // namespace
}  // namespace tessel::dtp
