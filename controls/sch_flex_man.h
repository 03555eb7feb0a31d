#pragma once

#include "controls/month_texts.h"
#include "platform/c_time.h"
#include "platform/colorref.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

class CMSFlexGrid;

// Turns a grid into a month calendar: a header row of weekday names, then six weeks of two
// rows each, a bold day-number row and a taller text row for the day's entries. It colours
// weekends and the days of the neighbouring months, keeps one selected day highlighted and
// maps cells to dates through 42 date keys ("%04d%02d%02d", one per day cell, week 0
// column 0 first). It never draws; everything goes through the grid's properties.
class CSchFlexMan {
public:
    static constexpr int kRows = 13;
    static constexpr int kCols = 7;
    static constexpr int kDayCells = 42;
    static constexpr int kHeaderHeight = 22; // pixels
    static constexpr int kNumberHeight = 20; // pixels

    static constexpr COLORREF kHeaderBack = 0xC8C8C8;
    static constexpr COLORREF kSundayNumberBack = 0xE6E6FF;
    static constexpr COLORREF kWeekdayNumberBack = 0xEBEBEB;
    static constexpr COLORREF kSaturdayNumberBack = 0xFFDFD6;
    static constexpr COLORREF kSundayText = 0x0000C8;
    static constexpr COLORREF kSaturdayText = 0xC50004;
    static constexpr COLORREF kWeekdayText = 0x000000;
    static constexpr COLORREF kOtherSundayText = 0x9696FA;
    static constexpr COLORREF kOtherSaturdayText = 0xC59696;
    static constexpr COLORREF kOtherWeekdayText = 0x969696;
    static constexpr COLORREF kSelectedBack = 0xDCFFFF;
    static constexpr COLORREF kWhite = 0xFFFFFF;

    CSchFlexMan();

    // Returns the previous grid. The grid is not owned.
    CMSFlexGrid* SetGrid(CMSFlexGrid* grid);
    CMSFlexGrid* GetGrid() const { return m_pGrid; }
    void Refresh();
    CTime GetShownMonth() const { return m_timeFirst; }

    static int PixelsToTwips(int value, bool horizontal);
    static int TwipsToPixels(int value, bool horizontal);

    // One-time set-up of the grid (the stored one when null); 1 when done, 0 without a grid.
    int InitGrid(CMSFlexGrid* grid = nullptr);
    // The rectangle the calendar may take. The rows follow the grid's font: the header and the
    // day numbers are at least one line high, the text rows hold as many whole lines as fit, and
    // the grid ends with its last row and column.
    void SetLayout(const QRect& rect, bool apply);
    void ApplyLayout(CMSFlexGrid* grid = nullptr);

    void SetMonth(int year, int month);
    void ShowPrevMonth();
    void ShowNextMonth();

    // The grid's current cell becomes the selection when it is a text cell; TRUE when the
    // selection changed.
    bool OnCellSelected();
    // The date of a day cell (a text row or a day-number row); invalid outside the days.
    CTime GetCellDate(int column, int row) const;
    CTime GetSelectedDate() const { return m_timeSelected; }
    bool SelectDate(const CTime& date, bool select);
    // Appends to the grid's current cell, a second text on a new line ("\r").
    void AppendCellText(const QString& text);
    bool SetDateText(const CTime& date, const QString& text);
    void SetCellText(int row, int column, const QString& text);
    void ClearTexts();
    // Writes the texts of the shown month's days at once (element d - 1 for day d); every other
    // day cell is emptied. The current cell moves.
    void SetMonthTexts(const QStringList& dayTexts);
    // Writes the entries' texts and repeat marks (by the calendar's rule) into the shown month
    // and selects the selected day again.
    void ShowEntries(const std::vector<monthtexts::Entry>& entries, const monthtexts::RepeatRule& rule);
    QString GetCurrentCellText() const;
    QString GetDateText(const CTime& date) const;
    bool SelectCurrentCell();

    // Selection and remembered current cell as (column, row).
    QPoint GetSelection() const { return m_ptSel; }
    QPoint GetCurrentCell() const { return m_ptCur; }
    const QStringList& GetDateKeys() const { return m_keys; }
    int GetColumnWidth() const { return m_nColWidth; }
    int GetTextRowHeight() const { return m_nTextRowHeight; }

    static QString DateKey(int year, int month, int day);

private:
    // Row and column sizes for the rectangle in that grid's font.
    void Measure(const CMSFlexGrid* grid);
    void FillMonth();
    void ShowDayNumber(int index, int day, bool shownMonth);
    void MoveTo(int column, int row);
    int KeyIndex(const CTime& date) const;

    CMSFlexGrid* m_pGrid = nullptr;
    QRect m_rect;
    int m_nColWidth = 0;
    int m_nTextRowHeight = 0;
    int m_nHeaderPixels = kHeaderHeight;
    int m_nNumberPixels = kNumberHeight;
    CTimeSpan m_spanDay{1, 0, 0, 0};
    CTime m_timeFirst{2002, 1, 1};
    int m_nFirstWeekday = 0;
    int m_nDays = 0;
    QPoint m_ptSel{0, 0};
    QPoint m_ptCur{0, 0};
    CTime m_timeSelected{2002, 1, 1};
    QStringList m_keys;
};
