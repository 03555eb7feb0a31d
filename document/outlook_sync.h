#pragma once

#include "docshared/pim_exchange.h"
#include "link/records.h"

#include <QString>

#include <memory>

namespace common {
class IProgressView;
}

namespace dh1 {

// One exchange session with the desktop PIM store: logs on, reads one default folder into
// fresh records or writes changed records back, shows its steps in a progress window, and logs
// off. Items are matched to records by EntryID, in the folder of their own kind. Every failure
// is a false result whose reason LastError() gives. The user's Abort only closes the window.
class COutlookSync : public docshared::CPimExchange {
public:
    COutlookSync();
    ~COutlookSync() override;
    COutlookSync(const COutlookSync&) = delete;
    COutlookSync& operator=(const COutlookSync&) = delete;

    bool ReadContacts(RecordList<CPhoneEntry>& list);
    bool ReadAppointments(RecordList<CScheduleEntry>& list);
    bool ReadNotes(RecordList<CMemoEntry>& list);
    bool WriteContacts(RecordList<CPhoneEntry>& list);
    bool WriteAppointments(RecordList<CScheduleEntry>& list);
    bool WriteNotes(RecordList<CMemoEntry>& list);

    void OpenProgress() override;
    void CloseProgress() override;
    void Log(const QString& text) override;

private:
    void FolderOpened(int count) override;
    void WriteStarting(int count) override;
    void LogLoading(int count);

    std::unique_ptr<common::IProgressView> m_pProgress;
};

// One exchange object per item kind, as the document's commands create them.
class COutlookContacts final : public COutlookSync {};
class COutlookAppointments final : public COutlookSync {};
class COutlookNotes final : public COutlookSync {};

} // namespace dh1
