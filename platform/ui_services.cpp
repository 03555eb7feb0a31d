#include "platform/ui_services.h"

#include <cstdio>

namespace platform {

namespace {
ConsoleUiServices g_consoleServices;
UiServices* g_installedServices = &g_consoleServices;
} // namespace

UiServices& UiServices::instance()
{
    return *g_installedServices;
}

void UiServices::install(UiServices* services)
{
    g_installedServices = services ? services : &g_consoleServices;
}

int ConsoleUiServices::messageBox(const QString& text, unsigned style)
{
    std::fprintf(stderr, "[box] %s\n", text.toLocal8Bit().constData());
    switch (style & MB_BUTTONMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}

QString ConsoleUiServices::fileDialog(const FileDialogRequest& request)
{
    std::fprintf(stderr, "[file dialog] %s: no file chosen\n", request.title.toLocal8Bit().constData());
    return {};
}

} // namespace platform
