// The first family's phonebook, organizer and message commands, answered by the phone.
#include "phonesim/phone.h"
#include "phonesim/sms_pdu.h"
#include "phonesim/text_field.h"

#include <gtest/gtest.h>

namespace {

using phonesim::Output;
using phonesim::Phone;

QByteArray bytesOf(const Output& output)
{
    QByteArray bytes;
    for (const auto& chunk : output.chunks)
        bytes += chunk.bytes;
    return bytes;
}

// A phone in an open session: no echo, numeric errors, Base64 text fields.
class Dialect1ContentsTest : public ::testing::Test {
protected:
    Dialect1ContentsTest()
    {
        phone.state().echo = false;
        phone.state().cmee = 1;
        phone.state().charset = "Base64";
        phone.setContentsObserver([this](const phonesim::PhoneState&) { ++changes; });
    }

    QByteArray send(const QByteArray& command) { return bytesOf(phone.receive(command + '\r')); }

    // Runs a table of commands and their exact answers.
    void expectAnswers(std::initializer_list<std::pair<QByteArray, QByteArray>> cases)
    {
        for (const auto& [command, answer] : cases) {
            EXPECT_EQ(send(command), answer) << command.constData();
        }
    }

    static QByteArray b64(const QString& text) { return phonesim::EncodeTextField(text, "Base64"); }

    Phone phone;
    int changes = 0;
};

TEST_F(Dialect1ContentsTest, TextFields)
{
    EXPECT_EQ(b64(QStringLiteral("A")), QByteArray("QQAAAA=="));
    EXPECT_EQ(b64(QString()), QByteArray());
    EXPECT_EQ(phonesim::DecodeTextField("QQAAAA==", "Base64"), QStringLiteral("A"));
    EXPECT_EQ(phonesim::DecodeTextField(b64(QStringLiteral("王小明")), "Base64"), QStringLiteral("王小明"));
    EXPECT_EQ(phonesim::DecodeTextField("QQ!A", "Base64"), std::nullopt);
    EXPECT_EQ(phonesim::DecodeTextField("QQ==", "Base64"), std::nullopt); // half a unit
    EXPECT_EQ(phonesim::DecodeTextField("plain", "IRA"), QStringLiteral("plain"));
    EXPECT_EQ(phonesim::EncodeTextField(QStringLiteral("a\"王"), "IRA"), QByteArray("a??"));
}

TEST_F(Dialect1ContentsTest, GroupsAndBookSelection)
{
    phone.state().handset.entries[4] = {};
    expectAnswers({
        {"AT+CPGR=?", "\r\n+CPGR: (0-6),12\r\n\r\nOK\r\n"},
        {"AT+CPGR=5,6", "\r\n+CPGR: 5,\"" + b64(QStringLiteral("School")) + "\"\r\n+CPGR: 6,\"" + b64(QStringLiteral("Others"))
                + "\"\r\n\r\nOK\r\n"},
        {"AT+CPGR=0,7", "\r\n+CME ERROR: 21\r\n"},
        {"AT+CPBS=?", "\r\n+CPBS: (\"ME\",\"AD\")\r\n\r\nOK\r\n"},
        {"AT+CPBS?", "\r\n+CPBS: \"ME\",1,255\r\n\r\nOK\r\n"},
        {"AT+CPBS=\"SM\"", "\r\n+CME ERROR: 4\r\n"},
        {"AT+CPBS=\"AD\"", "\r\nOK\r\n"},
        {"AT+CPBS?", "\r\n+CPBS: \"AD\",0,100\r\n\r\nOK\r\n"},
        {"AT+CPBR=?", "\r\n+CPBR: (1-100),20,12\r\n\r\nOK\r\n"},
        {"AT+CPBS=\"ME\"", "\r\nOK\r\n"},
        {"AT+CPBR=?", "\r\n+CPBR: (1-255),40,20,30,50\r\n\r\nOK\r\n"},
    });
    phone.state().fdn = true;
    expectAnswers({
        {"AT+CPBS=\"AD\"", "\r\nOK\r\n"},
        {"AT+CPBR=?", "\r\n+EXT ERROR: 14\r\n"},
        {"AT+CPBR=1,10", "\r\n+EXT ERROR: 14\r\n"},
        {"AT+CPBW=1", "\r\n+EXT ERROR: 14\r\n"},
    });
    EXPECT_EQ(changes, 0);
}

TEST_F(Dialect1ContentsTest, HandsetBookWritesReadsAndDeletes)
{
    const QByteArray name = b64(QStringLiteral("王小明"));
    const QByteArray memo = b64(QStringLiteral("a\nb"));
    expectAnswers({
        {"AT+CPBW=,2,\"8613800138000\",145,\"\",255,\"030123\",129,\"" + name + "\",\"\",\"" + memo + "\"",
            "\r\n+CPBW: 1\r\n\r\nOK\r\n"},
        {"AT+CPBW=7,0,\"+4917012\",145,\"\",255,\"\",255,\"\",\"\",\"\"", "\r\n+CPBW: 7\r\n\r\nOK\r\n"},
        {"AT+CPBR=0,10", "\r\n+CPBR: 1,2,\"8613800138000\",145,\"\",255,\"030123\",129,\"" + name + "\",\"\",\"" + memo
                + "\"\r\n+CPBR: 7,0,\"4917012\",145,\"\",255,\"\",255,\"\",\"\",\"\"\r\n\r\nOK\r\n"},
        {"AT+CPBR=2,6", "\r\nOK\r\n"},
        {"AT+CPBR=7", "\r\n+CPBR: 7,0,\"4917012\",145,\"\",255,\"\",255,\"\",\"\",\"\"\r\n\r\nOK\r\n"},
        {"AT+CPBR=3", "\r\n+CME ERROR: 23\r\n"},
        {"AT+CPBR=256,300", "\r\n+CME ERROR: 21\r\n"},
        {"AT+CPBR=5,1", "\r\n+CME ERROR: 21\r\n"},
        {"AT+CPBW=7", "\r\nOK\r\n"},
        {"AT+CPBW=7", "\r\nOK\r\n"}, // already empty
        {"AT+CPBW=0", "\r\n+CME ERROR: 21\r\n"},
        {"AT+CPBW=256", "\r\n+CME ERROR: 21\r\n"},
        {"AT+CPBW=,9,\"1\",129,\"\",255,\"\",255,\"\",\"\",\"\"", "\r\n+CME ERROR: 21\r\n"},
        {"AT+CPBW=,6,\"" + QByteArray(41, '1') + "\",129,\"\",255,\"\",255,\"\",\"\",\"\"", "\r\n+CME ERROR: 26\r\n"},
        {"AT+CPBW=,6,\"12x\",129,\"\",255,\"\",255,\"\",\"\",\"\"", "\r\n+CME ERROR: 25\r\n"},
        {"AT+CPBW=,6,\"1\",129,\"\",255,\"\",255,\"" + b64(QString(21, u'n')) + "\",\"\",\"\"", "\r\n+CME ERROR: 24\r\n"},
        {"AT+CPBW=,6,\"1\",129,\"\",255,\"\",255,\"!!!!\",\"\",\"\"", "\r\n+CME ERROR: 25\r\n"},
        {"AT+CPBW=,6,\"1\",129", "\r\nERROR\r\n"},
    });
    EXPECT_EQ(changes, 3);
    const phonesim::BookEntry& entry = phone.state().handset.entries.at(1);
    EXPECT_EQ(entry.name, QStringLiteral("王小明"));
    EXPECT_EQ(entry.mobile, QStringLiteral("+8613800138000"));
    EXPECT_EQ(entry.office, QStringLiteral("030123"));
    EXPECT_EQ(entry.memo, QStringLiteral("a\nb"));
    EXPECT_EQ(entry.group, 2);

    // A full book.
    phone.state().handset.last = 1;
    EXPECT_EQ(send("AT+CPBW=,6,\"1\",129,\"\",255,\"\",255,\"\",\"\",\"\""), QByteArray("\r\n+CME ERROR: 20\r\n"));
}

TEST_F(Dialect1ContentsTest, SimBook)
{
    send("AT+CPBS=\"AD\"");
    expectAnswers({
        {"AT+CPBW=,1,\"+4930123\",145,\"" + b64(QStringLiteral("Home")) + "\"", "\r\n+CPBW: 1\r\n\r\nOK\r\n"},
        {"AT+CPBR=1,10", "\r\n+CPBR: 1,1,\"4930123\",145,\"" + b64(QStringLiteral("Home")) + "\"\r\n\r\nOK\r\n"},
        {"AT+CPBW=,1,\"" + QByteArray(21, '2') + "\",129,\"\"", "\r\n+CME ERROR: 26\r\n"},
        {"AT+CPBW=,1,\"1\",129,\"" + b64(QString(13, u'n')) + "\"", "\r\n+CME ERROR: 24\r\n"},
        {"AT+CPBW=,1,\"1\",129,\"\",\"\",\"\"", "\r\nERROR\r\n"},
    });
    EXPECT_EQ(phone.state().sim.entries.at(1).mobile, QStringLiteral("+4930123"));
    EXPECT_TRUE(phone.state().handset.entries.empty());
}

TEST_F(Dialect1ContentsTest, Schedules)
{
    const QByteArray subject = b64(QStringLiteral("Dentist"));
    expectAnswers({
        {"AT+CXDR=?", "\r\n+CXDR: (1-30),(0-4),(0-5),30\r\n\r\nOK\r\n"},
        {"AT+CXDW=,2,3,\"04030700\",\"0905\",\"" + subject + "\"", "\r\n+CXDW: 1\r\n\r\nOK\r\n"},
        {"AT+CXDR=1,30", "\r\n+CXDR: 1,2,3,\"040307\",\"0905\",\"" + subject + "\"\r\n\r\nOK\r\n"},
        // The weekday must match the date: 7 March 2004 was a Sunday.
        {"AT+CXDW=,0,0,\"04030701\",\"0905\",\"\"", "\r\n+CME ERROR: 4\r\n"},
        {"AT+CXDW=,0,0,\"040230\",\"0905\",\"\"", "\r\n+CME ERROR: 4\r\n"},
        {"AT+CXDW=,0,0,\"04030700\",\"2405\",\"\"", "\r\n+CME ERROR: 4\r\n"},
        {"AT+CXDW=,5,0,\"04030700\",\"0905\",\"\"", "\r\n+CME ERROR: 4\r\n"},
        {"AT+CXDW=31,0,0,\"04030700\",\"0905\",\"\"", "\r\n+CME ERROR: 21\r\n"},
        {"AT+CXDW=,0,0,\"04030700\",\"0905\",\"" + b64(QString(61, u's')) + "\"", "\r\n+CME ERROR: 24\r\n"},
        {"AT+CXDW=1", "\r\nOK\r\n"},
        {"AT+CXDR=1,30", "\r\nOK\r\n"},
        {"AT+CXDW=0", "\r\n+CME ERROR: 21\r\n"},
    });
    EXPECT_EQ(changes, 2);
}

TEST_F(Dialect1ContentsTest, Memos)
{
    const QByteArray text = b64(QStringLiteral("one\ntwo"));
    phone.state().memos.last = 2;
    expectAnswers({
        {"AT+CMDR=?", "\r\n+CMDR: (1-2),40\r\n\r\nOK\r\n"},
        {"AT+CMDW=,\"" + text + "\"", "\r\n+CMDW: 1\r\n\r\nOK\r\n"},
        {"AT+CMDW=2,\"\"", "\r\n+CMDW: 2\r\n\r\nOK\r\n"},
        {"AT+CMDW=,\"\"", "\r\n+CME ERROR: 20\r\n"},
        {"AT+CMDR=1,2", "\r\n+CMDR: 1,\"" + text + "\"\r\n+CMDR: 2,\"\"\r\n\r\nOK\r\n"},
        {"AT+CMDW=2", "\r\nOK\r\n"},
        {"AT+CMDR=0,20", "\r\n+CMDR: 1,\"" + text + "\"\r\n\r\nOK\r\n"},
    });
    EXPECT_EQ(phone.state().memos.entries.at(1), QStringLiteral("one\ntwo"));
}

TEST_F(Dialect1ContentsTest, Messages)
{
    phonesim::StoredMessage unread;
    unread.stat = 0;
    unread.pdu = "0004039121F300004030700190500002C834";
    phone.state().simMessages.entries[2] = unread;
    phonesim::StoredMessage sent;
    sent.stat = 3;
    sent.alpha = QStringLiteral("Bob");
    sent.pdu = "00010003912143000004C8329BFD";
    phone.state().handsetMessages.entries[1] = sent;

    expectAnswers({
        {"AT+CMGF?", "\r\n+CMGF: 0\r\n\r\nOK\r\n"},
        {"AT+CMGF=2", "\r\nERROR\r\n"},
        {"AT+CPMS=?", "\r\n+CPMS: (\"ME\",\"SM\"),(\"ME\",\"SM\"),(\"ME\",\"SM\")\r\n\r\nOK\r\n"},
        {"AT+CPMS=\"ME\",\"SM\"", "\r\n+CPMS: 1,50,1,20,1,50\r\n\r\nOK\r\n"},
        {"AT+CPMS?", "\r\n+CPMS: \"ME\",1,50,\"SM\",1,20,\"ME\",1,50\r\n\r\nOK\r\n"},
        {"AT+CPMS=\"XX\"", "\r\n+CMS ERROR: 304\r\n"},
        {"AT+CMGL=4", "\r\n+CMGL: 1,3,\"Bob\",13\r\n00010003912143000004C8329BFD\r\n\r\nOK\r\n"},
        {"AT+CPMS=\"SM\",\"SM\",\"\"", "\r\n+CPMS: 1,20,1,20,1,50\r\n\r\nOK\r\n"},
        {"AT+CMGL=0", "\r\n+CMGL: 2,0,,17\r\n0004039121F300004030700190500002C834\r\n\r\nOK\r\n"},
        // Listing marked it read.
        {"AT+CMGL=0", "\r\nOK\r\n"},
        {"AT+CMGL=4", "\r\n+CMGL: 2,1,,17\r\n0004039121F300004030700190500002C834\r\n\r\nOK\r\n"},
        {"AT+CMGD=3", "\r\n+CMS ERROR: 321\r\n"},
        {"AT+CMGD=2", "\r\nOK\r\n"},
        {"AT+CMGF=1", "\r\nOK\r\n"},
        {"AT+CMGL=4", "\r\n+CMS ERROR: 302\r\n"},
    });
    EXPECT_TRUE(phone.state().simMessages.entries.empty());
    EXPECT_EQ(changes, 2);
}

TEST(SmsPdu, BuiltPdus)
{
    // "hi" from +123, 7 March 2004 09:05:00, in the GSM alphabet.
    EXPECT_EQ(phonesim::MakeDeliverPdu(QStringLiteral("+123"), QStringLiteral("hi"), QDateTime(QDate(2004, 3, 7), QTime(9, 5))),
        QByteArray("0004039121F300004030709050000002E834"));
    // Outside the simple alphabet the text goes in UCS-2.
    EXPECT_EQ(phonesim::MakeSubmitPdu(QStringLiteral("123"), QStringLiteral("中")), QByteArray("000100038121F30008024E2D"));
    EXPECT_EQ(phonesim::TpduLength("0004039121F300004030709050000002E834"), 17);
    EXPECT_EQ(phonesim::TpduLength("07911326040000F0040B"), 2);
    EXPECT_EQ(phonesim::TpduLength("0"), -1);
    EXPECT_EQ(phonesim::TpduLength("05AA"), -1);
}

} // namespace
