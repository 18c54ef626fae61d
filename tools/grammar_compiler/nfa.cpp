#include "nfa.h"

#include <algorithm>

namespace tessel::grammar {

void CharSet::add(std::uint32_t low, std::uint32_t high) {
    ranges_.push_back({low, high});
    std::sort(ranges_.begin(), ranges_.end(),
              [](const CharRange& a, const CharRange& b) { return a.low < b.low; });
    std::vector<CharRange> merged;
    for (const auto& range : ranges_) {
        // Widen to 64 bits so that a range ending at the start-of-input
        // character does not wrap around when testing adjacency.
        if (!merged.empty() && static_cast<std::uint64_t>(range.low) <=
                                   static_cast<std::uint64_t>(merged.back().high) + 1) {
            merged.back().high = std::max(merged.back().high, range.high);
        } else {
            merged.push_back(range);
        }
    }
    ranges_ = std::move(merged);
}

void CharSet::addAll(const CharSet& other) {
    for (const auto& range : other.ranges_) add(range.low, range.high);
}

CharSet CharSet::complement() const {
    CharSet result;
    std::uint64_t next = 0;
    for (const auto& range : ranges_) {
        if (range.low > kMaxChar) break;
        if (range.low > next) result.add(static_cast<std::uint32_t>(next), range.low - 1);
        next = static_cast<std::uint64_t>(range.high) + 1;
    }
    if (next <= kMaxChar) result.add(static_cast<std::uint32_t>(next), kMaxChar);
    return result;
}

bool CharSet::contains(std::uint32_t c) const {
    return std::any_of(ranges_.begin(), ranges_.end(),
                       [c](const CharRange& r) { return r.low <= c && c <= r.high; });
}

}  // namespace tessel::grammar
