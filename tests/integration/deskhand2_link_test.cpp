// deskhand2-link end to end: the real program on a real pseudo-terminal against the simulator
// program of the second family, with the real clock.
#ifdef DESKHAND2_LINK_BIN

#include "link_tool_fixture.h"

#include <QDir>
#include <QStandardPaths>

#include <csignal>

#include <signal.h>

#include <unistd.h>

namespace {

class Deskhand2LinkTest : public LinkToolTest {
protected:
    Deskhand2LinkTest() : LinkToolTest(QStringLiteral(DESKHAND2_LINK_BIN), {"--dialect", "2"}) {}

    // The demo phone of a model, as the simulator's state file.
    QString demoPhone(int model)
    {
        const QString copy = path(QStringLiteral("phone%1.json").arg(model));
        QFile::copy(QStringLiteral(DESKHAND_SOURCE_DIR "/phonesim/examples/demo_phone2_model%1.json").arg(model), copy);
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        return copy;
    }

    static QStringList demoNames(const QString& stateFile)
    {
        QFile file(stateFile);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList list;
        for (const QJsonValue& entry : QJsonDocument::fromJson(file.readAll()).object()["handset"].toObject()["entries"].toArray())
            list << entry.toObject().value(QLatin1String("name")).toString();
        return list;
    }
};

// Each model's book comes out as the simulator holds it, with the model the phone named.
class Deskhand2LinkModelTest : public Deskhand2LinkTest, public ::testing::WithParamInterface<int> {};

TEST_P(Deskhand2LinkModelTest, ReadsItsBook)
{
    const int model = GetParam();
    const QString state = demoPhone(model);
    startSimulator(state, {"--model", QString::number(model)});
    const Run run = link({"read", "handset"});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.output.value(QLatin1String("ok")).toBool());
    EXPECT_EQ(names(run.output), demoNames(state)) << model;
    EXPECT_EQ(run.output["profile"].toObject()["type"].toInt(), model);
    EXPECT_EQ(run.output["groups"].toArray().size(), model == 1 ? 0 : 8); // model 1 has no groups
}

INSTANTIATE_TEST_SUITE_P(EachModel, Deskhand2LinkModelTest, ::testing::Values(1, 2, 3));

TEST_F(Deskhand2LinkTest, WritesReadsAndDeletesInOneModel)
{
    const QString state = demoPhone(3);
    startSimulator(state, {"--model", "3"});

    const QString contacts = file(QStringLiteral("contacts.json"), R"([
        {"m_nIndex": 150, "m_strName": "Zhang San", "m_strMobile": "+8613800P1", "m_nGroup": 1},
        {"m_nIndex": 151, "m_strName": "Lee", "m_strHome": "0301", "m_strFax": "0302"}
    ])");
    const Run write = link({"write", "handset", contacts});
    EXPECT_EQ(write.exitCode, 0) << write.errors.toStdString();
    EXPECT_EQ(names(write.output), QStringList({"Zhang San", "Lee"}));

    const Run read = link({"read", "handset"});
    EXPECT_EQ(read.output["profile"].toObject(),
        QJsonObject({{"type", 3}, {"callerGroups", 1}, {"base64Fax", 0}, {"pairedBookEntries", 0}, {"plusForDoubleZero", 0},
            {"nameCappedAt20", 1}, {"pduMessages", 1}, {"syncCharset", 0}}));
    EXPECT_TRUE(names(read.output).contains(QStringLiteral("Zhang San")));
    for (const QJsonValue& record : read.output["records"].toArray()) {
        if (record["m_nIndex"].toInt() == 150) {
            EXPECT_EQ(record["m_strMobile"].toString(), QStringLiteral("+8613800P1"));
            EXPECT_EQ(record["m_nGroup"].toInt(), 1);
        } else if (record["m_nIndex"].toInt() == 151) {
            EXPECT_EQ(record["m_strFax"].toString(), QStringLiteral("0302"));
        }
    }

    EXPECT_EQ(link({"delete", "handset", "150", "151"}).exitCode, 0);
    EXPECT_EQ(demoNames(state), demoNames(QStringLiteral(DESKHAND_SOURCE_DIR "/phonesim/examples/demo_phone2_model3.json")));
}

// The schedule list read and written back whole.
TEST_F(Deskhand2LinkTest, ReadsAndWritesBackTheScheduleList)
{
    startSimulator(demoPhone(3), {"--model", "3"});

    const Run schedules = link({"read", "schedules"});
    EXPECT_EQ(schedules.exitCode, 0);
    const QString list = file(QStringLiteral("schedules.json"), QJsonDocument(schedules.output).toJson());
    const Run written = link({"write", "schedules", list});
    EXPECT_EQ(written.exitCode, 0) << written.errors.toStdString();
    EXPECT_EQ(names(written.output, "m_strSubject"), names(schedules.output, "m_strSubject"));
    EXPECT_EQ(logged().count("AT+SSCW"), 1);
}

// Messages: the PDU listing with its enhanced message and its re-read part; a PDU decoded
// without a phone.
TEST_F(Deskhand2LinkTest, ListsMessagesAndDecodesAPdu)
{
    startSimulator(demoPhone(2), {"--model", "2"});

    const Run listed = link({"read", "messages"});
    EXPECT_EQ(listed.exitCode, 0) << listed.errors.toStdString();
    EXPECT_EQ(names(listed.output, "m_strText"), QStringList({"See you at 8?", "周五见", "Call me back", "[EMS]", "Hi!"}));
    EXPECT_EQ(logged().count("AT+CMGR=4"), 1); // the part of a longer text, read again

    const Run decoded = link({"decode-pdu", "00440b916407281553f80000403070905003400b040b02020520cb6cf61b"});
    EXPECT_EQ(decoded.exitCode, 0);
    EXPECT_EQ(decoded.output["record"].toObject()["m_strText"].toString(), QStringLiteral("[EMS]"));
    EXPECT_EQ(decoded.output["elements"].toArray().at(1).toObject(), QJsonObject({{"type", "sound"}}));
    EXPECT_EQ(link({"decode-pdu", "0002"}).exitCode, 1);
}

// A text stored, listed in text mode and deleted.
TEST_F(Deskhand2LinkTest, StoresListsAndDeletesAText)
{
    const QString state = demoPhone(2);
    startSimulator(state, {"--model", "2"});

    const Run stored = link({"store-message", "Back at 9\r\nBye"});
    EXPECT_EQ(stored.exitCode, 0) << stored.errors.toStdString();
    const int index = stored.output["records"].toArray().at(0)["m_nIndex"].toInt();
    EXPECT_GT(index, 0);

    const Run texts = link({"read", "messages-text"}); // the SIM, where the text went
    EXPECT_EQ(texts.exitCode, 0) << texts.errors.toStdString();
    EXPECT_TRUE(names(texts.output, "m_strText").contains(QStringLiteral("Back at 9\r\nBye")))
        << names(texts.output, "m_strText").join(u'|').toStdString();

    EXPECT_EQ(link({"delete-message", QString::number(index)}).exitCode, 0);
    QFile saved(state);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    for (const QJsonValue& entry : QJsonDocument::fromJson(saved.readAll())["messages"]["sim"]["entries"].toArray())
        EXPECT_NE(entry["index"].toInt(), index);
}

// decode-pdu without a phone: the record as the listing builds it, each element's type, and the
// converted text of melodies, pictures and animations. Every PDU is an 8-bit SMS-DELIVER from
// 1234 stamped 04/03/07 09:05:30 +1h whose text "Hi" follows one header element.
TEST_F(Deskhand2LinkTest, DecodePduPrintsTheRecordAndEachElement)
{
    const QString zeros16 = QStringLiteral("0 ").repeated(16) + u'\n';
    const QString zeros8 = QStringLiteral("0 ").repeated(8) + u'\n';
    const QString melody = QStringLiteral("BEGIN:IMELODY\r\nVERSION:1.2\r\nFORMAT:CLASS1.0\r\nMELODY:c2d2\r\nEND:IMELODY\r\n");
    const struct {
        const char* name;
        const char* pdu;
        QString text; // of the record
        QJsonArray elements;
    } cases[] = {
        {"plain text", "000404812143000440307090500340024869", QStringLiteral("Hi"), {QJsonObject {{"type", "text"}}}},
        {"melody at 0",
            "0044048121430004403070905003402F2C0C2A00424547494E3A494D454C4F44590D0A4D454C4F44593A633264320D0A454E443A49"
            "4D454C4F44590D0A4869",
            QStringLiteral("[EMS]"), {QJsonObject {{"type", "sound"}, {"text", melody}}, QJsonObject {{"type", "text"}}}},
        {"16 x 16 picture at 2, top left pixel set",
            "004404812143000440307090500340262311210280000000000000000000000000000000000000000000000000000000000000004869",
            QStringLiteral("[EMS]"),
            {QJsonObject {{"type", "text"}},
                QJsonObject {{"type", "picture"}, {"text", "P1\n16 16\n1 " + zeros16.mid(2) + zeros16.repeated(15)}}}},
        {"8 x 8 animation at 1, first row set",
            "00440481214300044030709050034026230F2101FF000000000000000000000000000000000000000000000000000000000000004869",
            QStringLiteral("[EMS]"),
            {QJsonObject {{"type", "text"}},
                QJsonObject {{"type", "animation"}, {"text", "A1\n8 8 4\n" + QStringLiteral("1 ").repeated(8) + u'\n' + zeros8.repeated(31)}},
                QJsonObject {{"type", "text"}}}},
        {"predefined sound at 1", "00440481214300044030709050034007040B0201054869", QStringLiteral("[EMS]"),
            {QJsonObject {{"type", "text"}}, QJsonObject {{"type", "sound"}}, QJsonObject {{"type", "text"}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Run run = link({"decode-pdu", QString::fromLatin1(c.pdu)});
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
        EXPECT_TRUE(run.output["ok"].toBool());
        const QJsonObject record = run.output["record"].toObject();
        EXPECT_EQ(record["m_strText"].toString(), c.text);
        EXPECT_EQ(record["m_strNumber"].toString(), QStringLiteral("1234"));
        EXPECT_EQ(record["m_strDate"].toString(), QStringLiteral("4/3/7"));
        EXPECT_EQ(record["m_strTime"].toString(), QStringLiteral("9:5:30 4"));
        EXPECT_EQ(run.output["elements"].toArray(), c.elements);
    }

    // What does not decode, or is no hexadecimal at all, fails with no record.
    for (const char* bad : {"0002", "", "00ZZ", "0004048121430004403070905003400548"}) {
        SCOPED_TRACE(bad);
        const Run run = link({"decode-pdu", QString::fromLatin1(bad)});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_FALSE(run.output["ok"].toBool());
        EXPECT_FALSE(run.output.contains(QLatin1String("record")));
        EXPECT_FALSE(run.output["error"].toString().isEmpty());
        // A PDU that does not decode is no mistake of the command line.
        EXPECT_FALSE(run.errors.contains(QLatin1String("see --help"))) << run.errors.toStdString();
    }
}

// SIGTERM during a read ends it as Cancel does; the phone still leaves its synchronisation mode
// and takes the next session.
TEST_F(Deskhand2LinkTest, ASignalEndsTheSessionWithItsClosingCommands)
{
    startSimulator(demoPhone(2), {"--model", "2", "--fault", "delay:5000@AT+CPBR=1,200"});
    QProcess process;
    startLink(process, {"read", "handset"});
    QDeadlineTimer deadline(30000);
    while (!logged().contains("AT+CPBR=1,200") && !deadline.hasExpired())
        QThread::msleep(20);
    ASSERT_TRUE(logged().contains("AT+CPBR=1,200"));
    process.terminate();
    const Run ended = finish(process);
    EXPECT_EQ(ended.exitCode, 128 + SIGTERM);
    EXPECT_EQ(ended.output.value(QLatin1String("result")).toInt(), 21);
    const QByteArrayList commands = logged();
    const qsizetype read = commands.indexOf("AT+CPBR=1,200");
    EXPECT_EQ(commands.mid(read + 1, 3), QByteArrayList({"AT+SEND", "AT+CSCS=\"GSM\"", "ATE1"}));

    const Run again = link({"read", "schedules"});
    EXPECT_EQ(again.exitCode, 0) << again.errors.toStdString();
}

// The line dies just after the phone deleted entry 1, and the phone is there again at the same
// path: the delete is reported unconfirmed, and the closing commands reach the phone plugged in
// again, so that it leaves no session open.
TEST_F(Deskhand2LinkTest, AfterALostLineTheClosingCommandsReachThePhonePluggedInAgain)
{
    startSimulator(demoPhone(2), {"--model", "2", "--fault", "lostclose@AT+CPBW=1"});
    const Run run = link({"delete", "handset", "1", "2"});
    EXPECT_EQ(run.exitCode, 1) << run.errors.toStdString();
    EXPECT_EQ(run.output["unconfirmed"].toArray(), QJsonArray {1});
    EXPECT_EQ(run.output["deleted"].toArray(), QJsonArray());
    const QByteArrayList commands = logged();
    const qsizetype lost = commands.indexOf("AT+CPBW=1");
    ASSERT_GE(lost, 0);
    EXPECT_EQ(commands.mid(lost + 1, 3), QByteArrayList({"AT+SEND", "AT+CSCS=\"GSM\"", "ATE1"}));
    EXPECT_FALSE(run.errors.contains(QLatin1String("Cannot open")));
}

// SIGINT while the phone's prompt for a stored text is late: the escape leaves the prompt
// first, and the closing commands reach the phone as commands, never as the message's text.
TEST_F(Deskhand2LinkTest, ASignalAtALatePromptLeavesThePromptFirst)
{
    startSimulator(demoPhone(2), {"--model", "2", "--fault", "delay:5000@AT+CMGW=\"\""});
    QProcess process;
    startLink(process, {"store-message", "never stored"});
    QDeadlineTimer deadline(30000);
    while (!logged().contains("AT+CMGW=\"\"") && !deadline.hasExpired())
        QThread::msleep(20);
    ASSERT_TRUE(logged().contains("AT+CMGW=\"\""));
    ::kill(pid_t(process.processId()), SIGINT);
    const Run ended = finish(process);
    EXPECT_EQ(ended.exitCode, 128 + SIGINT);
    const QByteArrayList commands = logged();
    const qsizetype store = commands.indexOf("AT+CMGW=\"\"");
    EXPECT_EQ(commands.mid(store + 1, 4), QByteArrayList({"\\x1b", "AT+SEND", "AT+CSCS=\"GSM\"", "ATE1"}));
}

// Every failure names its reason: a port that is missing, busy or not permitted, a baud rate the
// line does not take, an index below 0, more than 20 schedule entries, a data file whose folder
// is missing or read-only. What needs a user without the right runs as nobody when the test runs
// as root.
TEST_F(Deskhand2LinkTest, EveryFailureNamesItsReason)
{
    const QString port = path("com3");
    const auto error = [](const Run& run) { return run.output.value(QLatin1String("error")).toString(); };
    Run run = link({"identify"});
    EXPECT_EQ(error(run), QStringLiteral("cannot use COM 3 (%1): no such device").arg(port));

    QByteArray list = "[";
    for (int i = 0; i < 21; ++i)
        list += QByteArray(i ? "," : "") + R"({"m_nIndex": )" + QByteArray::number(i) + "}";
    const QString schedules = file(QStringLiteral("many.json"), list + "]");
    run = link({"write", "schedules", schedules});
    EXPECT_EQ(error(run), schedules + QStringLiteral(": 21 entries; the phone's list holds at most 20"));
    EXPECT_EQ(error(link({"delete", "handset", "-1"})), QStringLiteral("index -1 is below 0"));
    const QString empty = file(QStringLiteral("empty.json"), "{}");
    run = link({"data", "write", empty, path("missing/msync.dat")});
    EXPECT_EQ(error(run), QStringLiteral("cannot write %1: the folder %2 does not exist").arg(path("missing/msync.dat"), path("missing")));
    EXPECT_EQ(run.exitCode, 1);

    startSimulator(demoPhone(2), {"--model", "2"});
    run = link({"--baud", "12345", "identify"});
    EXPECT_EQ(error(run), QStringLiteral("cannot use COM 3 (%1): the line does not take 12345 baud").arg(port));
    QProcess holder;
    holder.start(QStringLiteral(DESKHAND_SERIAL_HOLDER_BIN), {port});
    ASSERT_TRUE(holder.waitForStarted(5000));
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    run = link({"identify"});
    EXPECT_EQ(error(run), QStringLiteral("cannot use COM 3 (%1): busy: another program holds it").arg(port));
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(5000));

    if (::geteuid() == 0) {
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            GTEST_SKIP() << "no setpriv to run the tool as nobody";
        runner = QStringList {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const QString closed = file(QStringLiteral("closed"), "");
    QFile::setPermissions(closed, QFileDevice::Permissions());
    QFile::setPermissions(empty, QFile::ReadOwner | QFile::ReadOther);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("readonly")));
    QFile::setPermissions(path("readonly"), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    run = link({"data", "write", empty, path("readonly/msync.dat")});
    EXPECT_EQ(error(run), QStringLiteral("cannot write %1: the folder %2 is read-only").arg(path("readonly/msync.dat"), path("readonly")));
    QFile::remove(port);
    ASSERT_TRUE(QFile::link(closed, port));
    run = link({"identify"});
    EXPECT_EQ(error(run), QStringLiteral("cannot use COM 3 (%1): permission denied").arg(port));
}

TEST_F(Deskhand2LinkTest, RefusalsAreClearAndFail)
{
    Run run = link({"frob"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(QLatin1String("cannot understand \"frob\"")));

    run = link({"write", "handset", file(QStringLiteral("bad.json"), R"([{"m_strName": 5}])")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output["error"].toString().contains(QLatin1String("m_strName"))) << run.errors.toStdString();

    run = link({"identify"}); // nothing at COM 3
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(QLatin1String("Cannot open COM 3 port")));
    EXPECT_TRUE(run.output["error"].toString().startsWith(QLatin1String("cannot use COM 3")));
}

} // namespace

#endif
