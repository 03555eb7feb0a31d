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

namespace dh1 {

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

COutlookSync::COutlookSync() : CPimExchange(kTexts, kReminders, kContactProperties) {}

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
    return WriteRecords(list, kValuesOf);
}

bool COutlookSync::WriteAppointments(RecordList<CScheduleEntry>& list)
{
    return WriteRecords(list, kValuesOf);
}

bool COutlookSync::WriteNotes(RecordList<CMemoEntry>& list)
{
    return WriteRecords(list, kValuesOf);
}

} // namespace dh1
