#include "markup/joined_line_writer.h"

#include "frame/rtf_writer.h"
#include "resources/rtf_texts.h"

namespace tessel::markup {

namespace res = tessel::resources;

namespace {

constexpr std::string_view kEscapedTab = "\\tab ";
constexpr std::string_view kLineBreak = "\n";

}  // namespace

void trimTrailingBlanks(std::string& line) {
    // A plain loop: most lines end in at most a blank or two, where a set
    // search costs a call per byte.
    std::size_t end = line.size();
    while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
    if (end != line.size()) line.resize(end);
}

std::size_t leadingBlanks(std::string_view line) {
    std::size_t pos = 0;
    for (;;) {
        if (pos < line.size() && line[pos] == ' ') {
            ++pos;
        } else if (line.substr(pos).starts_with(kEscapedTab)) {
            pos += kEscapedTab.size();
        } else {
            return pos;
        }
    }
}

JoinedLineWriter::JoinedLineWriter(platform::OutputStream& output, std::string& carryOver,
                                   Joining joining)
    : output_(output), carryOver_(carryOver), joining_(joining) {}

std::string_view JoinedLineWriter::separator() const {
    return joining_ == Joining::Paragraphs ? res::kParagraphEnd : kLineBreak;
}

std::size_t JoinedLineWriter::writeJoin(std::string_view line, bool keepLineBreak,
                                        bool breakInCarried) {
    if (joining_ == Joining::Paragraphs && breakInCarried) {
        output_.put('\n');
        return 0;
    }
    if (joining_ == Joining::Paragraphs && !keepLineBreak) {
        std::size_t blanks = leadingBlanks(line);
        std::string_view rest = line.substr(blanks);
        if (!rest.empty() && !rest.starts_with(res::kExternalTagOpen)) {
            output_.put(' ');
            return blanks;
        }
    }
    output_.write(separator());
    return 0;
}

void JoinedLineWriter::writeLine(std::string& line, bool keepLineBreak, bool breakInCarried) {
    if (!carryOver_.empty()) {
        // The line break inside the unclosed tag or block.
        carryOver_ += separator();
        if (line.empty()) {
            // It began this line: nothing was written for the line, so its
            // join is still to be written, by the line that closes it.
            if (!breakInCarried) joinPending_ = true;
            return;
        }
    }
    if (line.empty()) {
        if (wroteSomething_) output_.write(separator());
        output_.write(separator());
        wroteSomething_ = false;
        return;
    }
    std::size_t dropped = 0;
    if (wroteSomething_) {
        dropped = writeJoin(line, keepLineBreak, breakInCarried && !joinPending_);
    }
    joinPending_ = false;
    output_.write(std::string_view(line).substr(dropped));
    wroteSomething_ = true;
}

void JoinedLineWriter::writeLast(std::string_view unit, bool breakInCarried) {
    bool bare = breakInCarried && !joinPending_;
    if (wroteSomething_) output_.write(bare ? kLineBreak : separator());
    output_.write(unit);
}

void JoinedLineWriter::writeUnclosed(std::string_view text) {
    if (joining_ != Joining::Paragraphs) return;
    std::string run;
    frame::appendTagRun(run, frame::TagKind::External, text);
    output_.write(run);
}

}  // namespace tessel::markup
