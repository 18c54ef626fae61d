#include "output_folder_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop_texts.h"

namespace tessel::desktop {

namespace {

QString fromUtf8(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace

OutputFolderDialog::OutputFolderDialog(const QString& folder, QWidget* parent)
    : QDialog(parent),
      besideInputs_(new QCheckBox(fromUtf8(text::kOutputFolderBesideInputs))),
      folder_(new QLineEdit(QDir::toNativeSeparators(folder))),
      browse_(new QPushButton(fromUtf8(text::kOutputFolderBrowse))),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)) {
    setWindowTitle(fromUtf8(text::kOutputFolderTitle));
    besideInputs_->setChecked(folder.isEmpty());
    folder_->setMinimumWidth(folder_->fontMetrics().averageCharWidth() * 48);
    auto* label = new QLabel(fromUtf8(text::kOutputFolderLabel));
    label->setBuddy(folder_);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(folder_, 1);
    row->addWidget(browse_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(besideInputs_);
    layout->addLayout(row);
    layout->addWidget(buttons_);

    connect(besideInputs_, &QCheckBox::toggled, this, &OutputFolderDialog::updateState);
    connect(folder_, &QLineEdit::textChanged, this, &OutputFolderDialog::updateState);
    connect(browse_, &QPushButton::clicked, this, &OutputFolderDialog::browse);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateState();
}

QString OutputFolderDialog::folder() const {
    QString typed = folder_->text().trimmed();
    if (besideInputs_->isChecked() || typed.isEmpty()) return {};
    return QDir::cleanPath(QDir(QDir::fromNativeSeparators(typed)).absolutePath());
}

QPushButton* OutputFolderDialog::okButton() const {
    return buttons_->button(QDialogButtonBox::Ok);
}

void OutputFolderDialog::updateState() {
    bool own = !besideInputs_->isChecked();
    folder_->setEnabled(own);
    browse_->setEnabled(own);
    okButton()->setEnabled(!own || !folder_->text().trimmed().isEmpty());
}

void OutputFolderDialog::browse() {
    QString start = folder_->text().trimmed();
    QString chosen = QFileDialog::getExistingDirectory(this, fromUtf8(text::kOutputFolderTitle),
                                                       start.isEmpty() ? QDir::homePath() : start);
    if (!chosen.isEmpty()) folder_->setText(QDir::toNativeSeparators(chosen));
}

}  // namespace tessel::desktop
