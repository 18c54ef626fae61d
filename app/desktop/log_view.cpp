#include "log_view.h"

#include "batch_thread.h"
#include "core/shipped_tag_file.h"
#include "desktop_host.h"
#include "desktop_shell.h"
#include "encoding_choices.h"
#include "log_document.h"

namespace tessel::desktop {

CTesselFilterPackView::CTesselFilterPackView(CTesselFilterPackDoc& document, DesktopHost& host,
                                             QWidget* parent)
    : QTextEdit(parent),
      document_(document),
      host_(host),
      shell_(std::make_unique<DesktopShell>(host, document)),
      session_(std::make_unique<app::BatchSession>(*shell_)) {
    setDocument(document.textDocument());
    // Error logs are edited, unless too large to; the report is not.
    const bool editable = document.isErrorLog() && !document.isReadOnly();
    setReadOnly(!editable);
    setTextInteractionFlags(editable ? Qt::TextEditorInteraction
                                     : Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(editable);
    setAcceptRichText(!document.isErrorLog());
    setLineWrapMode(document.isErrorLog() ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);
}

CTesselFilterPackView::~CTesselFilterPackView() = default;

std::vector<app::FileOutcome> CTesselFilterPackView::runCommand(const app::Command& command,
                                                                const QStringList* files) {
    const DesktopOptions& options = host_.options();
    // The shell answers for "Overwrite Existing Files": it still asks for
    // the page an RTF file was marked up from.
    session_->options().overwriteExisting = false;
    // With an output folder the outputs are moved there and the files in it
    // asked about; a file next to the input is then never replaced. A tag
    // collection's output is its tag file, which stays where it was chosen.
    const bool toFolder =
        !options.outputFolder.isEmpty() && command.tagFile != app::TagFileRole::Collected;
    session_->options().keepFilesBesideInput = toFolder;
    shell_->setOutputFolder(toFolder ? options.outputFolder : QString());
    app::RunSettings settings;
    settings.chooseTagFile = app::takesTagFile(command) && options.askForTagFile;
    // Unless the user is asked, the HTML mark-up reads the shipped tag file.
    if (app::takesShippedTagFile(command) && !settings.chooseTagFile) {
        settings.tagFilePath = app::shippedTagFile();
    }
    settings.codePage = host_.lastCodePage();
    settings.backChecks.enabled = options.checkTagsOnBackConversion;
    // The library keeps the encoding choices for the jobs that follow: given
    // here, on the window's thread, before the worker starts.
    applyEncodingChoices(options);
    std::vector<app::FileOutcome> outcomes;
    shell_->setCommand(&command);
    if (files) shell_->presetFiles(*files);
    // The files are converted on a worker; this view waits for them in an
    // event loop, so the window stays responsive.
    runOnWorkerThread([&] { outcomes = session_->runCommand(command, settings); });
    shell_->setCommand(nullptr);
    shell_->setOutputFolder(QString());
    session_->options().keepFilesBesideInput = false;
    moveCursor(QTextCursor::End);
    if (shell_->batchChosen()) host_.showProblems(shell_->takeProblems());
    QStringList inputs;
    for (const app::FileOutcome& outcome : outcomes) {
        if (outcome.countedRead) inputs << fromCorePath(outcome.inputPath);
    }
    if (!inputs.isEmpty()) host_.rememberInputs(command, inputs);
    return outcomes;
}

app::CheckOutcome CTesselFilterPackView::runCheck(const app::CheckCommand& check) {
    // A round-trip check reads its sources as the mark-up commands do; like
    // the tool's, it converts back in the format's default code page, so
    // that a source comes back as it was.
    DesktopOptions choices = host_.options();
    choices.targetCodePage = 0;
    applyEncodingChoices(choices);
    app::CheckOutcome outcome = app::runCheck(check, *session_);
    moveCursor(QTextCursor::End);
    return outcome;
}

}  // namespace tessel::desktop
