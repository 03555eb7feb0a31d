#include "controls/window_titles.h"

#include <QApplication>
#include <QFontMetrics>

void SetDesktopIdentity(const QString& name)
{
    QCoreApplication::setApplicationName(name);
    QGuiApplication::setDesktopFileName(name);
}

int TitleBarWidth(const QString& caption)
{
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The icon, three buttons and the margins take about eight lines' height.
    return metrics.horizontalAdvance(caption) + 8 * metrics.height();
}
