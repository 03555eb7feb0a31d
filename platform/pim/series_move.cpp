#include "platform/pim/series_move.h"

#include <QDate>
#include <QDateTime>

namespace pim {

namespace {

constexpr int kMostOccurrences = 200000;

icaltimetype wallClock(icaltimetype t)
{
    t.zone = nullptr;
    return t;
}

// The property's date, with the zone of its TZID.
icaltimetype timeOf(icalproperty* property, icalcomponent* component)
{
    icaltimetype t = icaltime_null_time();
    switch (icalproperty_isa(property)) {
    case ICAL_EXDATE_PROPERTY:
        t = icalproperty_get_exdate(property);
        break;
    case ICAL_RECURRENCEID_PROPERTY:
        t = icalproperty_get_recurrenceid(property);
        break;
    case ICAL_RDATE_PROPERTY: {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(property);
        t = icaltime_is_null_time(value.time) ? value.period.start : value.time;
        break;
    }
    default:
        break;
    }
    if (icaltime_is_null_time(t) || t.is_date || icaltime_is_utc(t))
        return t;
    if (icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER)) {
        icalcomponent* root = component;
        while (icalcomponent_get_parent(root))
            root = icalcomponent_get_parent(root);
        const char* name = icalparameter_get_tzid(tzid);
        icaltimezone* zone = icalcomponent_get_timezone(root, name);
        if (!zone)
            zone = icaltimezone_get_builtin_timezone(name);
        t.zone = zone;
    }
    return t;
}

// Sets the date of an EXDATE, RDATE or RECURRENCE-ID; VALUE=DATE goes with a date.
void setTimeOf(icalproperty* property, const icaltimetype& t)
{
    switch (icalproperty_isa(property)) {
    case ICAL_EXDATE_PROPERTY:
        icalproperty_set_exdate(property, t);
        break;
    case ICAL_RECURRENCEID_PROPERTY:
        icalproperty_set_recurrenceid(property, t);
        break;
    case ICAL_RDATE_PROPERTY: {
        icaldatetimeperiodtype value = icalproperty_get_rdate(property);
        if (icaltime_is_null_time(value.time)) {
            // A period keeps its length.
            const icaldurationtype length = icaltime_is_null_time(value.period.end)
                                                ? value.period.duration
                                                : icaltime_subtract(value.period.end, value.period.start);
            value.period.start = t;
            value.period.end = icaltime_null_time();
            value.period.duration = length;
        } else {
            value.time = t;
        }
        icalproperty_set_rdate(property, value);
        break;
    }
    default:
        return;
    }
    icalproperty_remove_parameter_by_kind(property, ICAL_VALUE_PARAMETER);
    if (t.is_date)
        icalproperty_add_parameter(property, icalparameter_new_value(ICAL_VALUE_DATE));
}

// A wall-clock time of the local zone as an instant.
icaltimetype localToUtc(const icaltimetype& wall)
{
    const QDateTime local(QDate(wall.year, wall.month, wall.day), QTime(wall.hour, wall.minute, wall.second));
    return icaltime_from_timet_with_zone(time_t(local.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone());
}

} // namespace

SeriesMove::SeriesMove(const icaltimetype& oldStart, const TimeForm& oldForm, const icaltimetype& newStart,
                       const TimeForm& newForm)
    : m_oldForm(oldForm), m_newForm(newForm), m_newStart(wallClock(newStart))
{
    const icaltimetype from = toFrame(oldStart, m_oldForm);
    const QDate oldDate(from.year, from.month, from.day);
    const QDate newDate(m_newStart.year, m_newStart.month, m_newStart.day);
    m_days = int(oldDate.daysTo(newDate));
    const auto seconds = [](const icaltimetype& t) { return t.is_date ? 0 : t.hour * 3600 + t.minute * 60 + t.second; };
    m_seconds = seconds(m_newStart) - seconds(from);
}

icaltimetype SeriesMove::toFrame(icaltimetype value, const TimeForm& frame) const
{
    if (frame.isDate) {
        value.is_date = 1;
        value.hour = value.minute = value.second = 0;
        return wallClock(value);
    }
    if (value.is_date) {
        value.is_date = 0;
        return wallClock(value);
    }
    if (icaltime_is_utc(value) || value.zone) {
        if (frame.utc)
            return wallClock(icaltime_convert_to_zone(value, icaltimezone_get_utc_timezone()));
        if (frame.zone)
            return wallClock(icaltime_convert_to_zone(value, const_cast<icaltimezone*>(frame.zone)));
        const COleDateTime local = ToLocalTime(value);
        icaltimetype wall = icaltime_null_time();
        wall.year = local.GetYear();
        wall.month = local.GetMonth();
        wall.day = local.GetDay();
        wall.hour = local.GetHour();
        wall.minute = local.GetMinute();
        wall.second = local.GetSecond();
        return wall;
    }
    return wallClock(value);
}

icaltimetype SeriesMove::moved(const icaltimetype& value) const
{
    icaltimetype wall = toFrame(value, m_oldForm);
    if (m_newForm.isDate) {
        icaltime_adjust(&wall, m_days, 0, 0, 0);
        return wall;
    }
    wall.is_date = 0;
    icaltime_adjust(&wall, m_days, 0, 0, m_seconds);
    if (m_oldForm.isDate || value.is_date || !(icaltime_is_utc(value) || value.zone))
        return wall; // floating, or a date of a series that now has a time
    // Back to the value's own zone, through the instant the wall-clock time is in the series'.
    icaltimetype instant = wall;
    if (m_newForm.utc)
        instant.zone = icaltimezone_get_utc_timezone();
    else if (m_newForm.zone)
        instant.zone = m_newForm.zone;
    else
        instant = localToUtc(wall);
    const bool utc = icaltime_is_utc(value);
    icaltimetype out = icaltime_convert_to_zone(instant, utc ? icaltimezone_get_utc_timezone()
                                                             : const_cast<icaltimezone*>(value.zone));
    if (!utc)
        out.zone = nullptr; // wall-clock time of its zone; the property keeps its TZID
    return out;
}

void SeriesMove::Move(icalproperty* property, icalcomponent* component) const
{
    const icaltimetype t = timeOf(property, component);
    if (!icaltime_is_null_time(t))
        setTimeOf(property, moved(t));
}

void SeriesMove::SetSeries(icalcomponent* series)
{
    icalproperty* rule = icalcomponent_get_first_property(series, ICAL_RRULE_PROPERTY);
    m_hasRule = rule != nullptr;
    if (rule) {
        m_rule = icalproperty_get_rrule(rule);
        // Whether a date is on the rule's grid; where the series ends is not the question.
        m_rule.until = icaltime_null_time();
        m_rule.count = 0;
    }
    m_dates.clear();
    for (icalproperty* p = icalcomponent_get_first_property(series, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(series, ICAL_RDATE_PROPERTY))
        m_dates.push_back(toFrame(timeOf(p, series), m_newForm));
}

bool SeriesMove::Names(icalproperty* property, icalcomponent* component) const
{
    const icaltimetype t = timeOf(property, component);
    if (icaltime_is_null_time(t))
        return true;
    const icaltimetype wall = toFrame(t, m_newForm);
    const auto same = [this](const icaltimetype& a, const icaltimetype& b) {
        return m_newForm.isDate ? icaltime_compare_date_only(a, b) == 0 : icaltime_compare(a, b) == 0;
    };
    icaltimetype start = m_newStart;
    if (m_newForm.isDate)
        start.is_date = 1;
    if (same(wall, start))
        return true;
    for (const icaltimetype& date : m_dates) {
        if (same(wall, date))
            return true;
    }
    if (!m_hasRule)
        return false;
    icalrecur_iterator* it = icalrecur_iterator_new(m_rule, start);
    if (!it)
        return false;
    bool found = false;
    int n = 0;
    for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next) && n < kMostOccurrences;
         next = icalrecur_iterator_next(it), ++n) {
        const int order = m_newForm.isDate ? icaltime_compare_date_only(next, wall) : icaltime_compare(next, wall);
        if (order >= 0) {
            found = order == 0;
            break;
        }
    }
    icalrecur_iterator_free(it);
    return found;
}

QString SeriesMove::Describe(icalproperty* property, icalcomponent* component) const
{
    const icaltimetype wall = toFrame(timeOf(property, component), m_newForm);
    const QDate date(wall.year, wall.month, wall.day);
    if (wall.is_date)
        return date.toString(Qt::ISODate);
    return date.toString(Qt::ISODate) + QStringLiteral(" %1:%2")
                                            .arg(wall.hour, 2, 10, QChar(u'0'))
                                            .arg(wall.minute, 2, 10, QChar(u'0'));
}

} // namespace pim
