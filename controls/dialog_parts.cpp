#include "controls/dialog_parts.h"

#include <QDialog>
#include <QPushButton>

QDialogButtonBox* CreateDialogButtons(QDialog* dialog, QDialogButtonBox::StandardButtons buttons, const QString& okText,
                                      const QString& cancelText)
{
    auto* box = new QDialogButtonBox(buttons);
    box->setObjectName(QStringLiteral("buttons"));
    for (const auto& [which, text] : {std::pair{QDialogButtonBox::Ok, okText}, std::pair{QDialogButtonBox::Cancel, cancelText}}) {
        if (QPushButton* button = box->button(which)) {
            button->setText(text);
            button->setAccessibleName(text);
        }
    }
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}
