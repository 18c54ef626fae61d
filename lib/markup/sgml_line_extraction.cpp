#include "markup/sgml_line_extraction.h"

#include <string_view>

#include "frame/return_codes.h"
#include "markup/html_codes.h"
#include "markup/sgml_markup_state.h"
#include "markup/sgml_scan.h"
#include "markup/sorted_string_list.h"

namespace tessel::markup {

namespace {

class TagExtraction {
  public:
    TagExtraction(std::string& line, SortedStringList* list, SgmlMarkupState& state)
        : line_(line), list_(list), state_(state) {}

    int operator()() {
        std::size_t pos = 0;
        if (!state_.textOpen() || finishOpenText(pos)) scan(pos);
        state_.endLine();
        if (count_ < 0) return count_;
        if (list_ == nullptr) line_.swap(kept_);
        return stray_ ? kTagWithNoStart : count_;
    }

  private:
    // A piece open since an earlier line goes on at the start of this one:
    // a tag is kept whole, other markup dropped (its text was kept only to
    // quote it if it never ends). False when it is still open at the end of
    // the line.
    bool finishOpenText(std::size_t& pos) {
        sgml::Piece kind = sgml::Piece::Tag;
        pos = state_.continueOpenText(line_, false, kind);
        if (pos == std::string::npos) return false;
        if (kind == sgml::Piece::Tag) keep(state_.carryOver);
        state_.closeOpenText();
        return true;
    }

    // Tags are kept; running text, comments and other markup are dropped.
    void scan(std::size_t pos) {
        stray_ = sgml::scanLine(line_, pos, state_, false,
                                [this](sgml::Piece kind, std::string_view text) {
                                    if (kind == sgml::Piece::Tag) keep(text);
                                    return count_ >= 0;
                                });
    }

    void keep(std::string_view tag) {
        if (list_ != nullptr) {
            int inserted = list_->insert(tag);
            count_ = inserted < 0 ? inserted : count_ + inserted;
            return;
        }
        if (!kept_.empty()) kept_ += '\n';
        kept_ += tag;
        ++count_;
    }

    std::string& line_;
    SortedStringList* list_;
    SgmlMarkupState& state_;
    std::string kept_;
    int count_ = 0;
    bool stray_ = false;
};

}  // namespace

int extractSgmlTags(std::string& line, SortedStringList* list) {
    return TagExtraction(line, list, sgmlMarkupState())();
}

int funcExtractSGMLTags(std::string& line) {
    return extractSgmlTags(line, nullptr);
}

}  // namespace tessel::markup
