#include <QApplication>

#include <gmock/gmock.h>

// Every test binary gets an application object on the offscreen platform, so that widget
// tests and code that asks for the application's folders both work without a display.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
