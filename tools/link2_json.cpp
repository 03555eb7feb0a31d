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
    const std::array<bool, 8> flags = profile.Flags();
    for (size_t i = 0; i < flags.size(); ++i)
        object.insert(QStringLiteral("f%1").arg(i), flags[i] ? 1 : 0);
    return object;
}

} // namespace dh2
