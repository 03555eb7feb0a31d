#include "tools/record_json.h"

#include <QFile>
#include <QJsonDocument>

#include <QRegularExpression>

#include <algorithm>
#include <array>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

// One member of a record: how it is written and how it is read back.
template <typename Record>
struct Member {
    const char* name;
    std::function<QJsonValue(const Record&)> get;
    // False with the reason when the value does not fit the member.
    std::function<bool(const QJsonValue&, Record&, QString&)> set;
};

bool ReadInt(const QJsonValue& value, int& out, QString& why)
{
    const double number = value.toDouble(NAN);
    if (!value.isDouble() || std::floor(number) != number || number < INT_MIN || number > INT_MAX) {
        why = QStringLiteral("expected a whole number");
        return false;
    }
    out = int(number);
    return true;
}

bool ReadString(const QJsonValue& value, QString& out, QString& why)
{
    if (!value.isString()) {
        why = QStringLiteral("expected a string");
        return false;
    }
    out = value.toString();
    return true;
}

template <typename Record, typename Owner>
Member<Record> Int(const char* name, int Owner::*field)
{
    return {name, [field](const Record& r) { return QJsonValue(r.*field); },
        [field](const QJsonValue& v, Record& r, QString& why) { return ReadInt(v, r.*field, why); }};
}

template <typename Record, typename Owner>
Member<Record> String(const char* name, QString Owner::*field)
{
    return {name, [field](const Record& r) { return QJsonValue(r.*field); },
        [field](const QJsonValue& v, Record& r, QString& why) { return ReadString(v, r.*field, why); }};
}

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
        list.push_back({"m_dtStart", [](const CScheduleEntry& r) { return DateTimeToJson(r.m_dtStart); },
            [](const QJsonValue& v, CScheduleEntry& r, QString& why) {
                if (DateTimeFromJson(v, r.m_dtStart))
                    return true;
                why = QStringLiteral("expected \"YYYY-MM-DDTHH:MM:SS\", null or {\"m_status\", \"m_dt\"}");
                return false;
            }});
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

template <typename Record>
QJsonObject ToJson(const Record& record, const std::vector<Member<Record>>& members)
{
    QJsonObject object;
    for (const Member<Record>& member : members)
        object.insert(QLatin1String(member.name), member.get(record));
    return object;
}

// Reads into a copy, so that a refused object leaves the record as it was.
template <typename Record>
bool FromJson(const QJsonValue& value, Record& record, const std::vector<Member<Record>>& members, QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!value.isObject())
        return fail(QStringLiteral("expected an object"));
    const QJsonObject object = value.toObject();
    const auto copy = [&members](const Record& from, Record& to) {
        QString ignored;
        for (const Member<Record>& m : members)
            m.set(m.get(from), to, ignored);
    };
    Record read;
    copy(record, read);
    for (auto it = object.begin(); it != object.end(); ++it) {
        const auto member = std::find_if(members.begin(), members.end(),
            [&](const Member<Record>& m) { return it.key() == QLatin1String(m.name); });
        if (member == members.end())
            return fail(QStringLiteral("unknown member \"%1\"").arg(it.key()));
        QString why;
        if (!member->set(it.value(), read, why))
            return fail(QStringLiteral("\"%1\": %2").arg(it.key(), why));
    }
    copy(read, record);
    return true;
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

namespace {

const QLatin1String kStatusKey("m_status");
const QLatin1String kValueKey("m_dt");

// JSON has no numbers for these; a damaged file may hold them all the same.
const std::pair<double, const char*> kNonFinite[] = {
    {std::numeric_limits<double>::quiet_NaN(), "nan"},
    {std::numeric_limits<double>::infinity(), "inf"},
    {-std::numeric_limits<double>::infinity(), "-inf"},
};

QJsonValue RawValueToJson(double value)
{
    if (std::isfinite(value))
        return value;
    if (std::isnan(value))
        return QString::fromLatin1(kNonFinite[0].second);
    return QString::fromLatin1(value > 0 ? kNonFinite[1].second : kNonFinite[2].second);
}

bool RawValueFromJson(const QJsonValue& value, double& out)
{
    if (value.isDouble()) {
        out = value.toDouble();
        return true;
    }
    for (const auto& [number, name] : kNonFinite) {
        if (value.toString() == QLatin1String(name)) {
            out = number;
            return true;
        }
    }
    return false;
}

// The object form {"m_status": 0|1|2, "m_dt": days}: exactly the two members, nothing else.
bool RawDateTimeFromJson(const QJsonObject& object, COleDateTime& dateTime)
{
    double value = 0.0;
    int status = -1;
    QString why;
    if (object.size() != 2 || !RawValueFromJson(object.value(kValueKey), value)
        || !ReadInt(object.value(kStatusKey), status, why) || status < COleDateTime::valid || status > COleDateTime::null)
        return false;
    dateTime.m_dt = value;
    dateTime.SetStatus(COleDateTime::DateTimeStatus(status));
    return true;
}

} // namespace

QJsonValue DateTimeToJson(const COleDateTime& dateTime)
{
    if (dateTime.GetStatus() == COleDateTime::null && dateTime.m_dt == 0.0)
        return QJsonValue::Null;
    const int year = dateTime.GetYear();
    if (year >= 100 && year <= 9999) {
        return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d", year, dateTime.GetMonth(), dateTime.GetDay(),
            dateTime.GetHour(), dateTime.GetMinute(), dateTime.GetSecond());
    }
    // No calendar date (an invalid status, or a value out of the date range, as damaged or odd
    // files hold them): status and value as stored, so that writing them back keeps them.
    return QJsonObject {{kStatusKey, int(dateTime.GetStatus())}, {kValueKey, RawValueToJson(dateTime.m_dt)}};
}

bool DateTimeFromJson(const QJsonValue& value, COleDateTime& dateTime)
{
    if (value.isNull()) {
        dateTime = COleDateTime();
        dateTime.SetStatus(COleDateTime::null);
        return true;
    }
    if (value.isObject())
        return RawDateTimeFromJson(value.toObject(), dateTime);
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})$"));
    const QRegularExpressionMatch match = pattern.match(value.toString());
    if (!value.isString() || !match.hasMatch())
        return false;
    COleDateTime parsed;
    const auto part = [&](int n) { return match.captured(n).toInt(); };
    if (parsed.SetDateTime(part(1), part(2), part(3), part(4), part(5), part(6)) != 0)
        return false;
    dateTime = parsed;
    return true;
}

std::optional<QJsonArray> ReadRecordArrayFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (document.isNull()) {
        *error = QStringLiteral("%1: not JSON: %2 at offset %3").arg(path, parseError.errorString()).arg(parseError.offset);
        return std::nullopt;
    }
    if (document.isArray())
        return document.array();
    const QJsonValue records = document.object().value(QLatin1String("records"));
    if (!records.isArray()) {
        *error = QStringLiteral("%1: expected an array of records or an object with a \"records\" array").arg(path);
        return std::nullopt;
    }
    return records.toArray();
}
