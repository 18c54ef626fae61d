// Pieces of the RTF documents the mark-up jobs write.
#pragma once

#include <string>
#include <string_view>

#include "platform/streams.h"
#include "resources/rtf_texts.h"

namespace tessel::frame {

enum class TagKind { Internal, External, DoNotTranslate };

// Escapes the RTF special characters of a line of running text in place.
// The buffer grows by exactly the extra length needed; inserted text is never
// escaped again. Returns false when the buffer cannot grow (the caller ends
// with -103).
bool escapeRtf(std::string& line);

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
