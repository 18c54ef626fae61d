// Fuzzes the RTF reader in memory: any input must end in 0 or one of the
// reader's failure codes, within bounded memory, and every paragraph must go
// through a per-line step the way the jobs run it. Read again by a sink that
// takes paragraphs as Windows 1252 bytes, as the line writer does, the
// input must give the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "frame/rtf_byte_source.h"
#include "frame/rtf_reader.h"
#include "platform/code_page_codec.h"

namespace {

using tessel::frame::MemoryByteSource;
using tessel::frame::RtfParagraphSink;
using tessel::frame::RtfReader;

// Stands in for a job's line writer: a step that grows the line, as the
// entity encoder does, and a count of what would be written.
class CountingSink final : public RtfParagraphSink {
  public:
    int paragraph(std::string& line, bool lineEnd) override {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (static_cast<unsigned char>(line[i]) >= 0xA0) {
                line.replace(i, 1, "&#;");
                i += 2;
            }
        }
        written += line.size() + (lineEnd ? 1 : 0);
        return 0;
    }
    std::size_t written = 0;
};

// Keeps the text as UTF-8, taking paragraphs as bytes of `codePage` when
// it is not null.
class TextSink final : public RtfParagraphSink {
  public:
    explicit TextSink(const tessel::platform::CodePageCodec* codePage) : codePage_(codePage) {}
    int paragraph(std::string& line, bool lineEnd) override {
        text += line;
        text += lineEnd ? '|' : '.';
        return 0;
    }
    const tessel::platform::CodePageCodec* textCodePage() const override { return codePage_; }
    std::string text;

  private:
    const tessel::platform::CodePageCodec* codePage_;
};

std::string textOf(std::string_view bytes, const tessel::platform::CodePageCodec* codePage,
                   int& result) {
    MemoryByteSource source(bytes);
    TextSink sink(codePage);
    RtfReader reader(source, sink);
    result = reader.read();
    return sink.text;
}

bool isReaderResult(int result) {
    return result == 0 || (result <= -401 && result >= -405 && result != -403);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MemoryByteSource source(bytes);
    CountingSink sink;
    RtfReader reader(source, sink);
    int result = reader.read();
    if (!isReaderResult(result)) std::abort();
    if (reader.depth() > RtfReader::kMaxGroupDepth) std::abort();

    int utf8Result = 0;
    int bytesResult = 0;
    if (textOf(bytes, nullptr, utf8Result) !=
            textOf(bytes, &tessel::platform::CodePageCodec::windows1252(), bytesResult) ||
        utf8Result != bytesResult) {
        std::abort();
    }
    return 0;
}
