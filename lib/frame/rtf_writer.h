// Pieces of the RTF documents the mark-up jobs write.
#pragma once

#include <string>
#include <string_view>

#include "platform/byte_scan.h"
#include "platform/streams.h"
#include "resources/rtf_texts.h"

namespace tessel::frame {

enum class TagKind { Internal, External, DoNotTranslate };

// Escapes the RTF special characters of a line of running text in place.
// The buffer grows by exactly the extra length needed; inserted text is never
// escaped again. Returns false when the buffer cannot grow (the caller ends
// with -103).
bool escapeRtf(std::string& line);

// What escapeRtf writes for `c`: empty for a byte it keeps as it stands.
std::string_view rtfEscapeOf(char c);

// Marks the bytes of a chunk that escapeRtf replaces: "\\", "{", "}", tab,
// line feed and 0x91 to 0x97.
inline platform::detail::Matches rtfEscapedBytes(platform::detail::Chunk chunk) {
    using platform::detail::bytesEqual;
    return bytesEqual(chunk, '\\') | bytesEqual(chunk, '{') | bytesEqual(chunk, '}') |
           bytesEqual(chunk, '\t') | bytesEqual(chunk, '\n') |
           platform::detail::bytesInRange<0x91, 7>(chunk);
}

// Marks every byte of a chunk that escapeRtf replaces and a few others that
// stand near them: "\\", the control characters and 0x7B to 0x97. Fewer
// tests than the exact set, for scans that copy a line and look at each
// marked byte anyway; where ranges are not one test, the exact set.
inline platform::detail::Matches rtfEscapeCandidates(platform::detail::Chunk chunk) {
#if defined(__SSE2__)
    using platform::detail::bytesInRange;
    return platform::detail::bytesEqual(chunk, '\\') | bytesInRange<0x00, 0x20>(chunk) |
           bytesInRange<0x7B, 0x97 - 0x7B + 1>(chunk);
#else
    return rtfEscapedBytes(chunk);
#endif
}

// Whether escapeRtf replaces `c`.
bool isRtfEscaped(char c);

// The opening of a tag run of the given kind. Inline: the mark-up calls it
// for every tag it wraps.
constexpr std::string_view tagOpening(TagKind kind) {
    switch (kind) {
        case TagKind::Internal:
            return resources::kInternalTagOpen;
        case TagKind::External:
            return resources::kExternalTagOpen;
        case TagKind::DoNotTranslate:
            return resources::kDoNotTranslateOpen;
    }
    return resources::kInternalTagOpen;
}

// Wraps `text` (already escaped) as a tag run: opening, text, "}".
void appendTagRun(std::string& out, TagKind kind, std::string_view text);

void writeRtfHeader(platform::OutputStream& out);
void writeParagraphEnd(platform::OutputStream& out);
void writeDocumentEnd(platform::OutputStream& out);

}  // namespace tessel::frame
