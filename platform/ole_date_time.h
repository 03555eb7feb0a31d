#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// A span of days with the time as the fraction.
class COleDateTimeSpan {
public:
    COleDateTimeSpan() = default;
    explicit COleDateTimeSpan(double days) : m_span(days) {}
    COleDateTimeSpan(long days, int hours, int minutes, int seconds)
        : m_span(double(days) + (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0)
    {
    }

    double GetTotalDays() const { return m_span; }
    double GetTotalMinutes() const { return m_span * 24.0 * 60.0; }
    double GetTotalSeconds() const { return m_span * 86400.0; }

    double m_span = 0.0;
};

// An OLE automation date: days since 30 December 1899 with the time of day as the fraction.
// Days before the epoch are negative while their fraction still counts forward (-1.25 is
// 29 December 1899, 06:00). Values are resolved to whole seconds, rounding to the nearest.
class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default;
    explicit COleDateTime(double dt);
    COleDateTime(int year, int month, int day, int hour, int minute, int second);

    static COleDateTime GetCurrentTime();
    static COleDateTime FromQDateTime(const QDateTime& dateTime);

    // 0 on success; otherwise the status becomes invalid and 1 is returned.
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetDate(int year, int month, int day) { return SetDateTime(year, month, day, 0, 0, 0); }
    int SetTime(int hour, int minute, int second) { return SetDateTime(1899, 12, 30, hour, minute, second); }

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    // Each part, or -1 when the value is not a valid date.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 Sunday .. 7 Saturday
    int GetDayOfYear() const;

    // The date and time parts; invalid QDate/QTime when the value is not a valid date.
    QDate date() const;
    QTime time() const;
    QDateTime ToQDateTime() const;

    // strftime-style formatting ("%d/%m/%Y", "%H:%M"). A null value gives an empty text, an
    // invalid one "Invalid DateTime".
    QString Format(QStringView format) const;
    // The user's locale form (QLocale()): the date alone at midnight, the time alone on day 0,
    // else both.
    QString Format() const;
    // Reads what Format() writes, and dates and times as spreadsheets write them in the user's
    // locale (platform::ReadDateTimeText), wall-clock; a time alone falls on day 0. On failure
    // the value becomes invalid and false is returned.
    bool ParseDateTime(const QString& text);

    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTimeSpan operator-(const COleDateTime& other) const;

    bool operator==(const COleDateTime& other) const;
    bool operator!=(const COleDateTime& other) const { return !(*this == other); }
    bool operator<(const COleDateTime& other) const { return compareKey() < other.compareKey(); }
    bool operator>(const COleDateTime& other) const { return other < *this; }
    bool operator<=(const COleDateTime& other) const { return !(other < *this); }
    bool operator>=(const COleDateTime& other) const { return !(*this < other); }

    double m_dt = 0.0;
    DateTimeStatus m_status = valid;

private:
    struct Parts {
        QDate date;
        QTime time;
    };
    bool toParts(Parts& parts) const;
    static double fromParts(qint64 dayIndex, int secondsOfDay);
    // Comparable value in the forward direction of time (the raw double is not, before 1900).
    double compareKey() const;
};
