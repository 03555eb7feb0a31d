#include "tools/link2_json.h"

namespace dh2 {

namespace {

using namespace recordjson;

const Members<CPhoneEntry>& PhoneMembers()
{
    using R = CPhoneEntry;
    static const Members<R> members = WithBaseMembers<R>({
        String<R>("m_strName", &R::m_strName),
        String<R>("m_strMobile", &R::m_strMobile),
        String<R>("m_strOffice", &R::m_strOffice),
        String<R>("m_strHome", &R::m_strHome),
        String<R>("m_strFax", &R::m_strFax),
        String<R>("m_strEmail", &R::m_strEmail),
        Int<R>("m_nSimIndex", &R::m_nSimIndex),
        Bool<R>("m_bCountsInGroup", &R::m_bCountsInGroup),
        Int<R>("m_nGroup", &R::m_nGroup),
    });
    return members;
}

const Members<CScheduleEntry>& ScheduleMembers()
{
    using R = CScheduleEntry;
    static const Members<R> members = WithBaseMembers<R>({
        String<R>("m_strSubject", &R::m_strSubject),
        DateTime<R>("m_dtStart", &R::m_dtStart),
        Int<R>("m_nRepeat", &R::m_nRepeat),
        Int<R>("m_nAlarm", &R::m_nAlarm),
        Int<R>("m_nKind", &R::m_nKind),
    });
    return members;
}

const Members<CSmsEntry>& MessageMembers()
{
    using R = CSmsEntry;
    static const Members<R> members = WithBaseMembers<R>({
        Int<R>("m_nStatus", &R::m_nStatus),
        String<R>("m_strText", &R::m_strText),
        String<R>("m_strNumber", &R::m_strNumber),
        String<R>("m_strName", &R::m_strName),
        String<R>("m_strDate", &R::m_strDate),
        String<R>("m_strTime", &R::m_strTime),
    });
    return members;
}

} // namespace

QString RecordFileUsage()
{
    return recordjson::RecordFileUsage()
        + QStringLiteral(
            "  (m_nIndex of a handset write: 1 up to the book's size; of a schedules write: 0-19)\n"
            "Contacts (handset, sim, contacts) also have:\n"
            "  m_strName, m_strMobile (a SIM entry's one number), m_strOffice, m_strHome, m_strFax,\n"
            "  m_strEmail, m_nSimIndex (the SIM place for a sim write, from 1), m_nGroup (a place in\n"
            "  the phone's group table, as \"read groups\" lists it; 7 none), m_bCountsInGroup (true once\n"
            "  a write counted the entry in its group)\n"
            "Schedule entries and memos (schedules, appointments, notes) also have:\n"
            "  m_nKind (1 schedule entry, 2 memo), m_strSubject (a memo's text), m_dtStart,\n"
            "  m_nRepeat (0 once, 1 daily, 2 weekly, 3 monthly, 4 yearly),\n"
            "  m_nAlarm (0 none, 1 on time, 2 10 minutes, 3 30 minutes, 4 an hour, 5 a day before)\n"
            "Messages (m_arMessages of data write) also have:\n"
            "  m_nStatus (1 unsent, 2 sent, 3 unread, 4 read), m_strText, m_strNumber, m_strName,\n"
            "  m_strDate, m_strTime (texts as the phone gave them)\n");
}

QJsonObject RecordToJson(const CPhoneEntry& record) { return ToJson(record, PhoneMembers()); }
QJsonObject RecordToJson(const CScheduleEntry& record) { return ToJson(record, ScheduleMembers()); }
QJsonObject RecordToJson(const CSmsEntry& record) { return ToJson(record, MessageMembers()); }

bool RecordFromJson(const QJsonValue& value, CPhoneEntry& record, QString* error)
{
    return FromJson(value, record, PhoneMembers(), error);
}

bool RecordFromJson(const QJsonValue& value, CScheduleEntry& record, QString* error)
{
    return FromJson(value, record, ScheduleMembers(), error);
}

bool RecordFromJson(const QJsonValue& value, CSmsEntry& record, QString* error)
{
    return FromJson(value, record, MessageMembers(), error);
}

QJsonArray GroupsToJson(const GroupTable& groups)
{
    QJsonArray array;
    for (const CGroupEntry& group : groups)
        array.append(QJsonObject {{"m_strName", group.m_strName}, {"m_nMembers", group.m_nMembers}, {"m_nCapacity", group.m_nCapacity}});
    return array;
}

QJsonObject ProfileToJson(const CModelProfile& profile)
{
    QJsonObject object {{"type", profile.GetModel()}};
    for (const ModelFeatureName& feature : kModelFeatureNames)
        object.insert(QLatin1String(feature.name), profile.*feature.member ? 1 : 0);
    return object;
}

} // namespace dh2
