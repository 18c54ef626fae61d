#include "frame/execute_function.h"

#include "frame/caret_table.h"
#include "frame/return_codes.h"

namespace tessel::frame {

namespace {

constexpr int kUnconvertibleCharacters = -1501;

}  // namespace

int convertCharacterSet(std::string& line, int functionCode) {
    // Any code but 610 takes the ANSI to Macintosh table.
    const CaretTable& table =
        *characterSetTable(functionCode == kMacToAnsi ? kMacToAnsi : kAnsiToMac);
    return table.convert(line.data(), line.size(), line.data()) ? kUnconvertibleCharacters : 0;
}

int executeFrameFunction(std::string& line, int functionCode) {
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
        default:
            return kInvalidFunction;
    }
}

}  // namespace tessel::frame
