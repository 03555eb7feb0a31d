#include "document2/outlook_sync.h"

#include "common/progress_text.h"
#include "docshared/pim_fields.h"
#include "document2/document_progress.h"
#include "link2/message_pump.h"
#include "platform/clock.h"
#include "platform/pim/appointment_item.h"
#include "platform/pim/contact_item.h"
#include "platform/pim/note_item.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

namespace dh2 {

namespace {

using docshared::WithCrLf;
using docshared::WithoutGraveAccents;

constexpr int kLoadingText = 62467; // "Loading data... %d-%d"
constexpr docshared::CPimExchange::Texts kTexts {62508, 62509, kLoadingText, 62468, 62469, 62470, 62471};

// Reminder minutes per alarm value 1 to 5; a reminder at any other time reads as "On Time".
constexpr docshared::ReminderTable kReminders {{0, 10, 30, 60, 1440}, CScheduleEntry::AlarmOnTime};

constexpr int kStatusPauseMs = 50;
constexpr int kStatusLength = 511;

// Deskhand2 keeps a contact's business fax; the card's note is not its own.
constexpr docshared::ContactProperties kContactProperties {false, true};

docshared::PimContactValues contactValues(const CPhoneEntry& r)
{
    return {r.m_strName, r.m_strMobile, r.m_strOffice, r.m_strHome, r.m_strEmail, QString(), r.m_strFax};
}

docshared::PimAppointmentValues appointmentValues(const CScheduleEntry& r)
{
    return {r.m_strSubject, r.m_dtStart, r.m_nRepeat, r.m_nAlarm};
}

docshared::PimNoteValues noteValues(const CScheduleEntry& r)
{
    return {r.m_strSubject};
}

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
    platform::UiServices::instance().enableMainWindow(false);
    m_pProgress.reset();
    m_pProgress = OpenDocumentProgress();
}

void COutlookSync::CloseProgress()
{
    platform::UiServices::instance().enableMainWindow(true);
    g_bCancel = false;
    m_pProgress.reset();
}

void COutlookSync::Log(const QString& text)
{
    if (!m_pProgress)
        return;
    m_pProgress->Step(text.left(kStatusLength));
    platform::Sleep(kStatusPauseMs);
}

// Cancel in the progress window reaches the exchange through the pump before every item.
bool COutlookSync::Cancelled()
{
    PumpMessages();
    return g_bCancel;
}

void COutlookSync::FolderOpened(int count)
{
    Log(common::FormatProgress(platform::LoadString(kLoadingText), {1, count}, common::MissingValue::DropPlaceholder));
}

bool COutlookSync::ReadContacts(RecordList<CPhoneEntry>& list)
{
    return ReadFolder<pim::ContactItem>(pim::olFolderContacts, list, [](pim::ContactItem& item, int) {
        std::unique_ptr<CPhoneEntry> record;
        if (!docshared::IsPhoneContact(item))
            return record;
        record = std::make_unique<CPhoneEntry>();
        record->m_strEntryID = item.EntryID();
        record->m_strName = item.FullName();
        record->m_strMobile = item.MobileTelephoneNumber();
        record->m_strOffice = item.BusinessTelephoneNumber();
        record->m_strHome = item.HomeTelephoneNumber();
        record->m_strEmail = item.Email1Address();
        record->m_strFax = item.BusinessFaxNumber();
        return record;
    }, contactValues);
}

bool COutlookSync::ReadAppointments(RecordList<CScheduleEntry>& list)
{
    return ReadFolder<pim::AppointmentItem>(pim::olFolderCalendar, list, [](pim::AppointmentItem& item, int) {
        auto record = std::make_unique<CScheduleEntry>();
        record->m_strEntryID = item.EntryID();
        record->m_strSubject = WithCrLf(WithoutGraveAccents(item.Subject()));
        record->m_dtStart = item.Start();
        record->m_nAlarm = docshared::AlarmFromReminder(item.ReminderSet(), item.ReminderMinutesBeforeStart(), kReminders);
        record->m_nRepeat = docshared::RepeatFromPattern(item);
        record->m_nKind = CScheduleEntry::KindSchedule;
        return record;
    }, appointmentValues);
}

bool COutlookSync::ReadNotes(RecordList<CScheduleEntry>& list)
{
    return ReadFolder<pim::NoteItem>(pim::olFolderNotes, list, [](pim::NoteItem& item, int) {
        auto record = std::make_unique<CScheduleEntry>();
        record->m_strEntryID = item.EntryID();
        record->m_strSubject = WithCrLf(WithoutGraveAccents(item.Body()));
        record->m_nKind = CScheduleEntry::KindMemo;
        return record;
    }, noteValues);
}

bool COutlookSync::WriteContacts(RecordList<CPhoneEntry>& list)
{
    return WriteRecords(list, contactValues);
}

bool COutlookSync::WriteAppointments(RecordList<CScheduleEntry>& list)
{
    return WriteRecords(list, appointmentValues);
}

bool COutlookSync::WriteNotes(RecordList<CScheduleEntry>& list)
{
    return WriteRecords(list, noteValues);
}

} // namespace dh2
