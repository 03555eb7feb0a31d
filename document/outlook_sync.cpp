#include "document/outlook_sync.h"

#include "document/pim_baseline.h"

#include "link/globals.h"
#include "link/message_pump.h"
#include "link/progress_view.h"
#include "platform/pim/application.h"
#include "platform/pim/appointment_item.h"
#include "platform/pim/contact_item.h"
#include "platform/pim/items.h"
#include "platform/pim/mapi_folder.h"
#include "platform/pim/name_space.h"
#include "platform/pim/note_item.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

namespace {

using pim::ItemCast;

QString withoutGraveAccents(QString text)
{
    return text.remove(u'`');
}

// The store's texts end their lines with LF; the records' lines end in CR LF, and a list row
// shows the text up to its first CR.
QString withCrLf(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

// Reminder minutes per alarm value 1 to 5.
constexpr long kAlarmMinutes[] = {0, 15, 30, 60, 1440};

int alarmFromReminder(bool set, long minutes)
{
    if (!set)
        return CScheduleEntry::AlarmNone;
    for (int alarm = 1; alarm <= 5; ++alarm) {
        if (kAlarmMinutes[alarm - 1] == minutes)
            return alarm;
    }
    return CScheduleEntry::AlarmNone;
}

int repeatFromPattern(pim::AppointmentItem& item)
{
    if (!item.IsRecurring())
        return CScheduleEntry::RepeatNone;
    pim::RecurrencePattern& pattern = item.GetRecurrencePattern();
    if (pattern.Interval() != 1)
        return CScheduleEntry::RepeatNone;
    switch (pattern.RecurrenceType()) {
    case pim::olRecursDaily: return CScheduleEntry::RepeatDaily;
    case pim::olRecursWeekly: return CScheduleEntry::RepeatWeekly;
    case pim::olRecursMonthly: return CScheduleEntry::RepeatMonthly;
    case pim::olRecursYearly: return CScheduleEntry::RepeatYearly;
    default: return CScheduleEntry::RepeatNone;
    }
}

void writeReminder(pim::AppointmentItem& item, int alarm)
{
    if (alarm < 1 || alarm > 5) {
        item.SetReminderSet(false);
        return;
    }
    item.SetReminderSet(true);
    item.SetReminderMinutesBeforeStart(kAlarmMinutes[alarm - 1]);
}

void writeRecurrence(pim::AppointmentItem& item, const CScheduleEntry& record)
{
    if (record.m_nRepeat < 1 || record.m_nRepeat > 4) {
        item.ClearRecurrencePattern();
        return;
    }
    pim::RecurrencePattern& pattern = item.GetRecurrencePattern();
    pattern.SetStartTime(record.m_dtStart);
    switch (record.m_nRepeat) {
    case CScheduleEntry::RepeatDaily:
        pattern.SetRecurrenceType(pim::olRecursDaily);
        pattern.SetInterval(1);
        break;
    case CScheduleEntry::RepeatWeekly:
        pattern.SetRecurrenceType(pim::olRecursWeekly);
        // A start that is no date has no weekday; its save fails later.
        if (const int weekday = record.m_dtStart.GetDayOfWeek(); weekday >= 1)
            pattern.SetDayOfWeekMask(1L << (weekday - 1));
        break;
    case CScheduleEntry::RepeatMonthly:
        pattern.SetRecurrenceType(pim::olRecursMonthly);
        pattern.SetDayOfMonth(record.m_dtStart.GetDay());
        break;
    case CScheduleEntry::RepeatYearly:
        pattern.SetRecurrenceType(pim::olRecursYearly);
        pattern.SetMonthOfYear(record.m_dtStart.GetMonth());
        // The type's default day is the item's old start, which an update has not moved yet.
        pattern.SetDayOfMonth(record.m_dtStart.GetDay());
        break;
    default: break;
    }
}

// A rule on the start's own weekday, day or date moves with a moved start, as long as the store
// still repeats the way the record shows; any other rule stays as the store has it.
void moveRecurrence(pim::AppointmentItem& item, const CScheduleEntry& record, const COleDateTime& oldStart)
{
    const COleDateTime& start = record.m_dtStart;
    if (record.m_nRepeat == CScheduleEntry::RepeatNone || repeatFromPattern(item) != record.m_nRepeat
        || start.GetDayOfWeek() < 1 || oldStart.GetDayOfWeek() < 1)
        return;
    pim::RecurrencePattern& pattern = item.GetRecurrencePattern();
    switch (record.m_nRepeat) {
    case CScheduleEntry::RepeatWeekly:
        if (pattern.DayOfWeekMask() == 1L << (oldStart.GetDayOfWeek() - 1))
            pattern.SetDayOfWeekMask(1L << (start.GetDayOfWeek() - 1));
        break;
    case CScheduleEntry::RepeatMonthly:
        if (pattern.DayOfMonth() == oldStart.GetDay())
            pattern.SetDayOfMonth(start.GetDay());
        break;
    case CScheduleEntry::RepeatYearly:
        if (pattern.DayOfMonth() == oldStart.GetDay() && pattern.MonthOfYear() == oldStart.GetMonth()) {
            pattern.SetMonthOfYear(start.GetMonth());
            pattern.SetDayOfMonth(start.GetDay());
        }
        break;
    default: break;
    }
}

// Whether a field differs from the values as read; every field does when they are not known.
template <typename Record, typename Value>
bool changed(const Record& record, const Record* base, Value Record::*field)
{
    return !base || record.*field != base->*field;
}

void setContact(pim::ContactItem& item, const CPhoneEntry& record, const CPhoneEntry* base)
{
    if (changed(record, base, &CPhoneEntry::m_strName))
        item.SetFullName(record.m_strName);
    if (changed(record, base, &CPhoneEntry::m_strMobile))
        item.SetMobileTelephoneNumber(record.m_strMobile);
    if (changed(record, base, &CPhoneEntry::m_strOffice))
        item.SetBusinessTelephoneNumber(record.m_strOffice);
    if (changed(record, base, &CPhoneEntry::m_strHome))
        item.SetHomeTelephoneNumber(record.m_strHome);
    if (changed(record, base, &CPhoneEntry::m_strEmail))
        item.SetEmail1Address(record.m_strEmail);
    if (changed(record, base, &CPhoneEntry::m_strMemo))
        item.SetBody(record.m_strMemo);
}

} // namespace

COutlookSync::COutlookSync() = default;

COutlookSync::~COutlookSync()
{
    Logoff();
    if (m_pProgress)
        CloseProgress();
}

bool COutlookSync::Logon()
{
    if (m_bLoggedOn)
        return true;
    ShowStatus(61483);
    auto application = std::make_unique<pim::Application>();
    pim::Error error;
    std::unique_ptr<pim::NameSpace> ns = application->GetNamespace(QStringLiteral("MAPI"), &error);
    if (!ns || !ns->Logon(&error))
        return Fail(error.description);
    m_application = std::move(application);
    m_namespace = std::move(ns);
    m_bLoggedOn = true;
    OpenProgress();
    ShowStatus(61483);
    return true;
}

bool COutlookSync::Logoff()
{
    if (!m_bLoggedOn)
        return true;
    ShowStatus(61484);
    m_namespace->Logoff();
    m_namespace.reset();
    m_application.reset();
    m_bLoggedOn = false;
    CloseProgress();
    return true;
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

void COutlookSync::ShowStatus(int stringId)
{
    Log(platform::LoadString(stringId));
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

bool COutlookSync::Fail(const QString& reason)
{
    m_strLastError = reason;
    return false;
}

template <typename ItemType>
std::unique_ptr<ItemType> COutlookSync::findItem(pim::OlDefaultFolders folder, const QString& entryId,
                                                 pim::Error* error)
{
    if (!m_namespace) {
        *error = pim::Error{pim::ErrorCode::NotLoggedOn, QStringLiteral("Not logged on to the PIM store")};
        Fail(error->description);
        return nullptr;
    }
    std::unique_ptr<pim::MAPIFolder> store = m_namespace->GetDefaultFolder(folder, error);
    std::unique_ptr<pim::Item> item = store ? m_namespace->GetItemFromID(entryId, store->StoreID(), error) : nullptr;
    if (!item && error->code != pim::ErrorCode::NotFound)
        Fail(error->description);
    return pim::ItemCast<ItemType>(std::move(item));
}

template <typename ItemType>
std::unique_ptr<ItemType> COutlookSync::createItem(pim::OlItemType type)
{
    pim::Error error;
    std::unique_ptr<pim::Item> item = m_application ? m_application->CreateItem(type, &error) : nullptr;
    if (!item)
        Fail(m_application ? error.description : QStringLiteral("Not logged on to the PIM store"));
    return ItemCast<ItemType>(std::move(item));
}

bool COutlookSync::deleteItem(pim::OlDefaultFolders folder, const QString& entryId)
{
    ShowStatus(61489);
    if (entryId.isEmpty())
        return Fail(QStringLiteral("The entry has no EntryID"));
    pim::Error error;
    std::unique_ptr<pim::Item> item = findItem<pim::Item>(folder, entryId, &error);
    // An item that is already gone is as deleted as it will get.
    if (!item)
        return error.code == pim::ErrorCode::NotFound;
    if (item->Delete(&error) || error.code == pim::ErrorCode::NotFound)
        return true;
    return Fail(error.description);
}

template <typename ItemType, typename Record, typename Convert>
bool COutlookSync::readFolder(pim::OlDefaultFolders folderType, RecordList<Record>& list, Convert convert)
{
    ShowStatus(61477);
    if (!Logon())
        return false;
    pim::Error error;
    std::unique_ptr<pim::MAPIFolder> folder = m_namespace->GetDefaultFolder(folderType, &error);
    std::unique_ptr<pim::Items> items = folder ? folder->Items(&error) : nullptr;
    if (!items) {
        Logoff();
        return Fail(error.description);
    }
    g_nProgressRange = int(items->Count()) + 10;
    for (long i = 1; i <= items->Count(); ++i) {
        auto item = ItemCast<ItemType>(items->Item(i, &error));
        if (!item) {
            Logoff();
            return Fail(error.description);
        }
        if (std::unique_ptr<Record> record = convert(*item, int(i)))
            list.push_back(std::move(record));
    }
    Logoff();
    return true;
}

void COutlookSync::LogLoading(int count)
{
    Log(QString::asprintf(platform::LoadString(61478).toUtf8().constData(), count));
}

bool COutlookSync::ReadContacts(RecordList<CPhoneEntry>& list)
{
    int taken = 0;
    return readFolder<pim::ContactItem>(pim::olFolderContacts, list, [&](pim::ContactItem& item, int) {
        std::unique_ptr<CPhoneEntry> record;
        const QString name = item.FullName();
        if (name.isEmpty()
            || (item.MobileTelephoneNumber().isEmpty() && item.BusinessTelephoneNumber().isEmpty()
                && item.HomeTelephoneNumber().isEmpty()))
            return record;
        LogLoading(taken++);
        record = std::make_unique<CPhoneEntry>();
        record->m_strEntryID = item.EntryID();
        record->m_strName = name;
        record->m_strMobile = item.MobileTelephoneNumber();
        record->m_strOffice = item.BusinessTelephoneNumber();
        record->m_strHome = item.HomeTelephoneNumber();
        record->m_strEmail = item.Email1Address();
        record->m_strMemo = withCrLf(item.Body());
        return record;
    });
}

bool COutlookSync::ReadAppointments(RecordList<CScheduleEntry>& list)
{
    return readFolder<pim::AppointmentItem>(pim::olFolderCalendar, list, [&](pim::AppointmentItem& item, int i) {
        auto record = std::make_unique<CScheduleEntry>();
        LogLoading(i);
        record->m_strEntryID = item.EntryID();
        record->m_strSubject = withCrLf(withoutGraveAccents(item.Subject()));
        record->m_dtStart = item.Start();
        record->m_nAlarm = alarmFromReminder(item.ReminderSet(), item.ReminderMinutesBeforeStart());
        record->m_nRepeat = repeatFromPattern(item);
        return record;
    });
}

bool COutlookSync::ReadNotes(RecordList<CMemoEntry>& list)
{
    return readFolder<pim::NoteItem>(pim::olFolderNotes, list, [&](pim::NoteItem& item, int i) {
        auto record = std::make_unique<CMemoEntry>();
        LogLoading(i);
        record->m_strEntryID = item.EntryID();
        record->m_strText = withCrLf(withoutGraveAccents(item.Body()));
        return record;
    });
}

template <typename Record, typename Add, typename Update, typename Remove>
bool COutlookSync::writeList(RecordList<Record>& list, Add add, Update update, Remove remove)
{
    ShowStatus(61486);
    if (!Logon())
        return false;
    g_nProgressRange = int(list.size()) + 10;
    for (const auto& record : list) {
        const QString previousId = record->m_strEntryID;
        bool ok = true;
        bool written = false;
        if (previousId.isEmpty()) {
            if (!record->IsDeleted())
                written = ok = add(*record);
        } else if (record->IsDeleted()) {
            ok = remove(*record);
            if (ok && m_pBaseline)
                m_pBaseline->Forget(*record);
        } else if (record->m_nState == CSyncRecord::StateChanged) {
            written = ok = update(*record);
            if (ok)
                record->m_nState = CSyncRecord::StateUnchanged;
        }
        // The store holds the record's values now, whatever it held before.
        if (written && m_pBaseline)
            m_pBaseline->Remember(*record, previousId);
        if (!ok) {
            Logoff();
            return false;
        }
    }
    Logoff();
    return true;
}

bool COutlookSync::WriteContacts(RecordList<CPhoneEntry>& list)
{
    return writeList(
        list, [this](CPhoneEntry& r) { return AddContact(r); }, [this](CPhoneEntry& r) { return UpdateContact(r); },
        [this](const CPhoneEntry& r) { return DeleteContact(r); });
}

bool COutlookSync::WriteAppointments(RecordList<CScheduleEntry>& list)
{
    return writeList(
        list, [this](CScheduleEntry& r) { return AddAppointment(r); },
        [this](CScheduleEntry& r) { return UpdateAppointment(r); },
        [this](const CScheduleEntry& r) { return DeleteAppointment(r); });
}

bool COutlookSync::WriteNotes(RecordList<CMemoEntry>& list)
{
    return writeList(
        list, [this](CMemoEntry& r) { return AddNote(r); }, [this](CMemoEntry& r) { return UpdateNote(r); },
        [this](const CMemoEntry& r) { return DeleteNote(r); });
}

// A failed save of a new or changed item fails the write: the record keeps its state, so the
// next export tries again instead of losing the change.
bool COutlookSync::SaveItem(pim::Item& item, CSyncRecord& record)
{
    pim::Error error;
    if (!item.Save(&error))
        return Fail(error.description);
    record.m_strEntryID = item.EntryID();
    return true;
}

bool COutlookSync::AddContact(CPhoneEntry& record)
{
    ShowStatus(61487);
    auto item = createItem<pim::ContactItem>(pim::olContactItem);
    if (!item)
        return false;
    setContact(*item, record, nullptr);
    return SaveItem(*item, record);
}

bool COutlookSync::AddAppointment(CScheduleEntry& record)
{
    ShowStatus(61487);
    auto item = createItem<pim::AppointmentItem>(pim::olAppointmentItem);
    if (!item)
        return false;
    item->SetSubject(record.m_strSubject);
    item->SetBody(record.m_strSubject);
    item->SetStart(record.m_dtStart);
    writeReminder(*item, record.m_nAlarm);
    writeRecurrence(*item, record);
    return SaveItem(*item, record);
}

bool COutlookSync::AddNote(CMemoEntry& record)
{
    ShowStatus(61487);
    auto item = createItem<pim::NoteItem>(pim::olNoteItem);
    if (!item)
        return false;
    item->SetBody(record.m_strText);
    return SaveItem(*item, record);
}

// Updates set what the user changed since the item was read and leave the rest as the store
// has it now. An item that another program removed is made anew from the record.
bool COutlookSync::UpdateContact(CPhoneEntry& record)
{
    ShowStatus(61488);
    if (record.m_strEntryID.isEmpty())
        return Fail(QStringLiteral("The entry has no EntryID"));
    pim::Error error;
    auto item = findItem<pim::ContactItem>(pim::olFolderContacts, record.m_strEntryID, &error);
    if (!item)
        return error.code == pim::ErrorCode::NotFound && AddContact(record);
    setContact(*item, record, m_pBaseline ? m_pBaseline->Find(record) : nullptr);
    return SaveItem(*item, record);
}

bool COutlookSync::UpdateAppointment(CScheduleEntry& record)
{
    ShowStatus(61488);
    if (record.m_strEntryID.isEmpty())
        return Fail(QStringLiteral("The entry has no EntryID"));
    pim::Error error;
    auto item = findItem<pim::AppointmentItem>(pim::olFolderCalendar, record.m_strEntryID, &error);
    if (!item)
        return error.code == pim::ErrorCode::NotFound && AddAppointment(record);
    const CScheduleEntry* base = m_pBaseline ? m_pBaseline->Find(record) : nullptr;
    if (changed(record, base, &CScheduleEntry::m_strSubject))
        item->SetSubject(record.m_strSubject);
    // The rule is replaced only for a new repeat: a rule the record cannot show (every second
    // week, the 2nd Sunday, exceptions, moved occurrences) reads as no repeat and must survive.
    if (changed(record, base, &CScheduleEntry::m_nRepeat)) {
        item->ClearRecurrencePattern();
        if (record.m_nRepeat >= 1 && record.m_nRepeat <= 4)
            writeRecurrence(*item, record);
    } else if (changed(record, base, &CScheduleEntry::m_dtStart)) {
        moveRecurrence(*item, record, base->m_dtStart);
    }
    if (changed(record, base, &CScheduleEntry::m_nAlarm))
        writeReminder(*item, record.m_nAlarm);
    if (changed(record, base, &CScheduleEntry::m_dtStart))
        item->SetStart(record.m_dtStart);
    return SaveItem(*item, record);
}

bool COutlookSync::UpdateNote(CMemoEntry& record)
{
    ShowStatus(61488);
    if (record.m_strEntryID.isEmpty())
        return Fail(QStringLiteral("The entry has no EntryID"));
    pim::Error error;
    auto item = findItem<pim::NoteItem>(pim::olFolderNotes, record.m_strEntryID, &error);
    if (!item)
        return error.code == pim::ErrorCode::NotFound && AddNote(record);
    if (changed(record, m_pBaseline ? m_pBaseline->Find(record) : nullptr, &CMemoEntry::m_strText))
        item->SetBody(record.m_strText);
    return SaveItem(*item, record);
}

bool COutlookSync::DeleteContact(const CPhoneEntry& record)
{
    return deleteItem(pim::olFolderContacts, record.m_strEntryID);
}

bool COutlookSync::DeleteAppointment(const CScheduleEntry& record)
{
    return deleteItem(pim::olFolderCalendar, record.m_strEntryID);
}

bool COutlookSync::DeleteNote(const CMemoEntry& record)
{
    return deleteItem(pim::olFolderNotes, record.m_strEntryID);
}
