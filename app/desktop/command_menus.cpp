#include "command_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "desktop_texts.h"

namespace tessel::desktop {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Lets a greyed-out entry be highlighted, so that pointing at it shows in
// the status bar why it is not available.
// The sub-menu `title` of `parent`, made at the end when it is not there.
QMenu* subMenu(QMenu& parent, const QString& title) {
    for (QAction* action : parent.actions()) {
        if (action->menu() && action->text() == title) return action->menu();
    }
    QMenu* menu = parent.addMenu(title);
    return menu;
}

}  // namespace

QString commandStatusTip(const app::Command& command) {
    return fromView(command.statusTip);
}

QList<CommandAction> addCommandMenus(QMenuBar& menuBar, QAction* before,
                                     const std::function<void(const app::Command&)>& run) {
    QList<CommandAction> actions;
    QList<QMenu*> topMenus;
    for (const app::Command& command : app::commandTable()) {
        if (command.menuPath.empty()) continue;
        QStringList path = fromView(command.menuPath).split(u'/');
        QString entry = path.takeLast();
        if (path.isEmpty()) continue;

        QMenu* menu = nullptr;
        for (QMenu* top : topMenus) {
            if (top->title() == path.first()) menu = top;
        }
        if (menu == nullptr) {
            menu = new QMenu(path.first(), &menuBar);
            menuBar.insertMenu(before, menu);
            topMenus << menu;
        }
        for (qsizetype i = 1; i < path.size(); ++i) menu = subMenu(*menu, path[i]);

        QAction* action = menu->addAction(entry);
        action->setStatusTip(commandStatusTip(command));
        const app::Command* row = &command;
        QObject::connect(action, &QAction::triggered, action, [run, row] { run(*row); });
        actions << CommandAction{row, action};
    }
    return actions;
}

}  // namespace tessel::desktop
