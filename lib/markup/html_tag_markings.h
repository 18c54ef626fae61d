// How tags of the running HTML mark-up were marked, kept by their bytes.
// Pages repeat a few tags over and over ("<P>", "</B>", "<A HREF=...>"), and
// how a tag is classified and wrapped depends on its bytes and on the tag
// entries alone: a tag met again is wrapped as it was the first time, without
// classifying it again. The mark-up leaves out tags whose marking depends on
// more (see LineMarkup), and so does this under user entries whose names
// hold a ">": those are compared beyond the end of a tag.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "frame/rtf_writer.h"
#include "markup/html_tag_classifier.h"
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

    // What marking a tag does to the PRE flag of the mark-up.
    enum class PreSwitch : std::uint8_t { None, On, Off };

    // The tag as marked up, wraps and all, is at most this long: copied
    // whole, in one fixed-size move.
    static constexpr std::size_t kMaxOutputBytes =
        (kMaxTagBytes + WrapLog::kMaxWraps * (kOpeningWidth + 1) + 15) / 16 * 16;

    struct Marking {
        std::uint32_t length = 0;  // 0: none
        std::uint64_t hash = 0;
        int result = 0;  // of the classification: 1 wrapped, 0 unknown
        PreSwitch pre = PreSwitch::None;
        std::uint32_t wrapCount = 0;
        Wrap wraps[WrapLog::kMaxWraps];
        // Compared in chunks, and copied in blocks into the output.
        char bytes[kMaxTagBytes + kCopyChunk];
        // The tag wrapped as `wraps` say, or whole as an internal tag when
        // unknown (result 0); `outputLength` bytes of it count.
        std::uint32_t outputLength = 0;
        char output[kMaxOutputBytes];
    };

    // What classifying `tag` did to the PRE flag.
    static PreSwitch preSwitchOf(const TagSpan& tag) {
        if (!tag.switchedPre) return PreSwitch::None;
        return tag.closing ? PreSwitch::Off : PreSwitch::On;
    }

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
        const Marking* set = &slots_[setOf(hash)];
        for (std::size_t way = 0; way < kWays; ++way) {
            const Marking& marking = set[way];
            if (marking.length == length && marking.hash == hash &&
                platform::sameBytesInPadded(marking.bytes, tag, length)) {
                return &marking;
            }
        }
        return nullptr;
    }

    // Keeps how the tag was marked: the `result` of its classification, the
    // wraps logged meanwhile, with positions in the line (the tag's "<" at
    // `start`), and what it did to the PRE flag. Up to a chunk past the tag
    // must be readable.
    void keep(const char* tag, std::size_t length, int result, const WrapLog& log,
              std::size_t start, PreSwitch pre = PreSwitch::None) {
        if (length > kMaxTagBytes || log.overflow || (result == 0 && log.count != 0)) return;
        if (!slots_) slots_ = std::make_unique<Marking[]>(kSlots);
        const std::uint64_t hash = hashOf(tag, length);
        // The newest marking of a set comes first; the one it moves aside
        // stays until another comes.
        Marking* set = &slots_[setOf(hash)];
        std::copy_backward(set, set + kWays - 1, set + kWays);
        Marking& marking = set[0];
        marking.length = static_cast<std::uint32_t>(length);
        marking.hash = hash;
        marking.result = result;
        marking.pre = pre;
        marking.wrapCount = static_cast<std::uint32_t>(log.count);
        for (std::size_t i = 0; i < log.count; ++i) {
            const WrapLog::Logged& logged = log.wraps[i];
            marking.wraps[i] = {static_cast<std::uint8_t>(logged.start - start),
                                static_cast<std::uint8_t>(logged.end - start), logged.kind};
        }
        std::memcpy(marking.bytes, tag, length);
        writeOutput(marking);
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
    // Fills the output of a marking whose other fields are set.
    static void writeOutput(Marking& marking) {
        const char* tag = marking.bytes;
        // Room for the wraps' whole-block copies.
        char output[kMaxOutputBytes + kWrapSlack];
        const std::size_t length = marking.length;
        std::size_t written = 0;
        if (marking.result == 0) {
            written = writeWrapped(output, tag, 0, tag, length, frame::TagKind::Internal);
        } else {
            std::size_t copied = 0;
            for (std::size_t i = 0; i < marking.wrapCount; ++i) {
                const Wrap& wrap = marking.wraps[i];
                written += writeWrapped(output + written, tag + copied, wrap.start - copied,
                                        tag + wrap.start, wrap.end - wrap.start, wrap.kind);
                copied = wrap.end;
            }
            std::memcpy(output + written, tag + copied, length - copied);
            written += length - copied;
        }
        std::memcpy(marking.output, output, kMaxOutputBytes);
        marking.outputLength = static_cast<std::uint32_t>(written);
    }

    // Tags that fall into one set take its ways in turn, so two tags met
    // over and over in one set do not push each other out.
    static constexpr std::size_t kSetBits = 7;
    static constexpr std::size_t kWays = 2;
    static constexpr std::size_t kSlots = kWays << kSetBits;

    // From the length and the first and last eight bytes, where tags differ
    // (a tag shorter than eight bytes is its first and last bytes). Without
    // a branch: short tags and long ones alternate in a page.
    static std::uint64_t hashOf(const char* tag, std::size_t length) {
        using platform::words::load;
        constexpr std::size_t kWord = sizeof(std::uint64_t);
        const std::size_t lastWord = length > kWord ? length - kWord : 0;
        const std::uint64_t inFirst = platform::words::firstBytes(std::min(length, kWord));
        const std::uint64_t first = load(tag) & inFirst;
        const std::uint64_t last = load(tag + lastWord) & inFirst;
        return ((first * 0x9E3779B97F4A7C15ULL) ^ last ^ length) * 0xC2B2AE3D27D4EB4FULL;
    }

    // The first slot of the set of `hash`.
    static std::size_t setOf(std::uint64_t hash) {
        return kWays * static_cast<std::size_t>(hash >> (64 - kSetBits));
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
