// Lists whose Base64 fields hold a list prefix, read from the simulated phone: the prefix
// inside a field must not cut the list.
#include "phone_session_fixture.h"

namespace {

using phonesim::BookEntry;
using phonesim::ScheduleItem;

// Texts whose field form holds a list prefix ("AE+CPBRAAAA=", "AU+CXDROAAA=").
QString TextHolding(const char* prefix)
{
    const struct {
        const char* prefix;
        QString text;
    } texts[] = {
        {"+CPBR", QStringLiteral("\u4F00\u3C82\u4014")},
        {"+CPGR", QStringLiteral("\u4F00\u3C82\u4064")},
        {"+CXDR", QStringLiteral("企岂临")},
        {"+CMDR", QStringLiteral("\u4F00\u3082\u4034")},
    };
    for (const auto& t : texts) {
        if (qstrcmp(t.prefix, prefix) == 0)
            return t.text;
    }
    return {};
}

template <typename Record>
QStringList Texts(const RecordList<Record>& list, QString Record::*field)
{
    QStringList texts;
    for (const auto& record : list)
        texts << (*record).*field;
    return texts;
}

using ListPrefixTest = PhoneSessionTest;

TEST_F(ListPrefixTest, APrefixInsideAFieldDoesNotCutTheList)
{
    for (const char* prefix : {"+CPBR", "+CPGR", "+CXDR", "+CMDR"})
        ASSERT_TRUE(session.EncodeBase64Text(TextHolding(prefix)).contains(QLatin1String(prefix))) << prefix;

    auto& state = phone.state();
    state.groups[1] = TextHolding("+CPGR");
    const QStringList names = {QStringLiteral("Anna"), TextHolding("+CPBR"), QStringLiteral("Carla")};
    const QStringList subjects = {QStringLiteral("Dentist"), TextHolding("+CXDR"), QStringLiteral("Party")};
    const QStringList memos = {QStringLiteral("Milk"), TextHolding("+CMDR"), QStringLiteral("Bread")};
    for (int i = 0; i < 3; ++i) {
        BookEntry entry;
        entry.name = names[i];
        entry.mobile = QStringLiteral("12%1").arg(i);
        state.handset.entries[i + 1] = entry;
        state.sim.entries[i + 1] = entry;
        state.schedules.entries[i + 1] = ScheduleItem {QDateTime(QDate(2004, 3, 7 + i), QTime(9, 5)), 0, 0, subjects[i]};
        state.memos.entries[i + 1] = memos[i];
    }

    RecordList<CPhoneEntry> handset;
    ASSERT_TRUE(session.ReadHandsetBook(handset));
    EXPECT_EQ(Texts(handset, &CPhoneEntry::m_strName), names);
    EXPECT_EQ(g_arrGroupNames, state.groups);
    RecordList<CPhoneEntry> sim;
    ASSERT_TRUE(session.ReadSimBook(sim));
    EXPECT_EQ(Texts(sim, &CPhoneEntry::m_strName), names);
    RecordList<CScheduleEntry> schedules;
    ASSERT_TRUE(session.ReadSchedules(schedules));
    EXPECT_EQ(Texts(schedules, &CScheduleEntry::m_strSubject), subjects);
    RecordList<CMemoEntry> memoList;
    ASSERT_TRUE(session.ReadMemos(memoList));
    EXPECT_EQ(Texts(memoList, &CMemoEntry::m_strText), memos);
}

} // namespace
