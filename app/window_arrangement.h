#pragma once

#include <QList>
#include <QMenu>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

#include "platform/menu_groups.h"

namespace veltrix {

// The horizontal tile: one window per row, each the area's full width, the rows sharing its height
// (the last row takes what division leaves over).
std::vector<QRect> TileHorizontally(const QRect& area, int count);

// A window's design rectangle made to fit the area: no larger than it, and moved in so that it lies
// wholly inside (its left and top edges first, where it is as large as the area).
QRect FittedRect(const QRect& design, const QRect& area);

// Minimised windows laid in a row along the bottom of the area, left to right; a row that is full
// continues in the row above.
std::vector<QPoint> ArrangeIconPositions(const QRect& area, const std::vector<QSize>& icons);

// The menu bar while a document window is active: its menus of groups 0 to 5 in group order (equal
// groups keep their order), then the frame's menus of the groups the child does not supply.
// The frame's menus carry groups 0 and 6 to 9, so the child's "&File" takes the place of the frame's.
QList<QMenu*> MergeMenus(const QList<GroupedMenu>& child, const QList<GroupedMenu>& frame);

}  // namespace veltrix
