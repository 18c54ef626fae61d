// A plain reference reader of RTF body text for tests: what the
// back-conversions' reader hands on, read one byte at a time from a string
// in memory, written for clarity and not for speed, straight from the rules
// the reader documents (frame/rtf_reader.h, the README's "what the reader
// takes from a translated RTF file") and the RTF syntax (groups, control
// words with their parameter and one delimiting space, control symbols,
// "\'xx", "\binN", "\uN" with "\ucN" fallback, "\*" destinations).
//
// It keeps the documented limits of the reader too (group depth, fonts,
// fallback bytes kept, parameter saturation), so that both read every input
// alike. It shares only data with the reader: the keyword tables of
// resources/rtf_keywords.h and the code-page codecs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::testing {

// One event of a reading, in the order the reader's sink and style observer
// are told of them.
struct ReferenceEvent {
    enum class Kind { Paragraph, Style, Notice };
    Kind kind = Kind::Paragraph;
    std::string text;        // Paragraph: its UTF-8 text
    bool lineEnd = false;    // Paragraph: ended by a paragraph mark
    std::int32_t value = 0;  // Style: the style; Notice: the RtfNotice as a number
    std::size_t offset = 0;  // Style: byte offset in the paragraph being read
};

struct ReferenceReading {
    int result = 0;  // 0 or the reader's failure code (-401 to -405)
    std::vector<ReferenceEvent> events;
};

ReferenceReading readReferenceRtf(std::string_view rtf);

// The same events as the back-conversions' reader (frame/rtf_reader.h)
// reports them, read with its style observer on and with UTF-8 paragraphs.
ReferenceReading readFastRtf(std::string_view rtf, bool replayGroups = true);

// A reading as comparable text: each paragraph with its character-style
// runs, the notices where they were told and the result. Style events are
// reduced to what they mean: the style in force at each offset of a
// paragraph's text (several changes at one offset: the last holds; a change
// to the style already in force is none).
std::string describeReading(const ReferenceReading& reading);

}  // namespace tessel::testing
