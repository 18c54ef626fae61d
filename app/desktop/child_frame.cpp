#include "child_frame.h"

#include <QCloseEvent>
#include <QTextDocument>

#include "log_document.h"
#include "log_view.h"

namespace tessel::desktop {

CChildFrame::CChildFrame(CTesselFilterPackView* view, std::function<bool(CChildFrame&)> mayClose)
    : view_(view), mayClose_(std::move(mayClose)) {
    setWidget(view);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(view->logDocument().textDocument(), &QTextDocument::modificationChanged, this,
            &QWidget::setWindowModified);
}

CTesselFilterPackDoc& CChildFrame::document() const {
    return view_->logDocument();
}

void CChildFrame::setTitle(const QString& title) {
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(document().isModified());
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (mayClose_ && !mayClose_(*this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

}  // namespace tessel::desktop
