// A replace piece of the RTF-writing converters: its kind says how the
// source text of the range is written into the RTF.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dtp/converter_rtf_text.h"
#include "dtp/replace_piece.h"

namespace tessel::dtp {

enum RtfPieceKind : std::int32_t {
    kRtfPieceReplacementText = 0,  // the replacement piece's text, escaped
    kRtfPieceInternal = 1,         // internal tag run
    kRtfPieceExternal = 2,         // external tag run
    kRtfPieceRemoved = 3,          // the source text is dropped
    kRtfPieceJoinedText = 4,       // escaped text without its line ends
    kRtfPieceJoinedInternal = 5,   // internal tag run without line ends
    kRtfPieceJoinedExternal = 6,   // external tag run without line ends
};

class CTextToRTFReplacePiece : public CReplacePiece {
  public:
    // The replacement piece is the source range with empty text.
    CTextToRTFReplacePiece(CTextPiece&& source, std::int32_t kind)
        : CReplacePiece(std::move(source)), kind_(kind) {}

    std::int32_t kind() const { return kind_; }
    std::string replacementFor(std::string_view sourceText) const override;
    void appendReplacement(std::string& out, std::string_view sourceText) const override;
    bool appendLineReplacement(std::string& out, std::string_view sourceText,
                               std::size_t readable) const override;

    // A converter makes and frees one piece per tag: their blocks are
    // recycled like the parser's tokens and stack items.
    static void* operator new(std::size_t size);
    static void operator delete(void* memory, std::size_t size);

  private:
    std::int32_t kind_;
};

// `text` without its "\n" bytes.
std::string withoutLineEnds(std::string_view text);

}  // namespace tessel::dtp
