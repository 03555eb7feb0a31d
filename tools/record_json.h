#pragma once

#include "link/records.h"
#include "tools/json_members.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <memory>
#include <optional>

namespace dh1 {

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

// The help text on the record files a user writes: their form, and the members of contacts,
// schedule entries and memos.
QString RecordFileUsage();

// The list, date and file forms of both programs' tools.
using recordjson::DateTimeFromJson;
using recordjson::DateTimeToJson;
using recordjson::ReadRecordArrayFile;
using recordjson::RecordsFromJson;
using recordjson::RecordsToJson;

} // namespace dh1
