#include "controls/month_texts.h"

#include <gtest/gtest.h>

namespace {

using namespace monthtexts;

// Which days of a shown month one entry marks, and its own text.
struct MarkRow {
    QDate start;
    int repeat;
    int year, month;
    std::vector<int> own;    // days with the entry's own text
    std::vector<int> marked; // days with its repeat mark
};

void expectMarks(const std::vector<MarkRow>& rows, const RepeatRule& rule)
{
    for (const auto& row : rows) {
        const QStringList texts = DayTexts(row.year, row.month, {{row.start, row.repeat, "X"}}, rule);
        ASSERT_EQ(texts.size(), QDate(row.year, row.month, 1).daysInMonth());
        for (int day = 1; day <= int(texts.size()); ++day) {
            const bool own = std::find(row.own.begin(), row.own.end(), day) != row.own.end();
            const bool marked = std::find(row.marked.begin(), row.marked.end(), day) != row.marked.end();
            const QString expected = own ? "X" : marked ? "(R)X" : "";
            EXPECT_EQ(texts[day - 1], expected) << row.start.toString(Qt::ISODate).toStdString() << " repeat "
                                                << row.repeat << " in " << row.year << '-' << row.month << " day " << day;
        }
    }
}

TEST(MonthTexts, EveryLaterOccurrence)
{
    const std::vector<MarkRow> rows = {
        {{2004, 3, 17}, RepeatNone, 2004, 3, {17}, {}},
        {{2004, 3, 17}, RepeatNone, 2004, 4, {}, {}},
        // Daily: the rest of the start month, then every day; never before the start.
        {{2004, 3, 29}, RepeatDaily, 2004, 3, {29}, {30, 31}},
        {{2004, 3, 29}, RepeatDaily, 2004, 2, {}, {}},
        {{2004, 12, 30}, RepeatDaily, 2005, 2, {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                                                   21, 22, 23, 24, 25, 26, 27, 28}},
        // Weekly: the same weekday after the start, across the year.
        {{2004, 3, 3}, RepeatWeekly, 2004, 3, {3}, {10, 17, 24, 31}},
        {{2004, 12, 29}, RepeatWeekly, 2005, 1, {}, {5, 12, 19, 26}},
        // Monthly: the same day number in later months; a month without it has no mark.
        {{2004, 1, 31}, RepeatMonthly, 2004, 1, {31}, {}},
        {{2004, 1, 31}, RepeatMonthly, 2004, 2, {}, {}},
        {{2004, 1, 31}, RepeatMonthly, 2004, 3, {}, {31}},
        {{2004, 11, 15}, RepeatMonthly, 2005, 2, {}, {15}},
        {{2004, 11, 15}, RepeatMonthly, 2004, 10, {}, {}},
        // Yearly: the same month and day in later years; 29 February in leap years only.
        {{2004, 2, 29}, RepeatYearly, 2004, 2, {29}, {}},
        {{2004, 2, 29}, RepeatYearly, 2005, 2, {}, {}},
        {{2004, 2, 29}, RepeatYearly, 2008, 2, {}, {29}},
        {{2004, 5, 1}, RepeatYearly, 2005, 4, {}, {}},
        {{2004, 5, 1}, RepeatYearly, 2010, 5, {}, {1}},
        // A start without a date and a repeat kind out of range show nothing more.
        {{}, RepeatDaily, 2004, 3, {}, {}},
        {{2004, 3, 1}, 9, 2004, 3, {1}, {}},
    };
    expectMarks(rows, EveryLaterOccurrence);
}

// The second family's calendar marks only the next four occurrences; a date that does not exist
// is skipped and still counts as one of the four.
TEST(MonthTexts, FourLaterOccurrences)
{
    const std::vector<MarkRow> rows = {
        // Daily on the 30th of a 31-day month: the 31st, then the 1st to the 3rd.
        {{2004, 3, 30}, RepeatDaily, 2004, 3, {30}, {31}},
        {{2004, 3, 30}, RepeatDaily, 2004, 4, {}, {1, 2, 3}},
        {{2004, 3, 30}, RepeatDaily, 2004, 5, {}, {}},
        {{2004, 12, 31}, RepeatDaily, 2005, 1, {}, {1, 2, 3, 4}},
        // Weekly: four weeks, across the year's end.
        {{2004, 12, 1}, RepeatWeekly, 2004, 12, {1}, {8, 15, 22, 29}},
        {{2004, 12, 8}, RepeatWeekly, 2005, 1, {}, {5}},
        // 31 January monthly: February and April have no 31st; March and May do; June is the
        // fifth month.
        {{2004, 1, 31}, RepeatMonthly, 2004, 2, {}, {}},
        {{2004, 1, 31}, RepeatMonthly, 2004, 3, {}, {31}},
        {{2004, 1, 31}, RepeatMonthly, 2004, 4, {}, {}},
        {{2004, 1, 31}, RepeatMonthly, 2004, 5, {}, {31}},
        {{2004, 1, 31}, RepeatMonthly, 2004, 7, {}, {}},
        {{2004, 11, 15}, RepeatMonthly, 2005, 3, {}, {15}},
        {{2004, 11, 15}, RepeatMonthly, 2005, 4, {}, {}},
        // 29 February yearly: only the leap year among the next four.
        {{2004, 2, 29}, RepeatYearly, 2005, 2, {}, {}},
        {{2004, 2, 29}, RepeatYearly, 2008, 2, {}, {29}},
        {{2004, 2, 29}, RepeatYearly, 2012, 2, {}, {}},
        {{2004, 5, 1}, RepeatYearly, 2005, 5, {}, {1}},
        {{2004, 5, 1}, RepeatYearly, 2009, 5, {}, {}},
        {{}, RepeatDaily, 2004, 3, {}, {}},
    };
    expectMarks(rows, FourLaterOccurrences);
}

TEST(MonthTexts, EntriesStandInTheirOrderOnLinesOfTheirOwn)
{
    const std::vector<Entry> entries = {
        {{2004, 3, 1}, RepeatDaily, "Walk"},
        {{2004, 3, 2}, RepeatNone, "Dentist"},
        {{2004, 3, 2}, RepeatWeekly, "Choir"},
    };
    const QStringList texts = DayTexts(2004, 3, entries, EveryLaterOccurrence);
    EXPECT_EQ(texts[0], "Walk");
    EXPECT_EQ(texts[1], "(R)Walk\rDentist\rChoir");
    EXPECT_EQ(texts[8], "(R)Walk\r(R)Choir");
    // Without a rule only the entries' own days carry text.
    EXPECT_EQ(DayTexts(2004, 3, entries, {})[8], "");
    EXPECT_TRUE(DayTexts(2004, 13, entries, EveryLaterOccurrence).isEmpty());
}

TEST(MonthTexts, TheDaysEntriesDecideNewEditOrPick)
{
    const std::vector<Entry> entries = {
        {{2004, 3, 1}, RepeatDaily, "Walk"},
        {{2004, 3, 2}, RepeatNone, "Dentist"},
        {{2004, 3, 3}, RepeatNone, "Lunch"},
        {{2004, 3, 3}, RepeatNone, "Dinner"},
    };
    const struct {
        QDate day;
        std::vector<int> on;
        DayAction action;
    } rows[] = {
        {{2004, 3, 4}, {}, DayAction::New},      // repeat marks only
        {{2004, 3, 2}, {1}, DayAction::Edit},    // behind a repeat mark
        {{2004, 3, 3}, {2, 3}, DayAction::Pick},
        {{}, {}, DayAction::New},
    };
    for (const auto& row : rows) {
        const std::vector<int> on = EntriesOn(entries, row.day);
        EXPECT_EQ(on, row.on) << row.day.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(ActionForDay(int(on.size())), row.action);
    }
}

} // namespace
