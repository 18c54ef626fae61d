// The program's own pictures, painted at run time: the start-up and About
// picture (a tessellation of tiles in which a few stand out as the tags of a
// text do) and the tool-bar icons.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace tessel::desktop {

// With `withTitle` the application title is written across the tiles.
QPixmap tesselPicture(const QSize& size, bool withTitle);

QIcon applicationIcon();

enum class ToolIcon { New, Open, Save, Cut, Copy, Paste, Print, About };
QIcon toolIcon(ToolIcon which);

}  // namespace tessel::desktop
