// deskhand2-link's phone commands on the in-process simulated phone: what an operation that ran
// reports when it fails, and the reasons of what is refused before the phone is touched.
#include "tools/link2_command.h"

#include "link2/session_fixture.h"
#include "phonesim/fault.h"
#include "phonesim/sms_pdu.h"
#include "support/temp_folder.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

using namespace dh2;
using phonesim::Fault;

class Link2CommandTest : public link2test::SessionTest {
protected:
    QJsonObject run(const QStringList& args) { return CLinkCommand(session).Run(args); }

    QString file(const QByteArray& content)
    {
        const QString name = QStringLiteral("records%1.json").arg(++m_files);
        EXPECT_TRUE(dir.write(name, content));
        return dir.path(name);
    }

    void putHandset(int index, const QString& name)
    {
        phonesim::HandsetEntry2 entry;
        entry.name = name;
        entry.numbers[0].number = QStringLiteral("1");
        phoneState().handset.entries[index] = entry;
    }

    testsupport::TempFolder dir;

private:
    int m_files = 0;
};

// The line is lost after the phone carried out the first delete: the result says what ended the
// operation and which index is gone; the port had opened, so it is no port failure. A write lost
// at its second record lists the first as written and the second as perhaps written.
TEST_F(Link2CommandTest, ALostLineReportsWhatTheOperationDid)
{
    putHandset(1, QStringLiteral("Ann"));
    putHandset(2, QStringLiteral("Bob"));
    phone.injectFault("AT+CPBW=2", Fault::closeLine());
    QJsonObject output = run({"delete", "handset", "1", "2"});
    EXPECT_FALSE(output["ok"].toBool());
    EXPECT_EQ(output["deleted"].toArray(), QJsonArray {1});
    EXPECT_EQ(output["result"].toInt(), AT_READ_FAILED);
    EXPECT_EQ(output["unconfirmed"].toArray(), QJsonArray {2});
    EXPECT_EQ(output["error"].toString(), QStringLiteral("reading from the line failed"));
    EXPECT_EQ(phoneState().handset.entries.count(1), 0u);

    phone.clearFaults();
    phone.injectFault("AT+CPBW=151*", Fault::closeLine());
    output = run({"write", "handset", file(R"([{"m_nIndex": 150, "m_strName": "Cy", "m_strMobile": "3"},
                                                {"m_nIndex": 151, "m_strName": "Di", "m_strMobile": "4"}])")});
    EXPECT_FALSE(output["ok"].toBool());
    ASSERT_EQ(output["records"].toArray().size(), 1);
    EXPECT_EQ(output["records"][0]["m_strName"].toString(), QStringLiteral("Cy"));
    ASSERT_EQ(output["unconfirmed"].toArray().size(), 1);
    EXPECT_EQ(output["unconfirmed"][0]["m_nIndex"].toInt(), 151);
    EXPECT_FALSE(output["error"].toString().startsWith(QLatin1String("cannot use")));

    // A phone that refused the command did not carry it out.
    phone.clearFaults();
    phone.injectFault("AT+CPBW=2", Fault::error());
    output = run({"delete", "handset", "2"});
    EXPECT_EQ(output["deleted"].toArray(), QJsonArray());
    EXPECT_FALSE(output.contains(QLatin1String("unconfirmed")));
    EXPECT_EQ(output["error"].toString(), QStringLiteral("the phone answered ERROR"));
}

// Every refusal names its reason, and nothing reaches the phone.
TEST_F(Link2CommandTest, RefusalsNameTheirReason)
{
    QByteArray tooMany = "[";
    for (int i = 0; i < 21; ++i)
        tooMany += QByteArray(i ? "," : "") + R"({"m_nIndex": )" + QByteArray::number(i) + "}";
    tooMany += "]";
    const QString schedules = file(tooMany);
    const QString noIndex = file(R"([{"m_strName": "Ann", "m_strMobile": "1"}])");
    const struct {
        QStringList args;
        QString error;
    } cases[] = {
        {{"delete", "handset", "3", "-1"}, QStringLiteral("index -1 is below 0")},
        {{"delete", "sim", "x"}, QStringLiteral("\"x\" is not an index")},
        {{"send-stored", "-2", "123"}, QStringLiteral("index -2 is below 0")},
        {{"delete-message", "-3"}, QStringLiteral("index -3 is below 0")},
        {{"write", "schedules", schedules}, schedules + QStringLiteral(": 21 entries; the phone's list holds at most 20")},
        {{"write", "handset", noIndex}, noIndex + QStringLiteral(": record 0: m_nIndex -1 is below 0")},
        {{"write", "sim", noIndex}, noIndex + QStringLiteral(": record 0: m_nSimIndex -1 is below 0")},
    };
    for (const auto& c : cases) {
        const QJsonObject output = run(c.args);
        EXPECT_FALSE(output["ok"].toBool()) << c.args.join(u' ').toStdString();
        EXPECT_EQ(output["error"].toString(), c.error);
    }
    EXPECT_TRUE(commands().isEmpty());

    // What the book has no place for is refused once the phone told its size.
    QJsonObject output = run({"delete", "handset", "0"});
    EXPECT_EQ(output["error"].toString(), QStringLiteral("index 0 is outside the handset book (1-200)"));
    const QString outside = file(R"([{"m_nIndex": 5, "m_strName": "Ann", "m_strMobile": "1"},
                                     {"m_nIndex": 201, "m_strName": "Bob", "m_strMobile": "2"}])");
    output = run({"write", "handset", outside});
    EXPECT_EQ(output["error"].toString(), outside + QStringLiteral(": record 1: index 201 is outside the handset book (1-200); nothing was written"));
    EXPECT_TRUE(commands("AT+CPBW").isEmpty());
}

// Values the phone cannot keep, or that have no place in a command, are refused with their
// reason before any write: a caller group outside model 2's table (it would keep none), a start
// outside the phone's calendar (it would keep 1900 or 2100), two records at one place, an index
// or number with more than digits (and '*', '#', a leading '+'), a number longer than the phone
// takes (cut short it would reach someone else), an empty text.
TEST_F(Link2CommandTest, ValuesThePhoneCannotKeepAreRefusedBeforeAnyWrite)
{
    const QString group8 = file(R"([{"m_nIndex": 5, "m_strName": "Ann", "m_strMobile": "1", "m_nGroup": 8}])");
    const QString group99 = file(R"([{"m_nSimIndex": 5, "m_strName": "Ann", "m_strMobile": "1", "m_nGroup": 99}])");
    const auto schedule = [this](const QByteArray& first, int secondIndex = 1) {
        return file("[{\"m_nKind\": 1, \"m_nIndex\": 0, \"m_strSubject\": \"A\", \"m_dtStart\": \"" + first
            + "\"}, {\"m_nKind\": 2, \"m_nIndex\": " + QByteArray::number(secondIndex)
            + ", \"m_strSubject\": \"B\", \"m_dtStart\": \"2004-03-07T09:00:00\"}]");
    };
    const QString in2150 = schedule("2150-05-06T10:00:00");
    const QString in1800 = schedule("1800-05-06T10:00:00");
    const QString twice = schedule("2004-05-06T10:00:00", 0);
    const struct {
        QStringList args;
        QString error;
    } cases[] = {
        {{"write", "handset", group8}, group8 + ": record 0: group 8 is outside the phone's caller groups (0-7); nothing was written"},
        {{"write", "sim", group99}, group99 + ": record 0: group 99 is outside the phone's caller groups (0-7); nothing was written"},
        {{"write", "schedules", in2150},
            in2150 + ": record 0: its start year 2150 is outside the phone's calendar (1900-2100); the phone cannot keep it"},
        {{"write", "schedules", in1800},
            in1800 + ": record 0: its start year 1800 is outside the phone's calendar (1900-2100); the phone cannot keep it"},
        {{"write", "schedules", twice}, twice + ": record 1: m_nIndex 0 is taken by an earlier record; the phone cannot keep it"},
        {{"send-stored", "3a", "123"}, "\"3a\" is not an index"},
        {{"send-stored", "3;", "123"}, "\"3;\" is not an index"},
        {{"send-stored", " 3", "123"}, "\" 3\" is not an index"},
        {{"delete-message", "3,4"}, "\"3,4\" is not an index"},
        {{"send-stored", "3", "12a"}, "\"12a\" is no number a message can be sent to: digits, '*' and '#', and a '+' in front"},
        {{"send-stored", "3", "1;2"}, "\"1;2\" is no number a message can be sent to: digits, '*' and '#', and a '+' in front"},
        {{"send-stored", "3", "1,2?"}, "\"1,2?\" is no number a message can be sent to: digits, '*' and '#', and a '+' in front"},
        {{"send-stored", "3", "+"}, "\"+\" is no number a message can be sent to: digits, '*' and '#', and a '+' in front"},
        {{"send-stored", "3", "1234567890123456789+"}, "\"1234567890123456789+\" is no number a message can be sent to: digits, '*' and '#', and a '+' in front"},
        {{"send-stored", "3", "+1234567890123456789"}, "\"+1234567890123456789\" is no number a message can be sent to: it has 20 characters, the phone takes 19"},
        {{"send-stored", "3", "1234567890123456789012345"}, "\"1234567890123456789012345\" is no number a message can be sent to: it has 25 characters, the phone takes 19"},
        {{"store-message", ""}, "the text is empty: the phone keeps no message without one"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        phone.clearCommandLog();
        const QJsonObject output = run(c.args);
        EXPECT_FALSE(output["ok"].toBool());
        EXPECT_EQ(output["error"].toString(), c.error);
        EXPECT_TRUE(commands("AT+CPBW").isEmpty());
        EXPECT_TRUE(commands("AT+SSC").isEmpty());
        EXPECT_TRUE(commands("AT+CMSS").isEmpty());
        EXPECT_TRUE(commands("AT+CMG").isEmpty());
    }
}

// The deciding command went out and its answer never came: the driver reports what the phone may
// hold as unconfirmed (as the deletes do), never as a plain failure, and never a stored index it
// cannot be sure of; a phone that refused reports a plain failure.
TEST_F(Link2CommandTest, AnAnswerThatNeverCameIsReportedUnconfirmed)
{
    const QString list = file(R"([{"m_nKind": 1, "m_nIndex": 0, "m_strSubject": "A", "m_dtStart": "2004-03-07T09:00:00"}])");
    phone.state().simMessages.entries[2] = {2, {}, phonesim::MakeSubmitPdu(QStringLiteral("123"), QStringLiteral("old")), {}, {}, {}};
    const QJsonValue kPlain(QJsonValue::Undefined);
    const struct {
        QStringList args;
        const char* pattern;
        Fault fault;
        const char* member;   // what lists the confirmed outcome
        QJsonValue unconfirmed; // undefined when the failure is plain
    } cases[] = {
        {{"store-message", "hi"}, ">*", Fault::lost(), "records", QJsonArray {QJsonObject {{"m_nIndex", -1}}}},
        {{"store-message", "hi"}, ">*", Fault::lostThenClose(), "records", QJsonArray {QJsonObject {{"m_nIndex", -1}}}},
        {{"store-message", "hi"}, ">*", Fault::cmsError(322), "records", kPlain},
        {{"send-stored", "2", "+4930"}, "AT+CMSS=*", Fault::lost(), "sent", QJsonArray {2}},
        {{"send-stored", "2", "+4930"}, "AT+CMSS=*", Fault::delay(7000), "sent", QJsonArray {2}},
        {{"send-stored", "2", "+4930"}, "AT+CMSS=*", Fault::cmsError(500), "sent", kPlain},
        {{"delete-message", "2"}, "AT+CMGD=*", Fault::lostThenClose(), "deleted", QJsonArray {2}},
        {{"write", "schedules", list}, "AT+SSCW", Fault::lost(), "records", QJsonArray {QJsonObject {{"m_strSubject", "A"}}}},
        {{"write", "schedules", list}, "AT+SSCW", Fault::error(), "records", kPlain},
    };
    phone.state().readStorage = "SM";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString() + " " + c.pattern);
        phone.clearFaults();
        phone.injectFault(c.pattern, c.fault, 1);
        const QJsonObject output = run(c.args);
        EXPECT_FALSE(output["ok"].toBool());
        EXPECT_EQ(output[QLatin1String(c.member)].toArray(), QJsonArray());
        EXPECT_EQ(output.contains(QLatin1String("unconfirmed")), !c.unconfirmed.isUndefined());
        if (c.unconfirmed.isUndefined()) {
            EXPECT_FALSE(output["error"].toString().contains(QLatin1String("may have")));
            continue;
        }
        const QJsonArray maybe = output["unconfirmed"].toArray();
        ASSERT_EQ(maybe.size(), 1);
        if (maybe[0].isObject()) {
            const QJsonObject expected = c.unconfirmed.toArray()[0].toObject();
            for (auto member = expected.begin(); member != expected.end(); ++member)
                EXPECT_EQ(maybe[0].toObject()[member.key()], member.value()) << member.key().toStdString();
        } else {
            EXPECT_EQ(maybe, c.unconfirmed.toArray());
        }
        EXPECT_TRUE(output["error"].toString().contains(QLatin1String("may have"))) << output["error"].toString().toStdString();
        EXPECT_TRUE(output["error"].toString().endsWith(QLatin1String("read the list again before trying again")));
    }
}

// The index a store reports is the one of the "+CMGW:" line: an unsolicited "+CREG: 1" before it
// names the received message 1, which a later send would send instead.
TEST_F(Link2CommandTest, AStoreReportsTheIndexOfItsOwnAnswer)
{
    phone.state().simMessages.entries[1] = {1, {}, phonesim::MakeDeliverPdu(QStringLiteral("+49"), QStringLiteral("in"), QDateTime({2004, 3, 6}, {18, 42, 10})), {}, {}, {}};
    phone.injectFault(">*", Fault::before("\r\n+CREG: 1\r\n"));
    const QJsonObject output = run({"store-message", "mine"});
    EXPECT_TRUE(output["ok"].toBool()) << output["error"].toString().toStdString();
    EXPECT_EQ(output["records"][0]["m_nIndex"].toInt(), 2);
}

// Each failure names what happened: an identification that got no answer is no unsupported
// model, and a SIM read says which of its lists failed and why.
TEST_F(Link2CommandTest, FailuresNameWhatHappened)
{
    const struct {
        QStringList args;
        const char* pattern;
        Fault fault;
        QString error;
    } cases[] = {
        {{"identify"}, "AT+SINF", Fault::silence(), "the phone's identification failed: the phone did not answer in time"},
        {{"identify"}, "AT+SINF", Fault::closeLine(), "the phone's identification failed: reading from the line failed"},
        {{"identify"}, "ATI", Fault::reply("\r\nOther Maker\r\n\r\nOK\r\n"), "the phone is no supported model"},
        {{"read", "sim"}, "AT+CPBR=51,*", Fault::error(), "the SIM book did not read: the phone answered ERROR"},
        {{"read", "sim"}, "AT+CPBR=1,*", Fault::silence(), "the SIM book did not read: the phone did not answer in time"},
        {{"read", "sim"}, "AT+CPGR=0,6", Fault::reply("\r\n+CPGR: 0,\"QQ==\",1,\r\n\r\nOK\r\n"), "the caller groups did not read"},
        {{"read", "schedules"}, "AT+SSCR", Fault::reply("\r\n+SSCR: 1,0\r\n\r\nOK\r\n"), "the schedule list did not read"},
        {{"read", "sim"}, "AT+CSCS=\"SYNC\"", Fault::silence(), "the phone did not enter its synchronisation mode: the phone did not answer in time"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString() + " " + c.pattern);
        phone.clearFaults();
        phone.injectFault(c.pattern, c.fault, 1);
        const QJsonObject output = run(c.args);
        EXPECT_FALSE(output["ok"].toBool());
        EXPECT_EQ(output["error"].toString(), c.error);
    }
}

// decode-pdu takes an even number of hexadecimal digits and nothing else: letters beyond 'f',
// Latin-1 and wider characters are refused before any decoding, and never touch the phone.
TEST_F(Link2CommandTest, DecodePduTakesHexadecimalDigitsOnly)
{
    const QString refused = QStringLiteral(" is no PDU: an even number of hexadecimal digits is one");
    const struct {
        QString hex;
        bool isPdu;
    } cases[] = {
        {"000404812143000440307090500340024869", true},
        {" 000404812143000440307090500340024869\n", true},
        {QStringLiteral("000404812143000440307090500340024869").toLower(), true},
        {"", false},
        {"0", false},
        {"000", false},
        {"0g", false},
        {"0x00", false},
        {QString::fromUtf8("\xc3\xa9" "0"), false},   // Latin-1 e-acute
        {QString::fromUtf8("0\xc2\xb9"), false},       // Latin-1 superscript one
        {QString::fromUtf8("\xef\xbc\x90\xef\xbc\x91"), false}, // full-width digits
        {QString::fromUtf8("\xd9\xa0\xd9\xa1"), false},           // Arabic-Indic digits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex.toStdString());
        const QJsonObject output = run({"decode-pdu", c.hex});
        EXPECT_EQ(output["ok"].toBool(), c.isPdu);
        if (c.isPdu) {
            EXPECT_EQ(output["record"].toObject()["m_strText"].toString(), QStringLiteral("Hi"));
        } else {
            EXPECT_EQ(output["error"].toString(), u'"' + c.hex + u'"' + refused);
        }
    }
    EXPECT_TRUE(commands().isEmpty());
}

} // namespace
