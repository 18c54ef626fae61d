// "About Tessel Filter Pack": the conversion library's name, version and
// copyright message beside the program's picture.
#pragma once

#include <QDialog>

namespace tessel::desktop {

class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace tessel::desktop
