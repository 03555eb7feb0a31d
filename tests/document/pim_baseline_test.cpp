#include "document/pim_baseline.h"

#include <gtest/gtest.h>

namespace {

TEST(PimBaseline, ReadsBackWhatItWroteAndNothingFromADamagedCopy)
{
    RecordList<CPhoneEntry> contacts;
    contacts.push_back(std::make_unique<CPhoneEntry>());
    contacts[0]->m_strEntryID = QStringLiteral("c1");
    contacts[0]->m_strMemo = QStringLiteral("王小明\r\nb");
    CScheduleEntry schedule;
    schedule.m_strEntryID = QStringLiteral("s1");
    schedule.m_nRepeat = CScheduleEntry::RepeatWeekly;
    CPimBaseline baseline;
    baseline.Replace(contacts);
    baseline.Remember(schedule, QString());
    const QByteArray bytes = baseline.ToBytes();

    CPimBaseline back;
    ASSERT_TRUE(back.FromBytes(bytes));
    ASSERT_TRUE(back.Find(*contacts[0]) && back.Find(schedule));
    EXPECT_EQ(back.Find(*contacts[0])->m_strMemo, contacts[0]->m_strMemo);
    EXPECT_EQ(back.Find(schedule)->m_dtStart, schedule.m_dtStart);
    EXPECT_EQ(back.Find(schedule)->m_nRepeat, CScheduleEntry::RepeatWeekly);

    // Every cut, every flipped byte and anything appended: an empty baseline, never a wrong one.
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        QByteArray flipped = bytes;
        flipped[at] = char(flipped[at] ^ 0x20);
        EXPECT_FALSE(back.FromBytes(bytes.left(at))) << "cut at " << at;
        EXPECT_FALSE(back.FromBytes(flipped)) << "flipped at " << at;
    }
    EXPECT_FALSE(back.FromBytes(bytes + 'x'));
    EXPECT_TRUE(back.IsEmpty());
}

} // namespace
