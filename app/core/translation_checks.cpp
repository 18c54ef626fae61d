#include "core/translation_checks.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <set>
#include <system_error>

#include "core/xliff_jobs.h"
#include "platform/path_names.h"

namespace tessel::app {

namespace {

namespace fs = std::filesystem;

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return text;
}

bool isRtfName(const fs::path& path) {
    return lowerCase(platform::nameOf(path.extension())) == ".rtf";
}

// The .rtf files of a folder by their stems, in name order.
std::vector<fs::path> rtfFilesOf(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error) && isRtfName(entry.path())) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Collects the findings and their lines for the desktop program.
class CollectingSink final : public verify::FindingSink {
  public:
    explicit CollectingSink(VerifyReport& report) : report_(report) {}
    void finding(verify::Finding&& finding) override {
        report_.lines.push_back(findingLine(finding));
        report_.findings.push_back(std::move(finding));
    }

  private:
    VerifyReport& report_;
};

// Counts what passes on to the shell's sink.
class CountingSink final : public verify::FindingSink {
  public:
    CountingSink(verify::FindingSink& next, VerifyTotals& totals) : next_(next), totals_(totals) {}
    void finding(verify::Finding&& finding) override {
        ++totals_.byKind[std::string(verify::kindName(finding.kind))];
        next_.finding(std::move(finding));
    }

  private:
    verify::FindingSink& next_;
    VerifyTotals& totals_;
};

// Pairs each translation (files, and the .rtf files of folders) with the
// candidate of its stem. Candidates left over are named when a folder of
// translations was given or `reportUnpaired` asks for it.
Pairing pairByName(const std::vector<fs::path>& candidates,
                   const std::vector<std::string>& translated, const std::string& where,
                   bool reportUnpaired) {
    Pairing pairing;
    std::set<fs::path> paired;
    bool folderGiven = false;
    auto pair = [&](const fs::path& file) {
        std::string stem = platform::nameOf(file.stem());
        auto original = std::find_if(candidates.begin(), candidates.end(), [&](const fs::path& c) {
            return platform::nameOf(c.stem()) == stem;
        });
        if (original == candidates.end()) {
            pairing.problems.push_back(noOriginalLine(platform::nameOf(file), stem, where));
            return;
        }
        paired.insert(*original);
        pairing.pairs.push_back({platform::nameOf(*original), platform::nameOf(file)});
    };
    for (const std::string& name : translated) {
        std::error_code error;
        fs::path path = platform::pathOf(name);
        if (fs::is_directory(path, error)) {
            folderGiven = true;
            for (const fs::path& file : rtfFilesOf(path)) pair(file);
        } else {
            pair(path);
        }
    }
    if (folderGiven || reportUnpaired) {
        for (const fs::path& original : candidates) {
            if (paired.count(original) == 0) {
                pairing.problems.push_back(noTranslationLine(platform::nameOf(original)));
            }
        }
    }
    return pairing;
}

// The shell's report for one check run.
class ShellReport final : public verify::FindingSink {
  public:
    explicit ShellReport(BatchShell& shell) : shell_(shell) {}
    void heading(std::string_view text) {
        shell_.appendReport(std::string(text), ReportStyle::Heading);
    }
    void line(const std::string& text) { shell_.appendReport(text, ReportStyle::Normal); }
    void finding(verify::Finding&& finding) override { line(findingLine(finding) + "\n"); }
    void summary(const char* heading, const std::string& summaryLine) {
        shell_.appendReport(heading, ReportStyle::Heading);
        line(summaryLine + "\n");
        line(text::kSummaryEnd);
    }

  private:
    BatchShell& shell_;
};

// `format` with each "%s" filled in by the next of `values`.
std::string filled(std::string_view format, std::initializer_list<std::string_view> values) {
    std::string text(format);
    std::size_t from = 0;
    for (std::string_view value : values) {
        std::size_t at = text.find("%s", from);
        if (at == std::string::npos) break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

CheckOutcome runVerify(const CheckCommand& check, BatchShell& shell) {
    verify::VerifyOptions options;
    options.target = verify::parseTarget(check.format);
    if (!options.target) return {};
    std::vector<std::string> originals =
        shell.chooseFiles(FileChoice{check.fileChoiceTitle, check.fileFilter});
    if (originals.empty()) return {};
    std::vector<std::string> translated =
        shell.chooseFiles(FileChoice{check.translationChoiceTitle, check.fileFilter});
    if (translated.empty()) return {};

    ShellReport report(shell);
    report.heading(check.heading);
    Pairing pairing = pairChosenTranslations(originals, translated);
    for (const std::string& problem : pairing.problems) report.line(problem + "\n");
    if (!pairing.problems.empty()) report.line("\n");
    PairProgress progress;
    progress.started = [&report](const TranslationPair& pair) {
        report.line(filled(text::kCheckingPair, {pair.translated, pair.original}));
    };
    progress.done = [&report](const TranslationPair&, const verify::PairOutcome& outcome) {
        report.line(summaryCountLine(text::kPairFindings, static_cast<int>(outcome.findings)));
    };
    VerifyTotals totals = verifyPairs(pairing.pairs, options, report, progress);
    report.summary(text::kVerifySummaryHeading, verifySummary(totals));
    return CheckOutcome{true, totals.findings > 0 || !pairing.problems.empty()};
}

CheckOutcome runRoundTrip(const CheckCommand& check, BatchShell& shell) {
    verify::RoundTripOptions options;
    options.format = verify::findRoundTripFormat(check.format);
    if (options.format == nullptr) return {};
    std::vector<std::string> files =
        shell.chooseFiles(FileChoice{check.fileChoiceTitle, check.fileFilter});
    if (files.empty()) return {};

    ShellReport report(shell);
    report.heading(check.heading);
    auto started = [&report](const std::string& file) {
        report.line(filled(text::kCheckingRoundTrip, {file}));
    };
    auto done = [&report](const verify::RoundTripResult& result) {
        for (const std::string& line : roundTripLines(result)) report.line(line + "\n");
        report.line(text::kAfterRoundTrip);
    };
    RoundTripReport result = roundTripFiles(files, options, done, started);
    report.summary(text::kRoundTripSummaryHeading, result.lines.back());
    return CheckOutcome{true, result.totals.identical != result.totals.files};
}

}  // namespace

Pairing pairTranslations(const std::string& originals, const std::vector<std::string>& translated) {
    return pairByName(rtfFilesOf(platform::pathOf(originals)), translated, "in " + originals,
                      false);
}

Pairing pairChosenTranslations(const std::vector<std::string>& originals,
                               const std::vector<std::string>& translated) {
    if (originals.size() == 1 && translated.size() == 1) {
        return Pairing{{{originals.front(), translated.front()}}, {}};
    }
    std::vector<fs::path> candidates;
    for (const std::string& original : originals) candidates.push_back(platform::pathOf(original));
    return pairByName(candidates, translated, "among the chosen originals", true);
}

VerifyTotals verifyPairs(const std::vector<TranslationPair>& pairs,
                         const verify::VerifyOptions& options, verify::FindingSink& sink,
                         const PairProgress& progress) {
    VerifyTotals totals;
    CountingSink counting(sink, totals);
    std::set<std::string> targets;
    for (const TranslationPair& pair : pairs) {
        if (progress.started) progress.started(pair);
        verify::PairOutcome outcome =
            verify::verifyTranslation(pair.original, pair.translated, options, counting);
        if (progress.done) progress.done(pair, outcome);
        ++totals.translations;
        totals.paragraphs += outcome.translatedParagraphs;
        totals.findings += outcome.findings;
        if (outcome.findings > 0) ++totals.withFindings;
        targets.insert(outcome.target);
    }
    if (targets.size() == 1) totals.target = *targets.begin();
    return totals;
}

VerifyReport verifyTranslations(const std::vector<TranslationPair>& pairs,
                                const verify::VerifyOptions& options) {
    VerifyReport report;
    CollectingSink sink(report);
    report.totals = verifyPairs(pairs, options, sink);
    report.lines.push_back(verifySummary(report.totals));
    return report;
}

std::vector<std::string> roundTripLines(const verify::RoundTripResult& result) {
    if (result.format == nullptr)
        return {result.file + ": no format that marks up is known for it"};
    if (result.failed) return {roundTripFailureLine(result)};
    if (result.identical) return {identicalLine(result.file, result.format->name)};
    std::vector<std::string> lines;
    for (const verify::Difference& difference : result.differences) {
        lines.push_back(differenceLine(difference));
    }
    return lines;
}

RoundTripReport roundTripFiles(const std::vector<std::string>& files,
                               const verify::RoundTripOptions& options,
                               const std::function<void(const verify::RoundTripResult&)>& onFile,
                               const std::function<void(const std::string&)>& onStart) {
    RoundTripReport report;
    for (const std::string& file : files) {
        if (onStart) onStart(file);
        const verify::RoundTripFormat* chosen =
            options.format != nullptr ? options.format : verify::formatOfFile(file);
        verify::RoundTripResult result;
        if (chosen == nullptr) {
            result.file = file;
            result.failed = true;
        } else {
            result = options.viaXliff ? roundTripViaXliff(file, *chosen, options.tagFile)
                                      : verify::roundTrip(file, *chosen, options.tagFile);
        }
        ++report.totals.files;
        if (result.failed) ++report.totals.failed;
        if (result.identical) ++report.totals.identical;
        for (const verify::Difference& difference : result.differences) {
            ++report.totals.differences;
            if (difference.rules.empty()) {
                ++report.totals.unexplained;
                ++report.totals.byRule["unexplained"];
            }
            for (verify::RoundTripRule rule : difference.rules) {
                ++report.totals.byRule[std::string(verify::describe(rule).name)];
            }
        }
        for (std::string& line : roundTripLines(result)) report.lines.push_back(std::move(line));
        if (onFile) onFile(result);
        report.results.push_back(std::move(result));
    }
    report.lines.push_back(roundTripSummary(report.totals));
    return report;
}

CheckOutcome runCheck(const CheckCommand& check, BatchSession& session) {
    session.enterGroup(check.group);
    return check.kind == CheckKind::Verify ? runVerify(check, session.shell())
                                           : runRoundTrip(check, session.shell());
}

}  // namespace tessel::app
