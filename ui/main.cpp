#include "ui/mvsync_app.h"

#include <QApplication>

using namespace dh1;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CMVsyncApp theApp;
    if (!theApp.InitInstance(QApplication::arguments()))
        return 0;
    return QApplication::exec();
}
