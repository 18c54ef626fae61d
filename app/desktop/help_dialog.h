// Help Topics: what the program does, its commands (from the command
// table) and its options.
#pragma once

#include <QDialog>

namespace tessel::desktop {

class HelpDialog : public QDialog {
    Q_OBJECT

  public:
    explicit HelpDialog(QWidget* parent = nullptr);
};

// The help text as HTML.
QString helpText();

}  // namespace tessel::desktop
