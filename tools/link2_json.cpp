#include "tools/link2_json.h"

namespace dh2 {

namespace {

using namespace recordjson;

template <typename Record>
std::vector<Member<Record>> BaseMembers()
{
    return {
        Int<Record>("m_nIndex", &CSyncRecord::m_nIndex),
        String<Record>("m_strEntryID", &CSyncRecord::m_strEntryID),
        Int<Record>("m_nState", &CSyncRecord::m_nState),
        Int<Record>("m_nList", &CSyncRecord::m_nList),
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
        list.push_back(String<CPhoneEntry>("m_strFax", &CPhoneEntry::m_strFax));
        list.push_back(String<CPhoneEntry>("m_strEmail", &CPhoneEntry::m_strEmail));
        list.push_back(Int<CPhoneEntry>("m_nSimIndex", &CPhoneEntry::m_nSimIndex));
        list.push_back(Bool<CPhoneEntry>("m_bCountsInGroup", &CPhoneEntry::m_bCountsInGroup));
        list.push_back(Int<CPhoneEntry>("m_nGroup", &CPhoneEntry::m_nGroup));
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
        list.push_back(Int<CScheduleEntry>("m_nKind", &CScheduleEntry::m_nKind));
        return list;
    }();
    return members;
}

const std::vector<Member<CSmsEntry>>& MessageMembers()
{
    static const std::vector<Member<CSmsEntry>> members = [] {
        auto list = BaseMembers<CSmsEntry>();
        list.push_back(Int<CSmsEntry>("m_nStatus", &CSmsEntry::m_nStatus));
        list.push_back(String<CSmsEntry>("m_strText", &CSmsEntry::m_strText));
        list.push_back(String<CSmsEntry>("m_strNumber", &CSmsEntry::m_strNumber));
        list.push_back(String<CSmsEntry>("m_strName", &CSmsEntry::m_strName));
        list.push_back(String<CSmsEntry>("m_strDate", &CSmsEntry::m_strDate));
        list.push_back(String<CSmsEntry>("m_strTime", &CSmsEntry::m_strTime));
        return list;
    }();
    return members;
}

} // namespace

QJsonObject RecordToJson(const CPhoneEntry& record)
{
    return ToJson(record, PhoneMembers());
}

QJsonObject RecordToJson(const CScheduleEntry& record)
{
    return ToJson(record, ScheduleMembers());
}

QJsonObject RecordToJson(const CSmsEntry& record)
{
    return ToJson(record, MessageMembers());
}

bool RecordFromJson(const QJsonValue& value, CPhoneEntry& record, QString* error)
{
    return FromJson(value, record, PhoneMembers(), error);
}

bool RecordFromJson(const QJsonValue& value, CScheduleEntry& record, QString* error)
{
    return FromJson(value, record, ScheduleMembers(), error);
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
