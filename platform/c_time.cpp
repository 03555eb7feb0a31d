#include "platform/c_time.h"

#include "platform/clock.h"
#include "platform/strftime.h"

namespace {
const QDate kOrigin(1970, 1, 1);

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
} // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second)
{
    const QDate d(year, month, day);
    const QTime t(hour, minute, second);
    if (d.isValid() && t.isValid()) {
        m_civilSeconds = kOrigin.daysTo(d) * 86400 + t.msecsSinceStartOfDay() / 1000;
        m_valid = true;
    }
}

CTime::CTime(const QDateTime& dateTime)
    : CTime(dateTime.date().year(), dateTime.date().month(), dateTime.date().day(), dateTime.time().hour(),
            dateTime.time().minute(), dateTime.time().second())
{
}

CTime CTime::GetCurrentTime()
{
    return CTime(platform::Clock::instance().currentDateTime());
}

QDate CTime::date() const
{
    return m_valid ? kOrigin.addDays(floorDiv(m_civilSeconds, 86400)) : QDate();
}

QTime CTime::time() const
{
    if (!m_valid)
        return QTime();
    const qint64 seconds = m_civilSeconds - floorDiv(m_civilSeconds, 86400) * 86400;
    return QTime(0, 0).addSecs(int(seconds));
}

QString CTime::Format(QStringView format) const
{
    return m_valid ? platform::FormatDateTime(format, date(), time()) : QString();
}

CTime CTime::operator+(const CTimeSpan& span) const
{
    CTime result = *this;
    result.m_civilSeconds += span.GetTotalSeconds();
    return result;
}
