// The frame of every document window: it shows one view, carries the
// document's title (":n" when the document has several windows) and asks
// its owner before the last window of a modified document closes.
#pragma once

#include <QMdiSubWindow>
#include <functional>

namespace tessel::desktop {

class CTesselFilterPackDoc;
class CTesselFilterPackView;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

  public:
    // `mayClose` answers whether the window may close now.
    CChildFrame(CTesselFilterPackView* view, std::function<bool(CChildFrame&)> mayClose);

    CTesselFilterPackView* view() const { return view_; }
    CTesselFilterPackDoc& document() const;

    // "Log1", or "Log1:2" for the second of several windows.
    void setTitle(const QString& title);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    CTesselFilterPackView* view_;
    std::function<bool(CChildFrame&)> mayClose_;
};

}  // namespace tessel::desktop
