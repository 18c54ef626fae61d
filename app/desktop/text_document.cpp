#include "text_document.h"

#include <QStringDecoder>
#include <QTextDocument>

#include "desktop_texts.h"
#include "piecewise_text.h"
#include "report_styles.h"
#include "windows_1252.h"

namespace tessel::desktop {

namespace {

// Text mode: CR LF and a lone CR end a line as LF does.
QByteArray withLineFeeds(QByteArray bytes) {
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
    return bytes;
}

bool isAscii(const QByteArray& bytes) {
    for (char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80) return false;
    }
    return true;
}

}  // namespace

CTesselTextDoc::CTesselTextDoc(QObject* parent) : CTesselFilterPackDoc(parent) {
    textDocument()->setDefaultFont(errorLogFont());
    textDocument()->setUndoRedoEnabled(true);
}

bool CTesselTextDoc::isErrorLogName(const QString& path) {
    return path.endsWith(QLatin1String(".err"), Qt::CaseInsensitive);
}

bool CTesselTextDoc::openFile(const QString& path, QString* error) {
    QByteArray bytes;
    if (!readWhole(path, bytes, error)) return false;
    bytes = withLineFeeds(bytes);
    finalLineEnd_ = bytes.isEmpty() || bytes.endsWith('\n');
    if (bytes.endsWith('\n')) bytes.chop(1);
    // The library writes its logs in Windows 1252 and quotes the input,
    // which may be UTF-8; a log that decodes as UTF-8 is shown as such.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    utf8_ = !utf8.hasError() && !isAscii(bytes);
    if (!utf8_) text = fromWindows1252(bytes);
    setFilePath(path);
    showText(std::move(text), bytes.size());
    return true;
}

bool CTesselTextDoc::isLoading() const {
    return loader_ != nullptr && !loader_->finished();
}

void CTesselTextDoc::showText(QString text, qint64 fileSize) {
    delete loader_;
    loader_ = nullptr;
    readOnly_ = fileSize > kPiecewiseBytes;
    if (!readOnly_) {
        textDocument()->setPlainText(text);
        textDocument()->clearUndoRedoStacks();
        textDocument()->setModified(false);
        return;
    }
    // Read-only: nothing to undo, and no stack of the whole text.
    textDocument()->setUndoRedoEnabled(false);
    loader_ = new PiecewiseText(std::move(text), *textDocument(), this);
    connect(loader_, &PiecewiseText::progressed, this, &CTesselTextDoc::loadProgressed);
    connect(loader_, &PiecewiseText::completed, this, &CTesselTextDoc::loadCompleted);
}

bool CTesselTextDoc::saveFile(const QString& path, QString* error) {
    // Half a log would replace the whole one.
    if (isLoading()) {
        if (error) *error = QString::fromUtf8(text::kStillLoading);
        return false;
    }
    // The raw text keeps no-break spaces, which the plain-text form turns
    // into blanks.
    QString text = textDocument()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    if (finalLineEnd_) text += u'\n';
    QByteArray bytes = utf8_ ? text.toUtf8() : toWindows1252(text);
    bytes.replace("\n", "\r\n");
    if (!writeWhole(path, bytes, error)) return false;
    textDocument()->setModified(false);
    setFilePath(path);
    return true;
}

QString CTesselTextDoc::fileFilter() const {
    return QStringLiteral("Error Log Files (*.err *.ERR *.Err);;All Files (*)");
}

QString CTesselTextDoc::defaultSuffix() const {
    return QStringLiteral("err");
}

}  // namespace tessel::desktop
