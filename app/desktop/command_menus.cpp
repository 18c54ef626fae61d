#include "command_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QSet>

namespace tessel::desktop {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Lets a greyed-out entry be highlighted, so that pointing at it shows in
// the status bar why it is not available.
class GreyedEntriesStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

// The sub-menu `title` of `parent`, made at the end when it is not there.
QMenu* subMenu(QMenu& parent, const QString& title) {
    for (QAction* action : parent.actions()) {
        if (action->menu() && action->text() == title) return action->menu();
    }
    QMenu* menu = parent.addMenu(title);
    menu->setStyle(parent.style());
    return menu;
}

// Finds or makes the menus of the format menus' rows.
class MenuTree {
  public:
    MenuTree(QMenuBar& menuBar, QAction* before)
        : menuBar_(menuBar), before_(before), style_(new GreyedEntriesStyle) {
        style_->setParent(&menuBar);
    }

    // A new entry at the end of the (sub-)menu of `menuPath`; null for a
    // path without a menu.
    QAction* addEntry(std::string_view menuPath) {
        QStringList path = fromView(menuPath).split(u'/');
        QString entry = path.takeLast();
        if (path.isEmpty()) return nullptr;
        QMenu* menu = nullptr;
        for (QMenu* top : topMenus_) {
            if (top->title() == path.first()) menu = top;
        }
        if (menu == nullptr) {
            menu = new QMenu(path.first(), &menuBar_);
            menu->setStyle(style_);
            menuBar_.insertMenu(before_, menu);
            topMenus_ << menu;
        }
        for (qsizetype i = 1; i < path.size(); ++i) menu = subMenu(*menu, path[i]);
        lastMenu_ = menu;
        return menu->addAction(entry);
    }

    // A separator before the first check of each menu sets it apart from
    // the conversion commands.
    QAction* addCheckEntry(std::string_view menuPath) {
        QAction* action = addEntry(menuPath);
        if (action && !checked_.contains(lastMenu_)) {
            checked_.insert(lastMenu_);
            lastMenu_->insertSeparator(action);
        }
        return action;
    }

  private:
    QMenuBar& menuBar_;
    QAction* before_;
    QStyle* style_;
    QList<QMenu*> topMenus_;
    QMenu* lastMenu_ = nullptr;
    QSet<QMenu*> checked_;
};

}  // namespace

QString commandStatusTip(const app::Command& command) {
    return fromView(command.statusTip);
}

QString checkEntryStatusTip(const app::CheckCommand& check) {
    return fromView(app::checkStatusTip(check));
}

QList<CommandAction> addCommandMenus(
    QMenuBar& menuBar, QAction* before, const std::function<void(const app::Command&)>& run,
    const std::function<void(const app::CheckCommand&)>& runCheck) {
    QList<CommandAction> actions;
    MenuTree menus(menuBar, before);
    for (const app::Command& command : app::commandTable()) {
        if (command.menuPath.empty()) continue;
        QAction* action = menus.addEntry(command.menuPath);
        if (action == nullptr) continue;
        action->setStatusTip(commandStatusTip(command));
        const app::Command* row = &command;
        QObject::connect(action, &QAction::triggered, action, [run, row] { run(*row); });
        actions << CommandAction{row, nullptr, action, true};
    }
    for (const app::CheckCommand& check : app::checkTable()) {
        QAction* action = menus.addCheckEntry(check.menuPath);
        if (action == nullptr) continue;
        action->setStatusTip(checkEntryStatusTip(check));
        bool available = app::checkAvailable(check);
        action->setEnabled(available);
        const app::CheckCommand* row = &check;
        QObject::connect(action, &QAction::triggered, action, [runCheck, row] { runCheck(*row); });
        actions << CommandAction{nullptr, row, action, available};
    }
    return actions;
}

}  // namespace tessel::desktop
