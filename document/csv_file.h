#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The CSV form of the exported lists: comma-separated cells, lines ending in CR LF, text in the
// locale's code page.
namespace csv {

// Quotes a cell the RFC 4180 way when it holds a comma, a quote, CR or LF; any other cell is
// written as it stands, so rows without such characters keep their traditional bytes.
QString QuoteCell(const QString& cell);

// The triple-quoted form of a phone number cell: """0123""".
QString NumberCell(const QString& number);

// Splits file text into lines at CR outside quoted cells; each line loses its leading CR and LF
// characters and empty lines are dropped (so a file with LF line ends alone is one line). A file
// whose quotes never close is split the traditional way, at every CR.
QStringList SplitLines(const QString& text);

// Cells of one line: the line trimmed of CR, LF and blanks, split at commas outside quoted
// cells, each cell unquoted and then cleared of any remaining double quotes.
QStringList SplitCells(const QString& line);

// Decodes file bytes: a UTF-8 byte order mark is dropped; bytes that are not valid in the
// locale's code page are read in the legacy code page of files written on the old platform.
QString DecodeFile(const QByteArray& bytes);
QByteArray EncodeFile(const QString& text);

} // namespace csv
