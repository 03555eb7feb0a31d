#pragma once

// Deskhand2's records, group table and model profile as JSON, for deskhand2-link. Records are
// objects whose keys are the members' own names; see tools/json_members.h for the forms.
#include "link2/model_profile.h"
#include "link2/records.h"
#include "tools/json_members.h"

#include <QJsonArray>
#include <QJsonObject>

namespace dh2 {

QJsonObject RecordToJson(const CPhoneEntry& record);
QJsonObject RecordToJson(const CScheduleEntry& record);
QJsonObject RecordToJson(const CSmsEntry& record);
bool RecordFromJson(const QJsonValue& value, CPhoneEntry& record, QString* error);
bool RecordFromJson(const QJsonValue& value, CScheduleEntry& record, QString* error);
bool RecordFromJson(const QJsonValue& value, CSmsEntry& record, QString* error);

// The help text on the record files a user writes: their form, and the members of contacts,
// schedule entries and memos, and messages.
QString RecordFileUsage();

// [{"m_strName", "m_nMembers", "m_nCapacity"}, ...]
QJsonArray GroupsToJson(const GroupTable& groups);
// {"type": n, "callerGroups": 0|1, ..., "syncCharset": 0|1}: the features by kModelFeatureNames
QJsonObject ProfileToJson(const CModelProfile& profile);

} // namespace dh2
