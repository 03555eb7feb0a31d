#include "link/app_utils.h"

#include "platform/string_table.h"

QString CleanPhoneNumber(const QString& number)
{
    QString cleaned;
    cleaned.reserve(number.size());
    for (qsizetype i = 0; i < number.size(); ++i) {
        const QChar c = number[i];
        const bool digit = c >= u'0' && c <= u'9';
        if (digit || (c == u'+' && i == 0) || c == u'p' || c == u'P')
            cleaned += c;
    }
    return cleaned;
}

bool IsWindowsNT()
{
    return true;
}

void GetHelpFileName(QString& name)
{
    switch (platform::SystemLanguageId()) {
    case platform::LANG_GERMAN: name = QStringLiteral("help_de.html"); break;
    case platform::LANG_SPANISH: name = QStringLiteral("help_es.html"); break;
    case platform::LANG_FRENCH: name = QStringLiteral("help_fr.html"); break;
    case platform::LANG_ITALIAN: name = QStringLiteral("help_it.html"); break;
    case platform::LANG_RUSSIAN: name = QStringLiteral("help_ru.html"); break;
    case platform::LANG_CHINESE_SIMPLIFIED: name = QStringLiteral("help_cn.html"); break;
    default: name = QStringLiteral("help_en.html"); break;
    }
}

QString ErrorReasonText(int lastError)
{
    int id = 0;
    switch (lastError) {
    case 5:
    case 6: id = 62005; break;
    case 7: id = 62004; break;
    case 8: id = 62006; break;
    case 11: id = 61452; break;
    case 14: id = 62009; break;
    case 17: id = 62007; break;
    case 25: id = 62008; break;
    case 26: id = 61460; break;
    default: return {};
    }
    return platform::LoadString(id);
}
