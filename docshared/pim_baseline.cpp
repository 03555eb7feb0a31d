#include "docshared/pim_baseline.h"

#include "docshared/data_file.h"
#include "platform/archive.h"

#include <QCryptographicHash>
#include <QFile>

namespace docshared {

namespace {

constexpr quint32 kMagic = 0x42504844; // "DHPB"
// Version 2 added the fax of a contact; version 1 files (without it) still read.
constexpr qint32 kVersion = 2;
constexpr qint32 kVersionWithoutFax = 1;
constexpr auto kDigest = QCryptographicHash::Sha1;
constexpr qsizetype kDigestSize = 20;

// The smallest archived size of an entry of each kind: its strings empty.
constexpr int kMinContactBytes = 7;
constexpr int kMinAppointmentBytes = 2 + 12 + 8;
constexpr int kMinNoteBytes = 2;

void serialize(CArchive& ar, QString& entryId, PimContactValues& v, qint32 version)
{
    if (ar.IsStoring()) {
        ar << entryId << v.name << v.mobile << v.office << v.home << v.email << v.memo << v.fax;
        return;
    }
    ar >> entryId >> v.name >> v.mobile >> v.office >> v.home >> v.email >> v.memo;
    if (version != kVersionWithoutFax)
        ar >> v.fax;
}

void serialize(CArchive& ar, QString& entryId, PimAppointmentValues& v, qint32)
{
    SerializeFields(ar, entryId, v.subject, v.start, v.repeat, v.alarm);
}

void serialize(CArchive& ar, QString& entryId, PimNoteValues& v, qint32)
{
    SerializeFields(ar, entryId, v.text);
}

template <typename Values>
void store(CArchive& ar, const QHash<QString, Values>& table)
{
    ar << qint32(table.size());
    for (auto it = table.constBegin(); it != table.constEnd(); ++it) {
        QString entryId = it.key();
        Values values = it.value();
        serialize(ar, entryId, values, kVersion);
    }
}

template <typename Values>
bool load(CArchive& ar, qint32 version, int minBytes, QHash<QString, Values>& table)
{
    qint32 count = 0;
    if (!ar.ReadCount(count, minBytes))
        return false;
    for (qint32 i = 0; i < count; ++i) {
        QString entryId;
        Values values;
        serialize(ar, entryId, values, version);
        if (!ar.ok() || entryId.isEmpty())
            return false;
        table.insert(entryId, values);
    }
    return true;
}

} // namespace

void CPimBaseline::Clear()
{
    m_contacts.clear();
    m_appointments.clear();
    m_notes.clear();
}

QByteArray CPimBaseline::ToBytes() const
{
    CArchive ar;
    ar << kMagic << kVersion;
    store(ar, m_contacts);
    store(ar, m_appointments);
    store(ar, m_notes);
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
    const bool whole = ar.ok() && magic == kMagic && (version == kVersion || version == kVersionWithoutFax)
                       && load(ar, version, kMinContactBytes, m_contacts)
                       && load(ar, version, kMinAppointmentBytes, m_appointments)
                       && load(ar, version, kMinNoteBytes, m_notes) && ar.BytesLeft() == 0;
    if (!whole)
        Clear();
    return whole;
}

bool CPimBaseline::Load(const QString& dir)
{
    Clear();
    QFile file(dir + m_strFileName);
    return file.open(QIODevice::ReadOnly) && FromBytes(file.readAll());
}

bool CPimBaseline::Save(const QString& dir, QString* error) const
{
    return SaveDataFile(dir + m_strFileName, ToBytes(), error);
}

} // namespace docshared
