// The problems of the last run in one dockable list: each file that wrote an
// error log or whose outputs did not reach the output folder, its return
// code and what kept them from it or the log's first message. A double-click or
// Open Log opens that log. The list also holds the option to open the logs'
// windows after a run and how many of them at most.
#pragma once

#include <QDockWidget>
#include <QList>

#include "desktop_host.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace tessel::desktop {

class ProblemsList : public QDockWidget {
    Q_OBJECT

  public:
    explicit ProblemsList(QWidget* parent = nullptr);

    void setProblems(const QList<BatchProblem>& problems);
    void setWindowOptions(bool openWindows, int limit);

    QTreeWidget* table() const { return table_; }
    QPushButton* openButton() const { return open_; }
    QCheckBox* openWindowsBox() const { return openWindows_; }
    QSpinBox* limitBox() const { return limit_; }

    // An error log's first numbered message without its number, else its
    // first line that says something (empty when it cannot be read).
    static QString firstMessage(const QString& logPath);

  signals:
    void openLogRequested(const QString& logPath);
    void windowOptionsChanged(bool openWindows, int limit);

  private:
    void openCurrent();

    QTreeWidget* table_;
    QPushButton* open_;
    QCheckBox* openWindows_;
    QSpinBox* limit_;
    QLabel* count_;
};

}  // namespace tessel::desktop
