#pragma once

#include <QAction>
#include <QList>
#include <QMenu>
#include <QSet>
#include <QString>

#include "platform/action_collection.h"

namespace veltrix::testing {

// The commands a user can reach in the menus, the items of submenus included; separators and the
// entries that open a submenu are not commands.
inline QList<QAction*> MenuCommands(const QList<QMenu*>& menus) {
    QList<QAction*> commands;
    for (QMenu* menu : menus) {
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) continue;
            if (action->menu() != nullptr)
                commands += MenuCommands({action->menu()});
            else
                commands << action;
        }
    }
    return commands;
}

// The commands of the menus that no name finds.
inline QStringList UnnamedCommands(const ActionCollection& actions, const QList<QMenu*>& menus) {
    QSet<QAction*> named;
    for (const QString& name : actions.ActionNames()) named << actions.Action(name);
    QStringList unnamed;
    for (QAction* command : MenuCommands(menus))
        if (!named.contains(command)) unnamed << command->text();
    return unnamed;
}

}  // namespace veltrix::testing
