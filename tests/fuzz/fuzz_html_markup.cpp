// Marks up a sequence of HTML lines (the input split at its line ends) as the
// HTML job does, and checks that the marked-up text, read in order with what
// is left open at the end, opens and closes its groups in pairs; that the
// one-pass escaping and entity wrapping gives what escaping, decoding and
// wrapping one after the other give; and that marking up a line as the job
// does (in one pass over it where it can) gives the line, result and state
// that those steps and classifying every tag give.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "frame/rtf_writer.h"
#include "markup/entity_wrapping.h"
#include "markup/html_entities.h"
#include "markup/html_line_markup.h"
#include "markup/html_markup_state.h"
#include "markup/html_tag_file.h"
#include "resources/rtf_texts.h"
#include "rtf_groups.h"

namespace {

using namespace tessel;

// A few user entries, among them class letters the markup must reject.
const markup::UserTagList& userTags() {
    static markup::UserTagList* tags = [] {
        auto* list = new markup::UserTagList;
        const char* rows[][3] = {{"FORM", "D", ""},
                                 {"X", "S", ""},
                                 {"IMG", "SD", " ALT="},
                                 {"", "E", ""},
                                 {"B", "SI", ""}};
        for (const auto& row : rows) {
            markup::funciLLInsertAfter(list->names.head(), row[0]);
            markup::funciLLInsertAfter(list->classes.head(), row[1]);
            markup::funciLLInsertAfter(list->attributes.head(), row[2]);
        }
        return list;
    }();
    return *tags;
}

// The line as escapeDecodeAndWrapEntities should leave it, in three steps.
std::string inThreeSteps(std::string line, int& count, int& message) {
    if (!frame::escapeRtf(line)) std::abort();
    markup::decodeEntitiesForMarkup(line);
    count = markup::wrapRemainingEntities(line, message);
    return line;
}

// What a line's mark-up leaves in the state for the next line.
struct LineState {
    markup::HtmlBlock block;
    bool scriptEndPending;
    std::string carryOver;
    bool pre;
    bool operator==(const LineState&) const = default;
};

LineState lineState(const markup::HtmlMarkupState& state) {
    return {state.block, state.scriptEndPending, state.carryOver, state.pre};
}

void restore(markup::HtmlMarkupState& state, const LineState& saved) {
    state.block = saved.block;
    state.scriptEndPending = saved.scriptEndPending;
    state.carryOver = saved.carryOver;
    state.pre = saved.pre;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    markup::HtmlMarkupState& state = markup::htmlMarkupState();
    state.reset();
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (!input.empty() && (input.front() & 1) != 0) state.userTags = &userTags();

    long depth = 0;
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = input.size();
        std::string line(input.substr(start, end - start));
        const LineState before = lineState(state);
        std::string asTheJobDoes = line;
        int jobResult = 0;
        if (!markup::escapeAndMarkUpHtmlLine(asTheJobDoes, jobResult)) std::abort();
        const LineState afterJob = lineState(state);
        restore(state, before);

        int expectedCount = 0;
        int expectedMessage = 0;
        const std::string expected = inThreeSteps(line, expectedCount, expectedMessage);
        int count = 0;
        int message = 0;
        if (!markup::escapeDecodeAndWrapEntities(line, count, message)) std::abort();
        if (line != expected || count != expectedCount || message != expectedMessage) std::abort();
        state.tagMarkings.enable(false);
        const int result = markup::markUpHtmlTags(line, count, message);
        state.tagMarkings.enable(true);
        if (line != asTheJobDoes || result != jobResult || lineState(state) != afterJob) {
            std::abort();
        }
        depth = fuzz::groupDepth(line, depth);
        if (depth < 0) std::abort();
        if (!state.carryOver.empty()) state.carryOver += resources::kParagraphEnd;
        start = end + 1;
    }
    // What is still open is written as one external group at the end.
    if (!state.carryOver.empty()) depth = fuzz::groupDepth("{" + state.carryOver + "}", depth);
    if (depth != 0) std::abort();
    state.reset();
    return 0;
}
