#include "document/mvsync_doc.h"

#include "link/capacities.h"
#include "link/progress_view.h"
#include "link/simulated_phone_fixture.h"
#include "support/pim_cards.h"
#include "support/recording_progress.h"

#include <QSignalSpy>

using namespace dh1;

namespace {

// The document driving the phone session against the simulated phone.
class DocPhone : public SimulatedPhoneTest {
protected:
    DocPhone()
    {
        phonesim::BookEntry ann;
        ann.name = QStringLiteral("Ann");
        ann.mobile = QStringLiteral("+4930123");
        ann.group = 1;
        phone.state().handset.entries[3] = ann;
        phonesim::BookEntry bob;
        bob.name = QStringLiteral("Bob");
        bob.mobile = QStringLiteral("0170");
        phone.state().sim.entries[2] = bob;
    }

    CMVsyncDoc doc;

private:
    testsupport::ScopedRecordingProgress m_progress;
};

TEST_F(DocPhone, ReadReplacesTheListAndTheGroupNames)
{
    QSignalSpy spy(&doc, &CMVsyncDoc::changed);
    ASSERT_TRUE(doc.ReadHandsetBook());
    EXPECT_TRUE(doc.m_bHandsetRead);
    ASSERT_EQ(doc.m_handsetContacts.size(), 1u);
    EXPECT_EQ(doc.m_handsetContacts[0]->m_strName, QStringLiteral("Ann"));
    EXPECT_EQ(doc.m_handsetContacts[0]->m_nIndex, 3);
    EXPECT_EQ(doc.m_groupNames, phone.state().groups);
    EXPECT_GE(spy.count(), 1);

    // A phone that sends five group lines: the sixth and seventh names stay.
    const QStringList before = doc.m_groupNames;
    phone.state().groups = QStringList{"A", "B", "C", "D", "E"};
    ASSERT_TRUE(doc.ReadSimBook());
    EXPECT_TRUE(doc.m_bSimRead);
    ASSERT_EQ(doc.m_groupNames.size(), CMVsyncDoc::kGroupCount);
    EXPECT_EQ(doc.m_groupNames.mid(0, 5), (QStringList{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(doc.m_groupNames.mid(5), before.mid(5));
}

TEST_F(DocPhone, FailedReadEmptiesTheListAndClearsTheFlag)
{
    ASSERT_TRUE(doc.ReadHandsetBook());
    phone.injectFault("AT+CPBR=*", phonesim::Fault::cmeError(21));
    EXPECT_FALSE(doc.ReadHandsetBook());
    EXPECT_FALSE(doc.m_bHandsetRead);
    EXPECT_TRUE(doc.m_handsetContacts.empty());
}

TEST_F(DocPhone, WritesUpdateTheEntryWithTheSameKey)
{
    ASSERT_TRUE(doc.ReadHandsetBook());
    CPhoneEntry source = *doc.m_handsetContacts[0];
    source.m_strName = QStringLiteral("Ann Changed");
    source.m_nList = 1;
    ASSERT_TRUE(doc.SelectHandsetBook());
    EXPECT_EQ(doc.WriteHandsetContact(source), 3);
    CPhoneEntry fresh;
    fresh.m_strName = QStringLiteral("Cleo");
    fresh.m_strMobile = QStringLiteral("555");
    const int index = doc.WriteHandsetContact(fresh);
    EXPECT_TRUE(doc.Disconnect());
    EXPECT_GT(index, 0);
    EXPECT_EQ(fresh.m_nIndex, -1); // the source stays the caller's
    ASSERT_EQ(doc.m_handsetContacts.size(), 2u);
    EXPECT_EQ(doc.m_handsetContacts[0]->m_strName, QStringLiteral("Ann Changed"));
    EXPECT_EQ(doc.m_handsetContacts[1]->m_nIndex, index);
    EXPECT_EQ(phone.state().handset.entries.at(index).name, QStringLiteral("Cleo"));

    // A refused write leaves the list alone and answers -1.
    phone.injectFault("AT+CPBW=*", phonesim::Fault::cmeError(20));
    ASSERT_TRUE(doc.SelectHandsetBook());
    EXPECT_EQ(doc.WriteHandsetContact(fresh), -1);
    doc.Disconnect();
    EXPECT_EQ(doc.m_handsetContacts.size(), 2u);
}

// A number from the PIM store reaches the phone as a number field would hold it: what a field
// refuses is dropped, a '+' stays only in front, service codes keep their '*' and '#', and the
// pause letter stays in either case.
TEST_F(DocPhone, PimNumbersReachThePhoneAsANumberFieldHoldsThem)
{
    const struct {
        const char* tel;    // the card's TEL value, escaped as in the file
        const char* number; // on the phone, and read back
    } rows[] = {
        {"12\",3\\,4", "1234"},
        {"+49 (30) 123-45", "+493012345"},
        {"0171+22 33", "01712233"},
        {"\"+1 555\"", "+1555"},
        {"030 1234 ext. 5", "03012345"},
        {"12\\\\34", "1234"},
        {"*31#0171", "*31#0171"},
        {"0301234P5", "0301234P5"},
        {"0301234p5", "0301234p5"},
    };
    QList<QByteArray> tels;
    for (const auto& row : rows)
        tels << row.tel;
    ASSERT_TRUE(testsupport::ImportCellCards(tels, [&] { return doc.ImportOutlookContacts(); }));
    ASSERT_EQ(doc.m_outlookContacts.size(), std::size(rows));

    ASSERT_TRUE(doc.ReadHandsetBook());
    ASSERT_TRUE(doc.SelectHandsetBook());
    std::vector<int> indices;
    for (const CPhoneEntry& source : testsupport::InCardOrder(doc.m_outlookContacts, tels.size()))
        indices.push_back(doc.WriteHandsetContact(source));
    doc.Disconnect();
    ASSERT_EQ(indices.size(), std::size(rows));
    ASSERT_TRUE(doc.ReadHandsetBook());
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].tel);
        ASSERT_GT(indices[i], 0);
        const QString number = QString::fromLatin1(rows[i].number);
        EXPECT_EQ(phone.state().handset.entries.at(indices[i]).mobile, number);
        const auto read = std::find_if(doc.m_handsetContacts.begin(), doc.m_handsetContacts.end(),
                                       [&](const auto& entry) { return entry->m_nIndex == indices[i]; });
        ASSERT_NE(read, doc.m_handsetContacts.end());
        EXPECT_EQ((*read)->m_strMobile, number);
    }
}

TEST_F(DocPhone, SimDeleteClearsTheSimIndexAndKeepsThePhoneIndex)
{
    ASSERT_TRUE(doc.ReadSimBook());
    ASSERT_EQ(doc.m_simContacts.size(), 1u);
    CPhoneEntry& bob = *doc.m_simContacts[0];
    bob.m_nIndex = 8;
    ASSERT_TRUE(doc.SelectSimBook());
    EXPECT_TRUE(doc.DeleteSimContact(bob));
    doc.Disconnect();
    EXPECT_EQ(bob.m_nSimIndex, -1);
    EXPECT_EQ(bob.m_nIndex, 8);
    EXPECT_EQ(bob.m_nState, CSyncRecord::StateDeleted);
    EXPECT_TRUE(phone.state().sim.entries.empty());
}

TEST_F(DocPhone, SchedulesAndMemosGoThroughTheDocument)
{
    ASSERT_TRUE(doc.ConnectForSchedules());
    CScheduleEntry meeting;
    meeting.m_strSubject = QStringLiteral("Meeting");
    meeting.m_dtStart = COleDateTime(2004, 3, 7, 9, 5, 0);
    const int index = doc.WritePhoneSchedule(meeting);
    doc.Disconnect();
    ASSERT_GE(index, 0);
    ASSERT_TRUE(doc.ReadPhoneSchedules());
    EXPECT_TRUE(doc.m_bSchedulesRead);
    bool found = false;
    for (const auto& s : doc.m_phoneSchedules)
        found = found || (s->m_nIndex == index && s->m_strSubject == QStringLiteral("Meeting"));
    EXPECT_TRUE(found);

    ASSERT_TRUE(doc.ConnectForMemos());
    CMemoEntry memo;
    memo.m_strText = QStringLiteral("milk");
    EXPECT_GE(doc.WritePhoneMemo(memo), 0);
    doc.Disconnect();
    ASSERT_TRUE(doc.ReadPhoneMemos());
    ASSERT_FALSE(doc.m_phoneMemos.empty());
    CMemoEntry& stored = *doc.m_phoneMemos.back();
    ASSERT_TRUE(doc.ConnectForMemos());
    EXPECT_TRUE(doc.DeletePhoneMemo(stored));
    doc.Disconnect();
    EXPECT_EQ(stored.m_nIndex, -1);
}

TEST_F(DocPhone, MessagesKeepTheOldListOnFailureAndDeleteEveryPart)
{
    doc.m_messages.push_back(std::make_unique<CSmsEntry>());
    phone.injectFault("AT+CMGF=*", phonesim::Fault::error());
    EXPECT_FALSE(doc.ReadMessages());
    EXPECT_EQ(doc.m_messages.size(), 1u);

    CSmsEntry twoParts;
    twoParts.m_parts[0] = {1, 4, {}};
    twoParts.m_parts[1] = {2, 4, {}};
    phonesim::StoredMessage stored;
    stored.pdu = "00";
    phone.state().simMessages.entries[1] = stored;
    phone.state().simMessages.entries[2] = stored;
    ASSERT_TRUE(doc.ConnectForMessages());
    EXPECT_TRUE(doc.DeleteMessage(twoParts));
    doc.Disconnect();
    EXPECT_EQ(twoParts.m_parts[0].m_nIndex, -1);
    EXPECT_EQ(twoParts.m_parts[1].m_nIndex, -1);
    EXPECT_EQ(twoParts.m_nState, CSyncRecord::StateDeleted);
    EXPECT_TRUE(phone.state().simMessages.entries.empty());
}

TEST_F(DocPhone, ComPortMenu)
{
    doc.OnComPort(3);
    EXPECT_TRUE(doc.IsComPortChecked(3));
    EXPECT_FALSE(doc.IsComPortChecked(1));
    EXPECT_EQ(doc.m_session.m_port.m_nPort, 3);
    doc.OnComPort(9);
    EXPECT_EQ(doc.m_nComPort, 3);
    doc.OnToggleIrComm();
    EXPECT_TRUE(doc.IsIrCommChecked());
}

} // namespace
