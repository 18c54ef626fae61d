#include "markup/html_line_markup.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "frame/rtf_writer.h"
#include "markup/entity_wrapping.h"
#include "markup/html_codes.h"
#include "markup/html_markup_state.h"
#include "markup/html_tag_classifier.h"
#include "markup/marked_line.h"
#include "markup/nested_tag_end.h"
#include "markup/one_pass_decoding.h"
#include "platform/byte_scan.h"
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
HtmlBlock blockStartingAt(std::string_view text, std::size_t pos, std::size_t next) {
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

// The span of the tag from `start` to `end`, `afterBracket` being the first
// byte after its "<" that is not a blank: a "/" there makes it a closing
// tag, whose name follows the blanks after the "/".
TagSpan tagSpan(std::string_view text, std::size_t start, std::size_t afterBracket,
                std::size_t end) {
    TagSpan tag{start, afterBracket, end, false};
    if (afterBracket < text.size() && text[afterBracket] == '/') {
        tag.closing = true;
        tag.namePos = skipBlanks(text, afterBracket + 1);
    }
    return tag;
}

// The user's entries first, then the built-in table.
int classifyTag(MarkedLine& line, TagSpan& tag, const UserTagList* userTags) {
    if (userTags != nullptr) {
        if (int result = classifyByUserTags(line, tag, *userTags); result != 0) return result;
    }
    return classifyByBuiltInTable(line, tag);
}

// Sets the PRE flag as marking a tag of the same bytes did before.
void switchPre(HtmlMarkupState& state, HtmlTagMarkings::PreSwitch pre) {
    if (pre != HtmlTagMarkings::PreSwitch::None) state.pre = pre == HtmlTagMarkings::PreSwitch::On;
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
            TagSpan tag = tagSpan(text, pos, afterBracket, end);
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
    // the positions).
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
            switchPre(state_, known->pre);
            if (known->result > 0) tag.start = tag.end;
            return known->result;
        }
        // The classification moves `tag.start` past the tag it wrapped.
        const std::size_t start = tag.start;
        WrapLog log;
        marked_.logWraps(&log);
        const int result = classify(tag);
        marked_.logWraps(nullptr);
        if (result >= 0) {
            markings.keep(bytes, length, result, log, start, HtmlTagMarkings::preSwitchOf(tag));
        }
        return result;
    }

    int classify(TagSpan& tag) { return classifyTag(marked_, tag, state_.userTags); }

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

// One past the ">" that ends the tag opening at `start`, where the tag can
// be marked up in the one pass over its line: npos when a "<" (a nested tag)
// or an "&" comes first, or the line ends, or with EscapedBytes::Escaped a
// byte that RTF escapes. The text is followed by a chunk of bytes that are
// none of these (OnePassDecoding::kTextPadding).
template <EscapedBytes kEscaped>
std::size_t plainTagEnd(std::string_view text, std::size_t start) {
    using namespace platform::detail;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    std::size_t pos = start + 1;
    while (pos < text.size()) {
        const Chunk chunk = loadChunk(bytes + pos);
        ChunkMask marks = bytesEqual(chunk, '<') | bytesEqual(chunk, '>') | bytesEqual(chunk, '&');
        if constexpr (kEscaped == EscapedBytes::Escaped) marks |= frame::rtfEscapeCandidates(chunk);
        if (marks == 0) {
            pos += kChunkSize;
            continue;
        }
        pos += firstMarked(marks);
        const char byte = text[pos];
        if (byte == '>') return pos + 1;
        if (byte == '<' || byte == '&' || frame::isRtfEscaped(byte)) break;
        ++pos;  // a candidate that RTF keeps as it stands
    }
    return std::string_view::npos;
}

// Marks up the tags of a line in the one pass over it (OnePassDecoding). A
// tag that ends on its line, holds no other "<", no "&" and no byte that RTF
// escapes, and opens no block, has the same bytes before and after its
// line's entities are decoded: it is wrapped as a tag of the same bytes was
// wrapped before, or classified on its own (its marking depends on its bytes
// alone, as HtmlTagMarkings::serve() tells) and kept. At any other tag, and
// at a classification that ends in a message, the pass gives up.
class OnePassTags {
  public:
    static constexpr bool kMarksTags = true;

    explicit OnePassTags(HtmlMarkupState& state) : state_(state) {}

    template <EscapedBytes kEscaped, typename Pass>
    bool take(Pass& pass) {
        const std::string_view text = pass.text();
        const std::size_t start = pass.position();
        std::size_t end = pass.closeAhead();
        if (end == 0) end = plainTagEnd<kEscaped>(text, start);
        if (end == std::string_view::npos) return false;
        const char* bytes = text.data() + start;
        const std::size_t length = end - start;
        // Bytes kept as a tag open no block: whether "<" opens one depends
        // on the bytes up to the first ">" alone.
        if (const HtmlTagMarkings::Marking* known = state_.tagMarkings.find(bytes, length)) {
            writeKnown(pass, length, *known);
        } else if (!classifyNew(pass, start, length)) {
            return false;
        }
        ++count_;
        return true;
    }

    int count() const { return count_; }
    // Whether a tag was not found in the entries (and was wrapped whole).
    bool metUnknownTag() const { return unknownTag_; }

  private:
    template <typename Pass>
    void writeKnown(Pass& pass, std::size_t length, const HtmlTagMarkings::Marking& known) {
        char* out = pass.reserve(sizeof known.output);
        std::memcpy(out, known.output, sizeof known.output);
        pass.took(length, known.outputLength);
        switchPre(state_, known.pre);
        if (known.result == 0) unknownTag_ = true;
    }

    // Classifies the tag of `length` bytes from `start` and keeps how it was
    // marked; false where the pass gives up: the "<" opens a block, or the
    // classification ends in a message.
    template <typename Pass>
    bool classifyNew(Pass& pass, std::size_t start, std::size_t length) {
        const std::string_view text = pass.text();
        const std::size_t next = skipBlanks(text, start + 1);  // at the ">" at the latest
        if (blockStartingAt(text, start, next) != HtmlBlock::None) return false;
        const char* bytes = text.data() + start;
        const std::size_t afterBracket = next - start;
        std::string source = std::move(state_.tagSource);
        source.assign(bytes, length);
        MarkedLine alone(std::move(source), std::move(state_.tagBuffer));
        TagSpan tag = tagSpan(alone.source(), 0, afterBracket, length);
        WrapLog log;
        alone.logWraps(&log);
        const int result = classifyTag(alone, tag, state_.userTags);
        alone.logWraps(nullptr);
        if (result < 0) {
            state_.tagSource = alone.releaseSource();
            return false;
        }
        state_.tagMarkings.keep(bytes, length, result, log, 0, HtmlTagMarkings::preSwitchOf(tag));
        if (result == 0) {
            alone.wrap(0, length, TagKind::Internal);
            unknownTag_ = true;
        }
        std::string marked = alone.finish();
        char* out = pass.reserve(marked.size());
        std::memcpy(out, marked.data(), marked.size());
        pass.took(length, marked.size());
        state_.tagBuffer = std::move(marked);
        state_.tagSource = alone.releaseSource();
        return true;
    }

    HtmlMarkupState& state_;
    int count_ = 0;
    bool unknownTag_ = false;
};

// Marks up `line` in one pass over it where it can (see OnePassDecoding and
// OnePassTags): no block or tag continues from an earlier line, and tags
// are marked by their bytes alone. False when it did not; the line and the
// state are then as they were, but for how tags were marked so far.
template <EscapedBytes kEscaped>
bool markUpInOnePass(std::string& line, int& result) {
    HtmlMarkupState& state = htmlMarkupState();
    if (state.block != HtmlBlock::None || !state.carryOver.empty() ||
        !state.tagMarkings.serve(state.userTags)) {
        return false;
    }
    OnePassTags tags(state);
    int entities = 0;
    int message = 0;
    if (!decodeAndWrapInOnePass<kEscaped>(line, tags, entities, message)) return false;
    if (tags.metUnknownTag()) {
        result = kUnknownHtmlTag;
    } else {
        result = message != 0 ? message : entities + tags.count();
    }
    return true;
}

}  // namespace

int funcMarkUpHTMLLine(std::string& line) {
    if (int result = 0; markUpInOnePass<EscapedBytes::Kept>(line, result)) return result;
    int message = 0;
    int entities = decodeAndWrapEntities(line, message);
    return markUpHtmlTags(line, entities, message);
}

bool escapeAndMarkUpHtmlLine(std::string& line, int& result) {
    if (markUpInOnePass<EscapedBytes::Escaped>(line, result)) return true;
    int entities = 0;
    int message = 0;
    if (!escapeDecodeAndWrapEntities(line, entities, message)) return false;
    result = markUpHtmlTags(line, entities, message);
    return true;
}

int markUpHtmlTags(std::string& line, int entities, int message) {
    return LineMarkup(line, htmlMarkupState(), entities, message)();
}

}  // namespace tessel::markup
