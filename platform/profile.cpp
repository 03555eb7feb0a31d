#include "platform/profile.h"

#include "platform/ansi_codepage.h"
#include "platform/folders.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace platform {

namespace {

QStringView sectionName(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return {};
    const qsizetype close = trimmed.indexOf(u']');
    return close < 0 ? QStringView() : trimmed.mid(1, close - 1).trimmed();
}

bool isSectionLine(QStringView line)
{
    return line.trimmed().startsWith(u'[');
}

bool isComment(QStringView line)
{
    return line.trimmed().startsWith(u';');
}

QString unquote(QString value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

IniFile::IniFile(const QString& text)
{
    // Lines end at LF, CR LF, CR CR LF or a lone CR; empty pieces between CRs are dropped.
    static const QRegularExpression lineEnd(QStringLiteral("\r*\n|\r+"));
    m_lines = text.split(lineEnd);
    while (!m_lines.isEmpty() && m_lines.back().isEmpty())
        m_lines.removeLast();
}

IniFile::LoadResult IniFile::Load(const QString& path, IniFile& ini, QString* error)
{
    ini = IniFile();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // A link to nothing is missing too: a save replaces the link.
        if (!QFileInfo::exists(path))
            return Missing;
    } else {
        const QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError) {
            ini = IniFile(FromAnsi(bytes));
            return Loaded;
        }
    }
    if (error)
        *error = file.errorString();
    return Unreadable;
}

bool IniFile::Save(const QString& path) const
{
    return WriteFileAtomically(path, ToAnsi(Text()));
}

QString IniFile::Text() const
{
    QString text;
    for (const QString& line : m_lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

qsizetype IniFile::findSection(const QString& section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines[i]) && sectionName(m_lines[i]).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniFile::findKey(qsizetype header, const QString& key) const
{
    for (qsizetype i = header + 1; i < m_lines.size() && !isSectionLine(m_lines[i]); ++i) {
        const QString& line = m_lines[i];
        if (isComment(line))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IniFile::HasKey(const QString& section, const QString& key) const
{
    const qsizetype header = findSection(section);
    return header >= 0 && findKey(header, key) >= 0;
}

QString IniFile::Value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const qsizetype header = findSection(section);
    const qsizetype line = header < 0 ? -1 : findKey(header, key);
    if (line < 0) {
        QString fallback = defaultValue;
        while (!fallback.isEmpty() && fallback.back().isSpace())
            fallback.chop(1);
        return fallback;
    }
    const QString& text = m_lines[line];
    return unquote(text.mid(text.indexOf(u'=') + 1).trimmed());
}

void IniFile::SetValue(const QString& section, const QString& key, const QString& value)
{
    const QString entry = key + u'=' + value;
    qsizetype header = findSection(section);
    if (header < 0) {
        m_lines.append(u'[' + section + u']');
        m_lines.append(entry);
        return;
    }
    const qsizetype line = findKey(header, key);
    if (line >= 0) {
        m_lines[line] = entry;
        return;
    }
    qsizetype end = header + 1;
    while (end < m_lines.size() && !isSectionLine(m_lines[end]))
        ++end;
    // Keep blank lines that separate sections after the new key.
    while (end > header + 1 && m_lines[end - 1].trimmed().isEmpty())
        --end;
    m_lines.insert(end, entry);
}

} // namespace platform
