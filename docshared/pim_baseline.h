#pragma once

#include "platform/ole_date_time.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <type_traits>

namespace docshared {

// What a record showed of a PIM item, in the terms both programs' records share. Each program
// fills what it exchanges (a memo or a fax with a contact) and leaves the rest empty; alarm and
// repeat are the program's own codes.
struct PimContactValues {
    QString name, mobile, office, home, email, memo, fax;
};

struct PimAppointmentValues {
    QString subject;
    COleDateTime start;
    int repeat = 0;
    int alarm = 0;
};

struct PimNoteValues {
    QString text;
};

// The values of each PIM-side record as the store last had them, by EntryID: as read by an
// import, or as written by an export. An update sends only the values that differ from these,
// that is the ones the user changed here since; everything else stays as the store has it now.
//
// The values live in a file of the program's own beside its data file, so that a later run still
// knows them. The file is a cache of what the store held: a missing or damaged one is an empty
// baseline, and records it does not know are written whole, as they always were.
class CPimBaseline {
public:
    // fileName: the file's name in the data folder; each program keeps its own, as their codes
    // for alarms differ and both may share one folder.
    explicit CPimBaseline(QString fileName) : m_strFileName(std::move(fileName)) {}

    QString FileName() const { return m_strFileName; }

    // The values as read or written for an EntryID, or null when none are known.
    template <typename Values>
    const Values* Find(const QString& entryId) const
    {
        const auto& values = table<Values>(*this);
        const auto it = values.constFind(entryId);
        return it == values.constEnd() ? nullptr : &*it;
    }
    // After a read of a whole folder: its items are what the store holds now.
    template <typename Values>
    void Replace(QHash<QString, Values> read)
    {
        table<Values>(*this) = std::move(read);
    }
    // After a record was written: the store holds its values under its (maybe new) EntryID;
    // previousId is the EntryID it had before, which is forgotten when it differs.
    template <typename Values>
    void Remember(const QString& entryId, const Values& values, const QString& previousId)
    {
        auto& known = table<Values>(*this);
        if (previousId != entryId)
            known.remove(previousId);
        if (!entryId.isEmpty())
            known.insert(entryId, values);
    }
    // After an item was deleted from the store.
    template <typename Values>
    void Forget(const QString& entryId)
    {
        table<Values>(*this).remove(entryId);
    }

    void Clear();
    bool IsEmpty() const { return m_contacts.isEmpty() && m_appointments.isEmpty() && m_notes.isEmpty(); }

    // Reads dir + FileName(); a missing, damaged or foreign file leaves the baseline empty and
    // answers false.
    bool Load(const QString& dir);
    // Writes dir + FileName() atomically for the user only, after removing what saves that were
    // killed left in dir. When that fails, the old file stays and error says why: older values
    // only make an update send more than was edited, while no values at all make it send
    // everything.
    bool Save(const QString& dir, QString* error = nullptr) const;

    // The file's bytes, and the reverse (false, leaving the baseline empty, for bytes that are
    // not a whole baseline file).
    QByteArray ToBytes() const;
    bool FromBytes(const QByteArray& bytes);

private:
    template <typename Values, typename Self>
    static auto& table(Self& self)
    {
        if constexpr (std::is_same_v<Values, PimContactValues>)
            return self.m_contacts;
        else if constexpr (std::is_same_v<Values, PimAppointmentValues>)
            return self.m_appointments;
        else {
            static_assert(std::is_same_v<Values, PimNoteValues>);
            return self.m_notes;
        }
    }

    QString m_strFileName;
    QHash<QString, PimContactValues> m_contacts;
    QHash<QString, PimAppointmentValues> m_appointments;
    QHash<QString, PimNoteValues> m_notes;
};

// A PIM command of a tool, which runs without the data file: the values as read come from the
// data folder and go back there after a read that succeeded, and after every write (the items
// written before a failure are what the store holds now). *unsaved names the baseline file and
// its reason when it could not be written, and is empty otherwise.
template <typename Exchange>
bool ExchangeWithBaselineFile(CPimBaseline& baseline, const QString& dir, bool write, Exchange exchange,
                              QString* unsaved)
{
    unsaved->clear();
    baseline.Load(dir);
    const bool ok = exchange();
    QString why;
    if ((ok || write) && !baseline.Save(dir, &why))
        *unsaved = QStringLiteral("cannot write %1: %2").arg(dir + baseline.FileName(), why);
    return ok;
}

} // namespace docshared
