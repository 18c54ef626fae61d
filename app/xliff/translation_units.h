// The translatable blocks of a marked-up document: each paragraph of the RTF
// the mark-up wrote is cut at its external runs; what lies between two of
// them and holds translatable text is a translation unit, its internal tags
// (and do-not-translate runs) inline codes that keep the tag's text. The
// rest (external tags, blanks at the edges of a block, blocks without
// text) is the skeleton, which the merge takes from the original again.
//
// The document is read one paragraph at a time: memory stays within the
// longest paragraph whatever the file's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "verify/check_targets.h"
#include "verify/styled_paragraph.h"

namespace tessel::xliff {

// How an inline code stands in its unit.
enum class CodeKind : std::uint8_t {
    Single,         // a tag that opens and closes nothing in the unit
    Open,           // opens a pair closed in the same unit
    Close,          // closes the pair opened in the same unit
    IsolatedOpen,   // opens a pair whose closing tag is in another unit
    IsolatedClose,  // closes a pair opened in another unit
};

struct InlineCode {
    std::string text;  // the tag as the document has it, in UTF-8
    // Internal or DoNotTranslate for a tag; Text for a character that XML
    // cannot hold (a control character of the source), kept as a code.
    verify::RunRole role = verify::RunRole::Internal;
    std::uint32_t id = 0;  // 1, 2, ... within the unit; an Open and its Close share it
    CodeKind kind = CodeKind::Single;
};

// A stretch of a unit: text, or the code of `codes[code]`.
struct UnitPart {
    static constexpr std::size_t kText = static_cast<std::size_t>(-1);
    std::size_t code = kText;
    std::string text;
    bool isCode() const { return code != kText; }
};

struct TranslationUnit {
    std::string id;  // "1", "2", ... in document order: the same for an unchanged file
    std::vector<UnitPart> parts;
    std::vector<InlineCode> codes;
    std::size_t paragraph = 0;  // of the marked-up RTF, from 1
    // The text alone, codes left out.
    std::string plainText() const;
};

// A piece of the document in order: a run of the skeleton, a unit, or the
// end of a paragraph.
class DocumentSink {
  public:
    virtual ~DocumentSink() = default;
    virtual void skeleton(verify::RunRole role, std::string_view text) = 0;
    virtual void unit(const TranslationUnit& unit) = 0;
    // `lineEnd`: the paragraph ends with a paragraph mark.
    virtual void paragraphEnd(bool lineEnd) = 0;
};

class UnitSegmenter {
  public:
    // `pairs`: how the format closes what its tags open.
    explicit UnitSegmenter(verify::PairStyle pairs, bool htmlVoidElements);

    void paragraph(const verify::StyledParagraph& paragraph, DocumentSink& sink);
    std::size_t units() const { return units_; }

  private:
    struct Piece {
        verify::RunRole role;
        std::string_view text;
    };
    void block(const std::vector<Piece>& pieces, std::size_t paragraph, DocumentSink& sink);
    void pairCodes(TranslationUnit& unit) const;

    verify::PairStyle pairs_;
    bool htmlVoidElements_;
    std::size_t units_ = 0;
    std::vector<Piece> pieces_;
};

// A value that two marked-up documents share only when their paragraphs,
// runs and texts are the same: the merge holds the original against the one
// the XLIFF was extracted from with it.
class DocumentFingerprint {
  public:
    void add(const verify::StyledParagraph& paragraph);
    // Sixteen hexadecimal digits.
    std::string text() const;

  private:
    void mix(std::string_view bytes);
    std::uint64_t hash_ = 14695981039346656037ull;
};

}  // namespace tessel::xliff
