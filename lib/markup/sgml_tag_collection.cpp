#include "markup/sgml_tag_collection.h"

#include "frame/error_log.h"
#include "frame/line_reader.h"
#include "frame/return_codes.h"
#include "markup/html_codes.h"
#include "markup/joined_line_writer.h"
#include "markup/sgml_line_extraction.h"
#include "markup/sgml_markup_state.h"
#include "markup/sgml_scan.h"
#include "markup/sorted_string_list.h"
#include "platform/streams.h"

namespace tessel::markup {

namespace {

// Joins the pieces of the reader into one line; false at the end of the file
// with nothing left.
bool readLine(frame::LineReader& reader, std::string& line, std::string& piece) {
    line.clear();
    bool more = true;
    while (more) {
        more = reader.readChunk(piece);
        line += piece;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            return true;
        }
    }
    return !line.empty();
}

}  // namespace

void reportUnplacedMarkup(frame::ErrorLog& log, int& changeCount, std::string_view text,
                          std::size_t lineNumber) {
    SgmlMarkupState& state = sgmlMarkupState();
    std::string line = std::to_string(lineNumber);
    if (state.unplacedStart) log.report(kUnplacedTagStart, changeCount, text, line);
    if (state.missingNet) log.report(kMissingNullEndTag, changeCount, text, line);
    state.unplacedStart = false;
    state.missingNet = false;
}

// A line of a tag file that is a tag only where markup before it gives it
// a meaning: a null end tag or the end of a marked section.
bool isContextTag(std::string_view line) {
    return line == "/" || line == sgml::kSectionEnd;
}

int collectSgmlTags(const std::string& path, SortedStringList& list, frame::ErrorLog& log,
                    TagSource source) {
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Text)) return frame::kCannotOpenInput;
    SgmlMarkupState& state = sgmlMarkupState();
    state.startFile();

    frame::LineReader reader(input);
    std::string line;
    std::string piece;
    const std::size_t sizeBefore = list.size();
    // Counted by the list: a line with a message adds its tags all the same.
    int ignoredCount = 0;
    std::size_t lineNumber = 0;
    while (readLine(reader, line, piece)) {
        trimTrailingBlanks(line);
        ++lineNumber;
        if (source == TagSource::TagFile) {
            state.netElements = 0;
            state.includedSections = 0;
            if (!state.textOpen() && isContextTag(line)) {
                if (int inserted = list.insert(line); inserted < 0) return inserted;
                continue;
            }
        }
        int result = extractSgmlTags(line, &list);
        if (int code = log.report(result, ignoredCount, line); code < 0) return code;
        if (source == TagSource::TagFile) {
            state.unplacedStart = false;
            state.missingNet = false;
        } else {
            reportUnplacedMarkup(log, ignoredCount, line, lineNumber);
        }
        if (!state.carryOver.empty()) state.carryOver += ' ';
    }
    if (!state.carryOver.empty()) {
        state.carryOver.pop_back();  // the join after the last line
        log.report(kTagWithNoEnd, ignoredCount, state.carryOver);
    }
    state.startFile();
    // A read error must not pass for the end of the file: a tag file
    // rewritten from part of its tags would lose the rest.
    if (input.failed()) return frame::kCannotOpenInput;
    return static_cast<int>(list.size() - sizeBefore);
}

}  // namespace tessel::markup
