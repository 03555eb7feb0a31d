#include "document/csv_file.h"

#include "platform/ansi_codepage.h"

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

namespace {

// Walks text cell by cell; returns false when a quoted cell never closes.
template <typename OnChar, typename OnBreak>
bool scan(QStringView text, bool breakLines, OnChar onChar, OnBreak onBreak)
{
    bool inQuotes = false;
    bool cellStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    onChar(c, true);
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                onChar(c, true);
            }
            continue;
        }
        if (c == u'"' && cellStart) {
            inQuotes = true;
            cellStart = false;
            continue;
        }
        if (c == u',' || (breakLines && (c == u'\r' || c == u'\n'))) {
            onBreak(c);
            cellStart = true;
            continue;
        }
        onChar(c, false);
        cellStart = false;
    }
    return !inQuotes;
}

QString trimLine(QString line)
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

} // namespace

QStringList SplitLines(const QString& text)
{
    // Lines end at CR outside quoted cells; each piece loses its leading CR and LF characters
    // and empty pieces are dropped. Lines keep their raw cell text for SplitCells.
    QStringList pieces;
    QString current;
    bool inQuotes = false;
    bool cellStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            current += c;
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"')
                    current += text[++i];
                else
                    inQuotes = false;
            }
            continue;
        }
        if (c == u'\r') {
            pieces << current;
            current.clear();
            cellStart = true;
            continue;
        }
        if (c == u'"' && cellStart)
            inQuotes = true;
        current += c;
        cellStart = c == u',' || c == u'\n';
    }
    if (inQuotes)
        pieces = text.split(u'\r'); // a quote that never closes: the traditional split
    else
        pieces << current;

    QStringList lines;
    for (const QString& piece : pieces) {
        qsizetype start = 0;
        while (start < piece.size() && (piece[start] == u'\r' || piece[start] == u'\n'))
            ++start;
        if (start < piece.size())
            lines << piece.mid(start);
    }
    return lines;
}

QStringList SplitCells(const QString& rawLine)
{
    const QString line = trimLine(rawLine);
    QStringList cells;
    QString current;
    const bool closed = scan(
        line, false, [&](QChar c, bool) { current += c; },
        [&](QChar) {
            cells << current;
            current.clear();
        });
    if (!closed) {
        // A quote that never closes: split at every comma as older files expect.
        cells = line.split(u',');
    } else {
        cells << current;
    }
    for (QString& cell : cells)
        cell.remove(u'"');
    return cells;
}

QString DecodeFile(const QByteArray& bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(data.mid(3));
    const QByteArray charset = QByteArray(platform::AnsiCharset()).toUpper();
    if (charset == "UTF-8" || charset == "UTF8") {
        QStringDecoder decoder(QStringDecoder::Utf8);
        QString text = decoder.decode(data);
        if (!decoder.hasError())
            return text;
        return platform::FromLegacy(data);
    }
    return platform::FromAnsi(data);
}

QByteArray EncodeFile(const QString& text)
{
    return platform::ToAnsi(text);
}

} // namespace csv
