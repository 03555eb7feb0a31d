#include "platform/ole_date_time.h"

#include "platform/clock.h"
#include "platform/date_time_text.h"
#include "platform/strftime.h"

#include <QLocale>

#include <cmath>

namespace {

const QDate kEpoch(1899, 12, 30);
// The range the automation date type accepts: 1 January 100 to 31 December 9999.
constexpr double kMinDate = -657434.0;
constexpr double kMaxDate = 2958466.0;

bool isValidRange(double dt)
{
    return std::isfinite(dt) && dt > kMinDate - 1.0 && dt < kMaxDate;
}

} // namespace

COleDateTime::COleDateTime(double dt) : m_dt(dt), m_status(isValidRange(dt) ? valid : invalid) {}

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second)
{
    SetDateTime(year, month, day, hour, minute, second);
}

COleDateTime COleDateTime::GetCurrentTime()
{
    return FromQDateTime(platform::Clock::instance().currentDateTime());
}

COleDateTime COleDateTime::FromQDateTime(const QDateTime& dateTime)
{
    COleDateTime result;
    if (!dateTime.isValid()) {
        result.m_status = invalid;
        return result;
    }
    const QDate d = dateTime.date();
    const QTime t = dateTime.time();
    result.SetDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
    return result;
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second)
{
    const QDate d(year, month, day);
    const bool ok = year >= 100 && year <= 9999 && d.isValid() && hour >= 0 && hour <= 23 && minute >= 0
                    && minute <= 59 && second >= 0 && second <= 59;
    if (!ok) {
        m_status = invalid;
        return 1;
    }
    m_dt = fromParts(kEpoch.daysTo(d), hour * 3600 + minute * 60 + second);
    m_status = valid;
    return 0;
}

double COleDateTime::fromParts(qint64 dayIndex, int secondsOfDay)
{
    const double fraction = secondsOfDay / 86400.0;
    return dayIndex >= 0 ? double(dayIndex) + fraction : double(dayIndex) - fraction;
}

bool COleDateTime::toParts(Parts& parts) const
{
    if (m_status != valid || !isValidRange(m_dt))
        return false;
    double whole = std::trunc(m_dt);
    qint64 dayIndex = qint64(whole);
    qint64 seconds = std::llround(std::fabs(m_dt - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++dayIndex;
    }
    parts.date = kEpoch.addDays(dayIndex);
    parts.time = QTime(0, 0).addSecs(int(seconds));
    return parts.date.isValid();
}

double COleDateTime::compareKey() const
{
    Parts parts;
    if (!toParts(parts))
        return m_dt;
    return double(kEpoch.daysTo(parts.date)) + parts.time.msecsSinceStartOfDay() / 86400000.0;
}

QDate COleDateTime::date() const
{
    Parts parts;
    return toParts(parts) ? parts.date : QDate();
}

QTime COleDateTime::time() const
{
    Parts parts;
    return toParts(parts) ? parts.time : QTime();
}

QDateTime COleDateTime::ToQDateTime() const
{
    Parts parts;
    return toParts(parts) ? QDateTime(parts.date, parts.time) : QDateTime();
}

int COleDateTime::GetYear() const { const QDate d = date(); return d.isValid() ? d.year() : -1; }
int COleDateTime::GetMonth() const { const QDate d = date(); return d.isValid() ? d.month() : -1; }
int COleDateTime::GetDay() const { const QDate d = date(); return d.isValid() ? d.day() : -1; }
int COleDateTime::GetHour() const { const QTime t = time(); return t.isValid() ? t.hour() : -1; }
int COleDateTime::GetMinute() const { const QTime t = time(); return t.isValid() ? t.minute() : -1; }
int COleDateTime::GetSecond() const { const QTime t = time(); return t.isValid() ? t.second() : -1; }
int COleDateTime::GetDayOfWeek() const { const QDate d = date(); return d.isValid() ? d.dayOfWeek() % 7 + 1 : -1; }
int COleDateTime::GetDayOfYear() const { const QDate d = date(); return d.isValid() ? d.dayOfYear() : -1; }

QString COleDateTime::Format(QStringView format) const
{
    if (m_status == null)
        return {};
    Parts parts;
    if (!toParts(parts))
        return QStringLiteral("Invalid DateTime");
    return platform::FormatDateTime(format, parts.date, parts.time);
}

QString COleDateTime::Format() const
{
    if (m_status == null)
        return {};
    Parts parts;
    if (!toParts(parts))
        return QStringLiteral("Invalid DateTime");
    const QLocale locale;
    const bool dayZero = parts.date == kEpoch;
    const bool midnight = parts.time == QTime(0, 0);
    const QString date = locale.toString(parts.date, platform::LocaleDateFormat(locale));
    const QString time = locale.toString(parts.time, platform::LocaleTimeFormat(locale));
    if (dayZero)
        return time;
    if (midnight)
        return date;
    return date + u' ' + time;
}

bool COleDateTime::ParseDateTime(const QString& text)
{
    // Set from the parts as written: a local QDateTime would move or refuse a time that a
    // daylight-saving change skips.
    const std::optional<platform::WallClockTime> read = platform::ReadDateTimeText(text, QLocale());
    const QDate date = read && read->date.isValid() ? read->date : kEpoch;
    if (!read || SetDateTime(date.year(), date.month(), date.day(), read->time.hour(), read->time.minute(),
                             read->time.second()) != 0) {
        m_status = invalid;
        return false;
    }
    return true;
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const
{
    if (m_status != valid)
        return *this;
    // Work in the forward direction of time, then back to the automation form.
    const double forward = compareKey() + span.m_span;
    qint64 day = qint64(std::floor(forward));
    qint64 seconds = std::llround((forward - double(day)) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    COleDateTime result;
    result.m_dt = fromParts(day, int(seconds));
    result.m_status = isValidRange(result.m_dt) ? valid : invalid;
    return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const
{
    return *this + COleDateTimeSpan(-span.m_span);
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& other) const
{
    return COleDateTimeSpan(compareKey() - other.compareKey());
}

bool COleDateTime::operator==(const COleDateTime& other) const
{
    if (m_status != other.m_status)
        return false;
    if (m_status != valid)
        return true;
    return std::llround(compareKey() * 86400.0) == std::llround(other.compareKey() * 86400.0);
}
