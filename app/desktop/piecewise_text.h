// A large text put into a document a piece at a time from the event loop,
// so that the windows showing it stay usable and can show how far it got.
// Each piece ends at a line end; the document is left unmodified after each.
#pragma once

#include <QObject>
#include <QString>

class QTextDocument;
class QTimer;

namespace tessel::desktop {

class PiecewiseText : public QObject {
    Q_OBJECT

  public:
    // About this many characters go in per piece (more where a line is
    // longer).
    static constexpr qsizetype kPieceCharacters = 256 * 1024;

    // Empties `document` and starts filling it with `text`; the first
    // piece goes in at once, the others from the event loop.
    PiecewiseText(QString text, QTextDocument& document, QObject* parent = nullptr);

    bool finished() const { return position_ >= text_.size(); }
    // How much of the text is in the document, 0 to 100.
    int percentDone() const;

  signals:
    void progressed(int percent);
    void completed();

  private:
    void putNextPiece();

    QString text_;
    QTextDocument& document_;
    qsizetype position_ = 0;
    QTimer* timer_;
};

}  // namespace tessel::desktop
