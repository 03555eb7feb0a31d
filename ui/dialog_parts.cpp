#include "ui/dialog_parts.h"

#include "platform/string_table.h"

#include <QDialog>

namespace dh1 {

QString EditDialogTitle(int mode)
{
    return platform::LoadString(mode == ModeNew ? 61493 : 61494);
}

QDialogButtonBox* CreateDialogButtons(QDialog* dialog, QDialogButtonBox::StandardButtons buttons)
{
    QDialogButtonBox* box = CreateDialogButtons(dialog, buttons, platform::LoadString(64143), platform::LoadString(64144));
    // Deskhand's dialogs hold their buttons from the start: they take their place in the tab
    // order where they are made.
    box->setParent(dialog);
    return box;
}

} // namespace dh1
