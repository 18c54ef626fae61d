#include "core/xliff_jobs.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/back_checks.h"
#include "core/xliff_texts.h"
#include "frame/return_codes.h"
#include "platform/format.h"
#include "platform/path_names.h"
#include "platform/streams.h"
#include "tessel_cat.h"
#include "verify/marked_up_copy.h"
#include "verify/roundtrip.h"
#include "verify/styled_paragraph_reader.h"
#include "xliff/merged_document.h"
#include "xliff/xliff_reader.h"

namespace tessel::app {

namespace {

namespace fs = std::filesystem;
using platform::fillPlaceholders;

XliffSettings settings_;
std::string lastMergeReport_;

constexpr std::string_view kXliffExtension = ".xlf";

// The output's name beside `path`: its stem and `extension`.
std::string besideWithExtension(const std::string& path, std::string_view extension) {
    fs::path name = platform::pathOf(path);
    name.replace_extension(platform::pathOf(std::string(extension)));
    return platform::nameOf(name);
}

// A fingerprint of the file's bytes, read in pieces; none when it cannot be read.
std::optional<std::string> fingerprintOf(const std::string& path) {
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Binary)) return std::nullopt;
    std::uint64_t hash = 14695981039346656037ull;
    char buffer[65536];
    for (std::size_t got; (got = input.read(buffer, sizeof buffer)) > 0;) {
        for (std::size_t i = 0; i < got; ++i) {
            hash ^= static_cast<unsigned char>(buffer[i]);
            hash *= 1099511628211ull;
        }
    }
    if (!input.close()) return std::nullopt;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string digits(16, '0');
    for (int i = 0; i < 16; ++i) digits[15 - i] = kDigits[(hash >> (4 * i)) & 0xF];
    return digits;
}

const verify::TagRules& tagRulesOf(std::string_view format) {
    static const verify::TagRules kNone{verify::PairStyle::None, "", false};
    std::optional<verify::TargetChoice> target = verify::parseTarget(format);
    return target ? target->target->tags : kNone;
}

// Reads the marked-up RTF paragraph by paragraph into `sink`; 0 or the
// reader's return code.
int segment(const fs::path& rtf, std::string_view format, xliff::DocumentSink& sink) {
    verify::StyledParagraphReader reader(platform::nameOf(rtf));
    const verify::TagRules& rules = tagRulesOf(format);
    xliff::UnitSegmenter segmenter(rules.pairs, format == "html");
    verify::StyledParagraph paragraph;
    while (reader.next(paragraph)) segmenter.paragraph(paragraph, sink);
    return reader.error();
}

// Writes a file of `bytes` under `path`, refused when anything has the name.
int writeNew(const std::string& path, std::string_view bytes) {
    platform::OutputStream out;
    if (!out.open(path, platform::StreamMode::Binary, platform::ExistingName::Refuse)) {
        return errno == EEXIST ? frame::kOutputExists : frame::kCannotOpenOutput;
    }
    out.write(bytes);
    if (!out.close()) return errno == EEXIST ? frame::kOutputExists : frame::kCannotOpenOutput;
    return 0;
}

// Streams the XLIFF into its temporary as the units come.
class XliffFileSink final : public xliff::DocumentSink {
  public:
    XliffFileSink(platform::OutputStream& out, xliff::XliffWriter& writer)
        : out_(out), writer_(writer) {}
    void skeleton(verify::RunRole, std::string_view) override {}
    void unit(const xliff::TranslationUnit& unit) override {
        writer_.unit(unit);
        out_.write(writer_.take());
        ++units_;
    }
    void paragraphEnd(bool) override {}
    int units() const { return units_; }

  private:
    platform::OutputStream& out_;
    xliff::XliffWriter& writer_;
    int units_ = 0;
};

// Copies the mark-up's log beside the job's output, where the workflow
// looks for it.
void keepLog(const fs::path& log, const std::string& besidePath) {
    if (log.empty()) return;
    std::string bytes;
    if (!verify::readWholeFile(log, bytes)) return;
    platform::OutputStream out;
    if (!out.open(besideWithExtension(besidePath, ".err"), platform::StreamMode::Binary)) return;
    out.write(bytes);
    out.close();
}

int failWithMessage(const XliffJob& xliffJob, const std::string& logPath, int functionCode,
                    int code, const std::string& message) {
    BackCheckJob job;
    job.inputPath = xliffJob.userInputPath;
    job.logPath = logPath;
    job.functionCode = functionCode;
    job.result = code;
    writeJobMessages(job, {message});
    return code;
}

}  // namespace

std::string mergedExtension(std::string_view format) {
    if (format == "html") return ".htm";
    if (format == "sgml") return ".sgm";
    if (format == "quark") return ".xtg";
    return ".txt";
}

void setXliffSettings(const XliffSettings& settings) {
    settings_ = settings;
}

const XliffSettings& xliffSettings() {
    return settings_;
}

std::string lastMergeReport() {
    return lastMergeReport_;
}

int extractXliff(const XliffJob& job) {
    const verify::RoundTripFormat* format = verify::findRoundTripFormat(job.format);
    if (format == nullptr) return frame::kInvalidFunction;
    const std::string output = besideWithExtension(job.inputPath, kXliffExtension);
    std::error_code error;
    if (fs::exists(platform::pathOf(output), error)) return frame::kOutputExists;
    std::optional<std::string> fingerprint = fingerprintOf(job.inputPath);
    if (!fingerprint) return frame::kCannotOpenInput;
    verify::MarkedUpCopy marked(job.inputPath, *format, job.tagFilePath, "tessel-extract-");
    if (marked.rtf().empty()) {
        keepLog(marked.log(), job.inputPath);
        return marked.result() < 0 ? marked.result() : frame::kCannotOpenOutput;
    }
    xliff::XliffHeader header;
    header.version = settings_.version;
    header.original = platform::nameOf(platform::pathOf(job.userInputPath).filename());
    header.format = std::string(job.format);
    header.fingerprint = *fingerprint;
    header.sourceLanguage = settings_.sourceLanguage;
    header.targetLanguage = settings_.targetLanguage;
    header.toolVersion = f_pszDLLVersion();
    platform::OutputStream out;
    if (!out.open(output, platform::StreamMode::Binary, platform::ExistingName::Refuse)) {
        return errno == EEXIST ? frame::kOutputExists : frame::kCannotOpenOutput;
    }
    xliff::XliffWriter writer(header);
    out.write(writer.take());
    XliffFileSink sink(out, writer);
    if (int read = segment(marked.rtf(), job.format, sink); read != 0) {
        out.discard();
        return read;
    }
    writer.finish();
    out.write(writer.take());
    if (!out.close()) return errno == EEXIST ? frame::kOutputExists : frame::kCannotOpenOutput;
    // The mark-up's warnings stay with the extraction.
    if (marked.result() == frame::kErrorsInLog) {
        keepLog(marked.log(), job.inputPath);
        return frame::kErrorsInLog;
    }
    return sink.units();
}

int mergeXliff(const XliffJob& job) {
    lastMergeReport_.clear();
    std::optional<verify::TargetChoice> target = verify::parseTarget(job.format);
    if (!target) return frame::kInvalidFunction;
    std::error_code error;
    if (fs::exists(
            platform::pathOf(besideWithExtension(job.inputPath, mergedExtension(job.format))),
            error)) {
        return frame::kOutputExists;
    }
    std::string document;
    if (!verify::readWholeFile(platform::pathOf(job.inputPath), document)) {
        return frame::kCannotOpenInput;
    }
    xliff::XliffFile xliff;
    std::string problem;
    if (!xliff::readXliff(document, xliff, problem)) {
        return failWithMessage(job, besideWithExtension(job.inputPath, ".err"),
                               target->target->functionCode, kNotMergeableXliff,
                               fillPlaceholders(text::kXliffUnreadable, {"%d", problem}));
    }
    document = {};
    return mergeXliffFile(job, xliff);
}

int mergeXliffFile(const XliffJob& job, const xliff::XliffFile& xliff) {
    lastMergeReport_.clear();
    const verify::RoundTripFormat* format = verify::findRoundTripFormat(job.format);
    std::optional<verify::TargetChoice> target = verify::parseTarget(job.format);
    if (format == nullptr || !target) return frame::kInvalidFunction;
    const int functionCode = target->target->functionCode;
    const std::string extension = mergedExtension(job.format);
    const std::string output = besideWithExtension(job.inputPath, extension);
    const std::string logPath = besideWithExtension(job.inputPath, ".err");
    std::error_code error;
    if (fs::exists(platform::pathOf(output), error)) return frame::kOutputExists;
    if (xliff.format != job.format) {
        return failWithMessage(
            job, logPath, functionCode, kOtherFormat,
            fillPlaceholders(text::kXliffOtherFormat, {"%d", xliff.format, job.format}));
    }
    // The original lies in the XLIFF's folder (the folder the user named it
    // in, where the job runs on a staged copy) or below it.
    fs::path name = platform::pathOf(xliff.original);
    bool safe = !xliff.original.empty() && name.is_relative() && !name.has_root_name();
    for (const fs::path& part : name) safe = safe && part != "..";
    if (!safe) {
        return failWithMessage(
            job, logPath, functionCode, kOriginalNotFound,
            fillPlaceholders(text::kXliffOriginalUnsafe, {"%d", xliff.original}));
    }
    std::string original =
        platform::nameOf(platform::pathOf(job.userInputPath).parent_path() / name);
    if (!fs::is_regular_file(platform::pathOf(original), error)) {
        return failWithMessage(job, logPath, functionCode, kOriginalNotFound,
                               fillPlaceholders(text::kXliffOriginalMissing, {"%d", original}));
    }
    std::optional<std::string> fingerprint = fingerprintOf(original);
    if (!fingerprint) return frame::kCannotOpenInput;
    if (!xliff.fingerprint.empty() && *fingerprint != xliff.fingerprint) {
        return failWithMessage(job, logPath, functionCode, kOriginalChanged,
                               fillPlaceholders(text::kXliffOriginalChanged, {"%d", original}));
    }
    verify::MarkedUpCopy marked(original, *format, job.tagFilePath, "tessel-merge-");
    if (marked.rtf().empty()) {
        return failWithMessage(
            job, logPath, functionCode,
            marked.result() < 0 ? marked.result() : frame::kCannotOpenOutput,
            fillPlaceholders(text::kXliffMarkUpFailed, {"%d", original, marked.failureMessage()}));
    }
    // The translated RTF beside the original's, then the back-conversion.
    fs::path back = marked.folder() / "back";
    fs::create_directory(back, error);
    std::string stem = platform::nameOf(platform::pathOf(job.inputPath).stem());
    std::string mergedRtf = platform::nameOf(back / (stem + ".rtf"));
    xliff::MergeTally tally;
    {
        platform::OutputStream rtf;
        if (!rtf.open(mergedRtf, platform::StreamMode::Binary)) return frame::kCannotOpenOutput;
        xliff::MergeWriter writer(rtf, xliff, tally);
        if (int read = segment(marked.rtf(), job.format, writer); read != 0) {
            rtf.discard();
            return read;
        }
        writer.finish();
        if (!rtf.close()) return frame::kCannotOpenOutput;
    }
    if (!tally.mismatchedUnit.empty()) {
        return failWithMessage(job, logPath, functionCode, kOriginalChanged,
                               fillPlaceholders(text::kXliffUnitMismatch,
                                                {"%d", tally.mismatchedUnit,
                                                 std::to_string(tally.mismatchedLine), original}));
    }
    int result = format->convertBack(mergedRtf.c_str(), extension.c_str());
    std::string written = platform::nameOf(back / (stem + extension));
    fs::path backLog = verify::findCaseless(back, stem, ".err");
    if (!fs::exists(platform::pathOf(written), error)) {
        keepLog(backLog, job.inputPath);
        return result < 0 ? result : frame::kCannotOpenOutput;
    }
    BackCheckJob check;
    check.inputPath = mergedRtf;
    check.shownPath = job.userInputPath;
    check.logPath =
        backLog.empty() ? platform::nameOf(back / (stem + ".err")) : platform::nameOf(backLog);
    check.functionCode = functionCode;
    check.result = result;
    check.target = target;
    if (tally.untranslated > 0) {
        check.leadingMessages.push_back(fillPlaceholders(
            text::kXliffUntranslated,
            {"%d", std::to_string(tally.untranslated), std::to_string(tally.units)}));
        lastMergeReport_ =
            fillPlaceholders(text::kXliffUntranslatedReport,
                             {std::to_string(tally.untranslated), std::to_string(tally.units)});
    }
    BackCheckSettings checks;
    checks.enabled = true;
    checks.originalFile = platform::nameOf(marked.rtf());
    result = runBackChecks(check, checks);
    std::string bytes;
    if (!verify::readWholeFile(platform::pathOf(written), bytes)) return frame::kCannotOpenOutput;
    if (int code = writeNew(output, bytes); code != 0) return code;
    if (result == frame::kErrorsInLog) {
        keepLog(platform::pathOf(check.logPath), job.inputPath);
        return frame::kErrorsInLog;
    }
    return result < 0 ? result : static_cast<int>(tally.translated);
}

}  // namespace tessel::app
