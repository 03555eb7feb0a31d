#pragma once

#include "platform/ole_date_time.h"
#include "platform/pim/pim_types.h"

namespace pim {

class AppointmentItem;

// The values of a recurrence pattern. Fields a type does not use are 0.
struct RecurrenceFields {
    OlRecurrenceType type = olRecursWeekly;
    long interval = 1;
    long dayOfWeekMask = 0; // OlDaysOfWeek bits: weekly, and the nth types
    long dayOfMonth = 0;    // monthly and yearly
    long monthOfYear = 0;   // the yearly types
    long instance = 0;      // the nth types: 1..4, 5 for the last

    // What setting the type gives for an appointment starting at start: every interval 1,
    // on the start's weekday, day, month and week of the month as the type needs.
    static RecurrenceFields Defaults(OlRecurrenceType type, const COleDateTime& start);

    bool operator==(const RecurrenceFields&) const = default;
};

// The recurrence of one appointment, a view on the item that owns it (its lifetime is the
// item's). Any setter makes the appointment recurring. Values out of range are ignored.
class RecurrencePattern {
public:
    RecurrencePattern(const RecurrencePattern&) = delete;
    RecurrencePattern& operator=(const RecurrencePattern&) = delete;

    OlRecurrenceType RecurrenceType() const;
    // Resets the other values to the defaults for the appointment's start.
    void SetRecurrenceType(OlRecurrenceType type);
    long Interval() const;
    void SetInterval(long interval);
    long DayOfWeekMask() const;
    void SetDayOfWeekMask(long mask);
    long DayOfMonth() const;
    void SetDayOfMonth(long day);
    long MonthOfYear() const;
    void SetMonthOfYear(long month);
    long Instance() const;
    void SetInstance(long instance);
    // The time of day of the occurrences (on day 0); setting it moves the appointment's start
    // to that time of day.
    COleDateTime StartTime() const;
    void SetStartTime(const COleDateTime& time);

private:
    friend class AppointmentItem;
    explicit RecurrencePattern(AppointmentItem& item) : m_item(item) {}
    RecurrenceFields& fields();
    const RecurrenceFields& fields() const;

    AppointmentItem& m_item;
};

} // namespace pim
