#include "controls/about_box.h"

#include "controls/dialog_parts.h"
#include "controls/window_titles.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

void LayOutAboutBox(QDialog& dialog, const QIcon& icon, const QString& iconName, const QStringList& lines,
                    QWidget* buttons)
{
    auto* picture = new QLabel;
    picture->setObjectName(QStringLiteral("icon"));
    picture->setPixmap(icon.pixmap(32, 32));
    picture->setAccessibleName(iconName);
    auto* texts = new QVBoxLayout;
    for (const QString& line : lines) {
        auto* text = new QLabel(line);
        text->setAccessibleName(line);
        texts->addWidget(text);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    top->addWidget(buttons, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(top);
    // Wide enough for the title bar to show the whole caption.
    QSize size = dialog.sizeHint();
    size.setWidth(std::max(size.width(), TitleBarWidth(dialog.windowTitle())));
    dialog.setFixedSize(size);
    KeepFixedSize(dialog);
}
