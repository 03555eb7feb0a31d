// The local data file "msync.dat": the port, the baud rate, the model, the caller groups, the PC
// lists, the messages and the PIM-side lists. The phone lists are never stored.
#include "document2/mvsync_doc.h"

#include "link2/model_profile.h"
#include "platform/archive.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

namespace dh2 {

namespace {

// A file with this many groups or fewer holds no table of the phone's: the defaults stand.
constexpr int kFewestGroups = kGroupCount - 1;

} // namespace

// What one data file held. Lists hold the records read completely, also when the file broke
// off inside them.
struct LocalData {
    bool settingsRead = false;
    qint32 comPort = 1;
    qint32 baudRate = 19200;
    qint32 model = CModelProfile::TypeCorvo;
    bool groupsRead = false;
    GroupTable groups;
    RecordList<CPhoneEntry> pcContacts;
    RecordList<CScheduleEntry> pcSchedules;
    RecordList<CScheduleEntry> pcMemos;
    RecordList<CSmsEntry> messages;
    RecordList<CPhoneEntry> outlookContacts;
    RecordList<CScheduleEntry> outlookSchedules;
    RecordList<CScheduleEntry> outlookMemos;
    int listsStarted = 0; // how many of the seven lists were reached
    bool complete = false;
};

namespace {

LocalData readLocalData(CArchive& ar)
{
    LocalData data;
    ar >> data.comPort >> data.baudRate >> data.model;
    if (!ar.ok())
        return data;
    data.settingsRead = true;
    // Every name takes at least its length byte, so a count the bytes left cannot hold is false.
    qint32 count = 0;
    if (!ar.ReadCount(count, 1))
        return data;
    for (qint32 i = 0; i < count; ++i) {
        CGroupEntry group;
        group.Serialize(ar);
        if (!ar.ok())
            return data;
        data.groups.push_back(group);
    }
    data.groupsRead = true;

    // Records marked deleted are dropped as they are read.
    auto next = [&](auto& list) {
        ++data.listsStarted;
        return docshared::ReadRecordList(ar, list, true);
    };
    data.complete = next(data.pcContacts) && next(data.pcSchedules) && next(data.pcMemos) && next(data.messages)
                    && next(data.outlookContacts) && next(data.outlookSchedules) && next(data.outlookMemos)
                    && ar.ok();
    return data;
}

} // namespace

// Takes everything that was read completely: the settings, the groups, and the records of each
// list up to where the file broke off. A file too short to hold the settings changes nothing.
void CMVsyncDoc::ApplyLocalData(LocalData& data)
{
    if (!data.settingsRead)
        return;
    m_nComPort = data.comPort;
    m_nBaudRate = data.baudRate;
    ApplyPortSettings();
    ModelProfile().SetModel(data.model);
    DeleteAllRecords();
    g_arrGroups = std::move(data.groups);
    if (!data.groupsRead || int(g_arrGroups.size()) <= kFewestGroups)
        ResetDefaultGroups();
    auto keep = [reached = data.listsStarted](auto& target, auto& read, int position) {
        if (reached > position)
            target = std::move(read);
    };
    keep(m_arPcContacts, data.pcContacts, 0);
    keep(m_arPcSchedules, data.pcSchedules, 1);
    keep(m_arPcMemos, data.pcMemos, 2);
    keep(m_arMessages, data.messages, 3);
    keep(m_arOutlookContacts, data.outlookContacts, 4);
    keep(m_arOutlookSchedules, data.outlookSchedules, 5);
    keep(m_arOutlookMemos, data.outlookMemos, 6);
    NotifyChanged();
}

void CMVsyncDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << qint32(m_nComPort) << qint32(m_nBaudRate) << qint32(ModelProfile().GetModel());
        ar << qint32(g_arrGroups.size());
        for (CGroupEntry& group : g_arrGroups)
            group.Serialize(ar);
        docshared::WriteRecordLists(ar, m_arPcContacts, m_arPcSchedules, m_arPcMemos, m_arMessages, m_arOutlookContacts,
                                    m_arOutlookSchedules, m_arOutlookMemos);
        return;
    }
    // A file that is not whole changes nothing here; LoadLocalData keeps what it can.
    LocalData data = readLocalData(ar);
    if (data.complete)
        ApplyLocalData(data);
    else
        ar.SetFailed();
}

bool CMVsyncDoc::OnNewDocument()
{
    if (DataDir().isEmpty())
        SetDataDir(platform::DataDir(QStringLiteral("deskhand2")));
    platform::Sleep(1000);
    Q_EMIT closeSplash();
    LoadLocalData();
    return true;
}

bool CMVsyncDoc::LoadLocalData(const QByteArray& bytes)
{
    CArchive ar(bytes);
    return ReadLocalData(ar);
}

// The model the file holds names it in the title (through the profile); without a file the
// title stays bare until a phone is identified.
bool CMVsyncDoc::ReadLocalData(CArchive& ar)
{
    LocalData data = readLocalData(ar);
    ApplyLocalData(data);
    return data.complete;
}

} // namespace dh2
