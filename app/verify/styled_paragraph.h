// A paragraph of a marked-up RTF file as the translation check sees it: its
// text as the back-conversion writes it (UTF-8) and the runs of protected
// styles in it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::verify {

// What a character style means to the check, told by its name.
enum class RunRole : std::uint8_t {
    Text,            // translatable text, or a style that protects nothing
    External,        // qz4lexExternal: structure between segments
    Internal,        // qz4lexInternal: a tag inside a segment
    DoNotTranslate,  // DO_NOT_TRANSLATE
};

bool isProtected(RunRole role);
std::string_view roleName(RunRole role);

// A run of one style, as bytes [begin, end) of the paragraph's text. Runs
// cover the text in order; two adjacent runs of one role are two groups of
// the file (our mark-up writes one group per tag).
struct Run {
    RunRole role;
    std::uint32_t begin;
    std::uint32_t end;
};

struct StyledParagraph {
    std::string text;  // annotations of "\uN" fallbacks removed
    std::string raw;   // as the RTF reader hands it on when that differs (annotations)
    std::vector<Run> runs;
    std::size_t number = 0;  // 1-based, in its file
    // The paragraph begins inside a protected run of the paragraph before
    // (a comment or script over several lines).
    bool continuesRun = false;
    // Protected styles switched on where nothing of their text was shown:
    // runs whose text is hidden.
    std::uint32_t vanishedRuns = 0;
    // The paragraph ends with a paragraph mark; the last of a document may not.
    bool lineEnd = true;

    std::string_view runText(const Run& run) const {
        return std::string_view(text).substr(run.begin, run.end - run.begin);
    }
    void clear() {
        text.clear();
        raw.clear();
        runs.clear();
        continuesRun = false;
        vanishedRuns = 0;
        lineEnd = true;
    }
};

// Number of characters (not bytes) of `text` before byte `offset`, plus one.
std::size_t columnOf(std::string_view text, std::size_t offset);

// columnOf for many offsets into one text: counting goes on from the offset
// asked last, so offsets asked in rising order cost one pass over the text
// (a paragraph of one long line has a run every few bytes).
class ColumnCounter {
  public:
    std::size_t columnOf(std::string_view text, std::size_t offset);

  private:
    const char* text_ = nullptr;
    std::size_t size_ = 0;
    std::size_t offset_ = 0;
    std::size_t column_ = 1;
};

}  // namespace tessel::verify
