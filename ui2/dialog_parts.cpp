#include "ui2/dialog_parts.h"

#include "platform/string_table.h"
#include "ui2/resource.h"

namespace dh2 {

QString EditDialogTitle(int mode)
{
    return platform::LoadString(mode == ModeNew ? ids::IDS_NEW : ids::IDS_EDIT);
}

QDialogButtonBox* CreateDialogButtons(QDialog* dialog)
{
    return ::CreateDialogButtons(dialog, QDialogButtonBox::Ok | QDialogButtonBox::Cancel, QStringLiteral("OK"),
                                 QStringLiteral("Cancel"));
}

} // namespace dh2
