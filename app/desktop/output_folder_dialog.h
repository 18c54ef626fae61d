// The Options menu's choice of where conversions write: next to their
// inputs (the check box), or into one folder typed or browsed for. OK waits
// for a folder while the box is clear.
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;

namespace tessel::desktop {

class OutputFolderDialog : public QDialog {
    Q_OBJECT

  public:
    // `folder` empty: next to the inputs.
    OutputFolderDialog(const QString& folder, QWidget* parent);

    // The choice: empty for next to the inputs, else the folder as an
    // absolute path.
    QString folder() const;

    QCheckBox* besideInputsBox() const { return besideInputs_; }
    QLineEdit* folderEdit() const { return folder_; }
    QPushButton* browseButton() const { return browse_; }
    QPushButton* okButton() const;

  private:
    void updateState();
    void browse();

    QCheckBox* besideInputs_;
    QLineEdit* folder_;
    QPushButton* browse_;
    QDialogButtonBox* buttons_;
};

}  // namespace tessel::desktop
