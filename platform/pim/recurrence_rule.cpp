#include "platform/pim/recurrence_rule.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace pim {

namespace {

int countOf(const short* values, int size)
{
    int n = 0;
    while (n < size && values[n] != ICAL_RECURRENCE_ARRAY_MAX)
        ++n;
    return n;
}

RecurrenceFields other()
{
    RecurrenceFields f;
    f.type = olRecursOther;
    return f;
}

// Position 1..4 as is, -1 (last) as 5; anything else has no instance.
long instanceOf(int position)
{
    if (position >= 1 && position <= 4)
        return position;
    return position == -1 ? 5 : 0;
}

short encodeDay(int weekday, int position)
{
    const int code = std::abs(position) * 8 + weekday;
    return short(position < 0 ? -code : code);
}

} // namespace

RecurrenceFields FieldsFromRule(const icalrecurrencetype& rule, const COleDateTime& start)
{
    if (countOf(rule.by_second, ICAL_BY_SECOND_SIZE) || countOf(rule.by_minute, ICAL_BY_MINUTE_SIZE) ||
        countOf(rule.by_hour, ICAL_BY_HOUR_SIZE) || countOf(rule.by_year_day, ICAL_BY_YEARDAY_SIZE) ||
        countOf(rule.by_week_no, ICAL_BY_WEEKNO_SIZE))
        return other();
    const int days = countOf(rule.by_day, ICAL_BY_DAY_SIZE);
    const int monthDays = countOf(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    const int months = countOf(rule.by_month, ICAL_BY_MONTH_SIZE);
    const int setPositions = countOf(rule.by_set_pos, ICAL_BY_SETPOS_SIZE);
    if (monthDays > 1 || months > 1 || setPositions > 1)
        return other();

    long mask = 0;
    int position = 0;
    for (int i = 0; i < days; ++i) {
        const int weekday = int(icalrecurrencetype_day_day_of_week(rule.by_day[i]));
        const int dayPosition = icalrecurrencetype_day_position(rule.by_day[i]);
        if (weekday < 1 || weekday > 7 || (i > 0 && dayPosition != position))
            return other();
        mask |= 1L << (weekday - 1);
        position = dayPosition;
    }
    if (setPositions == 1) {
        if (position != 0 || days == 0)
            return other();
        position = rule.by_set_pos[0];
    }

    RecurrenceFields f;
    f.interval = rule.interval >= 1 ? rule.interval : 1;
    const RecurrenceFields weekly = RecurrenceFields::Defaults(olRecursWeekly, start);
    const RecurrenceFields yearly = RecurrenceFields::Defaults(olRecursYearly, start);
    switch (rule.freq) {
    case ICAL_DAILY_RECURRENCE:
        if (monthDays || months || position)
            return other();
        if (days == 0) {
            f.type = olRecursDaily;
            return f;
        }
        // Every weekday and the like: a weekly pattern, as long as it is every week.
        if (f.interval != 1)
            return other();
        f.type = olRecursWeekly;
        f.dayOfWeekMask = mask;
        return f;
    case ICAL_WEEKLY_RECURRENCE:
        if (monthDays || months || position)
            return other();
        f.type = olRecursWeekly;
        f.dayOfWeekMask = days ? mask : weekly.dayOfWeekMask;
        return f;
    case ICAL_MONTHLY_RECURRENCE:
        if (months)
            return other();
        if (days) {
            if (monthDays || !instanceOf(position))
                return other();
            f.type = olRecursMonthNth;
            f.dayOfWeekMask = mask;
            f.instance = instanceOf(position);
            return f;
        }
        f.type = olRecursMonthly;
        f.dayOfMonth = monthDays ? rule.by_month_day[0] : yearly.dayOfMonth;
        return f.dayOfMonth >= 1 ? f : other();
    case ICAL_YEARLY_RECURRENCE:
        if (months && icalrecurrencetype_month_is_leap(rule.by_month[0]))
            return other();
        f.monthOfYear = months ? icalrecurrencetype_month_month(rule.by_month[0]) : yearly.monthOfYear;
        if (days) {
            if (monthDays || !instanceOf(position))
                return other();
            f.type = olRecursYearNth;
            f.dayOfWeekMask = mask;
            f.instance = instanceOf(position);
            return f;
        }
        f.type = olRecursYearly;
        f.dayOfMonth = monthDays ? rule.by_month_day[0] : yearly.dayOfMonth;
        return f.dayOfMonth >= 1 ? f : other();
    default:
        return other();
    }
}

icalrecurrencetype RuleFromFields(const RecurrenceFields& fields, const COleDateTime& start)
{
    icalrecurrencetype rule;
    icalrecurrencetype_clear(&rule);
    rule.interval = short(std::clamp(fields.interval, 1L, 999L));
    const RecurrenceFields defaults = RecurrenceFields::Defaults(fields.type, start);
    const long mask = fields.dayOfWeekMask ? fields.dayOfWeekMask : defaults.dayOfWeekMask;
    const long dayOfMonth = fields.dayOfMonth ? fields.dayOfMonth : defaults.dayOfMonth;
    const long monthOfYear = fields.monthOfYear ? fields.monthOfYear : defaults.monthOfYear;
    const long instance = fields.instance ? fields.instance : defaults.instance;

    std::vector<int> weekdays; // 1 Sunday .. 7 Saturday
    for (int weekday = 1; weekday <= 7; ++weekday) {
        if (mask & (1L << (weekday - 1)))
            weekdays.push_back(weekday);
    }
    const auto setDays = [&](int position) {
        if (weekdays.size() == 1) {
            rule.by_day[0] = encodeDay(weekdays[0], position);
            return;
        }
        for (size_t i = 0; i < weekdays.size(); ++i)
            rule.by_day[i] = encodeDay(weekdays[i], 0);
        if (position != 0)
            rule.by_set_pos[0] = short(position);
    };
    const int position = instance == 5 ? -1 : int(instance);

    switch (fields.type) {
    case olRecursDaily:
        rule.freq = ICAL_DAILY_RECURRENCE;
        break;
    case olRecursWeekly:
        rule.freq = ICAL_WEEKLY_RECURRENCE;
        setDays(0);
        break;
    case olRecursMonthly:
        rule.freq = ICAL_MONTHLY_RECURRENCE;
        rule.by_month_day[0] = short(dayOfMonth);
        break;
    case olRecursMonthNth:
        rule.freq = ICAL_MONTHLY_RECURRENCE;
        setDays(position);
        break;
    case olRecursYearly:
        rule.freq = ICAL_YEARLY_RECURRENCE;
        rule.by_month[0] = short(monthOfYear);
        rule.by_month_day[0] = short(dayOfMonth);
        break;
    case olRecursYearNth:
        rule.freq = ICAL_YEARLY_RECURRENCE;
        rule.by_month[0] = short(monthOfYear);
        setDays(position);
        break;
    case olRecursOther:
        break;
    }
    return rule;
}

} // namespace pim
