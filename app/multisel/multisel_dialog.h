// The selection dialog: a folder, a file type from the host's filter, an
// editable file pattern, an optional sub-folders check box, and the
// list of matching files, all chosen at first; the user confirms the files
// still selected.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVector>

#include "file_filter.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace tessel::multisel {

// What the host set and what the user confirmed.
struct SelectionValues {
    QString title;
    QString appTitle;
    QString fileFilter;
    QString directory;
    QString userFilter;
    int filterIndex = 0;  // 1-based; 0 means the first entry
    bool dirOnly = false;
    bool showSubDirCheckbox = true;
    bool fileSpecReadOnly = false;
    bool subFolders = false;
    QStringList chosenFiles;
};

class MultiselDialog : public QDialog {
    Q_OBJECT

  public:
    explicit MultiselDialog(QWidget* owner);

    // Shows the dialog with `values`; on confirmation stores the user's
    // folder, file pattern, filter index and files back into them.
    bool choose(SelectionValues& values);

  private:
    void applyValues(const SelectionValues& values);
    void typeChosen(int index);
    void browse();
    void refresh();
    void updateState();
    QStringList selectedFiles() const;

    QVector<FilterEntry> filters_;
    bool dirOnly_ = false;
    QLineEdit* folder_;
    QComboBox* fileType_;
    QLineEdit* fileSpec_;
    QCheckBox* subFolders_;
    QListWidget* files_;
    QLabel* count_;
    QDialogButtonBox* buttons_;
};

}  // namespace tessel::multisel
