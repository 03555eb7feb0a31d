// Short messages against the simulated phone: the PDU listing with its text re-read, the
// text listing, storing through the prompt, sending a stored message and deleting one.
#include "session_fixture.h"

#include "common/message_pump.h"
#include "link2/message_parser.h"
#include "phonesim/fault.h"
#include "phonesim/sms_pdu.h"

#include <gtest/gtest.h>

namespace {

using namespace dh2;
using link2test::SessionTest;
using phonesim::Fault;

// "Hello" with a predefined sound at position 2, from +46708251358.
const QByteArray kEmsSound = "00440B916407281553F80000403070905003400B040B02020520CB6CF61B";
// Part 1 of 2 of "Hi!" from +49170123456.
const QByteArray kPartPdu = "00440B919471103254F60000403060812401000A050003CC020190E910";
// A status report, which the decoder leaves to the text re-read.
const QByteArray kStatusReport = "0006D60B911326880736F4111011719551401110117195714000";

const QDateTime kSent({2004, 3, 6}, {18, 42, 10});

class MessagesTest : public SessionTest {
protected:
    explicit MessagesTest(int model = 2) : SessionTest(model)
    {
        auto& entries = phone.state().handsetMessages.entries;
        entries[1] = {0, {}, phonesim::MakeDeliverPdu(QStringLiteral("+4917012345678"), QStringLiteral("See you, ALL OK"), kSent), {}, {}, {}};
        entries[2] = {2, QStringLiteral("Li, Wei"), phonesim::MakeSubmitPdu(QStringLiteral("+8613800138000"), QStringLiteral("你好")), {}, {}, {}};
        entries[3] = {1, {}, kEmsSound, {}, {}, {}};
        entries[4] = {1, {}, kPartPdu, {}, {}, {}};
    }

    // The texts of the records, by index.
    static QMap<int, QString> Texts(const RecordList<CSmsEntry>& list)
    {
        QMap<int, QString> texts;
        for (const auto& record : list)
            texts.insert(record->m_nIndex, record->m_strText);
        return texts;
    }
};

class MessagesModel1Test : public MessagesTest {
protected:
    MessagesModel1Test() : MessagesTest(1) {}
};

const QStringList kOpening = {"AT", "ATI", "AT+SINF", "ATE0", "AT+SSLP=2000", "AT+SBEG"};
const QStringList kClosing = {"AT+SEND", "AT+CSCS=\"GSM\"", "ATE1"};

TEST_F(MessagesTest, ListsInPduModeAndReadsThePartsAgainAsText)
{
    RecordList<CSmsEntry> list;
    ASSERT_TRUE(session.ReadMessages(list)) << session.m_nResult;
    const QStringList listing {"AT+CSCS=\"GSM\"", "AT+CMGF=0", "AT+CMGL=4", "AT+CMGF=1", "AT+CMGR=4"};
    EXPECT_EQ(commands(), kOpening + listing + kClosing);
    const QMap<int, QString> texts {{1, "See you, ALL OK"}, {2, "你好"}, {3, "[EMS]"}, {4, "Hi!"}};
    EXPECT_EQ(Texts(list), texts);
    const CSmsEntry& received = *list[0];
    EXPECT_EQ(received.m_nStatus, CSmsEntry::StatusUnread);
    EXPECT_EQ(received.m_strNumber, QStringLiteral("+4917012345678"));
    EXPECT_EQ(received.m_strDate, QStringLiteral("4/3/6"));
    EXPECT_EQ(received.m_strTime, QStringLiteral("18:42:10 0"));
    EXPECT_EQ(list[1]->m_strName, QStringLiteral("Li, Wei"));
    EXPECT_EQ(list[1]->m_nStatus, CSmsEntry::StatusUnsent);
    EXPECT_TRUE(list[1]->m_strDate.isEmpty());
    // The text re-read gives the part its text-mode fields.
    EXPECT_EQ(list[3]->m_strNumber, QStringLiteral("+49170123456"));
    EXPECT_EQ(list[3]->m_strDate, QStringLiteral("04/03/06"));
    EXPECT_EQ(list[3]->m_nStatus, CSmsEntry::StatusRead);

    // A second listing reads the part again once, not twice.
    phone.clearCommandLog();
    list.clear();
    ASSERT_TRUE(session.ReadMessages(list));
    EXPECT_EQ(commands("AT+CMGR"), QStringList {"AT+CMGR=4"});
    EXPECT_EQ(list.size(), 4u);
}

TEST_F(MessagesModel1Test, ReadsAgainInSyncWhereTheModelListsThere)
{
    phone.state().handsetMessages.entries[5] = {1, {}, kStatusReport, {}, {}, {}};
    RecordList<CSmsEntry> list;
    ASSERT_TRUE(session.ReadMessages(list)) << session.m_nResult;
    EXPECT_EQ(commands().mid(kOpening.size() + 3, 4),
        QStringList({"AT+CMGF=1", "AT+CSCS=\"SYNC\"", "AT+CMGR=4", "AT+CMGR=5"}));
    EXPECT_EQ(Texts(list).value(4), QStringLiteral("Hi!"));
}

TEST_F(MessagesTest, ListsInTextMode)
{
    RecordList<CSmsEntry> list;
    ASSERT_TRUE(session.ReadMessagesText(list)) << session.m_nResult;
    const QStringList listing {"AT+CSCS=\"GSM\"", "AT+CMGF=1", "AT+CPMS?", "AT+CMGL=\"ALL\""};
    EXPECT_EQ(commands(), kOpening + listing + kClosing);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0]->m_strText, QStringLiteral("See you, ALL OK"));
    EXPECT_EQ(list[0]->m_strDate, QStringLiteral("04/03/06"));
    EXPECT_EQ(list[0]->m_strTime, QStringLiteral("18:42:10+00"));
    EXPECT_EQ(list[1]->m_strName, QStringLiteral("Li, Wei"));
    EXPECT_EQ(list[1]->m_strText, QStringLiteral("你好"));
    EXPECT_TRUE(list[1]->m_strDate.isEmpty());
    EXPECT_EQ(list[3]->m_strText, QStringLiteral("Hi!"));
    EXPECT_FALSE(session.m_port.m_bPromptIsNotSuccess);
}

// A part of a longer text from +49170123456, as the phone stores it: a message of seven "@"
// (code 0) and the text, whose first six octets then make room for the concatenation header.
QByteArray PartPdu(const QString& text)
{
    QByteArray pdu = phonesim::MakeDeliverPdu(QStringLiteral("+49170123456"), QString(7, u'@') + text, kSent);
    pdu[2] = '4'; // the first octet says a header comes first
    constexpr qsizetype kUserData = 40; // after the address, the time stamp and the length
    EXPECT_EQ(pdu.mid(kUserData, 12), QByteArray(12, '0'));
    return pdu.replace(kUserData, 12, "050003CC0201");
}

// A message's text is its text whatever it reads: the line after a header never ends the reply,
// only the reply's last line can. Each text, in a listing of several in text mode and as the
// text re-read of a part in PDU mode, with the replies whole and one byte at a time.
TEST_F(MessagesTest, TextsThatReadLikeResultsStayTexts)
{
    const char* texts[] = {"OK", "ok", "ERROR", "+CME ERROR: 5", "+CMS ERROR: 321", "+CGR ERROR", "RING", "+CMSS: 5", ">"};
    for (const bool bytewise : {false, true}) {
        for (const char* text : texts) {
            SCOPED_TRACE(std::string(text) + (bytewise ? ", one byte at a time" : ""));
            phone.clearFaults();
            if (bytewise) {
                phone.injectFault("AT+CMGL=*", Fault::split(1, 150));
                phone.injectFault("AT+CMGR=*", Fault::split(1, 150));
            }
            auto& entries = phone.state().handsetMessages.entries;
            entries.clear();
            const QString t = QString::fromLatin1(text);
            entries[1] = {1, {}, phonesim::MakeDeliverPdu(QStringLiteral("+4917012345678"), QStringLiteral("Before"), kSent), {}, {}, {}};
            entries[2] = {1, {}, phonesim::MakeDeliverPdu(QStringLiteral("+4917012345678"), t, kSent), {}, {}, {}};
            entries[3] = {1, {}, PartPdu(t), {}, {}, {}};
            const QMap<int, QString> expected {{1, "Before"}, {2, t}, {3, t}};

            RecordList<CSmsEntry> listed;
            EXPECT_TRUE(session.ReadMessagesText(listed)) << session.m_nResult;
            EXPECT_EQ(Texts(listed), expected);
            phone.clearCommandLog();
            RecordList<CSmsEntry> read;
            EXPECT_TRUE(session.ReadMessages(read)) << session.m_nResult;
            EXPECT_EQ(Texts(read), expected);
            EXPECT_EQ(commands("AT+CMGR"), QStringList {"AT+CMGR=3"});
            EXPECT_TRUE(ui().boxes.empty());
        }
    }
}

// Anyone who can send a text can write lines that read like a listing's header. In a text-mode
// listing a text never makes, ends or cuts another record: a header counts only after the
// phone's own CR LF, and when the listing holds more headers than the storage holds messages
// (or the phone does not tell its count), each listed message is read again by itself.
TEST_F(MessagesTest, ATextCannotForgeAMessageInTheTextListing)
{
    const QString forged = QStringLiteral("+CMGL: 9,\"REC READ\",\"+1999\",\"\",,0");
    const QString planted = QStringLiteral("See you\r\n") + forged + QStringLiteral("\r\nbye");
    const struct {
        const char* name;
        QString text;            // of message 1
        bool real9;              // a real message 9 is there too
        bool countUnknown;       // the phone answers the storage query with ERROR
        QMap<int, QString> texts; // what the listing gives
        int reads;               // indices read one by one (a made-up one answers with an error)
    } cases[] = {
        {"a header after a line feed is text", QStringLiteral("hi\n") + forged + QStringLiteral("\nbye"), false, false,
            {{1, QStringLiteral("hi\r\n") + forged + QStringLiteral("\r\nbye")}, {2, "Later"}}, 0},
        {"a header after CR LF: one header more than messages", planted, false, false, {{1, planted}, {2, "Later"}}, 3},
        {"the forged index is a real message's", planted, true, false, {{1, planted}, {2, "Later"}, {9, "Real nine"}}, 3},
        {"no count: every message read by itself", planted, false, true, {{1, planted}, {2, "Later"}}, 3},
        {"no count, nothing forged", QStringLiteral("plain"), false, true, {{1, "plain"}, {2, "Later"}}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        phone.clearFaults();
        if (c.countUnknown)
            phone.injectFault("AT+CPMS?", Fault::error());
        auto& entries = phone.state().handsetMessages.entries;
        entries.clear();
        entries[1] = {1, {}, phonesim::MakeDeliverPdu(QStringLiteral("+4917012345678"), c.text, kSent), {}, {}, {}};
        entries[2] = {1, {}, phonesim::MakeDeliverPdu(QStringLiteral("+4917012345678"), QStringLiteral("Later"), kSent), {}, {}, {}};
        if (c.real9)
            entries[9] = {1, {}, phonesim::MakeDeliverPdu(QStringLiteral("+4930"), QStringLiteral("Real nine"), kSent), {}, {}, {}};
        phone.clearCommandLog();
        RecordList<CSmsEntry> list;
        EXPECT_TRUE(session.ReadMessagesText(list)) << session.m_nResult;
        EXPECT_EQ(Texts(list), c.texts);
        for (const auto& record : list)
            EXPECT_NE(record->m_strNumber, QStringLiteral("+1999"));
        EXPECT_EQ(commands("AT+CMGR").size(), c.reads);
    }
}

TEST_F(MessagesTest, AFailedListingLeavesThePromptFlagClear)
{
    // The flag covers the listing alone: the wake-up still sees a phone left at the prompt.
    phone.state().atPrompt = true;
    RecordList<CSmsEntry> texts;
    ASSERT_TRUE(session.ReadMessagesText(texts)) << session.m_nResult;
    EXPECT_EQ(texts.size(), 4u);
    phone.clearCommandLog();

    phone.injectFault("AT+CMGL=\"ALL\"", Fault::reply("\r\nERROR\r\n"));
    RecordList<CSmsEntry> list;
    EXPECT_FALSE(session.ReadMessagesText(list));
    EXPECT_FALSE(session.m_port.m_bPromptIsNotSuccess);
    EXPECT_EQ(commands("AT+SEND").size(), 1);

    phone.injectFault("AT+CMGL=4", Fault::reply("\r\n+CMGL: 1\r\n0004\r\n\r\nOK\r\n"));
    EXPECT_FALSE(session.ReadMessages(list));
    EXPECT_EQ(session.m_nResult, SESSION_BAD_ENTRY);
    EXPECT_FALSE(session.m_port.m_bPromptIsNotSuccess);
}

TEST_F(MessagesTest, StoresATextThroughThePrompt)
{
    CSmsEntry entry;
    entry.m_strText = QStringLiteral("Grüße\r\nbis bald\r");
    ASSERT_TRUE(session.StoreMessage(entry)) << session.m_nResult;
    EXPECT_EQ(entry.m_nIndex, 1);
    const QString typed = session.EncodeBase64Text(QStringLiteral("Grüße\rbis bald\r")) + QChar(26);
    EXPECT_EQ(commands().mid(kOpening.size()),
        QStringList({"AT+CSCS=\"SYNC\"", "AT+CMEE=1", "AT+CPMS=\"SM\",\"SM\"", "AT+CMGF=1", "AT+CMGW=\"\"", typed}) + kClosing);
    const phonesim::StoredMessage& stored = phone.state().simMessages.entries.at(1);
    EXPECT_EQ(stored.stat, 2);

    // Read back, every line break is CR LF, the final one too.
    phone.state().readStorage = "SM";
    RecordList<CSmsEntry> list;
    ASSERT_TRUE(session.ReadMessagesText(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->m_strText, QStringLiteral("Grüße\r\nbis bald\r\n"));
    EXPECT_EQ(list[0]->m_nStatus, CSmsEntry::StatusUnsent);
}

// Unsolicited lines in front of an answer name no stored message: the index is the one of the
// "+CMGW:" line, so that a later send sends the text just stored, never the received message 1.
TEST_F(MessagesTest, TheStoredIndexComesFromTheAnswerLineAlone)
{
    const struct {
        const char* pattern;
        QByteArray lines;
    } cases[] = {
        {">*", "\r\n+CREG: 1\r\n"},
        {">*", "\r\n+CMTI: \"SM\",5\r\n"},
        {"AT+CPMS=*", "\r\n+CREG: 1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern + (" " + c.lines.toStdString()));
        auto& sim = phone.state().simMessages.entries;
        sim.clear();
        sim[1] = {1, {}, phonesim::MakeDeliverPdu(QStringLiteral("+4917012345678"), QStringLiteral("received"), kSent), {}, {}, {}};
        phone.clearFaults();
        phone.injectFault(c.pattern, Fault::before(c.lines));
        CSmsEntry entry;
        entry.m_strText = QStringLiteral("mine");
        EXPECT_TRUE(session.StoreMessage(entry)) << session.m_nResult;
        EXPECT_EQ(entry.m_nIndex, 2);
        ASSERT_EQ(sim.count(2), 1u);
        EXPECT_EQ(sim.at(2).text, QStringLiteral("mine"));
    }
}

TEST_F(MessagesTest, AFullStorageOrARefusedPromptStoresNothing)
{
    phone.state().simMessages.total = 1;
    phone.state().simMessages.entries[1] = {2, {}, phonesim::MakeSubmitPdu(QStringLiteral("123"), QStringLiteral("old")), {}, {}, {}};
    CSmsEntry entry;
    entry.m_strText = QStringLiteral("new");
    EXPECT_FALSE(session.StoreMessage(entry));
    EXPECT_EQ(entry.m_nIndex, -1);
    EXPECT_TRUE(commands("AT+CMGW").isEmpty());
    EXPECT_TRUE(progress.steps.contains(QStringLiteral("Memory is full")));
    EXPECT_EQ(progress.open, 0);

    phone.state().simMessages.total = 5;
    phone.injectFault("AT+CMGW=\"\"", Fault::reply("\r\n+CMS ERROR: 322\r\n"));
    lines.clearWrites();
    EXPECT_FALSE(session.StoreMessage(entry));
    EXPECT_EQ(session.m_nResult, AT_CMS_ERROR);
    EXPECT_EQ(entry.m_nIndex, -1);
    EXPECT_EQ(phone.state().simMessages.used(), 1);
    // The escape that leaves a prompt goes before the session closes.
    QByteArrayList written;
    for (const auto& write : lines.writes())
        written << write.bytes;
    const qsizetype escape = written.indexOf(QByteArray(1, 27));
    ASSERT_GE(escape, 0);
    EXPECT_LT(escape, written.indexOf(QByteArray("AT+SEND\r")));
    EXPECT_EQ(progress.open, 0);
}

// Cancel, or the program told to end, while the phone's prompt for the text is late: the
// escape leaves the prompt before the closing commands, which the phone takes as commands (never
// as the message's text), so that it leaves its session and stores nothing.
TEST_F(MessagesTest, AnOperationEndedAtALatePromptLeavesThePromptFirst)
{
    for (const bool quit : {false, true}) {
        SCOPED_TRACE(quit ? "quit" : "cancel");
        phone.clearFaults();
        phone.clearCommandLog();
        lines.clearWrites();
        phone.injectFault("AT+CMGW=\"\"", Fault::delay(3000));
        ui().quitting = false;
        ui().onPump = [this, quit](int) {
            if (!commands("AT+CMGW").isEmpty()) {
                if (quit)
                    ui().quitting = true;
                else
                    g_bCancel = true;
            }
        };
        CSmsEntry entry;
        entry.m_strText = QStringLiteral("never stored");
        EXPECT_FALSE(session.StoreMessage(entry));
        ui().onPump = nullptr;
        EXPECT_EQ(session.m_nResult, AT_CANCELLED);
        EXPECT_EQ(entry.m_nIndex, -1);
        const QStringList log = commands();
        EXPECT_EQ(log.mid(log.indexOf(QStringLiteral("AT+CMGW=\"\""))),
            QStringList({"AT+CMGW=\"\"", "\x1b"}) + kClosing);
        EXPECT_FALSE(phone.state().atPrompt);
        EXPECT_FALSE(phone.state().sessionOpen);
        EXPECT_EQ(phone.state().simMessages.used(), 0);
        common::ResumeQuit();
    }
}

TEST_F(MessagesTest, SendsAStoredMessageToACleanNumber)
{
    const struct {
        const char* name;
        int index;
        QString number;
        QStringList sent; // the AT+CMSS commands
        bool ok;
    } cases[] = {
        {"stored", 2, "+8613800138000", {"AT+CMSS=2,\"+8613800138000\""}, true},
        {"19 digits go whole", 2, "1234567890123456789", {"AT+CMSS=2,\"1234567890123456789\""}, true},
        {"19 once cleaned go whole", 2, "+49 (30) 1234-5678-9012-34", {"AT+CMSS=2,\"+493012345678901234\""}, true},
        // A number cut short would reach someone else.
        {"20 digits are refused", 2, "12345678901234567890", {}, false},
        {"25 digits are refused", 2, "1234567890123456789012345", {}, false},
        {"a '+' alone is refused", 2, " + ", {}, false},
        {"quotes and line ends are removed", 2, "12\"3\r\n4", {"AT+CMSS=2,\"1234\""}, true},
        {"a received message is refused", 1, "123", {"AT+CMSS=1,\"123\""}, false},
        {"no index, no command", -1, "123", {}, false},
    };
    phone.state().writeStorage = "ME";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        phone.clearCommandLog();
        CSmsEntry entry;
        entry.m_nIndex = c.index;
        entry.m_strNumber = c.number;
        EXPECT_EQ(session.SendStoredMessage(entry), c.ok);
        EXPECT_EQ(commands("AT+CMSS"), c.sent);
        if (c.sent.isEmpty()) {
            EXPECT_TRUE(commands().isEmpty());
            EXPECT_EQ(session.m_nResult, SESSION_NOTHING_SENT);
        }
        EXPECT_EQ(progress.open, 0);
    }
    EXPECT_EQ(phone.state().handsetMessages.entries.at(2).stat, 3);
}

// A store, send or delete whose deciding command went out and whose answer never came (lost,
// the line then dead, too late, a call first) is unconfirmed: the phone may have carried it out.
// One that failed before, or that the phone refused, is a plain failure. A stored entry whose
// index is not sure keeps none.
TEST_F(MessagesTest, AnAnswerThatNeverCameLeavesTheOutcomeUnconfirmed)
{
    enum Operation { Store, Send, Delete };
    const struct {
        const char* name;
        Operation operation;
        const char* pattern;
        Fault fault;
        bool unconfirmed;
    } cases[] = {
        {"store: answer lost", Store, ">*", Fault::lost(), true},
        {"store: line dead", Store, ">*", Fault::lostThenClose(), true},
        {"store: answer late", Store, ">*", Fault::delay(7000), true},
        {"store: a call, then the answer", Store, ">*", Fault::lateFinal(2500), true},
        {"store: refused", Store, ">*", Fault::cmsError(322), false},
        {"store: no prompt", Store, "AT+CMGW=*", Fault::delay(7000), false},
        {"store: silent before", Store, "AT+CMGF=1", Fault::silence(), false},
        {"send: answer lost", Send, "AT+CMSS=*", Fault::lost(), true},
        {"send: line dead", Send, "AT+CMSS=*", Fault::lostThenClose(), true},
        {"send: refused", Send, "AT+CMSS=*", Fault::cmsError(500), false},
        {"send: silent before", Send, "AT+CMGF=1", Fault::silence(), false},
        {"delete: answer lost", Delete, "AT+CMGD=*", Fault::lost(), true},
        {"delete: refused", Delete, "AT+CMGD=*", Fault::cmsError(321), false},
    };
    phone.state().writeStorage = "ME";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        phone.clearFaults();
        phone.injectFault(c.pattern, c.fault, 1);
        bool ok = true;
        CSmsEntry entry;
        entry.m_strText = QStringLiteral("text");
        entry.m_strNumber = QStringLiteral("+4930");
        entry.m_nIndex = c.operation == Store ? -1 : 2;
        if (c.operation == Store) {
            ok = session.StoreMessage(entry);
            EXPECT_EQ(entry.m_nIndex, -1);
        } else if (c.operation == Send) {
            ok = session.SendStoredMessage(entry);
        } else {
            EXPECT_TRUE(session.Connect());
            ok = session.DeleteMessage(4);
            const bool unconfirmed = session.Unconfirmed();
            session.Disconnect();
            EXPECT_EQ(session.Unconfirmed(), unconfirmed); // the closing commands change nothing
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(session.Unconfirmed(), c.unconfirmed);
        EXPECT_EQ(progress.open, 0);
    }
}

// What the phone cannot keep or send to is refused before any command: an empty text, a number
// without a digit. A number is sent as digits, '*', '#' and a leading '+' only.
TEST_F(MessagesTest, EmptyTextsAndNumbersAreRefusedBeforeAnyCommand)
{
    CSmsEntry empty;
    EXPECT_FALSE(session.StoreMessage(empty));
    EXPECT_EQ(session.m_nResult, SESSION_NOTHING_SENT);
    CSmsEntry noNumber;
    noNumber.m_nIndex = 2;
    noNumber.m_strNumber = QStringLiteral("abc;,?");
    EXPECT_FALSE(session.SendStoredMessage(noNumber));
    EXPECT_EQ(session.m_nResult, SESSION_NOTHING_SENT);
    EXPECT_TRUE(commands().isEmpty());

    phone.state().writeStorage = "ME";
    CSmsEntry mixed;
    mixed.m_nIndex = 2;
    mixed.m_strNumber = QStringLiteral("+49;30,12?3a4P5");
    EXPECT_TRUE(session.SendStoredMessage(mixed)) << session.m_nResult;
    EXPECT_EQ(commands("AT+CMSS"), QStringList {"AT+CMSS=2,\"+493012345\""});
}

TEST_F(MessagesTest, DeletesBetweenConnectAndDisconnect)
{
    ASSERT_TRUE(session.Connect());
    EXPECT_TRUE(session.DeleteMessage(3));
    EXPECT_FALSE(session.DeleteMessage(3));
    EXPECT_EQ(session.m_nResult, AT_CMS_ERROR);
    session.Disconnect();
    EXPECT_EQ(commands("AT+CMGD"), QStringList({"AT+CMGD=3", "AT+CMGD=3"}));
    EXPECT_FALSE(phone.state().handsetMessages.entries.count(3));
}

} // namespace
