#include "core/back_checks.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/back_check_texts.h"
#include "core/check_texts.h"
#include "core/translation_checks.h"
#include "frame/return_codes.h"
#include "platform/clock.h"
#include "platform/code_page_codec.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/path_names.h"
#include "platform/streams.h"
#include "platform/utf8.h"
#include "resources/log_texts.h"
#include "tessel_cat.h"
#include "verify/translation_alone.h"

namespace tessel::app {

namespace {

namespace res = tessel::resources;
using platform::fillPlaceholders;
using verify::Finding;
using verify::FindingKind;

struct Found {
    Finding finding;
    bool compared;
};

class Collecting final : public verify::FindingSink {
  public:
    Collecting(std::vector<Found>& found, bool compared) : found_(found), compared_(compared) {}
    void finding(Finding&& finding) override {
        found_.push_back(Found{std::move(finding), compared_});
    }

  private:
    std::vector<Found>& found_;
    bool compared_;
};

// What the comparison with the original tells better than the file alone:
// tags and characters of the text, pairs, against the source's paragraph.
bool comparisonTellsBetter(FindingKind kind) {
    return kind == FindingKind::UnprotectedTag || kind == FindingKind::MarkupCharacter ||
           kind == FindingKind::UnbalancedPair;
}

bool readText(const std::string& path, std::string& text) {
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Text)) return false;
    char buffer[8192];
    for (std::size_t got; (got = input.read(buffer, sizeof buffer)) > 0;) text.append(buffer, got);
    return input.close();
}

bool isUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        std::size_t start = at;
        char32_t c = platform::nextUtf8(text, at);
        if (c == 0xFFFD && text.substr(start, at - start) != "\xEF\xBF\xBD") return false;
    }
    return true;
}

// UTF-8 text in Windows 1252, "?" for what it cannot hold; false when
// something was lost.
bool toWindows1252(std::string_view text, std::string& out) {
    const platform::CodePageCodec& codec = platform::CodePageCodec::windows1252();
    bool whole = true;
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = platform::nextUtf8(text, at);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (!codec.encode(c, out)) {
            out += '?';
            whole = false;
        }
    }
    return whole;
}

// The highest message number of a log's messages ("[N] " at a line's
// start), 0 for none.
int lastMessageNumber(std::string_view log) {
    int last = 0;
    for (std::size_t at = 0; at < log.size();) {
        std::size_t end = log.find('\n', at);
        if (end == std::string_view::npos) end = log.size();
        std::string_view line = log.substr(at, end - at);
        if (line.size() > 2 && line[0] == '[') {
            std::size_t close = line.find("] ");
            if (close != std::string_view::npos && close > 1 && close < 11 &&
                line.substr(1, close - 1).find_first_not_of("0123456789") ==
                    std::string_view::npos) {
                last = std::max(last, std::atoi(std::string(line.substr(1, close - 1)).c_str()));
            }
        }
        at = end + 1;
    }
    return last;
}

// The count a summary line of `format` ("\t%d change%s ...") shows in
// `summary`; none when no line has that form.
std::optional<int> countShown(std::string_view summary, std::string_view format) {
    std::size_t number = format.find("%d");
    if (number == std::string_view::npos) return std::nullopt;
    std::string_view before = format.substr(0, number);
    std::string_view after = format.substr(number + 2);
    after = after.substr(0, after.find('%'));
    for (std::size_t at = summary.find(before); at != std::string_view::npos;
         at = summary.find(before, at + 1)) {
        std::size_t digits = at + before.size();
        std::size_t end = digits;
        while (end < summary.size() && summary[end] >= '0' && summary[end] <= '9') ++end;
        if (end > digits && summary.substr(end, after.size()) == after) {
            return std::atoi(std::string(summary.substr(digits, end - digits)).c_str());
        }
    }
    return std::nullopt;
}

std::string header(const BackCheckJob& job) {
    std::string text = fillPlaceholders(res::kLogTitleLine, {res::kRtfToTextParserTitle});
    text += fillPlaceholders(res::kLogVersionLine, {f_pszDLLVersion()});
    text += fillPlaceholders(res::kLogDateLine, {platform::localTime24()});
    text += fillPlaceholders(res::kLogFileLine,
                             {job.shownPath.empty() ? job.inputPath : job.shownPath});
    text += std::string(res::kLogFunctionLabel) +
            std::string(res::functionTitle(job.functionCode)) + "\n" + std::string(res::kRuleLine) +
            "\n";
    return text;
}

std::string summary(int functionCode, int errors, int changes) {
    std::string text(res::kSummaryHeading);
    for (const res::SummaryLine& line : res::summaryLines(functionCode)) {
        int count = line.count == res::SummaryCount::Errors ? errors : changes;
        std::string number = std::to_string(count);
        std::string_view suffix = count == 1 ? "" : "s";
        text += fillPlaceholders(line.format, {number, suffix, suffix, suffix});
    }
    return text + std::string(res::kRuleLine) + "\n";
}

// One message, "%d" left for its number.
std::string messageText(const Found& found) {
    const BackCheckMessage* message = backCheckMessage(found.finding.kind, found.compared);
    if (message == nullptr) return {};
    const Finding& f = found.finding;
    std::string paragraph = std::to_string(std::max<std::size_t>(1, f.paragraph));
    std::string detail = findingDescription(f);
    std::string text =
        message->contextFree
            ? fillPlaceholders(message->text, {"%d", paragraph, detail})
            : fillPlaceholders(message->text, {"%d", paragraph, detail, res::kSeparatorLine, f.text,
                                               res::kSeparatorLine});
    return text + std::string(message->followUp);
}

// Writes the messages into the job's log: before the summary of the log the
// export kept, numbered on from its messages, or into a new log with the
// header and summary the export writes. False when the log could not be
// written.
}  // namespace

bool writeJobMessages(const BackCheckJob& job, const std::vector<std::string>& messages) {
    std::string before;
    bool kept = job.result == frame::kErrorsInLog && readText(job.logPath, before);
    std::string previousSummary;
    int changes = job.result >= 0 ? job.result : 0;
    if (kept) {
        std::size_t at = before.rfind(res::kSummaryHeading);
        if (at != std::string::npos) {
            previousSummary = before.substr(at);
            before.resize(at);
        }
        for (const res::SummaryLine& line : res::summaryLines(job.functionCode)) {
            if (line.count != res::SummaryCount::Changes) continue;
            if (std::optional<int> shown = countShown(previousSummary, line.format)) {
                changes = *shown;
            }
        }
    } else {
        before = header(job);
    }
    int number = kept ? lastMessageNumber(before) : 0;
    std::string added;
    for (const std::string& message : messages) {
        added += fillPlaceholders(message, {std::to_string(++number)});
    }
    // The messages take the log's encoding: UTF-8 where it already holds
    // UTF-8 or where Windows 1252 cannot hold them, else Windows 1252 as
    // the library writes its logs.
    bool utf8 = platform::hasNonAscii(before) ? isUtf8(before) : false;
    if (!utf8 && platform::hasNonAscii(added)) {
        std::string encoded;
        bool whole = toWindows1252(added, encoded);
        if (whole || platform::hasNonAscii(before)) added = std::move(encoded);
    }
    platform::OutputStream log;
    if (!log.open(job.logPath, platform::StreamMode::Text)) return false;
    log.write(before);
    log.write(added);
    log.write(summary(job.functionCode, number, changes));
    return log.close();
}

std::optional<verify::TargetChoice> backCheckTarget(const Command& command, unsigned codePage) {
    if (command.name == "text") return std::nullopt;
    if (command.name == "html-multilingual") {
        return verify::parseTarget(std::string(command.name) + ":" + std::to_string(codePage));
    }
    return verify::parseTarget(command.name);
}

std::optional<std::string> originalFor(const std::string& input,
                                       const BackCheckSettings& settings) {
    if (!settings.originalFile.empty()) return settings.originalFile;
    if (settings.originalFolder.empty()) return std::nullopt;
    Pairing pairing = pairTranslations(settings.originalFolder, {input});
    if (pairing.pairs.empty()) return std::nullopt;
    return pairing.pairs.front().original;
}

int runBackChecks(const BackCheckJob& job, const BackCheckSettings& settings) {
    std::vector<Found> found;
    {
        verify::AloneOptions options;
        options.target = job.target;
        options.keepText = true;
        Collecting sink(found, false);
        verify::checkTranslationAlone(job.inputPath, options, sink);
    }
    std::vector<std::string> messages = job.leadingMessages;
    bool comparing = !settings.originalFile.empty() || !settings.originalFolder.empty();
    std::optional<std::string> original = originalFor(job.inputPath, settings);
    if (original) {
        found.erase(
            std::remove_if(found.begin(), found.end(),
                           [](const Found& f) { return comparisonTellsBetter(f.finding.kind); }),
            found.end());
        verify::VerifyOptions options;
        options.target = job.target;
        options.keepText = true;
        Collecting sink(found, true);
        verify::verifyTranslation(*original, job.inputPath, options, sink);
    } else if (comparing) {
        messages.push_back(
            fillPlaceholders(
                noOriginalMessage().text,
                {"%d", settings.originalFolder + "/" +
                           platform::nameOf(platform::pathOf(job.inputPath).filename())}) +
            std::string(noOriginalMessage().followUp));
    }
    // In the order of the paragraphs, the file's own findings first.
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.finding.paragraph < b.finding.paragraph;
    });
    for (const Found& f : found) {
        std::string text = messageText(f);
        if (!text.empty()) messages.push_back(std::move(text));
    }
    if (messages.empty()) return job.result;
    if (!writeJobMessages(job, messages)) return job.result;
    return frame::kErrorsInLog;
}

}  // namespace tessel::app
