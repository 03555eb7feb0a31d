// Stored messages against the simulated phone.
#include "phone_session_fixture.h"

#include "phonesim/sms_pdu.h"

namespace {

using phonesim::Fault;
using phonesim::StoredMessage;

StoredMessage Message(int stat, const QString& text, const QString& alpha = {})
{
    StoredMessage message;
    message.stat = stat;
    message.alpha = alpha;
    message.pdu = phonesim::MakeDeliverPdu(QStringLiteral("+4917012345"), text, QDateTime(QDate(2004, 3, 7), QTime(9, 5)));
    return message;
}

using MessageTest = PhoneSessionTest;

TEST_F(MessageTest, NoStoredMessages)
{
    RecordList<CSmsEntry> list;
    ASSERT_TRUE(session.ReadMessages(list));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(commands().mid(4), QStringList({"AT+CMGF=0", "AT+CPMS=\"ME\",\"SM\"", "AT+SYNCSTOP", "ATE1", "AT+CSCS=\"IRA\""}));
    EXPECT_EQ(g_nSmsHandsetUsed, 0);
    EXPECT_EQ(g_nSmsHandsetTotal, 50);
    EXPECT_EQ(g_nSmsSimUsed, 0);
    EXPECT_EQ(g_nSmsSimTotal, 20);
}

TEST_F(MessageTest, SimStorageFirstThenHandset)
{
    phone.state().handsetMessages.entries[2] = Message(3, QStringLiteral("sent one"));
    phone.state().simMessages.entries[1] = Message(0, QStringLiteral("unread"), QStringLiteral("Bob"));
    phone.state().simMessages.entries[5] = Message(1, QStringLiteral("read"));
    phone.state().simMessages.entries[6] = Message(2, QStringLiteral("unsent"));

    RecordList<CSmsEntry> list;
    ASSERT_TRUE(session.ReadMessages(list));
    EXPECT_EQ(commands().mid(4, 6), QStringList({"AT+CMGF=0", "AT+CPMS=\"ME\",\"SM\"", "AT+CPMS=\"SM\",\"SM\",\"\"",
                                         "AT+CMGL=4", "AT+CPMS=\"ME\",\"ME\",\"\"", "AT+CMGL=4"}));
    EXPECT_EQ(g_nSmsSimUsed, 3);
    EXPECT_EQ(g_nSmsHandsetUsed, 1);

    const struct {
        int index;
        int storage;
        int status;
        const char* name;
    } expected[] = {
        {1, 4, CSmsEntry::StatusUnread, "Bob"},
        {5, 4, CSmsEntry::StatusRead, ""},
        {6, 4, CSmsEntry::StatusUnsent, ""},
        {2, 3, CSmsEntry::StatusSent, ""},
    };
    ASSERT_EQ(list.size(), 4u);
    for (size_t i = 0; i < list.size(); ++i) {
        const CSmsEntry& record = *list[i];
        EXPECT_EQ(record.m_nIndex, expected[i].index) << i;
        EXPECT_EQ(record.m_nList, expected[i].storage) << i;
        EXPECT_EQ(record.m_nStatus, expected[i].status) << i;
        EXPECT_EQ(record.m_strName, QString::fromLatin1(expected[i].name)) << i;
        // The first part is the stored message itself, so that it can be deleted later.
        EXPECT_EQ(record.m_parts[0].m_nStorage, expected[i].storage) << i;
        EXPECT_EQ(record.m_parts[0].m_nIndex, expected[i].index) << i;
        EXPECT_EQ(record.m_parts[1].m_nIndex, -1) << i;
    }
    EXPECT_EQ(list[0]->m_strPdu, QString::fromLatin1(phone.state().simMessages.entries[1].pdu));

    // Deleting by the first part reaches the phone.
    ASSERT_TRUE(session.Connect(true));
    const CSmsEntry::Part& part = list[3]->m_parts[0];
    EXPECT_TRUE(session.DeleteMessage(part.m_nIndex, part.m_nStorage));
    EXPECT_TRUE(phone.state().handsetMessages.entries.empty());
    session.Disconnect();
}

// Alpha names come as the phone stores them, in a single-byte code page.
TEST_F(MessageTest, LatinOneAlphaNamesAreReadInTheLegacyCodePage)
{
    phone.state().simMessages.entries[1] = Message(1, QStringLiteral("x"), QStringLiteral("Zoë Müller"));
    RecordList<CSmsEntry> list;
    ASSERT_TRUE(session.ReadMessages(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->m_strName, QStringLiteral("Zoë Müller"));
    EXPECT_EQ(list[0]->m_strPdu, QString::fromLatin1(phone.state().simMessages.entries[1].pdu));
}

TEST_F(MessageTest, AnAlphaNameMayHoldCommas)
{
    phone.state().simMessages.entries[1] = Message(1, QStringLiteral("x"), QStringLiteral("Al,ice"));
    phone.state().simMessages.entries[2] = Message(0, QStringLiteral("y"), QStringLiteral("B,"));
    RecordList<CSmsEntry> list;
    ASSERT_TRUE(session.ReadMessages(list));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->m_strName, QStringLiteral("Al,ice"));
    EXPECT_EQ(list[1]->m_strName, QStringLiteral("B,"));
    EXPECT_EQ(list[1]->m_nStatus, CSmsEntry::StatusUnread);
}

TEST_F(MessageTest, AListLineWithoutItsStatusFailsTheRead)
{
    phone.state().simMessages.entries[1] = Message(1, QStringLiteral("x"));
    phone.state().handsetMessages.entries[1] = Message(1, QStringLiteral("y"));
    phone.injectFault("AT+CMGL=4", Fault::reply("\r\n+CMGL: 1\r\n0011\r\n\r\nOK\r\n"), 1);
    RecordList<CSmsEntry> list;
    EXPECT_FALSE(session.ReadMessages(list));
    EXPECT_EQ(session.m_nResult, SESSION_BAD_REPLY);
    // The handset storage is not read after a failure.
    EXPECT_EQ(commands().filter(QStringLiteral("AT+CMGL")).size(), 1);
    EXPECT_FALSE(session.m_bConnected);
}

TEST_F(MessageTest, DeleteMessage)
{
    phone.state().simMessages.entries[3] = Message(1, QStringLiteral("x"));
    ASSERT_TRUE(session.Connect(true));
    phone.clearCommandLog();
    EXPECT_FALSE(session.DeleteMessage(0, 4));
    EXPECT_FALSE(session.DeleteMessage(3, 5));
    EXPECT_TRUE(commands().isEmpty());
    EXPECT_EQ(session.m_nResult, SESSION_NOTHING_SENT);

    EXPECT_TRUE(session.DeleteMessage(3, 4));
    EXPECT_EQ(commands(), QStringList({"AT+CPMS=\"SM\",\"SM\",\"\"", "AT+CMGD=3"}));
    EXPECT_FALSE(session.DeleteMessage(3, 4));
    EXPECT_EQ(session.m_nResult, AT_CMS_ERROR);
    session.Disconnect();
}

TEST_F(MessageTest, SendingIsNotOffered)
{
    CSmsEntry record;
    EXPECT_FALSE(session.SendSms(record, true, true));
    EXPECT_TRUE(lines.writes().empty());
    RecordList<CSmsEntry> list;
    EXPECT_FALSE(session.AfterReadMessages(list));
}

TEST(MessageParsing, Headers)
{
    CPhoneSession session;
    const struct {
        const char* segment;
        bool ok;
        int index;
        int status;
        const char* name;
        const char* pdu;
    } cases[] = {
        {"5,3,\"Bob\",20\r\n0791AB", true, 5, CSmsEntry::StatusSent, "Bob", "0791AB"},
        {"5,2,,20\r\n0791AB", true, 5, CSmsEntry::StatusUnsent, "", "0791AB"},
        {"5,3,\"Al,ice\",20\r\n0791AB", true, 5, CSmsEntry::StatusSent, "Al,ice", "0791AB"},
        // An unbalanced quote runs to the end of the header line, not into the PDU.
        {"5,3,\"Al,20\r\n0791AB", true, 5, CSmsEntry::StatusSent, "Al,20", "0791AB"},
        {"7,9,,20", true, 7, CSmsEntry::StatusUnsent, "", ""},
        {"7,0", true, 7, CSmsEntry::StatusUnread, "", ""},
        {"7", false, 0, 0, "", ""},
        {"", false, 0, 0, "", ""},
    };
    for (const auto& c : cases) {
        CSmsEntry record;
        ASSERT_EQ(session.ParseMessageHeader(QString::fromLatin1(c.segment), record), c.ok) << c.segment;
        if (!c.ok)
            continue;
        EXPECT_EQ(record.m_nIndex, c.index) << c.segment;
        EXPECT_EQ(record.m_nStatus, c.status) << c.segment;
        EXPECT_EQ(record.m_strName, QString::fromLatin1(c.name)) << c.segment;
        EXPECT_EQ(record.m_strPdu, QString::fromLatin1(c.pdu)) << c.segment;
    }
}

TEST(MessageParsing, HexToBytes)
{
    const struct {
        const char* hex;
        QByteArray bytes;
    } cases[] = {
        {"0A1BFF", QByteArray("\x0a\x1b\xff")},
        {"0A1", QByteArray("\x0a")},       // an odd digit at the end is no pair
        {"0AZZ11", QByteArray("\x0a")},    // stops at the first invalid pair
        {"0a", QByteArray()},              // upper case only
        {"", QByteArray()},
    };
    for (const auto& c : cases) {
        QByteArray out("stale");
        EXPECT_EQ(CPhoneSession::HexToBytes(out, QString::fromLatin1(c.hex)), c.bytes.size()) << c.hex;
        EXPECT_EQ(out, c.bytes) << c.hex;
    }
}

} // namespace
