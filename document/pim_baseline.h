#pragma once

#include "link/records.h"

#include <QHash>
#include <QString>

// The values of each PIM-side record as the store last had them: as read by an import, or as
// written by an export. An update sends only the values that differ from these, that is the
// ones the user changed here since; everything else stays as the store has it now.
//
// The values live in "pimbase.dat" beside the data file, so that a later run still knows them.
// The file is a cache of what the store held: a missing or damaged one is an empty baseline,
// and records it does not know are written whole, as they always were.
class CPimBaseline {
public:
    static const QString kFileName;

    // The values as read or written for a record's EntryID, or null when none are known.
    const CPhoneEntry* Find(const CPhoneEntry& record) const { return find(m_contacts, record); }
    const CScheduleEntry* Find(const CScheduleEntry& record) const { return find(m_schedules, record); }
    const CMemoEntry* Find(const CMemoEntry& record) const { return find(m_memos, record); }

    // After a read of a whole folder: its records are what the store holds now.
    void Replace(const RecordList<CPhoneEntry>& read);
    void Replace(const RecordList<CScheduleEntry>& read);
    void Replace(const RecordList<CMemoEntry>& read);
    // After a record was written: the store holds its values under its (maybe new) EntryID;
    // previousId is the EntryID it had before, which is forgotten when it differs.
    void Remember(const CPhoneEntry& record, const QString& previousId);
    void Remember(const CScheduleEntry& record, const QString& previousId);
    void Remember(const CMemoEntry& record, const QString& previousId);
    // After an item was deleted from the store.
    void Forget(const CPhoneEntry& record) { m_contacts.remove(record.m_strEntryID); }
    void Forget(const CScheduleEntry& record) { m_schedules.remove(record.m_strEntryID); }
    void Forget(const CMemoEntry& record) { m_memos.remove(record.m_strEntryID); }

    void Clear();
    bool IsEmpty() const { return m_contacts.isEmpty() && m_schedules.isEmpty() && m_memos.isEmpty(); }

    // Reads dir + kFileName; a missing, damaged or foreign file leaves the baseline empty and
    // answers false.
    bool Load(const QString& dir);
    // Writes dir + kFileName atomically for the user only. When that fails, the old file is
    // removed: values older than the data file beside them could hide a change.
    bool Save(const QString& dir) const;

    // The file's bytes, and the reverse (false, leaving the baseline empty, for bytes that are
    // not a whole baseline file).
    QByteArray ToBytes() const;
    bool FromBytes(const QByteArray& bytes);

private:
    template <typename Record>
    using Table = QHash<QString, Record>;

    template <typename Record>
    static const Record* find(const Table<Record>& table, const Record& record)
    {
        const auto it = table.constFind(record.m_strEntryID);
        return it == table.constEnd() ? nullptr : &*it;
    }
    template <typename Record>
    static void replace(Table<Record>& table, const RecordList<Record>& read);
    template <typename Record>
    static void remember(Table<Record>& table, const Record& record, const QString& previousId);

    Table<CPhoneEntry> m_contacts;
    Table<CScheduleEntry> m_schedules;
    Table<CMemoEntry> m_memos;
};
