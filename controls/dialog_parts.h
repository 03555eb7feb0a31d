#pragma once

#include <QDialogButtonBox>
#include <QString>

class QDialog;

// What the dialogs of both programs share.

// The modes of the edit dialogs, which say "New" or "Edit" in their titles.
enum EditDialogMode : int { ModeNew = 1, ModeEdit = 2 };

// The buttons asked for (OK, Cancel or both) in the program's texts, named for screen readers
// and wired to the dialog's accept and reject. The box has no parent until a layout takes it,
// which puts it in the tab order where the layout puts it.
QDialogButtonBox* CreateDialogButtons(QDialog* dialog, QDialogButtonBox::StandardButtons buttons, const QString& okText,
                                      const QString& cancelText);

// A dialog of fixed layout keeps its size, as its fields were laid out for it: no maximize or
// minimize button, and a window manager can neither maximize nor resize it (a maximized "New"
// would stretch its fields over the screen). The size is fixed as the dialog appears: its
// layout's, or the size the dialog asked for at least if that is larger. Called in the
// constructor, before the dialog is shown.
void KeepFixedSize(QDialog& dialog);
