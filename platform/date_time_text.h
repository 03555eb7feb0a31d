#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>

namespace platform {

// A date and a time of day as a text writes them: wall-clock, no time zone applies, so a time
// that a daylight-saving change skips locally is still that time. A text that names no date
// leaves date invalid; one that names no time has midnight.
struct WallClockTime {
    QDate date;
    QTime time;
};

// Reads a date and time written in the locale's way, as users, spreadsheets and our own export
// write them:
// - numbers: the date in the locale's order of day, month and year with its separator, a date
//   whose first number has four digits as year-month-day (ISO 8601) whatever the locale; a
//   two-digit year in 1930-2029, as spreadsheets take it; the time as hours and minutes, maybe
//   seconds, in 24 hours or with AM/PM (the locale's words or the English ones) before or after;
//   'T' or blanks between date and time;
// - the locale's own short date (four-digit years) and long time, as COleDateTime::Format
//   writes them (month names, words between the numbers).
// A date alone, or a time alone, reads too. Anything else, and dates and times that do not
// exist on the calendar or the clock, give nothing.
std::optional<WallClockTime> ReadDateTimeText(const QString& text, const QLocale& locale);

// The locale's short date with a four-digit year, and its long time without the zone: the
// forms COleDateTime::Format writes and ReadDateTimeText reads.
QString LocaleDateFormat(const QLocale& locale);
QString LocaleTimeFormat(const QLocale& locale);

} // namespace platform
