#include "main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>

#include "artwork.h"
#include "batch_progress.h"
#include "child_frame.h"
#include "desktop_texts.h"
#include "dropped_files.h"
#include "encoding_choices.h"
#include "file_choice_memory.h"
#include "find_dialog.h"
#include "library_hooks.h"
#include "log_document.h"
#include "log_view.h"
#include "problems_list.h"
#include "text_document.h"
#include "text_view.h"
#include "user_prompts.h"

namespace tessel::desktop {

namespace {

QString fromUtf8(const char* text) {
    return QString::fromUtf8(text);
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

}  // namespace

CMainFrame::CMainFrame(std::unique_ptr<UserPrompts> prompts)
    : prompts_(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>(this)),
      mdi_(new QMdiArea(this)) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(fromUtf8(text::kApplicationTitle));
    setAcceptDrops(true);
    setWindowIcon(applicationIcon());
    {
        std::unique_ptr<QSettings> settings(openSettings());
        options_ = readOptions(*settings);
        recent_.read(*settings);
    }
    // A stored encoding name the library does not read is dropped, so that
    // the default is shown, used and stored.
    if (!applyEncodingChoices(options_)) options_.sourceEncoding.clear();
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    createMenus();
    createToolBar();
    createStatusBar();
    createProblemsList();
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        auto* child = qobject_cast<CChildFrame*>(window);
        if (child && !child->document().isErrorLog()) lastLogView_ = child->view();
        updateActions();
    });
    updateActions();
    setLibraryDialogOwner(this);
    placeInitially();
}

// The size the frame had when it last closed, else 1000 by 720 as far as the
// screen's free area allows; never larger than that area.
void CMainFrame::placeInitially() {
    std::unique_ptr<QSettings> settings(openSettings());
    QByteArray saved = settings->value(QStringLiteral("Window/Geometry")).toByteArray();
    if (!saved.isEmpty() && restoreGeometry(saved)) return;
    QSize wanted(1000, 720);
    if (QScreen* screen = this->screen()) {
        QRect area = screen->availableGeometry();
        wanted = wanted.boundedTo(area.size() * 0.95);
        resize(wanted);
        move(area.center() - rect().center());
        return;
    }
    resize(wanted);
}

CMainFrame::~CMainFrame() {
    if (libraryDialogOwner() == this) setLibraryDialogOwner(nullptr);
    closingAll_ = true;
    // The windows go before the documents they show.
    for (QMdiSubWindow* window : mdi_->subWindowList()) delete window;
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

CTesselFilterPackDoc* CMainFrame::openDocument(const QString& path, bool remember) {
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
    showLoading(*opened);
    if (remember) rememberRecent(absolute);
    return opened;
}

// A large error log goes into its window a piece at a time: the status bar
// says how far it got.
void CMainFrame::showLoading(CTesselFilterPackDoc& document) {
    auto* log = qobject_cast<CTesselTextDoc*>(&document);
    if (log == nullptr || !log->isLoading()) return;
    QString name = log->title();
    connect(log, &CTesselTextDoc::loadProgressed, this, [this, name](int percent) {
        statusBar()->showMessage(text::with(text::kLoadingLog, name, QString::number(percent)));
    });
    connect(log, &CTesselTextDoc::loadCompleted, statusBar(), &QStatusBar::clearMessage);
    connect(log, &QObject::destroyed, statusBar(), &QStatusBar::clearMessage);
    statusBar()->showMessage(text::with(text::kLoadingLog, name, QStringLiteral("0")));
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
    window->resize(mdi_->viewport()->size() * 0.7);
    window->show();
    keepInsideArea(*window);
    retitle(document);
    mdi_->setActiveSubWindow(window);
    return window;
}

// A new window lies wholly inside the area when the area is large enough:
// placed there past its right or bottom edge, it moves back in.
void CMainFrame::keepInsideArea(QMdiSubWindow& window) {
    QRect area = mdi_->viewport()->rect();
    QRect frame = window.geometry();
    if (frame.width() > area.width() || frame.height() > area.height()) {
        frame.setSize(frame.size().boundedTo(area.size()));
    }
    if (frame.right() > area.right()) frame.moveRight(area.right());
    if (frame.bottom() > area.bottom()) frame.moveBottom(area.bottom());
    if (frame.left() < 0) frame.moveLeft(0);
    if (frame.top() < 0) frame.moveTop(0);
    window.setGeometry(frame);
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
    // The running batch writes into this log until it ends.
    if (running_ && &document == runningLog_ && windowsOf(document).size() == 1) return false;
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
    // The problems list names every log; windows open for the first few.
    if (!options_.openErrorLogWindows) return;
    for (const QString& path : paths.mid(0, options_.errorLogWindowLimit)) {
        QString absolute = QFileInfo(path).absoluteFilePath();
        for (const OpenDocument& open : documents_) {
            // A log still open from before shows the old run: read it again.
            if (open.document->filePath() == absolute && !open.document->isModified()) {
                QString ignored;
                open.document->openFile(absolute, &ignored);
            }
        }
        openDocument(absolute, false);
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

void CMainFrame::runCommandOn(const app::Command& command, const QStringList& files) {
    runInLog([&command, &files](CTesselFilterPackView& view) { view.runCommand(command, &files); });
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!running_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList files = droppedFiles(event->mimeData()->urls());
    if (files.isEmpty() || running_) return;
    event->acceptProposedAction();
    // The batch runs after the drop has ended, so that the source of the
    // drag is not kept waiting.
    QTimer::singleShot(0, this, [this, files] { convertDropped(files); });
}

void CMainFrame::convertDropped(const QStringList& files) {
    for (const DropBatch& batch : dropBatches(files)) {
        const app::Command* command = batch.commands.first();
        if (batch.commands.size() > 1) {
            QStringList labels;
            for (const app::Command* candidate : batch.commands) labels << commandLabel(*candidate);
            int chosen = prompts_->chooseOne(
                text::with(text::kWhichCommandQuestion, QString::number(batch.files.size()),
                           QFileInfo(batch.files.first()).fileName()),
                labels);
            if (chosen < 0) continue;
            command = batch.commands[chosen];
        }
        runCommandOn(*command, batch.files);
    }
}

void CMainFrame::rememberInputs(const app::Command& command, const QStringList& inputs) {
    // The run's first inputs, the first of them on top.
    QStringList kept = inputs.mid(0, RecentFiles::kInputsPerRun);
    for (qsizetype i = kept.size() - 1; i >= 0; --i) recent_.addInput(kept[i], commandKey(command));
    updateRecentMenu();
}

void CMainFrame::runCheck(const app::CheckCommand& check) {
    runInLog([&check](CTesselFilterPackView& view) { view.runCheck(check); });
}

void CMainFrame::runInLog(const std::function<void(CTesselFilterPackView&)>& run) {
    if (running_) return;
    QPointer<CTesselFilterPackView> target = commandTarget();
    if (!target) return;
    running_ = true;
    runningLog_ = &target->logDocument();
    updateActions();
    run(*target);
    running_ = false;
    runningLog_ = nullptr;
    progress_->finish();
    if (busyCursor_) QApplication::restoreOverrideCursor();
    busyCursor_ = false;
    updateActions();
    // The frame was asked to close while the batch ran.
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void CMainFrame::batchStarted(int fileCount) {
    progress_->start(fileCount);
    // Once per command (a check chooses files twice): restored at its end.
    if (!busyCursor_) QApplication::setOverrideCursor(Qt::BusyCursor);
    busyCursor_ = true;
}

void CMainFrame::batchFileStarting(int number, int fileCount, const QString& path) {
    progress_->fileStarting(number, fileCount, path);
}

bool CMainFrame::batchCancelRequested() const {
    return progress_->cancelRequested();
}

void CMainFrame::showProblems(const QList<BatchProblem>& problems) {
    problems_->setProblems(problems);
    if (!problems.isEmpty()) problems_->show();
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
    // A converted input is converted again by its command.
    QString key = recent_.commandOf(path);
    for (const app::Command& command : app::commandTable()) {
        if (!key.isEmpty() && commandKey(command) == key) {
            runCommandOn(command, {path});
            return;
        }
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
    // A batch stops after its current file; the frame closes then.
    if (running_) {
        progress_->requestCancel();
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
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
    settings->setValue(QStringLiteral("Window/Geometry"), saveGeometry());
    settings->sync();
    event->accept();
}

}  // namespace tessel::desktop
