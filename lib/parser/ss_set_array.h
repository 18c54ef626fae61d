// A set of 32-bit integers kept in insertion order. Adding a present member
// does nothing; a full set grows by the increment, and with an increment of 0
// refuses the member (SSSetArray0001e).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessel::parser {

class SSSetArray {
  public:
    SSSetArray(std::size_t capacity, std::size_t increment);

    void add(std::int32_t member);
    bool contains(std::int32_t member) const;
    std::size_t count() const { return items_.size(); }
    std::int32_t at(std::size_t index) const { return items_.at(index); }
    const std::vector<std::int32_t>& items() const { return items_; }
    std::size_t capacity() const { return capacity_; }

  private:
    std::size_t increment_;
    std::vector<std::int32_t> items_;
    std::size_t capacity_;
};

}  // namespace tessel::parser
