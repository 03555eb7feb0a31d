#pragma once

#include "platform/colorref.h"

#include <QTableWidget>

// The month calendar's grid: a table with the property set of the grid control the schedule
// form was written against. Row and Col are the current cell, which the cell properties
// (Text, CellBackColor, ...) address; sizes are in twips; a cell colour of 0 means the
// grid's default colour. SelChange, Click and DblClick report what the user did; changes
// made through the properties report nothing.
class CMSFlexGrid : public QTableWidget {
    Q_OBJECT
public:
    // Cell alignment codes.
    enum Alignment : short {
        flexAlignLeftTop = 0,
        flexAlignLeftCenter = 1,
        flexAlignLeftBottom = 2,
        flexAlignCenterTop = 3,
        flexAlignCenterCenter = 4,
        flexAlignCenterBottom = 5,
        flexAlignRightTop = 6,
        flexAlignRightCenter = 7,
        flexAlignRightBottom = 8,
        flexAlignGeneral = 9,
    };

    explicit CMSFlexGrid(QWidget* parent = nullptr);
    ~CMSFlexGrid() override;

    // Twips of the screen: 1440 per logical inch, rounded to the nearest, so that a pixel size
    // survives the way there and back.
    static int PixelsToTwips(int value, bool horizontal);
    static int TwipsToPixels(int value, bool horizontal);

    // What a row needs besides its lines of text: a pixel above and below them and the grid line.
    static constexpr int kCellPadding = 3;
    // The height of one line of cell text in the grid's font, in pixels.
    int LineHeight(bool bold = false) const;
    // The pixel height of a row that holds that many whole lines, and how many whole lines a row
    // of that height holds.
    int RowHeightForLines(int lines, bool bold = false) const;
    int LinesInRow(int pixels, bool bold = false) const;
    // The lines a cell shows: its text's own lines, wrapped to the column when WordWrap is on,
    // as many as the row holds whole. When the text goes on beyond them, the last one shown ends
    // in "…".
    QStringList ShownLines(long row, long col) const;
    // Adds rows and columns of the default size until the cells cover the control, so that an
    // empty grid reads as an empty table rather than a bare background.
    void CoverWithCells();

    void SetRows(long rows);
    long GetRows() const { return rowCount(); }
    void SetCols(long cols);
    long GetCols() const { return columnCount(); }
    void SetFixedRows(long rows);
    long GetFixedRows() const { return m_nFixedRows; }
    void SetFixedCols(long cols);
    long GetFixedCols() const { return m_nFixedCols; }

    // The current cell; out-of-range values are ignored.
    void SetRow(long row);
    long GetRow() const { return m_nRow; }
    void SetCol(long col);
    long GetCol() const { return m_nCol; }

    void SetText(const QString& text);
    QString GetText() const;
    void SetTextMatrix(long row, long col, const QString& text);
    QString GetTextMatrix(long row, long col) const;

    void SetCellBackColor(COLORREF color);
    COLORREF GetCellBackColor() const;
    void SetCellForeColor(COLORREF color);
    COLORREF GetCellForeColor() const;
    void SetCellAlignment(short alignment);
    short GetCellAlignment() const;
    void SetCellFontBold(bool bold);
    bool GetCellFontBold() const;

    void SetRowHeight(long row, long twips);
    long GetRowHeight(long row) const;
    void SetColWidth(long col, long twips);
    long GetColWidth(long col) const;

    void SetBackColor(COLORREF color);
    COLORREF GetBackColor() const { return m_crBack; }
    void SetBackColorBkg(COLORREF color);
    COLORREF GetBackColorBkg() const { return m_crBackBkg; }
    void SetBackColorSel(COLORREF color);
    void SetForeColor(COLORREF color);
    void SetGridColor(COLORREF color);
    // 0 none, 1 horizontal, 2 vertical, 3 both.
    void SetScrollBars(short scrollBars);
    // 0 none; otherwise the user may drag row and column sizes.
    void SetAllowUserResizing(short mode);
    void SetWordWrap(bool wrap);
    // 0 no focus rectangle.
    void SetFocusRect(short focusRect);
    // 0 never, 1 always, 2 while the grid has the focus.
    void SetHighLight(short highLight);
    // 0 no grid lines.
    void SetGridLines(short gridLines);
    void Refresh();

signals:
    void SelChange();
    void Click();
    void DblClick();

private:
    class Delegate;
    friend class Delegate;

    QTableWidgetItem* cell(long row, long col);
    const QTableWidgetItem* cell(long row, long col) const;
    void syncCurrent();
    void onCurrentCellChanged(int row, int col);

    QStringList CellLines(const QString& text, bool bold, QSize cell) const;

    long m_nRow = 0;
    long m_nCol = 0;
    long m_nFixedRows = 0;
    long m_nFixedCols = 0;
    int m_nSyncing = 0;
    COLORREF m_crBack = 0xFFFFFF;
    COLORREF m_crBackBkg = 0x808080;
    COLORREF m_crBackSel = 0x800000;
    COLORREF m_crBackFixed = 0xC0C0C0;
    COLORREF m_crFore = 0;
    COLORREF m_crForeSel = 0xFFFFFF;
    COLORREF m_crGrid = 0xC0C0C0;
    bool m_bWordWrap = false;
    short m_nFocusRect = 1;
    short m_nHighLight = 1;
    short m_nGridLines = 1;
};
