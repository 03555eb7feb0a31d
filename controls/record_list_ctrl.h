#pragma once

#include <QDate>
#include <QIcon>
#include <QList>
#include <QStringList>
#include <QTime>
#include <QTreeWidget>

class CRecordHeaderCtrl;

// Sort keys of a record list, one kind per column type. Kept apart from the widget so that the
// comparisons can be read and tested on their own.
namespace recordsort {

enum Kind : int { Text = 0, Number = 1, Date = 2, Digits = 3 };

struct Key {
    int kind = Text;
    QString text;     // Text: lower-cased; Date, Digits: decimal digits without leading zeros
    qint64 number = 0; // Number
};

// Whether the column type sorts at all (types 0 to 3; 4 and anything else do not).
bool IsSortable(int kind);
Key MakeKey(int kind, QStringView cell);
// Strict order of two keys of the same kind.
bool Less(const Key& a, const Key& b);
// Compares two digit strings by value however long they are: -1, 0 or 1.
int CompareDigitStrings(QStringView a, QStringView b);
// The sort key of a moment for SetSortKey: seconds counted across days, months and years; an
// invalid date sorts before every valid one.
qint64 MomentKey(const QDate& date, const QTime& time);

} // namespace recordsort

// The report-style list of the forms and dialogs. Its columns are declared by one text of
// alternating titles and sort types ("No,1,Name,0,..."), its first column numbers the rows,
// and a click on a column title sorts the rows by that column's type. Each row carries an
// opaque reference to a document record (its item data), which moves with the row.
class CRecordListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    // The image strip of the row images: 16 x 16 images side by side, magenta transparent.
    // Each program's resources provide their own strip under this name.
    static inline const QString kImageStrip = QStringLiteral(":/images/record_list.bmp");

    explicit CRecordListCtrl(QWidget* parent = nullptr);
    ~CRecordListCtrl() override;

    // Columns start 60 (the number column) and 100 pixels wide and grow where the font needs
    // more: every title stays whole, and the number column holds its check box, the row
    // image and the widest row number.
    void SetColumns(const QString& descriptor, bool checkBoxes);
    void SetListStyle(bool checkBoxes);

    // Numbered rows (the default): column 0 holds the running number and the row image, and
    // cell j goes into column j + 1. Without: cell j goes into column j and rows have no image.
    void SetNumberedRows(bool numbered) { m_bNumberedRows = numbered; }
    bool HasNumberedRows() const { return m_bNumberedRows; }
    // Rows of kinds: AddRow's second argument is a kind, shown as the image kindImages[kind];
    // a click on the number column groups the rows by kind, and every sort numbers the rows
    // 1, 2, 3 ... from the top again. Empty (the default): the argument is the image itself
    // and a sort keeps the numbers the rows had.
    void SetKindImages(const QList<int>& kindImages) { m_kindImages = kindImages; }

    // Appends a row numbered (row count + 1) with the image (negative: 0); cell j goes into
    // column j + 1. Returns the new row's index.
    int AddRow(const QStringList& cells, int image);
    // Rewrites a row the same way, numbered (row + 1); returns row, or -1 when there is none.
    int SetRow(int row, const QStringList& cells, int image);
    // Rewrites a row's texts in place: first into column 0, cell j into column j + 1 (numbered)
    // or j (not numbered, where first is cell 0); the image stays.
    int SetRow(int row, const QString& first, const QStringList& cells);
    // The value a date column sorts the row by (the record's own date and time, MomentKey),
    // instead of reading the shown text, which depends on the locale.
    void SetSortKey(int row, int column, qint64 key);
    // The first selected row, or -1.
    int GetSelectedIndex() const;

    void SortColumn(int column, bool ascending);

    CRecordHeaderCtrl* GetHeaderCtrl() const { return m_header; }
    // Half the number of items of the column descriptor.
    int GetColumnCount() const { return m_nColumns; }
    const QList<int>& GetColumnTypes() const { return m_types; }
    bool IsAscending() const { return m_bAscending; }
    bool HasCheckBoxes() const { return m_bCheckBoxes; }
    int GetImageCount() const { return int(m_images.size()); }

    // The list-control operations the forms use.
    int GetItemCount() const { return topLevelItemCount(); }
    void DeleteAllItems() { clear(); }
    QString GetItemText(int row, int column) const;
    bool SetItemText(int row, int column, const QString& text);
    quintptr GetItemData(int row) const;
    bool SetItemData(int row, quintptr data);
    int GetItemImage(int row) const;
    bool GetCheck(int row) const;
    bool SetCheck(int row, bool checked);
    // Every row's check box at once; checkChanged(-1) tells it once.
    void SetCheckAll(bool checked);
    bool IsSelected(int row) const;
    void SetSelected(int row, bool selected);
    int GetSelectedCount() const;

signals:
    // A row's check box was set or cleared (-1: every row's).
    void checkChanged(int row);
    // A column title was clicked (after the list sorted itself).
    void columnClicked(int column);
    // A click or double click anywhere in the list, also below the last row, as the list
    // control notifies its form (the form then looks at the selection).
    void listClicked();
    void listDoubleClicked();

protected:
    void OnColumnClick(int column);
    void changeEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void setRowCells(QTreeWidgetItem* item, int number, const QStringList& cells, int image);
    void setRowImage(QTreeWidgetItem* item, int image);
    void Renumber();
    // Widens the columns that are narrower than their contents need.
    void FitColumns();
    // The number column's width for a row number of that many digits.
    int NumberCellWidth(int digits) const;

    CRecordHeaderCtrl* m_header; // owned by the view
    bool m_bGridLines = false;
    int m_nColumns = 0;
    bool m_bAscending = true;
    bool m_bCheckBoxes = false;
    bool m_bNumberedRows = true;
    // The digits of the row numbers the number column was fitted for: at least those of a
    // phone's book (up to 500 entries); a longer list widens it as it grows.
    static constexpr int kLeastNumberDigits = 3;
    int m_nNumberDigits = kLeastNumberDigits;
    QList<int> m_kindImages;
    QList<int> m_types;
    QList<QIcon> m_images;
};
