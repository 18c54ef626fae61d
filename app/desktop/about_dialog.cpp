#include "about_dialog.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "artwork.h"
#include "desktop_texts.h"
#include "tessel_cat.h"
#include "windows_1252.h"

namespace tessel::desktop {

namespace {

// The picture centred in its frame and clipped to it.
class PictureFrame : public QFrame {
  public:
    explicit PictureFrame(QWidget* parent)
        : QFrame(parent), picture_(tesselPicture(QSize(128, 128), false)) {
        setObjectName(QStringLiteral("picture"));
        setFrameStyle(QFrame::Sunken | QFrame::Panel);
        setFixedSize(136, 136);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        QRect inside = contentsRect();
        painter.setClipRect(inside);
        QRect placed(QPoint(0, 0), picture_.size());
        placed.moveCenter(inside.center());
        painter.drawPixmap(placed, picture_);
    }

  private:
    QPixmap picture_;
};

QLabel* libraryText(const char* value, const char* name, QWidget* parent) {
    auto* label = new QLabel(fromWindows1252(QByteArray(value ? value : "")), parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(text::kAboutTitle));
    auto* texts = new QVBoxLayout;
    auto* title = new QLabel(QStringLiteral("<b>%1</b>").arg(text::kApplicationTitle), this);
    texts->addWidget(title);
    texts->addWidget(libraryText(f_pszDLLName(), "libraryName", this));
    texts->addWidget(libraryText(f_pszDLLVersion(), "libraryVersion", this));
    texts->addWidget(libraryText(f_pszDLLCopyrightMessage(), "libraryCopyright", this));
    texts->addStretch();

    auto* row = new QHBoxLayout;
    row->addWidget(new PictureFrame(this), 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

}  // namespace tessel::desktop
