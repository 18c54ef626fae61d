#include "support/bench_jobs.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

#include "frame/error_log.h"
#include "frame/job_state.h"
#include "markup/charset_step.h"
#include "parser/grammar_trace.h"
#include "parser/ss_exception.h"
#include "parser/ss_lex_file_input.h"
#include "support/bench_files.h"
#include "support/bench_inputs.h"
#include "tessel_cat.h"

namespace tessel::bench {

namespace {

namespace fs = std::filesystem;

bool lineEngine(const std::string& path, int function) {
    char buffer[260];
    std::strncpy(buffer, path.c_str(), sizeof buffer - 1);
    buffer[sizeof buffer - 1] = '\0';
    return funciTextReadWriteParser(buffer, function, 0, "out") >= 0;
}

bool rtfBack(const std::string& path, int function) {
    return funciReadRTFWriteTextParserMultiLingual(path.c_str(), function, ".out", 1252) >= 0;
}

const std::string& sgmlTagFile() {
    static const std::string path = [] {
        std::string file = scratchPath("sgml-structure-tags.txt");
        writeBytes(file, sgmlStructureTags());
        return file;
    }();
    return path;
}

bool lexAndParse(const std::string& path, const char* grammarName) {
    const auto& grammar = *tessel::resources::findGrammar(grammarName);
    static std::map<std::string, parser::GrammarTables> tables;
    auto found = tables.find(grammarName);
    if (found == tables.end()) {
        found = tables.emplace(grammarName, parser::GrammarTables::load(grammar)).first;
    }
    // The buffer the converters read their sources with.
    parser::SSLexFileInput input(path, parser::SSLexInput::Multibyte,
                                 parser::SSLexFileInput::kBlock, parser::SSLexFileInput::kBlock);
    parser::GrammarLex lex(grammar, input, found->second.lex);
    parser::TracingParser parser(lex, found->second.yacc, {});
    return parser.parse() == 0 && parser.syntaxErrors() == 0;
}

bool charsetStep(const std::string& path) {
    frame::jobState().reset();
    frame::ErrorLog log;
    log.open(path + ".ERR");
    return markup::runCharsetStep(path, 1251, "", log) == 0;
}

Job lineEngineJob(int function, double target) {
    // Windows text for the conversion to Macintosh, Macintosh text otherwise.
    bool macintosh = function != 611;
    return {"line engine " + std::to_string(function),
            macintosh ? "macintosh" : "windows",
            "text.txt",
            [macintosh](std::size_t size) { return lineText(size, macintosh); },
            [function](const std::string& path) { return lineEngine(path, function); },
            false,
            target};
}

Job rtfBackJob(const std::string& name, int function, double target) {
    return {name + " (" + std::to_string(function) + ")",
            "rtf",
            "translated.rtf",
            taggedRtf,
            [function](const std::string& path) { return rtfBack(path, function); },
            false,
            target};
}

Job markUpJob(const std::string& name, const std::string& kind,
              std::function<std::string(std::size_t)> generate, int (*markUp)(const char*),
              double target) {
    return {name,
            kind,
            "story.txt",
            std::move(generate),
            [markUp](const std::string& path) { return markUp(path.c_str()) >= 0; },
            false,
            target};
}

Job parseJob(const std::string& shape, const char* grammar) {
    return {"lex+parse " + shape,
            "grammar-" + shape,
            "grammar.txt",
            [shape](std::size_t size) { return grammarText(shape, size); },
            [grammar](const std::string& path) { return lexAndParse(path, grammar); },
            false,
            0};
}

Job charsetJob(const std::string& shape) {
    return {"charset step " + shape,
            "charset-" + shape,
            "page.htm",
            [shape](std::size_t size) { return charsetPage(shape, size); },
            charsetStep,
            true,
            0};
}

std::vector<Job> makeJobs() {
    std::vector<Job> jobs = {
        lineEngineJob(610, 60),
        lineEngineJob(611, 0),
        lineEngineJob(613, 0),
        {"f_iHTML2RTF", "html", "page.htm", htmlPage,
         [](const std::string& path) { return f_iHTML2RTF(path.c_str(), nullptr) >= 0; }, false,
         35},
        {"f_iSGML2RTF (803)", "sgml", "chapter.sgml", sgmlChapter,
         [](const std::string& path) {
             return f_iSGML2RTF(path.c_str(), sgmlTagFile().c_str()) >= 0;
         },
         false, 0},
        {"SGML tag collection (801)", "sgml", "chapter.sgml", sgmlChapter,
         [](const std::string& path) {
             return f_iAddUniqueSGMLTagsToFile(path.c_str(), (path + ".tags").c_str()) > 0;
         },
         false, 0},
        rtfBackJob("f_iRTF2Text", 504, 60),
        rtfBackJob("f_iRTF2HTML", 508, 45),
        rtfBackJob("f_iRTF2PageMaker", 510, 0),
        rtfBackJob("f_iRTF2XPress", 511, 0),
        rtfBackJob("f_iRTF2SGML", 512, 0),
        rtfBackJob("f_iVentura4RTF2Text", 513, 0),
        rtfBackJob("f_iRTF2CompatibleHTML", 514, 0),
        rtfBackJob("f_iRTF2HTMLMultiLingual", 515, 0),
        markUpJob("f_iPageMaker2RTF", "pagemaker", pageMakerText, f_iPageMaker2RTF, 20),
        markUpJob("f_iXPress2RTF", "xpress", xpressText, f_iXPress2RTF, 20),
        markUpJob(
            "f_iVentura4toRTF", "ventura4",
            [](std::size_t size) { return venturaText(size, true); }, f_iVentura4toRTF, 20),
        markUpJob(
            "f_iVentura567toRTF", "ventura",
            [](std::size_t size) { return venturaText(size, false); }, f_iVentura567toRTF, 20),
        charsetJob("page"),
        charsetJob("prose"),
    };
    for (auto [shape, grammar] : std::initializer_list<std::pair<const char*, const char*>>{
             {"pagemaker", "pagemaker"},
             {"pagemaker-prose", "pagemaker"},
             {"quark", "quark"},
             {"htmlcharset", "htmlcharset"},
             {"htmlcharset-prose", "htmlcharset"},
             {"ventura4", "ventura4"},
             {"ventura", "ventura"}}) {
        jobs.push_back(parseJob(shape, grammar));
    }
    return jobs;
}

std::map<std::pair<std::string, std::size_t>, std::string>& inputFiles() {
    static std::map<std::pair<std::string, std::size_t>, std::string> files;
    return files;
}

}  // namespace

const std::vector<Job>& allJobs() {
    static const std::vector<Job> jobs = makeJobs();
    return jobs;
}

const Job* findJob(const std::string& name) {
    for (const Job& job : allJobs()) {
        if (job.name == name) return &job;
    }
    return nullptr;
}

const std::string& jobInput(const Job& job, std::size_t size) {
    auto key = std::make_pair(job.inputKind, size);
    auto found = inputFiles().find(key);
    if (found != inputFiles().end()) return found->second;
    fs::path folder = scratchPath(job.inputKind + "-" + std::to_string(size));
    fs::create_directories(folder);
    std::string path = (folder / job.fileName).string();
    writeBytes(path, job.generate(size));
    return inputFiles().emplace(key, path).first->second;
}

OutputSweeper::OutputSweeper(const std::string& inputPath)
    : folder_(fs::path(inputPath).parent_path().string()) {
    if (folder_.empty()) folder_ = ".";
    for (const auto& entry : fs::directory_iterator(folder_)) {
        before_.push_back(entry.path().string());
    }
    std::sort(before_.begin(), before_.end());
}

void OutputSweeper::sweep() const {
    std::vector<fs::path> added;
    for (const auto& entry : fs::directory_iterator(folder_)) {
        if (!std::binary_search(before_.begin(), before_.end(), entry.path().string())) {
            added.push_back(entry.path());
        }
    }
    for (const fs::path& path : added) fs::remove_all(path);
}

void dropInputs(std::size_t size) {
    for (auto it = inputFiles().begin(); it != inputFiles().end();) {
        if (it->first.second == size) {
            fs::remove_all(fs::path(it->second).parent_path());
            it = inputFiles().erase(it);
        } else {
            ++it;
        }
    }
}

std::string prepareRun(const Job& job, const std::string& inputPath) {
    if (!job.inPlace) return inputPath;
    fs::path input(inputPath);
    fs::path work = input.parent_path() / ("work-" + input.filename().string());
    fs::copy_file(input, work, fs::copy_options::overwrite_existing);
    return work.string();
}

}  // namespace tessel::bench
