#pragma once

#include "docshared/pim_baseline.h"
#include "platform/ole_date_time.h"

#include <QString>

namespace pim {
class AppointmentItem;
class ContactItem;
class NoteItem;
} // namespace pim

// How the values of both programs' records meet the properties of PIM items. Repeat codes are
// 0 once, 1 daily, 2 weekly, 3 monthly, 4 yearly in both programs; alarm codes 0 none, 1 on time,
// and 2 to 5 by each program's table of minutes.
namespace docshared {

// Reminder minutes of the alarm codes 1 to 5, and the code a reminder set at any other number of
// minutes reads back as.
struct ReminderTable {
    long minutes[5];
    int otherMinutes;
};

int AlarmFromReminder(bool set, long minutes, const ReminderTable& table);
// Codes outside 1-5 clear the reminder.
void WriteReminder(pim::AppointmentItem& item, int alarm, const ReminderTable& table);

// The repeat code of the item's rule: one the record cannot show (every second week, the 2nd
// Sunday, ...) reads as once.
int RepeatFromPattern(pim::AppointmentItem& item);
// The item's rule for a repeat code, on the start's weekday, day or date; codes outside 1-4 clear
// the rule.
void WriteRecurrence(pim::AppointmentItem& item, int repeat, const COleDateTime& start);
// A rule on the start's own weekday, day or date moves with a moved start, as long as the store
// still repeats the way the record shows; any other rule stays as the store has it.
void MoveRecurrence(pim::AppointmentItem& item, int repeat, const COleDateTime& start, const COleDateTime& oldStart);

// A new appointment: the subject also as its body, the start, the reminder and the rule.
void FillNewAppointment(pim::AppointmentItem& item, const QString& subject, const COleDateTime& start, int alarm,
                        int repeat, const ReminderTable& table);
// A changed appointment: sets what differs from the values as read (base; every value when it is
// null). The rule is written only for a changed repeat, so that one the record cannot show
// survives; "once" then removes it. A rule on the old start's own day moves with a moved start.
// The reminder is written only for a changed alarm, so that one the table cannot show survives.
void UpdateAppointment(pim::AppointmentItem& item, const PimAppointmentValues& values, const PimAppointmentValues* base,
                       const ReminderTable& table);

// A changed note: its text unless it is the one as read (base).
void UpdateNote(pim::NoteItem& item, const PimNoteValues& values, const PimNoteValues* base);

// The contact properties a program exchanges besides the name, the three numbers and the e-mail.
struct ContactProperties {
    bool body;
    bool businessFax;
};

// Sets a contact's properties from the values: every exchanged one for a new contact (base null),
// else those that differ from the values as read. A changed number or address replaces the one
// of its kind that was read, wherever another program has moved it since; one that was not read
// is added beside the others.
void WriteContact(pim::ContactItem& item, const PimContactValues& values, const PimContactValues* base,
                  const ContactProperties& exchanged);

// Only contacts with a name and at least one of the mobile, business and home numbers are read.
bool IsPhoneContact(const pim::ContactItem& item);

QString WithoutGraveAccents(QString text);
// The store's texts end their lines with LF; the records' lines end in CR LF, and a list row
// shows the text up to its first CR.
QString WithCrLf(QString text);

} // namespace docshared
