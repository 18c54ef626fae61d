// The RTF-back exports: each composes the RTF reader of the frame with the
// per-line step of its format.
#include <string>

#include "exports/export_guard.h"
#include "frame/return_codes.h"
#include "frame/rtf_to_text_job.h"
#include "markup/html_entities.h"
#include "tessel_cat.h"

namespace tessel::exports {

namespace {

using frame::LineStep;

LineStep entityStep(int mode) {
    return [mode](std::string& line) { return markup::funcCharsToHTMLEntities(line, mode); };
}

// The per-line step of a function code: the entity encoder for HTML and SGML
// (the tags are text again, so only characters from 0x80 up are encoded),
// none for the text formats.
LineStep lineStepFor(int functionCode) {
    switch (functionCode) {
        case frame::kRtfToHtml:
        case frame::kRtfToSgml:
            return entityStep(markup::kEntitiesNamedMarkup);
        case frame::kRtfToCompatibleHtml:
            return entityStep(markup::kEntitiesCompatibleMarkup);
        default:
            return {};
    }
}

int runGuarded(const char* input, int functionCode, const char* extension) {
    return runExport([&]() -> int {
        return frame::readRtfWriteText(input, functionCode, extension, lineStepFor(functionCode));
    });
}

}  // namespace

}  // namespace tessel::exports

using tessel::exports::runGuarded;
namespace fc = tessel::frame;

extern "C" {

int funciReadRTFWriteTextParser(const char* input, int function, const char* extension) {
    // Multilingual HTML needs its charset step, which the multilingual
    // exports compose.
    if (function == fc::kRtfToHtmlMultiLingual) return fc::kInvalidFunction;
    return runGuarded(input, function, extension);
}

int f_iRTF2Text(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToText, extension);
}

int f_iRTF2HTML(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToHtml, extension);
}

int f_iRTF2CompatibleHTML(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToCompatibleHtml, extension);
}

int f_iRTF2SGML(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToSgml, extension);
}

int f_iRTF2PageMaker(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToPageMaker, extension);
}

int f_iRTF2XPress(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToXPress, extension);
}

int f_iVentura4RTF2Text(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToVentura4, extension);
}

}  // extern "C"
