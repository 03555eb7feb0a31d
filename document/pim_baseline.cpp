#include "document/pim_baseline.h"

#include "platform/archive.h"
#include "platform/folders.h"

#include <QCryptographicHash>
#include <QFile>

const QString CPimBaseline::kFileName = QStringLiteral("pimbase.dat");

namespace {

constexpr quint32 kMagic = 0x42504844; // "DHPB"
constexpr qint32 kVersion = 1;
constexpr auto kDigest = QCryptographicHash::Sha1;
constexpr qsizetype kDigestSize = 20;

// The smallest archived size of an entry of each kind: its strings empty.
constexpr int kMinContactBytes = 7;
constexpr int kMinScheduleBytes = 2 + 12 + 8;
constexpr int kMinMemoBytes = 2;

// Only what the exchange sends and reads is kept.
CPhoneEntry exchanged(const CPhoneEntry& r)
{
    CPhoneEntry v;
    v.m_strEntryID = r.m_strEntryID;
    v.m_strName = r.m_strName;
    v.m_strMobile = r.m_strMobile;
    v.m_strOffice = r.m_strOffice;
    v.m_strHome = r.m_strHome;
    v.m_strEmail = r.m_strEmail;
    v.m_strMemo = r.m_strMemo;
    return v;
}

CScheduleEntry exchanged(const CScheduleEntry& r)
{
    CScheduleEntry v;
    v.m_strEntryID = r.m_strEntryID;
    v.m_strSubject = r.m_strSubject;
    v.m_dtStart = r.m_dtStart;
    v.m_nRepeat = r.m_nRepeat;
    v.m_nAlarm = r.m_nAlarm;
    return v;
}

CMemoEntry exchanged(const CMemoEntry& r)
{
    CMemoEntry v;
    v.m_strEntryID = r.m_strEntryID;
    v.m_strText = r.m_strText;
    return v;
}

void serialize(CArchive& ar, CPhoneEntry& v)
{
    if (ar.IsStoring())
        ar << v.m_strEntryID << v.m_strName << v.m_strMobile << v.m_strOffice << v.m_strHome << v.m_strEmail
           << v.m_strMemo;
    else
        ar >> v.m_strEntryID >> v.m_strName >> v.m_strMobile >> v.m_strOffice >> v.m_strHome >> v.m_strEmail
            >> v.m_strMemo;
}

void serialize(CArchive& ar, CScheduleEntry& v)
{
    if (ar.IsStoring())
        ar << v.m_strEntryID << v.m_strSubject << v.m_dtStart << v.m_nRepeat << v.m_nAlarm;
    else
        ar >> v.m_strEntryID >> v.m_strSubject >> v.m_dtStart >> v.m_nRepeat >> v.m_nAlarm;
}

void serialize(CArchive& ar, CMemoEntry& v)
{
    if (ar.IsStoring())
        ar << v.m_strEntryID << v.m_strText;
    else
        ar >> v.m_strEntryID >> v.m_strText;
}

template <typename Record>
void store(CArchive& ar, const QHash<QString, Record>& table)
{
    ar << qint32(table.size());
    for (Record value : table)
        serialize(ar, value);
}

template <typename Record>
bool load(CArchive& ar, int minBytes, QHash<QString, Record>& table)
{
    qint32 count = 0;
    if (!ar.ReadCount(count, minBytes))
        return false;
    for (qint32 i = 0; i < count; ++i) {
        Record value;
        serialize(ar, value);
        if (!ar.ok() || value.m_strEntryID.isEmpty())
            return false;
        table.insert(value.m_strEntryID, value);
    }
    return true;
}

} // namespace

template <typename Record>
void CPimBaseline::replace(Table<Record>& table, const RecordList<Record>& read)
{
    table.clear();
    for (const auto& record : read) {
        if (!record->m_strEntryID.isEmpty())
            table.insert(record->m_strEntryID, exchanged(*record));
    }
}

template <typename Record>
void CPimBaseline::remember(Table<Record>& table, const Record& record, const QString& previousId)
{
    if (previousId != record.m_strEntryID)
        table.remove(previousId);
    if (!record.m_strEntryID.isEmpty())
        table.insert(record.m_strEntryID, exchanged(record));
}

void CPimBaseline::Replace(const RecordList<CPhoneEntry>& read)
{
    replace(m_contacts, read);
}

void CPimBaseline::Replace(const RecordList<CScheduleEntry>& read)
{
    replace(m_schedules, read);
}

void CPimBaseline::Replace(const RecordList<CMemoEntry>& read)
{
    replace(m_memos, read);
}

void CPimBaseline::Remember(const CPhoneEntry& record, const QString& previousId)
{
    remember(m_contacts, record, previousId);
}

void CPimBaseline::Remember(const CScheduleEntry& record, const QString& previousId)
{
    remember(m_schedules, record, previousId);
}

void CPimBaseline::Remember(const CMemoEntry& record, const QString& previousId)
{
    remember(m_memos, record, previousId);
}

void CPimBaseline::Clear()
{
    m_contacts.clear();
    m_schedules.clear();
    m_memos.clear();
}

QByteArray CPimBaseline::ToBytes() const
{
    CArchive ar;
    ar << kMagic << kVersion;
    store(ar, m_contacts);
    store(ar, m_schedules);
    store(ar, m_memos);
    return ar.Data() + QCryptographicHash::hash(ar.Data(), kDigest);
}

bool CPimBaseline::FromBytes(const QByteArray& bytes)
{
    Clear();
    if (bytes.size() < kDigestSize)
        return false;
    const QByteArray payload = bytes.left(bytes.size() - kDigestSize);
    if (QCryptographicHash::hash(payload, kDigest) != bytes.right(kDigestSize))
        return false;
    CArchive ar(payload);
    quint32 magic = 0;
    qint32 version = 0;
    ar >> magic >> version;
    const bool whole = ar.ok() && magic == kMagic && version == kVersion && load(ar, kMinContactBytes, m_contacts)
                       && load(ar, kMinScheduleBytes, m_schedules) && load(ar, kMinMemoBytes, m_memos)
                       && ar.BytesLeft() == 0;
    if (!whole)
        Clear();
    return whole;
}

bool CPimBaseline::Load(const QString& dir)
{
    Clear();
    QFile file(dir + kFileName);
    return file.open(QIODevice::ReadOnly) && FromBytes(file.readAll());
}

bool CPimBaseline::Save(const QString& dir) const
{
    const QString path = dir + kFileName;
    if (platform::WriteFileAtomically(path, ToBytes()))
        return true;
    QFile::remove(path);
    return false;
}
