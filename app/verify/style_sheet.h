// The character styles of an RTF file by number, from its style sheet.
// Word processors renumber styles when they save (our "\cs6" comes back as
// "\cs20"), so the check finds the protected styles by their names.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "frame/rtf_byte_source.h"
#include "verify/styled_paragraph.h"

namespace tessel::verify {

class StyleSheet {
  public:
    // The role of character style `number`; Text for styles that protect
    // nothing and numbers the sheet does not define.
    RunRole role(std::int32_t number) const;
    void define(std::int32_t number, std::string_view name);
    std::size_t protectedStyles() const { return roles_.size(); }

  private:
    std::unordered_map<std::int32_t, RunRole> roles_;
};

// The role a style name stands for: the name before any "," (Word's alias
// list), blanks around it ignored, letters in any case.
RunRole roleOfStyleName(std::string_view name);

// Reads the style sheet at the head of an RTF document: stops after its
// group closes, or where the body begins without one.
StyleSheet readStyleSheet(frame::RtfByteSource& source);

}  // namespace tessel::verify
