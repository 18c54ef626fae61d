// Find and Replace over the active document window: the text to find, match
// case and whole words, and for editable views the replacement.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTextDocument>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace tessel::desktop {

class FindDialog : public QDialog {
    Q_OBJECT

  public:
    // `target` gives the view to search when a button is pressed.
    FindDialog(QWidget* parent, std::function<QTextEdit*()> target);

    void showFind();
    void showReplace();
    // The last search again; false when there is none or nothing was found.
    bool findNext();
    bool replaceCurrent();
    int replaceAll();

    void setSearch(const QString& text, bool matchCase = false, bool wholeWords = false);

  private:
    QTextDocument::FindFlags flags() const;
    void setReplaceMode(bool on);
    void report(const QString& message);

    std::function<QTextEdit*()> target_;
    QLineEdit* findText_;
    QLineEdit* replaceText_;
    QLabel* replaceLabel_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWords_;
    QPushButton* replaceButton_;
    QPushButton* replaceAllButton_;
    QLabel* status_;
};

}  // namespace tessel::desktop
