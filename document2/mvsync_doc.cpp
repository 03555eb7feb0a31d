// The document's lists: storing, the phone list's index allocation, full tests, rows, links.
#include "document2/mvsync_doc.h"

#include "docshared/record_lists.h"
#include "document2/document_progress.h"
#include "link2/model_profile.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <QLocale>

namespace dh2 {

namespace {

QString tableText(int value, int firstId, int count)
{
    return value >= 0 && value < count ? platform::LoadString(firstId + value) : QString();
}

bool sameOnPhone(const CScheduleEntry& a, const CScheduleEntry& b)
{
    return a.m_strSubject == b.m_strSubject && a.m_dtStart.GetStatus() == b.m_dtStart.GetStatus()
           && a.m_dtStart.m_dt == b.m_dtStart.m_dt && a.m_nRepeat == b.m_nRepeat && a.m_nAlarm == b.m_nAlarm
           && a.m_nKind == b.m_nKind && a.m_nIndex == b.m_nIndex;
}

} // namespace

CMVsyncDoc::CMVsyncDoc(QObject* parent)
    : CDocumentBase({QStringLiteral("msync.dat"), QStringLiteral("pimbase2.dat"), 62518, 64301, 64302, 64303, 64310, 64305,
                     QStringLiteral("Load CSV file"), 64300, platform::MB_ICONWARNING},
                    parent)
{
    ResetDefaultGroups();
    ApplyPortSettings();
    connect(&ModelProfile(), &CModelProfile::modelChanged, this,
            [this](int type) { Q_EMIT titleChanged(ModelTitle(type)); });
}

CMVsyncDoc::~CMVsyncDoc()
{
    DeleteAllRecords();
}

int CMVsyncDoc::GetContactCount(int list) const
{
    return docshared::SizeOf(ContactList(list));
}

CPhoneEntry* CMVsyncDoc::GetContact(int list, int i) const
{
    return docshared::At(ContactList(list), i);
}

int CMVsyncDoc::GetScheduleCount(int list) const
{
    return docshared::SizeOf(ScheduleList(list));
}

CScheduleEntry* CMVsyncDoc::GetSchedule(int list, int i) const
{
    return docshared::At(ScheduleList(list), i);
}

int CMVsyncDoc::GetMemoCount(int list) const
{
    return docshared::SizeOf(MemoList(list));
}

CScheduleEntry* CMVsyncDoc::GetMemo(int list, int i) const
{
    return docshared::At(MemoList(list), i);
}

int CMVsyncDoc::GetMessageCount() const
{
    return int(m_arMessages.size());
}

CSmsEntry* CMVsyncDoc::GetMessage(int i) const
{
    return docshared::At(&m_arMessages, i);
}

CPhoneEntry* CMVsyncDoc::StoreContact(int list, const CPhoneEntry& record)
{
    if (list != ListPc && list != ListOutlook)
        return nullptr;
    return docshared::StoreContactCopy(*ContactList(list), record, list == ListOutlook);
}

CScheduleEntry* CMVsyncDoc::StoreSchedule(int list, const CScheduleEntry& record)
{
    if (list != ListPc && list != ListOutlook)
        return nullptr;
    return docshared::StoreIndexedCopy(*ScheduleList(list), record, list == ListOutlook);
}

CScheduleEntry* CMVsyncDoc::StoreMemo(int list, const CScheduleEntry& record)
{
    if (list != ListPc && list != ListOutlook)
        return nullptr;
    CScheduleEntry* stored = docshared::StoreIndexedCopy(*MemoList(list), record, list == ListOutlook);
    // The memo lists hold memos whatever the copy said.
    stored->m_nKind = CScheduleEntry::KindMemo;
    return stored;
}

CScheduleEntry* CMVsyncDoc::AddPhoneSchedule(CScheduleEntry& record)
{
    return addToPhoneList(record, CScheduleEntry::KindSchedule);
}

CScheduleEntry* CMVsyncDoc::AddPhoneMemo(CScheduleEntry& record)
{
    return addToPhoneList(record, CScheduleEntry::KindMemo);
}

// The phone keeps schedule entries and memos in one list of kPhoneListSize entries, indexed
// from 0; the limit counts both kinds.
CScheduleEntry* CMVsyncDoc::addToPhoneList(CScheduleEntry& record, int kind)
{
    if (!IsPhoneListRead())
        return nullptr;
    std::vector<int> taken;
    for (const auto& entry : m_arPhoneList) {
        if (entry->IsDeleted())
            continue;
        taken.push_back(entry->m_nIndex);
        if (record.m_nIndex >= 0 && entry->m_nIndex == record.m_nIndex && entry->m_nState != CSyncRecord::StateNew
            && entry->m_nKind == kind) {
            if (!sameOnPhone(*entry, record)) {
                entry->Assign(record);
                entry->m_nKind = kind;
            }
            return entry.get();
        }
        if (int(taken.size()) == kPhoneListSize)
            return nullptr;
    }
    int index = 0;
    while (std::find(taken.begin(), taken.end(), index) != taken.end())
        ++index;
    auto entry = std::make_unique<CScheduleEntry>();
    entry->Assign(record);
    entry->m_nIndex = index;
    entry->m_nKind = kind;
    entry->m_nState = CSyncRecord::StateNew;
    m_arPhoneList.push_back(std::move(entry));
    record.m_nIndex = index;
    return m_arPhoneList.back().get();
}

CSmsEntry* CMVsyncDoc::AddOutgoingMessage(const CSmsEntry& record)
{
    auto message = std::make_unique<CSmsEntry>();
    message->Assign(record);
    message->m_nState = CSyncRecord::StateNew;
    message->m_nList = 1;
    message->m_nStatus = CSmsEntry::StatusUnsent;
    m_arMessages.push_back(std::move(message));
    return m_arMessages.back().get();
}

bool CMVsyncDoc::IsHandsetBookFull() const
{
    return docshared::LiveCount(m_arHandsetContacts) >= kHandsetBookSize;
}

bool CMVsyncDoc::IsSimBookFull() const
{
    return m_nSimCapacity > 0 && docshared::LiveCount(m_arSimContacts) >= m_nSimCapacity;
}

int CMVsyncDoc::PhoneListCount(int kind) const
{
    return int(std::count_if(m_arPhoneList.begin(), m_arPhoneList.end(),
                             [kind](const auto& e) { return !e->IsDeleted() && e->m_nKind == kind; }));
}

QString CMVsyncDoc::RepeatText(int repeat)
{
    return tableText(repeat, 62477, 5);
}

QString CMVsyncDoc::AlarmText(int alarm)
{
    return tableText(alarm, 62482, 6);
}

QString CMVsyncDoc::StatusText(int status)
{
    return tableText(status - 1, 62490, 4);
}

QString CMVsyncDoc::GroupText(const CPhoneEntry& record)
{
    return ModelProfile().callerGroups ? GetGroupName(record.m_nGroup) : QString();
}

QString CMVsyncDoc::StorageText(const CPhoneEntry& record)
{
    const bool handset = record.m_nIndex != -1;
    const bool sim = record.m_nSimIndex != -1;
    if (handset)
        return platform::LoadString(62513) + (sim ? QStringLiteral("/SIM") : QString());
    return sim ? QStringLiteral("SIM") : QString();
}

void CMVsyncDoc::ContactToRow(int list, const CPhoneEntry& record, QStringList& row) const
{
    row << record.m_strName << record.m_strMobile;
    if (list != ListSim)
        row << record.m_strHome << record.m_strOffice << record.m_strEmail << record.m_strFax;
    row << GroupText(record) << StorageText(record);
}

void CMVsyncDoc::ScheduleToRow(const CScheduleEntry& record, QStringList& row) const
{
    row << record.m_strSubject << QLocale().toString(record.m_dtStart.date(), QLocale::ShortFormat)
        << record.m_dtStart.Format(u"%H:%M") << RepeatText(record.m_nRepeat) << AlarmText(record.m_nAlarm);
}

void CMVsyncDoc::MemoToRow(const CScheduleEntry& record, QStringList& row) const
{
    row << docshared::FirstLine(record.m_strSubject)
        << QLocale().toString(record.m_dtStart.date(), QLocale::ShortFormat);
}

void CMVsyncDoc::MessageToRow(const CSmsEntry& record, QStringList& row) const
{
    row.clear();
    // The text from its first character that is no line break or blank, on one line.
    const auto start = std::find_if(record.m_strText.begin(), record.m_strText.end(),
                                    [](QChar c) { return c != u'\r' && c != u'\n' && c != u' '; });
    const QString text = QString(start, record.m_strText.end() - start).remove(u'\n');
    row << StatusText(record.m_nStatus) << record.m_strNumber << record.m_strName << docshared::FirstLine(text)
        << record.m_strDate + u' ' + record.m_strTime;
}

void CMVsyncDoc::GetColumnFormat(int viewType, QString& format) const
{
    if (viewType >= ColumnsContacts && viewType <= ColumnsMessages)
        format = platform::LoadString(62500 + viewType);
}

void CMVsyncDoc::ShowAddingProgress()
{
    m_pAddingProgress.reset();
    m_pAddingProgress = OpenDocumentProgress();
    m_pAddingProgress->Step(QStringLiteral("Adding data"));
    platform::Sleep(100);
}

void CMVsyncDoc::CloseProgress()
{
    m_pAddingProgress.reset();
}

void CMVsyncDoc::DeleteAllRecords()
{
    for (auto* list : {&m_arPcContacts, &m_arOutlookContacts, &m_arHandsetContacts, &m_arSimContacts})
        list->clear();
    for (auto* list : {&m_arPcSchedules, &m_arPcMemos, &m_arOutlookSchedules, &m_arOutlookMemos, &m_arPhoneList})
        list->clear();
    m_arMessages.clear();
    g_arrGroups.clear();
    NotifyChanged();
}

CPhoneEntry* CMVsyncDoc::FindContact(int list, quintptr id) const
{
    return docshared::FindLive(ContactList(list), id);
}

CScheduleEntry* CMVsyncDoc::FindSchedule(int list, quintptr id) const
{
    return docshared::FindLive(ScheduleList(list), id);
}

CScheduleEntry* CMVsyncDoc::FindMemo(int list, quintptr id) const
{
    return docshared::FindLive(MemoList(list), id);
}

CSmsEntry* CMVsyncDoc::FindMessage(quintptr id) const
{
    return docshared::FindLive(&m_arMessages, id);
}

void CMVsyncDoc::UnlinkHandsetIndex(int index)
{
    docshared::Unlink(index, &CPhoneEntry::m_nIndex, {&m_arPcContacts, &m_arOutlookContacts});
}

void CMVsyncDoc::UnlinkSimIndex(int index)
{
    docshared::Unlink(index, &CPhoneEntry::m_nSimIndex, {&m_arPcContacts, &m_arOutlookContacts});
}

void CMVsyncDoc::DropStaleContactLinks(int phoneList)
{
    const auto all = [](const CPhoneEntry&) { return true; };
    if (phoneList == ListHandset)
        docshared::DropStaleLinks(docshared::LiveValues(m_arHandsetContacts, &CPhoneEntry::m_nIndex, all),
                                  &CPhoneEntry::m_nIndex, {&m_arPcContacts, &m_arOutlookContacts});
    else if (phoneList == ListSim)
        docshared::DropStaleLinks(docshared::LiveValues(m_arSimContacts, &CPhoneEntry::m_nSimIndex, all),
                                  &CPhoneEntry::m_nSimIndex, {&m_arPcContacts, &m_arOutlookContacts});
}

void CMVsyncDoc::DropStalePhoneListLinks(int kind)
{
    if (kind != CScheduleEntry::KindSchedule && kind != CScheduleEntry::KindMemo)
        return;
    const bool memos = kind == CScheduleEntry::KindMemo;
    const auto ofKind = [kind](const CScheduleEntry& e) { return e.m_nKind == kind; };
    docshared::DropStaleLinks(docshared::LiveValues(m_arPhoneList, &CScheduleEntry::m_nIndex, ofKind),
                              &CScheduleEntry::m_nIndex,
                              {memos ? &m_arPcMemos : &m_arPcSchedules, memos ? &m_arOutlookMemos : &m_arOutlookSchedules});
}

void CMVsyncDoc::unlinkPhoneListIndex(int kind, int index, const CScheduleEntry* keep)
{
    const bool memos = kind == CScheduleEntry::KindMemo;
    docshared::Unlink(index, &CScheduleEntry::m_nIndex,
                      {memos ? &m_arPcMemos : &m_arPcSchedules, memos ? &m_arOutlookMemos : &m_arOutlookSchedules}, keep);
}

QString CMVsyncDoc::ModelTitle(int type)
{
    QString title = QStringLiteral("Zentra Deskhand");
    switch (type) {
    case CModelProfile::TypePilla: return title + QStringLiteral(" - Model Pilla");
    case CModelProfile::TypeTondav:
    case CModelProfile::TypeCorvo:
    case CModelProfile::TypeCorvoS2: return title + QStringLiteral(" - Model Corvo");
    case CModelProfile::TypeSarno: return title + QStringLiteral(" - Model Sarno");
    default: return title;
    }
}

QString CMVsyncDoc::GetTitle() const
{
    return ModelTitle(ModelProfile().GetModel());
}

} // namespace dh2
