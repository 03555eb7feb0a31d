#include "document/mvsync_doc.h"

#include "docshared/record_lists.h"
#include "link/capacities.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <algorithm>

namespace dh1 {

namespace {

QString tableText(int value, std::initializer_list<int> ids)
{
    if (value < 0 || value >= int(ids.size()))
        return {};
    return platform::LoadString(*(ids.begin() + value));
}

// Live records of the linked lists whose link is on no live record of the phone list lose it.
template <typename Record>
void dropStaleLinks(const RecordList<Record>& phone, int Record::*index, std::initializer_list<RecordList<Record>*> linked)
{
    const auto all = [](const Record&) { return true; };
    docshared::DropStaleLinks(docshared::LiveValues(phone, index, all), index, linked);
}

} // namespace

CMVsyncDoc::CMVsyncDoc(QObject* parent)
    : CDocumentBase({QStringLiteral("mvsync.dat"), QStringLiteral("pimbase.dat"), 61448, 64001, 64002, 64003, 64010, 64005, {},
                     64000, platform::MB_ICONINFORMATION},
                    parent),
      m_groupNames{QStringLiteral("Family"), QStringLiteral("VIP"),    QStringLiteral("Friends"),
                   QStringLiteral("Colleague"), QStringLiteral("Group1"), QStringLiteral("Group2"),
                   QStringLiteral("Others")}
{
    g_nHandsetCapacity = 255;
    g_nHandsetNumberLen = 40;
    g_nHandsetNameLen = 20;
    g_nHandsetEmailLen = 30;
    g_nHandsetMemoLen = 50;
    g_nSimCapacity = 100;
    g_nSimNumberLen = 20;
    g_nSimNameLen = 12;
    g_nScheduleCapacity = 30;
    g_nScheduleTextLen = 30;
    g_nMemoCapacity = 20;
    g_nMemoTextLen = 40;
    ApplyLinkSettings();
}

CMVsyncDoc::~CMVsyncDoc() = default;

int CMVsyncDoc::GetContactCount(int kind) const
{
    return docshared::SizeOf(ContactList(kind));
}

CPhoneEntry* CMVsyncDoc::GetContact(int kind, int i) const
{
    return docshared::At(ContactList(kind), i);
}

int CMVsyncDoc::GetScheduleCount(int kind) const
{
    return docshared::SizeOf(ScheduleList(kind));
}

CScheduleEntry* CMVsyncDoc::GetSchedule(int kind, int i) const
{
    return docshared::At(ScheduleList(kind), i);
}

int CMVsyncDoc::GetMemoCount(int kind) const
{
    return docshared::SizeOf(MemoList(kind));
}

CMemoEntry* CMVsyncDoc::GetMemo(int kind, int i) const
{
    return docshared::At(MemoList(kind), i);
}

int CMVsyncDoc::GetMessageCount() const
{
    return int(m_messages.size());
}

CSmsEntry* CMVsyncDoc::GetMessage(int i) const
{
    return docshared::At(&m_messages, i);
}

void CMVsyncDoc::GetColumnFormat(QString& format, int kind) const
{
    switch (kind) {
    case ColumnsContacts: format = platform::LoadString(61498); break;
    case ColumnsSimContacts: format = platform::LoadString(61499); break;
    case ColumnsSchedules: format = platform::LoadString(61500); break;
    case ColumnsMemos: format = platform::LoadString(61501); break;
    case ColumnsMessages: format = QStringLiteral("No,1,Status,0,Phone num,4,Name,0,Message,0,Date and Time,2"); break;
    default: break;
    }
}

QString CMVsyncDoc::GroupName(int group) const
{
    return group >= 0 && group < m_groupNames.size() ? m_groupNames[group] : QString();
}

void CMVsyncDoc::ContactToRow(int kind, const CPhoneEntry& record, QStringList& row) const
{
    if (kind == ListSim) {
        row << record.m_strName << record.m_strMobile << GroupName(record.m_nGroup);
        return;
    }
    row << record.m_strName << record.m_strMobile << record.m_strHome << record.m_strOffice << record.m_strEmail
        << GroupName(record.m_nGroup) << docshared::FirstLine(record.m_strMemo);
}

void CMVsyncDoc::ScheduleToRow(const CScheduleEntry& record, QStringList& row) const
{
    row << docshared::FirstLine(record.m_strSubject) << record.m_dtStart.Format(u"%d/%m/%Y") << record.m_dtStart.Format(u"%H:%M")
        << tableText(record.m_nRepeat, {63023, 63024, 63025, 63026, 63027})
        << tableText(record.m_nAlarm, {63028, 63029, 63030, 63033, 63031, 63032});
}

void CMVsyncDoc::MemoToRow(const CMemoEntry& record, QStringList& row) const
{
    row << docshared::FirstLine(record.m_strText);
}

void CMVsyncDoc::MessageToRow(const CSmsEntry& record, QStringList& row) const
{
    row.clear();
    const int status = record.m_nStatus;
    QString text = record.m_strText;
    qsizetype start = 0;
    while (start < text.size() && (text[start] == u'\r' || text[start] == u'\n' || text[start] == u' '))
        ++start;
    text = text.mid(start);
    text.remove(u'\n');
    row << MessageStatusText(status) << record.m_strNumber
        << record.m_strName << docshared::FirstLine(text) << record.m_strDateTime;
}

QString CMVsyncDoc::MessageStatusText(int status)
{
    static const char* const kStatus[] = {"Unsent", "Sent", "Unread", "Read"};
    return status >= 1 && status <= 4 ? QLatin1String(kStatus[status - 1]) : QString();
}

CPhoneEntry* CMVsyncDoc::StoreContact(int kind, const CPhoneEntry& record)
{
    return docshared::StoreContactCopy(kind == ListPc ? m_pcContacts : m_outlookContacts, record, kind != ListPc);
}

CScheduleEntry* CMVsyncDoc::StoreSchedule(int kind, const CScheduleEntry& record)
{
    return docshared::StoreIndexedCopy(kind == ListPc ? m_pcSchedules : m_outlookSchedules, record, kind != ListPc);
}

CMemoEntry* CMVsyncDoc::StoreMemo(int kind, const CMemoEntry& record)
{
    return docshared::StoreIndexedCopy(kind == ListPc ? m_pcMemos : m_outlookMemos, record, kind != ListPc);
}

CSmsEntry* CMVsyncDoc::AddOutgoingMessage(const CSmsEntry& record)
{
    auto message = std::make_unique<CSmsEntry>();
    message->Assign(record);
    message->m_nState = CSyncRecord::StateNew;
    message->m_nList = record.m_nList;
    message->m_nStatus = CSmsEntry::StatusUnsent;
    m_messages.push_back(std::move(message));
    return m_messages.back().get();
}

CPhoneEntry* CMVsyncDoc::FindContact(int kind, quintptr id) const
{
    return docshared::FindLive(ContactList(kind), id);
}

CScheduleEntry* CMVsyncDoc::FindSchedule(int kind, quintptr id) const
{
    return docshared::FindLive(ScheduleList(kind), id);
}

CMemoEntry* CMVsyncDoc::FindMemo(int kind, quintptr id) const
{
    return docshared::FindLive(MemoList(kind), id);
}

CSmsEntry* CMVsyncDoc::FindMessage(quintptr id) const
{
    return docshared::FindLive(&m_messages, id);
}

// A list holding more live entries than the phone's capacity is full as well.
bool CMVsyncDoc::IsHandsetBookFull() const
{
    return docshared::LiveCount(m_handsetContacts) >= g_nHandsetCapacity;
}

bool CMVsyncDoc::IsSimBookFull() const
{
    return docshared::LiveCount(m_simContacts) >= g_nSimCapacity;
}

bool CMVsyncDoc::IsPhoneScheduleFull() const
{
    return docshared::LiveCount(m_phoneSchedules) >= g_nScheduleCapacity;
}

bool CMVsyncDoc::IsPhoneMemoFull() const
{
    return docshared::LiveCount(m_phoneMemos) >= g_nMemoCapacity;
}

void CMVsyncDoc::SortSchedules(int kind)
{
    RecordList<CScheduleEntry>* list = ScheduleList(kind);
    if (!list || list->size() < 2)
        return;
    // Equal start times keep their order.
    std::stable_sort(list->begin(), list->end(),
                     [](const auto& a, const auto& b) { return a->m_dtStart < b->m_dtStart; });
}

void CMVsyncDoc::DropStaleContactLinks(int phoneKind)
{
    if (phoneKind == ListHandset)
        dropStaleLinks<CPhoneEntry>(m_handsetContacts, &CPhoneEntry::m_nIndex, {&m_pcContacts, &m_outlookContacts});
    else if (phoneKind == ListSim)
        dropStaleLinks<CPhoneEntry>(m_simContacts, &CPhoneEntry::m_nSimIndex, {&m_pcContacts, &m_outlookContacts});
}

void CMVsyncDoc::DropStaleScheduleLinks()
{
    dropStaleLinks<CScheduleEntry>(m_phoneSchedules, &CScheduleEntry::m_nIndex, {&m_pcSchedules, &m_outlookSchedules});
}

void CMVsyncDoc::DropStaleMemoLinks()
{
    dropStaleLinks<CMemoEntry>(m_phoneMemos, &CMemoEntry::m_nIndex, {&m_pcMemos, &m_outlookMemos});
}

void CMVsyncDoc::DeleteAllRecords()
{
    for (auto* list : {&m_pcContacts, &m_outlookContacts, &m_handsetContacts, &m_simContacts})
        list->clear();
    for (auto* list : {&m_pcSchedules, &m_outlookSchedules, &m_phoneSchedules})
        list->clear();
    for (auto* list : {&m_pcMemos, &m_outlookMemos, &m_phoneMemos})
        list->clear();
    m_messages.clear();
    NotifyChanged();
}

} // namespace dh1
