#include "tools/record_json.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace dh1;

namespace {

QJsonObject Parse(const char* json)
{
    return QJsonDocument::fromJson(json).object();
}

TEST(RecordJson, EveryMemberRoundTrips)
{
    CPhoneEntry contact;
    contact.m_nIndex = 4;
    contact.m_strEntryID = QStringLiteral("uid-1");
    contact.m_nState = 2;
    contact.m_nList = 3;
    contact.m_strAux = QStringLiteral("aux");
    contact.m_nSimIndex = 9;
    contact.m_strName = QStringLiteral("王小明");
    contact.m_strMobile = QStringLiteral("+86138");
    contact.m_strOffice = QStringLiteral("010");
    contact.m_strHome = QStringLiteral("020");
    contact.m_strEmail = QStringLiteral("w@x");
    contact.m_strExtra = QStringLiteral("extra");
    contact.m_strMemo = QStringLiteral("a\r\nb");
    contact.m_nGroup = 1;
    contact.m_nCopySource = 2;
    const QJsonObject json = RecordToJson(contact);
    EXPECT_EQ(json.keys(), QStringList({"m_nCopySource", "m_nGroup", "m_nIndex", "m_nList", "m_nSimIndex", "m_nState", "m_strAux",
                               "m_strEmail", "m_strEntryID", "m_strExtra", "m_strHome", "m_strMemo", "m_strMobile", "m_strName",
                               "m_strOffice"}));
    CPhoneEntry back;
    ASSERT_TRUE(RecordFromJson(json, back, nullptr));
    EXPECT_EQ(RecordToJson(back), json);
    EXPECT_EQ(back.m_strEntryID, QStringLiteral("uid-1"));
    EXPECT_EQ(back.m_nCopySource, 2);

    CScheduleEntry schedule;
    schedule.m_nIndex = 3;
    schedule.m_strSubject = QStringLiteral("Dentist");
    schedule.m_dtStart = COleDateTime(2004, 3, 7, 9, 5, 30);
    schedule.m_nRepeat = 2;
    schedule.m_nAlarm = 4;
    const QJsonObject scheduleJson = RecordToJson(schedule);
    EXPECT_EQ(scheduleJson.value(QLatin1String("m_dtStart")), QJsonValue(QStringLiteral("2004-03-07T09:05:30")));
    CScheduleEntry scheduleBack;
    ASSERT_TRUE(RecordFromJson(scheduleJson, scheduleBack, nullptr));
    EXPECT_EQ(scheduleBack.m_dtStart, schedule.m_dtStart);
    EXPECT_EQ(RecordToJson(scheduleBack), scheduleJson);

    CMemoEntry memo;
    memo.m_strText = QStringLiteral("note");
    memo.m_strAux = QStringLiteral("x");
    CMemoEntry memoBack;
    ASSERT_TRUE(RecordFromJson(RecordToJson(memo), memoBack, nullptr));
    EXPECT_EQ(RecordToJson(memoBack), RecordToJson(memo));

    CSmsEntry message;
    message.m_nStatus = 3;
    message.m_strText = QStringLiteral("hi");
    message.m_strNumber = QStringLiteral("+1");
    message.m_strName = QStringLiteral("Bob");
    message.m_strDateTime = QStringLiteral("04/03/07");
    message.m_strPdu = QStringLiteral("0011");
    message.m_nReserved = 5;
    message.m_parts[0] = {7, 4, QStringLiteral("part")};
    const QJsonObject messageJson = RecordToJson(message);
    CSmsEntry messageBack;
    ASSERT_TRUE(RecordFromJson(messageJson, messageBack, nullptr));
    EXPECT_EQ(RecordToJson(messageBack), messageJson);
    EXPECT_EQ(messageBack.m_parts[0].m_nStorage, 4);
    EXPECT_EQ(messageBack.m_parts[1].m_nIndex, -1);
}

TEST(RecordJson, MissingMembersKeepTheDefaults)
{
    CPhoneEntry contact;
    ASSERT_TRUE(RecordFromJson(Parse(R"({"m_strName": "Zed"})"), contact, nullptr));
    EXPECT_EQ(contact.m_strName, QStringLiteral("Zed"));
    EXPECT_EQ(contact.m_nIndex, -1);
    EXPECT_EQ(contact.m_nGroup, 6);

    CScheduleEntry schedule;
    const COleDateTime made = schedule.m_dtStart;
    ASSERT_TRUE(RecordFromJson(Parse("{}"), schedule, nullptr));
    EXPECT_EQ(schedule.m_dtStart, made);
    ASSERT_TRUE(RecordFromJson(Parse(R"({"m_dtStart": null})"), schedule, nullptr));
    EXPECT_EQ(schedule.m_dtStart.GetStatus(), COleDateTime::null);
    EXPECT_TRUE(RecordToJson(schedule).value(QLatin1String("m_dtStart")).isNull());
}

TEST(RecordJson, RefusesBadInputAndSaysWhy)
{
    const struct {
        RecordKind kind;
        const char* json;
        const char* error;
    } cases[] = {
        {RecordKind::Contact, R"({"m_strname": "x"})", "unknown member \"m_strname\""},
        {RecordKind::Contact, R"({"m_nIndex": "4"})", "\"m_nIndex\": expected a whole number"},
        {RecordKind::Contact, R"({"m_nIndex": 1.5})", "\"m_nIndex\": expected a whole number"},
        {RecordKind::Contact, R"({"m_nIndex": 3000000000})", "\"m_nIndex\": expected a whole number"},
        {RecordKind::Contact, R"({"m_strName": 7})", "\"m_strName\": expected a string"},
        {RecordKind::Contact, R"({"m_strName": null})", "\"m_strName\": expected a string"},
        {RecordKind::Schedule, R"({"m_dtStart": "2004-03-07 09:05"})", "\"m_dtStart\": expected \"YYYY-MM-DDTHH:MM:SS\", null or"},
        {RecordKind::Schedule, R"({"m_dtStart": {"m_status": 3, "m_dt": 1}})", "\"m_dtStart\": expected"},
        {RecordKind::Schedule, R"({"m_dtStart": {"m_status": 0}})", "\"m_dtStart\": expected"},
        {RecordKind::Schedule, R"({"m_dtStart": "2004-02-30T09:05:00"})", "\"m_dtStart\": expected"},
        {RecordKind::Memo, R"({"m_strSubject": ""})", "unknown member \"m_strSubject\""},
        {RecordKind::Message, R"({"m_parts": [{}, {}, {}, {}, {}]})", "\"m_parts\": expected an array of up to 4 parts"},
        {RecordKind::Message, R"({"m_parts": [{"m_nSlot": 1}]})", "\"m_parts\": part 0, \"m_nSlot\": unknown member"},
        {RecordKind::Message, R"({"m_parts": [3]})", "\"m_parts\": part 0: expected an object"},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_EQ(RecordFromJson(c.kind, Parse(c.json), &error), nullptr) << c.json;
        EXPECT_TRUE(error.startsWith(QString::fromLatin1(c.error))) << c.json << " -> " << error.toStdString();
    }
    QString error;
    EXPECT_EQ(RecordFromJson(RecordKind::Memo, QJsonValue(3), &error), nullptr);
    EXPECT_EQ(error, QStringLiteral("expected an object"));

    // A refused object leaves the record as it was.
    CPhoneEntry contact;
    contact.m_strName = QStringLiteral("kept");
    EXPECT_FALSE(RecordFromJson(Parse(R"({"m_strName": "new", "m_nGroup": "x"})"), contact, nullptr));
    EXPECT_EQ(contact.m_strName, QStringLiteral("kept"));
}

TEST(RecordJson, ListsAndKinds)
{
    RecordList<CMemoEntry> list;
    list.push_back(std::make_unique<CMemoEntry>());
    QString error;
    const QJsonArray bad = QJsonDocument::fromJson(R"([{"m_strText": "a"}, {"m_strText": 1}])").array();
    EXPECT_FALSE(RecordsFromJson(bad, list, &error));
    EXPECT_EQ(error, QStringLiteral("record 1: \"m_strText\": expected a string"));
    EXPECT_EQ(list.size(), 1u);
    const QJsonArray good = QJsonDocument::fromJson(R"([{"m_strText": "a"}, {"m_strText": "b"}])").array();
    ASSERT_TRUE(RecordsFromJson(good, list, &error));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(RecordsToJson(list)[2].toObject().value(QLatin1String("m_strText")), QJsonValue(QStringLiteral("b")));

    for (RecordKind kind : {RecordKind::Contact, RecordKind::Schedule, RecordKind::Memo, RecordKind::Message}) {
        EXPECT_EQ(RecordKindFromName(RecordKindName(kind)), kind);
    }
    EXPECT_EQ(RecordKindFromName(QStringLiteral("contacts")), std::nullopt);
    EXPECT_NE(dynamic_cast<CScheduleEntry*>(RecordFromJson(RecordKind::Schedule, QJsonObject(), nullptr).get()), nullptr);
}

} // namespace
