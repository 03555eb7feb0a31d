#include "link/record_rules.h"

#include "link/capacities.h"
#include "phone_session_fixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace dh1;

namespace {

// What a number field of Deskhand takes: a '+' only first (after what is dropped before it).
TEST(CleanPhoneNumber, KeepsDigitsLeadingPlusAndPauses)
{
    const struct {
        const char16_t* in;
        const char16_t* out;
    } cases[] = {
        {u"", u""},
        {u"+49 (30) 123-45", u"+493012345"},
        {u"030+123", u"030123"},
        {u" +1", u"+1"},
        {u"(+49) 30", u"+4930"},
        {u"12p34P5", u"12p34P5"},
        {u"++1", u"+1"},
        {u"abc#*", u"#*"},
        {u"*31#0171", u"*31#0171"},
        {u"１２３", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CleanPhoneNumber(QString::fromUtf16(c.in)), QString::fromUtf16(c.out));
}

// The indices of each list as the capacities say: the document's first values, or the range
// the phone reported. A SIM book has no index 0, whatever it reports.
TEST(IndexBounds, FollowTheRangesThePhoneReported)
{
    struct Capacities {
        int handsetFirst = 1, handset = 255, simFirst = 1, sim = 100, schedule = 30, memoFirst = 1, memo = 20;
    };
    const struct {
        const char* what;
        Capacities capacities;
        IndexBounds (*bounds)();
        int first;
        int last;
    } cases[] = {
        {"handset, first values", {}, HandsetIndexBounds, 1, 255},
        {"handset from 0", {.handsetFirst = 0, .handset = 10}, HandsetIndexBounds, 0, 9},
        {"handset from 5", {.handsetFirst = 5, .handset = 10}, HandsetIndexBounds, 5, 14},
        {"SIM, first values", {}, SimIndexBounds, 1, 100},
        {"SIM reported from 0", {.simFirst = 0, .sim = 50}, SimIndexBounds, 1, 50},
        {"schedules, first values", {}, ScheduleIndexBounds, 1, 30},
        {"schedules, 10", {.schedule = 10}, ScheduleIndexBounds, 1, 10},
        {"memos, first values", {}, MemoIndexBounds, 1, 20},
        {"memos from 0", {.memoFirst = 0, .memo = 20}, MemoIndexBounds, 0, 19},
        {"memos from 3", {.memoFirst = 3, .memo = 5}, MemoIndexBounds, 3, 7},
    };
    for (const auto& c : cases) {
        g_nHandsetFirstIndex = c.capacities.handsetFirst;
        g_nHandsetCapacity = c.capacities.handset;
        g_nSimFirstIndex = c.capacities.simFirst;
        g_nSimCapacity = c.capacities.sim;
        g_nScheduleCapacity = c.capacities.schedule;
        g_nMemoFirstIndex = c.capacities.memoFirst;
        g_nMemoCapacity = c.capacities.memo;
        const IndexBounds bounds = c.bounds();
        EXPECT_EQ(bounds.first, c.first) << c.what;
        EXPECT_EQ(bounds.last, c.last) << c.what;
        EXPECT_FALSE(bounds.Contains(c.first - 1)) << c.what;
        EXPECT_TRUE(bounds.Contains(c.first)) << c.what;
        EXPECT_TRUE(bounds.Contains(c.last)) << c.what;
        EXPECT_FALSE(bounds.Contains(c.last + 1)) << c.what;
    }
    const Capacities firstValues;
    g_nHandsetFirstIndex = firstValues.handsetFirst;
    g_nHandsetCapacity = firstValues.handset;
    g_nSimFirstIndex = firstValues.simFirst;
    g_nSimCapacity = firstValues.sim;
    g_nScheduleCapacity = firstValues.schedule;
    g_nMemoFirstIndex = firstValues.memoFirst;
    g_nMemoCapacity = firstValues.memo;
}

// The values of a record field the phone keeps, at both ends of each range.
TEST(RecordValues, TheFieldRangesThePhoneKeeps)
{
    const struct {
        const char* rule;
        bool (*takes)(int);
        int value;
        bool taken;
    } cases[] = {
        {"caller group", IsCallerGroup, -1, false},
        {"caller group", IsCallerGroup, 0, true},
        {"caller group", IsCallerGroup, 6, true},
        {"caller group", IsCallerGroup, 7, false},
        {"repeat", IsScheduleRepeat, -1, false},
        {"repeat", IsScheduleRepeat, 0, true},
        {"repeat", IsScheduleRepeat, 4, true},
        {"repeat", IsScheduleRepeat, 5, false},
        {"alarm", IsScheduleAlarm, -1, false},
        {"alarm", IsScheduleAlarm, 0, true},
        {"alarm", IsScheduleAlarm, 5, true},
        {"alarm", IsScheduleAlarm, 6, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.takes(c.value), c.taken) << c.rule << " " << c.value;
}

// The date field carries a two-digit year after 2000.
TEST(RecordValues, AScheduleStartFitsTheTwoDigitYear)
{
    COleDateTime notADate;
    notADate.SetStatus(COleDateTime::invalid);
    const struct {
        const char* what;
        COleDateTime start;
        bool taken;
    } cases[] = {
        {"the last minute before", COleDateTime(1999, 12, 31, 23, 59, 0), false},
        {"the first day", COleDateTime(2000, 1, 1, 0, 0, 0), true},
        {"a day", COleDateTime(2004, 3, 7, 9, 5, 0), true},
        {"the last minute", COleDateTime(2099, 12, 31, 23, 59, 0), true},
        {"the first day after", COleDateTime(2100, 1, 1, 0, 0, 0), false},
        {"no date", notADate, false},
        {"no value", COleDateTime(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsScheduleStart(c.start), c.taken) << c.what;
}

// The session sends a write or delete exactly when the record rules' bounds hold the index,
// and the phone takes every index they hold. Each list is read first, so that its bounds are
// the range the phone reported; one memo list starts at 0.
class SessionIndexBoundsTest : public PhoneSessionTest {};

TEST_F(SessionIndexBoundsTest, TheSessionSendsWhatTheRulesAllowAndThePhoneTakesIt)
{
    enum List { Handset, Sim, Schedules, Memos };
    const struct {
        const char* what;
        List list;
        int first; // of the phone's range
        int last;
    } cases[] = {
        {"handset", Handset, 1, 255},
        {"handset of 40", Handset, 1, 40},
        {"SIM", Sim, 1, 100},
        {"schedules", Schedules, 1, 30},
        {"memos", Memos, 1, 20},
        {"memos from 0", Memos, 0, 19},
    };
    for (const auto& c : cases) {
        phonesim::PhoneState& state = phone.state();
        const auto setRange = [&](auto& store) {
            store.first = c.first;
            store.last = c.last;
            store.entries.clear();
        };
        IndexBounds bounds;
        std::function<bool()> open;
        std::function<bool(int)> write;
        std::function<bool(int)> remove;
        switch (c.list) {
        case Handset: {
            setRange(state.handset);
            RecordList<CPhoneEntry> list;
            ASSERT_TRUE(session.ReadHandsetBook(list)) << c.what;
            bounds = HandsetIndexBounds();
            open = [&] { return session.SelectHandsetBook(); };
            write = [&](int index) {
                CPhoneEntry record;
                record.m_nIndex = index;
                record.m_strName = QStringLiteral("X");
                return session.WriteHandsetEntry(record);
            };
            remove = [&](int index) { return session.DeleteHandsetEntry(index); };
            break;
        }
        case Sim: {
            setRange(state.sim);
            RecordList<CPhoneEntry> list;
            ASSERT_TRUE(session.ReadSimBook(list)) << c.what;
            bounds = SimIndexBounds();
            open = [&] { return session.SelectSimBook(); };
            write = [&](int index) {
                CPhoneEntry record;
                record.m_nSimIndex = index;
                record.m_strMobile = QStringLiteral("1");
                return session.WriteSimEntry(record);
            };
            remove = [&](int index) { return session.DeleteSimEntry(index); };
            break;
        }
        case Schedules: {
            setRange(state.schedules);
            RecordList<CScheduleEntry> list;
            ASSERT_TRUE(session.ReadSchedules(list)) << c.what;
            bounds = ScheduleIndexBounds();
            open = [&] { return session.Connect(); };
            write = [&](int index) {
                CScheduleEntry record;
                record.m_nIndex = index;
                record.m_dtStart = COleDateTime(2004, 3, 7, 9, 5, 0);
                return session.WriteSchedule(record);
            };
            remove = [&](int index) { return session.DeleteSchedule(index); };
            break;
        }
        case Memos: {
            setRange(state.memos);
            RecordList<CMemoEntry> list;
            ASSERT_TRUE(session.ReadMemos(list)) << c.what;
            bounds = MemoIndexBounds();
            open = [&] { return session.Connect(); };
            write = [&](int index) {
                CMemoEntry record;
                record.m_nIndex = index;
                record.m_strText = QStringLiteral("x");
                return session.WriteMemo(record);
            };
            remove = [&](int index) { return session.DeleteMemo(index); };
            break;
        }
        }
        EXPECT_EQ(bounds.first, c.first) << c.what;
        EXPECT_EQ(bounds.last, c.last) << c.what;

        ASSERT_TRUE(open()) << c.what;
        for (const int index : {c.first - 1, c.first, c.last, c.last + 1}) {
            const bool inside = bounds.Contains(index);
            for (const bool deleting : {false, true}) {
                const std::string step = std::string(c.what) + (deleting ? ", delete " : ", write ") + std::to_string(index);
                // -1 writes a new entry.
                const bool sent = inside || (!deleting && index == -1);
                phone.clearCommandLog();
                EXPECT_EQ(deleting ? remove(index) : write(index), sent) << step;
                EXPECT_EQ(commands().size(), sent ? 1 : 0) << step;
                EXPECT_EQ(session.m_nResult, sent ? int(AT_OK) : int(SESSION_NOTHING_SENT)) << step;
            }
        }
        session.Disconnect();
    }
}

} // namespace
