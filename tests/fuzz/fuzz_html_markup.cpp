// Marks up a sequence of HTML lines (the input split at its line ends) as the
// HTML job does, and checks that the marked-up text, read in order with what
// is left open at the end, opens and closes its groups in pairs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "frame/rtf_writer.h"
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
        if (!frame::escapeRtf(line)) std::abort();
        markup::funcMarkUpHTMLLine(line);
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
