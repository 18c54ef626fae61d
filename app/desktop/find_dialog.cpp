#include "find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tessel::desktop {

FindDialog::FindDialog(QWidget* parent, std::function<QTextEdit*()> target)
    : QDialog(parent), target_(std::move(target)) {
    findText_ = new QLineEdit(this);
    replaceText_ = new QLineEdit(this);
    replaceLabel_ = new QLabel(tr("Re&place with:"), this);
    replaceLabel_->setBuddy(replaceText_);
    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(findText_);
    matchCase_ = new QCheckBox(tr("Match &case"), this);
    wholeWords_ = new QCheckBox(tr("Match &whole word only"), this);
    auto* findButton = new QPushButton(tr("&Find Next"), this);
    findButton->setDefault(true);
    replaceButton_ = new QPushButton(tr("&Replace"), this);
    replaceAllButton_ = new QPushButton(tr("Replace &All"), this);
    auto* closeButton = new QPushButton(tr("Close"), this);
    status_ = new QLabel(this);

    auto* grid = new QGridLayout;
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(findText_, 0, 1);
    grid->addWidget(replaceLabel_, 1, 0);
    grid->addWidget(replaceText_, 1, 1);
    grid->addWidget(matchCase_, 2, 1);
    grid->addWidget(wholeWords_, 3, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findButton);
    buttons->addWidget(replaceButton_);
    buttons->addWidget(replaceAllButton_);
    buttons->addWidget(closeButton);
    buttons->addStretch();
    auto* layout = new QGridLayout(this);
    layout->addLayout(grid, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->addWidget(status_, 1, 0, 1, 2);

    connect(findButton, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(replaceButton_, &QPushButton::clicked, this, &FindDialog::replaceCurrent);
    connect(replaceAllButton_, &QPushButton::clicked, this, &FindDialog::replaceAll);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::hide);
}

void FindDialog::showFind() {
    setWindowTitle(tr("Find"));
    setReplaceMode(false);
    show();
    raise();
    findText_->setFocus();
}

void FindDialog::showReplace() {
    setWindowTitle(tr("Replace"));
    setReplaceMode(true);
    show();
    raise();
    findText_->setFocus();
}

void FindDialog::setSearch(const QString& text, bool matchCase, bool wholeWords) {
    findText_->setText(text);
    matchCase_->setChecked(matchCase);
    wholeWords_->setChecked(wholeWords);
}

void FindDialog::setReplaceMode(bool on) {
    replaceLabel_->setVisible(on);
    replaceText_->setVisible(on);
    replaceButton_->setVisible(on);
    replaceAllButton_->setVisible(on);
}

QTextDocument::FindFlags FindDialog::flags() const {
    QTextDocument::FindFlags flags;
    if (matchCase_->isChecked()) flags |= QTextDocument::FindCaseSensitively;
    if (wholeWords_->isChecked()) flags |= QTextDocument::FindWholeWords;
    return flags;
}

void FindDialog::report(const QString& message) {
    status_->setText(message);
}

bool FindDialog::findNext() {
    QTextEdit* view = target_ ? target_() : nullptr;
    if (view == nullptr || findText_->text().isEmpty()) return false;
    if (view->find(findText_->text(), flags())) {
        report(QString());
        return true;
    }
    // Once more from the top, as a search that wraps around.
    QTextCursor start = view->textCursor();
    view->moveCursor(QTextCursor::Start);
    if (view->find(findText_->text(), flags())) {
        report(QString());
        return true;
    }
    view->setTextCursor(start);
    report(tr("Cannot find \"%1\".").arg(findText_->text()));
    return false;
}

bool FindDialog::replaceCurrent() {
    QTextEdit* view = target_ ? target_() : nullptr;
    if (view == nullptr || view->isReadOnly()) return false;
    QTextCursor cursor = view->textCursor();
    Qt::CaseSensitivity sensitivity =
        matchCase_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (cursor.hasSelection() &&
        cursor.selectedText().compare(findText_->text(), sensitivity) == 0) {
        cursor.insertText(replaceText_->text());
    }
    return findNext();
}

int FindDialog::replaceAll() {
    QTextEdit* view = target_ ? target_() : nullptr;
    if (view == nullptr || view->isReadOnly() || findText_->text().isEmpty()) return 0;
    QTextDocument* document = view->document();
    QTextCursor edit(document);
    edit.beginEditBlock();
    int replaced = 0;
    QTextCursor found = document->find(findText_->text(), 0, flags());
    while (!found.isNull()) {
        found.insertText(replaceText_->text());
        ++replaced;
        found = document->find(findText_->text(), found.position(), flags());
    }
    edit.endEditBlock();
    report(tr("%1 replaced.").arg(replaced));
    return replaced;
}

}  // namespace tessel::desktop
