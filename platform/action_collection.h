#pragma once

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QString>

namespace veltrix {

// A window's menus and commands under stable names ("print", "find_parts", "tolerances"), each
// registered once where the window builds its menus. The program and the tests find a command by
// its name; the names do not change when a caption or a menu's layout does.
class ActionCollection {
  public:
    QAction* Add(const QString& name, QAction* action) {
        Q_ASSERT_X(!actions_.contains(name), "ActionCollection", "an action name is registered twice");
        actions_.insert(name, action);
        return action;
    }
    QMenu* AddMenu(const QString& name, QMenu* menu) {
        Q_ASSERT_X(!menus_.contains(name), "ActionCollection", "a menu name is registered twice");
        menus_.insert(name, menu);
        return menu;
    }

    // Null for a name never registered.
    QAction* Action(const QString& name) const { return actions_.value(name); }
    QMenu* Menu(const QString& name) const { return menus_.value(name); }
    QStringList ActionNames() const { return actions_.keys(); }

  private:
    QHash<QString, QPointer<QAction>> actions_;
    QHash<QString, QPointer<QMenu>> menus_;
};

}  // namespace veltrix
