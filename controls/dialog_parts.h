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
