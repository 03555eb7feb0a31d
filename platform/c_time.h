#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

class CTimeSpan {
public:
    CTimeSpan() = default;
    explicit CTimeSpan(qint64 seconds) : m_seconds(seconds) {}
    CTimeSpan(long days, int hours, int minutes, int seconds)
        : m_seconds(qint64(days) * 86400 + hours * 3600 + minutes * 60 + seconds)
    {
    }

    qint64 GetTotalSeconds() const { return m_seconds; }
    qint64 GetDays() const { return m_seconds / 86400; }

private:
    qint64 m_seconds = 0;
};

// A local calendar date and time to the second. Arithmetic runs on the civil calendar, so
// adding one day always lands on the same time of the next day, also across clock changes.
class CTime {
public:
    CTime() = default;
    CTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    explicit CTime(const QDateTime& dateTime);

    static CTime GetCurrentTime();

    bool IsValid() const { return m_valid; }
    int GetYear() const { return date().year(); }
    int GetMonth() const { return date().month(); }
    int GetDay() const { return date().day(); }
    int GetHour() const { return time().hour(); }
    int GetMinute() const { return time().minute(); }
    int GetSecond() const { return time().second(); }
    int GetDayOfWeek() const { return date().dayOfWeek() % 7 + 1; } // 1 Sunday .. 7 Saturday

    QDate date() const;
    QTime time() const;
    QDateTime ToQDateTime() const { return QDateTime(date(), time()); }

    // strftime-style, as COleDateTime::Format.
    QString Format(QStringView format) const;

    CTime operator+(const CTimeSpan& span) const;
    CTime operator-(const CTimeSpan& span) const { return *this + CTimeSpan(-span.GetTotalSeconds()); }
    CTimeSpan operator-(const CTime& other) const { return CTimeSpan(m_civilSeconds - other.m_civilSeconds); }

    bool operator==(const CTime& other) const = default;
    bool operator<(const CTime& other) const { return m_civilSeconds < other.m_civilSeconds; }
    bool operator>(const CTime& other) const { return other < *this; }
    bool operator<=(const CTime& other) const { return !(other < *this); }
    bool operator>=(const CTime& other) const { return !(*this < other); }

private:
    qint64 m_civilSeconds = 0; // seconds since 1970-01-01 00:00 on the civil calendar
    bool m_valid = false;
};
