// The error log: a plain-text document showing one ".err" file (any case of
// the extension). The file is read line by line in text mode and saved back
// with CR LF line ends in the encoding it was read in. A log larger than
// kPiecewiseBytes opens read-only and goes into the document a piece at a
// time, so that the window shows it as it comes.
#pragma once

#include "log_document.h"

namespace tessel::desktop {

class PiecewiseText;

class CTesselTextDoc : public CTesselFilterPackDoc {
    Q_OBJECT

  public:
    static constexpr qint64 kPiecewiseBytes = 4 * 1024 * 1024;

    explicit CTesselTextDoc(QObject* parent = nullptr);

    bool isErrorLog() const override { return true; }
    bool isReadOnly() const override { return readOnly_; }
    // The text is still going into the document.
    bool isLoading() const;
    bool openFile(const QString& path, QString* error) override;
    bool saveFile(const QString& path, QString* error) override;
    QString fileFilter() const override;
    QString defaultSuffix() const override;

    // True for a name with the extension ".err", whatever its case.
    static bool isErrorLogName(const QString& path);

  signals:
    // How much of a large log is in the document (0 to 100), and that all
    // of it is.
    void loadProgressed(int percent);
    void loadCompleted();

  private:
    void showText(QString text, qint64 fileSize);

    bool utf8_ = false;  // the file was valid UTF-8 with non-ASCII text
    bool finalLineEnd_ = true;
    bool readOnly_ = false;
    PiecewiseText* loader_ = nullptr;  // while a large log goes in
};

}  // namespace tessel::desktop
