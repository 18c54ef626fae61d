#include "dtp/page_maker_to_rtf.h"

#include "dtp/page_maker_parser.h"
#include "dtp/source_characters.h"
#include "dtp/working_copy.h"
#include "parser/ss_exception.h"
#include "platform/paths.h"
#include "platform/streams.h"
#include "resources/page_maker_texts.h"

namespace tessel::dtp {

namespace {

constexpr std::size_t kHeaderLineLimit = 4095;

std::string firstLine(const std::string& path) {
    platform::InputStream input;
    std::string line;
    if (!input.open(path, platform::StreamMode::Text)) return line;
    while (line.size() < kHeaderLineLimit) {
        int c = input.get();
        if (c < 0 || c == '\n' || c == '\r') break;
        line += static_cast<char>(c);
    }
    return line;
}

}  // namespace

bool isMacintoshPageMaker(const std::string& path) {
    std::string line = firstLine(path);
    if (line.compare(0, resources::kPageMakerHeaderStart.size(),
                     resources::kPageMakerHeaderStart) != 0) {
        return false;
    }
    std::size_t close = line.find('>');
    constexpr std::size_t word = resources::kPageMakerMacintoshWord.size();
    if (close == std::string::npos || close < word) return false;
    return platform::sameNameIgnoringCase(std::string_view(line).substr(close - word, word),
                                          resources::kPageMakerMacintoshWord);
}

int pageMakerToRtf(const std::string& path) {
    if (int refused = checkConverterInput(path)) return refused;
    bool macintosh = isMacintoshPageMaker(path);
    WorkingCopy workingCopy(path);
    if (!workingCopy.made()) return workingCopy.result();

    std::unique_ptr<CPageMakerParser> parser;
    try {
        parser = std::make_unique<CPageMakerParser>(workingCopy.name());
    } catch (const parser::SSException&) {
        return CMarkupParser::kParseCutShort;
    }
    parser->setLoggedSourceName(path);
    // The header's "mac" decides as always; a Windows file is read through its
    // byte-order mark or in the user's encoding when it has either.
    SourceCharacters characters = macintosh ? SourceCharacters{} : undeclaredSourceCharacters(path);
    parser->pageMakerList().macintosh = macintosh;
    if (!macintosh && startsWithUtf8ByteOrderMark(path)) parser->markByteOrderMarkExternal();
    ScopedSourceCharacters decoding(characters);
    return parser->runWithLog("");
}

}  // namespace tessel::dtp
