#include "markup/charset_step.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "dtp/converter_log.h"
#include "dtp/replace_list.h"
#include "dtp/static_file_map.h"
#include "frame/job_state.h"
#include "frame/return_codes.h"
#include "markup/code_page_charset.h"
#include "markup/html_charset_parser.h"
#include "parser/ss_exception.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/temporary_files.h"
#include "resources/html_charset_texts.h"

namespace tessel::markup {

namespace {

using dtp::CReplaceList;
using dtp::CReplacePiece;
using dtp::CTextPiece;

// Tries of temporary names per step; a folder where this many fail is not
// writable for us.
constexpr int kTemporaryNameTries = 256;
constexpr unsigned kTemporaryNumbers = 0xFFFF;

// Library-wide, so that steps in a row try fresh names first.
unsigned& temporaryCounter() {
    static unsigned counter = 0;
    return counter;
}

// The parser's entries join the job's numbered messages: the current
// converter log is the job's log while the step runs, and the job's counter
// moves on by what was written.
class JobLogScope {
  public:
    explicit JobLogScope(frame::ErrorLog& log) {
        dtp::setCurrentConverterLog(&log.stream(), frame::jobState().nextMessage);
    }
    ~JobLogScope() {
        frame::JobState& job = frame::jobState();
        if (dtp::converterLogEntryCount() > 0) job.messagesWritten = true;
        job.nextMessage = dtp::nextConverterLogEntry();
        dtp::setCurrentConverterLog(nullptr);
    }
    JobLogScope(const JobLogScope&) = delete;
    JobLogScope& operator=(const JobLogScope&) = delete;

    int entries() const { return dtp::converterLogEntryCount(); }
};

int failWith(frame::ErrorLog& log, std::string_view format, std::string_view value, int code) {
    log.stream().write(platform::fillPlaceholders(format, {value}));
    frame::jobState().messagesWritten = true;
    return code;
}

bool isEmptyFile(const std::string& path) {
    std::error_code failure;
    auto size = std::filesystem::file_size(path, failure);
    return !failure && size == 0;
}

CTextPiece startOfFile(std::int32_t fileRef) {
    return CTextPiece({}, 1, 1, 1, 1, fileRef);
}

void addMetaLine(CReplaceList& list, const CTextPiece& at, std::string_view charsetName) {
    list.add(std::make_unique<CReplacePiece>(
        at, CTextPiece(metaCharsetLine(charsetName), 0, 0, 0, 0, at.fileRef)));
}

// One piece per differing value, or the META line where none was found.
void addPieces(CReplaceList& list, const CHtmlCharsetParser& parser, std::string_view charsetName) {
    if (parser.charsetValues().empty()) {
        addMetaLine(list, parser.insertionPoint().value_or(startOfFile(parser.sourceFileRef())),
                    charsetName);
        return;
    }
    for (const CTextPiece& value : parser.charsetValues()) {
        if (platform::sameNameIgnoringCase(value.text, charsetName)) continue;
        list.add(std::make_unique<CReplacePiece>(
            value, CTextPiece(std::string(charsetName), 0, 0, 0, 0, value.fileRef)));
    }
}

// A new, empty file "~C<number>.TMP" in the folder of `path`.
std::optional<std::string> reserveTemporaryFile(const std::string& path) {
    platform::PathParts parts = platform::splitPath(path);
    std::string folder = parts.drive + parts.directory;
    for (int i = 0; i < kTemporaryNameTries; ++i) {
        unsigned number = ++temporaryCounter() % kTemporaryNumbers + 1;
        std::string name = platform::temporaryName(folder, resources::kCharsetTemporaryPrefix,
                                                   number, resources::kCharsetTemporaryExtension);
        if (platform::createNewFile(name)) return name;
    }
    return std::nullopt;
}

// Writes the file with the pieces applied under a temporary name beside it,
// then puts that in its place; on failure the file is untouched and the
// temporary file gone.
bool rewriteWithPieces(const std::string& htmlPath, CReplaceList& list) {
    std::optional<std::string> temporary = reserveTemporaryFile(htmlPath);
    if (!temporary) {
        dtp::reportMessage(platform::fillPlaceholders(resources::kNoTemporaryName, {htmlPath}),
                           dtp::kMessageFile);
        return false;
    }
    if (!list.writeOutput(htmlPath, *temporary)) {
        platform::removeFile(*temporary);
        return false;
    }
    if (!platform::replaceFile(*temporary, htmlPath)) {
        std::string reason = std::strerror(errno);
        platform::removeFile(*temporary);
        dtp::reportMessage(
            platform::fillPlaceholders(resources::kCannotReplaceHtml, {htmlPath, reason}),
            dtp::kMessageFile);
        return false;
    }
    return true;
}

// Parses the file and fills the list; false when the parser could not be
// built (reported in the log). `parsedToEnd` tells whether the parse ran
// its course.
bool collectPieces(const std::string& htmlPath, std::string_view charsetName, CReplaceList& list,
                   frame::ErrorLog& log, bool& parsedToEnd) {
    parsedToEnd = true;
    if (isEmptyFile(htmlPath)) {
        // Nothing to parse: the file has no HEAD, so the line goes first.
        addMetaLine(list, startOfFile(dtp::registerSourceFile(htmlPath)), charsetName);
        return true;
    }
    std::unique_ptr<CHtmlCharsetParser> parser;
    try {
        parser = std::make_unique<CHtmlCharsetParser>(htmlPath);
    } catch (const parser::SSException& error) {
        failWith(log, resources::kCannotCreateHtmlParser, error.message(), kCharsetParserFailed);
        return false;
    }
    // A parse cut short has reported why; what it found before stands.
    parsedToEnd = parser->run();
    addPieces(list, *parser, charsetName);
    return true;
}

}  // namespace

int runCharsetStep(const std::string& htmlPath, unsigned codePage, std::string_view charsetName,
                   frame::ErrorLog& log) {
    std::string name(charsetName);
    if (name.empty() && !charsetNameForCodePage(codePage, name)) {
        return failWith(log, resources::kInvalidCodePageLine, std::to_string(codePage),
                        kInvalidCodePageValue);
    }
    if (!isUsableCharsetName(name)) {
        return failWith(log, resources::kInvalidCharsetName, name, kInvalidCodePageValue);
    }
    JobLogScope scope(log);
    CReplaceList list(htmlPath);
    // Positions count lines as the parser runtime does.
    list.setSourceLineEnds(dtp::CRCFile::LineEnds::LineFeed);
    bool parsedToEnd = true;
    if (!collectPieces(htmlPath, name, list, log, parsedToEnd)) return kCharsetParserFailed;
    if (list.count() > 0 && !rewriteWithPieces(htmlPath, list)) {
        frame::jobState().messagesWritten = true;
        return kCharsetNotApplied;
    }
    if (scope.entries() > 0 || !parsedToEnd) {
        frame::jobState().messagesWritten = true;
        return frame::kErrorsInLog;
    }
    return 0;
}

}  // namespace tessel::markup
