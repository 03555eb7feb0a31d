#include "platform/pim/recurrence_pattern.h"

#include "platform/pim/appointment_item.h"

namespace pim {

RecurrenceFields RecurrenceFields::Defaults(OlRecurrenceType type, const COleDateTime& start)
{
    RecurrenceFields f;
    f.type = type;
    const bool known = start.GetStatus() == COleDateTime::valid && start.GetDay() > 0;
    const long weekdayBit = known ? 1L << (start.GetDayOfWeek() - 1) : long(olSunday);
    const long day = known ? start.GetDay() : 1;
    const long month = known ? start.GetMonth() : 1;
    const long week = (day - 1) / 7 + 1;
    switch (type) {
    case olRecursWeekly:
        f.dayOfWeekMask = weekdayBit;
        break;
    case olRecursMonthly:
        f.dayOfMonth = day;
        break;
    case olRecursMonthNth:
        f.dayOfWeekMask = weekdayBit;
        f.instance = week;
        break;
    case olRecursYearly:
        f.dayOfMonth = day;
        f.monthOfYear = month;
        break;
    case olRecursYearNth:
        f.dayOfWeekMask = weekdayBit;
        f.instance = week;
        f.monthOfYear = month;
        break;
    case olRecursDaily:
    case olRecursOther:
        break;
    }
    return f;
}

RecurrenceFields& RecurrencePattern::fields()
{
    // Changing a pattern of an appointment that no longer recurs starts from a fresh one.
    if (!m_item.m_now.recurring)
        m_item.GetRecurrencePattern();
    return m_item.m_now.pattern;
}

const RecurrenceFields& RecurrencePattern::fields() const
{
    return m_item.m_now.pattern;
}

OlRecurrenceType RecurrencePattern::RecurrenceType() const
{
    return fields().type;
}

void RecurrencePattern::SetRecurrenceType(OlRecurrenceType type)
{
    switch (type) {
    case olRecursDaily:
    case olRecursWeekly:
    case olRecursMonthly:
    case olRecursMonthNth:
    case olRecursYearly:
    case olRecursYearNth:
        fields() = RecurrenceFields::Defaults(type, m_item.m_now.start);
        break;
    case olRecursOther:
        break;
    }
}

long RecurrencePattern::Interval() const
{
    return fields().interval;
}

void RecurrencePattern::SetInterval(long interval)
{
    if (interval >= 1 && interval <= 999)
        fields().interval = interval;
}

long RecurrencePattern::DayOfWeekMask() const
{
    return fields().dayOfWeekMask;
}

void RecurrencePattern::SetDayOfWeekMask(long mask)
{
    if (mask >= 1 && mask <= 127)
        fields().dayOfWeekMask = mask;
}

long RecurrencePattern::DayOfMonth() const
{
    return fields().dayOfMonth;
}

void RecurrencePattern::SetDayOfMonth(long day)
{
    if (day >= 1 && day <= 31)
        fields().dayOfMonth = day;
}

long RecurrencePattern::MonthOfYear() const
{
    return fields().monthOfYear;
}

void RecurrencePattern::SetMonthOfYear(long month)
{
    if (month >= 1 && month <= 12)
        fields().monthOfYear = month;
}

long RecurrencePattern::Instance() const
{
    return fields().instance;
}

void RecurrencePattern::SetInstance(long instance)
{
    if (instance >= 1 && instance <= 5)
        fields().instance = instance;
}

COleDateTime RecurrencePattern::StartTime() const
{
    const COleDateTime& start = m_item.m_now.start;
    if (start.GetStatus() != COleDateTime::valid)
        return start;
    COleDateTime time;
    time.SetTime(start.GetHour(), start.GetMinute(), start.GetSecond());
    return time;
}

void RecurrencePattern::SetStartTime(const COleDateTime& time)
{
    if (time.GetStatus() != COleDateTime::valid)
        return;
    fields();
    COleDateTime& start = m_item.m_now.start;
    if (start.GetStatus() != COleDateTime::valid) {
        start = time;
        return;
    }
    start.SetDateTime(start.GetYear(), start.GetMonth(), start.GetDay(), time.GetHour(), time.GetMinute(),
                      time.GetSecond());
}

} // namespace pim
