#include "ui/about_dlg.h"

#include "controls/about_box.h"
#include "platform/string_table.h"
#include "ui/dialog_parts.h"

#include <QIcon>

namespace dh1 {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(platform::LoadString(64140));
    QStringList lines;
    for (const int id : {64100, 64142, 64141})
        lines << platform::LoadString(id);
    LayOutAboutBox(*this, QIcon(QStringLiteral(":/icons/deskhand.png")), QStringLiteral("Deskhand"), lines,
                   CreateDialogButtons(this, QDialogButtonBox::Ok));
}

} // namespace dh1
