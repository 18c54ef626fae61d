// Bounds-checked reading of little-endian table images. Loaders ask fits()
// before every read, so a damaged offset or count can never reach outside
// the image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tessel::parser {

class TableImage {
  public:
    explicit TableImage(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    // True when `length` bytes from `offset` lie inside the image.
    bool fits(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    // Precondition: fits(offset, 4).
    std::uint32_t u32(std::size_t offset) const {
        return static_cast<std::uint32_t>(bytes_[offset]) |
               static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
               static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 |
               static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
    }
    std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
    std::uint8_t u8(std::size_t offset) const { return bytes_[offset]; }
    // True when the four bytes at `offset` spell `magic`. Precondition: fits.
    bool hasMagic(std::size_t offset, std::string_view magic) const {
        for (std::size_t i = 0; i < 4; ++i) {
            if (bytes_[offset + i] != static_cast<std::uint8_t>(magic[i])) return false;
        }
        return true;
    }
    std::span<const std::uint8_t> slice(std::size_t offset, std::size_t length) const {
        return bytes_.subspan(offset, length);
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace tessel::parser
