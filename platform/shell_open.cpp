#include "platform/shell_open.h"

#include "platform/folders.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace platform {

namespace {

ShellOpener& InstalledOpener()
{
    static ShellOpener opener;
    return opener;
}

} // namespace

bool ShellOpen(const QString& pathOrUrl)
{
    if (pathOrUrl.isEmpty())
        return false;
    // A path that exists is a local file; anything else is taken as an address.
    const QUrl url = QFileInfo::exists(pathOrUrl) ? QUrl::fromLocalFile(QFileInfo(pathOrUrl).absoluteFilePath())
                                                  : QUrl::fromUserInput(pathOrUrl);
    if (const ShellOpener& opener = InstalledOpener())
        return opener(url);
    return QDesktopServices::openUrl(url);
}

QString FindHelpPage(const QString& pageName, const QString& programName)
{
    const QString path = FindResource(QStringLiteral("help/") + pageName, programName);
    return path.isEmpty() ? FindResource(QStringLiteral("help/help_en.html"), programName) : path;
}

ScopedShellOpener::ScopedShellOpener(ShellOpener opener) : m_previous(InstalledOpener())
{
    InstalledOpener() = std::move(opener);
}

ScopedShellOpener::~ScopedShellOpener()
{
    InstalledOpener() = std::move(m_previous);
}

} // namespace platform
