// Schedule entries and memos against the simulated phone.
#include "phone_session_fixture.h"

namespace {

using phonesim::Fault;
using phonesim::ScheduleItem;

class OrganizerTest : public PhoneSessionTest {
protected:
    static COleDateTime At(int year, int month, int day, int hour, int minute)
    {
        return COleDateTime(year, month, day, hour, minute, 0);
    }
};

TEST_F(OrganizerTest, ReadSchedules)
{
    auto& store = phone.state().schedules;
    store.first = 1;
    store.last = 25;
    store.textLength = 24;
    store.entries[3] = ScheduleItem {QDateTime(QDate(2004, 12, 31), QTime(23, 59)), 4, 5, QStringLiteral("Year's end\nparty")};
    store.entries[7] = ScheduleItem {QDateTime(QDate(2004, 3, 7), QTime(9, 5)), 0, 0, QStringLiteral("牙医")};

    RecordList<CScheduleEntry> list;
    ASSERT_TRUE(session.ReadSchedules(list));
    EXPECT_EQ(commands().mid(5), QStringList({"AT+CXDR=?", "AT+CXDR=1,25", "AT+SYNCSTOP", "ATE1", "AT+CSCS=\"IRA\""}));
    // The first step has no numbers yet.
    EXPECT_EQ(progress.steps,
        QStringList({"Connecting to mobile", "Reading schedules", "Reading schedules 1~25", "Closing connection"}));
    EXPECT_EQ(g_nScheduleCapacity, 25);
    EXPECT_EQ(g_nScheduleTextLen, 24);

    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->m_nIndex, 3);
    EXPECT_EQ(list[0]->m_nRepeat, 4);
    EXPECT_EQ(list[0]->m_nAlarm, 5);
    EXPECT_EQ(list[0]->m_dtStart, At(2004, 12, 31, 23, 59));
    EXPECT_EQ(list[0]->m_strSubject, QStringLiteral("Year's end\r\nparty"));
    EXPECT_EQ(list[0]->m_nList, 3);
    EXPECT_EQ(list[1]->m_dtStart, At(2004, 3, 7, 9, 5));
    EXPECT_EQ(list[1]->m_strSubject, QStringLiteral("牙医"));
}

TEST_F(OrganizerTest, ScheduleRepliesThatDoNotParse)
{
    RecordList<CScheduleEntry> list;
    // A date the phone garbled stays visible as an invalid start.
    phone.injectFault("AT+CXDR=1,30", Fault::reply("\r\n+CXDR: 1,0,0,\"041399\",\"2561\",\"\"\r\n\r\nOK\r\n"), 1);
    ASSERT_TRUE(session.ReadSchedules(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->m_dtStart.GetStatus(), COleDateTime::invalid);

    const struct {
        const char* command;
        const char* reply;
        int result;
    } cases[] = {
        {"AT+CXDR=1,30", "\r\n+CXDR: 1,0,0,\"040307\",\"0905\"\r\n\r\nOK\r\n", SESSION_BAD_REPLY},
        {"AT+CXDR=?", "\r\n+CXDR: 30\r\n\r\nOK\r\n", SESSION_BAD_REPLY},
        {"AT+CXDR=?", "\r\nERROR\r\n", AT_ERROR},
    };
    for (const auto& c : cases) {
        list.clear();
        phone.injectFault(c.command, Fault::reply(c.reply), 1);
        EXPECT_EQ(session.ReadSchedules(list), c.result == AT_OK) << c.reply;
        EXPECT_EQ(session.m_nResult, c.result) << c.reply;
        EXPECT_FALSE(session.m_bConnected);
    }
}

TEST_F(OrganizerTest, ScheduleDateAndWeekday)
{
    const struct {
        COleDateTime start;
        const char* date;
        const char* time;
    } cases[] = {
        {At(2004, 3, 7, 9, 5), "04030700", "0905"},   // Sunday
        {At(2004, 3, 8, 0, 0), "04030801", "0000"},   // Monday
        {At(2004, 3, 13, 23, 59), "04031306", "2359"}, // Saturday
        {At(2000, 1, 1, 0, 0), "00010106", "0000"},
        {At(2099, 12, 31, 23, 59), "99123104", "2359"},
        {At(2024, 2, 29, 12, 30), "24022904", "1230"},
    };
    for (const auto& c : cases) {
        CScheduleEntry record;
        record.m_dtStart = c.start;
        record.m_nRepeat = 2;
        record.m_nAlarm = 3;
        record.m_strSubject = QStringLiteral("A");
        EXPECT_EQ(session.BuildScheduleWrite(record),
            QByteArray("AT+CXDW=,2,3,\"") + c.date + "\",\"" + c.time + "\",\"QQAAAA==\"\r")
            << c.date;
    }
}

TEST_F(OrganizerTest, StartsOutsideTheDateFieldAreNotSent)
{
    ASSERT_TRUE(session.Connect());
    const struct {
        COleDateTime start;
        bool sent;
    } cases[] = {
        {At(1999, 12, 31, 23, 59), false},
        {At(2100, 1, 1, 0, 0), false},
        {COleDateTime(), false}, // 30 December 1899
        {At(2000, 1, 1, 0, 0), true},
        {At(2099, 12, 31, 23, 59), true},
    };
    for (const auto& c : cases) {
        phone.clearCommandLog();
        CScheduleEntry record;
        record.m_dtStart = c.start;
        EXPECT_EQ(session.WriteSchedule(record), c.sent);
        EXPECT_EQ(commands().size(), c.sent ? 1 : 0);
        EXPECT_EQ(session.m_nResult, c.sent ? int(AT_OK) : int(SESSION_NOTHING_SENT));
    }
    CScheduleEntry invalid;
    invalid.m_dtStart.SetStatus(COleDateTime::invalid);
    EXPECT_TRUE(session.BuildScheduleWrite(invalid).isEmpty());
    session.Disconnect();
}

TEST_F(OrganizerTest, SubjectsAreCutToTheirLimit)
{
    const struct {
        QString subject;
        QString kept;
    } cases[] = {
        {QString(45, u'a'), QString(30, u'a')},
        // One Chinese character: the limit is 60, so 45 characters go whole.
        {QString(44, u'a') + QStringLiteral("中"), QString(44, u'a') + QStringLiteral("中")},
        {QString(40, QChar(0x4E2D)), QString(30, QChar(0x4E2D))},
        {QString(29, u'a') + QStringLiteral("\r\nb"), QString(29, u'a')},
    };
    for (const auto& c : cases) {
        CScheduleEntry record;
        record.m_dtStart = At(2004, 3, 7, 9, 5);
        record.m_strSubject = c.subject;
        session.BuildScheduleWrite(record);
        EXPECT_EQ(record.m_strSubject, c.kept);
    }
}

TEST_F(OrganizerTest, WriteAndDeleteSchedules)
{
    ASSERT_TRUE(session.Connect());
    CScheduleEntry record;
    record.m_dtStart = At(2004, 3, 7, 9, 5);
    record.m_strSubject = QStringLiteral("Two\r\nlines");
    ASSERT_TRUE(session.WriteSchedule(record));
    EXPECT_EQ(record.m_nIndex, 1);
    EXPECT_EQ(progress.steps.last(), QStringLiteral("Writing schedule..."));
    const ScheduleItem& stored = phone.state().schedules.entries[1];
    EXPECT_EQ(stored.subject, QStringLiteral("Two\nlines"));
    EXPECT_EQ(stored.start, QDateTime(QDate(2004, 3, 7), QTime(9, 5)));

    // Without an index in the reply an overwritten entry keeps its own and a new one gets none,
    // rather than 0, which would tie it to whatever the phone keeps there: its write fails.
    phone.injectFault("AT+CXDW=*", Fault::reply("\r\nOK\r\n"), 2);
    ASSERT_TRUE(session.WriteSchedule(record));
    EXPECT_EQ(record.m_nIndex, 1);
    CScheduleEntry fresh;
    fresh.m_dtStart = At(2004, 3, 8, 10, 0);
    EXPECT_FALSE(session.WriteSchedule(fresh));
    EXPECT_EQ(session.m_nResult, SESSION_NO_INDEX);
    EXPECT_EQ(fresh.m_nIndex, -1);

    phone.clearCommandLog();
    EXPECT_FALSE(session.DeleteSchedule(-1));
    EXPECT_TRUE(commands().isEmpty());
    EXPECT_TRUE(session.DeleteSchedule(1));
    EXPECT_EQ(commands(), QStringList {"AT+CXDW=1"});
    EXPECT_EQ(progress.steps.last(), QStringLiteral("Removing schedule..."));
    EXPECT_TRUE(phone.state().schedules.entries.empty());
    phone.injectFault("AT+CXDW=30", Fault::cmeError(21), 1);
    EXPECT_FALSE(session.DeleteSchedule(30));
    EXPECT_EQ(session.m_nResult, AT_CME_INVALID_INDEX);
    session.Disconnect();
}

TEST_F(OrganizerTest, ReadMemos)
{
    auto& store = phone.state().memos;
    store.first = 0;
    store.last = 19;
    store.textLength = 36;
    store.entries[0] = QStringLiteral("first\nsecond");
    store.entries[4] = QStringLiteral("周五交报告");
    RecordList<CMemoEntry> list;
    ASSERT_TRUE(session.ReadMemos(list));
    EXPECT_EQ(commands().mid(5, 2), QStringList({"AT+CMDR=?", "AT+CMDR=0,19"}));
    EXPECT_EQ(progress.steps, QStringList({"Connecting to mobile", "Reading memo 0~19", "Closing connection"}));
    EXPECT_EQ(g_nMemoFirstIndex, 0);
    EXPECT_EQ(g_nMemoCapacity, 20);
    EXPECT_EQ(g_nMemoTextLen, 36);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->m_nIndex, 0);
    EXPECT_EQ(list[0]->m_strText, QStringLiteral("first\r\nsecond"));
    EXPECT_EQ(list[0]->m_nList, 3);
    EXPECT_EQ(list[1]->m_nIndex, 4);
    EXPECT_EQ(list[1]->m_strText, QStringLiteral("周五交报告"));

    phone.injectFault("AT+CMDR=0,19", Fault::reply("\r\n+CMDR: 3\r\n\r\nOK\r\n"), 1);
    list.clear();
    EXPECT_FALSE(session.ReadMemos(list));
    EXPECT_EQ(session.m_nResult, SESSION_BAD_REPLY);
}

TEST_F(OrganizerTest, WriteAndDeleteMemos)
{
    ASSERT_TRUE(session.Connect());
    CMemoEntry record;
    record.m_strText = QString(50, u'x');
    QByteArray units;
    for (int i = 0; i < 40; ++i)
        units += QByteArray("x\0", 2);
    units += QByteArray(2, '\0'); // the terminator
    EXPECT_EQ(session.BuildMemoWrite(record), "AT+CMDW=,\"" + units.toBase64() + "\"\r");
    // The cut text is what the caller keeps.
    EXPECT_EQ(record.m_strText, QString(40, u'x'));

    CMemoEntry wide;
    wide.m_strText = QString(90, QChar(0x4E2D));
    session.BuildMemoWrite(wide);
    EXPECT_EQ(wide.m_strText, QString(40, QChar(0x4E2D)));

    CMemoEntry lines;
    lines.m_strText = QStringLiteral("one\r\ntwo");
    ASSERT_TRUE(session.WriteMemo(lines));
    EXPECT_EQ(lines.m_nIndex, 1);
    EXPECT_EQ(progress.steps.last(), QStringLiteral("Writing memo..."));
    EXPECT_EQ(phone.state().memos.entries[1], QStringLiteral("one\ntwo"));

    phone.injectFault("AT+CMDW=*", Fault::reply("\r\nOK\r\n"), 1);
    ASSERT_TRUE(session.WriteMemo(lines));
    EXPECT_EQ(lines.m_nIndex, 1);

    phone.clearCommandLog();
    EXPECT_FALSE(session.DeleteMemo(-3));
    EXPECT_TRUE(session.DeleteMemo(1));
    EXPECT_EQ(commands(), QStringList {"AT+CMDW=1"});
    EXPECT_EQ(progress.steps.last(), QStringLiteral("Removing memo..."));
    session.Disconnect();

    RecordList<CMemoEntry> list;
    ASSERT_TRUE(session.ReadMemos(list));
    EXPECT_TRUE(list.empty());
}

} // namespace
