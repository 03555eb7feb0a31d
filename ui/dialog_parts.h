#pragma once

#include <QDialogButtonBox>
#include <QString>

class QDialog;
class QWidget;

// What the window's dialogs share.

// The modes of the edit dialogs, which say "New" or "Edit" in their titles.
enum EditDialogMode : int { ModeNew = 1, ModeEdit = 2 };
QString EditDialogTitle(int mode);

// The OK and Cancel buttons of the window's dialogs in the program's texts, named for screen
// readers and wired to the dialog's accept and reject.
QDialogButtonBox* CreateDialogButtons(QDialog* dialog, QDialogButtonBox::StandardButtons buttons);

// Names a control for tests (its object name) and for screen readers.
template <typename Widget>
Widget* NameControl(Widget* control, const QString& name, const QString& accessible)
{
    control->setObjectName(name);
    control->setAccessibleName(accessible);
    return control;
}
