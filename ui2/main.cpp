#include "ui2/mvsync_app.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    dh2::CMVsyncApp theApp;
    if (!theApp.InitInstance(QApplication::arguments()))
        return 0;
    return QApplication::exec();
}
