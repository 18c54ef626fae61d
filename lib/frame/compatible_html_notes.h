// Tells which characters compatible HTML writes as substitutes: the
// code-page-1252 punctuation (quotes, dashes, the bullet, ...) that it
// writes as plain characters or basic entities. Each kind is told once per
// file, at the first line that holds it.
#pragma once

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::frame {

// Message code of a character kind that compatible HTML substitutes.
inline constexpr int kCompatibleHtmlSubstitute = -2401;

class CompatibleHtmlNotes {
  public:
    // The log details of the kinds in `line` (Windows 1252, before the
    // entity step) not told before, in order of their first appearance:
    // "U+201C (\x93) as &quot;".
    std::vector<std::string> newKinds(std::string_view line);

  private:
    std::bitset<256> told_;
};

}  // namespace tessel::frame
