// Reads a marked-up RTF file one paragraph at a time with the runs of its
// protected styles: the back-conversions' RTF reader supplies the text (so
// the check sees exactly what the back-conversion writes) and tells where
// the character style changes; the style sheet tells which styles protect.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/rtf_byte_source.h"
#include "frame/rtf_reader.h"
#include "platform/streams.h"
#include "verify/style_sheet.h"
#include "verify/styled_paragraph.h"

namespace tessel::verify {

class StyledParagraphReader final : private frame::RtfParagraphSink,
                                    private frame::RtfStyleObserver {
  public:
    explicit StyledParagraphReader(const std::string& path);
    ~StyledParagraphReader() override;
    StyledParagraphReader(const StyledParagraphReader&) = delete;
    StyledParagraphReader& operator=(const StyledParagraphReader&) = delete;

    // The next paragraph into `out`; false at the end of the document or
    // when it cannot be read further (error() tells).
    bool next(StyledParagraph& out);

    // 0, or the return code of the failure: -101 (cannot open), -406 (not
    // RTF), -401 to -405 (corrupt RTF), -103 (out of memory).
    int error() const { return error_; }
    // The document's "\ansicpgN", 0 when it has none.
    int documentCodePage() const { return documentCodePage_; }
    const StyleSheet& styles() const { return sheet_; }

  private:
    int paragraph(std::string& line, bool lineEnd) override;
    void documentCodePage(int codePage) override;
    void characterStyle(std::int32_t style, std::size_t offset) override;

    void fillParagraph(StyledParagraph& out);
    void fail(int code);

    platform::InputStream input_;
    std::unique_ptr<frame::StreamByteSource> source_;
    std::unique_ptr<frame::RtfReader> reader_;
    StyleSheet sheet_;
    int error_ = 0;
    bool finished_ = false;
    int documentCodePage_ = 0;
    std::size_t paragraphs_ = 0;
    StyledParagraph* target_ = nullptr;
    std::string line_;
    // Style changes of the paragraph being read: (byte offset, style).
    std::vector<std::pair<std::uint32_t, std::int32_t>> changes_;
    std::int32_t style_ = frame::kNoCharacterStyle;
    std::vector<std::uint32_t> mapped_;
    // The paragraph's first style is the one carried over from the paragraph
    // before (not set again at its start).
    bool firstCarried_ = true;
    std::uint32_t vanished_ = 0;  // hidden protected runs of the paragraph
};

}  // namespace tessel::verify
