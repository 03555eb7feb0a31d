#pragma once

#include "platform/ole_date_time.h"
#include "platform/pim/item.h"
#include "platform/pim/recurrence_pattern.h"

#include <libical/ical.h>

#include <QString>

#include <memory>
#include <vector>

namespace pim {

class ICalDocument;
class SeriesMove;

// An appointment: one VEVENT. Subject is SUMMARY, Body DESCRIPTION, Start DTSTART (local
// time), the reminder the first VALARM's TRIGGER, the recurrence the RRULE. Saving rewrites
// only what changed; other properties, alarms, time zones and overridden occurrences stay.
// A series owns its moved occurrences (RECURRENCE-ID), in its file and in other files of the
// folder: a moved start moves them, its cancelled (EXDATE) and added (RDATE) dates with it, or
// the save is refused; a new rule drops them; deleting the series deletes them. A moved
// occurrence whose series the folder does not hold is an appointment of its own.
class AppointmentItem final : public Item {
public:
    // A new, unsaved appointment starting now (to the minute), whose file goes to folderPath.
    explicit AppointmentItem(const QString& folderPath);
    // One appointment of a file (see Item::LoadAll); null when its event cannot be read.
    static std::unique_ptr<AppointmentItem> FromSpans(const QString& folderPath, const QString& path,
                                                      const ComponentFile& file, const ItemSpans& spans);
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
    bool SerializeNew(const QString& uid, QByteArray& bytes, Error* error) override;
    bool SerializeSpans(const QString& uid, std::vector<QByteArray>& texts, Error* error) override;
    bool OtherFileChanges(bool deleting, std::vector<FileChange>& changes, Error* error) override;
    void Saved() override;
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
    // What a save does to the series' moved occurrences in other files.
    enum class Occurrences { Stay, Move, Drop };

    AppointmentItem(const QString& folderPath, const QString& path, const ComponentFile& file, const ItemSpans& spans,
                    std::unique_ptr<ICalDocument> document);
    AppointmentItem(const AppointmentItem& other);

    // The new DTSTART, and a DTEND moved with it, in the forms the event has. False with the
    // reason when the store's format cannot hold them; nothing is changed then.
    struct StartValues;
    bool planStart(const ICalDocument& document, StartValues& values, Error* error) const;
    // The changes since the last save applied to document (a copy, kept for Saved).
    bool applyChanges(ICalDocument& document, const QString& uid, Error* error);
    void writeStart(ICalDocument& document, const StartValues& values) const;
    void writeReminder(ICalDocument& document) const;
    // keepEnd: the old rule's UNTIL or COUNT stays; keepExceptions: its EXDATEs, RDATEs and moved
    // occurrences stay.
    void writeRecurrence(ICalDocument& document, bool keepEnd, bool keepExceptions) const;
    // Moves the dates of the series' exceptions in document; false with the reason when one of
    // them would name no occurrence of the moved series.
    bool moveExceptions(ICalDocument& document, Error* error) const;
    bool movedOccurrenceFits(icalproperty* recurrenceId, icalcomponent* occurrence, Error* error) const;

    std::unique_ptr<ICalDocument> m_document;
    std::unique_ptr<ICalDocument> m_written; // what the save being made writes
    std::shared_ptr<SeriesMove> m_move;      // planned by the save being made
    Occurrences m_occurrences = Occurrences::Stay;
    State m_now;
    State m_saved;
    bool m_patternCleared = false; // since the last save
    RecurrencePattern m_pattern;
};

} // namespace pim
