#include "ui/dialog_parts.h"

#include "platform/string_table.h"

#include <QDialog>
#include <QPushButton>

QString EditDialogTitle(int mode)
{
    return platform::LoadString(mode == ModeNew ? 61493 : 61494);
}

QDialogButtonBox* CreateDialogButtons(QDialog* dialog, QDialogButtonBox::StandardButtons buttons)
{
    auto* box = new QDialogButtonBox(buttons, dialog);
    box->setObjectName(QStringLiteral("buttons"));
    for (const auto& [which, id] : {std::pair{QDialogButtonBox::Ok, 64143}, std::pair{QDialogButtonBox::Cancel, 64144}}) {
        if (QPushButton* button = box->button(which)) {
            button->setText(platform::LoadString(id));
            button->setAccessibleName(button->text());
        }
    }
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}
