#include "common/help_file.h"

#include "platform/string_table.h"

namespace common {

QString GetHelpFileName()
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

} // namespace common
