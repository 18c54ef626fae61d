// The format menus, built from the batch core's command table and, after
// the commands of each menu, its check table: one action per row with a
// menu path, menus and sub-menus in the order their first rows stand. A
// check the core cannot run for its format gets a greyed-out entry whose
// status-bar text says so.
#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "core/check_table.h"
#include "core/command_table.h"

class QAction;
class QMenu;
class QMenuBar;

namespace tessel::desktop {

// The entry of a conversion command or of a check.
struct CommandAction {
    const app::Command* command = nullptr;
    const app::CheckCommand* check = nullptr;
    QAction* action = nullptr;
    bool available = true;
};

// Adds the format menus to `menuBar` before `before` (or at the end) and
// calls `run` or `runCheck` when an available entry is chosen.
QList<CommandAction> addCommandMenus(QMenuBar& menuBar, QAction* before,
                                     const std::function<void(const app::Command&)>& run,
                                     const std::function<void(const app::CheckCommand&)>& runCheck);

// The status-bar text of a row's entry.
QString commandStatusTip(const app::Command& command);
QString checkEntryStatusTip(const app::CheckCommand& check);

}  // namespace tessel::desktop
