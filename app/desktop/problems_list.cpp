#include "problems_list.h"

#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStringDecoder>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "desktop_texts.h"
#include "windows_1252.h"

namespace tessel::desktop {

namespace {

enum Column { FileColumn, CodeColumn, MessageColumn };

// Enough of a log for its first message, however large the log is.
constexpr qint64 kFirstMessageBytes = 16384;

QString fromUtf8(const char* text) {
    return QString::fromUtf8(text);
}

QString decodeLog(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromWindows1252(bytes) : text;
}

// A file whose outputs did not reach the output folder may have written no
// log.
bool hasLog(const QTreeWidgetItem* row) {
    return row != nullptr && !row->data(FileColumn, Qt::UserRole).toString().isEmpty();
}

}  // namespace

ProblemsList::ProblemsList(QWidget* parent)
    : QDockWidget(fromUtf8(text::kProblemsTitle), parent),
      table_(new QTreeWidget),
      open_(new QPushButton(fromUtf8(text::kProblemsOpenLog))),
      openWindows_(new QCheckBox(fromUtf8(text::kProblemsOpenAfterRun))),
      limit_(new QSpinBox),
      count_(new QLabel) {
    setObjectName(QStringLiteral("problemsList"));
    table_->setObjectName(QStringLiteral("problemsTable"));
    table_->setHeaderLabels({fromUtf8(text::kProblemsFileColumn),
                             fromUtf8(text::kProblemsCodeColumn),
                             fromUtf8(text::kProblemsMessageColumn)});
    table_->setRootIsDecorated(false);
    table_->setUniformRowHeights(true);
    table_->setAlternatingRowColors(true);
    table_->header()->setStretchLastSection(true);
    limit_->setRange(0, 999);
    limit_->setSuffix(fromUtf8(text::kProblemsWindowLimit));

    auto* controls = new QHBoxLayout;
    controls->addWidget(count_);
    controls->addStretch();
    controls->addWidget(openWindows_);
    controls->addWidget(limit_);
    controls->addWidget(open_);
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(table_);
    layout->addLayout(controls);
    setWidget(body);

    open_->setEnabled(false);
    connect(table_, &QTreeWidget::itemDoubleClicked, this, [this] { openCurrent(); });
    connect(table_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { open_->setEnabled(hasLog(item)); });
    connect(open_, &QPushButton::clicked, this, &ProblemsList::openCurrent);
    auto changed = [this] {
        limit_->setEnabled(openWindows_->isChecked());
        emit windowOptionsChanged(openWindows_->isChecked(), limit_->value());
    };
    connect(openWindows_, &QCheckBox::toggled, this, changed);
    connect(limit_, &QSpinBox::valueChanged, this, changed);
    setProblems({});
}

void ProblemsList::setProblems(const QList<BatchProblem>& problems) {
    table_->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(problems.size());
    for (const BatchProblem& problem : problems) {
        auto* row = new QTreeWidgetItem;
        row->setText(FileColumn, problem.inputPath);
        row->setText(CodeColumn, QString::number(problem.code));
        QString message = firstMessage(problem.logPath);
        if (!problem.deliveryProblem.isEmpty()) {
            message = message.isEmpty() ? problem.deliveryProblem
                                        : problem.deliveryProblem + QStringLiteral(" ") + message;
        }
        row->setText(MessageColumn, message);
        row->setData(FileColumn, Qt::UserRole, problem.logPath);
        row->setToolTip(FileColumn, problem.logPath);
        rows << row;
    }
    table_->addTopLevelItems(rows);
    table_->resizeColumnToContents(CodeColumn);
    count_->setText(text::with(text::kProblemsCount, QString::number(problems.size())));
    open_->setEnabled(false);
}

void ProblemsList::setWindowOptions(bool openWindows, int limit) {
    QSignalBlocker blockBox(openWindows_);
    QSignalBlocker blockLimit(limit_);
    openWindows_->setChecked(openWindows);
    limit_->setValue(limit);
    limit_->setEnabled(openWindows);
}

QString ProblemsList::firstMessage(const QString& logPath) {
    if (logPath.isEmpty()) return {};
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList lines = decodeLog(file.read(kFirstMessageBytes)).split(u'\n');
    // The library numbers its messages "[1] ..." below a heading of the
    // file's particulars; a log without numbers shows its first line.
    static const QRegularExpression numbered(QStringLiteral("^\\[\\d+\\]\\s*"));
    QString first;
    for (const QString& line : lines) {
        QString trimmed = line.trimmed();
        if (trimmed.contains(numbered)) return trimmed.remove(numbered);
        if (first.isEmpty()) first = trimmed;
    }
    return first;
}

void ProblemsList::openCurrent() {
    QTreeWidgetItem* row = table_->currentItem();
    if (hasLog(row)) emit openLogRequested(row->data(FileColumn, Qt::UserRole).toString());
}

}  // namespace tessel::desktop
