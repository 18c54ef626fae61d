#include "main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QTextDocument>
#include <QToolBar>

#include "about_dialog.h"
#include "artwork.h"
#include "child_frame.h"
#include "desktop_texts.h"
#include "find_dialog.h"
#include "help_dialog.h"
#include "library_hooks.h"
#include "log_document.h"
#include "log_view.h"
#include "text_document.h"
#include "text_view.h"
#include "user_prompts.h"

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

// The error-log name a command closes (its extension ".Err") and the name
// of an open log are the same file when they differ at most in the case of
// the extension.
bool sameErrorLog(const QString& a, const QString& b) {
    QString left = QFileInfo(a).absoluteFilePath();
    QString right = QFileInfo(b).absoluteFilePath();
    qsizetype leftDot = left.lastIndexOf(u'.');
    qsizetype rightDot = right.lastIndexOf(u'.');
    if (leftDot < 0 || rightDot < 0) return left == right;
    return left.left(leftDot) == right.left(rightDot) &&
           left.mid(leftDot).compare(right.mid(rightDot), Qt::CaseInsensitive) == 0;
}

QLabel* indicator(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("OVRW")));
    return label;
}

}  // namespace

CMainFrame::CMainFrame(std::unique_ptr<UserPrompts> prompts)
    : prompts_(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>(this)),
      mdi_(new QMdiArea(this)) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(fromUtf8(text::kApplicationTitle));
    setWindowIcon(applicationIcon());
    {
        std::unique_ptr<QSettings> settings(openSettings());
        options_ = readOptions(*settings);
        recent_.read(*settings);
    }
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    createMenus();
    createToolBar();
    createStatusBar();
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        auto* child = qobject_cast<CChildFrame*>(window);
        if (child && !child->document().isErrorLog()) lastLogView_ = child->view();
        updateActions();
    });
    updateActions();
    setLibraryDialogOwner(this);
    resize(1000, 720);
}

CMainFrame::~CMainFrame() {
    if (libraryDialogOwner() == this) setLibraryDialogOwner(nullptr);
    closingAll_ = true;
    // The windows go before the documents they show.
    for (QMdiSubWindow* window : mdi_->subWindowList()) delete window;
}

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
    overwriteIndicator_ = indicator(bar);
    askTagFileIndicator_ = indicator(bar);
    standardDialogIndicator_ = indicator(bar);
    bar->addPermanentWidget(overwriteIndicator_);
    bar->addPermanentWidget(askTagFileIndicator_);
    bar->addPermanentWidget(standardDialogIndicator_);
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

// Documents and windows -------------------------------------------------

CTesselFilterPackDoc* CMainFrame::newLog() {
    auto* document = new CTesselFilterPackDoc(this);
    // The document-type string's second field names new documents.
    QString name = fromUtf8(text::kLogDocumentType).split(u'\n').value(2);
    document->setUntitledName(name + QString::number(++untitledCount_));
    adoptDocument(document);
    return document;
}

void CMainFrame::adoptDocument(CTesselFilterPackDoc* document) {
    documents_.push_back(OpenDocument{document, {}});
    connect(document, &CTesselFilterPackDoc::titleChanged, this,
            [this, document] { retitle(*document); });
    addWindow(*document);
}

CTesselFilterPackDoc* CMainFrame::openDocument(const QString& path) {
    QString absolute = QFileInfo(path).absoluteFilePath();
    for (const OpenDocument& open : documents_) {
        if (open.document->filePath() == absolute) {
            QList<CChildFrame*> windows = windowsOf(*open.document);
            if (!windows.isEmpty()) mdi_->setActiveSubWindow(windows.first());
            return open.document;
        }
    }
    std::unique_ptr<CTesselFilterPackDoc> document;
    if (CTesselTextDoc::isErrorLogName(path)) {
        document = std::make_unique<CTesselTextDoc>(this);
    } else {
        document = std::make_unique<CTesselFilterPackDoc>(this);
    }
    QString error;
    if (!document->openFile(absolute, &error)) {
        prompts_->showMessage(text::with(text::kCannotOpenFile, absolute, error));
        return nullptr;
    }
    CTesselFilterPackDoc* opened = document.release();
    adoptDocument(opened);
    rememberRecent(absolute);
    return opened;
}

bool CMainFrame::saveDocument(CTesselFilterPackDoc& document, bool askForName) {
    QString path = document.filePath();
    if (askForName || path.isEmpty()) {
        QString suggested =
            path.isEmpty() ? document.title() + u'.' + document.defaultSuffix() : path;
        path = prompts_->chooseSavePath(suggested, document.fileFilter());
        if (path.isEmpty()) return false;
        if (QFileInfo(path).suffix().isEmpty()) path += u'.' + document.defaultSuffix();
    }
    QString error;
    if (!document.saveFile(path, &error)) {
        prompts_->showMessage(text::with(text::kCannotSaveFile, path, error));
        return false;
    }
    rememberRecent(document.filePath());
    return true;
}

QList<CTesselFilterPackDoc*> CMainFrame::documents() const {
    QList<CTesselFilterPackDoc*> list;
    for (const OpenDocument& open : documents_) list << open.document;
    return list;
}

QList<CChildFrame*> CMainFrame::windowsOf(const CTesselFilterPackDoc& document) const {
    QList<CChildFrame*> list;
    if (const OpenDocument* open = entryOf(document)) {
        for (const QPointer<QObject>& window : open->windows) {
            if (auto* child = qobject_cast<CChildFrame*>(window.data())) list << child;
        }
    }
    return list;
}

CMainFrame::OpenDocument* CMainFrame::entryOf(const CTesselFilterPackDoc& document) {
    for (OpenDocument& open : documents_) {
        if (open.document == &document) return &open;
    }
    return nullptr;
}

const CMainFrame::OpenDocument* CMainFrame::entryOf(const CTesselFilterPackDoc& document) const {
    for (const OpenDocument& open : documents_) {
        if (open.document == &document) return &open;
    }
    return nullptr;
}

CChildFrame* CMainFrame::addWindow(CTesselFilterPackDoc& document) {
    CTesselFilterPackView* view = nullptr;
    if (document.isErrorLog()) {
        view = new CTesselTextView(static_cast<CTesselTextDoc&>(document), *this);
    } else {
        view = new CTesselFilterPackView(document, *this);
    }
    auto* window =
        new CChildFrame(view, [this](CChildFrame& child) { return mayCloseWindow(child); });
    window->setWindowIcon(applicationIcon());
    mdi_->addSubWindow(window);
    entryOf(document)->windows << window;
    QObject* windowObject = window;
    connect(window, &QObject::destroyed, this,
            [this, windowObject] { windowDestroyed(windowObject); });
    connect(view, &QTextEdit::copyAvailable, this, &CMainFrame::updateActions);
    connect(view, &QTextEdit::undoAvailable, this, &CMainFrame::updateActions);
    window->resize(mdi_->size() * 0.7);
    window->show();
    retitle(document);
    mdi_->setActiveSubWindow(window);
    return window;
}

void CMainFrame::windowDestroyed(QObject* window) {
    for (qsizetype i = 0; i < documents_.size(); ++i) {
        OpenDocument& open = documents_[i];
        open.windows.removeIf([window](const QPointer<QObject>& known) {
            return known.isNull() || known.data() == window;
        });
        if (open.windows.isEmpty()) {
            CTesselFilterPackDoc* document = open.document;
            documents_.removeAt(i--);
            document->deleteLater();
        } else {
            retitle(*open.document);
        }
    }
    updateActions();
}

void CMainFrame::retitle(const CTesselFilterPackDoc& document) {
    QList<CChildFrame*> windows = windowsOf(document);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QString title = document.title();
        if (windows.size() > 1) title += QStringLiteral(":%1").arg(i + 1);
        windows[i]->setTitle(title);
    }
}

bool CMainFrame::mayCloseWindow(CChildFrame& window) {
    if (closingAll_) return true;
    CTesselFilterPackDoc& document = window.document();
    if (windowsOf(document).size() > 1) return true;
    return queryClose(document);
}

bool CMainFrame::queryClose(CTesselFilterPackDoc& document) {
    if (!document.isModified()) return true;
    switch (prompts_->askSaveChanges(document.title())) {
        case SaveAnswer::Save:
            return saveDocument(document, false);
        case SaveAnswer::Discard:
            return true;
        case SaveAnswer::Cancel:
            return false;
    }
    return false;
}

void CMainFrame::closeDocumentWindows(CTesselFilterPackDoc& document) {
    bool wasClosing = closingAll_;
    closingAll_ = true;
    for (CChildFrame* window : windowsOf(document)) {
        window->close();
        // Closing would delete the window later; a batch that is about to
        // rewrite the file must not find its window still open.
        delete window;
    }
    closingAll_ = wasClosing;
}

CChildFrame* CMainFrame::activeChild() const {
    return qobject_cast<CChildFrame*>(mdi_->activeSubWindow());
}

CTesselFilterPackView* CMainFrame::activeView() const {
    CChildFrame* child = activeChild();
    return child ? child->view() : nullptr;
}

void CMainFrame::openErrorLogs(const QStringList& paths) {
    for (const QString& path : paths) {
        QString absolute = QFileInfo(path).absoluteFilePath();
        for (const OpenDocument& open : documents_) {
            // A log still open from before shows the old run: read it again.
            if (open.document->filePath() == absolute && !open.document->isModified()) {
                QString ignored;
                open.document->openFile(absolute, &ignored);
            }
        }
        openDocument(absolute);
    }
}

bool CMainFrame::closeErrorLogWindows(const QStringList& paths) {
    for (CTesselFilterPackDoc* document : documents()) {
        if (!document->isErrorLog()) continue;
        bool shown = false;
        for (const QString& path : paths) shown = shown || sameErrorLog(path, document->filePath());
        if (!shown) continue;
        if (!queryClose(*document)) return false;
        closeDocumentWindows(*document);
    }
    return true;
}

void CMainFrame::closeAllErrorWindows() {
    for (CTesselFilterPackDoc* document : documents()) {
        if (document->isErrorLog() && queryClose(*document)) closeDocumentWindows(*document);
    }
}

// Commands --------------------------------------------------------------

CTesselFilterPackView* CMainFrame::commandTarget() {
    CTesselFilterPackView* view = activeView();
    if (view && !view->logDocument().isErrorLog()) return view;
    if (lastLogView_) return lastLogView_.data();
    CTesselFilterPackDoc* log = newLog();
    return windowsOf(*log).first()->view();
}

void CMainFrame::runCommand(const app::Command& command) {
    runInLog([&command](CTesselFilterPackView& view) { view.runCommand(command); });
}

void CMainFrame::runCheck(const app::CheckCommand& check) {
    runInLog([&check](CTesselFilterPackView& view) { view.runCheck(check); });
}

void CMainFrame::runInLog(const std::function<void(CTesselFilterPackView&)>& run) {
    if (running_) return;
    QPointer<CTesselFilterPackView> target = commandTarget();
    running_ = true;
    updateActions();
    run(*target);
    running_ = false;
    updateActions();
}

// Files -----------------------------------------------------------------

void CMainFrame::openWithDialog() {
    QString path = prompts_->chooseOpenPath(
        tr("Logs and Error Logs (*.rtf *.RTF *.err *.ERR *.Err);;RTF Files (*.rtf *.RTF);;"
           "Error Log Files (*.err *.ERR *.Err);;All Files (*)"));
    if (!path.isEmpty()) openDocument(path);
}

void CMainFrame::openRecent(const QString& path) {
    if (!QFileInfo::exists(path)) {
        prompts_->showMessage(text::with(text::kCannotOpenFile, path, tr("The file is gone.")));
        recent_.remove(path);
        updateRecentMenu();
        return;
    }
    openDocument(path);
}

void CMainFrame::rememberRecent(const QString& path) {
    recent_.add(path);
    updateRecentMenu();
}

QPrinter& CMainFrame::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>();
    return *printer_;
}

void CMainFrame::print() {
    CTesselFilterPackView* view = activeView();
    if (view == nullptr) return;
    QPrintDialog dialog(&printer(), this);
    if (dialog.exec() == QDialog::Accepted) view->print(&printer());
}

void CMainFrame::printPreview() {
    QPointer<CTesselFilterPackView> view = activeView();
    if (view == nullptr) return;
    QPrintPreviewDialog dialog(&printer(), this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [view](QPrinter* target) {
        if (view) view->print(target);
    });
    dialog.exec();
}

void CMainFrame::printSetup() {
    QPageSetupDialog dialog(&printer(), this);
    dialog.exec();
}

void CMainFrame::arrangeIcons() {
    int x = 0;
    for (QMdiSubWindow* window : mdi_->subWindowList()) {
        if (!window->isMinimized()) continue;
        QSize size = window->size();
        window->move(x, mdi_->viewport()->height() - size.height());
        x += size.width();
    }
}

// Exit ------------------------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* event) {
    for (CTesselFilterPackDoc* document : documents()) {
        if (!queryClose(*document)) {
            event->ignore();
            return;
        }
    }
    closingAll_ = true;
    for (QMdiSubWindow* window : mdi_->subWindowList()) delete window;
    std::unique_ptr<QSettings> settings(openSettings());
    writeOptions(*settings, options_);
    recent_.write(*settings);
    settings->sync();
    event->accept();
}

}  // namespace tessel::desktop
