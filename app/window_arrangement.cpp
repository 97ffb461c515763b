#include "app/window_arrangement.h"

#include <algorithm>
#include <set>

namespace veltrix {

std::vector<QRect> TileHorizontally(const QRect& area, int count) {
    std::vector<QRect> rects;
    if (count <= 0 || area.isEmpty()) return rects;
    const int rowHeight = std::max(1, area.height() / count);
    for (int i = 0; i < count; ++i) {
        const int top = area.top() + i * rowHeight;
        const int height = i == count - 1 ? std::max(1, area.bottom() + 1 - top) : rowHeight;
        rects.emplace_back(area.left(), top, area.width(), height);
    }
    return rects;
}

QRect FittedRect(const QRect& design, const QRect& area) {
    const QSize size(std::min(design.width(), area.width()), std::min(design.height(), area.height()));
    const int left = std::clamp(design.left(), area.left(), area.left() + area.width() - size.width());
    const int top = std::clamp(design.top(), area.top(), area.top() + area.height() - size.height());
    return QRect(QPoint(left, top), size);
}

std::vector<QPoint> ArrangeIconPositions(const QRect& area, const std::vector<QSize>& icons) {
    std::vector<QPoint> positions;
    int x = area.left();
    int rowBottom = area.bottom() + 1;
    int rowHeight = 0;
    for (const QSize& icon : icons) {
        if (x > area.left() && x + icon.width() > area.right() + 1) {
            x = area.left();
            rowBottom -= rowHeight;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, icon.height());
        positions.emplace_back(x, rowBottom - icon.height());
        x += icon.width();
    }
    return positions;
}

QList<QMenu*> MergeMenus(const QList<GroupedMenu>& child, const QList<GroupedMenu>& frame) {
    QList<GroupedMenu> merged;
    std::set<int> childGroups;
    for (const GroupedMenu& item : child) {
        if (item.menu != nullptr && item.group >= 0 && item.group <= 5) {
            merged.append(item);
            childGroups.insert(item.group);
        }
    }
    for (const GroupedMenu& item : frame) {
        if (item.menu != nullptr && !childGroups.count(item.group)) merged.append(item);
    }
    std::stable_sort(merged.begin(), merged.end(),
                     [](const GroupedMenu& a, const GroupedMenu& b) { return a.group < b.group; });
    QList<QMenu*> menus;
    for (const GroupedMenu& item : merged) menus.append(item.menu);
    return menus;
}

}  // namespace veltrix
