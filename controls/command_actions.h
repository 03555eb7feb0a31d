#pragma once

#include <QString>

class QAction;
class QMenu;
class QObject;

// Menu commands that keep their command id as the action's data, so that windows and tests
// find them by id as the menu resource numbered them.
namespace commands {

// A command in the menu (none: an action of owner outside any menu), named "command<id>".
QAction* AddCommand(QObject* owner, QMenu* menu, int id, const QString& text);
// The owner's action of a command id, or nullptr.
QAction* FindCommand(const QObject& owner, int id);

} // namespace commands
