#include "ui/about_dlg.h"

#include "platform/string_table.h"
#include "ui/dialog_parts.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(platform::LoadString(64140));

    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(QIcon(QStringLiteral(":/icons/deskhand.png")).pixmap(32, 32));
    icon->setAccessibleName(QStringLiteral("Deskhand"));
    auto* texts = new QVBoxLayout;
    for (const int id : {64100, 64142, 64141}) {
        auto* text = new QLabel(platform::LoadString(id));
        text->setAccessibleName(text->text());
        texts->addWidget(text);
    }
    QDialogButtonBox* buttons = CreateDialogButtons(this, QDialogButtonBox::Ok);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    top->addWidget(buttons, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    setFixedSize(sizeHint());
}
