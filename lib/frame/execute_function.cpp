#include "frame/execute_function.h"

#include "frame/return_codes.h"
#include "markup/html_line_markup.h"
#include "markup/sgml_line_extraction.h"
#include "resources/mac_tables.h"

namespace tessel::frame {

namespace {

constexpr int kUnconvertibleCharacters = -1501;

}  // namespace

int convertCharacterSet(std::string& line, int functionCode) {
    const auto& table =
        functionCode == kMacToAnsi ? resources::macToAnsiTable() : resources::ansiToMacTable();
    bool unconvertible = false;
    for (char& c : line) {
        std::uint8_t mapped = table[static_cast<unsigned char>(c)];
        if (mapped == resources::kNoCounterpart) {
            unconvertible = true;
            c = '^';
        } else {
            c = static_cast<char>(mapped);
        }
    }
    return unconvertible ? kUnconvertibleCharacters : 0;
}

int ExecuteFunction(std::string& line, int functionCode) {
    switch (functionCode) {
        case kRtfToText:
        case kRtfToHtml:
        case kRtfToPageMaker:
        case kRtfToXPress:
        case kRtfToSgml:
        case kRtfToVentura4:
        case kRtfToCompatibleHtml:
        case kRtfToHtmlMultiLingual:
            return 0;
        case kMacToAnsi:
        case kAnsiToMac:
            return convertCharacterSet(line, functionCode);
        case kLineBreaksToPc:
            return 1;
        case kExtractSgmlTags:
            return markup::funcExtractSGMLTags(line);
        case kHtmlToRtf:
            return markup::funcMarkUpHTMLLine(line);
        default:
            return kInvalidFunction;
    }
}

}  // namespace tessel::frame
