#include "document/pim_baseline.h"

#include <gtest/gtest.h>

namespace {

TEST(PimBaseline, ReadsBackWhatItWroteAndNothingFromAnyDamagedCopy)
{
    RecordList<CPhoneEntry> contacts;
    contacts.push_back(std::make_unique<CPhoneEntry>());
    contacts[0]->m_strEntryID = QStringLiteral("c1");
    contacts[0]->m_strName = QStringLiteral("王小明");
    contacts[0]->m_strMemo = QStringLiteral("a\r\nb");
    contacts[0]->m_nGroup = 3; // not exchanged, not kept
    CScheduleEntry schedule;
    schedule.m_strEntryID = QStringLiteral("s1");
    schedule.m_dtStart = COleDateTime(2024, 3, 6, 9, 0, 0);
    schedule.m_nRepeat = CScheduleEntry::RepeatWeekly;
    CMemoEntry memo;
    memo.m_strEntryID = QStringLiteral("m1");
    memo.m_strText = QStringLiteral("milk");

    CPimBaseline baseline;
    baseline.Replace(contacts);
    baseline.Remember(schedule, QString());
    baseline.Remember(memo, QStringLiteral("m0"));
    const QByteArray bytes = baseline.ToBytes();

    CPimBaseline back;
    ASSERT_TRUE(back.FromBytes(bytes));
    ASSERT_TRUE(back.Find(*contacts[0]));
    EXPECT_EQ(back.Find(*contacts[0])->m_strName, QStringLiteral("王小明"));
    EXPECT_EQ(back.Find(*contacts[0])->m_strMemo, QStringLiteral("a\r\nb"));
    EXPECT_EQ(back.Find(*contacts[0])->m_nGroup, CPhoneEntry().m_nGroup);
    ASSERT_TRUE(back.Find(schedule));
    EXPECT_EQ(back.Find(schedule)->m_dtStart, schedule.m_dtStart);
    EXPECT_EQ(back.Find(schedule)->m_nRepeat, CScheduleEntry::RepeatWeekly);
    EXPECT_EQ(back.Find(memo)->m_strText, QStringLiteral("milk"));

    for (qsizetype size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(back.FromBytes(bytes.left(size))) << "cut at " << size;
    EXPECT_TRUE(back.IsEmpty());
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        QByteArray flipped = bytes;
        flipped[at] = char(flipped[at] ^ 0x20);
        EXPECT_FALSE(back.FromBytes(flipped)) << "flipped at " << at;
    }
    EXPECT_FALSE(back.FromBytes(bytes + 'x'));
}

} // namespace
