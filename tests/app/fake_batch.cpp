#include "fake_batch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "support/portable.h"

namespace tessel::app::testing {

FakeLibrary& fakeLibrary() {
    static FakeLibrary library;
    return library;
}

int FakeLibrary::play(const std::string& input) {
    inputs.push_back(input);
    if (steps.empty()) {
        ADD_FAILURE() << "unexpected export call for " << input;
        return -1000;
    }
    FakeStep step = steps.front();
    steps.pop_front();
    if (step.effect) step.effect(input);
    return step.result;
}

int TESSEL_CALL fakeInputOnly(const char* input) {
    fakeLibrary().extensions.emplace_back();
    return fakeLibrary().play(input);
}

int TESSEL_CALL fakeWithExtension(const char* input, const char* extension) {
    fakeLibrary().extensions.emplace_back(extension);
    return fakeLibrary().play(input);
}

int TESSEL_CALL fakeWithTagFile(const char* input, const char* tagFile) {
    fakeLibrary().tagFiles.emplace_back(tagFile);
    return fakeLibrary().play(input);
}

int TESSEL_CALL fakeTextEngine(char* path, int function, unsigned char deleteBackup,
                               const char* extension) {
    FakeLibrary& library = fakeLibrary();
    library.functionCodes.push_back(function);
    library.deleteBackupFlags.push_back(deleteBackup);
    library.extensions.emplace_back(extension ? extension : "");
    std::string input(path);
    // The engine may write a name of up to 259 characters into the buffer;
    // doing so here lets the sanitizers see a buffer that is too small.
    std::memset(path, 'x', 259);
    path[259] = '\0';
    return library.play(input);
}

int TESSEL_CALL fakeMultiLingual(const char* input, const char* extension, unsigned codePage,
                                 const char* charset) {
    FakeLibrary& library = fakeLibrary();
    library.extensions.emplace_back(extension);
    library.codePages.push_back(codePage);
    library.charsets.emplace_back(charset);
    return library.play(input);
}

std::vector<std::string> FakeShell::chooseFiles(const FileChoice& choice) {
    lastChoice = choice;
    choices.push_back(choice);
    calls.push_back("choose");
    if (!fileChoices.empty()) {
        std::vector<std::string> next = std::move(fileChoices.front());
        fileChoices.pop_front();
        return next;
    }
    return files;
}

bool FakeShell::askYesNo(const std::string& question) {
    questions.push_back(question);
    if (answers.empty()) return false;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeShell::appendReport(const std::string& text, ReportStyle style) {
    report.push_back(ReportLine{text, style});
    calls.push_back("report");
}

void FakeShell::openErrorLogs(const std::vector<std::string>& paths) {
    openedLogs.push_back(paths);
}

bool FakeShell::closeErrorLogViews(const std::vector<std::string>& logPaths) {
    closeRequests.insert(closeRequests.end(), logPaths.begin(), logPaths.end());
    calls.push_back("close");
    return allowClose;
}

std::string FakeShell::chooseOneFile(const FileChoice& choice) {
    oneFileChoices.push_back(choice);
    calls.push_back("one");
    return oneFile;
}

CodePageChoice FakeShell::chooseCodePage(unsigned presetCodePage) {
    codePagePresets.push_back(presetCodePage);
    calls.push_back("codepage");
    return codePageAnswer;
}

std::string FakeShell::reportText() const {
    std::string text;
    for (const ReportLine& line : report) text += line.text;
    return text;
}

Command fakeCommand(ExportBinding binding, ReportKind kind, bool conversionFlag,
                    std::optional<FormatGroup> group, std::string_view outputExtension) {
    return Command{
        .family = "test",
        .name = "fake",
        .summary = "stand-in",
        .group = group,
        .fileChoiceTitle = "Select Test Files",
        .fileFilter = "Test Files|*.tst||",
        .heading = "Testing...\n\n",
        .outputExtension = outputExtension,
        .exportBinding = binding,
        .kind = kind,
        .conversionFlag = conversionFlag,
    };
}

ScratchFolder::ScratchFolder() {
    root = tessel::test::makeScratchFolder("tessel_app_test_");
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

std::string ScratchFolder::path(const std::string& name) const {
    return (root / name).string();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

}  // namespace tessel::app::testing
