// The program's button pictures, painted in code in one style: dark outlines
// over a few flat fills on a 24-unit grid, scaled to whatever size a button
// asks for. Disabled buttons get the same drawing in greys.
#pragma once

#include <QIcon>
#include <QRectF>

class QPainter;

namespace ondavia::gui {

// The detailed graph's six buttons, left to right: to the file's start, one
// window back, one step back, one step on, one window on, to the file's end.
enum class NavigationPicture { LeftEnd, Previous, Left, Right, Next, RightEnd };

// The main toolbar's pictures and the file list's folder button.
enum class ToolbarPicture { Chart, Map, Screen, Search, Excel, Settings, Exit, Folder };

QIcon NavigationIcon(NavigationPicture picture);
QIcon ToolbarIcon(ToolbarPicture picture);

// The same drawings straight onto a painter, fitted into `target` (kept
// square, centred).
void PaintNavigationPicture(QPainter& painter, const QRectF& target, NavigationPicture picture,
                            bool enabled = true);
void PaintToolbarPicture(QPainter& painter, const QRectF& target, ToolbarPicture picture,
                         bool enabled = true);

}  // namespace ondavia::gui
