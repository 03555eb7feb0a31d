#include "ui/mvsync_app.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("deskhand"));
    QApplication::setApplicationDisplayName(QStringLiteral("Deskhand"));
    CMVsyncApp theApp;
    if (!theApp.InitInstance(QApplication::arguments()))
        return 0;
    return QApplication::exec();
}
