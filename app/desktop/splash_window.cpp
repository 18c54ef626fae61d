#include "splash_window.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "artwork.h"

namespace tessel::desktop {

CSplashWnd::CSplashWnd(int milliseconds)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(tesselPicture(QSize(480, 280), true)) {
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(picture_.size());
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    QTimer::singleShot(milliseconds, this, &QWidget::close);
    qApp->installEventFilter(this);
}

CSplashWnd::~CSplashWnd() {
    qApp->removeEventFilter(this);
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
            close();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

CSplashWnd* showSplash(int milliseconds) {
    auto* splash = new CSplashWnd(milliseconds);
    splash->show();
    return splash;
}

}  // namespace tessel::desktop
