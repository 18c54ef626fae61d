// The main frame's menus, tool bar and status bar, and the updates of their
// entries' states.
#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextDocument>
#include <QToolBar>

#include "about_dialog.h"
#include "artwork.h"
#include "batch_progress.h"
#include "child_frame.h"
#include "desktop_texts.h"
#include "encoding_choices.h"
#include "find_dialog.h"
#include "help_dialog.h"
#include "log_document.h"
#include "log_view.h"
#include "main_frame.h"
#include "problems_list.h"

namespace tessel::desktop {

namespace {

QString fromUtf8(const char* text) {
    return QString::fromUtf8(text);
}

QAction* addEntry(QMenu& menu, const QString& text, const QString& tip,
                  QKeySequence shortcut = {}) {
    QAction* action = menu.addAction(text);
    action->setStatusTip(tip);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

QLabel* indicator(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("OVRW")));
    return label;
}

}  // namespace

// Menus -----------------------------------------------------------------

void CMainFrame::createMenus() {
    createFileMenu();
    createEditMenu();
    createViewMenu();
    createOptionsMenu();
    createWindowMenu();
    createHelpMenu();
    // The format menus go between View and Options.
    QAction* optionsMenu = menuBar()->actions().at(3);
    commandActions_ = addCommandMenus(
        *menuBar(), optionsMenu, [this](const app::Command& command) { runCommand(command); },
        [this](const app::CheckCommand& check) { runCheck(check); });
}

void CMainFrame::createFileMenu() {
    fileMenu_ = menuBar()->addMenu(tr("&File"));
    QMenu& m = *fileMenu_;
    connect(addEntry(m, tr("&New"), tr("Create a new log"), QKeySequence::New), &QAction::triggered,
            this, [this] { newLog(); });
    connect(
        addEntry(m, tr("&Open..."), tr("Open an existing log or error log"), QKeySequence::Open),
        &QAction::triggered, this, &CMainFrame::openWithDialog);
    closeAction_ = addEntry(m, tr("&Close"), tr("Close the active document"));
    connect(closeAction_, &QAction::triggered, this, [this] {
        if (CChildFrame* child = activeChild()) {
            CTesselFilterPackDoc& document = child->document();
            if (queryClose(document)) closeDocumentWindows(document);
        }
    });
    saveAction_ = addEntry(m, tr("&Save"), tr("Save the active document"), QKeySequence::Save);
    connect(saveAction_, &QAction::triggered, this, [this] {
        if (CChildFrame* child = activeChild()) saveDocument(child->document(), false);
    });
    saveAsAction_ = addEntry(m, tr("Save &As..."), tr("Save the active document with a new name"));
    connect(saveAsAction_, &QAction::triggered, this, [this] {
        if (CChildFrame* child = activeChild()) saveDocument(child->document(), true);
    });
    m.addSeparator();
    printAction_ =
        addEntry(m, tr("&Print..."), tr("Print the active document"), QKeySequence::Print);
    connect(printAction_, &QAction::triggered, this, &CMainFrame::print);
    previewAction_ = addEntry(m, tr("Print Pre&view"), tr("Display full pages"));
    connect(previewAction_, &QAction::triggered, this, &CMainFrame::printPreview);
    connect(addEntry(m, tr("P&rint Setup..."), tr("Change the printer and printing options")),
            &QAction::triggered, this, &CMainFrame::printSetup);
    m.addSeparator();
    recentPlaceholder_ = m.addAction(tr("Recent File"));
    recentPlaceholder_->setEnabled(false);
    for (int i = 0; i < RecentFiles::kSize; ++i) {
        QAction* recent = m.addAction(QString());
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this,
                [this, recent] { openRecent(recent->data().toString()); });
        recentActions_ << recent;
    }
    m.addSeparator();
    connect(addEntry(m, tr("E&xit"), tr("Quit the program; asks to save documents"),
                     QKeySequence::Quit),
            &QAction::triggered, this, &QWidget::close);
    updateRecentMenu();
}

void CMainFrame::createEditMenu() {
    QMenu& m = *menuBar()->addMenu(tr("&Edit"));
    undoAction_ = addEntry(m, tr("&Undo"), tr("Undo the last change"), QKeySequence::Undo);
    connect(undoAction_, &QAction::triggered, this, [this] {
        if (QTextEdit* view = activeView()) view->undo();
    });
    m.addSeparator();
    cutAction_ = addEntry(m, tr("Cu&t"), tr("Cut the selection and put it on the clipboard"),
                          QKeySequence::Cut);
    connect(cutAction_, &QAction::triggered, this, [this] {
        if (QTextEdit* view = activeView()) view->cut();
    });
    copyAction_ = addEntry(m, tr("&Copy"), tr("Copy the selection and put it on the clipboard"),
                           QKeySequence::Copy);
    connect(copyAction_, &QAction::triggered, this, [this] {
        if (QTextEdit* view = activeView()) view->copy();
    });
    pasteAction_ =
        addEntry(m, tr("&Paste"), tr("Insert the clipboard's contents"), QKeySequence::Paste);
    connect(pasteAction_, &QAction::triggered, this, [this] {
        if (QTextEdit* view = activeView()) view->paste();
    });
    m.addSeparator();
    selectAllAction_ =
        addEntry(m, tr("Select &All"), tr("Select the entire document"), QKeySequence::SelectAll);
    connect(selectAllAction_, &QAction::triggered, this, [this] {
        if (QTextEdit* view = activeView()) view->selectAll();
    });
    find_ = new FindDialog(this, [this]() -> QTextEdit* { return activeView(); });
    findAction_ = addEntry(m, tr("&Find..."), tr("Find the specified text"), QKeySequence::Find);
    connect(findAction_, &QAction::triggered, find_, &FindDialog::showFind);
    findNextAction_ = addEntry(m, tr("Find &Next"), tr("Find the next occurrence of the text"),
                               QKeySequence::FindNext);
    connect(findNextAction_, &QAction::triggered, find_, &FindDialog::findNext);
    replaceAction_ = addEntry(m, tr("R&eplace..."), tr("Replace specific text with other text"),
                              QKeySequence(tr("Ctrl+H")));
    connect(replaceAction_, &QAction::triggered, find_, &FindDialog::showReplace);
    connect(&m, &QMenu::aboutToShow, this, &CMainFrame::updateActions);
}

void CMainFrame::createViewMenu() {
    QMenu& m = *menuBar()->addMenu(tr("&View"));
    // Filled in by createToolBar and createStatusBar.
    m.setObjectName(QStringLiteral("viewMenu"));
}

void CMainFrame::createOptionsMenu() {
    QMenu& m = *menuBar()->addMenu(tr("&Options"));
    auto option = [this, &m](const char* entry, const char* prompt, bool DesktopOptions::*field) {
        QAction* action = addEntry(m, fromUtf8(entry), fromUtf8(prompt));
        action->setCheckable(true);
        action->setChecked(options_.*field);
        connect(action, &QAction::toggled, this, [this, field](bool on) { setOption(field, on); });
        return action;
    };
    overwriteAction_ = option(text::kOverwriteEntry, text::kOverwritePrompt,
                              &DesktopOptions::overwriteExistingFiles);
    askTagFileAction_ =
        option(text::kAskTagFileEntry, text::kAskTagFilePrompt, &DesktopOptions::askForTagFile);
    standardDialogAction_ = option(text::kStandardDialogEntry, text::kStandardDialogPrompt,
                                   &DesktopOptions::useStandardFileDialog);
    option(text::kCheckTagsEntry, text::kCheckTagsPrompt,
           &DesktopOptions::checkTagsOnBackConversion);
    connect(addEntry(m, fromUtf8(text::kOutputFolderEntry), fromUtf8(text::kOutputFolderPrompt)),
            &QAction::triggered, this, &CMainFrame::chooseOutputFolder);
    m.addSeparator();
    createEncodingMenus(m);
}

void CMainFrame::createEncodingMenus(QMenu& options) {
    // One exclusive group per sub-menu; the entry of the stored choice is
    // checked (none for a name the library reads but the menu lacks).
    auto fill = [this](QMenu& menu, const QList<EncodingEntry>& entries, const char* defaultPrompt,
                       const char* prompt, auto isChosen, auto choose) {
        auto* group = new QActionGroup(&menu);
        group->setExclusive(true);
        for (const EncodingEntry& entry : entries) {
            if (entry.startsGroup) menu.addSeparator();
            QString words = QString(entry.entry).remove(u'&');
            bool isDefault = entry.name.isEmpty() && entry.codePage == 0;
            QAction* action = addEntry(
                menu, entry.entry, isDefault ? fromUtf8(defaultPrompt) : text::with(prompt, words));
            action->setCheckable(true);
            action->setChecked(isChosen(entry));
            group->addAction(action);
            connect(action, &QAction::triggered, this, [this, entry, choose] {
                choose(entry);
                updateIndicators();
            });
        }
    };
    QMenu& source = *options.addMenu(fromUtf8(text::kSourceEncodingMenu));
    source.menuAction()->setStatusTip(fromUtf8(text::kSourceEncodingMenuPrompt));
    fill(
        source, sourceEncodingEntries(), text::kSourceEncodingDefaultPrompt,
        text::kSourceEncodingPrompt,
        [this](const EncodingEntry& entry) {
            return entry.name.compare(options_.sourceEncoding, Qt::CaseInsensitive) == 0;
        },
        [this](const EncodingEntry& entry) { options_.sourceEncoding = entry.name; });
    QMenu& target = *options.addMenu(fromUtf8(text::kTargetCodePageMenu));
    target.menuAction()->setStatusTip(fromUtf8(text::kTargetCodePageMenuPrompt));
    fill(
        target, targetCodePageEntries(), text::kTargetCodePageDefaultPrompt,
        text::kTargetCodePagePrompt,
        [this](const EncodingEntry& entry) { return entry.codePage == options_.targetCodePage; },
        [this](const EncodingEntry& entry) { options_.targetCodePage = entry.codePage; });
}

void CMainFrame::chooseOutputFolder() {
    std::optional<QString> chosen = prompts_->chooseOutputFolder(options_.outputFolder);
    if (!chosen) return;
    options_.outputFolder = *chosen;
    updateIndicators();
}

void CMainFrame::createWindowMenu() {
    windowMenu_ = menuBar()->addMenu(tr("&Window"));
    QMenu& m = *windowMenu_;
    newWindowAction_ = addEntry(m, tr("&New Window"), tr("Open another window for the document"));
    connect(newWindowAction_, &QAction::triggered, this, [this] {
        if (CChildFrame* child = activeChild()) addWindow(child->document());
    });
    connect(addEntry(m, tr("&Cascade"), tr("Arrange the windows so that they overlap")),
            &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    connect(addEntry(m, tr("&Tile"), tr("Arrange the windows side by side")), &QAction::triggered,
            mdi_, &QMdiArea::tileSubWindows);
    connect(addEntry(m, tr("&Arrange Icons"), tr("Arrange the minimised windows in a row")),
            &QAction::triggered, this, &CMainFrame::arrangeIcons);
    connect(addEntry(m, fromUtf8(text::kCloseAllErrorWindows), tr("Close every error log")),
            &QAction::triggered, this, &CMainFrame::closeAllErrorWindows);
    connect(&m, &QMenu::aboutToShow, this, &CMainFrame::updateWindowMenu);
}

void CMainFrame::createHelpMenu() {
    QMenu& m = *menuBar()->addMenu(tr("&Help"));
    connect(addEntry(m, tr("&Help Topics"), tr("List the help topics"), QKeySequence::HelpContents),
            &QAction::triggered, this, [this] { HelpDialog(this).exec(); });
    m.addSeparator();
    QAction* about = addEntry(m, fromUtf8(text::kAboutEntry),
                              tr("Show the program's and the conversion library's version"));
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, [this] { CAboutDlg(this).exec(); });
}

void CMainFrame::createToolBar() {
    QToolBar* bar = addToolBar(tr("Toolbar"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setIconSize(QSize(16, 16));
    auto button = [this, bar](ToolIcon icon, const QString& tip, auto handler) {
        QAction* action = bar->addAction(toolIcon(icon), tip);
        action->setStatusTip(tip);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    button(ToolIcon::New, tr("New log"), [this] { newLog(); });
    button(ToolIcon::Open, tr("Open"), [this] { openWithDialog(); });
    button(ToolIcon::Save, tr("Save"), [this] { saveAction_->trigger(); });
    bar->addSeparator();
    button(ToolIcon::Cut, tr("Cut"), [this] { cutAction_->trigger(); });
    button(ToolIcon::Copy, tr("Copy"), [this] { copyAction_->trigger(); });
    button(ToolIcon::Paste, tr("Paste"), [this] { pasteAction_->trigger(); });
    bar->addSeparator();
    button(ToolIcon::Print, tr("Print"), [this] { printAction_->trigger(); });
    button(ToolIcon::About, tr("About"), [this] { CAboutDlg(this).exec(); });

    QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu"));
    QAction* toggle = bar->toggleViewAction();
    toggle->setText(tr("&Toolbar"));
    toggle->setStatusTip(tr("Show or hide the tool bar"));
    view->addAction(toggle);
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    auto* ready = new QLabel(fromUtf8(text::kReady), bar);
    bar->addWidget(ready, 1);
    progress_ = new BatchProgress(bar);
    bar->addPermanentWidget(progress_);
    overwriteIndicator_ = indicator(bar);
    askTagFileIndicator_ = indicator(bar);
    standardDialogIndicator_ = indicator(bar);
    bar->addPermanentWidget(overwriteIndicator_);
    bar->addPermanentWidget(askTagFileIndicator_);
    bar->addPermanentWidget(standardDialogIndicator_);
    // The encoding choices show only while they are not the defaults.
    sourceEncodingIndicator_ = new QLabel(bar);
    targetCodePageIndicator_ = new QLabel(bar);
    bar->addPermanentWidget(sourceEncodingIndicator_);
    bar->addPermanentWidget(targetCodePageIndicator_);
    // The output folder shows while one is set, named in its tip.
    outputFolderIndicator_ = indicator(bar);
    bar->addPermanentWidget(outputFolderIndicator_);
    updateIndicators();

    QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu"));
    QAction* toggle = view->addAction(tr("&Status Bar"));
    toggle->setCheckable(true);
    toggle->setChecked(true);
    toggle->setStatusTip(tr("Show or hide the status bar"));
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
}

void CMainFrame::setOption(bool DesktopOptions::*option, bool on) {
    options_.*option = on;
    updateIndicators();
}

void CMainFrame::updateIndicators() {
    overwriteIndicator_->setText(
        options_.overwriteExistingFiles ? fromUtf8(text::kOverwriteIndicator) : QString());
    askTagFileIndicator_->setText(options_.askForTagFile ? fromUtf8(text::kAskTagFileIndicator)
                                                         : QString());
    standardDialogIndicator_->setText(
        options_.useStandardFileDialog ? fromUtf8(text::kStandardDialogIndicator) : QString());
    sourceEncodingIndicator_->setText(sourceEncodingIndicator(options_.sourceEncoding));
    sourceEncodingIndicator_->setVisible(!options_.sourceEncoding.isEmpty());
    targetCodePageIndicator_->setText(targetCodePageIndicator(options_.targetCodePage));
    targetCodePageIndicator_->setVisible(options_.targetCodePage != 0);
    bool toFolder = !options_.outputFolder.isEmpty();
    outputFolderIndicator_->setText(toFolder ? fromUtf8(text::kOutputFolderIndicator) : QString());
    outputFolderIndicator_->setToolTip(QDir::toNativeSeparators(options_.outputFolder));
    outputFolderIndicator_->setVisible(toFolder);
}

void CMainFrame::updateActions() {
    CTesselFilterPackView* view = activeView();
    bool hasDocument = view != nullptr;
    bool editable = hasDocument && !view->isReadOnly();
    bool selection = hasDocument && view->textCursor().hasSelection();
    for (QAction* action : {closeAction_, saveAction_, saveAsAction_, printAction_, previewAction_,
                            selectAllAction_, findAction_, findNextAction_, newWindowAction_}) {
        action->setEnabled(hasDocument);
    }
    undoAction_->setEnabled(editable && view->logDocument().textDocument()->isUndoAvailable());
    cutAction_->setEnabled(editable && selection);
    copyAction_->setEnabled(selection);
    pasteAction_->setEnabled(editable && view->canPaste());
    replaceAction_->setEnabled(editable);
    for (const CommandAction& entry : commandActions_) {
        entry.action->setEnabled(entry.available && !running_);
    }
}

void CMainFrame::updateRecentMenu() {
    const QStringList& paths = recent_.paths();
    recentPlaceholder_->setVisible(paths.isEmpty());
    for (int i = 0; i < recentActions_.size(); ++i) {
        QAction* action = recentActions_[i];
        if (i < paths.size()) {
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(paths[i]));
            action->setData(paths[i]);
            action->setStatusTip(tr("Open this document"));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
}

void CMainFrame::updateWindowMenu() {
    for (QAction* action : windowListActions_) {
        windowMenu_->removeAction(action);
        delete action;
    }
    windowListActions_.clear();
    QList<QMdiSubWindow*> windows = mdi_->subWindowList();
    if (windows.isEmpty()) return;
    windowListActions_ << windowMenu_->addSeparator();
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        QString title = window->windowTitle().remove(QStringLiteral("[*]"));
        QAction* action = windowMenu_->addAction(QStringLiteral("&%1 %2").arg(number++).arg(title));
        action->setCheckable(true);
        action->setChecked(window == mdi_->activeSubWindow());
        connect(action, &QAction::triggered, this,
                [this, window = QPointer<QMdiSubWindow>(window)] {
                    if (window) mdi_->setActiveSubWindow(window);
                });
        windowListActions_ << action;
    }
}

void CMainFrame::createProblemsList() {
    problems_ = new ProblemsList(this);
    problems_->setWindowOptions(options_.openErrorLogWindows, options_.errorLogWindowLimit);
    addDockWidget(Qt::BottomDockWidgetArea, problems_);
    problems_->hide();
    connect(problems_, &ProblemsList::openLogRequested, this,
            [this](const QString& path) { openDocument(path, false); });
    connect(problems_, &ProblemsList::windowOptionsChanged, this, [this](bool open, int limit) {
        options_.openErrorLogWindows = open;
        options_.errorLogWindowLimit = limit;
    });
    QAction* toggle = problems_->toggleViewAction();
    toggle->setText(tr("&Problems"));
    toggle->setStatusTip(tr("Show or hide the problems of the last run"));
    windowMenu_->addAction(toggle);
}

}  // namespace tessel::desktop
