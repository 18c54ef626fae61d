// The conversion log: a rich-text document into which the commands write
// their reports (headings and lines appended at the end, never undone),
// saved and opened as RTF. The error-log document derives from it.
#pragma once

#include <QObject>
#include <QString>

#include "core/batch_shell.h"

class QTextDocument;

namespace tessel::desktop {

class CTesselFilterPackDoc : public QObject {
    Q_OBJECT

  public:
    explicit CTesselFilterPackDoc(QObject* parent = nullptr);
    ~CTesselFilterPackDoc() override;

    QTextDocument* textDocument() const { return document_; }

    // The file the document was opened from or saved to; empty until then.
    const QString& filePath() const { return filePath_; }
    // The file's name, or the name given to a new document ("Log1").
    QString title() const;
    void setUntitledName(const QString& name);

    bool isModified() const;
    virtual bool isErrorLog() const { return false; }
    // Shown, not edited (an error log too large to edit).
    virtual bool isReadOnly() const { return false; }

    // Replace the content with a file's, or write it; false with a reason.
    virtual bool openFile(const QString& path, QString* error);
    virtual bool saveFile(const QString& path, QString* error);

    // The file dialogs' filter and the extension of new files.
    virtual QString fileFilter() const;
    virtual QString defaultSuffix() const;

    // The report: text at the end in the style of a heading or a line.
    void appendReport(const QString& text, app::ReportStyle style);
    void clearReport();

  signals:
    void titleChanged();

  protected:
    void setFilePath(const QString& path);
    // Writes `bytes` to `path` through a temporary file, so a failed save
    // leaves the old file as it was.
    static bool writeWhole(const QString& path, const QByteArray& bytes, QString* error);
    static bool readWhole(const QString& path, QByteArray& bytes, QString* error);

  private:
    QTextDocument* document_;
    QString filePath_;
    QString untitledName_;
};

}  // namespace tessel::desktop
