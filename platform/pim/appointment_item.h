#pragma once

#include "platform/ole_date_time.h"
#include "platform/pim/item.h"
#include "platform/pim/recurrence_pattern.h"

#include <QString>

#include <memory>

namespace pim {

class ICalDocument;

// An appointment: one VEVENT. Subject is SUMMARY, Body DESCRIPTION, Start DTSTART (local
// time), the reminder the first VALARM's TRIGGER, the recurrence the RRULE. Saving rewrites
// only what changed; other properties, alarms, time zones and overridden occurrences stay.
class AppointmentItem final : public Item {
public:
    // A new, unsaved appointment starting now (to the minute), whose file goes to folderPath.
    explicit AppointmentItem(const QString& folderPath);
    static std::unique_ptr<AppointmentItem> FromFile(const QString& folderPath, const QString& path,
                                                     const QByteArray& bytes);
    ~AppointmentItem() override;

    OlItemType ItemType() const override { return olAppointmentItem; }
    std::unique_ptr<Item> Clone() const override;

    QString Subject() const { return m_now.subject; }
    void SetSubject(const QString& value) { m_now.subject = value; }
    QString Body() const { return m_now.body; }
    void SetBody(const QString& value) { m_now.body = value; }
    // Local time. A start at midnight keeps an all-day event a date.
    COleDateTime Start() const { return m_now.start; }
    void SetStart(const COleDateTime& value) { m_now.start = value; }

    bool ReminderSet() const { return m_now.reminderSet; }
    void SetReminderSet(bool value) { m_now.reminderSet = value; }
    long ReminderMinutesBeforeStart() const { return m_now.reminderMinutes; }
    void SetReminderMinutesBeforeStart(long minutes);

    bool IsRecurring() const { return m_now.recurring; }
    // The appointment's pattern; one that does not recur yet becomes weekly on its start's
    // weekday.
    RecurrencePattern& GetRecurrencePattern();
    void ClearRecurrencePattern()
    {
        m_now.recurring = false;
        m_patternCleared = true;
    }

protected:
    bool Serialize(const QString& uid, QByteArray& bytes, Error* error) override;
    void Saved() override
    {
        m_saved = m_now;
        m_patternCleared = false;
    }
    QString Extension() const override { return QStringLiteral(".ics"); }

private:
    friend class RecurrencePattern;

    struct State {
        QString subject;
        QString body;
        COleDateTime start;
        bool reminderSet = false;
        long reminderMinutes = 15;
        bool recurring = false;
        RecurrenceFields pattern;
    };

    AppointmentItem(const QString& folderPath, const QString& path, const QString& entryId,
                    std::unique_ptr<ICalDocument> document);
    AppointmentItem(const AppointmentItem& other);

    // The new DTSTART, and a DTEND moved with it, in the forms the event has. False with the
    // reason when the store's format cannot hold them; nothing is changed then.
    struct StartValues;
    bool planStart(StartValues& values, Error* error) const;
    void writeStart(const StartValues& values);
    void writeReminder();
    void writeRecurrence();

    std::unique_ptr<ICalDocument> m_document;
    State m_now;
    State m_saved;
    bool m_patternCleared = false; // since the last save
    RecurrencePattern m_pattern;
};

} // namespace pim
