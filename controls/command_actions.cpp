#include "controls/command_actions.h"

#include <QAction>
#include <QMenu>

namespace commands {

QAction* AddCommand(QObject* owner, QMenu* menu, int id, const QString& text)
{
    QAction* action = menu ? menu->addAction(text) : new QAction(text, owner);
    action->setData(id);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    return action;
}

QAction* FindCommand(const QObject& owner, int id)
{
    for (QAction* action : owner.findChildren<QAction*>()) {
        if (action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

} // namespace commands
