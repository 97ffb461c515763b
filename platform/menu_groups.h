#pragma once

#include <QList>
#include <QMenu>

namespace veltrix {

// A top-level menu with the group index that decides its place when the frame merges the
// active document window's menus into its menu bar (0 to 5 the child's, 6 to 9 the frame's).
struct GroupedMenu {
    int group;
    QMenu* menu;
};

class MenuProvider {
  public:
    virtual ~MenuProvider() = default;
    virtual QList<GroupedMenu> GroupedMenus() = 0;
};

}  // namespace veltrix
