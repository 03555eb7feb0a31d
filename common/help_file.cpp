#include "common/help_file.h"

#include "platform/shell_open.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

namespace common {

namespace {

// "The help page could not be shown in a web browser. ... %1" (the page's path).
constexpr int kHelpNotShownText = 61720;

} // namespace

QString HelpFileName()
{
    switch (platform::SystemLanguageId()) {
    case platform::LANG_GERMAN: return QStringLiteral("help_de.html");
    case platform::LANG_SPANISH: return QStringLiteral("help_es.html");
    case platform::LANG_FRENCH: return QStringLiteral("help_fr.html");
    case platform::LANG_ITALIAN: return QStringLiteral("help_it.html");
    case platform::LANG_RUSSIAN: return QStringLiteral("help_ru.html");
    case platform::LANG_CHINESE_SIMPLIFIED: return QStringLiteral("help_cn.html");
    default: return QStringLiteral("help_en.html");
    }
}

void OpenHelpPage(const QString& pageName, const QString& programName)
{
    const QString path = platform::FindHelpPage(pageName, programName);
    if (platform::ShellOpen(path))
        return;
    // A page missing from every folder is named by its place among the program's files.
    const QString shown = path.isEmpty() ? QStringLiteral("help/") + pageName : path;
    platform::AfxMessageBox(platform::LoadString(kHelpNotShownText).arg(shown), platform::MB_ICONINFORMATION);
}

} // namespace common
