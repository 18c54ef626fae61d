// The RTF-back exports: each composes the RTF reader of the frame with the
// per-line step of its format and, for multilingual HTML, the charset step.
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "exports/export_guard.h"
#include "frame/dtp_text_headers.h"
#include "frame/encoding_choice.h"
#include "frame/return_codes.h"
#include "frame/rtf_to_text_job.h"
#include "markup/charset_step.h"
#include "markup/document_encoding.h"
#include "markup/html_entities.h"
#include "markup/source_reading.h"
#include "platform/code_pages.h"
#include "platform/streams.h"
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

// HTML and SGML in the encoding their tags declare (or the chosen code
// page where they declare none): written by the target encoder in that
// encoding, with numeric references for what it cannot hold, so without the
// entity step, which reads Windows 1252. A UTF-16 mark is written as its
// kept bytes and the UTF-8 file rewritten as UTF-16 at the end. Documents
// that declare Windows 1252, ISO 8859-1 or nothing keep the entity step.
void writeInDocumentEncoding(const char* input, frame::RtfBackSteps& steps) {
    if (input == nullptr) return;
    const markup::DocumentEncoding document = markup::documentEncodingOfRtfFile(input);
    const unsigned chosen = frame::encodingChoice().targetCodePage;
    markup::lastSourceEncodingReport() = markup::chosenCodePageReport(document, chosen);
    const int codePage = markup::backConversionCodePage(document, chosen);
    if (codePage == 0) return;
    steps.lineStep = {};
    steps.codePage = codePage;
    if (document.mark == markup::ByteOrderMark::Utf16LittleEndian ||
        document.mark == markup::ByteOrderMark::Utf16BigEndian) {
        steps.outputStep = [](const std::string& output, frame::ErrorLog&) {
            return markup::rewriteAsUtf16(output);
        };
    }
}

// True when the QuarkXPress file at `path` starts with a header that
// declares UTF-16.
bool xpressHeaderDeclaresUtf16(const std::string& path) {
    platform::InputStream file;
    if (!file.open(path, platform::StreamMode::Binary)) return false;
    char head[1024];
    const std::string_view text(head, file.read(head, sizeof head));
    file.close();
    const std::size_t firstEnd = std::min(text.find('\n'), text.size());
    const std::string_view first = text.substr(0, firstEnd);
    const std::string_view second = firstEnd < text.size() ? text.substr(firstEnd + 1) : "";
    auto withoutCr = [](std::string_view line) {
        line = line.substr(0, std::min(line.find('\n'), line.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        return line;
    };
    return frame::xpressHeaderEncoding(withoutCr(first), withoutCr(second)) ==
           frame::kXPressUtf16Encoding;
}

// QuarkXPress text that came in UTF-16 carries the mark's kept bytes in its
// header run: the file is written in UTF-8 (its header declares Unicode)
// and rewritten as UTF-16 at the end. One that came in UTF-16 without a
// mark has only its header's "<e8>" to say so: it is rewritten as
// little-endian UTF-16 without a mark.
void writeUtf16WhereMarked(const char* input, frame::RtfBackSteps& steps) {
    if (input == nullptr) return;
    const markup::DocumentEncoding document = markup::documentEncodingOfRtfFile(input);
    if (document.mark == markup::ByteOrderMark::Utf16LittleEndian ||
        document.mark == markup::ByteOrderMark::Utf16BigEndian) {
        steps.outputStep = [](const std::string& output, frame::ErrorLog&) {
            return markup::rewriteAsUtf16(output);
        };
    } else if (document.mark == markup::ByteOrderMark::None) {
        steps.outputStep = [](const std::string& output, frame::ErrorLog&) {
            return xpressHeaderDeclaresUtf16(output) ? markup::rewriteAsUnmarkedUtf16(output) : 0;
        };
    }
}

// A text format written in UTF-8 because its document said so while another
// code page was chosen: the report line names the mark's encoding, or UTF-8
// for a QuarkXPress header that declares Unicode.
void reportDeclaredOverChosen(const char* input) {
    markup::DocumentEncoding document = markup::documentEncodingOfRtfFile(input);
    if (document.mark == markup::ByteOrderMark::None) {
        document.codePage = frame::declaredOverChosenCodePage();
    }
    markup::lastSourceEncodingReport() =
        markup::chosenCodePageReport(document, frame::encodingChoice().targetCodePage);
}

// The job with the steps of its function code. Multilingual HTML (515)
// keeps the chosen code page's bytes and ends with the charset step on the
// written file; the code page matters to no other code.
int runGuarded(const char* input, int functionCode, const char* extension,
               unsigned codePage = platform::kDefaultAnsiCodePage, const char* charset = nullptr) {
    return runExport([&]() -> int {
        frame::RtfBackSteps steps;
        // Only a document whose declaration overrides the chosen code page
        // leaves a report line.
        markup::lastSourceEncodingReport().clear();
        steps.lineStep = lineStepFor(functionCode);
        if (steps.lineStep) writeInDocumentEncoding(input, steps);
        if (functionCode == frame::kRtfToXPress) writeUtf16WhereMarked(input, steps);
        if (functionCode == frame::kRtfToHtmlMultiLingual) {
            steps.codePage = static_cast<int>(codePage);
            std::string name = charset == nullptr ? "" : charset;
            steps.outputStep = [codePage, name](const std::string& output, frame::ErrorLog& log) {
                return markup::runCharsetStep(output, codePage, name, log);
            };
        }
        frame::declaredOverChosenCodePage() = 0;
        const int result =
            frame::readRtfWriteText(input, functionCode, extension, std::move(steps));
        if (frame::declaredOverChosenCodePage() != 0) reportDeclaredOverChosen(input);
        return result;
    });
}

}  // namespace

}  // namespace tessel::exports

using tessel::exports::runGuarded;
namespace fc = tessel::frame;

extern "C" {

int TESSEL_CALL funciReadRTFWriteTextParser(const char* input, int function,
                                            const char* extension) {
    return runGuarded(input, function, extension);
}

int TESSEL_CALL funciReadRTFWriteTextParserMultiLingual(const char* input, int function,
                                                        const char* extension, unsigned codePage) {
    return runGuarded(input, function, extension, codePage);
}

int TESSEL_CALL funciReadRTFWriteTextParserMultiLingualWithCharSet(const char* input, int function,
                                                                   const char* extension,
                                                                   unsigned codePage,
                                                                   const char* charset) {
    return runGuarded(input, function, extension, codePage, charset);
}

int TESSEL_CALL f_iRTF2HTMLMultiLingual(const char* input, const char* extension,
                                        unsigned codePage) {
    return runGuarded(input, fc::kRtfToHtmlMultiLingual, extension, codePage);
}

int TESSEL_CALL f_iRTF2HTMLMultiLingualWithCharSet(const char* input, const char* extension,
                                                   unsigned codePage, const char* charset) {
    return runGuarded(input, fc::kRtfToHtmlMultiLingual, extension, codePage, charset);
}

int TESSEL_CALL f_iRTF2Text(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToText, extension);
}

int TESSEL_CALL f_iRTF2HTML(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToHtml, extension);
}

int TESSEL_CALL f_iRTF2CompatibleHTML(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToCompatibleHtml, extension);
}

int TESSEL_CALL f_iRTF2SGML(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToSgml, extension);
}

int TESSEL_CALL f_iRTF2PageMaker(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToPageMaker, extension);
}

int TESSEL_CALL f_iRTF2XPress(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToXPress, extension);
}

int TESSEL_CALL f_iVentura4RTF2Text(const char* input, const char* extension) {
    return runGuarded(input, fc::kRtfToVentura4, extension);
}

}  // extern "C"
