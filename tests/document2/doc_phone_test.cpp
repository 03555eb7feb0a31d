// The document's phone commands against the simulated phone of the second family, on the
// virtual clock: index allocation, the pauses, the copies restored after failed writes, deletes,
// the whole-list write of schedule entries and memos, and the port menus.
#include "document2/mvsync_doc.h"

#include "link2/session_fixture.h"
#include "phonesim/fault.h"
#include "phonesim/sms_pdu.h"
#include "support/pim_cards.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using namespace dh2;
using link2test::SessionTest;
using phonesim::Fault;

CPhoneEntry contact(const QString& name, const QString& mobile, int index = -1, int list = CMVsyncDoc::ListPc)
{
    CPhoneEntry e;
    e.m_strName = name;
    e.m_strMobile = mobile;
    e.m_nIndex = index;
    e.m_nList = list;
    return e;
}

class DocPhone : public SessionTest {
protected:
    explicit DocPhone(int model = 2) : SessionTest(model) {}

    // Writes the sources into the handset book as the phonebook form does, in one session.
    std::vector<CPhoneEntry*> writeHandset(std::vector<CPhoneEntry> sources)
    {
        std::vector<CPhoneEntry*> written;
        EXPECT_TRUE(doc.SelectHandsetBook());
        for (CPhoneEntry& source : sources)
            written.push_back(doc.WriteHandsetContact(source));
        doc.Disconnect();
        return written;
    }

    // The ms that passed while f ran.
    template <typename F>
    qint64 timed(F f)
    {
        const qint64 start = now();
        f();
        return now() - start;
    }

    CMVsyncDoc doc;
};

// Handset indices are the lowest free from 1, SIM indices the lowest free up to the card's
// capacity; an entry already on the phone and unchanged sends nothing and gets no pause.
TEST_F(DocPhone, ContactsGoToTheLowestFreeIndex)
{
    phoneState().handset.entries[1].name = QStringLiteral("one");
    phoneState().handset.entries[2].name = QStringLiteral("two");
    phoneState().handset.entries[4].name = QStringLiteral("four");
    ASSERT_TRUE(doc.ReadHandsetBook());
    ASSERT_EQ(doc.m_arHandsetContacts.size(), 3u);

    // A PC entry's own index 7 is no handset index: it goes to 3, the next one to 5.
    std::vector<CPhoneEntry*> written = writeHandset({contact("Ann", "1", 7), contact("Bob", "2")});
    ASSERT_NE(written[0], nullptr);
    EXPECT_EQ(written[0]->m_nIndex, 3);
    EXPECT_EQ(written[0]->m_nList, CMVsyncDoc::ListHandset);
    EXPECT_EQ(written[0]->m_nState, CSyncRecord::StateUnchanged);
    EXPECT_EQ(written[1]->m_nIndex, 5);
    EXPECT_EQ(phoneState().handset.entries.at(3).name, QStringLiteral("Ann"));
    EXPECT_EQ(commands("AT+CPBW").size(), 2);

    // The handset entry itself again: nothing sent, no pause.
    const CPhoneEntry same = *written[0];
    phone.clearFaults();
    ASSERT_TRUE(doc.SelectHandsetBook());
    const qint64 unchanged = timed([&] { EXPECT_EQ(doc.WriteHandsetContact(same), written[0]); });
    const qint64 changed = timed([&] {
        CPhoneEntry edited = same;
        edited.m_strMobile = QStringLiteral("99");
        EXPECT_EQ(doc.WriteHandsetContact(edited), written[0]);
    });
    doc.Disconnect();
    EXPECT_EQ(commands("AT+CPBW").size(), 3);
    EXPECT_EQ(unchanged, 0);
    EXPECT_GE(changed, CMVsyncDoc::kPhonePauseMs);
    EXPECT_EQ(phoneState().handset.entries.at(3).numbers[0].number, QStringLiteral("99"));
    EXPECT_EQ(doc.m_arHandsetContacts.size(), 5u);

    // SIM: indices from 1 up to what the card reported.
    phoneState().sim.last = 3;
    phoneState().sim.entries[2] = {QStringLiteral("taken"), QStringLiteral("1"), 255};
    ASSERT_TRUE(doc.ReadSimBook());
    EXPECT_EQ(doc.m_nSimCapacity, 3);
    ASSERT_TRUE(doc.SelectSimBook());
    CPhoneEntry* first = doc.WriteSimContact(contact("Cy", "5"));
    CPhoneEntry* second = doc.WriteSimContact(contact("Di", "6"));
    CPhoneEntry* third = doc.WriteSimContact(contact("Ed", "7"));
    doc.Disconnect();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->m_nSimIndex, 1);
    EXPECT_EQ(second->m_nSimIndex, 3);
    EXPECT_EQ(third, nullptr); // full: nothing sent
    EXPECT_TRUE(doc.IsSimBookFull());
    EXPECT_EQ(commands("AT+CPBW=").size(), 5);
}

// A SIM index is one the card has: the lowest free from 1 up to its capacity, whatever indices
// past it the list holds; with no index to give the book is full and nothing is sent.
TEST_F(DocPhone, SimIndicesStayWithinTheCard)
{
    for (int index : {1, 5}) {
        auto e = std::make_unique<CPhoneEntry>(contact("x", "1"));
        e->m_nSimIndex = index;
        doc.m_arSimContacts.push_back(std::move(e));
    }
    doc.m_bSimRead = true; // the list stands for what a read found
    ASSERT_TRUE(doc.SelectSimBook());
    doc.m_session.m_nSimCapacity = 0;
    EXPECT_EQ(doc.WriteSimContact(contact("z", "3")), nullptr);
    doc.m_session.m_nSimCapacity = 3;
    // A contact with a home number alone: that is the SIM entry's number.
    CPhoneEntry homeOnly = contact("y", "");
    homeOnly.m_strHome = QStringLiteral("2");
    CPhoneEntry* written = doc.WriteSimContact(homeOnly);
    EXPECT_EQ(doc.WriteSimContact(contact("z", "3")), nullptr);
    doc.Disconnect();
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->m_nSimIndex, 2);
    EXPECT_EQ(written->m_strMobile, QStringLiteral("2"));
    EXPECT_TRUE(homeOnly.m_strMobile.isEmpty());
    EXPECT_EQ(commands("AT+CPBW="), QStringList {"AT+CPBW=2,\"2\",129,\"" + link2test::Sync(QStringLiteral("y")) + "\",255"});
}

// A rewrite the phone refuses leaves the entry as the phone still has it, live at its index:
// the next new contact does not take that index and so cannot overwrite it. A new entry the
// phone refused was never there and goes.
TEST_F(DocPhone, AFailedWriteKeepsThePhoneEntryAndDropsOnlyANewOne)
{
    phoneState().handset.entries[1].name = QStringLiteral("Old");
    phoneState().handset.entries[1].numbers[0].number = QStringLiteral("111");
    ASSERT_TRUE(doc.ReadHandsetBook());
    CPhoneEntry edited = *doc.m_arHandsetContacts[0];
    edited.m_strName = QStringLiteral("New name");

    phone.injectFault("AT+CPBW=*", Fault::error(), 2);
    QSignalSpy changed(&doc, &CMVsyncDoc::changed);
    std::vector<CPhoneEntry*> written = writeHandset({edited, contact("Fresh", "222")});
    EXPECT_EQ(written[0], nullptr);
    EXPECT_EQ(written[1], nullptr);
    ASSERT_EQ(doc.m_arHandsetContacts.size(), 1u);
    const CPhoneEntry& kept = *doc.m_arHandsetContacts[0];
    EXPECT_EQ(kept.m_strName, QStringLiteral("Old"));
    EXPECT_EQ(kept.m_nIndex, 1);
    EXPECT_FALSE(kept.IsDeleted());
    EXPECT_EQ(changed.count(), 1); // the dropped entry

    written = writeHandset({contact("Next", "333")});
    ASSERT_NE(written[0], nullptr);
    EXPECT_EQ(written[0]->m_nIndex, 2);
    EXPECT_EQ(phoneState().handset.entries.at(1).name, QStringLiteral("Old"));
}

// A number from the PIM store reaches the phone as a number field would hold it: what a field
// refuses is dropped, a '+' stays only in front (further on the phone would read it back as a
// pause), the pause 'P' goes as the phone writes it and reads back as 'P'.
TEST_F(DocPhone, PimNumbersReachThePhoneAsANumberFieldHoldsThem)
{
    const struct {
        const char* tel;  // the card's TEL value, escaped as in the file
        const char* sent; // the number field of the command
        const char* read; // the number read back from the phone
    } rows[] = {
        {"12\",3\\,4", "1234", "1234"},
        {"+49 (30) 123-45", "+493012345", "+493012345"},
        {"0171+22 33", "01712233", "01712233"},
        {"\"+1 555\"", "+1555", "+1555"},
        {"030 1234 ext. 5", "03012345", "03012345"},
        {"12\\\\34", "1234", "1234"},
        {"*31#0171", "*31#0171", "*31#0171"},
        {"0301234P5", "0301234+5", "0301234P5"},
        {"0301234p5", "03012345", "03012345"},
    };
    QList<QByteArray> tels;
    for (const auto& row : rows)
        tels << row.tel;
    ASSERT_TRUE(testsupport::ImportCellCards(tels, [&] { return doc.ImportOutlookContacts(); }));
    ASSERT_EQ(doc.m_arOutlookContacts.size(), std::size(rows));
    ASSERT_TRUE(doc.ReadHandsetBook());

    const std::vector<CPhoneEntry> sources = testsupport::InCardOrder(doc.m_arOutlookContacts, tels.size());
    ASSERT_EQ(sources.size(), std::size(rows));
    std::vector<int> indices;
    for (const CPhoneEntry* written : writeHandset(sources))
        indices.push_back(written ? written->m_nIndex : -1);
    const QStringList sent = commands("AT+CPBW=");
    ASSERT_EQ(sent.size(), qsizetype(std::size(rows)));
    ASSERT_TRUE(doc.ReadHandsetBook());
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].tel);
        ASSERT_GT(indices[i], 0);
        const QString field = QString::fromLatin1(rows[i].sent);
        EXPECT_TRUE(sent[qsizetype(i)].startsWith(QStringLiteral("AT+CPBW=%1,\"%2\",%3,")
                                                      .arg(indices[i])
                                                      .arg(field)
                                                      .arg(field.startsWith(u'+') ? 145 : 129)))
            << sent[qsizetype(i)].toStdString();
        const CPhoneEntry* read = nullptr;
        for (const auto& entry : doc.m_arHandsetContacts) {
            if (entry->m_nIndex == indices[i])
                read = entry.get();
        }
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->m_strMobile, QString::fromLatin1(rows[i].read));
    }

    // The SIM's one number likewise.
    ASSERT_TRUE(doc.ReadSimBook());
    ASSERT_TRUE(doc.SelectSimBook());
    CPhoneEntry* sim = doc.WriteSimContact(sources[0]);
    doc.Disconnect();
    ASSERT_NE(sim, nullptr);
    EXPECT_EQ(phoneState().sim.entries.at(sim->m_nSimIndex).number, QStringLiteral("1234"));
}

class DocPhoneModel1 : public DocPhone {
protected:
    DocPhoneModel1() : DocPhone(1) {}
};

// Model 1 takes no handset write of 226 characters or more, so a full entry goes without its fax:
// the phone entry holds what the phone has (and reads back), the user is told, and the PC contact
// keeps its fax. An entry that fits keeps its fax and says nothing.
TEST_F(DocPhoneModel1, AFaxThePhoneCannotTakeIsLeftOutAndSaidSo)
{
    CPhoneEntry full = contact(QStringLiteral("Zhang San Li"), QString(20, u'1'));
    full.m_strOffice = full.m_strHome = QString(20, u'2');
    full.m_strEmail = QString(24, u'e');
    full.m_strFax = QString(24, u'3');
    CPhoneEntry small = contact(QStringLiteral("Bo"), QStringLiteral("1"));
    small.m_strFax = QStringLiteral("0302");

    ASSERT_TRUE(doc.ReadHandsetBook());
    std::vector<CPhoneEntry*> written = writeHandset({full, small});
    ASSERT_NE(written[0], nullptr);
    ASSERT_NE(written[1], nullptr);
    EXPECT_EQ(written[0]->m_strName, full.m_strName);
    EXPECT_TRUE(written[0]->m_strFax.isEmpty());
    EXPECT_EQ(written[1]->m_strFax, QStringLiteral("0302"));
    EXPECT_EQ(full.m_strFax, QString(24, u'3'));
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("The phone cannot hold the whole entry \"%1\": it was written "
                                                           "without its fax number.").arg(full.m_strName)});
    EXPECT_TRUE(phoneState().handset.entries.at(1).fax.isEmpty());

    ASSERT_TRUE(doc.ReadHandsetBook());
    ASSERT_EQ(doc.m_arHandsetContacts.size(), 2u);
    EXPECT_TRUE(doc.m_arHandsetContacts[0]->m_strFax.isEmpty());
    EXPECT_EQ(doc.m_arHandsetContacts[0]->m_strEmail, full.m_strEmail);
    EXPECT_EQ(doc.m_arHandsetContacts[1]->m_strFax, QStringLiteral("0302"));
}

TEST_F(DocPhone, ReadsPauseReplaceAndEmptyOnFailure)
{
    phoneState().handset.entries[3].name = QStringLiteral("x");
    ASSERT_TRUE(doc.ReadHandsetBook());
    EXPECT_TRUE(doc.m_bHandsetRead);
    EXPECT_EQ(doc.m_nHandsetMax, 200);

    phone.injectFault("AT+CPBR=*", Fault::error());
    const qint64 start = now();
    EXPECT_FALSE(doc.ReadHandsetBook());
    EXPECT_GE(now() - start, CMVsyncDoc::kPhonePauseMs);
    EXPECT_FALSE(doc.m_bHandsetRead);
    EXPECT_TRUE(doc.m_arHandsetContacts.empty());
    EXPECT_EQ(ui().mainWindowEnabled, true);
    EXPECT_FALSE(doc.IsBusy());
}

TEST_F(DocPhone, DeletesRemoveAPhoneEntryOrMarkTheGivenRecord)
{
    phoneState().handset.entries[1].name = QStringLiteral("a");
    phoneState().handset.entries[2].name = QStringLiteral("b");
    ASSERT_TRUE(doc.ReadHandsetBook());
    CPhoneEntry pcCopy = contact("b", "", 2, CMVsyncDoc::ListHandset);
    ASSERT_TRUE(doc.SelectHandsetBook());
    EXPECT_TRUE(doc.DeleteHandsetContact(*doc.m_arHandsetContacts[0]));
    EXPECT_TRUE(doc.DeleteHandsetContact(pcCopy));
    phone.injectFault("AT+CPBW=*", Fault::error());
    EXPECT_FALSE(doc.DeleteHandsetContact(*doc.m_arHandsetContacts[0]));
    doc.Disconnect();
    ASSERT_EQ(doc.m_arHandsetContacts.size(), 1u);
    EXPECT_EQ(doc.m_arHandsetContacts[0]->m_strName, QStringLiteral("b"));
    EXPECT_TRUE(pcCopy.IsDeleted());
    EXPECT_EQ(pcCopy.m_nIndex, -1);
    EXPECT_TRUE(phoneState().handset.entries.empty());
}

// ">>" of the schedule and memo pages: the sources join the combined list and the list goes to
// the phone whole; a list the phone does not take is restored, so that nothing new seems to be
// on the phone. Deleting marks, sends, and drops the marked entries once the phone took it.
TEST_F(DocPhone, TheWholeListIsWrittenAndRestoredWhenThePhoneRefusesIt)
{
    phoneState().organizer = {{1, 0, QStringLiteral("Dentist"), QDateTime({2004, 3, 7}, {9, 0}), 0, std::nullopt}};
    ASSERT_TRUE(doc.ReadPhoneSchedules());
    ASSERT_EQ(doc.m_arPhoneList.size(), 1u);
    for (const char* text : {"milk", "bread"}) {
        auto memo = std::make_unique<CScheduleEntry>();
        memo->m_strSubject = QString::fromLatin1(text);
        memo->m_nKind = CScheduleEntry::KindMemo;
        memo->m_nList = CMVsyncDoc::ListPc;
        doc.m_arPcMemos.push_back(std::move(memo));
    }
    doc.m_arPcMemos[1]->m_nIndex = 1; // a stale link to what the new memo will take
    const std::vector<quintptr> first {CMVsyncDoc::RecordId(doc.m_arPcMemos[0].get())};

    phone.injectFault("AT+SSCW", Fault::error(), 1);
    const CMVsyncDoc::PhoneListWrite failed = doc.CopyToPhoneList(CScheduleEntry::KindMemo, CMVsyncDoc::ListPc, first);
    EXPECT_EQ(failed.added, 1);
    EXPECT_FALSE(failed.written);
    ASSERT_EQ(doc.m_arPhoneList.size(), 1u);
    EXPECT_EQ(doc.m_arPhoneList[0]->m_strSubject, QStringLiteral("Dentist"));
    EXPECT_EQ(phoneState().organizer.size(), 1u);
    // The links the transfer moved are back as well: the source has none, the other memo its own.
    EXPECT_EQ(doc.m_arPcMemos[0]->m_nIndex, -1);
    EXPECT_EQ(doc.m_arPcMemos[1]->m_nIndex, 1);

    const CMVsyncDoc::PhoneListWrite done = doc.CopyToPhoneList(CScheduleEntry::KindMemo, CMVsyncDoc::ListPc, first);
    EXPECT_TRUE(done.written);
    ASSERT_EQ(doc.m_arPhoneList.size(), 2u);
    EXPECT_EQ(doc.m_arPhoneList[1]->m_nIndex, 1);
    EXPECT_EQ(doc.m_arPhoneList[1]->m_nList, CMVsyncDoc::ListPhone);
    EXPECT_EQ(doc.m_arPcMemos[0]->m_nIndex, 1);
    EXPECT_EQ(doc.m_arPcMemos[1]->m_nIndex, -1); // the other memo's stale link went
    ASSERT_EQ(phoneState().organizer.size(), 2u);
    EXPECT_EQ(phoneState().organizer[1].text, QStringLiteral("milk"));

    // A subject the session cuts keeps its whole text when the phone refuses the list.
    doc.m_arPhoneList[0]->m_strSubject = QString(40, u's');
    phone.injectFault("AT+SSCW", Fault::error(), 1);
    EXPECT_FALSE(doc.WritePhoneSchedules());
    EXPECT_EQ(doc.m_arPhoneList[0]->m_strSubject, QString(40, u's'));

    const std::vector<quintptr> dentist {CMVsyncDoc::RecordId(doc.m_arPhoneList[0].get())};
    phone.injectFault("AT+SSCW", Fault::error(), 1);
    EXPECT_FALSE(doc.DeleteFromPhoneList(dentist));
    EXPECT_EQ(doc.m_arPhoneList.size(), 2u); // marked, kept for the next write
    EXPECT_EQ(doc.PhoneListCount(CScheduleEntry::KindSchedule), 0);
    EXPECT_TRUE(doc.WritePhoneSchedules());
    ASSERT_EQ(doc.m_arPhoneList.size(), 1u);
    EXPECT_EQ(phoneState().organizer.size(), 1u);
}

// The list went out and the phone's answer to AT+SSCW never came: it holds the old list or the new
// one. The document says so, drops the list until it is read again, and keeps no link to a place
// the write changed (the source's new place, a stale link there); the links right for both lists
// stay. A message delete the phone did not confirm leaves the message without its index.
TEST_F(DocPhone, AnUnconfirmedWriteKeepsNoPlaceItCannotBeSureOf)
{
    phoneState().organizer = {{2, 0, QStringLiteral("Dentist"), QDateTime({2004, 3, 7}, {9, 0}), 0, std::nullopt}};
    ASSERT_TRUE(doc.ReadPhoneSchedules());
    for (const int index : {0, 1, -1}) {
        auto memo = std::make_unique<CScheduleEntry>();
        memo->m_strSubject = QStringLiteral("memo %1").arg(index);
        memo->m_nKind = CScheduleEntry::KindMemo;
        memo->m_nList = CMVsyncDoc::ListPc;
        memo->m_nIndex = index; // linked to the Dentist; a stale link to place 1; the source
        doc.m_arPcMemos.push_back(std::move(memo));
    }
    const std::vector<quintptr> source {CMVsyncDoc::RecordId(doc.m_arPcMemos[2].get())};
    for (const Fault& fault : {Fault::lost(), Fault::lostThenClose(), Fault::delay(7000)}) {
        phone.injectFault("AT+SSCW", fault, 1);
        const CMVsyncDoc::PhoneListWrite result = doc.CopyToPhoneList(CScheduleEntry::KindMemo, CMVsyncDoc::ListPc, source);
        EXPECT_EQ(result.added, 1);
        EXPECT_FALSE(result.written);
        EXPECT_TRUE(result.unconfirmed);
        EXPECT_FALSE(doc.IsPhoneListRead());
        EXPECT_TRUE(doc.m_arPhoneList.empty());
        EXPECT_EQ(doc.m_arPcMemos[0]->m_nIndex, 0);
        EXPECT_EQ(doc.m_arPcMemos[1]->m_nIndex, -1);
        EXPECT_EQ(doc.m_arPcMemos[2]->m_nIndex, -1);
        // Nothing goes by the list before it is read again.
        phone.clearCommandLog();
        EXPECT_FALSE(doc.CopyToPhoneList(CScheduleEntry::KindMemo, CMVsyncDoc::ListPc, source).written);
        EXPECT_TRUE(commands().isEmpty());
        phoneState().organizer.resize(1);
        ASSERT_TRUE(doc.ReadPhoneSchedules());
    }
    // A plain refusal keeps the list and its links as they were.
    phone.injectFault("AT+SSCW", Fault::error(), 1);
    EXPECT_FALSE(doc.CopyToPhoneList(CScheduleEntry::KindMemo, CMVsyncDoc::ListPc, source).unconfirmed);
    EXPECT_TRUE(doc.IsPhoneListRead());

    phone.state().readStorage = "SM";
    phone.state().simMessages.entries[2] = {1, {}, phonesim::MakeDeliverPdu(QStringLiteral("+4930"), QStringLiteral("Hi"),
                                                       QDateTime({2004, 3, 7}, {9, 5})), {}, {}, {}};
    auto message = std::make_unique<CSmsEntry>();
    message->m_nIndex = 2;
    CSmsEntry* record = message.get();
    doc.m_arMessages.push_back(std::move(message));
    phone.injectFault("AT+CMGD=2", Fault::lostThenClose(), 1);
    ASSERT_TRUE(doc.ConnectForMessages());
    EXPECT_FALSE(doc.DeleteMessage(*record));
    EXPECT_TRUE(doc.PhoneOutcomeUnconfirmed());
    doc.Disconnect();
    EXPECT_EQ(record->m_nIndex, -1);
    EXPECT_FALSE(phone.state().simMessages.entries.count(2));
}

// With 20 live entries of both kinds nothing is sent; with 18, two of three go and the list is
// sent.
TEST_F(DocPhone, TheListHoldsTwentyEntriesOfBothKinds)
{
    for (int i = 0; i < 18; ++i)
        phoneState().organizer.push_back({i < 10 ? 1 : 2, i, QStringLiteral("e%1").arg(i), QDateTime({2004, 1, 1}, {12, 0}), 0, std::nullopt});
    ASSERT_TRUE(doc.ReadPhoneSchedules());
    EXPECT_EQ(doc.PhoneListStatusText(), QStringLiteral("Schedule:10 + Memo:8 = 18/20"));
    std::vector<quintptr> ids;
    for (int i = 0; i < 3; ++i) {
        auto schedule = std::make_unique<CScheduleEntry>();
        schedule->m_strSubject = QStringLiteral("new %1").arg(i);
        ids.push_back(CMVsyncDoc::RecordId(schedule.get()));
        doc.m_arPcSchedules.push_back(std::move(schedule));
    }
    const CMVsyncDoc::PhoneListWrite some = doc.CopyToPhoneList(CScheduleEntry::KindSchedule, CMVsyncDoc::ListPc, ids);
    EXPECT_EQ(some.added, 2);
    EXPECT_TRUE(some.full);
    EXPECT_TRUE(some.written);
    EXPECT_EQ(phoneState().organizer.size(), 20u);

    const int writes = int(commands("AT+SSCW").size());
    const CMVsyncDoc::PhoneListWrite none = doc.CopyToPhoneList(CScheduleEntry::KindSchedule, CMVsyncDoc::ListPc, {ids[2]});
    EXPECT_EQ(none.added, 0);
    EXPECT_TRUE(none.full);
    EXPECT_EQ(int(commands("AT+SSCW").size()), writes);
    EXPECT_EQ(doc.PhoneListStatusText(), QStringLiteral("Schedule:12 + Memo:8 = 20/20"));
    EXPECT_EQ(doc.m_arPcSchedules[2]->m_nIndex, -1);
}

// Indices are chosen, and the combined list is sent whole, only from a list that was read: a
// list never read or whose last read failed is empty here while the phone still holds entries,
// and writing from it would overwrite or erase them. Nothing is sent then, and the phone keeps
// every entry.
TEST_F(DocPhone, NothingIsWrittenFromAListThatWasNotRead)
{
    enum Read { Never, Failed, Ok };
    enum Write { WholeList, HandsetIndex, SimIndex };
    const struct {
        Read read;
        Write write;
    } cases[] = {
        {Never, WholeList},  {Failed, WholeList},  {Ok, WholeList},
        {Never, HandsetIndex}, {Failed, HandsetIndex}, {Ok, HandsetIndex},
        {Never, SimIndex},   {Failed, SimIndex},   {Ok, SimIndex},
    };
    for (const auto& c : cases) {
        static const char* const kRead[] = {"never read", "read failed", "read"};
        static const char* const kWrite[] = {"whole list", "handset index", "SIM index"};
        const std::string name = std::string(kRead[c.read]) + ", " + kWrite[c.write];
        phone.clearFaults();
        phone.clearCommandLog();
        phoneState().organizer = {{1, 0, QStringLiteral("Dentist"), QDateTime({2004, 3, 7}, {9, 0}), 0, std::nullopt},
                                  {2, 1, QStringLiteral("milk"), QDateTime({2004, 3, 7}, {9, 0}), 0, std::nullopt}};
        phoneState().handset.entries.clear();
        phoneState().handset.entries[1].name = QStringLiteral("one");
        phoneState().sim.last = 3;
        phoneState().sim.entries.clear();
        phoneState().sim.entries[1] = {QStringLiteral("first"), QStringLiteral("1"), 255};
        CMVsyncDoc fresh;
        CScheduleEntry memo;
        memo.m_strSubject = QStringLiteral("bread");
        fresh.m_arPcMemos.push_back(std::make_unique<CScheduleEntry>(memo));
        fresh.m_arPcMemos[0]->m_nKind = CScheduleEntry::KindMemo;

        const auto read = [&] {
            switch (c.write) {
            case WholeList: return fresh.ReadPhoneSchedules();
            case HandsetIndex: return fresh.ReadHandsetBook();
            default: return fresh.ReadSimBook();
            }
        };
        if (c.read != Never) {
            ASSERT_TRUE(read()) << name;
        }
        if (c.read == Failed) {
            phone.injectFault(c.write == WholeList ? "AT+SSCR" : "AT+CPBR=*", Fault::error());
            ASSERT_FALSE(read()) << name;
            phone.clearFaults();
        }

        bool written = false;
        switch (c.write) {
        case WholeList: {
            const CMVsyncDoc::PhoneListWrite copy = fresh.CopyToPhoneList(
                CScheduleEntry::KindMemo, CMVsyncDoc::ListPc, {CMVsyncDoc::RecordId(fresh.m_arPcMemos[0].get())});
            written = copy.written;
            EXPECT_EQ(copy.added > 0, c.read == Ok) << name;
            EXPECT_FALSE(copy.full) << name;
            // The list's own write and the allocation refuse as well.
            EXPECT_EQ(fresh.WritePhoneSchedules(), c.read == Ok) << name;
            CScheduleEntry another = memo;
            EXPECT_EQ(fresh.AddPhoneMemo(another) != nullptr, c.read == Ok) << name;
            EXPECT_EQ(fresh.AddPhoneSchedule(another) != nullptr, c.read == Ok) << name;
            EXPECT_EQ(phoneState().organizer.size(), c.read == Ok ? 3u : 2u) << name;
            break;
        }
        case HandsetIndex:
            EXPECT_TRUE(fresh.SelectHandsetBook());
            written = fresh.WriteHandsetContact(contact("Ann", "2")) != nullptr;
            fresh.Disconnect();
            EXPECT_EQ(phoneState().handset.entries.at(1).name, QStringLiteral("one")) << name;
            EXPECT_EQ(phoneState().handset.entries.size(), c.read == Ok ? 2u : 1u) << name;
            break;
        case SimIndex:
            EXPECT_TRUE(fresh.SelectSimBook());
            written = fresh.WriteSimContact(contact("Ann", "2")) != nullptr;
            fresh.Disconnect();
            EXPECT_EQ(phoneState().sim.entries.at(1).name, QStringLiteral("first")) << name;
            EXPECT_EQ(phoneState().sim.entries.size(), c.read == Ok ? 2u : 1u) << name;
            break;
        }
        EXPECT_EQ(written, c.read == Ok) << name;
        const QString write = c.write == WholeList ? QStringLiteral("AT+SSCW") : QStringLiteral("AT+CPBW=");
        EXPECT_EQ(commands(write).isEmpty(), c.read != Ok) << name;
    }
}

TEST_F(DocPhone, PortAndBaudMenus)
{
    ASSERT_TRUE(doc.ReadPhoneSchedules()); // leaves the port open
    ASSERT_TRUE(doc.m_session.m_port.IsOpen());
    doc.OnComPort(3);
    EXPECT_FALSE(doc.m_session.m_port.IsOpen());
    EXPECT_EQ(doc.m_session.m_port.m_nPort, 3);
    EXPECT_TRUE(doc.IsComPortChecked(3));
    EXPECT_FALSE(doc.IsComPortChecked(1));
    doc.OnComPort(5);
    EXPECT_EQ(doc.m_nComPort, 3);
    doc.OnBaudRate(115200);
    EXPECT_EQ(doc.m_nBaudRate, 115200);
    EXPECT_EQ(doc.m_session.m_port.m_nBaud, 115200);
    EXPECT_TRUE(doc.IsBaudChecked(115200));
    EXPECT_FALSE(doc.IsBaudChecked(19200));
}

// The message list: a read keeps what was composed here and puts the phone's after it; a
// message that was never stored cannot be deleted on the phone.
TEST_F(DocPhone, MessagesComposedHereStay)
{
    CSmsEntry composed;
    composed.m_strText = QStringLiteral("draft");
    CSmsEntry* draft = doc.AddOutgoingMessage(composed);
    EXPECT_EQ(draft->m_nState, CSyncRecord::StateNew);
    EXPECT_EQ(draft->m_nStatus, CSmsEntry::StatusUnsent);
    auto old = std::make_unique<CSmsEntry>();
    old->m_nIndex = 4;
    doc.m_arMessages.push_back(std::move(old));

    RecordList<CSmsEntry> fresh;
    fresh.push_back(std::make_unique<CSmsEntry>());
    fresh.back()->m_nIndex = 1;
    doc.TakeReadMessages(std::move(fresh));
    ASSERT_EQ(doc.m_arMessages.size(), 2u);
    EXPECT_EQ(doc.m_arMessages[0].get(), draft);
    EXPECT_EQ(doc.m_arMessages[1]->m_nIndex, 1);

    EXPECT_FALSE(doc.DeleteMessage(*draft));
    EXPECT_TRUE(commands().isEmpty());
}

// The message commands reach the phone: the read lists in PDU mode where the model does and in
// text mode where it does not, a failed read keeps the list; a draft is stored, sent and deleted.
TEST_F(DocPhone, MessageCommandsGoThroughTheSession)
{
    phone.state().handsetMessages.entries[3] = {1, {}, phonesim::MakeDeliverPdu(QStringLiteral("+4930"), QStringLiteral("Hi there"),
                                                         QDateTime({2004, 3, 7}, {9, 5})), {}, {}, {}};
    for (const auto& [model, listing] : {std::pair(CModelProfile::TypeCorvo, "AT+CMGL=4"), std::pair(CModelProfile::TypePilla, "AT+CMGL=\"ALL\"")}) {
        SCOPED_TRACE(listing);
        ModelProfile().SetModel(model);
        phone.clearCommandLog();
        ASSERT_TRUE(doc.ReadMessages()) << doc.m_session.m_nResult;
        EXPECT_EQ(commands("AT+CMGL"), QStringList {listing});
        ASSERT_EQ(doc.m_arMessages.size(), 1u);
        EXPECT_EQ(doc.m_arMessages[0]->m_nIndex, 3);
        EXPECT_EQ(doc.m_arMessages[0]->m_strText, QStringLiteral("Hi there"));
    }
    phone.injectFault("AT+CMGL=4", Fault::error());
    ModelProfile().SetModel(CModelProfile::TypeCorvo);
    EXPECT_FALSE(doc.ReadMessages());
    EXPECT_FALSE(doc.m_bMessagesRead);
    EXPECT_EQ(doc.m_arMessages.size(), 1u);

    CSmsEntry composed;
    composed.m_strText = QStringLiteral("See you");
    composed.m_strNumber = QStringLiteral("+4930");
    CSmsEntry* draft = doc.AddOutgoingMessage(composed);
    ASSERT_TRUE(doc.StoreMessage(*draft)) << doc.m_session.m_nResult;
    ASSERT_GE(draft->m_nIndex, 1);
    EXPECT_EQ(phone.state().simMessages.entries.at(draft->m_nIndex).stat, 2);
    phone.state().writeStorage = "SM";
    EXPECT_TRUE(doc.SendStoredMessage(*draft));
    EXPECT_EQ(phone.state().simMessages.entries.at(draft->m_nIndex).stat, 3);

    phone.state().readStorage = "SM";
    const int stored = draft->m_nIndex;
    ASSERT_TRUE(doc.ConnectForMessages());
    EXPECT_TRUE(doc.DeleteMessage(*draft));
    doc.Disconnect();
    EXPECT_FALSE(phone.state().simMessages.entries.count(stored));
    ASSERT_EQ(doc.m_arMessages.size(), 1u); // the draft went, the phone's message stays
    EXPECT_EQ(doc.m_arMessages[0]->m_nIndex, 3);
}

} // namespace
