#include "document/mvsync_doc.h"

#include "link/capacities.h"
#include "platform/string_table.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace dh1;

namespace {

std::unique_ptr<CPhoneEntry> contact(const char* name, int index = -1, int list = 1, int sim = -1)
{
    auto e = std::make_unique<CPhoneEntry>();
    e->m_strName = QString::fromUtf8(name);
    e->m_nIndex = index;
    e->m_nList = list;
    e->m_nSimIndex = sim;
    return e;
}

class DocLists : public ::testing::Test {
protected:
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    CMVsyncDoc doc;
};

TEST_F(DocLists, ConstructorSetsGroupsAndCapacities)
{
    g_nHandsetCapacity = 1;
    CMVsyncDoc fresh;
    EXPECT_EQ(fresh.m_groupNames.size(), CMVsyncDoc::kGroupCount);
    EXPECT_EQ(fresh.m_groupNames[6], QStringLiteral("Others"));
    EXPECT_EQ(g_nHandsetCapacity, 255);
    EXPECT_EQ(g_nSimNameLen, 12);
    EXPECT_EQ(g_nMemoCapacity, 20);
    EXPECT_EQ(fresh.m_nComPort, 1);
    EXPECT_EQ(fresh.m_nIrCommPort, 4);
    EXPECT_EQ(fresh.m_nIrCommTimeout, 20);
}

TEST_F(DocLists, KindsOutOfRangeSelectNothing)
{
    doc.m_pcContacts.push_back(contact("a"));
    EXPECT_EQ(doc.GetContactCount(1), 1);
    EXPECT_EQ(doc.GetContactCount(0), 0);
    EXPECT_EQ(doc.GetContactCount(5), 0);
    EXPECT_EQ(doc.GetContact(5, 0), nullptr);
    EXPECT_EQ(doc.GetContact(1, 1), nullptr);
    EXPECT_EQ(doc.GetSchedule(4, 0), nullptr);
    EXPECT_EQ(doc.GetMemoCount(-1), 0);
    EXPECT_EQ(doc.GetMessage(0), nullptr);
}

TEST_F(DocLists, StoreMatchesByIndexListAndSim)
{
    // Same phone index but another list number: a new copy.
    doc.m_pcContacts.push_back(contact("old", 5, 3));
    CPhoneEntry other = *contact("new", 5, 4);
    doc.StoreContact(1, other);
    ASSERT_EQ(doc.m_pcContacts.size(), 2u);

    // Same index and list: updated in place.
    CPhoneEntry same = *contact("renamed", 5, 3);
    EXPECT_EQ(doc.StoreContact(1, same), doc.m_pcContacts[0].get());
    EXPECT_EQ(doc.m_pcContacts[0]->m_strName, QStringLiteral("renamed"));

    // The SIM index wins over a phone index match.
    doc.m_pcContacts.push_back(contact("sim", -1, 4, 9));
    CPhoneEntry bySim = *contact("sim2", 5, 3, 9);
    EXPECT_EQ(doc.StoreContact(1, bySim), doc.m_pcContacts[2].get());
    EXPECT_EQ(doc.m_pcContacts[0]->m_strName, QStringLiteral("renamed"));

    // Deleted entries never match; kind 2 and anything else go to the PIM list.
    doc.m_pcContacts[0]->m_nState = CSyncRecord::StateDeleted;
    doc.m_pcContacts[2]->m_nState = CSyncRecord::StateDeleted;
    doc.StoreContact(1, same);
    EXPECT_EQ(doc.m_pcContacts.size(), 4u);
    doc.StoreContact(7, same);
    EXPECT_EQ(doc.m_outlookContacts.size(), 1u);

    CScheduleEntry s;
    s.m_nIndex = 3;
    doc.StoreSchedule(1, s);
    s.m_strSubject = QStringLiteral("changed");
    doc.StoreSchedule(1, s);
    ASSERT_EQ(doc.m_pcSchedules.size(), 1u);
    EXPECT_EQ(doc.m_pcSchedules[0]->m_strSubject, QStringLiteral("changed"));

    CMemoEntry m; // index -1 never matches
    doc.StoreMemo(2, m);
    doc.StoreMemo(2, m);
    EXPECT_EQ(doc.m_outlookMemos.size(), 2u);
}

TEST_F(DocLists, FullTestsCountLiveEntriesAtLeastTheCapacity)
{
    g_nSimCapacity = 2;
    doc.m_simContacts.push_back(contact("a", -1, 4, 1));
    doc.m_simContacts.push_back(contact("b", -1, 4, 2));
    doc.m_simContacts.push_back(contact("c", -1, 4, 3));
    EXPECT_TRUE(doc.IsSimBookFull()); // more live entries than the capacity is full too
    doc.m_simContacts[0]->m_nState = CSyncRecord::StateDeleted;
    EXPECT_TRUE(doc.IsSimBookFull());
    doc.m_simContacts[1]->m_nState = CSyncRecord::StateDeleted;
    EXPECT_FALSE(doc.IsSimBookFull());
    EXPECT_FALSE(doc.IsHandsetBookFull());
    g_nMemoCapacity = 0;
    EXPECT_TRUE(doc.IsPhoneMemoFull());
}

TEST_F(DocLists, SortKeepsEqualStartsInOrder)
{
    const int hours[] = {10, 9, 9};
    for (int i = 0; i < 3; ++i) {
        auto s = std::make_unique<CScheduleEntry>();
        s->m_dtStart = COleDateTime(2004, 5, 1, hours[i], 0, 0);
        s->m_nIndex = i;
        doc.m_pcSchedules.push_back(std::move(s));
    }
    doc.SortSchedules(1);
    EXPECT_EQ(doc.m_pcSchedules[0]->m_nIndex, 1);
    EXPECT_EQ(doc.m_pcSchedules[1]->m_nIndex, 2);
    EXPECT_EQ(doc.m_pcSchedules[2]->m_nIndex, 0);
}

TEST_F(DocLists, RowTexts)
{
    auto c = contact("Ann");
    c->m_strMobile = QStringLiteral("1");
    c->m_strHome = QStringLiteral("2");
    c->m_strOffice = QStringLiteral("3");
    c->m_strEmail = QStringLiteral("a@b");
    c->m_strMemo = QStringLiteral("first\r\nsecond");
    QStringList row;
    doc.ContactToRow(1, *c, row);
    EXPECT_EQ(row, (QStringList{"Ann", "1", "2", "3", "a@b", "Others", "first"}));
    row.clear();
    doc.ContactToRow(4, *c, row);
    EXPECT_EQ(row, (QStringList{"Ann", "1", "Others"}));
    // A group outside the seven shows an empty cell instead of reading past the names.
    c->m_nGroup = 7;
    row.clear();
    doc.ContactToRow(4, *c, row);
    EXPECT_EQ(row[2], QString());
    c->m_nGroup = -1;
    row.clear();
    doc.ContactToRow(1, *c, row);
    EXPECT_EQ(row[5], QString());

    CScheduleEntry s;
    s.m_strSubject = QStringLiteral("Dentist\r\nbring card");
    s.m_dtStart = COleDateTime(2004, 3, 7, 9, 5, 0);
    s.m_nRepeat = 4;
    s.m_nAlarm = 3;
    row.clear();
    doc.ScheduleToRow(s, row);
    EXPECT_EQ(row, (QStringList{"Dentist", "07/03/2004", "09:05", "Yearly", "30 min before."}));
    s.m_nRepeat = 5;
    s.m_nAlarm = 6;
    row.clear();
    doc.ScheduleToRow(s, row);
    EXPECT_EQ(row[3], QString());
    EXPECT_EQ(row[4], QString());

    CSmsEntry m;
    m.m_nStatus = 3;
    m.m_strNumber = QStringLiteral("+1");
    m.m_strText = QStringLiteral("\r\n  hi\nthere\rrest");
    m.m_strDateTime = QStringLiteral("now");
    row = QStringList{"stale"};
    doc.MessageToRow(m, row);
    EXPECT_EQ(row, (QStringList{"Unread", "+1", "", "hithere", "now"}));

    QString format;
    doc.GetColumnFormat(format, CMVsyncDoc::ColumnsSimContacts);
    EXPECT_EQ(format, QStringLiteral("No,1,Name,0,Phone Num,0,Group,0"));
    doc.GetColumnFormat(format, CMVsyncDoc::ColumnsMessages);
    EXPECT_EQ(format, QStringLiteral("No,1,Status,0,Phone num,4,Name,0,Message,0,Date and Time,2"));
}

TEST_F(DocLists, OutgoingMessagesAndComparisons)
{
    CSmsEntry m;
    m.m_nStatus = 4;
    m.m_nList = 4;
    m.m_strText = QStringLiteral("x");
    CSmsEntry* added = doc.AddOutgoingMessage(m);
    EXPECT_EQ(added->m_nStatus, 1);
    EXPECT_EQ(added->m_nState, 1);
    EXPECT_EQ(added->m_nList, 4);
    EXPECT_EQ(doc.GetMessageCount(), 1);
}

TEST_F(DocLists, EmptyingTellsTheViews)
{
    QSignalSpy spy(&doc, &CMVsyncDoc::changed);
    doc.m_pcContacts.push_back(contact("a"));
    doc.m_messages.push_back(std::make_unique<CSmsEntry>());
    doc.DeleteAllRecords();
    EXPECT_EQ(doc.GetContactCount(1), 0);
    EXPECT_EQ(doc.GetMessageCount(), 0);
    EXPECT_EQ(spy.count(), 1);
}

} // namespace
