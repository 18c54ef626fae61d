// The library's C functions over one selection per process: the values the
// host sets, the dialog, and the cursor over the chosen files.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "multisel.h"
#include "multisel_dialog.h"

namespace {

struct Selection {
    tessel::multisel::SelectionValues values;
    QPointer<tessel::multisel::MultiselDialog> dialog;
    qsizetype cursor = 0;
    // The folder of the last confirmed choice, where the next one starts
    // unless the host sets a folder; kept across Free.
    QString lastDirectory;
    // Backing store of the strings handed out, one per function.
    QByteArray directory, file, title, filter, userFilter, appTitle;
};

Selection& selection() {
    static Selection instance;
    return instance;
}

QString fromHost(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

const char* handOut(QByteArray& store, const QByteArray& value) {
    store = value;
    return store.constData();
}

const char* handOut(QByteArray& store, const QString& value) {
    return handOut(store, value.toUtf8());
}

void createDialog(QWidget* owner) {
    Selection& s = selection();
    delete s.dialog.data();
    s.dialog = new tessel::multisel::MultiselDialog(owner);
    s.cursor = 0;
}

const char* chosenFile(qsizetype index) {
    Selection& s = selection();
    if (index < 0 || index >= s.values.chosenFiles.size()) return handOut(s.file, QByteArray());
    // File names reach the host in the file system's own bytes.
    return handOut(s.file,
                   QFile::encodeName(QDir::toNativeSeparators(s.values.chosenFiles[index])));
}

}  // namespace

extern "C" {

void Create(void) {
    createDialog(nullptr);
}

void CreateDlg(void* ownerWindow) {
    createDialog(static_cast<QWidget*>(ownerWindow));
}

void Free(void) {
    Selection& s = selection();
    delete s.dialog.data();
    s.values = tessel::multisel::SelectionValues{};
    s.cursor = 0;
}

int ShowModal(void) {
    Selection& s = selection();
    if (!s.dialog) return 0;
    tessel::multisel::SelectionValues chosen = s.values;
    if (chosen.directory.isEmpty()) chosen.directory = s.lastDirectory;
    if (!s.dialog->choose(chosen)) return 0;
    s.values = chosen;
    s.lastDirectory = chosen.directory;
    s.cursor = 0;
    return 1;
}

int GetNumberOfFiles(void) {
    return static_cast<int>(selection().values.chosenFiles.size());
}

int GetDirOnly(void) {
    return selection().values.dirOnly ? 1 : 0;
}

int GetShowSubDirCheckbox(void) {
    return selection().values.showSubDirCheckbox ? 1 : 0;
}

int GetFileSpecReadOnly(void) {
    return selection().values.fileSpecReadOnly ? 1 : 0;
}

int GetFilterIndex(void) {
    return selection().values.filterIndex;
}

int GetBuild(void) {
    return MULTISEL_BUILD;
}

const char* GetDirectory(void) {
    Selection& s = selection();
    return handOut(s.directory, QFile::encodeName(QDir::toNativeSeparators(s.values.directory)));
}

const char* GetFirstFile(void) {
    Selection& s = selection();
    s.cursor = 1;
    return chosenFile(0);
}

const char* GetNextFile(void) {
    Selection& s = selection();
    return chosenFile(s.cursor++);
}

const char* GetTitle(void) {
    Selection& s = selection();
    return handOut(s.title, s.values.title);
}

const char* GetFileFilter(void) {
    Selection& s = selection();
    return handOut(s.filter, s.values.fileFilter);
}

const char* GetUserFilter(void) {
    Selection& s = selection();
    return handOut(s.userFilter, s.values.userFilter);
}

const char* GetAppTitle(void) {
    Selection& s = selection();
    return handOut(s.appTitle, s.values.appTitle);
}

void SetTitle(const char* title) {
    selection().values.title = fromHost(title);
}

void SetFilterIndex(int index) {
    selection().values.filterIndex = index < 0 ? 0 : index;
}

void SetFileFilter(const char* filter) {
    selection().values.fileFilter = fromHost(filter);
    selection().values.userFilter.clear();
}

void SetDirectory(const char* directory) {
    selection().values.directory = directory ? QFile::decodeName(directory) : QString();
}

void SetAppTitle(const char* appTitle) {
    selection().values.appTitle = fromHost(appTitle);
}

void SetDirOnly(int dirOnly) {
    selection().values.dirOnly = dirOnly != 0;
}

void SetShowSubDirCheckbox(int show) {
    selection().values.showSubDirCheckbox = show != 0;
}

void SetFileSpecReadOnly(int readOnly) {
    selection().values.fileSpecReadOnly = readOnly != 0;
}

void SetUserFilter(const char* pattern) {
    selection().values.userFilter = fromHost(pattern);
}

int GetSubFolders(void) {
    return selection().values.subFolders ? 1 : 0;
}

void SetSubFolders(int subFolders) {
    selection().values.subFolders = subFolders != 0;
}

}  // extern "C"
