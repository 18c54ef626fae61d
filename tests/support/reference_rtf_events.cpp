// The back-conversions' reader's events in the reference reader's form, and
// readings as comparable text.
#include <cstdio>
#include <string>

#include "frame/rtf_byte_source.h"
#include "frame/rtf_reader.h"
#include "support/reference_rtf_reader.h"

namespace tessel::testing {
namespace {

class EventSink final : public frame::RtfParagraphSink, public frame::RtfStyleObserver {
  public:
    explicit EventSink(ReferenceReading& reading) : reading_(reading) {}
    int paragraph(std::string& line, bool lineEnd) override {
        ReferenceEvent event;
        event.kind = ReferenceEvent::Kind::Paragraph;
        event.text = line;
        event.lineEnd = lineEnd;
        reading_.events.push_back(std::move(event));
        return 0;
    }
    void notice(frame::RtfNotice notice, std::string_view) override {
        ReferenceEvent event;
        event.kind = ReferenceEvent::Kind::Notice;
        event.value = static_cast<std::int32_t>(notice);
        reading_.events.push_back(event);
    }
    void characterStyle(std::int32_t style, std::size_t offset) override {
        ReferenceEvent event;
        event.kind = ReferenceEvent::Kind::Style;
        event.value = style;
        event.offset = offset;
        reading_.events.push_back(event);
    }

  private:
    ReferenceReading& reading_;
};

// Text with its control bytes and bytes from 0x7F up written as escapes, so
// that a failing comparison shows where the texts part.
void appendVisible(std::string& out, const std::string& text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c >= 0x7F || c == '<' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
}

}  // namespace

ReferenceReading readFastRtf(std::string_view rtf, bool replayGroups) {
    ReferenceReading reading;
    frame::MemoryByteSource source(rtf);
    EventSink sink(reading);
    frame::RtfReader reader(source, sink);
    reader.observeStyles(&sink);
    reader.replayGroups(replayGroups);
    reading.result = reader.read();
    return reading;
}

std::string describeReading(const ReferenceReading& reading) {
    std::string out;
    // The style in force, and the changes told for the paragraph being read.
    std::int32_t style = -1;
    std::vector<std::pair<std::size_t, std::int32_t>> changes;
    for (const ReferenceEvent& event : reading.events) {
        switch (event.kind) {
            case ReferenceEvent::Kind::Style:
                if (!changes.empty() && changes.back().first == event.offset) {
                    changes.back().second = event.value;
                } else {
                    changes.emplace_back(event.offset, event.value);
                }
                break;
            case ReferenceEvent::Kind::Notice:
                out += "[notice " + std::to_string(event.value) + "]\n";
                break;
            case ReferenceEvent::Kind::Paragraph: {
                // Runs: "<style>" before the text from each offset whose
                // style differs from the one before it.
                std::size_t from = 0;
                std::size_t next = 0;
                std::int32_t shown = style;
                auto applyUpTo = [&](std::size_t offset) {
                    while (next < changes.size() && changes[next].first <= offset) {
                        style = changes[next++].second;
                    }
                };
                applyUpTo(0);
                out += "<" + std::to_string(style) + ">";
                shown = style;
                for (; next < changes.size() && changes[next].first < event.text.size();) {
                    std::size_t at = changes[next].first;
                    applyUpTo(at);
                    if (style == shown) continue;
                    appendVisible(out, event.text.substr(from, at - from));
                    out += "<" + std::to_string(style) + ">";
                    shown = style;
                    from = at;
                }
                appendVisible(out, event.text.substr(from));
                // Changes at the end hold for the next paragraph.
                applyUpTo(event.text.size());
                changes.clear();
                out += event.lineEnd ? "|\n" : ".\n";
                break;
            }
        }
    }
    out += "[result " + std::to_string(reading.result) + "]\n";
    return out;
}

}  // namespace tessel::testing
