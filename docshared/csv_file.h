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

// The cell at position k of a row; empty past its last cell.
QString CellAt(const QStringList& cells, int k);

// The text of an export: the header, then the rows (each ending in CR LF); empty without rows.
QString WithHeader(const char* header, const QString& rows);

// Splits file text into rows at line breaks (CR LF, LF or CR); empty rows are dropped. A cell
// quoted the way QuoteCell quotes keeps its line breaks, whatever the number of cells in its row.
QStringList SplitLines(const QString& text);

// Cells of one row: the row trimmed of CR, LF and blanks, split at commas outside cells quoted
// the way QuoteCell quotes; each cell unquoted and then cleared of any remaining double quotes.
// A quote that opens no such cell is an ordinary character.
QStringList SplitCells(const QString& line);

// A header row as the imports compare it: its cells as SplitCells gives them, trimmed and
// lower-cased, joined by commas. "Name", "Mobile" and Name, Mobile both read name,mobile.
QString HeaderKey(const QString& line);

// Decodes file bytes: a UTF-8 byte order mark is dropped. Under a UTF-8 locale, or after such a
// mark, each row that is valid UTF-8 is read as such and any other row in the legacy code page
// (platform::LegacyCharset, which $DESKHAND_CODEPAGE sets); otherwise the file is read in the
// legacy code page.
QString DecodeFile(const QByteArray& bytes);
// The file's bytes; NUL characters are dropped, since a reader stops at the first.
QByteArray EncodeFile(const QString& text);
// Replaces the file at path whole with the encoded text, so that a failed or killed save leaves
// what was there before (error then says why); what killed saves left in its folder goes first.
bool WriteFile(const QString& path, const QString& text, QString* error = nullptr);

// The file dialogs of the CSV commands ("CSV file(*.csv)|*.csv||", extension "csv"): the chosen
// path, or an empty one when the user cancelled.
QString AskSavePath(const QString& fileName);
// The name the save dialog offers for the export of a tab (0 contacts, 1 schedules, 2 memos).
QString ListFileName(int tab);
QString AskOpenPath(const QString& fileName = QString());

// The rows of a schedule import that were left out because their date did not read: how many,
// and the first of them. The import keeps the others, or refuses a file that has no other.
class RowsLeftOut {
public:
    // row: its number in the file, the header being row 1; date: its date cell as written.
    void Add(qsizetype row, const QString& date);
    int Count() const { return m_count; }
    // True when the file had rows and every one was left out.
    bool LeftOutEvery(qsizetype rows) const;
    // When rows were left out, the warning box naming how many and the first.
    void Warn() const;

private:
    static constexpr int kRowsLeftOutText = 64304;
    int m_count = 0;
    qsizetype m_firstRow = 0;
    QString m_firstDate;
};

enum class FileRead { Read, NotOpened, ReadFailed };
// The whole file.
FileRead ReadFile(const QString& path, QByteArray& bytes);

} // namespace csv
