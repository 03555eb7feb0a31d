#include "platform/string_table.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <unordered_map>
#include <utility>

namespace platform {

namespace {

constexpr int kNoOverride = 0;
int g_languageOverride = kNoOverride;

int languageIdOf(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::German: return LANG_GERMAN;
    case QLocale::Spanish: return LANG_SPANISH;
    case QLocale::French: return LANG_FRENCH;
    case QLocale::Italian: return LANG_ITALIAN;
    case QLocale::Korean: return LANG_KOREAN;
    case QLocale::Russian: return LANG_RUSSIAN;
    case QLocale::Chinese: return LANG_CHINESE_SIMPLIFIED;
    default: return LANG_ENGLISH_US;
    }
}

QString unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[++i];
        switch (next.unicode()) {
        case u'n': out += u'\n'; break;
        case u'r': out += u'\r'; break;
        case u't': out += u'\t'; break;
        default: out += next; break;
        }
    }
    return out;
}

using Table = std::unordered_map<int, std::pair<QString, QString>>;

Table loadTables()
{
    Table table;
    const QDir dir(QStringLiteral(":/strings"));
    const QStringList files = dir.entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString content = QString::fromUtf8(file.readAll());
        for (QStringView line : QStringView(content).split(u'\n')) {
            if (line.endsWith(u'\r'))
                line.chop(1);
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const auto fields = line.split(u'\t');
            bool ok = false;
            const int id = fields[0].toInt(&ok);
            if (!ok || fields.size() < 2)
                continue;
            table[id] = {unescape(fields[1]), fields.size() > 2 ? unescape(fields[2]) : QString()};
        }
    }
    return table;
}

const Table& tables()
{
    static const Table table = loadTables();
    return table;
}

} // namespace

int SystemLanguageId()
{
    if (g_languageOverride != kNoOverride)
        return g_languageOverride;
    static const int detected = languageIdOf(QLocale::system());
    return detected;
}

bool IsChineseSystem()
{
    return SystemLanguageId() == LANG_CHINESE_SIMPLIFIED;
}

ScopedLanguage::ScopedLanguage(int languageId) : m_previous(g_languageOverride)
{
    g_languageOverride = languageId;
}

ScopedLanguage::~ScopedLanguage()
{
    g_languageOverride = m_previous;
}

QString LoadString(int id)
{
    const auto it = tables().find(id);
    if (it == tables().end())
        return {};
    const auto& [english, chinese] = it->second;
    return IsChineseSystem() && !chinese.isEmpty() ? chinese : english;
}

bool HasString(int id)
{
    return tables().count(id) != 0;
}

} // namespace platform
