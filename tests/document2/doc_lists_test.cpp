// Deskhand2's document without a phone: storing, the phone list's allocation, full tests, rows.
#include "document2/mvsync_doc.h"

#include "link2/model_profile.h"
#include "platform/string_table.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using namespace dh2;

std::unique_ptr<CScheduleEntry> entry(int kind, int index, int state = CSyncRecord::StateUnchanged)
{
    auto e = std::make_unique<CScheduleEntry>();
    e->m_nKind = kind;
    e->m_nIndex = index;
    e->m_nState = state;
    e->m_strSubject = QStringLiteral("at %1").arg(index);
    return e;
}

std::unique_ptr<CPhoneEntry> contact(const QString& name, int index = -1, int list = 1, int sim = -1)
{
    auto e = std::make_unique<CPhoneEntry>();
    e->m_strName = name;
    e->m_nIndex = index;
    e->m_nList = list;
    e->m_nSimIndex = sim;
    return e;
}

class DocLists : public ::testing::Test {
protected:
    DocLists() { ModelProfile().SetModel(CModelProfile::TypeCorvo); }

    platform::ScopedLanguage english {platform::LANG_ENGLISH_US};
    CMVsyncDoc doc;
};

// One table for the combined list of schedule entries and memos: which entry a new record takes,
// the index it gets, and the shared limit of 20.
TEST_F(DocLists, PhoneListAllocation)
{
    const int S = CScheduleEntry::KindSchedule, M = CScheduleEntry::KindMemo, D = CSyncRecord::StateDeleted,
              N = CSyncRecord::StateNew;
    struct Existing {
        int kind, index, state;
    };
    const struct {
        const char* name;
        std::vector<Existing> list;
        int kind;       // of the record added
        int index;      // the record's own index
        int expected;   // the index it ends at, -1 refused
        bool reuses;    // an existing entry took it
    } cases[] = {
        {"gap in 0, 1, 3", {{S, 0, 0}, {S, 1, 0}, {M, 3, 0}}, M, -1, 2, false},
        {"a dead entry frees its index", {{S, 0, D}, {M, 1, 0}}, S, -1, 0, false},
        {"same index and kind is updated", {{S, 0, 0}, {M, 4, 0}}, M, 4, 4, true},
        {"same index, other kind: new", {{S, 4, 0}}, M, 4, 0, false},
        {"a new entry is not reused", {{M, 4, N}}, M, 4, 0, false},
        {"19 of both kinds take one more", {}, S, -1, 19, false},
        {"20 of both kinds refuse a new one", {}, M, -1, -1, false},
        {"20 of both kinds still update", {}, S, 7, 7, true},
    };
    doc.m_bPhoneListRead = true; // the lists below stand for what a read found
    for (const auto& c : cases) {
        doc.m_arPhoneList.clear();
        std::vector<Existing> list = c.list;
        if (list.empty()) {
            const int count = QByteArray(c.name).startsWith("19") ? 19 : 20;
            for (int i = 0; i < count; ++i)
                list.push_back({i < 12 ? S : M, i, 0});
        }
        for (const Existing& e : list)
            doc.m_arPhoneList.push_back(entry(e.kind, e.index, e.state));
        const size_t before = doc.m_arPhoneList.size();
        CScheduleEntry source = *entry(c.kind, c.index);
        source.m_strSubject = QStringLiteral("added");
        CScheduleEntry* added = c.kind == M ? doc.AddPhoneMemo(source) : doc.AddPhoneSchedule(source);
        if (c.expected < 0) {
            EXPECT_EQ(added, nullptr) << c.name;
            EXPECT_EQ(doc.m_arPhoneList.size(), before) << c.name;
            continue;
        }
        ASSERT_NE(added, nullptr) << c.name;
        EXPECT_EQ(added->m_nIndex, c.expected) << c.name;
        EXPECT_EQ(source.m_nIndex, c.expected) << c.name;
        EXPECT_EQ(added->m_nKind, c.kind) << c.name;
        EXPECT_EQ(added->m_strSubject, QStringLiteral("added")) << c.name;
        EXPECT_EQ(doc.m_arPhoneList.size(), c.reuses ? before : before + 1) << c.name;
        EXPECT_EQ(added->m_nState, c.reuses ? CSyncRecord::StateUnchanged : N) << c.name;
    }
    EXPECT_EQ(doc.PhoneListCount(S), 12);
    EXPECT_EQ(doc.PhoneListCount(M), 8);
}

TEST_F(DocLists, FullTests)
{
    for (int i = 1; i <= 200; ++i)
        doc.m_arHandsetContacts.push_back(contact(QStringLiteral("h"), i, 3));
    EXPECT_TRUE(doc.IsHandsetBookFull());
    doc.m_arHandsetContacts.back()->m_nState = CSyncRecord::StateDeleted;
    EXPECT_FALSE(doc.IsHandsetBookFull());

    // Before a SIM read the SIM capacity is unknown: never full.
    for (int i = 1; i <= 3; ++i)
        doc.m_arSimContacts.push_back(contact(QStringLiteral("s"), -1, 0, i));
    EXPECT_FALSE(doc.IsSimBookFull());
    doc.m_nSimCapacity = 3;
    EXPECT_TRUE(doc.IsSimBookFull());
    doc.m_nSimCapacity = 4;
    EXPECT_FALSE(doc.IsSimBookFull());
    EXPECT_FALSE(CMVsyncDoc().IsHandsetBookFull());
}

TEST_F(DocLists, StoreMatchesByIndexListAndSimAndMarksLinkedPimEntriesChanged)
{
    doc.m_arPcContacts.push_back(contact(QStringLiteral("by index"), 5, 3));
    doc.m_arPcContacts.push_back(contact(QStringLiteral("by sim"), -1, 0, 2));
    CPhoneEntry* stored = doc.StoreContact(CMVsyncDoc::ListPc, *contact(QStringLiteral("new"), 5, 3, 2));
    EXPECT_EQ(stored, doc.m_arPcContacts[1].get()); // the SIM index wins
    // The same phone index from another list: a new copy.
    stored = doc.StoreContact(CMVsyncDoc::ListPc, *contact(QStringLiteral("x"), 5, 4));
    ASSERT_EQ(doc.m_arPcContacts.size(), 3u);
    EXPECT_EQ(stored, doc.m_arPcContacts[2].get());

    // A PIM-side entry with an item is marked changed, so that the export sends the update.
    doc.m_arOutlookContacts.push_back(contact(QStringLiteral("linked"), 9, 3));
    doc.m_arOutlookContacts.back()->m_strEntryID = QStringLiteral("uid");
    doc.StoreContact(CMVsyncDoc::ListOutlook, *contact(QStringLiteral("from the phone"), 9, 3));
    EXPECT_EQ(doc.m_arOutlookContacts[0]->m_nState, CSyncRecord::StateChanged);
    EXPECT_EQ(doc.m_arOutlookContacts[0]->m_strName, QStringLiteral("from the phone"));
    EXPECT_EQ(doc.m_arOutlookContacts[0]->m_strEntryID, QStringLiteral("uid"));

    // Lists that do not exist take nothing; memos are memos.
    EXPECT_EQ(doc.StoreContact(3, *contact(QStringLiteral("x"))), nullptr);
    EXPECT_EQ(doc.StoreSchedule(0, *entry(1, -1)), nullptr);
    EXPECT_EQ(doc.StoreMemo(CMVsyncDoc::ListPc, *entry(CScheduleEntry::KindSchedule, -1))->m_nKind, CScheduleEntry::KindMemo);
    EXPECT_EQ(doc.GetMemoCount(CMVsyncDoc::ListPc), 1);
    EXPECT_EQ(doc.GetScheduleCount(CMVsyncDoc::ListPc), 0);
    EXPECT_EQ(doc.GetContact(CMVsyncDoc::ListPc, 3), nullptr);
    EXPECT_EQ(doc.GetContact(CMVsyncDoc::ListPc, -1), nullptr);
    EXPECT_EQ(doc.GetSchedule(5, 0), nullptr);
    EXPECT_EQ(doc.GetMessage(0), nullptr);
}

TEST_F(DocLists, ContactRowsShowGroupsOnlyForModelsWithGroups)
{
    CPhoneEntry e = *contact(QStringLiteral("Ann"), 4, 3, 9);
    e.m_strMobile = QStringLiteral("1");
    e.m_strHome = QStringLiteral("2");
    e.m_strOffice = QStringLiteral("3");
    e.m_strEmail = QStringLiteral("a@b");
    e.m_strFax = QStringLiteral("4");
    e.m_nGroup = 3;
    for (int type = 0; type <= 5; ++type) {
        ModelProfile().SetModel(type);
        const QString group = type == 2 || type == 3 ? QStringLiteral("VIP") : QString();
        QStringList row;
        doc.ContactToRow(CMVsyncDoc::ListPc, e, row);
        EXPECT_EQ(row, QStringList({"Ann", "1", "2", "3", "a@b", "4", group, "Mobile/SIM"})) << type;
        row.clear();
        doc.ContactToRow(CMVsyncDoc::ListSim, e, row);
        EXPECT_EQ(row, QStringList({"Ann", "1", group, "Mobile/SIM"})) << type;
    }
    ModelProfile().SetModel(CModelProfile::TypeCorvo);
    const struct {
        int index, sim, group;
        const char* storage;
        const char* groupText;
    } cases[] = {{4, -1, 7, "Mobile", "No group"}, {-1, 4, 99, "SIM", "No group"}, {-1, -1, -1, "", "No group"}};
    for (const auto& c : cases) {
        e.m_nIndex = c.index;
        e.m_nSimIndex = c.sim;
        e.m_nGroup = c.group;
        EXPECT_EQ(CMVsyncDoc::StorageText(e), QLatin1String(c.storage));
        EXPECT_EQ(CMVsyncDoc::GroupText(e), QLatin1String(c.groupText));
    }
}

TEST_F(DocLists, ScheduleMemoMessageRowsAndColumns)
{
    CScheduleEntry s;
    s.m_strSubject = QStringLiteral("Dentist\r\nroom 4");
    s.m_dtStart.SetDateTime(2004, 3, 7, 9, 5, 0);
    const struct {
        int repeat, alarm;
        const char* repeatText;
        const char* alarmText;
    } texts[] = {{0, 0, "Once", "None"}, {4, 5, "Yearly", "Before 1 day"}, {2, 2, "Weekly", "Before 10 min"},
                 {5, 6, "", ""}, {-1, -1, "", ""}};
    for (const auto& t : texts) {
        s.m_nRepeat = t.repeat;
        s.m_nAlarm = t.alarm;
        QStringList row;
        doc.ScheduleToRow(s, row);
        ASSERT_EQ(row.size(), 5);
        EXPECT_EQ(row[0], s.m_strSubject);
        EXPECT_EQ(row[1], QLocale::system().toString(QDate(2004, 3, 7), QLocale::ShortFormat));
        EXPECT_EQ(row[2], QStringLiteral("09:05"));
        EXPECT_EQ(row[3], QLatin1String(t.repeatText));
        EXPECT_EQ(row[4], QLatin1String(t.alarmText));
    }
    QStringList memo;
    doc.MemoToRow(s, memo);
    EXPECT_EQ(memo.first(), QStringLiteral("Dentist"));

    CSmsEntry m;
    m.m_nStatus = 3;
    m.m_strNumber = QStringLiteral("+49");
    m.m_strText = QStringLiteral("\r\n  Hello\nthere\rsecond");
    m.m_strDate = QStringLiteral("4/3/7");
    m.m_strTime = QStringLiteral("9:5:0 0");
    QStringList row {QStringLiteral("stale")};
    doc.MessageToRow(m, row);
    EXPECT_EQ(row, QStringList({"Unread", "+49", "", "Hellothere", "4/3/7 9:5:0 0"}));
    m.m_nStatus = 0;
    doc.MessageToRow(m, row);
    EXPECT_EQ(row.first(), QString());

    QString format = QStringLiteral("unchanged");
    doc.GetColumnFormat(5, format);
    EXPECT_EQ(format, QStringLiteral("unchanged"));
    doc.GetColumnFormat(CMVsyncDoc::ColumnsSimContacts, format);
    EXPECT_EQ(format, QStringLiteral("No,1,Name,0,Phone Num,3,Group,0"));
    doc.GetColumnFormat(CMVsyncDoc::ColumnsMemos, format);
    EXPECT_EQ(format, QStringLiteral("No,1,Memo,0,Date(YY-MM-DD),2"));
}

TEST_F(DocLists, LinksIdentitiesAndEmptying)
{
    doc.m_arPcContacts.push_back(contact(QStringLiteral("a"), 5, 3, 2));
    doc.m_arOutlookContacts.push_back(contact(QStringLiteral("b"), 5, 3, 3));
    doc.m_arHandsetContacts.push_back(contact(QStringLiteral("h"), 6, 3));
    doc.UnlinkSimIndex(2);
    EXPECT_EQ(doc.m_arPcContacts[0]->m_nSimIndex, -1);
    EXPECT_EQ(doc.m_arOutlookContacts[0]->m_nSimIndex, 3);
    doc.DropStaleContactLinks(CMVsyncDoc::ListHandset);
    EXPECT_EQ(doc.m_arPcContacts[0]->m_nIndex, -1);
    EXPECT_EQ(doc.m_arOutlookContacts[0]->m_nIndex, -1);

    // A memo's link holds only while the phone list has a memo at that index.
    doc.m_arPcMemos.push_back(entry(CScheduleEntry::KindMemo, 1));
    doc.m_arPcSchedules.push_back(entry(CScheduleEntry::KindSchedule, 1));
    doc.m_arPhoneList.push_back(entry(CScheduleEntry::KindSchedule, 1));
    doc.DropStalePhoneListLinks(CScheduleEntry::KindMemo);
    doc.DropStalePhoneListLinks(CScheduleEntry::KindSchedule);
    EXPECT_EQ(doc.m_arPcMemos[0]->m_nIndex, -1);
    EXPECT_EQ(doc.m_arPcSchedules[0]->m_nIndex, 1);

    const quintptr id = CMVsyncDoc::RecordId(doc.m_arPcContacts[0].get());
    EXPECT_EQ(doc.FindContact(CMVsyncDoc::ListPc, id), doc.m_arPcContacts[0].get());
    EXPECT_EQ(doc.FindContact(CMVsyncDoc::ListOutlook, id), nullptr);
    doc.m_arPcContacts[0]->m_nState = CSyncRecord::StateDeleted;
    EXPECT_EQ(doc.FindContact(CMVsyncDoc::ListPc, id), nullptr);

    QSignalSpy changed(&doc, &CMVsyncDoc::changed);
    doc.DeleteAllRecords();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(doc.GetContactCount(CMVsyncDoc::ListPc), 0);
    EXPECT_TRUE(g_arrGroups.empty());
    CMVsyncDoc fresh;
    EXPECT_EQ(g_arrGroups.size(), 8u);
    EXPECT_EQ(fresh.m_nComPort, 1);
    EXPECT_EQ(fresh.m_nBaudRate, 19200);
}

TEST_F(DocLists, TitleNamesTheModel)
{
    QSignalSpy titles(&doc, &CMVsyncDoc::titleChanged);
    for (const auto& [type, title] : std::vector<std::pair<int, QString>> {
             {0, "Zentra Deskhand - Model Pilla"}, {1, "Zentra Deskhand - Model Corvo"}, {3, "Zentra Deskhand - Model Corvo"},
             {4, "Zentra Deskhand - Model Sarno"}, {5, "Zentra Deskhand"}, {-1, "Zentra Deskhand"}}) {
        ModelProfile().SetModel(type);
        EXPECT_EQ(doc.GetTitle(), title);
        EXPECT_EQ(titles.takeLast().at(0).toString(), title);
    }
}

} // namespace
