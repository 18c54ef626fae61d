// The binding of the batch selection library: one object per file choice.
// The constructor loads the library, looks up every function it needs in a
// fixed order, creates the dialog and hands it the title and filter; the
// destructor frees the dialog and unloads the library. A library that is
// missing, lacks a function, or is too old to own its dialog is reported
// once, and the object then does nothing and reports that nothing was
// chosen.
#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace tessel::desktop {

class CBatchDlg {
  public:
    using MessageFunction = std::function<void(const QString&)>;

    // `libraryNames` are tried in order, each as QLibrary takes a name.
    CBatchDlg(const QString& title, const QString& filter, int filterIndex, QWidget* mainWindow,
              MessageFunction showMessage, const QStringList& libraryNames);
    ~CBatchDlg();

    CBatchDlg(const CBatchDlg&) = delete;
    CBatchDlg& operator=(const CBatchDlg&) = delete;

    bool isUsable() const { return usable_; }
    // The first function the library lacked; empty when it had them all or
    // could not be loaded at all.
    const QString& missingFunction() const { return missing_; }
    int build() const { return build_; }

    // True when the user confirmed a choice.
    bool showModal();
    // The next chosen file's full path; empty after the last.
    QString nextFile();
    // The remaining chosen files.
    QStringList chosenFiles();

    // Where the choice starts (an empty folder or pattern: the library's
    // own), and, once confirmed, where it ended: the folder, file pattern and
    // sub-folders choice. The pattern and sub-folders go through functions
    // beyond the binding, used where the library has them.
    void setStart(const QString& folder, const QString& pattern, bool subFolders);
    QString directory() const;
    QString userFilter() const;
    bool subFolders() const;

  private:
    bool load(const QStringList& libraryNames);
    bool bind();
    void create(const QString& title, const QString& filter, int filterIndex, QWidget* mainWindow);

    using VoidCall = void (*)();
    using IntCall = int (*)();
    using StringCall = const char* (*)();
    using SetString = void (*)(const char*);
    using SetInt = void (*)(int);
    using CreateOwned = void (*)(void*);

    struct Functions {
        VoidCall create = nullptr;
        VoidCall free = nullptr;
        IntCall showModal = nullptr;
        IntCall getNumberOfFiles = nullptr;
        IntCall getDirOnly = nullptr;
        IntCall getShowSubDirCheckbox = nullptr;
        IntCall getFileSpecReadOnly = nullptr;
        IntCall getFilterIndex = nullptr;
        IntCall getBuild = nullptr;
        StringCall getDirectory = nullptr;
        StringCall getFirstFile = nullptr;
        StringCall getNextFile = nullptr;
        StringCall getTitle = nullptr;
        StringCall getFileFilter = nullptr;
        StringCall getUserFilter = nullptr;
        StringCall getAppTitle = nullptr;
        SetString setTitle = nullptr;
        SetInt setFilterIndex = nullptr;
        SetString setFileFilter = nullptr;
        SetString setDirectory = nullptr;
        SetString setAppTitle = nullptr;
        SetInt setDirOnly = nullptr;
        SetInt setShowSubDirCheckbox = nullptr;
        SetInt setFileSpecReadOnly = nullptr;
        CreateOwned createDlg = nullptr;
        SetString setUserFilter = nullptr;
        IntCall getSubFolders = nullptr;
        SetInt setSubFolders = nullptr;
    };

    QLibrary library_;
    Functions f_;
    bool usable_ = false;
    QString missing_;
    int build_ = 0;
};

}  // namespace tessel::desktop
