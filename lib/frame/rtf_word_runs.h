// Runs of control words the RTF reader has read before, kept by their bytes.
// Tagged documents repeat a few runs over and over ("\cs6\cf6\f1\lang1024 "
// before every tag, "\par " after every paragraph), and finding a run again
// costs a fraction of reading its words letter by letter and digit by digit.
// How a control word reads depends on its bytes alone, so a run found here
// reads as it did the first time; what its words do is the reader's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/byte_words.h"
#include "resources/rtf_keywords.h"

namespace tessel::frame {

// A control word as read: what it does, its parameter, and where it ends.
struct RtfParsedWord {
    resources::RtfWordAction found;
    bool hasParameter = false;
    std::uint8_t end = 0;  // bytes from the start of its run to after the word
    std::int32_t parameter = 0;
};

class RtfWordRuns {
  public:
    // Bytes compared for a run: its words, and the byte after them when the
    // last word's end depends on it.
    static constexpr std::size_t kMaxRunBytes = 32;
    static constexpr std::size_t kMaxRunWords = 8;

    struct Run {
        std::uint8_t compared = 0;  // 0: no run
        std::uint8_t length = 0;    // bytes of the run's words
        std::uint8_t words = 0;     // the words kept, which may be fewer
        char bytes[kMaxRunBytes] = {};
        RtfParsedWord word[kMaxRunWords];
    };

    RtfWordRuns() : slots_(kSlots) {}

    // The run kept for the text at `text` (the first letter of a control
    // word), of which `available` bytes are data; null when there is none.
    // Up to kMaxRunBytes + 7 bytes from `text` must be readable.
    // (Inline: the reader looks up every run of words it meets.)
    const Run* find(const char* text, std::size_t available) const {
        const Run& run = slots_[slotOf(text)];
        if (run.compared == 0 || run.compared > available) return nullptr;
        return sameBytes(run.bytes, text, run.compared) ? &run : nullptr;
    }

    // Recording a run as the reader reads it: start(), add() for each word
    // (false once the run is too long to keep), keep() at its end.
    void start() { draft_.words = 0; }
    bool add(const RtfParsedWord& word);
    // Keeps the recorded words as the run of the `length` bytes at `text`;
    // `withNext` when the byte after them decided where the last word ends
    // (it must be data then).
    void keep(const char* text, std::size_t length, bool withNext);

  private:
    static constexpr std::size_t kSlotBits = 8;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    // The slot of a run: from its first four bytes.
    static std::size_t slotOf(const char* text) {
        std::uint32_t head;
        std::memcpy(&head, text, sizeof head);
        return (head * 0x9E3779B1u) >> (32 - kSlotBits);
    }
    // True when the first `n` bytes at `a` and `b` are equal; reads them in
    // words of eight, so up to seven bytes past `n` must be readable at both.
    static bool sameBytes(const char* a, const char* b, std::size_t n) {
        using platform::words::load;
        std::size_t at = 0;
        for (; n - at >= sizeof(std::uint64_t); at += sizeof(std::uint64_t)) {
            if (load(a + at) != load(b + at)) return false;
        }
        if (at == n) return true;
        return ((load(a + at) ^ load(b + at)) & platform::words::firstBytes(n - at)) == 0;
    }

    std::vector<Run> slots_;
    Run draft_;
};

}  // namespace tessel::frame
