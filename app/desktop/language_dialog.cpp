#include "language_dialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <cstddef>

#include "desktop_texts.h"
#include "dialog_units.h"
#include "windows_1252.h"

namespace tessel::desktop {

namespace {

// Ids of the two buttons in every dialog template.
constexpr int kOkId = 1;
constexpr int kCancelId = 2;

// The template's controls move down by this many dialog units to make room
// for the list's label above them.
constexpr int kLabelRowHeight = 12;

// The names the library's list gives the default locale's language: with its
// territory first ("English (United Kingdom)"), then alone ("Swedish").
QStringList localeNames(const QLocale& locale) {
    QString language = QLocale::languageToString(locale.language());
    QString territory = QLocale::territoryToString(locale.territory());
    return {QStringLiteral("%1 (%2)").arg(language, territory), language};
}

// The library's strings are Windows 1252.
QString fromLibrary(const char* text) {
    return text == nullptr ? QString() : fromWindows1252(QByteArray(text));
}

QFont templateFont(const tessel_language_dialog& dialog) {
    QFont font(fromLibrary(dialog.font_name));
    font.setStyleHint(QFont::SansSerif);
    if (dialog.font_points > 0) font.setPointSize(dialog.font_points);
    return font;
}

// A control is never made smaller than it can be drawn: a template rectangle
// lower than the widget needs grows about its middle.
void place(QWidget& widget, QRect area) {
    int needed = widget.sizeHint().height();
    if (needed > area.height()) {
        area.adjust(0, -(needed - area.height()) / 2, 0, 0);
        area.setHeight(needed);
    }
    widget.setGeometry(area);
}

}  // namespace

bool LanguageDialog::presentable(const tessel_language_dialog* dialog) {
    // Fields are only ever added at the end: everything up to the callbacks
    // must be there.
    if (dialog == nullptr ||
        dialog->size < offsetof(tessel_language_dialog, cancel) + sizeof dialog->cancel) {
        return false;
    }
    bool callbacks = dialog->select && dialog->click_custom_charset && dialog->edit_charset_text &&
                     dialog->ok && dialog->cancel;
    bool controls = dialog->control_count >= 0 && (dialog->control_count == 0 || dialog->controls);
    bool items = dialog->item_count >= 0 &&
                 (dialog->item_count == 0 || (dialog->item_names && dialog->item_code_pages));
    return callbacks && controls && items && dialog->width > 0 && dialog->height > 0;
}

LanguageDialog::LanguageDialog(tessel_language_dialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
    setObjectName(QStringLiteral("languageDialog"));
    setModal(true);
    setWindowTitle(fromLibrary(dialog.caption));
    setFont(templateFont(dialog));
    // The template's size is the client area.
    DialogBaseUnits base = dialogBaseUnits(font());
    setFixedSize(
        dialogUnitsToPixels(base, 0, 0, dialog.width, dialog.height + kLabelRowHeight).size());
    for (int i = 0; i < dialog.control_count; ++i) createControl(dialog.controls[i]);
    fillList();
    if (list_) {
        auto* label = new QLabel(QString::fromUtf8(text::kLanguageListLabel), this);
        label->setObjectName(QStringLiteral("languageLabel"));
        label->setBuddy(list_);
        QRect area = list_->geometry();
        QRect row = dialogUnitsToPixels(base, 0, 0, 0, kLabelRowHeight);
        label->setGeometry(area.x(), area.y() - row.height(), area.width(), row.height());
    }
    preselectLocaleLanguage();
    showState();
}

// The library starts on the first language of the code page offered; where
// the default locale's language is in the list with that same code page, it
// is the better guess.
void LanguageDialog::preselectLocaleLanguage() {
    if (!list_ || dialog_.selection < 0 || dialog_.selection >= dialog_.item_count) return;
    unsigned codePage = dialog_.item_code_pages[dialog_.selection];
    for (const QString& name : localeNames(QLocale())) {
        int index = list_->findText(name, Qt::MatchFixedString);
        if (index < 0 || dialog_.item_code_pages[index] != codePage) continue;
        if (index != dialog_.selection) dialog_.select(&dialog_, index);
        return;
    }
}

void LanguageDialog::createControl(const tessel_dialog_control& control) {
    QRect area = dialogUnitsToPixels(dialogBaseUnits(font()), control.x,
                                     control.y + kLabelRowHeight, control.width, control.height);
    QString text = fromLibrary(control.text);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case TESSEL_CONTROL_SORTED_DROP_DOWN_LIST: {
            auto* list = new QComboBox(this);
            widget = list;
            // The template's height is that of the open list; the closed
            // box is one line high.
            int closed = list->sizeHint().height();
            int line = qMax(1, list->fontMetrics().height());
            list->setMaxVisibleItems(qMax(1, (area.height() - closed) / line));
            area.setHeight(closed);
            if (!list_) list_ = list;
            break;
        }
        case TESSEL_CONTROL_AUTO_CHECK_BOX: {
            auto* box = new QCheckBox(text, this);
            widget = box;
            if (!checkBox_) checkBox_ = box;
            break;
        }
        case TESSEL_CONTROL_EDIT: {
            auto* edit = new QLineEdit(this);
            widget = edit;
            if (!edit_) edit_ = edit;
            break;
        }
        case TESSEL_CONTROL_DEFAULT_PUSH_BUTTON:
        case TESSEL_CONTROL_PUSH_BUTTON: {
            auto* button = new QPushButton(text, this);
            widget = button;
            button->setDefault(control.kind == TESSEL_CONTROL_DEFAULT_PUSH_BUTTON);
            if (control.id == kOkId) {
                connect(button, &QPushButton::clicked, this, &LanguageDialog::okClicked);
            } else if (control.id == kCancelId) {
                connect(button, &QPushButton::clicked, this, &LanguageDialog::reject);
            }
            break;
        }
        default:
            return;  // a kind this window does not know is left out
    }
    widget->setObjectName(QStringLiteral("control%1").arg(control.id));
    widget->setProperty("controlId", control.id);
    place(*widget, area);
}

QWidget* LanguageDialog::control(int id) const {
    for (QWidget* widget : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (widget->property("controlId") == id) return widget;
    }
    return nullptr;
}

void LanguageDialog::fillList() {
    if (list_) {
        // The entries come sorted; the box keeps their order and their
        // indices, which are the library's.
        for (int i = 0; i < dialog_.item_count; ++i) {
            list_->addItem(fromLibrary(dialog_.item_names[i]), dialog_.item_code_pages[i]);
        }
        connect(list_, &QComboBox::currentIndexChanged, this, &LanguageDialog::selectionChanged);
    }
    if (checkBox_) connect(checkBox_, &QCheckBox::clicked, this, &LanguageDialog::checkBoxClicked);
    if (edit_) connect(edit_, &QLineEdit::textEdited, this, &LanguageDialog::textEdited);
}

// Shows the library's state; the widgets' own signals stay quiet meanwhile,
// so that showing a state is never taken for a user's action.
void LanguageDialog::showState() {
    if (list_) {
        QSignalBlocker quiet(list_);
        int selection = dialog_.selection;
        list_->setCurrentIndex(selection >= 0 && selection < list_->count() ? selection : -1);
    }
    if (checkBox_) {
        QSignalBlocker quiet(checkBox_);
        checkBox_->setChecked(dialog_.custom_charset_checked != 0);
    }
    if (edit_) {
        QSignalBlocker quiet(edit_);
        edit_->setEnabled(dialog_.charset_text_enabled != 0);
        // Setting an equal text would move the cursor of a user who types.
        QString text = fromLibrary(dialog_.charset_text);
        if (edit_->text() != text) edit_->setText(text);
    }
}

void LanguageDialog::selectionChanged(int index) {
    int result = dialog_.select(&dialog_, index);
    showState();
    showMessage(result);
}

void LanguageDialog::checkBoxClicked(bool checked) {
    int result = dialog_.click_custom_charset(&dialog_, checked ? 1 : 0);
    showState();
    showMessage(result);
}

void LanguageDialog::textEdited(const QString& text) {
    dialog_.edit_charset_text(&dialog_, toWindows1252(text).constData());
    showState();
}

void LanguageDialog::okClicked() {
    int result = dialog_.ok(&dialog_);
    if (result == TESSEL_DIALOG_ACCEPTED) {
        accepted_ = true;
        accept();
        return;
    }
    showState();
    showMessage(result);
}

void LanguageDialog::reject() {
    if (!accepted_) dialog_.cancel(&dialog_);
    QDialog::reject();
}

void LanguageDialog::showMessage(int result) {
    QString caption = QString::fromUtf8(text::kApplicationTitle);
    if (result == TESSEL_DIALOG_SELECT_LANGUAGE) {
        QMessageBox::information(this, caption, fromLibrary(dialog_.select_language_message));
    } else if (result == TESSEL_DIALOG_SPECIFY_CHARSET) {
        QMessageBox::warning(this, caption, fromLibrary(dialog_.specify_charset_message));
    }
}

}  // namespace tessel::desktop
