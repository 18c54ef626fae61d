#include "dtp/ventura_to_rtf.h"

#include <cerrno>
#include <memory>
#include <string_view>

#include "dtp/source_characters.h"
#include "dtp/ventura_parser.h"
#include "dtp/working_copy.h"
#include "frame/job_names.h"
#include "frame/return_codes.h"
#include "parser/ss_exception.h"
#include "platform/format.h"
#include "platform/message_box.h"
#include "resources/ventura_texts.h"

namespace tessel::dtp {

namespace {

int setUpFailed(std::string_view parserError, const parser::SSException& error) {
    platform::showMessageBox(platform::fillPlaceholders(parserError, {error.message()}));
    return CMarkupParser::kParseCutShort;
}

template <typename Parser>
int markUp(const std::string& path, std::string_view parserError) {
    // A name longer than the library's name buffers cannot be opened, and
    // the names of the RTF and the log formed from it would not fit either.
    if (!frame::fitsPathBuffer(path)) {
        return setUpFailed(parserError, parser::SSException(parser::SSError::LexOpenFile,
                                                            {path, long{ENAMETOOLONG}}));
    }
    // The log beside an input named like it would truncate the input.
    if (logWouldBeInput(path)) return frame::kSameInputAndOutput;
    std::unique_ptr<Parser> parser;
    try {
        parser = std::make_unique<Parser>(path);
    } catch (const parser::SSException& error) {
        return setUpFailed(parserError, error);
    }
    // Ventura files declare no encoding: a byte-order mark or the user's
    // choice decides, else the bytes are Windows 1252 as always.
    ScopedSourceCharacters decoding(undeclaredSourceCharacters(path));
    if (startsWithUtf8ByteOrderMark(path)) parser->markByteOrderMarkExternal();
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
