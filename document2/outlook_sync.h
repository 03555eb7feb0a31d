#pragma once

#include "docshared/pim_exchange.h"
#include "link2/records.h"

#include <memory>

namespace common {
class IProgressView;
}

namespace dh2 {

// One exchange session with the desktop PIM store for Deskhand2: logs on, reads one default
// folder into fresh records or writes changed records back, shows its steps in the document's
// progress window (which keeps the main window disabled meanwhile), and logs off. Items are
// matched to records by EntryID. A contact carries a fax number, reminders go in steps of 10,
// 30, 60 minutes and a day, memos are notes. Cancel in the progress window ends a read or write
// before its next item; what was written until then stays written. An update of an item that is
// no longer in the store adds it anew.
class COutlookSync : public docshared::CPimExchange {
public:
    COutlookSync();
    ~COutlookSync() override;

    bool ReadContacts(RecordList<CPhoneEntry>& list);
    bool ReadAppointments(RecordList<CScheduleEntry>& list);
    bool ReadNotes(RecordList<CScheduleEntry>& list);
    bool WriteContacts(RecordList<CPhoneEntry>& list);
    bool WriteAppointments(RecordList<CScheduleEntry>& list);
    bool WriteNotes(RecordList<CScheduleEntry>& list);

    void OpenProgress() override;
    void CloseProgress() override;
    void Log(const QString& text) override;

private:
    bool Cancelled() override;
    void FolderOpened(int count) override;

    std::unique_ptr<common::IProgressView> m_pProgress;
};

// One exchange object per item kind, as the document's commands create them.
class COutlookContacts final : public COutlookSync {};
class COutlookAppointments final : public COutlookSync {};
class COutlookNotes final : public COutlookSync {};

} // namespace dh2
