#include "controls/help_page.h"

#include "platform/shell_open.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

namespace helppage {

namespace {

// "The help page could not be shown in a web browser. ... %1" (the page's path).
constexpr int kHelpNotShownText = 61720;

} // namespace

void OpenHelpPage(const QString& pageName, const QString& programName)
{
    const QString path = platform::FindHelpPage(pageName, programName);
    if (platform::ShellOpen(path))
        return;
    // A page missing from every folder is named by its place among the program's files.
    const QString shown = path.isEmpty() ? QStringLiteral("help/") + pageName : path;
    platform::AfxMessageBox(platform::LoadString(kHelpNotShownText).arg(shown), platform::MB_ICONINFORMATION);
}

} // namespace helppage
