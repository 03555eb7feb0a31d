// The local files: "mvsync.dat" (settings, group names, the PC and PIM-side lists), "mnum.dat"
// (names and numbers, written on every save, never read) and "config.ini" (infrared pacing).
#include "document/mvsync_doc.h"

#include "docshared/data_file.h"
#include "link/globals.h"
#include "platform/archive.h"
#include "platform/atoi.h"
#include "platform/folders.h"
#include "platform/profile.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <QDir>
#include <QFile>

#include <optional>

namespace dh1 {

namespace {

const QString kNumberFile = QStringLiteral("mnum.dat");
const QString kConfigFile = QStringLiteral("config.ini");

} // namespace

// What one data file held. Lists hold the records read completely, also when the file broke
// off inside them.
struct LocalData {
    bool settingsRead = false;
    qint32 comPort = 1;
    qint32 openDelayMs = 100;
    qint32 irComm = 0;
    qint32 irCommPort = 4;
    qint32 irCommTimeout = 20;
    QStringList groupNames;
    RecordList<CPhoneEntry> pcContacts;
    RecordList<CScheduleEntry> pcSchedules;
    RecordList<CMemoEntry> pcMemos;
    RecordList<CPhoneEntry> outlookContacts;
    RecordList<CScheduleEntry> outlookSchedules;
    RecordList<CMemoEntry> outlookMemos;
    int listsStarted = 0; // how many of the six lists were reached
    bool complete = false;
};

namespace {

LocalData readLocalData(CArchive& ar)
{
    LocalData data;
    ar >> data.comPort >> data.openDelayMs >> data.irComm >> data.irCommPort >> data.irCommTimeout;
    if (!ar.ok())
        return data;
    data.settingsRead = true;
    QStringList names;
    for (int i = 0; i < CMVsyncDoc::kGroupCount; ++i) {
        QString name;
        ar >> name;
        names << name;
    }
    if (!ar.ok())
        return data;
    data.groupNames = names;

    auto next = [&](auto& list, bool pimSide) {
        ++data.listsStarted;
        // PIM-side records deleted here were already removed from the PIM store.
        return docshared::ReadRecordList(ar, list, pimSide);
    };
    data.complete = next(data.pcContacts, false) && next(data.pcSchedules, false) && next(data.pcMemos, false)
                    && next(data.outlookContacts, true) && next(data.outlookSchedules, true)
                    && next(data.outlookMemos, true) && ar.ok();
    return data;
}

std::optional<int> profileInt(const platform::IniFile& ini, const QString& section, const char* key)
{
    // The profile reader's default marks an absent key.
    const QString absent = QStringLiteral("FALSE");
    const QString value = ini.Value(section, QLatin1String(key), absent);
    if (value == absent)
        return std::nullopt;
    return platform::Atoi(value);
}

} // namespace

// Takes everything that was read completely: the settings, the names, and the records of each
// list up to where the file broke off.
void CMVsyncDoc::ApplyLocalData(LocalData& data)
{
    if (data.settingsRead) {
        m_nComPort = data.comPort;
        m_session.m_nOpenDelayMs = data.openDelayMs;
        m_session.m_port.m_bIrComm = data.irComm == 1;
        m_nIrCommPort = data.irCommPort;
        m_nIrCommTimeout = data.irCommTimeout;
        ApplyLinkSettings();
    }
    if (data.groupNames.size() == kGroupCount)
        m_groupNames = data.groupNames;
    auto keep = [reached = data.listsStarted](auto& target, auto& read, int position) {
        if (reached > position)
            target = std::move(read);
    };
    keep(m_pcContacts, data.pcContacts, 0);
    keep(m_pcSchedules, data.pcSchedules, 1);
    keep(m_pcMemos, data.pcMemos, 2);
    keep(m_outlookContacts, data.outlookContacts, 3);
    keep(m_outlookSchedules, data.outlookSchedules, 4);
    keep(m_outlookMemos, data.outlookMemos, 5);
    SortSchedules(ListPc);
    SortSchedules(ListOutlook);
    NotifyChanged();
}

bool CMVsyncDoc::ReadLocalData(CArchive& ar)
{
    LocalData data = readLocalData(ar);
    ApplyLocalData(data);
    return data.complete;
}

void CMVsyncDoc::ApplyLinkSettings()
{
    m_session.SetPort(m_nComPort, 57600, 100);
    m_session.m_port.m_nIrCommPort = m_nIrCommPort;
    m_session.m_port.m_nIrCommTimeoutSec = m_nIrCommTimeout;
}

bool CMVsyncDoc::OnNewDocument()
{
    if (DataDir().isEmpty())
        SetDataDir(platform::DataDir(QStringLiteral("deskhand")));
    m_strTitle = QStringLiteral("Zentra Deskhand");
    ApplyLinkSettings();
    LoadLocalData();
    g_strProgramDir = platform::ProgramDir();
    ReadConfig();
    return true;
}

void CMVsyncDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << qint32(m_nComPort) << qint32(m_session.m_nOpenDelayMs) << qint32(m_session.m_port.m_bIrComm ? 1 : 0)
           << qint32(m_nIrCommPort) << qint32(m_nIrCommTimeout);
        for (int i = 0; i < kGroupCount; ++i)
            ar << GroupName(i);
        docshared::WriteRecordLists(ar, m_pcContacts, m_pcSchedules, m_pcMemos, m_outlookContacts, m_outlookSchedules,
                                    m_outlookMemos);
        return;
    }
    LocalData data = readLocalData(ar);
    if (!data.complete) {
        ar.SetFailed();
        return;
    }
    ApplyLocalData(data);
}

bool CMVsyncDoc::SaveNumberDirectory(QString* error)
{
    CArchive ar;
    for (const RecordList<CPhoneEntry>* list : {&m_pcContacts, &m_handsetContacts, &m_simContacts}) {
        qint32 live = 0;
        for (const auto& entry : *list)
            live += entry->IsDeleted() ? 0 : 1;
        ar << live;
        for (const auto& entry : *list) {
            if (!entry->IsDeleted())
                ar << entry->m_strName << entry->m_strMobile;
        }
    }
    return platform::WriteFileAtomically(DataDir() + kNumberFile, ar.Data(), error);
}

void CMVsyncDoc::SaveSideFiles(docshared::SaveFailures& failures)
{
    QString why;
    if (!SaveNumberDirectory(&why))
        failures.push_back({DataDir() + kNumberFile, why});
}

void CMVsyncDoc::ReadConfig()
{
    const QString path = DataDir() + kConfigFile;
    QString why;
    platform::IniFile ini;
    switch (platform::IniFile::Load(path, ini, &why)) {
    case platform::IniFile::Missing:
        ini = platform::IniFile(QStringLiteral("[IrComm]\r\nbyte=20\r\nsleep=20\r\n[IrComm2k]\r\nbyte=20\r\nsleep=20\r\n"));
        if (!ini.Save(path))
            return;
        break;
    case platform::IniFile::Unreadable:
        // Still the user's settings (their permissions may be wrong for now): never saved over.
        platform::AfxMessageBox(platform::LoadString(64004).arg(QDir::toNativeSeparators(path), why),
                                platform::MB_ICONWARNING);
        return;
    case platform::IniFile::Loaded:
        break;
    }
    // The file keeps a section per platform family; this one's is "IrComm2k".
    const QString section = QStringLiteral("IrComm2k");
    // Values that would stall or break the link count as absent.
    const std::optional<int> chunk = profileInt(ini, section, "byte");
    g_nIrCommChunk = chunk && *chunk > 0 ? *chunk : 20;
    const std::optional<int> pause = profileInt(ini, section, "sleep");
    g_nIrCommPause = pause && *pause >= 0 ? std::min(*pause, 1000) : 20;
    const std::optional<int> timeout = profileInt(ini, section, "timeout");
    if (timeout && *timeout > 0)
        g_nIrCommTimeout = *timeout;
}

} // namespace dh1
