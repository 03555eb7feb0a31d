#pragma once

// The forms a CSV file takes when other programs write it: every kind of line end, and headers
// whose cells are quoted or have blanks after the commas. Both documents must read them alike.
#include <QByteArray>
#include <QList>

namespace testsupport {

struct CsvForm {
    const char* name;
    const char* lineEnd;
    bool quotedHeader;
    bool blanksInHeader;
    bool lastLineEnd = true;
};

inline constexpr CsvForm kCsvForms[] = {
    {"CR LF", "\r\n", false, false},
    {"LF", "\n", false, false},
    {"CR", "\r", false, false},
    {"LF without a last line end", "\n", false, false, false},
    {"quoted header", "\r\n", true, false},
    {"blanks after the header's commas", "\n", false, true},
    {"quoted header with blanks", "\r", true, true},
};

// The header (comma-separated names) and the rows in that form.
inline QByteArray CsvFile(const CsvForm& form, const QByteArray& header, const QList<QByteArray>& rows)
{
    QList<QByteArray> cells = header.split(',');
    for (QByteArray& cell : cells)
        cell = form.quotedHeader ? '"' + cell + '"' : cell;
    QByteArray file = cells.join(form.blanksInHeader ? ",  " : ",");
    for (const QByteArray& row : rows)
        file += form.lineEnd + row;
    if (form.lastLineEnd)
        file += form.lineEnd;
    return file;
}

} // namespace testsupport
