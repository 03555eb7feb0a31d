#include "docshared/csv_file.h"

#include "docshared/data_file.h"
#include "platform/ansi_codepage.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <QFile>

#include <QStringDecoder>

namespace csv {

QString QuoteCell(const QString& cell)
{
    const bool needsQuotes = cell.contains(u',') || cell.contains(u'"') || cell.contains(u'\r') || cell.contains(u'\n');
    if (!needsQuotes)
        return cell;
    QString quoted = cell;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString NumberCell(const QString& number)
{
    // The number in quotes, quoted once more as a cell: """0123""".
    QString inner = number;
    inner.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QStringLiteral("\"\"\"") + inner + QStringLiteral("\"\"\"");
}

QString CellAt(const QStringList& cells, int k)
{
    return k < cells.size() ? cells[k] : QString();
}

QString WithHeader(const char* header, const QString& rows)
{
    return rows.isEmpty() ? QString() : QString::fromLatin1(header) + QStringLiteral("\r\n") + rows;
}

namespace {

// A cell quoted the way the export quotes it starts with a quote, doubles every quote inside,
// and ends with a quote that a comma or the end of its row follows (rowEnds says which
// characters end a row). Returns the position just past the closing quote, or -1 when the
// quote at start opens no such cell: then it is an ordinary character, as in files of the
// original program, which quote nothing.
qsizetype quotedCellEnd(QStringView text, qsizetype start, QStringView rowEnds)
{
    for (qsizetype i = start + 1; i < text.size(); ++i) {
        if (text[i] != u'"')
            continue;
        if (i + 1 < text.size() && text[i + 1] == u'"') {
            ++i;
            continue;
        }
        const qsizetype after = i + 1;
        if (after == text.size() || text[after] == u',' || rowEnds.contains(text[after]))
            return after;
        return -1;
    }
    return -1;
}

QString trimLine(const QString& line)
{
    auto isTrim = [](QChar c) { return c == u'\r' || c == u'\n' || c == u' '; };
    qsizetype start = 0;
    qsizetype end = line.size();
    while (start < end && isTrim(line[start]))
        ++start;
    while (end > start && isTrim(line[end - 1]))
        --end;
    return line.mid(start, end - start);
}

// CR LF, LF and CR alike end a row: spreadsheets and tools here write LF.
constexpr QStringView kRowEnds = u"\r\n";

bool isRowEnd(QChar c)
{
    return kRowEnds.contains(c);
}

// The line break that ends the row starting at pos (one inside a quoted cell does not), or the
// end of the text.
qsizetype rowEnd(QStringView text, qsizetype pos)
{
    bool cellStart = true;
    qsizetype i = pos;
    while (i < text.size() && !isRowEnd(text[i])) {
        if (cellStart && text[i] == u'"') {
            const qsizetype end = quotedCellEnd(text, i, kRowEnds);
            if (end >= 0) {
                i = end;
                cellStart = false;
                continue;
            }
        }
        cellStart = text[i] == u',';
        ++i;
    }
    return i;
}

} // namespace

QStringList SplitLines(const QString& text)
{
    // Rows end at a line break outside quoted cells, however many cells the row has; empty
    // ones are dropped. A quote opens a cell only where a lone quote before a comma or a row end
    // closes it (quotedCellEnd): in files that quote nothing it is an ordinary character.
    QStringList lines;
    qsizetype pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && isRowEnd(text[pos]))
            ++pos;
        if (pos == text.size())
            break;
        const qsizetype end = rowEnd(text, pos);
        lines << text.mid(pos, end - pos);
        pos = end;
    }
    return lines;
}

QStringList SplitCells(const QString& rawLine)
{
    const QString line = trimLine(rawLine);
    QStringList cells;
    qsizetype pos = 0;
    for (;;) {
        if (pos < line.size() && line[pos] == u'"') {
            const qsizetype end = quotedCellEnd(line, pos, u"");
            if (end >= 0) {
                cells << line.mid(pos + 1, end - pos - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
                if (end == line.size())
                    break;
                pos = end + 1; // past the comma
                continue;
            }
        }
        const qsizetype comma = line.indexOf(u',', pos);
        if (comma < 0) {
            cells << line.mid(pos);
            break;
        }
        cells << line.mid(pos, comma - pos);
        pos = comma + 1;
    }
    for (QString& cell : cells)
        cell.remove(u'"');
    return cells;
}

QString HeaderKey(const QString& line)
{
    QStringList cells = SplitCells(line);
    for (QString& cell : cells)
        cell = cell.trimmed().toLower();
    return cells.join(u',');
}

namespace {

bool isUtf8(QByteArrayView bytes)
{
    // Stateless: a sequence cut off at the end is an error too.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    static_cast<void>(QString(decoder.decode(bytes)));
    return !decoder.hasError();
}

} // namespace

QString DecodeFile(const QByteArray& bytes)
{
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    const QByteArrayView body = QByteArrayView(bytes).sliced(bom ? 3 : 0);
    if (!bom && !platform::IsUtf8Locale())
        return platform::FromLegacy(body.toByteArray());
    if (isUtf8(body))
        return QString::fromUtf8(body);
    // Each row on its own: a file pieced together from several sources may hold a row in the
    // legacy code page among UTF-8 ones, which must not turn the others into mojibake. CR and LF
    // are never part of a character in the code pages read here.
    QString text;
    qsizetype pos = 0;
    while (pos < body.size()) {
        qsizetype end = pos;
        while (end < body.size() && body[end] != '\r' && body[end] != '\n')
            ++end;
        while (end < body.size() && (body[end] == '\r' || body[end] == '\n'))
            ++end;
        const QByteArrayView row = body.sliced(pos, end - pos);
        text += isUtf8(row) ? QString::fromUtf8(row) : platform::FromLegacy(row.toByteArray());
        pos = end;
    }
    return text;
}

void RowsLeftOut::Add(qsizetype row, const QString& date)
{
    if (m_count++ == 0) {
        m_firstRow = row;
        m_firstDate = date;
    }
}

bool RowsLeftOut::LeftOutEvery(qsizetype rows) const
{
    return rows > 0 && m_count == rows;
}

void RowsLeftOut::Warn() const
{
    if (m_count > 0)
        platform::AfxMessageBox(platform::LoadString(kRowsLeftOutText)
                                    .arg(QString::number(m_count), QString::number(m_firstRow), m_firstDate),
                                platform::MB_ICONWARNING);
}

QByteArray EncodeFile(const QString& text)
{
    return platform::ToAnsi(QString(text).remove(QChar(u'\0')));
}

bool WriteFile(const QString& path, const QString& text, QString* error)
{
    return docshared::SaveDataFile(path, EncodeFile(text), error);
}

namespace {

QString askPath(bool open, const QString& fileName)
{
    platform::FileDialogRequest request;
    request.open = open;
    request.fileName = fileName;
    // The list's word as the extension would give "Phonebook.Phonebook".
    request.defaultExt = QStringLiteral("csv");
    request.filter = QStringLiteral("CSV file(*.csv)|*.csv||");
    return platform::UiServices::instance().fileDialog(request);
}

} // namespace

QString AskSavePath(const QString& fileName)
{
    return askPath(false, fileName);
}

QString ListFileName(int tab)
{
    static const char* const kNames[] = {"Phonebook", "Schedules", "Memos"};
    return tab >= 0 && tab < 3 ? QString::fromLatin1(kNames[tab]) : QString();
}

QString AskOpenPath(const QString& fileName)
{
    return askPath(true, fileName);
}

FileRead ReadFile(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileRead::NotOpened;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? FileRead::Read : FileRead::ReadFailed;
}

} // namespace csv
