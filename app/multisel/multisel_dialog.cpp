#include "multisel_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "file_search.h"

namespace tessel::multisel {

namespace {

QString shownName(const QString& folder, const QString& file) {
    return QDir(folder).relativeFilePath(file);
}

}  // namespace

MultiselDialog::MultiselDialog(QWidget* owner) : QDialog(owner) {
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("folder"));
    auto* browse = new QPushButton(tr("&Browse..."), this);
    browse->setObjectName(QStringLiteral("browse"));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse);

    fileType_ = new QComboBox(this);
    fileType_->setObjectName(QStringLiteral("fileType"));
    fileSpec_ = new QLineEdit(this);
    fileSpec_->setObjectName(QStringLiteral("fileSpec"));
    subFolders_ = new QCheckBox(tr("Include &sub-folders"), this);
    subFolders_->setObjectName(QStringLiteral("subFolders"));

    auto* form = new QFormLayout;
    auto* folderLabel = new QLabel(tr("&Folder:"), this);
    folderLabel->setBuddy(folder_);
    form->addRow(folderLabel, folderRow);
    form->addRow(tr("File &type:"), fileType_);
    form->addRow(tr("File s&pecification:"), fileSpec_);
    form->addRow(QString(), subFolders_);

    files_ = new QListWidget(this);
    files_->setObjectName(QStringLiteral("files"));
    files_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("count"));
    auto* all = new QPushButton(tr("Select &All"), this);
    auto* none = new QPushButton(tr("Select &None"), this);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(count_, 1);
    listButtons->addWidget(all);
    listButtons->addWidget(none);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    auto* filesLabel = new QLabel(tr("&Matching files:"), this);
    filesLabel->setBuddy(files_);
    layout->addWidget(filesLabel);
    layout->addWidget(files_, 1);
    layout->addLayout(listButtons);
    layout->addWidget(buttons_);
    resize(560, 460);

    connect(browse, &QPushButton::clicked, this, &MultiselDialog::browse);
    connect(folder_, &QLineEdit::textChanged, this, &MultiselDialog::refresh);
    connect(fileSpec_, &QLineEdit::textChanged, this, &MultiselDialog::refresh);
    connect(subFolders_, &QCheckBox::toggled, this, &MultiselDialog::refresh);
    connect(fileType_, &QComboBox::currentIndexChanged, this, &MultiselDialog::typeChosen);
    connect(files_, &QListWidget::itemSelectionChanged, this, &MultiselDialog::updateState);
    connect(all, &QPushButton::clicked, files_, &QListWidget::selectAll);
    connect(none, &QPushButton::clicked, files_, &QListWidget::clearSelection);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool MultiselDialog::choose(SelectionValues& values) {
    applyValues(values);
    if (exec() != QDialog::Accepted) return false;
    values.directory = QDir::cleanPath(folder_->text().trimmed());
    values.userFilter = fileSpec_->text().trimmed();
    values.filterIndex = fileType_->currentIndex() + 1;
    values.subFolders = subFolders_->isChecked();
    values.chosenFiles = dirOnly_ ? QStringList() : selectedFiles();
    return true;
}

void MultiselDialog::applyValues(const SelectionValues& values) {
    QString caption = values.title.isEmpty() ? values.appTitle : values.title;
    if (!values.title.isEmpty() && !values.appTitle.isEmpty()) {
        caption = values.title + QStringLiteral(" - ") + values.appTitle;
    }
    setWindowTitle(caption);
    dirOnly_ = values.dirOnly;

    filters_ = parseFilter(values.fileFilter);
    if (filters_.isEmpty()) filters_.push_back(FilterEntry{tr("All Files (*.*)"), "*.*"});
    {
        QSignalBlocker block(fileType_);
        fileType_->clear();
        for (const FilterEntry& entry : filters_) fileType_->addItem(entry.description);
        int index = values.filterIndex > 0 ? values.filterIndex - 1 : 0;
        fileType_->setCurrentIndex(index < fileType_->count() ? index : 0);
    }
    {
        QSignalBlocker block(fileSpec_);
        fileSpec_->setText(values.userFilter.isEmpty()
                               ? filters_[fileType_->currentIndex()].patterns
                               : values.userFilter);
    }
    fileSpec_->setReadOnly(values.fileSpecReadOnly);
    subFolders_->setVisible(values.showSubDirCheckbox && !dirOnly_);
    {
        QSignalBlocker block(subFolders_);
        subFolders_->setChecked(values.subFolders && values.showSubDirCheckbox);
    }
    fileType_->setEnabled(!dirOnly_);
    fileSpec_->setEnabled(!dirOnly_);
    files_->setVisible(!dirOnly_);
    {
        QSignalBlocker block(folder_);
        folder_->setText(values.directory.isEmpty() ? QDir::currentPath() : values.directory);
    }
    refresh();
}

void MultiselDialog::typeChosen(int index) {
    if (index >= 0 && index < filters_.size()) fileSpec_->setText(filters_[index].patterns);
}

void MultiselDialog::browse() {
    QString folder = QFileDialog::getExistingDirectory(this, tr("Select Folder"), folder_->text());
    if (!folder.isEmpty()) folder_->setText(QDir::toNativeSeparators(folder));
}

void MultiselDialog::refresh() {
    files_->clear();
    if (!dirOnly_) {
        QString folder = folder_->text().trimmed();
        SearchResult found =
            findFiles(folder, wildcardsOf(fileSpec_->text()), subFolders_->isChecked());
        for (const QString& file : found.files) {
            auto* item = new QListWidgetItem(shownName(folder, file), files_);
            item->setData(Qt::UserRole, file);
        }
        files_->selectAll();
        files_->setToolTip(
            found.truncated
                ? tr("Only the first %1 matching files are listed.").arg(kMaximumListedFiles)
                : QString());
    }
    updateState();
}

void MultiselDialog::updateState() {
    bool folderExists = QDir(folder_->text().trimmed()).exists();
    qsizetype selected = files_->selectedItems().size();
    if (dirOnly_) {
        count_->setText(folderExists ? QString() : tr("The folder does not exist."));
    } else {
        count_->setText(tr("%1 of %2 files selected").arg(selected).arg(files_->count()));
    }
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(dirOnly_ ? folderExists : selected > 0);
}

QStringList MultiselDialog::selectedFiles() const {
    QStringList chosen;
    // In list order, not in the order the user clicked them.
    for (int row = 0; row < files_->count(); ++row) {
        const QListWidgetItem* item = files_->item(row);
        if (item->isSelected()) chosen << item->data(Qt::UserRole).toString();
    }
    return chosen;
}

}  // namespace tessel::multisel
