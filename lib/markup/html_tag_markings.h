// How tags of the running HTML mark-up were marked, kept by their bytes.
// Pages repeat a few tags over and over ("<P>", "</B>", "<A HREF=...>"), and
// how a tag is classified and wrapped depends on its bytes and on the tag
// entries alone: a tag met again is wrapped as it was the first time, without
// classifying it again. The mark-up leaves out tags whose marking depends on
// more (see LineMarkup), and so does this under user entries whose names
// hold a ">": those are compared beyond the end of a tag.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "frame/rtf_writer.h"
#include "markup/html_tag_file.h"
#include "markup/marked_line.h"
#include "platform/byte_scan.h"
#include "platform/byte_words.h"

namespace tessel::markup {

class HtmlTagMarkings {
  public:
    // Bytes of a tag kept, from its "<" to its ">".
    static constexpr std::size_t kMaxTagBytes = 64;

    struct Wrap {
        std::uint8_t start = 0;  // from the tag's "<"
        std::uint8_t end = 0;
        frame::TagKind kind = frame::TagKind::Internal;
    };

    struct Marking {
        std::uint32_t length = 0;  // 0: none
        std::uint64_t hash = 0;
        int result = 0;  // of the classification: 1 wrapped, 0 unknown
        std::uint32_t wrapCount = 0;
        Wrap wraps[WrapLog::kMaxWraps];
        char bytes[kMaxTagBytes + platform::detail::kChunkSize];  // compared in chunks
    };

    // Whether tags classified with the user's entries `userTags` (null: none)
    // can be kept; markings kept under other entries are dropped.
    bool serve(const UserTagList* userTags) {
        if (!enabled_) return false;
        if (userTags != userTags_) {
            slots_.reset();
            userTags_ = userTags;
            usable_ = userTags == nullptr || !hasNameWithBracket(*userTags);
        }
        return usable_;
    }

    // The marking kept for the tag of `length` bytes at `tag` (under the
    // entries last served), or null. Up to a chunk past the tag must be
    // readable.
    const Marking* find(const char* tag, std::size_t length) const {
        if (!slots_ || length > kMaxTagBytes) return nullptr;
        const std::uint64_t hash = hashOf(tag, length);
        const Marking& marking = slots_[slotOf(hash)];
        if (marking.length != length || marking.hash != hash ||
            !platform::sameBytesInPadded(marking.bytes, tag, length)) {
            return nullptr;
        }
        return &marking;
    }

    // Keeps how the tag was marked: the `result` of its classification and
    // the wraps logged meanwhile, with positions in the line (the tag's "<"
    // at `start`).
    void keep(const char* tag, std::size_t length, int result, const WrapLog& log,
              std::size_t start) {
        if (length > kMaxTagBytes || log.overflow) return;
        if (!slots_) slots_ = std::make_unique<Marking[]>(kSlots);
        const std::uint64_t hash = hashOf(tag, length);
        Marking& marking = slots_[slotOf(hash)];
        marking.length = static_cast<std::uint32_t>(length);
        marking.hash = hash;
        marking.result = result;
        marking.wrapCount = static_cast<std::uint32_t>(log.count);
        for (std::size_t i = 0; i < log.count; ++i) {
            const WrapLog::Logged& logged = log.wraps[i];
            marking.wraps[i] = {static_cast<std::uint8_t>(logged.start - start),
                                static_cast<std::uint8_t>(logged.end - start), logged.kind};
        }
        std::memcpy(marking.bytes, tag, length);
    }

    void clear() {
        slots_.reset();
        userTags_ = nullptr;
        usable_ = true;
    }

    // Markings are kept and used unless switched off; either way tags are
    // marked alike.
    void enable(bool on) { enabled_ = on; }

  private:
    static constexpr std::size_t kSlotBits = 8;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;

    // From the length and the first and last eight bytes, where tags differ.
    static std::uint64_t hashOf(const char* tag, std::size_t length) {
        using platform::words::load;
        if (length < sizeof(std::uint64_t)) {
            return ((load(tag) & platform::words::firstBytes(length)) ^ length) *
                   0xC2B2AE3D27D4EB4FULL;
        }
        const std::uint64_t first = load(tag);
        const std::uint64_t last = load(tag + length - sizeof(std::uint64_t));
        return ((first * 0x9E3779B97F4A7C15ULL) ^ last ^ length) * 0xC2B2AE3D27D4EB4FULL;
    }
    static std::size_t slotOf(std::uint64_t hash) {
        return static_cast<std::size_t>(hash >> (64 - kSlotBits));
    }

    static bool hasNameWithBracket(const UserTagList& userTags) {
        for (const StringNode* name = userTags.names.first(); name != nullptr;
             name = name->next.get()) {
            if (name->text.find('>') != std::string::npos) return true;
        }
        return false;
    }

    std::unique_ptr<Marking[]> slots_;
    const UserTagList* userTags_ = nullptr;
    bool usable_ = true;
    bool enabled_ = true;
};

}  // namespace tessel::markup
