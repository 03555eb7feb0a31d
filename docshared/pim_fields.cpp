#include "docshared/pim_fields.h"

#include "platform/pim/appointment_item.h"
#include "platform/pim/contact_item.h"
#include "platform/pim/note_item.h"

namespace docshared {

namespace {

enum Repeat { RepeatOnce, RepeatDaily, RepeatWeekly, RepeatMonthly, RepeatYearly };

} // namespace

int AlarmFromReminder(bool set, long minutes, const ReminderTable& table)
{
    if (!set)
        return 0;
    for (int alarm = 1; alarm <= 5; ++alarm) {
        if (table.minutes[alarm - 1] == minutes)
            return alarm;
    }
    return table.otherMinutes;
}

void WriteReminder(pim::AppointmentItem& item, int alarm, const ReminderTable& table)
{
    if (alarm < 1 || alarm > 5) {
        item.SetReminderSet(false);
        return;
    }
    item.SetReminderSet(true);
    item.SetReminderMinutesBeforeStart(table.minutes[alarm - 1]);
}

int RepeatFromPattern(pim::AppointmentItem& item)
{
    if (!item.IsRecurring())
        return RepeatOnce;
    pim::RecurrencePattern& pattern = item.GetRecurrencePattern();
    if (pattern.Interval() != 1)
        return RepeatOnce;
    switch (pattern.RecurrenceType()) {
    case pim::olRecursDaily: return RepeatDaily;
    case pim::olRecursWeekly: return RepeatWeekly;
    case pim::olRecursMonthly: return RepeatMonthly;
    case pim::olRecursYearly: return RepeatYearly;
    default: return RepeatOnce;
    }
}

void WriteRecurrence(pim::AppointmentItem& item, int repeat, const COleDateTime& start)
{
    if (repeat < RepeatDaily || repeat > RepeatYearly) {
        item.ClearRecurrencePattern();
        return;
    }
    pim::RecurrencePattern& pattern = item.GetRecurrencePattern();
    pattern.SetStartTime(start);
    switch (repeat) {
    case RepeatDaily:
        pattern.SetRecurrenceType(pim::olRecursDaily);
        pattern.SetInterval(1);
        break;
    case RepeatWeekly:
        pattern.SetRecurrenceType(pim::olRecursWeekly);
        // A start that is no date has no weekday; its save fails later.
        if (const int weekday = start.GetDayOfWeek(); weekday >= 1)
            pattern.SetDayOfWeekMask(1L << (weekday - 1));
        break;
    case RepeatMonthly:
        pattern.SetRecurrenceType(pim::olRecursMonthly);
        pattern.SetDayOfMonth(start.GetDay());
        break;
    case RepeatYearly:
        pattern.SetRecurrenceType(pim::olRecursYearly);
        pattern.SetMonthOfYear(start.GetMonth());
        // The type's default day is the item's old start, which an update has not moved yet.
        pattern.SetDayOfMonth(start.GetDay());
        break;
    default: break;
    }
}

void MoveRecurrence(pim::AppointmentItem& item, int repeat, const COleDateTime& start, const COleDateTime& oldStart)
{
    if (repeat == RepeatOnce || RepeatFromPattern(item) != repeat || start.GetDayOfWeek() < 1
        || oldStart.GetDayOfWeek() < 1)
        return;
    pim::RecurrencePattern& pattern = item.GetRecurrencePattern();
    switch (repeat) {
    case RepeatWeekly:
        if (pattern.DayOfWeekMask() == 1L << (oldStart.GetDayOfWeek() - 1))
            pattern.SetDayOfWeekMask(1L << (start.GetDayOfWeek() - 1));
        break;
    case RepeatMonthly:
        if (pattern.DayOfMonth() == oldStart.GetDay())
            pattern.SetDayOfMonth(start.GetDay());
        break;
    case RepeatYearly:
        if (pattern.DayOfMonth() == oldStart.GetDay() && pattern.MonthOfYear() == oldStart.GetMonth()) {
            pattern.SetMonthOfYear(start.GetMonth());
            pattern.SetDayOfMonth(start.GetDay());
        }
        break;
    default: break;
    }
}

void FillNewAppointment(pim::AppointmentItem& item, const QString& subject, const COleDateTime& start, int alarm,
                        int repeat, const ReminderTable& table)
{
    item.SetSubject(subject);
    item.SetBody(subject);
    item.SetStart(start);
    WriteReminder(item, alarm, table);
    WriteRecurrence(item, repeat, start);
}

void UpdateAppointment(pim::AppointmentItem& item, const PimAppointmentValues& values, const PimAppointmentValues* base,
                       const ReminderTable& table)
{
    if (!base || values.subject != base->subject)
        item.SetSubject(values.subject);
    const bool moved = !base || values.start != base->start;
    if (!base || values.repeat != base->repeat) {
        item.ClearRecurrencePattern();
        WriteRecurrence(item, values.repeat, values.start);
    } else if (base && moved) {
        MoveRecurrence(item, values.repeat, values.start, base->start);
    }
    if (!base || values.alarm != base->alarm)
        WriteReminder(item, values.alarm, table);
    if (moved)
        item.SetStart(values.start);
}

void UpdateNote(pim::NoteItem& item, const PimNoteValues& values, const PimNoteValues* base)
{
    if (!base || values.text != base->text)
        item.SetBody(values.text);
}

void WriteContact(pim::ContactItem& item, const PimContactValues& values, const PimContactValues* base,
                  const ContactProperties& exchanged)
{
    const auto changed = [&](QString PimContactValues::*field) { return !base || values.*field != base->*field; };
    // Typed values: with the values as read, the setter is told which one the user changed.
    const auto setTyped = [&](QString PimContactValues::*field, void (pim::ContactItem::*set)(const QString&),
                              void (pim::ContactItem::*replace)(const QString&, const QString&)) {
        if (!changed(field))
            return;
        if (base)
            (item.*replace)(values.*field, base->*field);
        else
            (item.*set)(values.*field);
    };
    using pim::ContactItem;
    if (changed(&PimContactValues::name))
        item.SetFullName(values.name);
    setTyped(&PimContactValues::mobile, &ContactItem::SetMobileTelephoneNumber, &ContactItem::SetMobileTelephoneNumber);
    setTyped(&PimContactValues::office, &ContactItem::SetBusinessTelephoneNumber,
             &ContactItem::SetBusinessTelephoneNumber);
    setTyped(&PimContactValues::home, &ContactItem::SetHomeTelephoneNumber, &ContactItem::SetHomeTelephoneNumber);
    setTyped(&PimContactValues::email, &ContactItem::SetEmail1Address, &ContactItem::SetEmail1Address);
    if (exchanged.businessFax)
        setTyped(&PimContactValues::fax, &ContactItem::SetBusinessFaxNumber, &ContactItem::SetBusinessFaxNumber);
    if (exchanged.body && changed(&PimContactValues::memo))
        item.SetBody(values.memo);
}

bool IsPhoneContact(const pim::ContactItem& item)
{
    return !item.FullName().isEmpty()
           && !(item.MobileTelephoneNumber().isEmpty() && item.BusinessTelephoneNumber().isEmpty()
                && item.HomeTelephoneNumber().isEmpty());
}

QString WithoutGraveAccents(QString text)
{
    return text.remove(u'`');
}

QString WithCrLf(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

} // namespace docshared
