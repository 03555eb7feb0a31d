#pragma once

#include <QString>

namespace common {

// The name of the help page for the system language: "help_de.html", "help_es.html",
// "help_fr.html", "help_it.html", "help_ru.html", "help_cn.html", else "help_en.html".
QString HelpFileName();

// Shows the program's help page `pageName` (or its English page) in the web browser. When no
// browser takes it, a box says so and names the page's file, so that the user can open it.
void OpenHelpPage(const QString& pageName, const QString& programName);

} // namespace common
