#include "markup/sgml_line_markup.h"

#include <cstring>
#include <string_view>

#include "frame/rtf_writer.h"
#include "markup/entity_wrapping.h"
#include "markup/html_codes.h"
#include "markup/sgml_markup_state.h"
#include "markup/sgml_scan.h"
#include "markup/sorted_string_list.h"
#include "resources/rtf_texts.h"

namespace tessel::markup {

namespace res = tessel::resources;
using frame::TagKind;

namespace {

// The two forms a line break takes inside a tag continued over lines: the
// job's separator, and an escaped line end in the file's last unit.
constexpr std::string_view kLineBreakMarkers[] = {res::kParagraphEnd, res::kEscapedLineEnd};

// The text a tag is looked up by: a tag continued over lines with one blank
// where each line broke, as the tag collection stores it.
std::string_view lookupKey(std::string_view tag, std::string& buffer) {
    buffer.clear();
    std::size_t pos = 0;
    while (pos < tag.size()) {
        bool marker = false;
        for (std::string_view form : kLineBreakMarkers) {
            if (tag.substr(pos, form.size()) == form) {
                buffer += ' ';
                pos += form.size();
                marker = true;
                break;
            }
        }
        if (!marker) buffer += tag[pos++];
    }
    return buffer;
}

class SgmlLineMarkup {
  public:
    SgmlLineMarkup(std::string& line, SgmlMarkupState& state)
        : line_(line),
          state_(state),
          // Only the last unit of a file holds a line break of its own.
          lineHoldsBreaks_(std::memchr(line.data(), '\n', line.size()) != nullptr) {
        marked_.swap(state_.lineBuffer);
        marked_.clear();
        marked_.reserve(line_.size() + line_.size() / 2 + 64);
    }

    int operator()() {
        std::size_t pos = 0;
        if (!state_.textOpen() || finishOpenText(pos)) scan(pos);
        state_.endLine();
        int message = 0;
        count_ += decodeAndWrapEntities(marked_, message);
        line_.swap(marked_);
        state_.lineBuffer.swap(marked_);
        if (stray_) return kTagWithNoStart;
        if (message != 0) return message;
        return count_;
    }

  private:
    // A piece open since an earlier line goes on at the start of this one;
    // once it ends it is wrapped whole, with its line breaks. False when it
    // is still open at the end of the line.
    bool finishOpenText(std::size_t& pos) {
        sgml::Piece kind = sgml::Piece::Tag;
        pos = state_.continueOpenText(line_, true, kind);
        if (pos == std::string::npos) return false;
        const std::string& text = state_.carryOver;
        wrap(kind == sgml::Piece::Tag ? kindOf(text, true) : TagKind::External, text);
        state_.closeOpenText();
        return true;
    }

    void scan(std::size_t pos) {
        stray_ = sgml::scanLine(line_, pos, state_, true,
                                [this](sgml::Piece kind, std::string_view text) {
                                    switch (kind) {
                                        case sgml::Piece::Text:
                                            marked_.append(text);
                                            break;
                                        case sgml::Piece::Comment:
                                        case sgml::Piece::Block:
                                            wrap(TagKind::External, text);
                                            break;
                                        case sgml::Piece::Tag:
                                            wrap(kindOf(text, lineHoldsBreaks_), text);
                                            break;
                                    }
                                    return true;
                                });
    }

    // `mayHoldBreaks`: the tag may have been continued over lines.
    TagKind kindOf(std::string_view tag, bool mayHoldBreaks) {
        const SortedStringList* external = state_.externalTags;
        if (external == nullptr) return TagKind::Internal;
        std::string_view key = mayHoldBreaks ? lookupKey(tag, keyBuffer_) : tag;
        if (external->contains(key)) {
            return TagKind::External;
        }
        return TagKind::Internal;
    }

    void wrap(TagKind kind, std::string_view text) {
        frame::appendTagRun(marked_, kind, text);
        ++count_;
    }

    std::string& line_;
    SgmlMarkupState& state_;
    std::string marked_;
    std::string keyBuffer_;
    bool lineHoldsBreaks_;
    int count_ = 0;
    bool stray_ = false;
};

}  // namespace

int funcMarkUpSGMLLine(std::string& line) {
    return SgmlLineMarkup(line, sgmlMarkupState())();
}

}  // namespace tessel::markup
