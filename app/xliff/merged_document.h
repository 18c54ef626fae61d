// Writes the marked-up RTF of a translated document: the original's
// skeleton as the segmenter hands it on, each unit's target from the XLIFF
// in place of its source, the inline codes put back as the tags they came
// from. The back-conversion of the format then writes the translated file
// from it, and the translation check holds it against the original's RTF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/streams.h"
#include "xliff/translation_units.h"
#include "xliff/xliff_reader.h"

namespace tessel::xliff {

struct MergeTally {
    std::size_t units = 0;         // units of the original
    std::size_t translated = 0;    // with a target
    std::size_t untranslated = 0;  // without one: their source text is kept
    std::size_t unknownCodes = 0;  // codes of a target that no tag of the unit has
    // The first unit whose source in the XLIFF is not the original's; empty
    // when they all are.
    std::string mismatchedUnit;
    std::size_t mismatchedLine = 0;
};

class MergeWriter final : public DocumentSink {
  public:
    MergeWriter(platform::OutputStream& out, const XliffFile& xliff, MergeTally& tally);

    void skeleton(verify::RunRole role, std::string_view text) override;
    void unit(const TranslationUnit& unit) override;
    void paragraphEnd(bool lineEnd) override;
    // Ends the document.
    void finish();

  private:
    void writeRun(verify::RunRole role, std::string_view text);
    void writeTarget(const TranslationUnit& unit, const XliffUnit& translated);

    platform::OutputStream& out_;
    const XliffFile& xliff_;
    MergeTally& tally_;
    std::string buffer_;
};

// Appends `text` (UTF-8) to `out` as RTF text: "\", "{" and "}" escaped,
// tabs as "\tab", line feeds as paragraph marks, other characters beyond
// ASCII as "\uN?" and control characters as "\'XX".
void appendRtfText(std::string& out, std::string_view text);

}  // namespace tessel::xliff
