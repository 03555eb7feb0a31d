#include "document/outlook_sync.h"

#include "docshared/pim_fields.h"
#include "link/globals.h"
#include "link/message_pump.h"
#include "link/progress_view.h"
#include "platform/pim/appointment_item.h"
#include "platform/pim/contact_item.h"
#include "platform/pim/note_item.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

namespace {

using docshared::WithCrLf;
using docshared::WithoutGraveAccents;

constexpr docshared::CPimExchange::Texts kTexts {61483, 61484, 61477, 61486, 61487, 61488, 61489};

// Reminder minutes per alarm value 1 to 5; any other reminder reads as no alarm.
constexpr docshared::ReminderTable kReminders {{0, 15, 30, 60, 1440}, CScheduleEntry::AlarmNone};

// Deskhand keeps a contact's note as its memo; it has no fax.
constexpr docshared::ContactProperties kContactProperties {true, false};

docshared::PimContactValues valuesOf(const CPhoneEntry& r)
{
    return {r.m_strName, r.m_strMobile, r.m_strOffice, r.m_strHome, r.m_strEmail, r.m_strMemo, QString()};
}

docshared::PimAppointmentValues valuesOf(const CScheduleEntry& r)
{
    return {r.m_strSubject, r.m_dtStart, r.m_nRepeat, r.m_nAlarm};
}

docshared::PimNoteValues valuesOf(const CMemoEntry& r)
{
    return {r.m_strText};
}

const auto kValuesOf = [](const auto& record) { return valuesOf(record); };

} // namespace

COutlookSync::COutlookSync() : CPimExchange(kTexts) {}

COutlookSync::~COutlookSync()
{
    Logoff();
    if (m_pProgress)
        CloseProgress();
}

void COutlookSync::OpenProgress()
{
    m_pProgress = CreateProgressView();
}

void COutlookSync::CloseProgress()
{
    platform::UiServices::instance().enableMainWindow(true);
    g_bUserAbort = false;
    if (m_pProgress) {
        m_pProgress->Finish();
        m_pProgress.reset();
    }
}

void COutlookSync::Log(const QString& text)
{
    if (!m_pProgress)
        return;
    m_pProgress->Step(text.left(511));
    PumpMessages();
    if (g_bUserAbort) {
        // Abort only closes the window: the exchange runs on to its end, and the main window
        // stays disabled until it does, so nothing can free the records being written.
        g_bUserAbort = false;
        m_pProgress.reset();
    }
}

void COutlookSync::FolderOpened(int count)
{
    g_nProgressRange = count + 10;
}

void COutlookSync::WriteStarting(int count)
{
    g_nProgressRange = count + 10;
}

void COutlookSync::LogLoading(int count)
{
    Log(QString::asprintf(platform::LoadString(61478).toUtf8().constData(), count));
}

bool COutlookSync::ReadContacts(RecordList<CPhoneEntry>& list)
{
    int taken = 0;
    return ReadFolder<pim::ContactItem>(pim::olFolderContacts, list, [&](pim::ContactItem& item, int) {
        std::unique_ptr<CPhoneEntry> record;
        if (!docshared::IsPhoneContact(item))
            return record;
        LogLoading(taken++);
        record = std::make_unique<CPhoneEntry>();
        record->m_strEntryID = item.EntryID();
        record->m_strName = item.FullName();
        record->m_strMobile = item.MobileTelephoneNumber();
        record->m_strOffice = item.BusinessTelephoneNumber();
        record->m_strHome = item.HomeTelephoneNumber();
        record->m_strEmail = item.Email1Address();
        record->m_strMemo = WithCrLf(item.Body());
        return record;
    }, kValuesOf);
}

bool COutlookSync::ReadAppointments(RecordList<CScheduleEntry>& list)
{
    return ReadFolder<pim::AppointmentItem>(pim::olFolderCalendar, list, [&](pim::AppointmentItem& item, int i) {
        auto record = std::make_unique<CScheduleEntry>();
        LogLoading(i);
        record->m_strEntryID = item.EntryID();
        record->m_strSubject = WithCrLf(WithoutGraveAccents(item.Subject()));
        record->m_dtStart = item.Start();
        record->m_nAlarm = docshared::AlarmFromReminder(item.ReminderSet(), item.ReminderMinutesBeforeStart(), kReminders);
        record->m_nRepeat = docshared::RepeatFromPattern(item);
        return record;
    }, kValuesOf);
}

bool COutlookSync::ReadNotes(RecordList<CMemoEntry>& list)
{
    return ReadFolder<pim::NoteItem>(pim::olFolderNotes, list, [&](pim::NoteItem& item, int i) {
        auto record = std::make_unique<CMemoEntry>();
        LogLoading(i);
        record->m_strEntryID = item.EntryID();
        record->m_strText = WithCrLf(WithoutGraveAccents(item.Body()));
        return record;
    }, kValuesOf);
}

bool COutlookSync::WriteContacts(RecordList<CPhoneEntry>& list)
{
    return WriteRecords(
        list, [this](CPhoneEntry& r) { return AddContact(r); }, [this](CPhoneEntry& r) { return UpdateContact(r); },
        [this](const CPhoneEntry& r) { return DeleteContact(r); }, kValuesOf);
}

bool COutlookSync::WriteAppointments(RecordList<CScheduleEntry>& list)
{
    return WriteRecords(
        list, [this](CScheduleEntry& r) { return AddAppointment(r); },
        [this](CScheduleEntry& r) { return UpdateAppointment(r); },
        [this](const CScheduleEntry& r) { return DeleteAppointment(r); }, kValuesOf);
}

bool COutlookSync::WriteNotes(RecordList<CMemoEntry>& list)
{
    return WriteRecords(
        list, [this](CMemoEntry& r) { return AddNote(r); }, [this](CMemoEntry& r) { return UpdateNote(r); },
        [this](const CMemoEntry& r) { return DeleteNote(r); }, kValuesOf);
}

bool COutlookSync::AddContact(CPhoneEntry& record)
{
    ShowStatus(61487);
    auto item = CreateItem<pim::ContactItem>(pim::olContactItem);
    if (!item)
        return false;
    docshared::WriteContact(*item, valuesOf(record), nullptr, kContactProperties);
    return SaveItem(*item, record.m_strEntryID);
}

bool COutlookSync::AddAppointment(CScheduleEntry& record)
{
    ShowStatus(61487);
    auto item = CreateItem<pim::AppointmentItem>(pim::olAppointmentItem);
    if (!item)
        return false;
    docshared::FillNewAppointment(*item, record.m_strSubject, record.m_dtStart, record.m_nAlarm, record.m_nRepeat,
                                  kReminders);
    return SaveItem(*item, record.m_strEntryID);
}

bool COutlookSync::AddNote(CMemoEntry& record)
{
    ShowStatus(61487);
    auto item = CreateItem<pim::NoteItem>(pim::olNoteItem);
    if (!item)
        return false;
    item->SetBody(record.m_strText);
    return SaveItem(*item, record.m_strEntryID);
}

// Updates set what the user changed since the item was read and leave the rest as the store
// has it now. An item that another program removed is made anew from the record.
bool COutlookSync::UpdateContact(CPhoneEntry& record)
{
    ShowStatus(61488);
    if (record.m_strEntryID.isEmpty())
        return FailWithoutEntryId();
    pim::Error error;
    auto item = FindItem<pim::ContactItem>(pim::olFolderContacts, record.m_strEntryID, &error);
    if (!item)
        return error.code == pim::ErrorCode::NotFound && AddContact(record);
    docshared::WriteContact(*item, valuesOf(record),
                            ValuesAsRead<docshared::PimContactValues>(record.m_strEntryID), kContactProperties);
    return SaveItem(*item, record.m_strEntryID);
}

bool COutlookSync::UpdateAppointment(CScheduleEntry& record)
{
    ShowStatus(61488);
    if (record.m_strEntryID.isEmpty())
        return FailWithoutEntryId();
    pim::Error error;
    auto item = FindItem<pim::AppointmentItem>(pim::olFolderCalendar, record.m_strEntryID, &error);
    if (!item)
        return error.code == pim::ErrorCode::NotFound && AddAppointment(record);
    docshared::UpdateAppointment(*item, valuesOf(record),
                                 ValuesAsRead<docshared::PimAppointmentValues>(record.m_strEntryID), kReminders);
    return SaveItem(*item, record.m_strEntryID);
}

bool COutlookSync::UpdateNote(CMemoEntry& record)
{
    ShowStatus(61488);
    if (record.m_strEntryID.isEmpty())
        return FailWithoutEntryId();
    pim::Error error;
    auto item = FindItem<pim::NoteItem>(pim::olFolderNotes, record.m_strEntryID, &error);
    if (!item)
        return error.code == pim::ErrorCode::NotFound && AddNote(record);
    docshared::UpdateNote(*item, valuesOf(record), ValuesAsRead<docshared::PimNoteValues>(record.m_strEntryID));
    return SaveItem(*item, record.m_strEntryID);
}

bool COutlookSync::DeleteContact(const CPhoneEntry& record)
{
    return DeleteItem(pim::olFolderContacts, record.m_strEntryID);
}

bool COutlookSync::DeleteAppointment(const CScheduleEntry& record)
{
    return DeleteItem(pim::olFolderCalendar, record.m_strEntryID);
}

bool COutlookSync::DeleteNote(const CMemoEntry& record)
{
    return DeleteItem(pim::olFolderNotes, record.m_strEntryID);
}
