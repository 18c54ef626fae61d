// Stand-ins for the library exports and for the program around the batch
// core, and a scratch folder for the files they write.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/batch_shell.h"
#include "core/command_table.h"

namespace tessel::app::testing {

// One scripted answer of the fake library: the code it returns and what it
// does to the file system before returning.
struct FakeStep {
    int result = 0;
    std::function<void(const std::string& input)> effect;
};

// The fake exports record their calls and play the scripted steps in order.
struct FakeLibrary {
    std::deque<FakeStep> steps;
    std::vector<std::string> inputs;
    std::vector<std::string> extensions;
    std::vector<int> functionCodes;
    std::vector<int> deleteBackupFlags;
    std::vector<std::size_t> pathBufferSizes;  // text engine: bytes usable
    std::vector<std::string> tagFiles;
    std::vector<unsigned> codePages;  // multilingual HTML
    std::vector<std::string> charsets;

    int play(const std::string& input);
};

// Reset by each test.
FakeLibrary& fakeLibrary();

int TESSEL_CALL fakeInputOnly(const char* input);
int TESSEL_CALL fakeWithExtension(const char* input, const char* extension);
int TESSEL_CALL fakeWithTagFile(const char* input, const char* tagFile);
int TESSEL_CALL fakeTextEngine(char* path, int function, unsigned char deleteBackup,
                               const char* extension);
int TESSEL_CALL fakeMultiLingual(const char* input, const char* extension, unsigned codePage,
                                 const char* charset);

struct ReportLine {
    std::string text;
    ReportStyle style;
};

class FakeShell : public BatchShell {
  public:
    std::vector<std::string> files;
    // Answers to the next file choices, taken before `files` is.
    std::deque<std::vector<std::string>> fileChoices;
    std::vector<FileChoice> choices;  // every file choice asked, in order
    std::deque<bool> answers;         // answers to questions; No when exhausted
    std::vector<std::string> questions;
    std::vector<ReportLine> report;
    int clears = 0;
    std::vector<std::vector<std::string>> openedLogs;
    std::vector<std::string> closeRequests;
    bool allowClose = true;
    std::string oneFile;  // the answer to chooseOneFile
    std::vector<FileChoice> oneFileChoices;
    CodePageChoice codePageAnswer;  // the answer to chooseCodePage
    std::vector<unsigned> codePagePresets;
    // Everything the shell was asked, in order: "choose", "close", "one",
    // "report", "clear", "codepage".
    std::vector<std::string> calls;

    std::vector<std::string> chooseFiles(const FileChoice& choice) override;
    bool askYesNo(const std::string& question) override;
    void appendReport(const std::string& text, ReportStyle style) override;
    void clearReport() override {
        ++clears;
        calls.push_back("clear");
    }
    void openErrorLogs(const std::vector<std::string>& paths) override;
    bool closeErrorLogViews(const std::vector<std::string>& logPaths) override;
    std::string chooseOneFile(const FileChoice& choice) override;
    CodePageChoice chooseCodePage(unsigned presetCodePage) override;
    // The user stops the batch once this many files were reported (never
    // when negative).
    int stopAfterFiles = -1;
    int filesReported = 0;
    void fileReported(const FileOutcome& /*outcome*/) override { ++filesReported; }
    bool stopRequested() override { return stopAfterFiles >= 0 && filesReported >= stopAfterFiles; }

    std::string reportText() const;
    FileChoice lastChoice{};
};

// A command row around a stand-in export.
Command fakeCommand(ExportBinding binding, ReportKind kind = ReportKind::Changes,
                    bool conversionFlag = true, std::optional<FormatGroup> group = std::nullopt,
                    std::string_view outputExtension = ".rtf");

// A fresh folder per test, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    std::string path(const std::string& name) const;
    std::filesystem::path root;
};

void writeFile(const std::string& path, const std::string& content);
std::string readFile(const std::string& path);
bool exists(const std::string& path);

}  // namespace tessel::app::testing
