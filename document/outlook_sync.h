#pragma once

#include "link/records.h"
#include "platform/pim/pim_types.h"

#include <QString>

#include <memory>

class CPimBaseline;
class IProgressView;

namespace pim {
class Application;
class NameSpace;
class Item;
} // namespace pim

// One exchange session with the desktop PIM store: logs on, reads one default folder into
// fresh records or writes changed records back, shows its steps in a progress window, and logs
// off. Items are matched to records by EntryID, in the folder of their own kind. Every failure
// is a false result whose reason LastError() gives.
//
// With a baseline (the values each record had when it was last read or written), an update
// sets only what the user changed since, and keeps the baseline up to date as it writes;
// without one, or for a record it does not know, an update writes every field.
class COutlookSync {
public:
    COutlookSync();
    virtual ~COutlookSync();
    COutlookSync(const COutlookSync&) = delete;
    COutlookSync& operator=(const COutlookSync&) = delete;

    // The baseline stays the caller's and must outlive the exchange.
    void UseBaseline(CPimBaseline& baseline) { m_pBaseline = &baseline; }
    // The store's reason for the last failure; empty when nothing failed.
    QString LastError() const { return m_strLastError; }

    bool Logon();
    bool Logoff();

    bool ReadContacts(RecordList<CPhoneEntry>& list);
    bool ReadAppointments(RecordList<CScheduleEntry>& list);
    bool ReadNotes(RecordList<CMemoEntry>& list);
    bool WriteContacts(RecordList<CPhoneEntry>& list);
    bool WriteAppointments(RecordList<CScheduleEntry>& list);
    bool WriteNotes(RecordList<CMemoEntry>& list);

    bool AddContact(CPhoneEntry& record);
    bool AddAppointment(CScheduleEntry& record);
    bool AddNote(CMemoEntry& record);
    bool UpdateContact(CPhoneEntry& record);
    bool UpdateAppointment(CScheduleEntry& record);
    bool UpdateNote(CMemoEntry& record);
    bool DeleteContact(const CPhoneEntry& record);
    bool DeleteAppointment(const CScheduleEntry& record);
    bool DeleteNote(const CMemoEntry& record);

    void OpenProgress();
    void CloseProgress();
    void ShowStatus(int stringId);
    void Log(const QString& text);

private:
    // Reads every item of a default folder; convert gives the record of an item (and its
    // number from 1), or nothing to leave the item out.
    template <typename ItemType, typename Record, typename Convert>
    bool readFolder(pim::OlDefaultFolders folder, RecordList<Record>& list, Convert convert);
    void LogLoading(int count);
    template <typename Record, typename Add, typename Update, typename Remove>
    bool writeList(RecordList<Record>& list, Add add, Update update, Remove remove);
    // Saves the item and takes its EntryID into the record.
    bool SaveItem(pim::Item& item, CSyncRecord& record);
    // The item of that kind with the record's EntryID. Null when there is none (NotFound in
    // *error) or it cannot be read, which is noted as the last failure.
    template <typename ItemType>
    std::unique_ptr<ItemType> findItem(pim::OlDefaultFolders folder, const QString& entryId, pim::Error* error);
    template <typename ItemType>
    std::unique_ptr<ItemType> createItem(pim::OlItemType type);
    bool deleteItem(pim::OlDefaultFolders folder, const QString& entryId);
    // Notes the reason of a failure; always false.
    bool Fail(const QString& reason);

    CPimBaseline* m_pBaseline = nullptr;
    QString m_strLastError;
    bool m_bLoggedOn = false;
    std::unique_ptr<pim::Application> m_application;
    std::unique_ptr<pim::NameSpace> m_namespace;
    std::unique_ptr<IProgressView> m_pProgress;
};

// One exchange object per item kind, as the document's commands create them.
class COutlookContacts final : public COutlookSync {};
class COutlookAppointments final : public COutlookSync {};
class COutlookNotes final : public COutlookSync {};
