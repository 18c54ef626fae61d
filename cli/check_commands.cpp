#include "check_commands.h"

#include <filesystem>
#include <optional>
#include <ostream>

#include "core/translation_checks.h"
#include "exit_codes.h"
#include "help_table.h"
#include "tessel_cat.h"
#include "usage_error.h"
#include "verify/check_targets.h"

namespace tessel::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kVerifyHelp =
    "Usage: tessel verify [OPTIONS] ORIGINAL.rtf TRANSLATED.rtf\n"
    "       tessel verify [OPTIONS] --batch ORIGINALS TRANSLATED...\n"
    "Checks a translated RTF file against the RTF the mark-up wrote, before it is\n"
    "converted back. Styles are found by name, so files saved by a word processor\n"
    "that renumbered them compare as well. Reported per paragraph:\n"
    "  missing-run, added-run, changed-run   protected runs lost, added or altered\n"
    "  moved-run          an external run out of order (any run with --strict)\n"
    "  unprotected-tag    tag text outside any protected style\n"
    "  unbalanced-pair    opening and closing internal tags that no longer pair up\n"
    "  markup-character   \"<\", \">\" or \"&\" typed in the text of HTML or SGML\n"
    "  unheld-character   a character the back-conversion cannot write as itself\n"
    "  utf8-read-as-1252  text that shows UTF-8 read as Windows 1252 characters\n"
    "  paragraph-added, paragraph-removed\n"
    "Each finding is one line FILE:PARAGRAPH: kind: text; a summary follows.\n\n"
    "Options:\n"
    "  --batch ORIGINALS  pair each translated NAME.rtf (files given, or the .rtf\n"
    "                     files of folders given) with ORIGINALS/NAME.rtf\n"
    "  --target TARGET    the back-conversion the translation will go through:\n"
    "                     TARGETS\n"
    "                     (CP: a code page); default: the one of the format the\n"
    "                     original's tags show\n"
    "  --strict           internal runs must keep their order too\n"
    "  --json             one JSON document instead of lines\n"
    "  -h, --help         show this help\n\n"
    "Exit status: 0 when nothing was found, 1 when something was, 2 for usage errors.\n";

constexpr const char* kRoundtripHelp =
    "Usage: tessel roundtrip [--format FORMAT] [--tag-file FILE] [--encoding NAME]\n"
    "                        [--via rtf|xliff] [--json] FILE...\n"
    "Marks each FILE up in a scratch folder, converts the RTF back without\n"
    "translation and compares the result with FILE byte for byte. Each difference\n"
    "is one line FILE:LINE:COLUMN: rule: what became what, and why; files that come\n"
    "back unchanged are named identical. A summary follows.\n\n"
    "Options:\n"
    "  --format FORMAT    FORMATS\n"
    "                     default: the format the file's header shows (PageMaker\n"
    "                     \"<PMTags\", QuarkXPress \"<v1.70>\", Ventura a first line\n"
    "                     \"@TAG = \", taken as Ventura 5 to 7), else its extension:\n"
    "EXTENSIONS"
    "                     Ventura 4 files look like those of the later versions:\n"
    "                     give --format ventura4 for them\n"
    "  --tag-file FILE    the tag file of HTML and SGML files (read, never\n"
    "                     changed); without one an SGML file is marked up with a\n"
    "                     tag file collected from it, so every tag is external\n"
    "  --encoding NAME    read HTML and SGML files that declare no encoding in NAME\n"
    "                     (utf-8, windows-1250, ...), as tessel markup does\n"
    "  --via PATH         rtf (the default): through the mark-up's RTF; xliff:\n"
    "                     extracted as XLIFF, each target a copy of its source,\n"
    "                     and merged back, as tessel extract and merge do\n"
    "  --json             one JSON document instead of lines\n"
    "  -h, --help         show this help\n\n"
    "Exit status: 0 when every file came back identical, 1 otherwise, 2 for usage\n"
    "errors.\n";

std::string replaced(std::string text, std::string_view placeholder, std::string_view value) {
    std::size_t at = text.find(placeholder);
    if (at != std::string::npos) text.replace(at, placeholder.size(), value);
    return text;
}

std::string formatNames() {
    std::string names;
    for (const auto& format : verify::roundTripFormats()) {
        if (!names.empty()) names += "|";
        names += format.name;
    }
    return names;
}

std::string verifyHelp() {
    std::string targets = verify::targetKeys();
    for (std::size_t bar = targets.find('|'); bar != std::string::npos; bar = targets.find('|')) {
        targets.replace(bar, 1, ", ");
    }
    constexpr std::size_t kOptionColumn = 21;
    return replaced(kVerifyHelp, "TARGETS", wrapText(targets, kOptionColumn, kOptionColumn));
}

// "                     html: .htm .html ...\n" for each format with extensions.
std::string formatExtensions() {
    std::string lines;
    for (const auto& format : verify::roundTripFormats()) {
        if (format.extensions.empty()) continue;
        lines += std::string(21, ' ') + std::string(format.name) + ":";
        for (std::string_view extension : format.extensions) lines += " " + std::string(extension);
        lines += "\n";
    }
    return lines;
}

std::string roundtripHelp() {
    return replaced(replaced(kRoundtripHelp, "FORMATS", formatNames()), "EXTENSIONS",
                    formatExtensions());
}

// The value of "--name VALUE" or "--name=VALUE"; nothing when missing.
std::optional<std::string> valueOf(const std::vector<std::string>& args, std::size_t& i,
                                   std::string_view name) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) return std::nullopt;
        return args[++i];
    }
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 &&
        arg[name.size()] == '=') {
        return arg.substr(name.size() + 1);
    }
    return std::nullopt;
}

bool isOption(const std::string& arg, std::string_view name) {
    return arg == name || (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 &&
                           arg[name.size()] == '=');
}

// Prints each finding as it is found.
class PrintingSink final : public verify::FindingSink {
  public:
    PrintingSink(std::ostream& out, bool json) : out_(out), json_(json) {}
    void finding(verify::Finding&& finding) override {
        if (json_) {
            out_ << (first_ ? "\n" : ",\n") << app::findingJson(finding);
        } else {
            out_ << app::findingLine(finding) << "\n";
        }
        first_ = false;
    }

  private:
    std::ostream& out_;
    bool json_;
    bool first_ = true;
};

std::string jsonCounts(const app::KindCounts& counts) {
    std::string text = "{";
    for (const auto& [name, count] : counts) {
        if (text.size() > 1) text += ",";
        text += app::jsonString(name) + ":" + std::to_string(count);
    }
    return text + "}";
}

std::string jsonList(const std::vector<std::string>& items) {
    std::string text = "[";
    for (const std::string& item : items) {
        if (text.size() > 1) text += ",";
        text += app::jsonString(item);
    }
    return text + "]";
}

}  // namespace

int verifyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    verify::VerifyOptions options;
    std::optional<std::string> batch;
    bool json = false;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << verifyHelp();
            return kExitSuccess;
        }
        if (arg == "--strict") {
            options.strict = true;
        } else if (arg == "--json") {
            json = true;
        } else if (isOption(arg, "--batch")) {
            batch = valueOf(args, i, "--batch");
            if (!batch) {
                return usageError(err, "verify: --batch needs the folder of the originals",
                                  "tessel verify");
            }
        } else if (isOption(arg, "--target")) {
            std::optional<std::string> value = valueOf(args, i, "--target");
            if (value) options.target = verify::parseTarget(*value);
            if (!options.target) {
                return usageError(err,
                                  "verify: --target takes one of " + verify::targetKeys() +
                                      " (CP: a code page with a table)",
                                  "tessel verify");
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError(err, "verify: unknown option " + arg, "tessel verify");
        } else {
            names.push_back(arg);
        }
    }
    app::Pairing pairing;
    std::error_code error;
    if (batch) {
        if (!fs::is_directory(*batch, error)) {
            return usageError(err, "verify: --batch needs a folder of originals: " + *batch,
                              "tessel verify");
        }
        if (names.empty()) {
            return usageError(err, "verify: no translated files or folders given", "tessel verify");
        }
        for (const std::string& name : names) {
            if (!fs::exists(name, error)) {
                return usageError(err, "verify: no such file or folder: " + name, "tessel verify");
            }
        }
        pairing = app::pairTranslations(*batch, names);
    } else {
        if (names.size() != 2) {
            return usageError(err, "verify: expected ORIGINAL.rtf and TRANSLATED.rtf",
                              "tessel verify");
        }
        for (const std::string& name : names) {
            if (!fs::is_regular_file(name, error)) {
                return usageError(err, "verify: no such file: " + name, "tessel verify");
            }
        }
        pairing.pairs.push_back({names[0], names[1]});
    }
    for (const std::string& problem : pairing.problems) err << "tessel verify: " << problem << "\n";

    if (json) out << "{\"command\":\"verify\",\"findings\":[";
    PrintingSink sink(out, json);
    app::VerifyTotals totals = app::verifyPairs(pairing.pairs, options, sink);
    if (json) {
        out << "\n],\"problems\":" << jsonList(pairing.problems)
            << ",\"summary\":{\"translations\":" << totals.translations
            << ",\"withFindings\":" << totals.withFindings << ",\"findings\":" << totals.findings
            << ",\"paragraphs\":" << totals.paragraphs
            << ",\"target\":" << app::jsonString(totals.target)
            << ",\"byKind\":" << jsonCounts(totals.byKind)
            << ",\"text\":" << app::jsonString(app::verifySummary(totals)) << "}}\n";
    } else {
        out << app::verifySummary(totals) << "\n";
    }
    out.flush();
    return totals.findings > 0 || !pairing.problems.empty() ? kExitFailure : kExitSuccess;
}

int roundtripCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    verify::RoundTripOptions options;
    bool json = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << roundtripHelp();
            return kExitSuccess;
        }
        if (arg == "--json") {
            json = true;
        } else if (isOption(arg, "--format")) {
            std::optional<std::string> value = valueOf(args, i, "--format");
            if (value) options.format = verify::findRoundTripFormat(*value);
            if (options.format == nullptr) {
                return usageError(err, "roundtrip: --format takes one of " + formatNames(),
                                  "tessel roundtrip");
            }
        } else if (isOption(arg, "--tag-file")) {
            std::optional<std::string> value = valueOf(args, i, "--tag-file");
            std::error_code error;
            if (!value || !fs::is_regular_file(*value, error)) {
                return usageError(err, "roundtrip: --tag-file needs an existing file",
                                  "tessel roundtrip");
            }
            options.tagFile = *value;
        } else if (isOption(arg, "--encoding")) {
            std::optional<std::string> value = valueOf(args, i, "--encoding");
            if (!value || value->empty() || f_iSetSourceEncoding(value->c_str()) != 0) {
                return usageError(err, "roundtrip: --encoding needs an encoding the library reads",
                                  "tessel roundtrip");
            }
        } else if (isOption(arg, "--via")) {
            std::optional<std::string> value = valueOf(args, i, "--via");
            if (!value || (*value != "rtf" && *value != "xliff")) {
                return usageError(err, "roundtrip: --via takes rtf or xliff", "tessel roundtrip");
            }
            options.viaXliff = *value == "xliff";
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError(err, "roundtrip: unknown option " + arg, "tessel roundtrip");
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        return usageError(err, "roundtrip: no files given", "tessel roundtrip");
    }
    std::error_code error;
    for (const std::string& file : files) {
        if (!fs::is_regular_file(file, error)) {
            return usageError(err, "roundtrip: no such file: " + file, "tessel roundtrip");
        }
    }
    bool first = true;
    if (json) out << "{\"command\":\"roundtrip\",\"files\":[";
    auto print = [&](const verify::RoundTripResult& result) {
        if (!json) {
            for (const std::string& line : app::roundTripLines(result)) out << line << "\n";
            return;
        }
        out << (first ? "\n" : ",\n") << "{\"file\":" << app::jsonString(result.file)
            << ",\"format\":" << app::jsonString(result.format ? result.format->name : "")
            << ",\"failed\":" << (result.failed ? "true" : "false")
            << ",\"identical\":" << (result.identical ? "true" : "false")
            << ",\"markUpResult\":" << result.markUpResult
            << ",\"backResult\":" << result.backResult
            << ",\"failureMessage\":" << app::jsonString(result.failureMessage)
            << ",\"differences\":[";
        for (std::size_t i = 0; i < result.differences.size(); ++i) {
            out << (i == 0 ? "" : ",") << "\n  " << app::differenceJson(result.differences[i]);
        }
        out << "],\"lines\":" << jsonList(app::roundTripLines(result)) << "}";
        first = false;
    };
    app::RoundTripReport report = app::roundTripFiles(files, options, print);
    if (json) {
        const app::RoundTripTotals& t = report.totals;
        out << "\n],\"summary\":{\"files\":" << t.files << ",\"identical\":" << t.identical
            << ",\"failed\":" << t.failed << ",\"differences\":" << t.differences
            << ",\"unexplained\":" << t.unexplained << ",\"byRule\":" << jsonCounts(t.byRule)
            << ",\"text\":" << app::jsonString(report.lines.back()) << "}}\n";
    } else {
        out << report.lines.back() << "\n";
    }
    out.flush();
    return report.totals.identical == report.totals.files ? kExitSuccess : kExitFailure;
}

}  // namespace tessel::cli
