// The error log: a plain-text document showing one ".err" file (any case of
// the extension). The file is read line by line in text mode and saved back
// with CR LF line ends in the encoding it was read in.
#pragma once

#include "log_document.h"

namespace tessel::desktop {

class CTesselTextDoc : public CTesselFilterPackDoc {
    Q_OBJECT

  public:
    explicit CTesselTextDoc(QObject* parent = nullptr);

    bool isErrorLog() const override { return true; }
    bool openFile(const QString& path, QString* error) override;
    bool saveFile(const QString& path, QString* error) override;
    QString fileFilter() const override;
    QString defaultSuffix() const override;

    // True for a name with the extension ".err", whatever its case.
    static bool isErrorLogName(const QString& path);

  private:
    bool utf8_ = false;  // the file was valid UTF-8 with non-ASCII text
    bool finalLineEnd_ = true;
};

}  // namespace tessel::desktop
