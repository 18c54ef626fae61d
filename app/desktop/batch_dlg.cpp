#include "batch_dlg.h"

#include <QFile>
#include <QWidget>

#include "desktop_texts.h"

namespace tessel::desktop {

namespace {

// Builds up to this one create the dialog without an owner window.
constexpr int kLastBuildWithoutOwner = 101;

// A library that never gives the empty answer still ends the list.
constexpr qsizetype kMaximumChosenFiles = 1'000'000;

template <typename Function>
bool lookUp(QLibrary& library, const char* name, Function& slot, QString& missing) {
    slot = reinterpret_cast<Function>(library.resolve(name));
    if (slot == nullptr) missing = QString::fromLatin1(name);
    return slot != nullptr;
}

}  // namespace

CBatchDlg::CBatchDlg(const QString& title, const QString& filter, int filterIndex,
                     QWidget* mainWindow, MessageFunction showMessage,
                     const QStringList& libraryNames) {
    usable_ = load(libraryNames) && bind();
    if (!usable_) {
        if (library_.isLoaded()) library_.unload();
        if (showMessage) showMessage(QString::fromUtf8(text::kMultiselInvalid));
        return;
    }
    // Beyond the binding: where a choice starts and ends. A library without
    // them still works; it just does not tell or take them.
    QString unused;
    lookUp(library_, "SetUserFilter", f_.setUserFilter, unused);
    lookUp(library_, "GetSubFolders", f_.getSubFolders, unused);
    lookUp(library_, "SetSubFolders", f_.setSubFolders, unused);
    create(title, filter, filterIndex, mainWindow);
}

void CBatchDlg::setStart(const QString& folder, const QString& pattern, bool subFolders) {
    if (!usable_) return;
    if (!folder.isEmpty()) f_.setDirectory(QFile::encodeName(folder).constData());
    if (!pattern.isEmpty() && f_.setUserFilter) f_.setUserFilter(pattern.toUtf8().constData());
    if (f_.setSubFolders) f_.setSubFolders(subFolders ? 1 : 0);
}

QString CBatchDlg::directory() const {
    const char* folder = usable_ ? f_.getDirectory() : nullptr;
    return folder ? QFile::decodeName(folder) : QString();
}

QString CBatchDlg::userFilter() const {
    const char* pattern = usable_ ? f_.getUserFilter() : nullptr;
    return pattern ? QString::fromUtf8(pattern) : QString();
}

bool CBatchDlg::subFolders() const {
    return usable_ && f_.getSubFolders && f_.getSubFolders() != 0;
}

CBatchDlg::~CBatchDlg() {
    if (!usable_) return;
    f_.free();
    library_.unload();
}

bool CBatchDlg::load(const QStringList& libraryNames) {
    for (const QString& name : libraryNames) {
        library_.setFileName(name);
        if (library_.load()) return true;
    }
    return false;
}

bool CBatchDlg::bind() {
    // In this order, stopping at the first that is missing.
    QLibrary& l = library_;
    QString& m = missing_;
    bool all =
        lookUp(l, "Create", f_.create, m) && lookUp(l, "Free", f_.free, m) &&
        lookUp(l, "ShowModal", f_.showModal, m) &&
        lookUp(l, "GetNumberOfFiles", f_.getNumberOfFiles, m) &&
        lookUp(l, "GetDirOnly", f_.getDirOnly, m) &&
        lookUp(l, "GetShowSubDirCheckbox", f_.getShowSubDirCheckbox, m) &&
        lookUp(l, "GetFileSpecReadOnly", f_.getFileSpecReadOnly, m) &&
        lookUp(l, "GetFilterIndex", f_.getFilterIndex, m) &&
        lookUp(l, "GetBuild", f_.getBuild, m) && lookUp(l, "GetDirectory", f_.getDirectory, m) &&
        lookUp(l, "GetFirstFile", f_.getFirstFile, m) &&
        lookUp(l, "GetNextFile", f_.getNextFile, m) && lookUp(l, "GetTitle", f_.getTitle, m) &&
        lookUp(l, "GetFileFilter", f_.getFileFilter, m) &&
        lookUp(l, "GetUserFilter", f_.getUserFilter, m) &&
        lookUp(l, "GetAppTitle", f_.getAppTitle, m) && lookUp(l, "SetTitle", f_.setTitle, m) &&
        lookUp(l, "SetFilterIndex", f_.setFilterIndex, m) &&
        lookUp(l, "SetFileFilter", f_.setFileFilter, m) &&
        lookUp(l, "SetDirectory", f_.setDirectory, m) &&
        lookUp(l, "SetAppTitle", f_.setAppTitle, m) && lookUp(l, "SetDirOnly", f_.setDirOnly, m) &&
        lookUp(l, "SetShowSubDirCheckbox", f_.setShowSubDirCheckbox, m) &&
        lookUp(l, "SetFileSpecReadOnly", f_.setFileSpecReadOnly, m);
    if (!all) return false;
    build_ = f_.getBuild();
    return build_ <= kLastBuildWithoutOwner || lookUp(l, "CreateDlg", f_.createDlg, m);
}

void CBatchDlg::create(const QString& title, const QString& filter, int filterIndex,
                       QWidget* mainWindow) {
    if (build_ > kLastBuildWithoutOwner) {
        f_.createDlg(mainWindow);
    } else {
        f_.create();
    }
    if (!title.isEmpty()) f_.setTitle(title.toUtf8().constData());
    if (!filter.isEmpty()) {
        QString trimmed = filter;
        // The program's filters end in "||", which the library does not take.
        if (trimmed.endsWith(QLatin1String("||"))) trimmed.chop(2);
        f_.setFileFilter(trimmed.toUtf8().constData());
    }
    if (filterIndex != 0) f_.setFilterIndex(filterIndex);
}

bool CBatchDlg::showModal() {
    return usable_ && f_.showModal() != 0;
}

QString CBatchDlg::nextFile() {
    if (!usable_) return {};
    const char* path = f_.getNextFile();
    return path ? QFile::decodeName(path) : QString();
}

QStringList CBatchDlg::chosenFiles() {
    QStringList files;
    for (QString file = nextFile(); !file.isEmpty() && files.size() < kMaximumChosenFiles;
         file = nextFile()) {
        files << file;
    }
    return files;
}

}  // namespace tessel::desktop
