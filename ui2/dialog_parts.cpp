#include "ui2/dialog_parts.h"

#include "platform/string_table.h"
#include "ui2/resource.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace dh2 {

QString EditDialogTitle(int mode)
{
    return platform::LoadString(mode == 1 ? ids::IDS_NEW : ids::IDS_EDIT);
}

QDialogButtonBox* CreateDialogButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void NameDialogControl(QWidget* control, const QString& name, const QString& label)
{
    control->setObjectName(name);
    control->setAccessibleName(label);
}

} // namespace dh2
