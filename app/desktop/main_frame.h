// The main window: the document windows in a multiple-document area, the
// menus (the format menus built from the command table), a tool bar and a
// status bar with the message pane and one indicator per option. It keeps
// the options and the recent files, reads them at start and writes them at
// exit, and owns the open documents and their windows.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

#include "command_menus.h"
#include "desktop_host.h"
#include "desktop_options.h"
#include "user_prompts.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;

namespace tessel::desktop {

class BatchProgress;
class CChildFrame;
class CTesselFilterPackDoc;
class ProblemsList;
class CTesselFilterPackView;
class FindDialog;

class CMainFrame : public QMainWindow, public DesktopHost {
    Q_OBJECT

  public:
    // Without `prompts` the real dialogs ask the user.
    explicit CMainFrame(std::unique_ptr<UserPrompts> prompts = nullptr);
    ~CMainFrame() override;

    UserPrompts& prompts() override { return *prompts_; }
    const DesktopOptions& options() const override { return options_; }
    void openErrorLogs(const QStringList& paths) override;
    bool closeErrorLogWindows(const QStringList& paths) override;
    unsigned lastCodePage() const override { return lastCodePage_; }
    void rememberCodePage(unsigned codePage) override { lastCodePage_ = codePage; }
    void batchStarted(int fileCount) override;
    void batchFileStarting(int number, int fileCount, const QString& path) override;
    bool batchCancelRequested() const override;
    void showProblems(const QList<BatchProblem>& problems) override;
    void rememberInputs(const app::Command& command, const QStringList& inputs) override;

    // Documents and their windows.
    CTesselFilterPackDoc* newLog();
    // The open document of `path`, opened when it is not; null when the file
    // cannot be read (the user is told why). `remember` puts it on the
    // recent files.
    CTesselFilterPackDoc* openDocument(const QString& path, bool remember = true);
    bool saveDocument(CTesselFilterPackDoc& document, bool askForName);
    QList<CTesselFilterPackDoc*> documents() const;
    QList<CChildFrame*> windowsOf(const CTesselFilterPackDoc& document) const;
    CChildFrame* activeChild() const;
    QMdiArea* mdiArea() const { return mdi_; }
    const RecentFiles& recentFiles() const { return recent_; }
    BatchProgress* batchProgress() const { return progress_; }
    ProblemsList* problemsList() const { return problems_; }
    bool isRunning() const { return running_; }

    // Closes every error-log document whose save question is not cancelled.
    void closeAllErrorWindows();
    // Runs a command or a check into the active log (or the last one, or a
    // new one).
    void runCommand(const app::Command& command);
    // Runs `command` on `files` without asking for them.
    void runCommandOn(const app::Command& command, const QStringList& files);
    void runCheck(const app::CheckCommand& check);

    // Files and folders dropped: each batch of them by the command their
    // names call for, asking which where several take them.
    void convertDropped(const QStringList& files);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    struct OpenDocument {
        CTesselFilterPackDoc* document;
        // As QObject: a window being destroyed is no CChildFrame any more.
        QList<QPointer<QObject>> windows;
    };

    void createMenus();
    void createFileMenu();
    void createEditMenu();
    void createViewMenu();
    void createOptionsMenu();
    void createWindowMenu();
    void createHelpMenu();
    void createToolBar();
    void createStatusBar();
    void createProblemsList();
    void placeInitially();
    void keepInsideArea(QMdiSubWindow& window);

    CChildFrame* addWindow(CTesselFilterPackDoc& document);
    void adoptDocument(CTesselFilterPackDoc* document);
    void showLoading(CTesselFilterPackDoc& document);
    void windowDestroyed(QObject* window);
    void retitle(const CTesselFilterPackDoc& document);
    OpenDocument* entryOf(const CTesselFilterPackDoc& document);
    const OpenDocument* entryOf(const CTesselFilterPackDoc& document) const;
    bool mayCloseWindow(CChildFrame& window);
    // Asks to save a modified document; false when the user cancelled.
    bool queryClose(CTesselFilterPackDoc& document);
    void closeDocumentWindows(CTesselFilterPackDoc& document);
    CTesselFilterPackView* commandTarget();
    void runInLog(const std::function<void(CTesselFilterPackView&)>& run);
    CTesselFilterPackView* activeView() const;

    void openWithDialog();
    void openRecent(const QString& path);
    void rememberRecent(const QString& path);
    void updateRecentMenu();
    void updateWindowMenu();
    void updateActions();
    void updateIndicators();
    void print();
    void printPreview();
    void printSetup();
    void arrangeIcons();
    QPrinter& printer();
    void setOption(bool DesktopOptions::*option, bool on);
    // The two encoding sub-menus of the Options menu.
    void createEncodingMenus(QMenu& options);
    // Options > Output Folder...: asks where conversions write.
    void chooseOutputFolder();

    std::unique_ptr<UserPrompts> prompts_;
    DesktopOptions options_;
    RecentFiles recent_;
    QMdiArea* mdi_;
    QList<OpenDocument> documents_;
    QPointer<CTesselFilterPackView> lastLogView_;
    int untitledCount_ = 0;
    bool running_ = false;
    // The log a batch writes into, whose windows stay while it runs, and a
    // close of the frame asked for meanwhile.
    const CTesselFilterPackDoc* runningLog_ = nullptr;
    bool closeAfterRun_ = false;
    bool busyCursor_ = false;
    BatchProgress* progress_ = nullptr;
    ProblemsList* problems_ = nullptr;
    unsigned lastCodePage_ = 1252;
    bool closingAll_ = false;
    std::unique_ptr<QPrinter> printer_;
    FindDialog* find_ = nullptr;

    QList<CommandAction> commandActions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QAction* recentPlaceholder_ = nullptr;
    QList<QAction*> recentActions_;
    QList<QAction*> windowListActions_;
    QAction* closeAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* previewAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* cutAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* pasteAction_ = nullptr;
    QAction* selectAllAction_ = nullptr;
    QAction* findAction_ = nullptr;
    QAction* findNextAction_ = nullptr;
    QAction* replaceAction_ = nullptr;
    QAction* newWindowAction_ = nullptr;
    QAction* overwriteAction_ = nullptr;
    QAction* askTagFileAction_ = nullptr;
    QAction* standardDialogAction_ = nullptr;
    QLabel* overwriteIndicator_ = nullptr;
    QLabel* askTagFileIndicator_ = nullptr;
    QLabel* standardDialogIndicator_ = nullptr;
    QLabel* sourceEncodingIndicator_ = nullptr;
    QLabel* targetCodePageIndicator_ = nullptr;
    QLabel* outputFolderIndicator_ = nullptr;
};

}  // namespace tessel::desktop
