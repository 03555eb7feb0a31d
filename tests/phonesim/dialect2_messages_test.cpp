// The second family's stored messages: listing and reading in text and PDU mode, storing
// through the prompt, sending, deleting; and what the simulator reads out of a stored PDU.
#include "dialect2_support.h"

#include "phonesim/sms_pdu.h"
#include "phonesim/sms_pdu_text.h"

namespace {

using dialect2test::BytesOf;
using dialect2test::Cms;
using dialect2test::ConnectedPhone;
using dialect2test::Ok;
using dialect2test::Sync;

// A part of a concatenated 7-bit message from +49170123456: header 05 00 03 CC 02 01, one
// fill bit, then "Hi!".
const QByteArray kPartPdu = "00440B919471103254F60000403060812401000A050003CC020190E910";

class Dialect2MessagesTest : public ::testing::Test {
protected:
    Dialect2MessagesTest()
    {
        auto& entries = phone.state().handsetMessages.entries;
        entries[1] = {0, {}, phonesim::MakeDeliverPdu(QStringLiteral("+4917012345678"), QStringLiteral("See you at 8?"),
                             QDateTime(QDate(2004, 3, 6), QTime(18, 42, 10))), {}, {}, {}};
        entries[2] = {2, QStringLiteral("Li"), phonesim::MakeSubmitPdu(QStringLiteral("+8613800138000"), QStringLiteral("你好")), {}, {}, {}};
        entries[4] = {1, {}, kPartPdu, {}, {}, {}};
        phone.state().charset = "GSM";
    }

    ConnectedPhone phone {2};
};

TEST_F(Dialect2MessagesTest, TextModeListing)
{
    const QByteArray first = "+CMGL: 1,\"REC UNREAD\",\"+4917012345678\",\"\",\"04/03/06,18:42:10+00\",0\r\nSee you at 8?";
    const QByteArray second = "+CMGL: 2,\"STO UNSENT\",\"+8613800138000\",\"Li\",,2\r\n4F60597D";
    const QByteArray fourth = "+CMGL: 4,\"REC READ\",\"+49170123456\",\"\",\"04/03/06,18:42:10+00\",0\r\nHi!";
    phone.expectAnswers({
        {"AT+CMGF=1", Ok()},
        {"AT+CMGL=\"REC UNREAD\"", Ok(first)},
        {"AT+CMGL=\"REC UNREAD\"", Ok()}, // now read
        {"AT+CMGL=\"ALL\"", Ok(QByteArray(first).replace("UNREAD", "READ") + "\r\n" + second + "\r\n" + fourth)},
        {"AT+CMGL=\"STO UNSENT\"", Ok(second)},
        {"AT+CMGL=4", Cms(305)},
        {"AT+CMGL=\"NEW\"", Cms(305)},
        {"AT+CMGR=2", Ok("+CMGR: " + second.mid(9))},
        {"AT+CMGR=3", Cms(321)},
        // In "SYNC" every text goes as UCS-2.
        {"AT+CSCS=\"SYNC\"", Ok()},
        {"AT+CMGR=4", Ok("+CMGR: \"REC READ\",\"+49170123456\",\"\",\"04/03/06,18:42:10+00\",2\r\n004800690021")},
    });
    EXPECT_EQ(phone.state().handsetMessages.entries.at(1).stat, 1);
    EXPECT_EQ(phone.changes, 1);
}

TEST_F(Dialect2MessagesTest, PduModeListing)
{
    const QByteArray& unread = phone.state().handsetMessages.entries.at(1).pdu;
    const QByteArray& stored = phone.state().handsetMessages.entries.at(2).pdu;
    const QByteArray partLength = QByteArray::number(phonesim::TpduLength(kPartPdu));
    phone.expectAnswers({
        {"AT+CMGF=0", Ok()},
        {"AT+CMGL=\"ALL\"", Cms(304)},
        {"AT+CMGL=4", Ok("+CMGL: 1,0,," + QByteArray::number(phonesim::TpduLength(unread)) + "\r\n" + unread
                          + "\r\n+CMGL: 2,2,\"Li\"," + QByteArray::number(phonesim::TpduLength(stored)) + "\r\n" + stored
                          + "\r\n+CMGL: 4,1,," + partLength + "\r\n" + kPartPdu)},
        {"AT+CMGR=4", Ok("+CMGR: 1,," + partLength + "\r\n" + kPartPdu)},
        {"AT+CMGL=0", Ok()},
    });
}

// The store of the PC: storages, text mode, the prompt, the text in Base64, Ctrl-Z.
// A fault on the text typed at the prompt: the phone stores the message, but its answer is
// lost, or comes after unsolicited lines.
TEST_F(Dialect2MessagesTest, FaultsOnTheTextAtThePrompt)
{
    phone.state().charset = "SYNC";
    phone.state().simMessages.total = 3;
    phone.send("AT+CPMS=\"SM\",\"SM\"");
    phone.expectAnswers({{"AT+CMGF=1", Ok()}});
    phone.phone.injectFault(">*", phonesim::Fault::lost(), 1);
    phone.phone.injectFault(">*", phonesim::Fault::before("\r\n+CREG: 1\r\n"), 1);
    EXPECT_EQ(phone.send("AT+CMGW=\"\""), QByteArray("\r\n> "));
    EXPECT_EQ(BytesOf(phone.phone.receive(Sync(QStringLiteral("hi")) + "\x1a")), QByteArray());
    EXPECT_EQ(phone.state().simMessages.used(), 1);
    phone.send("AT+CMGW=\"\"");
    EXPECT_EQ(BytesOf(phone.phone.receive(Sync(QStringLiteral("hi")) + "\x1a")), "\r\n+CREG: 1\r\n" + Ok("+CMGW: 2"));
    EXPECT_EQ(phone.state().simMessages.used(), 2);
}

TEST_F(Dialect2MessagesTest, StoreSendAndDelete)
{
    phone.state().charset = "SYNC";
    phone.state().simMessages.total = 2;
    const QByteArray text = Sync(QStringLiteral("Grüße\rbis bald"));
    phone.expectAnswers({
        {"AT+CPMS=\"SM\",\"SM\"", Ok("+CPMS: 0,2,0,2,3,50")},
        {"AT+CMGF=0", Ok()},
        {"AT+CMGW=\"\"", Cms(303)},
        {"AT+CMGF=1", Ok()},
        {"AT+CMGW=\"\"", "\r\n> "},
    });
    EXPECT_EQ(BytesOf(phone.phone.receive(text)), QByteArray());
    EXPECT_EQ(BytesOf(phone.phone.receive("\x1a")), Ok("+CMGW: 1"));
    const phonesim::StoredMessage& message = phone.state().simMessages.entries.at(1);
    EXPECT_EQ(message.stat, 2);
    EXPECT_EQ(phonesim::ReadPdu(message.pdu)->text, QStringLiteral("Grüße\rbis bald"));

    // An escape leaves the prompt without storing.
    EXPECT_EQ(phone.send("AT+CMGW=\"+4930123\""), QByteArray("\r\n> "));
    EXPECT_EQ(BytesOf(phone.phone.receive(Sync(QStringLiteral("no")) + "\x1b")), QByteArray());
    EXPECT_EQ(phone.state().simMessages.used(), 1);
    // Line ends in the Base64 text are ignored; a text that is no Base64 or longer than one
    // message is refused.
    phone.send("AT+CMGW=\"+4930123\"");
    EXPECT_EQ(BytesOf(phone.phone.receive("SABp\rAA==\x1a")), "\r\n> " + Ok("+CMGW: 2"));
    EXPECT_EQ(phone.state().simMessages.entries.at(2).number, QStringLiteral("+4930123"));
    phone.state().simMessages.entries.erase(2);
    phone.send("AT+CMGW=\"\"");
    EXPECT_EQ(BytesOf(phone.phone.receive("QQ!A\x1a")), Cms(305));
    phone.send("AT+CMGW=\"\"");
    EXPECT_EQ(BytesOf(phone.phone.receive(Sync(QString(71, u'好')) + "\x1a")), Cms(305));
    phone.send("AT+CMGW=\"\"");
    EXPECT_EQ(BytesOf(phone.phone.receive(Sync(QString(160, u'a')) + "\x1a")), Ok("+CMGW: 2"));

    phone.expectAnswers({
        {"AT+CPMS=\"SM\",\"SM\"", Ok("+CPMS: 2,2,2,2,3,50")},
        {"AT+CMGW=\"\"", Cms(322)},
        {"AT+CMGW=\"12a\"", Cms(305)},
        {"AT+CMSS=1,\"+4917012345678\"", Ok("+CMSS: 1")},
        {"AT+CMSS=1", Cms(305)}, // stored without a number
        {"AT+CMSS=9,\"1\"", Cms(321)},
        {"AT+CMGL=\"STO SENT\"", Ok("+CMGL: 1,\"STO SENT\",\"\",\"\",,2\r\n0047007200FC00DF0065000D006200690073002000620061006C0064")},
        {"AT+CMGD=1", Ok()},
        {"AT+CMGD=1", Cms(321)},
        {"AT+CPMS=\"ME\"", Ok("+CPMS: 3,50,1,2,3,50")},
        {"AT+CMSS=2,\"1\"", Ok("+CMSS: 2")}, // the write storage is still the SIM
        {"AT+CPMS=\"ME\",\"ME\"", Ok("+CPMS: 3,50,3,50,3,50")},
        {"AT+CMSS=1,\"1\"", Cms(302)}, // a received message
    });
}

TEST(Dialect2Pdu, WhatAStoredPduHolds)
{
    const auto deliver = phonesim::ReadPdu(
        phonesim::MakeDeliverPdu(QStringLiteral("+4917012345678"), QStringLiteral("@£{x}"), QDateTime(QDate(2004, 3, 6), QTime(18, 42, 10))));
    ASSERT_TRUE(deliver);
    EXPECT_TRUE(deliver->received);
    EXPECT_EQ(deliver->number, QStringLiteral("+4917012345678"));
    EXPECT_EQ(deliver->time, QDateTime(QDate(2004, 3, 6), QTime(18, 42, 10)));
    EXPECT_EQ(deliver->alphabet, phonesim::PduContent::Ucs2);
    EXPECT_EQ(deliver->text, QStringLiteral("@£{x}"));

    const auto part = phonesim::ReadPdu(kPartPdu);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->text, QStringLiteral("Hi!"));
    EXPECT_EQ(part->alphabet, phonesim::PduContent::Gsm);

    // An alphanumeric sender ("Hi" packed), 8-bit data with a zone of -8 quarters, a submit
    // with a relative validity period.
    const auto named = phonesim::ReadPdu("000004D0C83400044030608124018803414243");
    ASSERT_TRUE(named);
    EXPECT_EQ(named->number, QStringLiteral("Hi"));
    EXPECT_EQ(named->alphabet, phonesim::PduContent::Data);
    EXPECT_EQ(named->data, QByteArray("ABC"));
    EXPECT_EQ(named->zoneQuarters, -8);
    const auto submit = phonesim::ReadPdu("001100048121430000A702C834");
    ASSERT_TRUE(submit);
    EXPECT_FALSE(submit->received);
    EXPECT_EQ(submit->number, QStringLiteral("1234"));
    EXPECT_EQ(submit->text, QStringLiteral("Hi"));

    EXPECT_FALSE(phonesim::ReadPdu("0002")); // a status report
    EXPECT_FALSE(phonesim::ReadPdu(kPartPdu.chopped(2)));
    EXPECT_FALSE(phonesim::ReadPdu("00400000"));
}

} // namespace
