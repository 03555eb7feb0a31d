#pragma once

#include "link/records.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <memory>
#include <optional>

// Records as JSON objects whose keys are the members' own names ("m_nIndex", "m_strName",
// ...): every archived member, and the members a phone read fills beside them (a contact's
// "m_nCopySource", a message's "m_strPdu" and "m_parts"). "m_dtStart" is written
// "YYYY-MM-DDTHH:MM:SS", null for a null date, and {"m_status": n, "m_dt": days} for one that
// names no calendar date (days a number, or "nan", "inf", "-inf").
//
// Reading is strict: a member of the wrong type, an unknown member or a value out of range is
// refused with a message naming the record and the member; a missing member keeps the
// record's default.

enum class RecordKind { Contact, Schedule, Memo, Message };

// "contact", "schedule", "memo", "message".
QString RecordKindName(RecordKind kind);
// The kind of a name as RecordKindName gives it; nothing for an unknown kind.
std::optional<RecordKind> RecordKindFromName(const QString& name);

QJsonObject RecordToJson(const CPhoneEntry& record);
QJsonObject RecordToJson(const CScheduleEntry& record);
QJsonObject RecordToJson(const CMemoEntry& record);
QJsonObject RecordToJson(const CSmsEntry& record);

bool RecordFromJson(const QJsonValue& value, CPhoneEntry& record, QString* error);
bool RecordFromJson(const QJsonValue& value, CScheduleEntry& record, QString* error);
bool RecordFromJson(const QJsonValue& value, CMemoEntry& record, QString* error);
bool RecordFromJson(const QJsonValue& value, CSmsEntry& record, QString* error);

// A record of the kind from its JSON form; nullptr (and the reason) when it is refused.
std::unique_ptr<CSyncRecord> RecordFromJson(RecordKind kind, const QJsonValue& value, QString* error);

template <typename Record>
QJsonArray RecordsToJson(const RecordList<Record>& list)
{
    QJsonArray array;
    for (const auto& record : list)
        array.append(RecordToJson(*record));
    return array;
}

// Appends the records of the array to the list; on the first refused one the list is left as
// it was and the reason names its position.
template <typename Record>
bool RecordsFromJson(const QJsonArray& array, RecordList<Record>& list, QString* error)
{
    RecordList<Record> read;
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

// The forms above, each read back to the same status and value (to the second for a date).
QJsonValue DateTimeToJson(const COleDateTime& dateTime);
bool DateTimeFromJson(const QJsonValue& value, COleDateTime& dateTime);

// The records of a JSON file: an array, or an object with a "records" array (so that a read's
// output can be fed back). Nothing, and the reason, for a file that is neither.
std::optional<QJsonArray> ReadRecordArrayFile(const QString& path, QString* error);
