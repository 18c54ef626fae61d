#include "piecewise_text.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace tessel::desktop {

PiecewiseText::PiecewiseText(QString text, QTextDocument& document, QObject* parent)
    : QObject(parent), text_(std::move(text)), document_(document), timer_(new QTimer(this)) {
    document_.clear();
    timer_->setInterval(0);
    connect(timer_, &QTimer::timeout, this, &PiecewiseText::putNextPiece);
    putNextPiece();
    if (!finished()) timer_->start();
}

int PiecewiseText::percentDone() const {
    if (text_.isEmpty()) return 100;
    return static_cast<int>(position_ * 100 / text_.size());
}

void PiecewiseText::putNextPiece() {
    // A piece ends before a line feed, which starts the next one: inserted
    // at the end it starts a new block there.
    qsizetype end = text_.size();
    if (end - position_ > kPieceCharacters) {
        qsizetype lineEnd = text_.indexOf(u'\n', position_ + kPieceCharacters);
        if (lineEnd >= 0) end = lineEnd;
    }
    QTextCursor cursor(&document_);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringView(text_).mid(position_, end - position_).toString());
    position_ = end;
    document_.setModified(false);
    if (!finished()) {
        emit progressed(percentDone());
        return;
    }
    timer_->stop();
    text_ = QString();
    emit completed();
}

}  // namespace tessel::desktop
