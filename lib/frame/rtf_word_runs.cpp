#include "frame/rtf_word_runs.h"

#include <cstring>

namespace tessel::frame {

bool RtfWordRuns::add(const RtfParsedWord& word) {
    if (draft_.words == kMaxRunWords || word.end > kMaxRunBytes) return false;
    draft_.word[draft_.words++] = word;
    return true;
}

void RtfWordRuns::keep(const char* text, std::size_t length, bool withNext) {
    std::size_t compared = length + (withNext ? 1 : 0);
    if (draft_.words == 0 || compared > kMaxRunBytes) return;
    Run& run = slots_[slotOf(text)];
    run = draft_;
    run.compared = static_cast<std::uint8_t>(compared);
    run.length = static_cast<std::uint8_t>(length);
    std::memcpy(run.bytes, text, compared);
}

}  // namespace tessel::frame
