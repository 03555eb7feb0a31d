// The combined list of schedule entries and memos against the simulated phone: read whole,
// written whole.
#include "session_fixture.h"

#include "phonesim/fault.h"

#include <gtest/gtest.h>

namespace {

using namespace dh2;
using link2test::SessionTest;
using link2test::Sync;
using phonesim::Fault;

std::unique_ptr<CScheduleEntry> Record(int kind, int index, const QString& subject, const QDateTime& start, int alarm = 0)
{
    auto record = std::make_unique<CScheduleEntry>();
    record->m_nKind = kind;
    record->m_nIndex = index;
    record->m_strSubject = subject;
    record->m_dtStart = COleDateTime::FromQDateTime(start);
    record->m_nAlarm = alarm;
    record->m_nState = CSyncRecord::StateNew;
    record->m_nList = 1;
    return record;
}

using ScheduleTest = SessionTest;

TEST_F(ScheduleTest, ReadsSchedulesAndMemosInOneList)
{
    const QDateTime start({2004, 3, 7}, {9, 5});
    phoneState().organizer = {
        {1, 0, QStringLiteral("Dentist"), start, 2, start.addSecs(-30 * 60)},
        {2, 1, QStringLiteral("Buy milk"), QDateTime({2004, 3, 1}, {12, 0}), 0, std::nullopt},
    };
    RecordList<CScheduleEntry> list;
    ASSERT_TRUE(session.ReadSchedules(list));
    EXPECT_EQ(commands(), QStringList({"AT", "ATI", "AT+SINF", "ATE0", "AT+SSLP=1000", "AT+SBEG", "AT+CSCS=\"SYNC\"", "AT",
                              "AT+SSCR", "AT+SEND", "AT+CSCS=\"GSM\"", "ATE1"}));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->m_nKind, 1);
    EXPECT_EQ(list[0]->m_dtStart.ToQDateTime(), start);
    EXPECT_EQ(list[0]->m_nRepeat, 2);
    EXPECT_EQ(list[0]->m_nAlarm, CScheduleEntry::Alarm30Min);
    EXPECT_TRUE(list[1]->IsMemo());
    EXPECT_EQ(list[1]->m_strSubject, QStringLiteral("Buy milk"));
    EXPECT_EQ(list[1]->m_nIndex, 1);
    EXPECT_EQ(progress.steps.first(), QStringLiteral("Connecting...  1, 19200"));
    EXPECT_EQ(progress.steps.filter(QStringLiteral("Loading data...")),
        QStringList({"Loading data... 1-20", "Loading data... -", "Loading data... -"}));
}

TEST_F(ScheduleTest, AListThatDoesNotParseFailsWith10)
{
    phone.injectFault("AT+SSCR", Fault::reply("\r\n+SSCR: 1,0,\"" + Sync(QStringLiteral("A")).toLatin1() + "\",2004-03-07\r\n\r\nOK\r\n"));
    RecordList<CScheduleEntry> list;
    EXPECT_FALSE(session.ReadSchedules(list));
    EXPECT_EQ(session.m_nResult, SESSION_BAD_LIST);
    EXPECT_EQ(commands("AT+SEND"), QStringList {"AT+SEND"});
}

// The whole list in order: "AT+SSCI", one "AT+SSCM" per live record, "AT+SSCW"; what was
// written becomes the phone's record.
TEST_F(ScheduleTest, WritesTheWholeList)
{
    RecordList<CScheduleEntry> list;
    list.push_back(Record(2, 0, QStringLiteral("Buy milk"), QDateTime({2004, 3, 1}, {12, 0})));
    list.push_back(Record(1, 1, QString(40, u's'), QDateTime({2004, 3, 7}, {9, 5}), CScheduleEntry::Alarm10Min));
    list.push_back(Record(1, 2, QStringLiteral("gone"), QDateTime({2004, 3, 8}, {9, 5})));
    list.back()->m_nState = CSyncRecord::StateDeleted;
    list.push_back(Record(1, 3, QStringLiteral("Old"), QDateTime({1900, 5, 6}, {10, 0}), CScheduleEntry::Alarm1Day));
    list.back()->m_nRepeat = 4;

    ASSERT_TRUE(session.WriteSchedules(list));
    EXPECT_EQ(commands("AT+SSC"),
        QStringList({"AT+SSCI", "AT+SSCM=2,0,\"" + Sync(QStringLiteral("Buy milk")) + "\",2004,03,01,12,00,00,0,0,1001,1,1,0,0,0",
            "AT+SSCM=1,1,\"" + Sync(QString(30, u's')) + "\",2004,03,07,09,05,00,0,1,2004,03,07,08,55,00",
            "AT+SSCM=1,3,\"" + Sync(QStringLiteral("Old")) + "\",1900,05,06,10,00,00,4,1,1900,05,05,10,00,00", "AT+SSCW"}));
    EXPECT_EQ(list[1]->m_strSubject, QString(30, u's'));
    for (size_t i : {0u, 1u, 3u}) {
        EXPECT_EQ(list[i]->m_nList, 3);
        EXPECT_EQ(list[i]->m_nState, CSyncRecord::StateUnchanged);
    }
    EXPECT_EQ(list[2]->m_nState, CSyncRecord::StateDeleted);
    ASSERT_EQ(phoneState().organizer.size(), 3u);
    EXPECT_EQ(phoneState().organizer[1].alarm, QDateTime({2004, 3, 7}, {8, 55}));
}

// What the phone's list cannot keep as it is, is refused before any command: a start outside
// its calendar (1900-2100, where it would be stored as 1900 or 2100), an alarm that would ring
// before it, two live records at one place. The first such record is named.
TEST_F(ScheduleTest, RecordsThePhoneCannotKeepAreRefusedBeforeAnyCommand)
{
    const struct {
        const char* name;
        QDateTime start;
        int alarm;
        int secondIndex; // of a second record
        std::optional<ScheduleListFault> fault;
    } cases[] = {
        {"1800", QDateTime({1800, 5, 6}, {10, 0}), 0, 1, ScheduleListFault {0, ScheduleProblem::StartYear}},
        {"2150", QDateTime({2150, 5, 6}, {10, 0}), 0, 1, ScheduleListFault {0, ScheduleProblem::StartYear}},
        {"an alarm in 1899", QDateTime({1900, 1, 1}, {0, 5}), CScheduleEntry::Alarm10Min, 1,
            ScheduleListFault {0, ScheduleProblem::AlarmYear}},
        {"two at one place", QDateTime({2004, 5, 6}, {10, 0}), 0, 0, ScheduleListFault {1, ScheduleProblem::DuplicateIndex}},
        {"the calendar's first moment", QDateTime({1900, 1, 1}, {0, 0}), CScheduleEntry::AlarmOnTime, 1, std::nullopt},
        {"its last day", QDateTime({2100, 12, 31}, {23, 59}), 0, 1, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        phone.clearCommandLog();
        RecordList<CScheduleEntry> list;
        list.push_back(Record(1, 0, QStringLiteral("A"), c.start, c.alarm));
        list.push_back(Record(2, c.secondIndex, QStringLiteral("B"), QDateTime({2004, 3, 7}, {9, 0})));
        const std::optional<ScheduleListFault> fault = CheckScheduleList(list);
        EXPECT_EQ(fault.has_value(), c.fault.has_value());
        if (fault && c.fault) {
            EXPECT_EQ(fault->record, c.fault->record);
            EXPECT_EQ(fault->problem, c.fault->problem);
        }
        EXPECT_EQ(session.WriteSchedules(list), !c.fault);
        EXPECT_EQ(commands().isEmpty(), c.fault.has_value());
        if (!c.fault) {
            ASSERT_EQ(phoneState().organizer.size(), 2u);
            EXPECT_EQ(phoneState().organizer[0].start, c.start);
        }
    }
    // A record marked deleted is not sent, and holds no place.
    RecordList<CScheduleEntry> list;
    list.push_back(Record(1, 0, QStringLiteral("A"), QDateTime({2150, 1, 1}, {0, 0})));
    list.back()->m_nState = CSyncRecord::StateDeleted;
    list.push_back(Record(1, 0, QStringLiteral("B"), QDateTime({2004, 1, 1}, {0, 0})));
    EXPECT_FALSE(CheckScheduleList(list));
}

// The list went out whole and AT+SSCW's answer never came: the phone may have taken the new list,
// and the write says so (unconfirmed), the records keeping their states. A list broken off before
// AT+SSCW is a plain failure: the phone keeps its old list.
TEST_F(ScheduleTest, AListWhoseEndWasNotAnsweredIsUnconfirmed)
{
    const struct {
        const char* command;
        Fault fault;
        bool unconfirmed;
    } cases[] = {
        {"AT+SSCW", Fault::lost(), true},
        {"AT+SSCW", Fault::lostThenClose(), true},
        {"AT+SSCW", Fault::delay(7000), true},
        {"AT+SSCW", Fault::lateFinal(3000), true},
        {"AT+SSCM=1,1*", Fault::lost(), false},
        {"AT+SSCW", Fault::error(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        phone.clearFaults();
        phone.injectFault(c.command, c.fault, 1);
        RecordList<CScheduleEntry> list;
        list.push_back(Record(1, 0, QStringLiteral("A"), QDateTime({2004, 3, 7}, {9, 0})));
        list.push_back(Record(1, 1, QStringLiteral("B"), QDateTime({2004, 3, 7}, {9, 0})));
        EXPECT_FALSE(session.WriteSchedules(list));
        EXPECT_EQ(session.Unconfirmed(), c.unconfirmed);
        EXPECT_EQ(list[0]->m_nState, CSyncRecord::StateNew);
    }
}

// More than 20 live records are refused before any command, with the states as they were;
// records marked deleted do not count.
TEST_F(ScheduleTest, TwentyLiveRecordsAtMost)
{
    RecordList<CScheduleEntry> list;
    for (int i = 0; i < 21; ++i)
        list.push_back(Record(1, i, QStringLiteral("S"), QDateTime({2004, 3, 7}, {9, 0})));
    EXPECT_FALSE(session.WriteSchedules(list));
    EXPECT_EQ(session.m_nResult, SESSION_BAD_LIST);
    EXPECT_TRUE(commands().isEmpty());
    EXPECT_EQ(list[0]->m_nState, CSyncRecord::StateNew);

    list.front()->m_nState = CSyncRecord::StateDeleted;
    list.back()->m_nIndex = 0;
    EXPECT_TRUE(session.WriteSchedules(list));
    EXPECT_EQ(commands("AT+SSCM").size(), 20);
    EXPECT_EQ(phoneState().organizer.size(), 20u);
}

// Success only when "AT+SSCI", every "AT+SSCM" and "AT+SSCW" answered OK; the records keep their
// states when the phone did not take the list.
TEST_F(ScheduleTest, FailuresAreReportedAndLeaveTheStates)
{
    const struct {
        const char* command;
        Fault fault;
        int result;
        bool listEnded;
    } cases[] = {
        {"AT+SSCI", Fault::error(), AT_ERROR, true},
        {"AT+SSCM=1,1*", Fault::cmeError(20), AT_CME_ERROR, false},
        {"AT+SSCW", Fault::error(), AT_ERROR, true},
        {"AT+CSCS=\"SYNC\"", Fault::error(), SESSION_RESYNC_FAILED, true},
    };
    for (const auto& c : cases) {
        phone.clearCommandLog();
        phone.clearFaults();
        phone.injectFault(c.command, c.fault);
        RecordList<CScheduleEntry> list;
        list.push_back(Record(1, 0, QStringLiteral("A"), QDateTime({2004, 3, 7}, {9, 0})));
        list.push_back(Record(1, 1, QStringLiteral("B"), QDateTime({2004, 3, 7}, {9, 0})));
        EXPECT_FALSE(session.WriteSchedules(list)) << c.command;
        EXPECT_EQ(session.m_nResult, c.result) << c.command;
        EXPECT_EQ(commands("AT+SSCW").size(), c.listEnded ? 1 : 0) << c.command;
        EXPECT_EQ(commands("AT+SEND"), QStringList {"AT+SEND"}) << c.command;
        EXPECT_EQ(list[0]->m_nState, CSyncRecord::StateNew);
        EXPECT_TRUE(ui().mainWindowEnabled);
    }
}

// A phone that never woke still gets "AT+SSCW"; its OK is no success.
TEST_F(ScheduleTest, AFailedWakeUpIsNoSuccess)
{
    phone.state().sessionOpen = true; // the phone answers "AT+SSCW" with OK
    phone.state().sleepAfterMs = 0;
    phone.injectFault("AT", Fault::silence());
    RecordList<CScheduleEntry> list;
    list.push_back(Record(1, 0, QStringLiteral("A"), QDateTime({2004, 3, 7}, {9, 0})));
    EXPECT_FALSE(session.WriteSchedules(list));
    EXPECT_EQ(session.m_nResult, SESSION_WAKE_UP_FAILED);
    EXPECT_EQ(commands(), QStringList({"AT", "AT", "AT", "AT+SSCW", "AT+SEND", "AT+CSCS=\"GSM\"", "ATE1"}));
}

TEST_F(ScheduleTest, AStartThatIsNoDateIsNeverSent)
{
    RecordList<CScheduleEntry> list;
    list.push_back(Record(1, 0, QStringLiteral("A"), QDateTime({2004, 3, 7}, {9, 0})));
    list[0]->m_dtStart.SetStatus(COleDateTime::invalid);
    EXPECT_FALSE(session.WriteSchedules(list));
    EXPECT_TRUE(commands().isEmpty());
    EXPECT_TRUE(session.BuildScheduleWrite(*list[0]).isEmpty());
}

// A record the phone cannot keep refuses the whole list before any command: a kind, a repeat, an
// alarm or an index outside the phone's ranges, a subject with NUL or half a surrogate pair is
// sent without them.
TEST_F(ScheduleTest, ValuesThePhoneCannotKeepAreNeverSent)
{
    const struct {
        const char* name;
        int CScheduleEntry::*member;
        int value;
    } cases[] = {
        {"kind 0", &CScheduleEntry::m_nKind, 0},
        {"kind 3", &CScheduleEntry::m_nKind, 3},
        {"repeat -1", &CScheduleEntry::m_nRepeat, -1},
        {"repeat 5", &CScheduleEntry::m_nRepeat, 5},
        {"alarm -1", &CScheduleEntry::m_nAlarm, -1},
        {"alarm 6", &CScheduleEntry::m_nAlarm, 6},
        {"index -1", &CScheduleEntry::m_nIndex, -1},
        {"index 20", &CScheduleEntry::m_nIndex, 20},
    };
    for (const auto& c : cases) {
        RecordList<CScheduleEntry> list;
        list.push_back(Record(1, 0, QStringLiteral("A"), QDateTime({2004, 3, 7}, {9, 0})));
        list.push_back(Record(2, 1, QStringLiteral("B"), QDateTime({2004, 3, 7}, {9, 0})));
        (*list[1]).*c.member = c.value;
        EXPECT_FALSE(session.WriteSchedules(list)) << c.name;
        EXPECT_EQ(session.m_nResult, SESSION_BAD_LIST) << c.name;
        EXPECT_TRUE(commands().isEmpty()) << c.name;
        // A record marked deleted is never sent: its values do not matter.
        list[1]->m_nState = CSyncRecord::StateDeleted;
        EXPECT_TRUE(session.WriteSchedules(list)) << c.name;
        phone.clearCommandLog();
    }

    RecordList<CScheduleEntry> list;
    list.push_back(Record(1, 19, QStringLiteral("Ta") + QChar(0) + QStringLiteral("ke") + QChar(0xD83D), QDateTime({2004, 3, 7}, {9, 0})));
    list.push_back(Record(2, 0, QChar(0xDE00) + QStringLiteral("Note"), QDateTime({2004, 3, 7}, {9, 0})));
    ASSERT_TRUE(session.WriteSchedules(list));
    EXPECT_EQ(list[0]->m_strSubject, QStringLiteral("Take"));
    EXPECT_EQ(list[1]->m_strSubject, QStringLiteral("Note"));
    ASSERT_EQ(phoneState().organizer.size(), 2u);
    EXPECT_EQ(phoneState().organizer[0].text, QStringLiteral("Take"));
    EXPECT_EQ(phoneState().organizer[1].text, QStringLiteral("Note"));
}

} // namespace
