#pragma once

#include <QDialogButtonBox>

class QDialog;

// The OK and Cancel buttons of the window's dialogs in the program's texts, named for screen
// readers and wired to the dialog's accept and reject.
QDialogButtonBox* CreateDialogButtons(QDialog* dialog, QDialogButtonBox::StandardButtons buttons);
