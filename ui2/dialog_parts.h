#pragma once

#include "controls/control_names.h"
#include "controls/dialog_parts.h"

namespace dh2 {

// The title of an edit dialog: "New" in mode 1, "Edit" in any other.
QString EditDialogTitle(int mode);
// OK and Cancel.
QDialogButtonBox* CreateDialogButtons(QDialog* dialog);

} // namespace dh2
