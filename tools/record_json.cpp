#include "tools/record_json.h"

#include <array>

using namespace recordjson;

namespace {

template <typename Record>
std::vector<Member<Record>> BaseMembers()
{
    return {
        Int<Record>("m_nIndex", &CSyncRecord::m_nIndex),
        String<Record>("m_strEntryID", &CSyncRecord::m_strEntryID),
        Int<Record>("m_nState", &CSyncRecord::m_nState),
        Int<Record>("m_nList", &CSyncRecord::m_nList),
        String<Record>("m_strAux", &CSyncRecord::m_strAux),
    };
}

const std::vector<Member<CPhoneEntry>>& PhoneMembers()
{
    static const std::vector<Member<CPhoneEntry>> members = [] {
        auto list = BaseMembers<CPhoneEntry>();
        list.push_back(String<CPhoneEntry>("m_strName", &CPhoneEntry::m_strName));
        list.push_back(String<CPhoneEntry>("m_strMobile", &CPhoneEntry::m_strMobile));
        list.push_back(String<CPhoneEntry>("m_strOffice", &CPhoneEntry::m_strOffice));
        list.push_back(String<CPhoneEntry>("m_strHome", &CPhoneEntry::m_strHome));
        list.push_back(String<CPhoneEntry>("m_strEmail", &CPhoneEntry::m_strEmail));
        list.push_back(String<CPhoneEntry>("m_strMemo", &CPhoneEntry::m_strMemo));
        list.push_back(Int<CPhoneEntry>("m_nGroup", &CPhoneEntry::m_nGroup));
        list.push_back(Int<CPhoneEntry>("m_nSimIndex", &CPhoneEntry::m_nSimIndex));
        list.push_back(String<CPhoneEntry>("m_strExtra", &CPhoneEntry::m_strExtra));
        list.push_back(Int<CPhoneEntry>("m_nCopySource", &CPhoneEntry::m_nCopySource));
        return list;
    }();
    return members;
}

const std::vector<Member<CScheduleEntry>>& ScheduleMembers()
{
    static const std::vector<Member<CScheduleEntry>> members = [] {
        auto list = BaseMembers<CScheduleEntry>();
        list.push_back(String<CScheduleEntry>("m_strSubject", &CScheduleEntry::m_strSubject));
        list.push_back(DateTime<CScheduleEntry>("m_dtStart", &CScheduleEntry::m_dtStart));
        list.push_back(Int<CScheduleEntry>("m_nRepeat", &CScheduleEntry::m_nRepeat));
        list.push_back(Int<CScheduleEntry>("m_nAlarm", &CScheduleEntry::m_nAlarm));
        return list;
    }();
    return members;
}

const std::vector<Member<CMemoEntry>>& MemoMembers()
{
    static const std::vector<Member<CMemoEntry>> members = [] {
        auto list = BaseMembers<CMemoEntry>();
        list.push_back(String<CMemoEntry>("m_strText", &CMemoEntry::m_strText));
        return list;
    }();
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

const std::vector<Member<CSmsEntry>>& MessageMembers()
{
    static const std::vector<Member<CSmsEntry>> members = [] {
        auto list = BaseMembers<CSmsEntry>();
        list.push_back(Int<CSmsEntry>("m_nStatus", &CSmsEntry::m_nStatus));
        list.push_back(String<CSmsEntry>("m_strText", &CSmsEntry::m_strText));
        list.push_back(String<CSmsEntry>("m_strNumber", &CSmsEntry::m_strNumber));
        list.push_back(String<CSmsEntry>("m_strName", &CSmsEntry::m_strName));
        list.push_back(String<CSmsEntry>("m_strDateTime", &CSmsEntry::m_strDateTime));
        list.push_back(String<CSmsEntry>("m_strPdu", &CSmsEntry::m_strPdu));
        list.push_back(Int<CSmsEntry>("m_nReserved", &CSmsEntry::m_nReserved));
        list.push_back({"m_parts", PartsToJson, PartsFromJson});
        return list;
    }();
    return members;
}

} // namespace

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

