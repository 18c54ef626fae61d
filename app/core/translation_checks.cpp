#include "core/translation_checks.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

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
    return lowerCase(path.extension().string()) == ".rtf";
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

}  // namespace

Pairing pairTranslations(const std::string& originals, const std::vector<std::string>& translated) {
    Pairing pairing;
    std::vector<fs::path> candidates = rtfFilesOf(originals);
    std::set<fs::path> paired;
    bool folderGiven = false;
    auto pair = [&](const fs::path& file) {
        std::string stem = file.stem().string();
        auto original = std::find_if(candidates.begin(), candidates.end(),
                                     [&](const fs::path& c) { return c.stem().string() == stem; });
        if (original == candidates.end()) {
            pairing.problems.push_back(file.string() + ": no original " + stem + ".rtf in " +
                                       originals);
            return;
        }
        paired.insert(*original);
        pairing.pairs.push_back({original->string(), file.string()});
    };
    for (const std::string& name : translated) {
        std::error_code error;
        if (fs::is_directory(name, error)) {
            folderGiven = true;
            for (const fs::path& file : rtfFilesOf(name)) pair(file);
        } else {
            pair(name);
        }
    }
    if (folderGiven) {
        for (const fs::path& original : candidates) {
            if (paired.count(original) == 0) {
                pairing.problems.push_back(original.string() + ": no translation of it was given");
            }
        }
    }
    return pairing;
}

VerifyTotals verifyPairs(const std::vector<TranslationPair>& pairs,
                         const verify::VerifyOptions& options, verify::FindingSink& sink) {
    VerifyTotals totals;
    CountingSink counting(sink, totals);
    std::set<std::string> targets;
    for (const TranslationPair& pair : pairs) {
        verify::PairOutcome outcome =
            verify::verifyTranslation(pair.original, pair.translated, options, counting);
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
                               const std::function<void(const verify::RoundTripResult&)>& onFile) {
    RoundTripReport report;
    for (const std::string& file : files) {
        const verify::RoundTripFormat* chosen =
            options.format != nullptr ? options.format : verify::formatOfFile(file);
        verify::RoundTripResult result;
        if (chosen == nullptr) {
            result.file = file;
            result.failed = true;
        } else {
            result = verify::roundTrip(file, *chosen, options.tagFile);
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

}  // namespace tessel::app
