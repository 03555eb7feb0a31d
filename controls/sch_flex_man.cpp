#include "controls/sch_flex_man.h"

#include "controls/ms_flex_grid.h"
#include "platform/string_table.h"

#include <algorithm>

namespace {

constexpr int kWeekdayNameIds[CSchFlexMan::kCols] = {61453, 61454, 61455, 61456, 61461, 61458, 61459};

COLORREF dayTextColor(int column, bool shownMonth)
{
    if (column == 0)
        return shownMonth ? CSchFlexMan::kSundayText : CSchFlexMan::kOtherSundayText;
    if (column == 6)
        return shownMonth ? CSchFlexMan::kSaturdayText : CSchFlexMan::kOtherSaturdayText;
    return shownMonth ? CSchFlexMan::kWeekdayText : CSchFlexMan::kOtherWeekdayText;
}

int numberRowOf(int index)
{
    return 2 * (index / CSchFlexMan::kCols) + 1;
}

int textRowOf(int index)
{
    return 2 * (index / CSchFlexMan::kCols) + 2;
}

} // namespace

CSchFlexMan::CSchFlexMan()
{
    for (int i = 0; i < kDayCells; ++i)
        m_keys.append(QString());
}

CMSFlexGrid* CSchFlexMan::SetGrid(CMSFlexGrid* grid)
{
    CMSFlexGrid* previous = m_pGrid;
    m_pGrid = grid;
    return previous;
}

void CSchFlexMan::Refresh()
{
    if (m_pGrid)
        m_pGrid->Refresh();
}

int CSchFlexMan::PixelsToTwips(int value, bool horizontal)
{
    return CMSFlexGrid::PixelsToTwips(value, horizontal);
}

int CSchFlexMan::TwipsToPixels(int value, bool horizontal)
{
    return CMSFlexGrid::TwipsToPixels(value, horizontal);
}

QString CSchFlexMan::DateKey(int year, int month, int day)
{
    return QString::asprintf("%04d%02d%02d", year, month, day);
}

void CSchFlexMan::MoveTo(int column, int row)
{
    m_pGrid->SetRow(row);
    m_pGrid->SetCol(column);
}

int CSchFlexMan::InitGrid(CMSFlexGrid* grid)
{
    CMSFlexGrid* g = grid ? grid : m_pGrid;
    if (!g)
        return 0;
    g->SetCols(kCols);
    g->SetRows(kRows);
    g->SetFixedCols(0);
    g->SetFixedRows(0);
    g->SetAllowUserResizing(0);
    g->setEnabled(true);
    g->SetScrollBars(0);
    g->SetWordWrap(true);
    g->SetBackColor(kWhite);
    g->SetBackColorBkg(kWhite);
    g->SetGridColor(0);
    g->SetBackColorSel(kSelectedBack);
    g->SetForeColor(0);
    g->SetFocusRect(0);
    g->SetGridLines(1);
    g->SetHighLight(0);
    ApplyLayout(g);
    g->SetRow(0);

    for (int c = 0; c < kCols; ++c) {
        g->SetCol(c);
        g->SetCellBackColor(kHeaderBack);
        g->SetCellAlignment(CMSFlexGrid::flexAlignCenterCenter);
        g->SetText(platform::LoadString(kWeekdayNameIds[c]));
    }
    for (int row = 1; row < kRows; row += 2) {
        g->SetRow(row);
        for (int c = 0; c < kCols; ++c) {
            g->SetCol(c);
            if (c == 0) {
                g->SetCellBackColor(kSundayNumberBack);
                g->SetCellForeColor(kSundayText);
            } else if (c == 6) {
                g->SetCellBackColor(kSaturdayNumberBack);
                g->SetCellForeColor(kSaturdayText);
            } else {
                g->SetCellBackColor(kWeekdayNumberBack);
            }
            g->SetCellAlignment(CMSFlexGrid::flexAlignCenterCenter);
            g->SetCellFontBold(true);
        }
    }
    return 1;
}

void CSchFlexMan::SetLayout(const QRect& rect, bool apply)
{
    m_rect = rect;
    Measure(m_pGrid);
    if (apply)
        ApplyLayout();
}

void CSchFlexMan::Measure(const CMSFlexGrid* grid)
{
    if (!grid) {
        m_nColWidth = m_nTextRowHeight = 0;
        m_nHeaderPixels = kHeaderHeight;
        m_nNumberPixels = kNumberHeight;
        return;
    }
    // A larger font than the rows were drawn for makes them taller, never cut.
    m_nHeaderPixels = std::max(kHeaderHeight, grid->RowHeightForLines(1));
    m_nNumberPixels = std::max(kNumberHeight, grid->RowHeightForLines(1, true));
    const int frame = 2 * grid->frameWidth();
    m_nColWidth = PixelsToTwips(std::max(0, m_rect.width() - frame) / kCols, true);
    // The text rows take whole lines of the font, at least one: a window too small for the font
    // cuts the last week rather than hide every day's texts. A rectangle too small for six weeks
    // of day numbers leaves them closed.
    const int room = (m_rect.height() - frame - m_nHeaderPixels) / 6 - m_nNumberPixels;
    const int lines = room > 0 ? std::max(1, grid->LinesInRow(room)) : 0;
    m_nTextRowHeight = lines > 0 ? PixelsToTwips(grid->RowHeightForLines(lines), false) : 0;
}

void CSchFlexMan::ApplyLayout(CMSFlexGrid* grid)
{
    CMSFlexGrid* g = grid ? grid : m_pGrid;
    if (!g)
        return;
    if (g != m_pGrid)
        Measure(g);
    g->SetRowHeight(0, PixelsToTwips(m_nHeaderPixels, false));
    for (int c = 0; c < kCols; ++c)
        g->SetColWidth(c, m_nColWidth);
    for (int row = 1; row < kRows; row += 2) {
        g->SetRowHeight(row, PixelsToTwips(m_nNumberPixels, false));
        g->SetRowHeight(row + 1, m_nTextRowHeight);
    }
    // The grid ends with its last row and column: what whole lines leave of the rectangle
    // stays the form's, not an empty strip inside the calendar.
    const int frame = 2 * g->frameWidth();
    int wide = frame;
    for (int c = 0; c < kCols; ++c)
        wide += g->columnWidth(c);
    int high = frame;
    for (int row = 0; row < kRows; ++row)
        high += g->rowHeight(row);
    g->setGeometry(QRect(m_rect.topLeft(), QSize(std::min(wide, m_rect.width()), std::min(high, m_rect.height()))));
}

void CSchFlexMan::SetMonth(int year, int month)
{
    const CTime first(year, month, 1);
    if (!first.IsValid())
        return;
    m_timeFirst = first;
    m_timeSelected = first;
    const CTime next = month == 12 ? CTime(year + 1, 1, 1) : CTime(year, month + 1, 1);
    m_nDays = int((next - first).GetDays());
    m_nFirstWeekday = first.GetDayOfWeek();
    ClearTexts();
    FillMonth();
}

void CSchFlexMan::ShowPrevMonth()
{
    const int year = m_timeFirst.GetYear();
    const int month = m_timeFirst.GetMonth();
    if (month == 1)
        SetMonth(year - 1, 12);
    else
        SetMonth(year, month - 1);
}

void CSchFlexMan::ShowNextMonth()
{
    const int year = m_timeFirst.GetYear();
    const int month = m_timeFirst.GetMonth();
    if (month == 12)
        SetMonth(year + 1, 1);
    else
        SetMonth(year, month + 1);
}

void CSchFlexMan::ShowDayNumber(int index, int day, bool shownMonth)
{
    const int column = index % kCols;
    MoveTo(column, numberRowOf(index));
    m_pGrid->SetText(QString::number(day));
    m_pGrid->SetCellForeColor(dayTextColor(column, shownMonth));
}

void CSchFlexMan::FillMonth()
{
    if (!m_pGrid)
        return;
    if (m_ptSel != QPoint(0, 0)) {
        MoveTo(m_ptSel.x(), m_ptSel.y());
        m_pGrid->SetCellBackColor(kWhite);
    }

    // Leading days of the previous month, right to left from the 1st.
    CTime date = m_timeFirst;
    for (int d = m_nFirstWeekday - 1; d >= 1; --d) {
        date = date - m_spanDay;
        ShowDayNumber(d - 1, date.GetDay(), false);
        m_keys[d - 1] = DateKey(date.GetYear(), date.GetMonth(), date.GetDay());
    }

    const int year = m_timeFirst.GetYear();
    const int month = m_timeFirst.GetMonth();
    for (int k = 1; k <= m_nDays; ++k) {
        const int p = m_nFirstWeekday - 1 + (k - 1);
        ShowDayNumber(p, k, true);
        m_keys[p] = DateKey(year, month, k);
        if (k == 1)
            m_ptSel = m_ptCur = QPoint(p % kCols, textRowOf(p));
    }

    // Trailing days of the next month fill the six weeks.
    const int nextYear = month == 12 ? year + 1 : year;
    const int nextMonth = month == 12 ? 1 : month + 1;
    int n = 1;
    for (int p = m_nFirstWeekday - 1 + m_nDays; p < kDayCells; ++p, ++n) {
        ShowDayNumber(p, n, false);
        m_keys[p] = DateKey(nextYear, nextMonth, n);
    }

    MoveTo(m_ptSel.x(), m_ptSel.y());
    m_pGrid->SetCellBackColor(kSelectedBack);
}

bool CSchFlexMan::OnCellSelected()
{
    if (!m_pGrid)
        return false;
    const int c = int(m_pGrid->GetCol());
    const int r = int(m_pGrid->GetRow());
    if (r == 0 || r % 2 == 1 || r >= kRows || c < 0 || c >= kCols) {
        // Header and day numbers are not days to select: the selection stays.
        MoveTo(m_ptSel.x(), m_ptSel.y());
        m_pGrid->SetCellBackColor(kSelectedBack);
        return false;
    }
    if (QPoint(c, r) == m_ptSel)
        return false;
    m_pGrid->SetCellBackColor(kSelectedBack);
    MoveTo(m_ptSel.x(), m_ptSel.y());
    m_pGrid->SetCellBackColor(kWhite);
    m_ptSel = m_ptCur = QPoint(c, r);
    MoveTo(c, r);
    m_timeSelected = GetCellDate(c, r);
    return true;
}

CTime CSchFlexMan::GetCellDate(int column, int row) const
{
    if (column < 0 || column >= kCols || row < 1 || row >= kRows)
        return CTime();
    const QString& key = m_keys[((row - 1) / 2) * kCols + column];
    if (key.size() != 8)
        return CTime();
    return CTime(key.left(4).toInt(), key.mid(4, 2).toInt(), key.mid(6, 2).toInt(), 0, 0, 0);
}

int CSchFlexMan::KeyIndex(const CTime& date) const
{
    if (!date.IsValid())
        return -1;
    return int(m_keys.indexOf(DateKey(date.GetYear(), date.GetMonth(), date.GetDay())));
}

bool CSchFlexMan::SelectDate(const CTime& date, bool select)
{
    if (!date.IsValid() || date.GetYear() != m_timeFirst.GetYear() || date.GetMonth() != m_timeFirst.GetMonth())
        return false;
    const int index = KeyIndex(date);
    if (index < 0)
        return false;
    const int column = index % kCols;
    const int row = textRowOf(index);
    if (m_pGrid)
        MoveTo(column, row);
    m_timeSelected = CTime(date.GetYear(), date.GetMonth(), date.GetDay(), 0, 0, 0);
    if (select)
        OnCellSelected();
    else
        m_ptCur = QPoint(column, row);
    return true;
}

void CSchFlexMan::AppendCellText(const QString& text)
{
    if (!m_pGrid)
        return;
    m_pGrid->SetCellAlignment(CMSFlexGrid::flexAlignLeftTop);
    const QString current = m_pGrid->GetText();
    m_pGrid->SetText(current.isEmpty() ? text : current + u'\r' + text);
}

bool CSchFlexMan::SetDateText(const CTime& date, const QString& text)
{
    if (!SelectDate(date, false))
        return false;
    AppendCellText(text);
    return true;
}

void CSchFlexMan::SetCellText(int row, int column, const QString& text)
{
    if (!m_pGrid)
        return;
    MoveTo(column, row);
    AppendCellText(text);
}

void CSchFlexMan::ClearTexts()
{
    if (!m_pGrid)
        return;
    for (int row = 2; row < kRows; row += 2) {
        for (int c = 0; c < kCols; ++c)
            m_pGrid->SetTextMatrix(row, c, QString());
    }
}

void CSchFlexMan::ShowEntries(const std::vector<monthtexts::Entry>& entries, const monthtexts::RepeatRule& rule)
{
    SetMonthTexts(monthtexts::DayTexts(m_timeFirst.GetYear(), m_timeFirst.GetMonth(), entries, rule));
    SelectDate(m_timeSelected, true);
}

void CSchFlexMan::SetMonthTexts(const QStringList& dayTexts)
{
    ClearTexts();
    if (!m_pGrid)
        return;
    const int days = std::min(int(dayTexts.size()), m_nDays);
    for (int k = 1; k <= days; ++k) {
        const QString& text = dayTexts[k - 1];
        if (text.isEmpty())
            continue;
        const int p = m_nFirstWeekday - 1 + (k - 1);
        MoveTo(p % kCols, textRowOf(p));
        m_pGrid->SetCellAlignment(CMSFlexGrid::flexAlignLeftTop);
        m_pGrid->SetText(text);
    }
}

QString CSchFlexMan::GetCurrentCellText() const
{
    return m_pGrid ? m_pGrid->GetText() : QString();
}

QString CSchFlexMan::GetDateText(const CTime& date) const
{
    const int index = KeyIndex(date);
    if (index < 0 || !m_pGrid)
        return QString();
    return m_pGrid->GetTextMatrix(textRowOf(index), index % kCols);
}

bool CSchFlexMan::SelectCurrentCell()
{
    if (m_ptCur != m_ptSel)
        return OnCellSelected();
    return false;
}
