// The format menus, built from the batch core's command table: one action
// per row with a menu path, menus and sub-menus in the order their first
// rows stand. A row whose export the library lacks gets a greyed-out entry
// whose status-bar text says so.
#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "core/command_table.h"

class QAction;
class QMenu;
class QMenuBar;

namespace tessel::desktop {

struct CommandAction {
    const app::Command* command;
    QAction* action;
};

// Adds the format menus to `menuBar` before `before` (or at the end) and
// calls `run` when an available entry is chosen.
QList<CommandAction> addCommandMenus(QMenuBar& menuBar, QAction* before,
                                     const std::function<void(const app::Command&)>& run);

// The status-bar text of a row's entry.
QString commandStatusTip(const app::Command& command);

}  // namespace tessel::desktop
