// The conversion library's language dialog as a modal Qt dialog. The
// library keeps the dialog's logic and state; this window is laid out from
// the template the library passes (caption, font, size and controls in
// dialog units), hands every user action to the library's callbacks and
// shows the library's state after each of them. The list gets a label of
// its own above the template's controls, and starts on the language of the
// default locale where the list has it in the code page offered.
#pragma once

#include <QDialog>

#include "tessel_cat.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tessel::desktop {

class LanguageDialog : public QDialog {
    Q_OBJECT

  public:
    // `dialog` must outlive the window; nothing of it is kept afterwards.
    LanguageDialog(tessel_language_dialog& dialog, QWidget* parent);

    // True when the library's view is complete enough to be shown.
    static bool presentable(const tessel_language_dialog* dialog);

    // The template's control with `id`, or null.
    QWidget* control(int id) const;

    // Cancel, Escape and closing the window.
    void reject() override;

  private:
    void createControl(const tessel_dialog_control& control);
    void fillList();
    void preselectLocaleLanguage();
    void showState();
    void selectionChanged(int index);
    void checkBoxClicked(bool checked);
    void textEdited(const QString& text);
    void okClicked();
    void showMessage(int result);

    tessel_language_dialog& dialog_;
    QComboBox* list_ = nullptr;
    QCheckBox* checkBox_ = nullptr;
    QLineEdit* edit_ = nullptr;
    bool accepted_ = false;
};

}  // namespace tessel::desktop
