#include "ui2/about_dlg.h"

#include "controls/about_box.h"
#include "controls/dialog_parts.h"

#include <QIcon>

namespace dh2 {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(QStringLiteral("About  Zentra Deskhand"));
    LayOutAboutBox(*this, QIcon(QStringLiteral(":/icons/deskhand2.png")), QStringLiteral("Deskhand"),
                   {QStringLiteral("Zentra Deskhand"), QStringLiteral("Version 2.5(2.5.1.1029-44-52N)")},
                   CreateDialogButtons(this, QDialogButtonBox::Ok, QStringLiteral("OK"), QString()));
}

} // namespace dh2
