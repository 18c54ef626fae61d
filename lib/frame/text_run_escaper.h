// Writes the characters of translated text that a tagged text format reads
// as markup ("<", "@", ...) as that format's escapes, so that the file the
// back-conversion writes parses in its own format again and gives the text
// back. Only text runs are escaped: the runs in a tag style (the tags the
// mark-up protected) are written as they stand. The runs come from the
// reader's style changes (RtfStyleObserver) and the document's style sheet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/rtf_reader.h"
#include "frame/rtf_style_sheet.h"
#include "resources/back_conversion_texts.h"

namespace tessel::frame {

// The escapes of a function code's format; null for formats without them.
const resources::TextEscapeTable* textEscapeTable(int functionCode);

class TextRunEscaper final : public RtfStyleObserver {
  public:
    TextRunEscaper(const resources::TextEscapeTable& table, RtfStyleSheet sheet);

    void characterStyle(std::int32_t style, std::size_t offset) override;

    // Escapes the text runs of `line`, the paragraph just read (UTF-8), in
    // place; the characters the format has no escape for are written as
    // kUnescapableCharacterFallback and added to `unescaped` (each once).
    // The style changes told since the last call are those of `line`.
    void escape(std::string& line, std::vector<char32_t>& unescaped);

  private:
    struct Run {
        std::size_t begin;
        std::size_t end;
        bool tag;
    };

    void collectRuns(std::size_t size);
    const resources::TextEscapeTable& tableAfter(std::size_t run) const;
    void escapeRun(const std::string& line, std::size_t run, std::vector<char32_t>& unescaped);
    void noteTableTag(std::string_view tag);
    char writtenByteAt(const std::string& line, std::size_t at) const;
    bool escapes(const resources::TextEscape& escape, const resources::TextEscapeTable& table,
                 const std::string& line, std::size_t at) const;

    const resources::TextEscapeTable& table_;
    RtfStyleSheet sheet_;
    std::string escapable_;  // the characters of the tables, for a quick test
    std::int32_t style_ = kNoCharacterStyle;
    std::vector<std::pair<std::size_t, std::int32_t>> changes_;
    std::vector<Run> runs_;
    // Where the last paragraph tag end of the paragraph being escaped begins.
    std::size_t lastParagraphTagEnd_ = std::string::npos;
    std::string out_;
    // The last byte written closes a code: a tag run or an escape that ends
    // in ">" (not the doubled ">>").
    bool afterCode_ = false;
    // Between a table's start and end tags (tables span paragraphs).
    bool inTable_ = false;
    bool inCell_ = false;  // a cell of its own in the table
};

}  // namespace tessel::frame
