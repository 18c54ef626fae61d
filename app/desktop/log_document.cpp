#include "log_document.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>

#include "report_styles.h"
#include "rtf_export.h"
#include "rtf_import.h"

namespace tessel::desktop {

CTesselFilterPackDoc::CTesselFilterPackDoc(QObject* parent)
    : QObject(parent), document_(new QTextDocument(this)) {
    // The report grows by appending only; an undo stack would only hold every
    // report ever written.
    document_->setUndoRedoEnabled(false);
    document_->setDefaultFont(reportFont(app::ReportStyle::Normal));
}

CTesselFilterPackDoc::~CTesselFilterPackDoc() = default;

QString CTesselFilterPackDoc::title() const {
    return filePath_.isEmpty() ? untitledName_ : QFileInfo(filePath_).fileName();
}

void CTesselFilterPackDoc::setUntitledName(const QString& name) {
    untitledName_ = name;
    emit titleChanged();
}

bool CTesselFilterPackDoc::isModified() const {
    return document_->isModified();
}

void CTesselFilterPackDoc::setFilePath(const QString& path) {
    filePath_ = QFileInfo(path).absoluteFilePath();
    emit titleChanged();
}

bool CTesselFilterPackDoc::openFile(const QString& path, QString* error) {
    QByteArray bytes;
    if (!readWhole(path, bytes, error)) return false;
    if (!fromRtf(bytes, *document_, error)) return false;
    document_->setModified(false);
    setFilePath(path);
    return true;
}

bool CTesselFilterPackDoc::saveFile(const QString& path, QString* error) {
    if (!writeWhole(path, toRtf(*document_), error)) return false;
    document_->setModified(false);
    setFilePath(path);
    return true;
}

QString CTesselFilterPackDoc::fileFilter() const {
    return QStringLiteral("RTF Files (*.rtf *.RTF);;All Files (*)");
}

QString CTesselFilterPackDoc::defaultSuffix() const {
    return QStringLiteral("rtf");
}

void CTesselFilterPackDoc::appendReport(const QString& text, app::ReportStyle style) {
    QTextCursor end(document_);
    end.movePosition(QTextCursor::End);
    end.insertText(text, reportFormat(style));
}

void CTesselFilterPackDoc::clearReport() {
    document_->clear();
}

bool CTesselFilterPackDoc::readWhole(const QString& path, QByteArray& bytes, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

bool CTesselFilterPackDoc::writeWhole(const QString& path, const QByteArray& bytes,
                                      QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace tessel::desktop
