#pragma once

#include "docshared/pim_baseline.h"
#include "docshared/pim_fields.h"
#include "platform/pim/application.h"
#include "platform/pim/items.h"
#include "platform/pim/mapi_folder.h"
#include "platform/pim/name_space.h"
#include "platform/pim/pim_types.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <type_traits>
#include <vector>

namespace docshared {

// The default folder of the items whose values these are.
template <typename Values>
constexpr pim::OlDefaultFolders FolderOf()
{
    if constexpr (std::is_same_v<Values, PimContactValues>)
        return pim::olFolderContacts;
    else if constexpr (std::is_same_v<Values, PimAppointmentValues>)
        return pim::olFolderCalendar;
    else {
        static_assert(std::is_same_v<Values, PimNoteValues>);
        return pim::olFolderNotes;
    }
}

// The part of an exchange with the PIM store that both programs share: logging on and off,
// reading a default folder item by item, writing records back by their EntryID and state through
// their values (docshared/pim_fields.h), finding items in the folder of their own kind, and
// failures with the store's reason. Which record fields make which values, the reminder steps and
// contact properties, what the progress window shows and whether the user can stop the exchange
// are each program's own (the derived class's).
//
// With a baseline (the values each record had when it was last read or written), a read of a
// folder replaces its values of that kind, every write keeps them up to date, and an update sets
// only what the user changed since; without one, or for a record it does not know, an update
// writes every field.
//
// Every failure is a false result whose reason LastError() gives (empty when the user stopped it
// or the log-on was refused without one).
class CPimExchange {
public:
    // The string-table texts of the steps.
    struct Texts {
        int logon;
        int logoff;
        int loading; // at the start of a read
        int saving;  // at the start of a write
        int creating;
        int changing;
        int deleting;
    };

    virtual ~CPimExchange();
    CPimExchange(const CPimExchange&) = delete;
    CPimExchange& operator=(const CPimExchange&) = delete;

    QString LastError() const { return m_strLastError; }

    // The baseline stays the caller's and must outlive the exchange.
    void UseBaseline(CPimBaseline& baseline) { m_pBaseline = &baseline; }

    bool Logon();
    bool Logoff();
    bool IsLoggedOn() const { return m_bLoggedOn; }

    // The progress window of the exchange: opened by the log-on, closed by the log-off. A status
    // line shows only while it is open.
    virtual void OpenProgress() = 0;
    virtual void CloseProgress() = 0;
    virtual void Log(const QString& text) = 0;
    void ShowStatus(int stringId);

protected:
    CPimExchange(const Texts& texts, const ReminderTable& reminders, const ContactProperties& contactProperties)
        : m_texts(texts), m_reminders(reminders), m_contactProperties(contactProperties)
    {
    }

    // Asked before every item read and every record written: true ends the exchange with a
    // failure (logged off). The exchange runs to its end by default.
    virtual bool Cancelled() { return false; }
    // The folder of a read is open with that many items.
    virtual void FolderOpened(int count) { (void)count; }
    // A write of that many records starts.
    virtual void WriteStarting(int count) { (void)count; }

    // Reads every item of a default folder: convert makes the record of an item (and gets its
    // number from 1), or nothing to leave the item out; valuesOf gives a record's values for the
    // baseline.
    template <typename ItemType, typename Record, typename Convert, typename ValuesOf>
    bool ReadFolder(pim::OlDefaultFolders folder, std::vector<std::unique_ptr<Record>>& list, Convert convert,
                    ValuesOf valuesOf);

    // Writes a list back in order, dead records included: a record without EntryID is added
    // unless it is marked deleted, one with an EntryID is deleted when marked so, updated when
    // changed (and then unchanged), else left alone. valuesOf gives a record's values, whose type
    // says the kind of item. A record whose values the store cannot hold is refused and the write
    // goes on with the next; any other failure ends the write. Either way the records before it
    // keep what they got, and the write fails with every reason.
    template <typename Record, typename ValuesOf>
    bool WriteRecords(std::vector<std::unique_ptr<Record>>& list, ValuesOf valuesOf);

    // Notes the reason of a failure; always false.
    bool Fail(const QString& reason);

    const Texts m_texts;

private:
    // A new item of the values' kind, saved; entryId takes its EntryID.
    bool AddItem(const PimContactValues& values, QString& entryId);
    bool AddItem(const PimAppointmentValues& values, QString& entryId);
    bool AddItem(const PimNoteValues& values, QString& entryId);
    // The item with the EntryID takes what the user changed since it was read and keeps the rest
    // as the store has it now. An item that another program removed is made anew from the values,
    // so that it does not block every later export of its list.
    bool UpdateItem(const PimContactValues& values, QString& entryId);
    bool UpdateItem(const PimAppointmentValues& values, QString& entryId);
    bool UpdateItem(const PimNoteValues& values, QString& entryId);
    template <typename ItemType, typename Fill>
    bool AddItemOfKind(pim::OlItemType type, QString& entryId, Fill fill);
    template <typename ItemType, typename Values, typename Write>
    bool UpdateItemOfKind(const Values& values, QString& entryId, Write write);
    // Deletes the item with the EntryID; one that is already gone counts as deleted.
    bool DeleteItem(pim::OlDefaultFolders folder, const QString& entryId);
    // Saves the item and takes its EntryID. Values the store cannot hold refuse the record alone.
    bool SaveItem(pim::Item& item, QString& entryId);
    // Fails an update or delete of a record that has no EntryID.
    bool FailWithoutEntryId();

    std::unique_ptr<pim::Item> CreateAnyItem(pim::OlItemType type);
    std::unique_ptr<pim::Item> FindAnyItem(pim::OlDefaultFolders folder, const QString& entryId, pim::Error* error);
    // The items of a default folder; null (logged off, the reason noted) when it cannot be read.
    std::unique_ptr<pim::Items> OpenFolder(pim::OlDefaultFolders folder);
    bool Stop();
    // Notes a record the store refused for its values; always false.
    bool Refuse(const QString& reason);
    // The end of a write that went through: false with every refusal as the reason, if any.
    bool WriteEnded(const QStringList& refusals);

    QString m_strLastError;
    // The last failure was a refusal of one record's values.
    bool m_bRefused = false;
    bool m_bLoggedOn = false;
    CPimBaseline* m_pBaseline = nullptr;
    const ReminderTable m_reminders;
    const ContactProperties m_contactProperties;
    std::unique_ptr<pim::Application> m_application;
    std::unique_ptr<pim::NameSpace> m_namespace;
};

template <typename ItemType, typename Record, typename Convert, typename ValuesOf>
bool CPimExchange::ReadFolder(pim::OlDefaultFolders folder, std::vector<std::unique_ptr<Record>>& list, Convert convert,
                              ValuesOf valuesOf)
{
    ShowStatus(m_texts.loading);
    if (!Logon())
        return false;
    const std::unique_ptr<pim::Items> items = OpenFolder(folder);
    if (!items)
        return false;
    FolderOpened(int(items->Count()));
    const size_t first = list.size();
    for (long i = 1; i <= items->Count(); ++i) {
        if (Cancelled())
            return Stop();
        pim::Error error;
        auto item = pim::ItemCast<ItemType>(items->Item(i, &error));
        if (!item) {
            Logoff();
            return Fail(error.description);
        }
        if (std::unique_ptr<Record> record = convert(*item, int(i)))
            list.push_back(std::move(record));
    }
    Logoff();
    if (m_pBaseline) {
        QHash<QString, std::invoke_result_t<ValuesOf, const Record&>> read;
        for (size_t i = first; i < list.size(); ++i) {
            if (!list[i]->m_strEntryID.isEmpty())
                read.insert(list[i]->m_strEntryID, valuesOf(std::as_const(*list[i])));
        }
        m_pBaseline->Replace(std::move(read));
    }
    return true;
}

template <typename Record, typename ValuesOf>
bool CPimExchange::WriteRecords(std::vector<std::unique_ptr<Record>>& list, ValuesOf valuesOf)
{
    using Values = std::invoke_result_t<ValuesOf, const Record&>;
    ShowStatus(m_texts.saving);
    if (!Logon())
        return false;
    WriteStarting(int(list.size()));
    QStringList refusals;
    for (const auto& record : list) {
        if (Cancelled())
            return Stop();
        const QString previousId = record->m_strEntryID;
        m_bRefused = false;
        bool ok = true;
        bool written = false;
        if (previousId.isEmpty()) {
            written = !record->IsDeleted() && (ok = AddItem(valuesOf(std::as_const(*record)), record->m_strEntryID));
        } else if (record->IsDeleted()) {
            if ((ok = DeleteItem(FolderOf<Values>(), previousId)) && m_pBaseline)
                m_pBaseline->Forget<Values>(previousId);
        } else if (record->m_nState == Record::StateChanged) {
            if ((written = ok = UpdateItem(valuesOf(std::as_const(*record)), record->m_strEntryID)))
                record->m_nState = Record::StateUnchanged;
        }
        // The store holds the record's values now, whatever it held before.
        if (written && m_pBaseline)
            m_pBaseline->Remember(record->m_strEntryID, valuesOf(std::as_const(*record)), previousId);
        if (!ok && m_bRefused) {
            refusals << m_strLastError;
        } else if (!ok) {
            Logoff();
            return false;
        }
    }
    Logoff();
    return WriteEnded(refusals);
}

} // namespace docshared
