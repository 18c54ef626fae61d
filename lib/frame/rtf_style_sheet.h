// The character styles of an RTF file by number, from its style sheet.
// Word processors renumber styles when they save (the mark-up's "\cs6"
// comes back as "\cs20"), so the tag styles are found by their names.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>

#include "frame/rtf_byte_source.h"

namespace tessel::frame {

// What a character style's name makes of its text.
enum class TagStyle : std::uint8_t {
    None,            // translatable text, or a style that protects nothing
    External,        // qz4lexExternal
    Internal,        // qz4lexInternal
    DoNotTranslate,  // DO_NOT_TRANSLATE
};

// The tag style a style name stands for: the name before any "," (Word's
// alias list), blanks around it ignored, letters in any case.
TagStyle tagStyleOfName(std::string_view name);

class RtfStyleSheet {
  public:
    // The tag style of character style `number`; None for styles that
    // protect nothing and numbers the sheet does not define.
    TagStyle tagStyle(std::int32_t number) const;
    void define(std::int32_t number, std::string_view name);
    std::size_t tagStyles() const { return styles_.size(); }

  private:
    std::unordered_map<std::int32_t, TagStyle> styles_;
};

// Reads the style sheet at the head of an RTF document and hands on each
// character style ("\csN") with its name: stops after the sheet's group
// closes, or where the body begins without one.
void readCharacterStyleNames(RtfByteSource& source,
                             const std::function<void(std::int32_t, std::string_view)>& style);

// The tag styles of the style sheet at the head of an RTF document.
RtfStyleSheet readRtfStyleSheet(RtfByteSource& source);

// The same, and whether a run of the body is in one of those styles: the
// document is then one a mark-up wrote, with tags told from text. Reads the
// body up to the first such run.
RtfStyleSheet readMarkedUpStyles(RtfByteSource& source, bool& tagRuns);

}  // namespace tessel::frame
