#include "dtp/ventura_to_rtf.h"

#include <memory>
#include <string_view>

#include "dtp/ventura_parser.h"
#include "dtp/working_copy.h"
#include "frame/return_codes.h"
#include "parser/ss_exception.h"
#include "platform/format.h"
#include "platform/message_box.h"
#include "resources/ventura_texts.h"

namespace tessel::dtp {

namespace {

template <typename Parser>
int markUp(const std::string& path, std::string_view parserError) {
    // The log beside an input named like it would truncate the input.
    if (logWouldBeInput(path)) return frame::kSameInputAndOutput;
    std::unique_ptr<Parser> parser;
    try {
        parser = std::make_unique<Parser>(path);
    } catch (const parser::SSException& error) {
        platform::showMessageBox(platform::fillPlaceholders(parserError, {error.message()}));
        return CMarkupParser::kParseCutShort;
    }
    return parser->runWithLog("");
}

}  // namespace

int venturaToRtf(const std::string& path) {
    return markUp<CVenturaParser>(path, resources::kVenturaParserError);
}

int ventura4ToRtf(const std::string& path) {
    return markUp<CVentura4Parser>(path, resources::kVentura4ParserError);
}

}  // namespace tessel::dtp
