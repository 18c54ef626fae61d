// Groups the RTF reader has read before, kept by their bytes with what
// reading them did. Our mark-up puts every tag in a group of its own
// ("{\cs6\cf6\f1\lang1024 <b>}"), and a document repeats its few tags over
// and over. Reading a group that holds no other group depends only on its
// bytes and on the state the reader enters it in; when it leaves nothing
// behind but text and style changes, reading the same bytes from the same
// state again appends the same text and reports the same changes, so the
// reader replays them instead of reading the group's words and text again.
// The reader decides which groups qualify and what their state is; this
// keeps them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

#include "platform/byte_scan.h"
#include "platform/byte_words.h"

namespace tessel::frame {

// A style change reported inside a group, at an offset from the length the
// line had where the group began.
struct RtfStyleChange {
    std::int32_t style = 0;
    std::uint32_t offset = 0;
};

// `EntryState` is compared byte by byte: it must have no padding, and its
// size must be a whole number of chunks.
template <typename EntryState>
class RtfGroupReplays {
    static_assert(std::has_unique_object_representations_v<EntryState>,
                  "entry states compare as bytes");
    static_assert(sizeof(EntryState) % platform::detail::kChunkSize == 0,
                  "entry states compare in whole chunks");

  public:
    // Bytes of a group kept, from its "{" to its "}".
    static constexpr std::size_t kMaxGroupBytes = 128;
    // Text a kept group appends, and the style changes it reports.
    static constexpr std::size_t kMaxTextBytes = 3 * kMaxGroupBytes;
    static constexpr std::size_t kMaxStyleChanges = 4;

    struct Group {
        std::uint32_t length = 0;  // 0: no group
        std::uint32_t textLength = 0;
        std::uint32_t changeCount = 0;
        std::uint64_t hash = 0;
        EntryState entry{};
        RtfStyleChange changes[kMaxStyleChanges];
        // Both compared and copied in chunks.
        char bytes[kMaxGroupBytes + platform::detail::kChunkSize];
        char text[kMaxTextBytes + platform::detail::kChunkSize];
    };

    // Bytes past the end of the data that extent() may read, and past the
    // end of a text that copyText() may write.
    static constexpr std::size_t kReadPast = platform::detail::kChunkSize;

    // The length of the group whose "{" is at `data`, up to and with its "}",
    // when it holds no other brace (escaped or not) and ends within
    // kMaxGroupBytes of the `available` bytes; 0 otherwise. `hash` is then
    // that of its length and last bytes, where tags differ. Reads in chunks,
    // up to kReadPast bytes past the last available byte.
    static std::size_t extent(const char* data, std::size_t available, std::uint64_t& hash) {
        using namespace platform::detail;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
        const std::size_t limit = std::min(available, kMaxGroupBytes);
        for (std::size_t at = 1; at < limit; at += kChunkSize) {
            const Chunk chunk = loadChunk(bytes + at);
            const ChunkMask braces = bytesEqual(chunk, '{') | bytesEqual(chunk, '}');
            if (braces == 0) continue;
            const std::size_t close = at + firstMarked(braces);
            // "\}" is text and "\\}" a backslash and an end: neither is kept.
            if (close >= limit || data[close] != '}' || data[close - 1] == '\\') return 0;
            using platform::words::load;
            const std::uint64_t last = close >= sizeof(std::uint64_t)
                                           ? load(data + close - sizeof(std::uint64_t))
                                           : load(data) & platform::words::firstBytes(close);
            hash = (last ^ close) * 0x9E3779B97F4A7C15ULL;
            return close + 1;
        }
        return 0;
    }

    // Copies the text of `group` from `from` to `to` to `out`, in chunks:
    // up to kReadPast bytes past `to` are written.
    static void copyText(const Group& group, std::size_t from, std::size_t to, char* out) {
        using namespace platform::detail;
        for (std::size_t at = from; at < to; at += kChunkSize) {
            storeChunk(out + (at - from),
                       loadChunk(reinterpret_cast<const std::uint8_t*>(group.text + at)));
        }
    }

    // The group kept for these bytes (of `extent()`) and this entry state,
    // or null.
    // The bytes at `data` are read in chunks, up to kReadPast past `length`.
    const Group* find(const char* data, std::size_t length, std::uint64_t hash,
                      const EntryState& entry) const {
        if (!slots_) return nullptr;
        const Group& group = slots_[slotOf(hash)];
        if (group.length != length || group.hash != hash ||
            !platform::sameBytesInPadded(reinterpret_cast<const char*>(&group.entry),
                                         reinterpret_cast<const char*>(&entry), sizeof entry) ||
            !platform::sameBytesInPadded(group.bytes, data, length)) {
            return nullptr;
        }
        return &group;
    }

    // Keeps a group read from `entry`: its bytes, the text it appended and
    // the style changes it reported. False when it is too large to keep.
    bool keep(const char* data, std::size_t length, std::uint64_t hash, const EntryState& entry,
              const char* text, std::size_t textLength, const RtfStyleChange* changes,
              std::size_t changeCount) {
        if (length > kMaxGroupBytes || textLength > kMaxTextBytes ||
            changeCount > kMaxStyleChanges) {
            return false;
        }
        if (!slots_) slots_ = std::make_unique<Group[]>(kSlots);
        Group& group = slots_[slotOf(hash)];
        group.length = static_cast<std::uint32_t>(length);
        group.textLength = static_cast<std::uint32_t>(textLength);
        group.changeCount = static_cast<std::uint32_t>(changeCount);
        group.hash = hash;
        group.entry = entry;
        std::copy_n(changes, changeCount, group.changes);
        std::memcpy(group.bytes, data, length);
        std::memcpy(group.text, text, textLength);
        return true;
    }

  private:
    static constexpr std::size_t kSlotBits = 8;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;

    static std::size_t slotOf(std::uint64_t hash) {
        return static_cast<std::size_t>(hash >> (64 - kSlotBits));
    }

    // Made when the first group is kept: most documents' groups are few and
    // small, some documents have none worth keeping.
    std::unique_ptr<Group[]> slots_;
};

}  // namespace tessel::frame
