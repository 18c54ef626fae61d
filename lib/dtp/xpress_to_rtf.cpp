#include "dtp/xpress_to_rtf.h"

#include <memory>

#include "dtp/source_characters.h"
#include "dtp/utf16_source_copy.h"
#include "dtp/working_copy.h"
#include "dtp/xpress_parser.h"
#include "frame/return_codes.h"
#include "parser/ss_exception.h"
#include "platform/binary_file.h"
#include "platform/format.h"
#include "platform/message_box.h"
#include "resources/xpress_texts.h"

namespace tessel::dtp {

namespace {

// The working copy could not be opened or completed for the line-end check.
constexpr int kLineEndCheckFailed = -1;
constexpr char kEndOfFileMark = '\x1A';
constexpr std::string_view kPcLineEnd = "\r\n";

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

}  // namespace

bool endWithLineEnd(const std::string& path) {
    platform::BinaryFile file;
    if (!file.openForUpdate(path)) return false;
    std::optional<std::uint64_t> size = file.size();
    if (!size) return false;
    if (*size <= 2) return file.close();
    std::optional<std::string> tail = file.readAt(*size - 2, 2);
    if (!tail || tail->size() != 2) return false;
    bool marked = (*tail)[1] == kEndOfFileMark;
    char last = marked ? (*tail)[0] : (*tail)[1];
    if (!isLineEnd(last) && !file.writeAt(marked ? *size - 1 : *size, kPcLineEnd)) return false;
    return file.close();
}

int xpressToRtf(const std::string& path) {
    if (int refused = checkConverterInput(path)) return refused;
    // A UTF-16 source is parsed as UTF-8, its mark kept in the header.
    Utf16SourceCopy utf16(path);
    if (utf16.failed()) return frame::kCannotOpenOutput;
    WorkingCopy workingCopy(path, utf16.pathToRead());
    if (!workingCopy.made()) return workingCopy.result();
    if (!endWithLineEnd(workingCopy.name())) return kLineEndCheckFailed;

    std::unique_ptr<CXPressParser> parser;
    try {
        parser = std::make_unique<CXPressParser>(workingCopy.name());
    } catch (const parser::SSException& error) {
        platform::showMessageBox(
            platform::fillPlaceholders(resources::kXPressParserError, {error.message()}));
        return CMarkupParser::kParseCutShort;
    }
    parser->setLoggedSourceName(path);
    // A byte-order mark decides first; else the header's encoding tag does.
    SourceCharacters characters;
    characters.utf8 = utf16.made() || startsWithUtf8ByteOrderMark(path);
    characters.unpairedUtf16Units = utf16.unpairedUnits();
    ScopedSourceCharacters decoding(characters);
    return parser->runWithLog("");
}

}  // namespace tessel::dtp
