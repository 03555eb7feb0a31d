#pragma once

#include <QString>

namespace helppage {

// Shows the program's help page `pageName` (or its English page) in the web browser. When no
// browser takes it, a box says so and names the page's file, so that the user can open it.
void OpenHelpPage(const QString& pageName, const QString& programName);

} // namespace helppage
