#include "markup/html_line_markup.h"

#include <cstring>
#include <string_view>

#include "frame/rtf_writer.h"
#include "markup/entity_wrapping.h"
#include "markup/html_codes.h"
#include "markup/html_markup_state.h"
#include "markup/html_tag_classifier.h"
#include "markup/marked_line.h"
#include "markup/nested_tag_end.h"
#include "resources/html_tag_table.h"
#include "resources/rtf_texts.h"

namespace tessel::markup {

namespace res = tessel::resources;
using frame::TagKind;

namespace {

constexpr std::string_view kCommentStart = "<!--";
constexpr std::string_view kCommentEnd = "-->";
constexpr std::string_view kServerBlockEnd = "%>";
constexpr std::string_view kScriptName = "SCRIPT";
constexpr std::string_view kPreName = res::kPreTagName;
// Comments that begin with these are do-not-translate markers, not comments.
constexpr std::string_view kMarkerComments[] = {"BOLOC", "EOLOC", "SOLOC"};

bool equalsIgnoringCase(std::string_view text, std::size_t pos, std::string_view word) {
    if (pos > text.size() || text.size() - pos < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(text[pos + i]);
        unsigned char b = static_cast<unsigned char>(word[i]);
        if (a >= 'a' && a <= 'z') a = static_cast<unsigned char>(a - ('a' - 'A'));
        if (a != b) return false;
    }
    return true;
}

std::size_t skipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    return pos;
}

enum class BlockEnd { Found, NotFound, ScriptEndWithoutBracket };

// Looks for the end of the open block from `from`; `end` is then just past it.
BlockEnd findBlockEnd(const std::string& text, std::size_t from, HtmlMarkupState& state,
                      std::size_t& end) {
    std::size_t found = std::string::npos;
    switch (state.block) {
        case HtmlBlock::Comment:
            found = text.find(kCommentEnd, from);
            if (found != std::string::npos) end = found + kCommentEnd.size();
            break;
        case HtmlBlock::ServerBlock:
            found = text.find(kServerBlockEnd, from);
            if (found != std::string::npos) end = found + kServerBlockEnd.size();
            break;
        case HtmlBlock::Script: {
            std::size_t search = from;
            if (!state.scriptEndPending) {
                // "</SCRIPT", blanks allowed between "<" and "/".
                for (search = text.find('<', from); search != std::string::npos;
                     search = text.find('<', search + 1)) {
                    std::size_t slash = skipBlanks(text, search + 1);
                    if (slash < text.size() && text[slash] == '/' &&
                        equalsIgnoringCase(text, slash + 1, kScriptName)) {
                        break;
                    }
                }
                if (search == std::string::npos) return BlockEnd::NotFound;
            }
            found = text.find('>', search);
            if (found == std::string::npos) return BlockEnd::ScriptEndWithoutBracket;
            end = found + 1;
            break;
        }
        case HtmlBlock::None:
            break;
    }
    return found == std::string::npos ? BlockEnd::NotFound : BlockEnd::Found;
}

// The block that a "<" at `pos` starts, if any; `next` is the first byte
// after it that is not a blank. Its first byte tells which block it can be.
HtmlBlock blockStartingAt(const std::string& text, std::size_t pos, std::size_t next) {
    if (next >= text.size()) return HtmlBlock::None;
    switch (text[next]) {
        case '!':
            if (next != pos + 1 || text.compare(pos, kCommentStart.size(), kCommentStart) != 0) {
                return HtmlBlock::None;
            }
            for (std::string_view marker : kMarkerComments) {
                if (equalsIgnoringCase(text, pos + kCommentStart.size(), marker)) {
                    return HtmlBlock::None;
                }
            }
            return HtmlBlock::Comment;
        case 'S':
        case 's':
            return equalsIgnoringCase(text, next, kScriptName) ? HtmlBlock::Script
                                                               : HtmlBlock::None;
        case '%':
            return HtmlBlock::ServerBlock;
        default:
            return HtmlBlock::None;
    }
}

// One past the ">" that ends the tag opening at `start`, or npos when the
// line ends first. Each "<" inside the tag counts as a nested tag.
std::size_t findTagEnd(const MarkedLine& line, std::size_t start, std::size_t& nestedTags) {
    std::size_t depth = 0;
    return findNestedTagEndWith(
        line.source(), start + 1, depth, nestedTags,
        [&line](std::size_t pos) { return line.findEither('<', '>', pos); });
}

class LineMarkup {
  public:
    // `entities` wrapped and the `message` of their wrapping so far.
    LineMarkup(std::string& line, HtmlMarkupState& state, int entities, int message)
        : line_(line),
          state_(state),
          marked_(std::move(line), std::move(state.lineBuffer)),
          count_(entities),
          message_(message) {}

    // Runs the markup and hands the source's memory back to the state.
    int operator()() {
        int result = run();
        state_.lineBuffer = marked_.releaseSource();
        return result;
    }

  private:
    int run() {
        std::size_t pos = 0;
        if (state_.block != HtmlBlock::None) {
            if (int result = 0; !passBlock(0, pos, result)) return result;
        } else if (!state_.carryOver.empty()) {
            // A tag left open on the previous line continues here.
            marked_.prependCarried(state_.carryOver);
            state_.carryOver.clear();
        }
        return scanTags(pos);
    }

    // Handles the open block from `start` (its "<", or 0 when it began on an
    // earlier line). True when it ended on this line (`pos` just past it);
    // false when the line ends inside it (`result` is then the line's result).
    bool passBlock(std::size_t start, std::size_t& pos, int& result) {
        std::size_t end = 0;
        BlockEnd found = findBlockEnd(marked_.source(), start, state_, end);
        if (found != BlockEnd::Found) {
            // The rest of the line belongs to the block; it waits in the
            // carry-over buffer until the block ends.
            if (found == BlockEnd::ScriptEndWithoutBracket) state_.scriptEndPending = true;
            state_.carryOver.append(marked_.source(), start);
            line_ = marked_.finish(start);
            result = found == BlockEnd::ScriptEndWithoutBracket ? kScriptEndWithoutBracket : count_;
            return false;
        }
        state_.block = HtmlBlock::None;
        state_.scriptEndPending = false;
        if (state_.carryOver.empty()) {
            marked_.wrap(start, end, TagKind::External);
        } else {
            // Lines of the block held back so far come first, in one group.
            marked_.copyUpTo(start);
            marked_.emit(frame::tagOpening(TagKind::External));
            marked_.emit(state_.carryOver);
            marked_.copyUpTo(end);
            marked_.emit(res::kTagClose);
            state_.carryOver.clear();
        }
        ++count_;
        pos = end;
        return true;
    }

    int scanTags(std::size_t pos) {
        const std::string& text = marked_.source();
        for (pos = marked_.find('<', pos); pos != std::string::npos; pos = marked_.find('<', pos)) {
            const std::size_t afterBracket = skipBlanks(text, pos + 1);
            if (HtmlBlock block = blockStartingAt(text, pos, afterBracket);
                block != HtmlBlock::None) {
                state_.block = block;
                state_.scriptEndPending = false;
                if (int result = 0; !passBlock(pos, pos, result)) return result;
                continue;
            }
            std::size_t end = findTagEnd(marked_, pos, nestedTags_);
            if (end == std::string::npos) return leaveTagOpen(pos);
            TagSpan tag{pos, 0, end, false};
            tag.namePos = afterBracket;
            if (tag.namePos < text.size() && text[tag.namePos] == '/') {
                tag.closing = true;
                tag.namePos = skipBlanks(text, tag.namePos + 1);
            }
            int result = markTag(tag);
            if (result < 0) {
                line_ = marked_.finish();
                return result;
            }
            if (result == 0) {
                marked_.wrap(tag.start, tag.end, TagKind::Internal);
                message_ = kUnknownHtmlTag;
                tag.start = tag.end;
            }
            ++count_;
            pos = tag.start;
        }
        line_ = marked_.finish();
        if (nestedTags_ > 0) return kNestedHtmlTag;
        if (message_ != 0) return message_;
        return count_;
    }

    // Wraps the tag as a tag of the same bytes was wrapped before, or
    // classifies it (the result of classify()). Left out: tags of lines
    // that hold carried text (an internal tag joins its lines, which moves
    // the positions), and "PRE" tags, which also switch the state.
    int markTag(TagSpan& tag) {
        const std::string& text = marked_.source();
        const char* bytes = text.data() + tag.start;
        const std::size_t length = tag.end - tag.start;
        HtmlTagMarkings& markings = state_.tagMarkings;
        if (marked_.holdsCarried() || !markings.serve(state_.userTags)) return classify(tag);
        if (const HtmlTagMarkings::Marking* known = markings.find(bytes, length)) {
            for (std::size_t i = 0; i < known->wrapCount; ++i) {
                const HtmlTagMarkings::Wrap& wrap = known->wraps[i];
                marked_.wrap(tag.start + wrap.start, tag.start + wrap.end, wrap.kind);
            }
            if (known->result > 0) tag.start = tag.end;
            return known->result;
        }
        // (A "PRE" tag is never kept, so none is found.)
        if (equalsIgnoringCase(text, tag.namePos, kPreName)) return classify(tag);
        // The classification moves `tag.start` past the tag it wrapped.
        const std::size_t start = tag.start;
        WrapLog log;
        marked_.logWraps(&log);
        const int result = classify(tag);
        marked_.logWraps(nullptr);
        if (result >= 0) markings.keep(bytes, length, result, log, start);
        return result;
    }

    // The user's entries first, then the built-in table.
    int classify(TagSpan& tag) {
        if (state_.userTags != nullptr) {
            if (int result = classifyByUserTags(marked_, tag, *state_.userTags); result != 0) {
                return result;
            }
        }
        return classifyByBuiltInTable(marked_, tag);
    }

    // The line ends inside the tag that opens at `start`.
    int leaveTagOpen(std::size_t start) {
        if (nestedTags_ > 0) {
            line_ = marked_.finish();
            return kNestedHtmlTag;
        }
        state_.carryOver.append(marked_.source(), start);
        line_ = marked_.finish(start);
        return count_;
    }

    std::string& line_;
    HtmlMarkupState& state_;
    MarkedLine marked_;
    int count_;
    int message_;
    std::size_t nestedTags_ = 0;
};

}  // namespace

int funcMarkUpHTMLLine(std::string& line) {
    int message = 0;
    int entities = decodeAndWrapEntities(line, message);
    return markUpHtmlTags(line, entities, message);
}

int markUpHtmlTags(std::string& line, int entities, int message) {
    return LineMarkup(line, htmlMarkupState(), entities, message)();
}

}  // namespace tessel::markup
