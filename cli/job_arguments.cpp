#include "job_arguments.h"

#include <string_view>

#include "platform/files.h"
#include "tool_texts.h"

namespace tessel::cli {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// A language tag as XLIFF takes it: letters and digits in parts of 1 to 8
// joined by "-" ("de", "pt-BR", "zh-Hant-TW").
bool isLanguageTag(std::string_view tag) {
    std::size_t part = 0;
    for (char c : tag) {
        if (c == '-') {
            if (part == 0) return false;
            part = 0;
        } else if (((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || (c >= '0' && c <= '9')) {
            if (++part > 8) return false;
        } else {
            return false;
        }
    }
    return part > 0;
}

bool namesAFile(const std::string& name) {
    return platform::nameExists(name);
}

// Reads the options and names; the problem on a usage error.
class JobArgumentParser {
  public:
    JobArgumentParser(const std::vector<std::string>& args, JobArguments& parsed)
        : args_(args), parsed_(parsed) {}

    std::optional<std::string> parse() {
        for (i_ = 0; i_ < args_.size() && !problem_; ++i_) parseOne(args_[i_]);
        return problem_;
    }

  private:
    // The value of an option given as "NAME VALUE" or "--NAME=VALUE"; nothing
    // (and a problem) when it is missing.
    std::optional<std::string> value(const std::string& arg, std::string_view name) {
        if (arg.size() > name.size()) return arg.substr(name.size() + 1);
        if (i_ + 1 < args_.size()) return args_[++i_];
        problem_ = fill(text::kOptionNeedsValue, {name});
        return std::nullopt;
    }

    static bool is(const std::string& arg, std::string_view name) {
        return arg == name || startsWith(arg, std::string(name) + "=");
    }

    // Short options run together: every letter one that needs no value, but
    // for the last, which may be "o".
    static bool isBundle(const std::string& arg) {
        if (arg.size() < 3 || arg[0] != '-' || arg[1] == '-') return false;
        for (std::size_t letter = 1; letter < arg.size(); ++letter) {
            bool last = letter + 1 == arg.size();
            if (std::string_view("qrh").find(arg[letter]) == std::string_view::npos &&
                !(last && arg[letter] == 'o')) {
                return false;
            }
        }
        return true;
    }

    void addName(const std::string& arg) {
        if (!parsed_.subcommand) {
            parsed_.subcommand = arg;
        } else {
            parsed_.names.push_back(arg);
        }
    }

    void parseOne(const std::string& arg) {
        // A file whose name starts with "-" (a shell pattern matched it) is a
        // file, not an option.
        bool isOption = !optionsEnded_ && arg.size() > 1 && arg[0] == '-' &&
                        (arg == "--" || !parsed_.subcommand || !namesAFile(arg));
        if (!isOption) {
            addName(arg);
        } else if (isBundle(arg)) {
            // "-qr" is "-q -r"; an "o" ends the bundle and takes the next
            // argument as its folder.
            for (std::size_t letter = 1; letter < arg.size() && !problem_; ++letter) {
                parseOne(std::string{'-', arg[letter]});
            }
        } else if (arg == "--") {
            optionsEnded_ = true;
        } else if (arg == "--help" || arg == "-h") {
            parsed_.help = true;
        } else if (arg == "--overwrite") {
            parsed_.overwrite = true;
        } else if (arg == "--keep-backup") {
            parsed_.keepBackup = true;
        } else if (arg == "-r" || arg == "--recursive") {
            parsed_.recursive = true;
        } else if (arg == "-q" || arg == "--quiet") {
            parsed_.quiet = true;
        } else if (arg == "-o" || is(arg, "--output-dir")) {
            parsed_.outputFolder = value(arg, arg == "-o" ? "-o" : "--output-dir");
            if (parsed_.outputFolder && parsed_.outputFolder->empty()) {
                problem_ = fill(text::kOptionNeedsValue, {"--output-dir"});
            }
        } else if (arg == "-j" || is(arg, "--jobs")) {
            std::optional<std::string> count = value(arg, arg == "-j" ? "-j" : "--jobs");
            if (!count) return;
            if (count->empty() || count->size() > 4 ||
                count->find_first_not_of("0123456789") != std::string::npos) {
                problem_ = fill(text::kJobsNumber, {*count});
                return;
            }
            parsed_.jobs = static_cast<unsigned>(std::stoul(*count));
        } else if (is(arg, "--include")) {
            if (std::optional<std::string> glob = value(arg, "--include")) {
                parsed_.includes.push_back(*glob);
            }
        } else if (is(arg, "--report")) {
            std::optional<std::string> format = value(arg, "--report");
            if (format && *format != "json") problem_ = fill(text::kReportFormats, {*format});
            parsed_.jsonReport = true;
        } else if (is(arg, "--ext")) {
            parsed_.extension = value(arg, "--ext");
            if (!parsed_.extension) return;
            if (parsed_.extension->empty() || *parsed_.extension == ".") {
                problem_ = text::kExtNeedsExtension;
            } else if (parsed_.extension->find_first_of("/\\") != std::string::npos) {
                problem_ = fill(text::kExtNotAPath, {*parsed_.extension});
            }
        } else if (is(arg, "--codepage") || is(arg, "--code-page")) {
            std::optional<std::string> number = value(arg, arg.substr(0, arg.find('=')));
            if (!number) return;
            if (number->empty() || number->size() > 5 ||
                number->find_first_not_of("0123456789") != std::string::npos ||
                std::stoul(*number) == 0) {
                problem_ = fill(text::kCodePageNumber, {*number});
                return;
            }
            parsed_.codePage = static_cast<unsigned>(std::stoul(*number));
        } else if (arg == "--no-check") {
            parsed_.noCheck = true;
        } else if (is(arg, "--original-dir")) {
            parsed_.originalFolder = value(arg, "--original-dir");
            if (parsed_.originalFolder && parsed_.originalFolder->empty()) {
                problem_ = fill(text::kOptionNeedsValue, {"--original-dir"});
            }
        } else if (is(arg, "--original")) {
            parsed_.original = value(arg, "--original");
            if (parsed_.original && parsed_.original->empty()) {
                problem_ = fill(text::kOptionNeedsValue, {"--original"});
            }
        } else if (arg == "--choose") {
            parsed_.chooseLanguage = true;
        } else if (is(arg, "--charset")) {
            parsed_.charset = value(arg, "--charset");
        } else if (is(arg, "--encoding")) {
            parsed_.encoding = value(arg, "--encoding");
            if (parsed_.encoding && parsed_.encoding->empty()) {
                problem_ = fill(text::kOptionNeedsValue, {"--encoding"});
            }
        } else if (is(arg, "--xliff")) {
            parsed_.xliffVersion = value(arg, "--xliff");
            if (parsed_.xliffVersion && *parsed_.xliffVersion != "1.2" &&
                *parsed_.xliffVersion != "2.1") {
                problem_ = fill(text::kXliffVersions, {*parsed_.xliffVersion});
            }
        } else if (is(arg, "--source-lang")) {
            parsed_.sourceLanguage = value(arg, "--source-lang");
            if (parsed_.sourceLanguage && !isLanguageTag(*parsed_.sourceLanguage)) {
                problem_ = fill(text::kBadLanguage, {"--source-lang", *parsed_.sourceLanguage});
            }
        } else if (is(arg, "--target-lang")) {
            parsed_.targetLanguage = value(arg, "--target-lang");
            if (parsed_.targetLanguage && !isLanguageTag(*parsed_.targetLanguage)) {
                problem_ = fill(text::kBadLanguage, {"--target-lang", *parsed_.targetLanguage});
            }
        } else if (is(arg, "--tag-file")) {
            parsed_.tagFile = value(arg, "--tag-file");
            if (parsed_.tagFile && parsed_.tagFile->empty()) {
                problem_ = fill(text::kOptionNeedsValue, {"--tag-file"});
            }
        } else {
            problem_ = fill(text::kUnknownOption, {arg});
        }
    }

    const std::vector<std::string>& args_;
    JobArguments& parsed_;
    std::size_t i_ = 0;
    bool optionsEnded_ = false;
    std::optional<std::string> problem_;
};

}  // namespace

std::optional<std::string> parseJobArguments(const std::vector<std::string>& args,
                                             JobArguments& parsed) {
    return JobArgumentParser(args, parsed).parse();
}

}  // namespace tessel::cli
