#pragma once

#include <QString>

namespace common {

// The name of the help page for the system language: "help_de.html", "help_es.html",
// "help_fr.html", "help_it.html", "help_ru.html", "help_cn.html", else "help_en.html".
QString GetHelpFileName();

} // namespace common
