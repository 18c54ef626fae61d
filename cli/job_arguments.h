// The options and names of a job command ("tessel markup html -o out
// FILE..."), read into one structure; a usage problem is told in words.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessel::cli {

struct JobArguments {
    std::optional<std::string> subcommand;
    std::vector<std::string> names;
    std::optional<std::string> extension;
    std::optional<std::string> tagFile;
    std::optional<std::string> outputFolder;
    std::vector<std::string> includes;
    std::optional<unsigned> codePage;  // multilingual HTML
    std::optional<std::string> charset;
    std::optional<std::string> encoding;        // mark-up: the undeclared sources' encoding
    bool chooseLanguage = false;                // the code page from the language dialog
    std::optional<std::string> xliffVersion;    // extract: "1.2" or "2.1"
    std::optional<std::string> sourceLanguage;  // extract
    std::optional<std::string> targetLanguage;  // extract
    std::optional<std::string> original;        // back: the RTF the mark-up wrote
    std::optional<std::string> originalFolder;  // back: the folder of those
    bool noCheck = false;                       // back: no tag checks
    bool keepBackup = false;
    bool overwrite = false;
    bool recursive = false;
    bool quiet = false;
    bool jsonReport = false;
    bool help = false;
    unsigned jobs = 1;                     // processes converting the files; 0: one per processor
    std::vector<std::string> commandLine;  // the family and its arguments
};

// Reads `args` (the arguments after the family) into `parsed`; the problem
// when they are not a valid command line.
std::optional<std::string> parseJobArguments(const std::vector<std::string>& args,
                                             JobArguments& parsed);

}  // namespace tessel::cli
