#include "batch_progress.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "desktop_texts.h"

namespace tessel::desktop {

BatchProgress::BatchProgress(QWidget* parent)
    : QWidget(parent),
      bar_(new QProgressBar(this)),
      file_(new QLabel(this)),
      cancelButton_(new QPushButton(QString::fromUtf8(text::kCancelButton), this)) {
    setObjectName(QStringLiteral("batchProgress"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(file_);
    layout->addWidget(bar_);
    layout->addWidget(cancelButton_);
    bar_->setTextVisible(true);
    bar_->setMinimumWidth(
        bar_->fontMetrics().horizontalAdvance(QStringLiteral("file 0000 of 0000")) + 24);
    file_->setMinimumWidth(file_->fontMetrics().averageCharWidth() * 24);
    connect(cancelButton_, &QPushButton::clicked, this, &BatchProgress::requestCancel);
    hide();
}

void BatchProgress::start(int fileCount) {
    cancel_ = false;
    cancelButton_->setEnabled(true);
    bar_->setRange(0, fileCount);
    bar_->setValue(0);
    bar_->setFormat(
        text::with(text::kProgressFormat, QStringLiteral("0"), QString::number(fileCount)));
    file_->clear();
    show();
}

void BatchProgress::fileStarting(int number, int fileCount, const QString& path) {
    bar_->setRange(0, fileCount);
    // The bar fills with the files done; its text names the current one.
    bar_->setValue(number - 1);
    bar_->setFormat(
        text::with(text::kProgressFormat, QString::number(number), QString::number(fileCount)));
    if (!cancel_) {
        file_->setText(QFileInfo(path).fileName());
        file_->setToolTip(path);
    }
}

void BatchProgress::finish() {
    hide();
    cancel_ = false;
}

void BatchProgress::requestCancel() {
    cancel_ = true;
    cancelButton_->setEnabled(false);
    file_->setText(QString::fromUtf8(text::kCancelling));
}

}  // namespace tessel::desktop
