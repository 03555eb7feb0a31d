#pragma once

#include "controls/control_names.h"
#include "controls/dialog_parts.h"

namespace dh1 {

// What Deskhand's dialogs share beyond what both programs' dialogs do.

// "New" or "Edit" in the program's texts.
QString EditDialogTitle(int mode);

// OK and Cancel (those asked for) in the program's texts.
QDialogButtonBox* CreateDialogButtons(QDialog* dialog, QDialogButtonBox::StandardButtons buttons);

} // namespace dh1
