// The status bar's part for a running batch: "file N of M" on a bar, the
// current file's name, and Cancel, which stops the batch after the current
// file. The request is read by the batch's own thread.
#pragma once

#include <QWidget>
#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tessel::desktop {

class BatchProgress : public QWidget {
    Q_OBJECT

  public:
    explicit BatchProgress(QWidget* parent = nullptr);

    void start(int fileCount);
    void fileStarting(int number, int fileCount, const QString& path);
    void finish();
    void requestCancel();
    bool cancelRequested() const { return cancel_.load(); }

    QProgressBar* bar() const { return bar_; }
    QLabel* fileLabel() const { return file_; }
    QPushButton* cancelButton() const { return cancelButton_; }

  private:
    QProgressBar* bar_;
    QLabel* file_;
    QPushButton* cancelButton_;
    std::atomic<bool> cancel_{false};
};

}  // namespace tessel::desktop
