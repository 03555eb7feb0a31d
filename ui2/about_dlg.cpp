#include "ui2/about_dlg.h"

#include "controls/about_box.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QPushButton>

namespace dh2 {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(QStringLiteral("About  Zentra Deskhand"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    LayOutAboutBox(*this, QIcon(QStringLiteral(":/icons/deskhand2.png")), QStringLiteral("Deskhand"),
                   {QStringLiteral("Zentra Deskhand"), QStringLiteral("Version 2.5(2.5.1.1029-44-52N)")}, buttons);
}

} // namespace dh2
