#pragma once

#include <QDate>
#include <QStringList>

#include <functional>
#include <vector>

// What a month calendar writes into its day cells, kept apart from the grid so that it can be
// read and tested on its own. Each entry, in order, puts its text on its own day and a repeat
// mark ("(R)" and the text) on each day of the month that it repeats into; several texts of
// one day stand on lines of their own ("\r" between them). Which days an entry repeats into
// is the calendar's rule; the rest is the same for every calendar.
namespace monthtexts {

// The repeat kinds of a schedule entry.
enum Repeat : int { RepeatNone = 0, RepeatDaily = 1, RepeatWeekly = 2, RepeatMonthly = 3, RepeatYearly = 4 };

struct Entry {
    QDate start;
    int repeat = RepeatNone;
    QString text;
};

// The mark in front of a repeated entry's text.
QString RepeatMark();

// Whether an entry that starts on `start` with that repeat kind repeats on `day`.
using RepeatRule = std::function<bool(const QDate& start, int repeat, const QDate& day)>;

// Every later occurrence: daily every later day, weekly every later day of the same weekday,
// monthly the same day number of every later month, yearly the same month and day of every
// later year (a day that a month lacks, such as the 31st or 29 February, has no mark).
bool EveryLaterOccurrence(const QDate& start, int repeat, const QDate& day);

// The next four occurrences only: daily the four days after the start, weekly the four weeks
// after it, monthly the same day number in the four months after it, yearly the same month and
// day in the four years after it. A date that does not exist (the 31st of a shorter month,
// 29 February outside a leap year) is skipped, not moved, and still counts as one of the four.
bool FourLaterOccurrences(const QDate& start, int repeat, const QDate& day);

// The texts of the days 1 to the last of that month: element d - 1 is the text of day d.
QStringList DayTexts(int year, int month, const std::vector<Entry>& entries, const RepeatRule& rule);

// The positions of the entries that start on that day, in order.
std::vector<int> EntriesOn(const std::vector<Entry>& entries, const QDate& day);

// What New, Edit and a double click do with a day, by the number of entries of its own: a day
// without any gets a new entry (whatever repeat marks it shows), a day with one opens it, a
// day with several lets the user pick one.
enum class DayAction { New, Edit, Pick };
DayAction ActionForDay(int ownEntries);

} // namespace monthtexts
