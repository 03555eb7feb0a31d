#pragma once

// Records as JSON objects whose keys are the members' own names, for both programs' tools: a
// table of members per record class says how each is written and read back. Reading is strict:
// a member of the wrong type, an unknown member or a value out of range is refused with a
// message naming the member; a missing member keeps the record's default.
#include "common/sync_record.h"
#include "platform/ole_date_time.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace recordjson {

// One member of a record: how it is written and how it is read back.
template <typename Record>
struct Member {
    const char* name;
    std::function<QJsonValue(const Record&)> get;
    // False with the reason when the value does not fit the member.
    std::function<bool(const QJsonValue&, Record&, QString&)> set;
};

bool ReadInt(const QJsonValue& value, int& out, QString& why);
bool ReadString(const QJsonValue& value, QString& out, QString& why);
bool ReadBool(const QJsonValue& value, bool& out, QString& why);

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

template <typename Record, typename Owner>
Member<Record> Bool(const char* name, bool Owner::*field)
{
    return {name, [field](const Record& r) { return QJsonValue(r.*field); },
        [field](const QJsonValue& v, Record& r, QString& why) { return ReadBool(v, r.*field, why); }};
}

template <typename Record>
using Members = std::vector<Member<Record>>;

// The members every record of both programs has (common::CSyncRecordBase), then the class's own.
template <typename Record>
Members<Record> WithBaseMembers(std::initializer_list<Member<Record>> own)
{
    Members<Record> members {
        Int<Record>("m_nIndex", &common::CSyncRecordBase::m_nIndex),
        String<Record>("m_strEntryID", &common::CSyncRecordBase::m_strEntryID),
        Int<Record>("m_nState", &common::CSyncRecordBase::m_nState),
        Int<Record>("m_nList", &common::CSyncRecordBase::m_nList),
    };
    members.insert(members.end(), own);
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


// "YYYY-MM-DDTHH:MM:SS", null for a null date, and {"m_status": n, "m_dt": days} for one that
// names no calendar date (days a number, or "nan", "inf", "-inf"); each read back to the same
// status and value (to the second for a date).
QJsonValue DateTimeToJson(const COleDateTime& dateTime);
bool DateTimeFromJson(const QJsonValue& value, COleDateTime& dateTime);

template <typename Record>
Member<Record> DateTime(const char* name, COleDateTime Record::*field)
{
    return {name, [field](const Record& r) { return DateTimeToJson(r.*field); },
        [field](const QJsonValue& v, Record& r, QString& why) {
            if (DateTimeFromJson(v, r.*field))
                return true;
            why = QStringLiteral("expected \"YYYY-MM-DDTHH:MM:SS\", null or {\"m_status\", \"m_dt\"}");
            return false;
        }};
}

// Each record by the RecordToJson and RecordFromJson of its class.
template <typename Record>
QJsonArray RecordsToJson(const std::vector<std::unique_ptr<Record>>& list)
{
    QJsonArray array;
    for (const auto& record : list)
        array.append(RecordToJson(*record));
    return array;
}

// Appends the records of the array to the list; on the first refused one the list is left as
// it was and the reason names its position.
template <typename Record>
bool RecordsFromJson(const QJsonArray& array, std::vector<std::unique_ptr<Record>>& list, QString* error)
{
    std::vector<std::unique_ptr<Record>> read;
    for (qsizetype i = 0; i < array.size(); ++i) {
        auto record = std::make_unique<Record>();
        QString reason;
        if (!RecordFromJson(array[i], *record, &reason)) {
            if (error)
                *error = QStringLiteral("record %1: %2").arg(i).arg(reason);
            return false;
        }
        read.push_back(std::move(record));
    }
    for (auto& record : read)
        list.push_back(std::move(record));
    return true;
}

// The records of a JSON file: an array, or an object with a "records" array (so that a read's
// output can be fed back). Nothing, and the reason, for a file that is neither.
std::optional<QJsonArray> ReadRecordArrayFile(const QString& path, QString* error);

// The object of a JSON file; nothing, and the reason, for a file that holds none.
std::optional<QJsonObject> ReadObjectFile(const QString& path, QString* error);

// A whole number under the key, into target; an absent key leaves it. False, and the reason
// naming the key, for any other value.
bool IntFromJson(const QJsonObject& object, const char* key, int& target, QString* error);

// The records of the array under the key, appended to the list; an absent key adds nothing.
// False, and the reason naming the key and the record, for anything else.
template <typename Record>
bool ListFromJson(const QJsonObject& object, const char* key, std::vector<std::unique_ptr<Record>>& list, QString* error)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        return true;
    QString reason = QStringLiteral("expected an array");
    if (value.isArray() && RecordsFromJson(value.toArray(), list, &reason))
        return true;
    *error = QStringLiteral("%1: %2").arg(QLatin1String(key), reason);
    return false;
}

// False, and the reason, when the object has a key outside the known ones.
bool OnlyKnownKeys(const QJsonObject& object, const QStringList& known, QString* error);

// The help text on record files, their dates and the members every record has; each program's
// help goes on with its own records' members.
QString RecordFileUsage();

} // namespace recordjson
