#include "controls/ms_flex_grid.h"
#include "controls/sch_flex_man.h"
#include "platform/string_table.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Man = CSchFlexMan;

class MonthGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        man.SetGrid(&grid);
        man.SetLayout(QRect(0, 0, 700, 520), false);
        ASSERT_EQ(man.InitGrid(), 1);
    }

    COLORREF fore(int row, int col)
    {
        grid.SetRow(row);
        grid.SetCol(col);
        return grid.GetCellForeColor();
    }

    COLORREF back(int row, int col)
    {
        grid.SetRow(row);
        grid.SetCol(col);
        return grid.GetCellBackColor();
    }

    // The day-number cell of key index i.
    QString number(int i) const { return grid.GetTextMatrix(2 * (i / 7) + 1, i % 7); }

    // Selects the cell as a user click would: the grid moves, then the form asks the manager.
    bool click(int col, int row)
    {
        grid.SetRow(row);
        grid.SetCol(col);
        return man.OnCellSelected();
    }

    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    CMSFlexGrid grid;
    Man man;
};

TEST_F(MonthGrid, InitialisedLayout)
{
    EXPECT_EQ(grid.GetRows(), 13);
    EXPECT_EQ(grid.GetCols(), 7);
    EXPECT_EQ(grid.GetFixedRows(), 0);
    EXPECT_EQ(grid.GetFixedCols(), 0);
    const QStringList names = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(grid.GetTextMatrix(0, c), names[c]);
        EXPECT_EQ(back(0, c), Man::kHeaderBack);
        EXPECT_EQ(grid.GetCellAlignment(), CMSFlexGrid::flexAlignCenterCenter);
        for (int row = 1; row < 13; row += 2) {
            EXPECT_EQ(back(row, c), c == 0 ? Man::kSundayNumberBack : c == 6 ? Man::kSaturdayNumberBack : Man::kWeekdayNumberBack);
            EXPECT_TRUE(grid.GetCellFontBold());
            EXPECT_EQ(grid.GetCellAlignment(), CMSFlexGrid::flexAlignCenterCenter);
        }
    }

    // Pixels in twips at the screen's resolution, and back.
    const int dpi = grid.logicalDpiY();
    EXPECT_EQ(Man::PixelsToTwips(96, false), 96 * 1440 / dpi);
    EXPECT_EQ(Man::TwipsToPixels(Man::PixelsToTwips(96, true), true), 96);
}

TEST_F(MonthGrid, LayoutSizesRowsAndColumns)
{
    man.SetLayout(QRect(10, 20, 700, 520), true);
    EXPECT_EQ(grid.geometry().topLeft(), QPoint(10, 20));
    EXPECT_TRUE(QRect(10, 20, 700, 520).contains(grid.geometry()));
    EXPECT_EQ(grid.rowHeight(0), 22);
    const int textHeight = Man::TwipsToPixels(man.GetTextRowHeight(), false);
    // Whole lines, as many as the room of the rectangle's formula holds.
    const int room = (520 - 2 * grid.frameWidth() - 22) / 6 - 20;
    EXPECT_LE(textHeight, room);
    EXPECT_GT(textHeight + grid.LineHeight(), room);
    for (int row = 1; row < 13; row += 2) {
        EXPECT_EQ(grid.rowHeight(row), 20);
        EXPECT_EQ(grid.rowHeight(row + 1), textHeight);
    }
    for (int c = 0; c < 7; ++c)
        EXPECT_NEAR(grid.columnWidth(c), 100, 1);
    EXPECT_EQ(grid.width(), 7 * grid.columnWidth(0) + 2 * grid.frameWidth());

    // Too small for six weeks: the text rows close instead of going negative.
    man.SetLayout(QRect(0, 0, 70, 100), true);
    EXPECT_EQ(man.GetTextRowHeight(), 0);
    EXPECT_EQ(grid.rowHeight(2), 0);
}

// Over fonts and window sizes, from the smallest window's calendar up: the header and the day
// numbers hold a line, every text row holds a whole number of lines (as many as fit), the grid
// stays in its rectangle, and a day shows whole lines only, the last one ending in "…" when the
// day's texts go on beyond it.
TEST_F(MonthGrid, TextRowsHoldWholeLinesAndADayThatDoesNotFitIsMarked)
{
    const QString ellipsis(QChar(0x2026));
    const QString longSubject = QStringLiteral("Quarterly planning with the whole department ").repeated(6);
    man.SetMonth(2002, 6);
    man.SetDateText(CTime(2002, 6, 5), "Gym");
    for (const char* text : {"A", "B", "C", "D", "E"})
        man.SetDateText(CTime(2002, 6, 12), text);
    man.SetDateText(CTime(2002, 6, 19), longSubject);
    const QPoint one(3, 4), five(3, 6), longDay(3, 8); // (column, row)

    struct Case {
        int points;
        QSize size;
    };
    for (const Case& c : {Case{7, {352, 268}}, Case{9, {352, 268}}, Case{9, {446, 250}}, Case{9, {452, 370}},
                          Case{9, {700, 520}}, Case{12, {352, 268}}, Case{12, {900, 700}}, Case{16, {1200, 900}}}) {
        SCOPED_TRACE(testing::Message() << c.points << " pt in " << c.size.width() << " x " << c.size.height());
        QFont font = grid.font();
        font.setPointSize(c.points);
        grid.setFont(font);
        const QRect rect(QPoint(5, 5), c.size);
        man.SetLayout(rect, true);
        const int line = grid.LineHeight();
        const int frame = 2 * grid.frameWidth();

        EXPECT_EQ(grid.geometry().topLeft(), rect.topLeft());
        EXPECT_TRUE(rect.contains(grid.geometry()));
        EXPECT_GE(grid.rowHeight(0), std::max(22, line + CMSFlexGrid::kCellPadding));
        EXPECT_GE(grid.rowHeight(1), std::max(20, grid.LineHeight(true) + CMSFlexGrid::kCellPadding));
        const int text = grid.rowHeight(2);
        const int lines = (text - CMSFlexGrid::kCellPadding) / line;
        ASSERT_GE(lines, 1);
        EXPECT_EQ((text - CMSFlexGrid::kCellPadding) % line, 0) << text << " px, lines of " << line;
        EXPECT_GT(grid.rowHeight(0) + 6 * (grid.rowHeight(1) + text + line) + frame, rect.height()) << "a line more fits";
        for (int row = 2; row < 13; row += 2)
            EXPECT_EQ(grid.rowHeight(row), text);

        EXPECT_EQ(grid.ShownLines(one.y(), one.x()), QStringList{"Gym"});
        const QStringList shownFive = grid.ShownLines(five.y(), five.x());
        if (lines >= 5) {
            EXPECT_EQ(shownFive, QStringList({"A", "B", "C", "D", "E"}));
        } else {
            ASSERT_EQ(shownFive.size(), lines);
            EXPECT_EQ(shownFive.back(), QStringList({"A", "B", "C", "D", "E"})[lines - 1] + ellipsis);
        }
        const QStringList shownLong = grid.ShownLines(longDay.y(), longDay.x());
        ASSERT_EQ(shownLong.size(), lines);
        EXPECT_TRUE(shownLong.back().endsWith(ellipsis));
        const QFontMetrics metrics(font);
        for (const QString& shown : shownLong)
            EXPECT_LE(metrics.horizontalAdvance(shown), grid.columnWidth(3) - 5) << shown.toStdString();
    }
}

// What the grid paints of a day that does not fit stops with the last whole line.
TEST_F(MonthGrid, NoLineIsPaintedInPart)
{
    man.SetLayout(QRect(0, 0, 352, 268), true);
    man.SetMonth(2002, 6);
    for (const char* text : {"Morning run", "Lunch with Bob", "Theatre", "Call Joe"})
        man.SetDateText(CTime(2002, 6, 12), text);
    const QImage image = grid.grab().toImage();
    const QRect cell = grid.visualItemRect(grid.item(6, 3)).translated(grid.viewport()->pos());
    const int lines = grid.ShownLines(6, 3).size();
    ASSERT_GE(lines, 1);
    int lowestInk = -1;
    for (int y = cell.top(); y < cell.bottom(); ++y) {
        for (int x = cell.left(); x < cell.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                lowestInk = y;
        }
    }
    EXPECT_GE(lowestInk, cell.top());
    EXPECT_LE(lowestInk, cell.top() + lines * grid.LineHeight()) << "ink below the last whole line";
}

TEST_F(MonthGrid, MonthStartingOnSundayHasNoLeadingDays)
{
    man.SetMonth(2002, 9);
    const QStringList& keys = man.GetDateKeys();
    ASSERT_EQ(keys.size(), 42);
    EXPECT_EQ(keys[0], "20020901");
    EXPECT_EQ(number(0), "1");
    EXPECT_EQ(fore(1, 0), Man::kSundayText);
    EXPECT_EQ(fore(1, 6), Man::kSaturdayText);
    EXPECT_EQ(fore(1, 3), Man::kWeekdayText);
    EXPECT_EQ(keys[29], "20020930");
    // Twelve trailing days of October fill six weeks.
    EXPECT_EQ(keys[30], "20021001");
    EXPECT_EQ(keys[41], "20021012");
    EXPECT_EQ(number(41), "12");
    EXPECT_EQ(fore(11, 6), Man::kOtherSaturdayText); // 12 October, a Saturday
    EXPECT_EQ(fore(9, 2), Man::kOtherWeekdayText);   // 1 October
    EXPECT_EQ(fore(11, 0), Man::kOtherSundayText);   // 6 October
    EXPECT_EQ(man.GetSelection(), QPoint(0, 2));
    EXPECT_EQ(back(2, 0), Man::kSelectedBack);
    EXPECT_EQ(man.GetSelectedDate(), CTime(2002, 9, 1));
}

TEST_F(MonthGrid, MonthStartingOnSaturdayHasSixLeadingDays)
{
    man.SetMonth(2002, 6);
    const QStringList& keys = man.GetDateKeys();
    const QStringList leading = {"20020526", "20020527", "20020528", "20020529", "20020530", "20020531"};
    EXPECT_EQ(keys.mid(0, 6), leading);
    EXPECT_EQ(number(0), "26");
    EXPECT_EQ(fore(1, 0), Man::kOtherSundayText);
    for (int c = 1; c < 6; ++c)
        EXPECT_EQ(fore(1, c), Man::kOtherWeekdayText);
    EXPECT_EQ(keys[6], "20020601");
    EXPECT_EQ(fore(1, 6), Man::kSaturdayText);
    EXPECT_EQ(man.GetSelection(), QPoint(6, 2));
    EXPECT_EQ(keys[35], "20020630");
    EXPECT_EQ(keys[36], "20020701");
    EXPECT_EQ(keys[41], "20020706");
    EXPECT_EQ(fore(11, 6), Man::kOtherSaturdayText);
    // Every cell has a key, and all keys differ.
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), 42);
}

TEST_F(MonthGrid, LeapFebruary)
{
    man.SetMonth(2004, 2);
    const QStringList& keys = man.GetDateKeys();
    EXPECT_EQ(keys[0], "20040201");
    EXPECT_EQ(keys[28], "20040229");
    EXPECT_EQ(keys[29], "20040301");
    EXPECT_EQ(keys[41], "20040313");
    EXPECT_EQ(number(28), "29");
    EXPECT_EQ(fore(9, 0), Man::kSundayText);  // 29 February, in the shown month
    EXPECT_EQ(fore(9, 1), Man::kOtherWeekdayText); // 1 March

    man.SetMonth(2003, 2); // begins on a Saturday
    EXPECT_EQ(man.GetDateKeys()[6 + 27], "20030228");
    EXPECT_EQ(man.GetDateKeys()[6 + 28], "20030301");

    man.SetMonth(2008, 2); // begins on a Friday, ends on the 29th
    EXPECT_EQ(man.GetDateKeys()[5 + 28], "20080229");
}

TEST_F(MonthGrid, CellsMapToDates)
{
    man.SetMonth(2002, 6);
    EXPECT_EQ(man.GetCellDate(0, 2), CTime(2002, 5, 26));
    EXPECT_EQ(man.GetCellDate(6, 2), CTime(2002, 6, 1));
    EXPECT_EQ(man.GetCellDate(1, 4), CTime(2002, 6, 3));
    EXPECT_EQ(man.GetCellDate(6, 12), CTime(2002, 7, 6));
    // A day-number cell names the day of its week, not a week earlier.
    EXPECT_EQ(man.GetCellDate(0, 1), CTime(2002, 5, 26));
    EXPECT_FALSE(man.GetCellDate(0, 0).IsValid());
    EXPECT_FALSE(man.GetCellDate(7, 2).IsValid());
    EXPECT_FALSE(man.GetCellDate(0, 13).IsValid());

    Man fresh;
    EXPECT_FALSE(fresh.GetCellDate(0, 2).IsValid()); // no month shown yet
}

TEST_F(MonthGrid, SelectionRules)
{
    man.SetMonth(2002, 6);
    // A text cell becomes the selection; the old one loses its highlight.
    EXPECT_TRUE(click(3, 4));
    EXPECT_EQ(man.GetSelection(), QPoint(3, 4));
    EXPECT_EQ(man.GetSelectedDate(), CTime(2002, 6, 5));
    EXPECT_EQ(back(4, 3), Man::kSelectedBack);
    EXPECT_EQ(back(2, 6), Man::kWhite);

    // The same cell again changes nothing.
    EXPECT_FALSE(click(3, 4));

    // Day numbers and the header keep the selection and its highlight.
    EXPECT_FALSE(click(2, 5));
    EXPECT_EQ(man.GetSelection(), QPoint(3, 4));
    EXPECT_EQ(grid.GetRow(), 4);
    EXPECT_EQ(grid.GetCol(), 3);
    EXPECT_EQ(back(4, 3), Man::kSelectedBack);
    EXPECT_EQ(back(5, 2), Man::kWeekdayNumberBack);
    EXPECT_FALSE(click(0, 0));
    EXPECT_EQ(man.GetSelection(), QPoint(3, 4));

    // A leading cell is a day of the previous month.
    EXPECT_TRUE(click(5, 2));
    EXPECT_EQ(man.GetSelectedDate(), CTime(2002, 5, 31));

    // Showing a month clears the old highlight and selects the 1st.
    man.SetMonth(2002, 9);
    EXPECT_EQ(back(2, 5), Man::kWhite);
    EXPECT_EQ(man.GetSelection(), QPoint(0, 2));
}

TEST_F(MonthGrid, SelectDate)
{
    man.SetMonth(2002, 6);
    EXPECT_FALSE(man.SelectDate(CTime(2002, 7, 3), true)); // shown, but another month
    EXPECT_FALSE(man.SelectDate(CTime(), true));

    EXPECT_TRUE(man.SelectDate(CTime(2002, 6, 12, 15, 30, 0), false));
    EXPECT_EQ(man.GetCurrentCell(), QPoint(3, 6));
    EXPECT_EQ(man.GetSelection(), QPoint(6, 2)); // only remembered
    EXPECT_EQ(man.GetSelectedDate(), CTime(2002, 6, 12));
    EXPECT_TRUE(man.SelectCurrentCell());
    EXPECT_EQ(man.GetSelection(), QPoint(3, 6));
    EXPECT_FALSE(man.SelectCurrentCell());

    EXPECT_TRUE(man.SelectDate(CTime(2002, 6, 30), true));
    EXPECT_EQ(man.GetSelection(), QPoint(0, 12));
    EXPECT_EQ(back(12, 0), Man::kSelectedBack);
    EXPECT_EQ(back(6, 3), Man::kWhite);
}

TEST_F(MonthGrid, DayTexts)
{
    man.SetMonth(2002, 6);
    EXPECT_FALSE(man.SetDateText(CTime(2002, 7, 1), "Trip"));
    EXPECT_FALSE(man.SetDateText(CTime(2002, 5, 31), "Trip"));
    for (int row = 2; row < 13; row += 2)
        for (int c = 0; c < 7; ++c)
            EXPECT_TRUE(grid.GetTextMatrix(row, c).isEmpty());

    EXPECT_TRUE(man.SetDateText(CTime(2002, 6, 5), "Dentist"));
    EXPECT_TRUE(man.SetDateText(CTime(2002, 6, 5), "(R)Gym"));
    EXPECT_EQ(grid.GetTextMatrix(4, 3), "Dentist\r(R)Gym");
    EXPECT_EQ(grid.GetCellAlignment(), CMSFlexGrid::flexAlignLeftTop);
    EXPECT_EQ(man.GetDateText(CTime(2002, 6, 5)), "Dentist\r(R)Gym");
    EXPECT_EQ(man.GetDateText(CTime(2003, 6, 5)), "");
    EXPECT_EQ(man.GetCurrentCellText(), "Dentist\r(R)Gym");

    man.SetCellText(2, 1, "Leading");
    EXPECT_EQ(man.GetDateText(CTime(2002, 5, 27)), "Leading");

    man.ClearTexts();
    EXPECT_EQ(man.GetDateText(CTime(2002, 6, 5)), "");
    EXPECT_EQ(grid.GetTextMatrix(3, 3), "5"); // day numbers stay

    man.SetDateText(CTime(2002, 6, 5), "Dentist");
    man.SetMonth(2002, 7);
    EXPECT_EQ(grid.GetTextMatrix(4, 3), "");
}

TEST_F(MonthGrid, AMonthsTextsGoToItsDaysAtOnce)
{
    man.SetMonth(2002, 6); // starts on a Saturday
    man.SetDateText(CTime(2002, 6, 2), "Old");
    man.SetCellText(2, 1, "Leading");
    QStringList texts(30);
    texts[0] = "First";
    texts[29] = "Last\r(R)Gym";
    man.SetMonthTexts(texts);
    EXPECT_EQ(grid.GetTextMatrix(2, 6), "First");
    EXPECT_EQ(man.GetDateText(CTime(2002, 6, 30)), "Last\r(R)Gym");
    EXPECT_EQ(grid.GetCellAlignment(), CMSFlexGrid::flexAlignLeftTop);
    // Every other day cell is emptied, the neighbouring months' too.
    EXPECT_EQ(man.GetDateText(CTime(2002, 6, 2)), "");
    EXPECT_EQ(grid.GetTextMatrix(2, 1), "");
    // Texts beyond the month's days are ignored.
    man.SetMonthTexts(QStringList(40, QStringLiteral("x")));
    EXPECT_EQ(grid.GetTextMatrix(12, 6), "");
}

TEST_F(MonthGrid, MonthNavigationWrapsTheYear)
{
    man.SetMonth(2002, 1);
    man.ShowPrevMonth();
    EXPECT_EQ(man.GetShownMonth(), CTime(2001, 12, 1));
    EXPECT_EQ(man.GetDateKeys()[6], "20011201"); // 1 December 2001, a Saturday
    man.ShowNextMonth();
    EXPECT_EQ(man.GetShownMonth(), CTime(2002, 1, 1));

    man.SetMonth(2002, 12);
    man.ShowNextMonth();
    EXPECT_EQ(man.GetShownMonth(), CTime(2003, 1, 1));
    EXPECT_EQ(man.GetSelectedDate(), CTime(2003, 1, 1));
    // December's trailing days are January of the next year.
    man.ShowPrevMonth();
    EXPECT_EQ(man.GetDateKeys()[31], "20030101");

    man.SetMonth(2002, 13); // no such month: nothing changes
    EXPECT_EQ(man.GetShownMonth(), CTime(2002, 12, 1));
}

TEST_F(MonthGrid, UserClicksReportSelectionAndPropertiesDoNot)
{
    man.SetLayout(QRect(0, 0, 700, 520), true);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    man.SetMonth(2002, 6);

    QSignalSpy changes(&grid, &CMSFlexGrid::SelChange);
    QSignalSpy clicks(&grid, &CMSFlexGrid::Click);
    QSignalSpy doubles(&grid, &CMSFlexGrid::DblClick);
    QObject::connect(&grid, &CMSFlexGrid::SelChange, [&] { man.OnCellSelected(); });

    grid.SetRow(8);
    grid.SetCol(4);
    EXPECT_EQ(changes.count(), 0);

    const QPoint cell = grid.visualItemRect(grid.item(6, 2)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(man.GetSelectedDate(), CTime(2002, 6, 11));
    EXPECT_EQ(man.GetSelection(), QPoint(2, 6));

    // A click on a day number puts the grid back on the selected day.
    const QPoint number = grid.visualItemRect(grid.item(7, 2)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, number);
    EXPECT_EQ(man.GetSelection(), QPoint(2, 6));
    EXPECT_EQ(grid.currentRow(), 6);

    // A double click: press and release, then the double-click press.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(doubles.count(), 1);

    // Keys move the current cell too.
    QTest::keyClick(grid.viewport(), Qt::Key_Right);
    EXPECT_EQ(man.GetSelection(), QPoint(3, 6));
    EXPECT_EQ(man.GetSelectedDate(), CTime(2002, 6, 12));
}

TEST_F(MonthGrid, RenderedColours)
{
    man.SetLayout(QRect(0, 0, 700, 520), true);
    man.SetMonth(2002, 6);
    grid.resize(700, 520);
    const QImage image = grid.grab().toImage();
    const auto at = [&](int row, int col) {
        const QRect r = grid.visualItemRect(grid.item(row, col));
        return image.pixel(r.left() + 3, r.top() + 3);
    };
    EXPECT_EQ(at(0, 3), platform::toQColor(Man::kHeaderBack).rgb());
    EXPECT_EQ(at(1, 0), platform::toQColor(Man::kSundayNumberBack).rgb());
    EXPECT_EQ(at(1, 6), platform::toQColor(Man::kSaturdayNumberBack).rgb());
    EXPECT_EQ(at(2, 6), platform::toQColor(Man::kSelectedBack).rgb());
    EXPECT_EQ(at(4, 3), platform::toQColor(Man::kWhite).rgb());
}

} // namespace
