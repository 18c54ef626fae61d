// The start-up window: a borderless picture centred on the screen, closed
// after a while or at the first key press or mouse click anywhere in the
// program.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace tessel::desktop {

class CSplashWnd : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kShowMilliseconds = 2000;

    explicit CSplashWnd(int milliseconds = kShowMilliseconds);
    ~CSplashWnd() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPixmap picture_;
};

// Shows a splash that deletes itself when it closes.
CSplashWnd* showSplash(int milliseconds = CSplashWnd::kShowMilliseconds);

}  // namespace tessel::desktop
