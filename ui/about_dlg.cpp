#include "ui/about_dlg.h"

#include "platform/string_table.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
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
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(platform::LoadString(64143));
    ok->setAccessibleName(ok->text());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    top->addWidget(buttons, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    setFixedSize(sizeHint());
}
