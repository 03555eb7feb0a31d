#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QWidget;

namespace dh2 {

// The title of an edit dialog: "New" in mode 1, "Edit" in any other.
QString EditDialogTitle(int mode);
// OK and Cancel, named for screen readers and wired to the dialog's accept and reject.
QDialogButtonBox* CreateDialogButtons(QDialog* dialog);
// A dialog control's object name (for tests) and its label as its accessible name.
void NameDialogControl(QWidget* control, const QString& name, const QString& label);

} // namespace dh2
