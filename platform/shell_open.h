#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace platform {

// Opens a file or an address with the desktop's handler for it: a help page in the web
// browser. True when a handler took it.
bool ShellOpen(const QString& pathOrUrl);

// The path of the program's help page `pageName` in its resources, or of its English page where
// that page is missing; empty when neither is there.
QString FindHelpPage(const QString& pageName, const QString& programName);

// The handler that ShellOpen hands the address to; tests install one that records instead of
// starting a browser.
using ShellOpener = std::function<bool(const QUrl&)>;

// Installs an opener for the lifetime of the guard.
class ScopedShellOpener {
public:
    explicit ScopedShellOpener(ShellOpener opener);
    ~ScopedShellOpener();
    ScopedShellOpener(const ScopedShellOpener&) = delete;
    ScopedShellOpener& operator=(const ScopedShellOpener&) = delete;

private:
    ShellOpener m_previous;
};

} // namespace platform
