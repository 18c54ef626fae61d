#include "markup/sgml_markup_state.h"

namespace tessel::markup {

std::size_t SgmlMarkupState::continueOpenText(std::string_view line, bool rtfEscaped,
                                              sgml::Piece& kind) {
    sgml::Finished done;
    sgml::ScanOptions options{xml, rtfEscaped};
    open.inName = false;  // the line break ends the name of an open tag
    std::size_t end = sgml::finishMarkup(line, 0, open, options, done);
    if (end == std::string_view::npos) {
        carryOver += line;
        return end;
    }
    carryOver.append(line.substr(0, end));
    kind = done.kind;
    noteFinished(done, carryOver);
    return end;
}

void SgmlMarkupState::noteFinished(const sgml::Finished& done, std::string_view text) {
    open.kind = sgml::Markup::None;
    if (done.enablesNet) ++netElements;
    if (done.opensSection) ++includedSections;
    if (text.size() > 6 && text.substr(0, 5) == "<?xml" &&
        (text[5] == ' ' || text[5] == '\t' || text[5] == '\\')) {
        xml = true;
    }
}

void SgmlMarkupState::endLine() {
    if (netElements > 0) missingNet = true;
    netElements = 0;
}

void SgmlMarkupState::closeOpenText() {
    carryOver.clear();
    open = sgml::OpenMarkup{};
}

void SgmlMarkupState::startFile() {
    closeOpenText();
    netElements = 0;
    includedSections = 0;
    xml = false;
    unplacedStart = false;
    missingNet = false;
}

void SgmlMarkupState::reset() {
    startFile();
    carryOver.shrink_to_fit();
    externalTags = nullptr;
    lineBuffer.clear();
    lineBuffer.shrink_to_fit();
}

SgmlMarkupState& sgmlMarkupState() {
    static SgmlMarkupState state;
    return state;
}

}  // namespace tessel::markup
