#include "markup/source_reading.h"

#include "frame/encoding_choice.h"
#include "frame/return_codes.h"
#include "frame/rtf_unicode_escape.h"
#include "markup/html_codes.h"
#include "platform/files.h"
#include "platform/utf16.h"
#include "resources/rtf_unicode_texts.h"

namespace tessel::markup {

namespace res = tessel::resources;

namespace {

// Reads the whole file at `path`; false when it cannot be read.
bool readWhole(const std::string& path, std::string& bytes) {
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Binary)) return false;
    char buffer[platform::kStreamBufferSize];
    for (std::size_t got; (got = input.read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, got);
    bool failed = input.failed();
    return input.close() && !failed;
}

bool writeWhole(const std::string& path, std::string_view bytes) {
    platform::OutputStream output;
    if (!output.open(path, platform::StreamMode::Binary)) return false;
    output.write(bytes);
    return output.close() && output.wroteCompletely(path);
}

}  // namespace

SourceReading::~SourceReading() {
    if (!transcodedCopy_.empty()) platform::removeIfPresent(transcodedCopy_);
}

int SourceReading::prepare(const std::string& inputPath) {
    pathToRead_ = inputPath;
    // A file that cannot be read is refused by the job's own open.
    if (!decideSourceEncoding(inputPath, frame::encodingChoice().sourceEncoding, encoding_)) {
        encoding_ = SourceEncoding{};
    }
    decoder_ = SourceLineDecoder(encoding_);
    lastSourceEncodingReport() = sourceEncodingReport(encoding_);
    const bool bigEndian = encoding_.form == SourceForm::Utf16BigEndian;
    if (!bigEndian && encoding_.form != SourceForm::Utf16LittleEndian) return 0;
    std::string bytes;
    if (!readWhole(inputPath, bytes)) return frame::kCannotOpenInput;
    std::string text = platform::utf8OfUtf16(
        std::string_view(bytes).substr(encoding_.byteOrderMark), bigEndian, unpairedUnits_);
    transcodedCopy_ = platform::createUniqueFileBeside(inputPath);
    if (transcodedCopy_.empty()) return frame::kCannotOpenOutput;
    if (!writeWhole(transcodedCopy_, text)) return frame::kCannotOpenOutput;
    pathToRead_ = transcodedCopy_;
    return 0;
}

void SourceReading::skipByteOrderMark(platform::InputStream& input) const {
    if (encoding_.form != SourceForm::Utf8) return;
    for (std::size_t i = 0; i < encoding_.byteOrderMark; ++i) input.get();
}

void SourceReading::writeDocumentStart(platform::OutputStream& output, frame::ErrorLog& log,
                                       int& changeCount) const {
    if (!encoding_.unreadDeclaration.empty()) {
        log.report(kUnreadEncodingDeclared, changeCount, {}, encoding_.unreadDeclaration);
    }
    if (unpairedUnits_ > 0) {
        log.report(kUnpairedUtf16Units, changeCount, {}, std::to_string(unpairedUnits_));
    }
    if (asBefore()) return;
    output.write(res::kUnicodeSkipCount);
    output.write(byteOrderMarkRun(encoding_));
}

bool SourceReading::decodeAndEscape(std::string& line, frame::ErrorLog& log, int& changeCount,
                                    bool& escaped) {
    escaped = false;
    // Valid UTF-8 that Windows 1252 holds whole, most lines of a European
    // page, goes straight to its path, in one pass.
    if (decoder_.readsUtf8() && narrowToWindows1252(line)) return true;
    if (!decoder_.toUtf8(line, original_)) {
        log.report(kBytesNotInEncoding, changeCount, original_, sourceEncodingName(encoding_));
    }
    // Lines that Windows 1252 holds whole take its path, which is faster.
    if (!needsUnicodeEscape(line) || narrowToWindows1252(line)) return true;
    escaped = true;
    return frame::escapeUnicodeRtf(line);
}

std::string& lastSourceEncodingReport() {
    static std::string report;
    return report;
}

}  // namespace tessel::markup
