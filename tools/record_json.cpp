#include "tools/record_json.h"

#include <array>

namespace dh1 {

using namespace recordjson;

namespace {

const Members<CPhoneEntry>& PhoneMembers()
{
    using R = CPhoneEntry;
    static const Members<R> members = WithBaseMembers<R>({
        String<R>("m_strAux", &R::m_strAux),
        String<R>("m_strName", &R::m_strName),
        String<R>("m_strMobile", &R::m_strMobile),
        String<R>("m_strOffice", &R::m_strOffice),
        String<R>("m_strHome", &R::m_strHome),
        String<R>("m_strEmail", &R::m_strEmail),
        String<R>("m_strMemo", &R::m_strMemo),
        Int<R>("m_nGroup", &R::m_nGroup),
        Int<R>("m_nSimIndex", &R::m_nSimIndex),
        String<R>("m_strExtra", &R::m_strExtra),
        Int<R>("m_nCopySource", &R::m_nCopySource),
    });
    return members;
}

const Members<CScheduleEntry>& ScheduleMembers()
{
    using R = CScheduleEntry;
    static const Members<R> members = WithBaseMembers<R>({
        String<R>("m_strAux", &R::m_strAux),
        String<R>("m_strSubject", &R::m_strSubject),
        DateTime<R>("m_dtStart", &R::m_dtStart),
        Int<R>("m_nRepeat", &R::m_nRepeat),
        Int<R>("m_nAlarm", &R::m_nAlarm),
    });
    return members;
}

const Members<CMemoEntry>& MemoMembers()
{
    using R = CMemoEntry;
    static const Members<R> members = WithBaseMembers<R>({
        String<R>("m_strAux", &R::m_strAux),
        String<R>("m_strText", &R::m_strText),
    });
    return members;
}

QJsonValue PartsToJson(const CSmsEntry& record)
{
    QJsonArray parts;
    for (const CSmsEntry::Part& part : record.m_parts) {
        parts.append(QJsonObject {{"m_nIndex", part.m_nIndex}, {"m_nStorage", part.m_nStorage}, {"m_strText", part.m_strText}});
    }
    return parts;
}

bool PartsFromJson(const QJsonValue& value, CSmsEntry& record, QString& why)
{
    if (!value.isArray() || value.toArray().size() > CSmsEntry::kPartCount) {
        why = QStringLiteral("expected an array of up to %1 parts").arg(CSmsEntry::kPartCount);
        return false;
    }
    const QJsonArray parts = value.toArray();
    std::array<CSmsEntry::Part, CSmsEntry::kPartCount> read {};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QJsonObject part = parts[i].toObject();
        if (!parts[i].isObject()) {
            why = QStringLiteral("part %1: expected an object").arg(i);
            return false;
        }
        for (auto it = part.begin(); it != part.end(); ++it) {
            QString reason;
            bool ok = false;
            if (it.key() == QLatin1String("m_nIndex"))
                ok = ReadInt(it.value(), read[i].m_nIndex, reason);
            else if (it.key() == QLatin1String("m_nStorage"))
                ok = ReadInt(it.value(), read[i].m_nStorage, reason);
            else if (it.key() == QLatin1String("m_strText"))
                ok = ReadString(it.value(), read[i].m_strText, reason);
            else
                reason = QStringLiteral("unknown member");
            if (!ok) {
                why = QStringLiteral("part %1, \"%2\": %3").arg(i).arg(it.key(), reason);
                return false;
            }
        }
    }
    record.m_parts = read;
    return true;
}

const Members<CSmsEntry>& MessageMembers()
{
    using R = CSmsEntry;
    static const Members<R> members = WithBaseMembers<R>({
        String<R>("m_strAux", &R::m_strAux),
        Int<R>("m_nStatus", &R::m_nStatus),
        String<R>("m_strText", &R::m_strText),
        String<R>("m_strNumber", &R::m_strNumber),
        String<R>("m_strName", &R::m_strName),
        String<R>("m_strDateTime", &R::m_strDateTime),
        String<R>("m_strPdu", &R::m_strPdu),
        Int<R>("m_nReserved", &R::m_nReserved),
        {"m_parts", PartsToJson, PartsFromJson},
    });
    return members;
}

} // namespace

QString RecordFileUsage()
{
    return recordjson::RecordFileUsage()
        + QStringLiteral(
            "  (m_nIndex of a write: -1 takes a free place; a sim write uses m_nSimIndex)\n"
            "Contacts (handset, sim, contacts) also have:\n"
            "  m_strName, m_strMobile (a SIM entry's one number), m_strOffice, m_strHome, m_strEmail,\n"
            "  m_strMemo (lines end in \\r\\n), m_nGroup (caller group 0-6, as \"groups\" of a read names\n"
            "  them), m_nSimIndex (the SIM place, -1 for a free one), m_nCopySource (the number a SIM\n"
            "  copy took: 1 mobile, 2 home, 3 office), m_strAux and m_strExtra (kept, unused)\n"
            "Schedule entries (schedules, appointments) also have:\n"
            "  m_strSubject, m_dtStart, m_nRepeat (0 none, 1 daily, 2 weekly, 3 monthly, 4 yearly),\n"
            "  m_nAlarm (0 none, 1 on time, 2 15 minutes, 3 30 minutes, 4 an hour, 5 a day before),\n"
            "  m_strAux\n"
            "Memos (memos, notes) also have:\n"
            "  m_strText, m_strAux\n");
}

QString RecordKindName(RecordKind kind)
{
    switch (kind) {
    case RecordKind::Contact: return QStringLiteral("contact");
    case RecordKind::Schedule: return QStringLiteral("schedule");
    case RecordKind::Memo: return QStringLiteral("memo");
    case RecordKind::Message: return QStringLiteral("message");
    }
    return {};
}

std::optional<RecordKind> RecordKindFromName(const QString& name)
{
    for (RecordKind kind : {RecordKind::Contact, RecordKind::Schedule, RecordKind::Memo, RecordKind::Message}) {
        if (name == RecordKindName(kind))
            return kind;
    }
    return std::nullopt;
}

QJsonObject RecordToJson(const CPhoneEntry& record) { return ToJson(record, PhoneMembers()); }
QJsonObject RecordToJson(const CScheduleEntry& record) { return ToJson(record, ScheduleMembers()); }
QJsonObject RecordToJson(const CMemoEntry& record) { return ToJson(record, MemoMembers()); }
QJsonObject RecordToJson(const CSmsEntry& record) { return ToJson(record, MessageMembers()); }

bool RecordFromJson(const QJsonValue& value, CPhoneEntry& record, QString* error)
{
    return FromJson(value, record, PhoneMembers(), error);
}

bool RecordFromJson(const QJsonValue& value, CScheduleEntry& record, QString* error)
{
    return FromJson(value, record, ScheduleMembers(), error);
}

bool RecordFromJson(const QJsonValue& value, CMemoEntry& record, QString* error)
{
    return FromJson(value, record, MemoMembers(), error);
}

bool RecordFromJson(const QJsonValue& value, CSmsEntry& record, QString* error)
{
    return FromJson(value, record, MessageMembers(), error);
}

std::unique_ptr<CSyncRecord> RecordFromJson(RecordKind kind, const QJsonValue& value, QString* error)
{
    const auto make = [&](auto record) -> std::unique_ptr<CSyncRecord> {
        if (!RecordFromJson(value, *record, error))
            return nullptr;
        return record;
    };
    switch (kind) {
    case RecordKind::Contact: return make(std::make_unique<CPhoneEntry>());
    case RecordKind::Schedule: return make(std::make_unique<CScheduleEntry>());
    case RecordKind::Memo: return make(std::make_unique<CMemoEntry>());
    case RecordKind::Message: return make(std::make_unique<CSmsEntry>());
    }
    return nullptr;
}

} // namespace dh1
