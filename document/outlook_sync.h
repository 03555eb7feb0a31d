#pragma once

#include "link/records.h"
#include "platform/pim/pim_types.h"

#include <QString>

#include <memory>

class IProgressView;

namespace pim {
class Application;
class NameSpace;
class Item;
} // namespace pim

// One exchange session with the desktop PIM store: logs on, reads one default folder into
// fresh records or writes changed records back, shows its steps in a progress window, and logs
// off. Items are matched to records by EntryID. Every failure is a false result; the store's
// own error text is shown where the user needs it.
class COutlookSync {
public:
    COutlookSync();
    virtual ~COutlookSync();
    COutlookSync(const COutlookSync&) = delete;
    COutlookSync& operator=(const COutlookSync&) = delete;

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
    // Saves the item and takes its EntryID into the record; the store's message when asked.
    bool SaveItem(pim::Item& item, CSyncRecord& record, bool showError);
    std::unique_ptr<pim::Item> findItem(pim::OlDefaultFolders folder, const QString& entryId, pim::Error* error);
    bool deleteItem(pim::OlDefaultFolders folder, const QString& entryId);
    // The store's own message for a failed call.
    static void ShowPimError(const pim::Error& error);

    bool m_bLoggedOn = false;
    std::unique_ptr<pim::Application> m_application;
    std::unique_ptr<pim::NameSpace> m_namespace;
    std::unique_ptr<IProgressView> m_pProgress;
};

// One exchange object per item kind, as the document's commands create them.
class COutlookContacts final : public COutlookSync {};
class COutlookAppointments final : public COutlookSync {};
class COutlookNotes final : public COutlookSync {};
