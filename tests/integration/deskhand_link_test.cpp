// deskhand-link end to end: the real program on a real pseudo-terminal against the simulator
// program, with the real clock.
#ifdef DESKHAND_LINK_BIN

#include "link_tool_fixture.h"

#include <QDir>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <csignal>

#include <unistd.h>

namespace {

class DeskhandLinkTest : public LinkToolTest {
protected:
    DeskhandLinkTest() : LinkToolTest(QStringLiteral(DESKHAND_LINK_BIN), {"--dialect", "1"}) {}
};

TEST_F(DeskhandLinkTest, WritesReadsAndDeletesContacts)
{
    startSimulator(path("phone.json")); // no file yet: an empty phone
    QFile contacts(path("contacts.json"));
    ASSERT_TRUE(contacts.open(QIODevice::WriteOnly));
    contacts.write(R"([
        {"m_strName": "Anna Berg", "m_strMobile": "+49 170 1234567", "m_strEmail": "anna@example.org"},
        {"m_strName": "王小明", "m_strMobile": "+86 138 0013 8000", "m_nGroup": 1, "m_strMemo": "two\r\nlines"},
        {"m_strName": "Carla", "m_strHome": "030-123456"}
    ])");
    contacts.close();

    const Run write = link({"write", "handset", path("contacts.json")});
    ASSERT_EQ(write.exitCode, 0) << write.errors.toStdString();
    EXPECT_TRUE(write.output.value(QLatin1String("ok")).toBool());
    EXPECT_EQ(names(write.output), QStringList({"Anna Berg", "王小明", "Carla"}));
    EXPECT_TRUE(write.errors.contains(QLatin1String("[progress] Writing phonebook...")));

    const Run read = link({"read", "handset"});
    ASSERT_EQ(read.exitCode, 0) << read.errors.toStdString();
    EXPECT_EQ(names(read.output), QStringList({"Anna Berg", "王小明", "Carla"}));
    const QJsonArray records = read.output.value(QLatin1String("records")).toArray();
    EXPECT_EQ(records[0].toObject().value(QLatin1String("m_strMobile")).toString(), QStringLiteral("+491701234567"));
    EXPECT_EQ(records[1].toObject().value(QLatin1String("m_strMemo")).toString(), QStringLiteral("two\r\nlines"));
    EXPECT_EQ(records[1].toObject().value(QLatin1String("m_nGroup")).toInt(), 1);
    EXPECT_EQ(records[2].toObject().value(QLatin1String("m_strHome")).toString(), QStringLiteral("030123456"));
    EXPECT_EQ(read.output.value(QLatin1String("groups")).toArray().size(), 7);

    const int second = records[1].toObject().value(QLatin1String("m_nIndex")).toInt();
    const Run remove = link({"delete", "handset", QString::number(second)});
    ASSERT_EQ(remove.exitCode, 0) << remove.errors.toStdString();

    const Run after = link({"read", "handset"});
    EXPECT_EQ(names(after.output), QStringList({"Anna Berg", "Carla"}));
    // The simulator kept every change in its state file.
    QFile state(path("phone.json"));
    ASSERT_TRUE(state.open(QIODevice::ReadOnly));
    const QByteArray saved = state.readAll();
    EXPECT_TRUE(saved.contains("Anna Berg"));
    EXPECT_FALSE(saved.contains("王小明"));
}

TEST_F(DeskhandLinkTest, ReadsTheDemoPhonesBook)
{
    const QString demo = QDir(QStringLiteral(DESKHAND_SOURCE_DIR)).filePath(QStringLiteral("phonesim/examples/demo_phone.json"));
    ASSERT_TRUE(QFile::copy(demo, path("demo.json")));
    QFile::setPermissions(path("demo.json"), QFile::ReadOwner | QFile::WriteOwner);
    startSimulator(path("demo.json"));

    const Run read = link({"read", "handset"});
    ASSERT_EQ(read.exitCode, 0) << read.errors.toStdString();
    EXPECT_EQ(names(read.output), QStringList({"Anna Berg", "Ben Okafor", "王小明", "Carla Ruiz", "Dmitri"}));
    EXPECT_EQ(read.output.value(QLatin1String("result")).toInt(), 1);
    EXPECT_EQ(read.errors.split(u'\n').filter(QStringLiteral("[progress]")),
        QStringList({"[progress] Connecting to mobile", "[progress] Reading phonebook data",
            "[progress] Reading phonebook 0~10", "[progress] Closing connection"}));

    // A failure: exit status 1 and the reason.
    const Run bad = link({"delete", "sim", "0"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_FALSE(bad.output.value(QLatin1String("ok")).toBool());
    EXPECT_EQ(bad.output.value(QLatin1String("error")).toString(), QStringLiteral("index 0 is outside the SIM book (1-100); nothing was sent"));
}

// The other lists over the wire, with texts as phones hold them: Base64 fields that hold a
// list prefix, message names in a single-byte code page and with commas.
TEST_F(DeskhandLinkTest, SimScheduleMemoAndMessageLists)
{
    startSimulator(file("phone.json", R"({
        "sim": {"first": 1, "last": 100, "numberLength": 20, "nameLength": 12,
                "entries": [{"index": 1, "group": 6, "name": "Voicemail", "number": "+491721234"},
                            {"index": 4, "group": 0, "name": "李雷", "number": "030123456"}]},
        "schedules": {"first": 1, "last": 30, "textLength": 30,
                      "entries": [{"index": 2, "start": "2004-03-08T14:30", "repeat": 2, "alarm": 1, "subject": "企岂临"},
                                  {"index": 3, "start": "2004-03-09T08:00", "repeat": 0, "alarm": 0, "subject": "Dentist"}]},
        "memos": {"first": 1, "last": 20, "textLength": 40,
                  "entries": [{"index": 1, "text": "\u4f00\u3082\u4034"}, {"index": 2, "text": "Buy milk\nand bread"}]},
        "messages": {"sim": {"total": 20, "entries": [
                         {"index": 1, "stat": 1, "name": "Zoë", "number": "+4917012345678", "text": "Hallo",
                          "time": "2004-03-06T18:42:10"},
                         {"index": 2, "stat": 0, "name": "Al,ice", "number": "+8613800138000", "text": "明天见",
                          "time": "2004-03-07T08:15:00"}]},
                     "handset": {"total": 50, "entries": []}}
    })"));

    const Run sim = link({"read", "sim"});
    ASSERT_EQ(sim.exitCode, 0) << sim.errors.toStdString();
    EXPECT_EQ(names(sim.output), QStringList({"Voicemail", "李雷"}));
    EXPECT_EQ(names(sim.output, "m_strMobile"), QStringList({"+491721234", "030123456"}));

    const Run write = link({"write", "schedules", file("schedule.json", R"([{"m_dtStart": "2004-03-07T09:05:00",
        "m_nRepeat": 1, "m_nAlarm": 2, "m_strSubject": "Two\r\nlines"}])")});
    ASSERT_EQ(write.exitCode, 0) << write.errors.toStdString();
    const Run schedules = link({"read", "schedules"});
    ASSERT_EQ(schedules.exitCode, 0) << schedules.errors.toStdString();
    EXPECT_EQ(names(schedules.output, "m_strSubject"), QStringList({"Two\r\nlines", "企岂临", "Dentist"}));
    EXPECT_EQ(names(schedules.output, "m_dtStart").first(), QStringLiteral("2004-03-07T09:05:00"));

    const Run memos = link({"read", "memos"});
    ASSERT_EQ(memos.exitCode, 0) << memos.errors.toStdString();
    EXPECT_EQ(names(memos.output, "m_strText"), QStringList({"\u4f00\u3082\u4034", "Buy milk\r\nand bread"}));

    const Run messages = link({"read", "messages"});
    ASSERT_EQ(messages.exitCode, 0) << messages.errors.toStdString();
    EXPECT_EQ(names(messages.output), QStringList({"Zoë", "Al,ice"}));
    EXPECT_EQ(messages.output.value(QLatin1String("records")).toArray().size(), 2);
}

// A call coming in before the phone's final OK: the entry it stored is reported with its index
// and the write ends, so that the phone holds no entry the tool does not report.
TEST_F(DeskhandLinkTest, ARingDuringAWrite)
{
    startSimulator(path("phone.json"), {"--fault", "ring:500@AT+CPBW=*"});
    const Run write = link({"write", "handset", file("contacts.json", R"([{"m_strName": "Anna"}, {"m_strName": "Ben"}])")});
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_EQ(write.output.value(QLatin1String("result")).toInt(), 26);
    EXPECT_EQ(names(write.output), QStringList {"Anna"});
    EXPECT_TRUE(write.errors.contains(QLatin1String("Failed to write data. - Calling")));
    const QByteArrayList commands = logged();
    EXPECT_EQ(std::count_if(commands.begin(), commands.end(), [](const QByteArray& c) { return c.startsWith("AT+CPBW="); }), 1);
    EXPECT_TRUE(logged().contains("AT+SYNCSTOP"));
}

// SIGTERM in the middle of a read: the session closes as after an abort, and the port is free
// for the next run.
TEST_F(DeskhandLinkTest, ASignalEndsTheSessionWithItsClosingCommands)
{
    const QString demo = QDir(QStringLiteral(DESKHAND_SOURCE_DIR)).filePath(QStringLiteral("phonesim/examples/demo_phone.json"));
    ASSERT_TRUE(QFile::copy(demo, path("demo.json")));
    QFile::setPermissions(path("demo.json"), QFile::ReadOwner | QFile::WriteOwner);
    startSimulator(path("demo.json"), {"--fault", "delay:5000@AT+CPBR=0,10"});

    QProcess process;
    startLink(process, {"read", "handset"});
    QDeadlineTimer deadline(30000);
    while (!logged().contains("AT+CPBR=0,10") && !deadline.hasExpired())
        QThread::msleep(20);
    ASSERT_TRUE(logged().contains("AT+CPBR=0,10"));
    process.terminate();
    const Run ended = finish(process);
    EXPECT_EQ(ended.exitCode, 128 + SIGTERM);
    EXPECT_EQ(ended.output.value(QLatin1String("result")).toInt(), 25);
    const QByteArrayList commands = logged();
    const qsizetype read = commands.indexOf("AT+CPBR=0,10");
    EXPECT_EQ(commands.mid(read + 1, 3), QByteArrayList({"AT+SYNCSTOP", "ATE1", "AT+CSCS=\"IRA\""}));

    const Run again = link({"read", "memos"});
    EXPECT_EQ(again.exitCode, 0) << again.errors.toStdString();
}

// A phone on a bad day: an unsolicited line before every list answer, then a phone that takes a
// write, falls silent and is plugged in again before it answers.
TEST_F(DeskhandLinkTest, UnsolicitedLinesAndAPhonePluggedInAgainMidWrite)
{
    const QString demo = QDir(QStringLiteral(DESKHAND_SOURCE_DIR)).filePath(QStringLiteral("phonesim/examples/demo_phone.json"));
    ASSERT_TRUE(QFile::copy(demo, path("demo.json")));
    QFile::setPermissions(path("demo.json"), QFile::ReadOwner | QFile::WriteOwner);
    startSimulator(path("demo.json"), {"--fault", "before:\\r\\n+CMTI: \"SM\",5\\r\\n@AT+CPBR=*", "--fault", "lost@AT+CPBW=*"});

    const Run read = link({"read", "handset"});
    ASSERT_EQ(read.exitCode, 0) << read.errors.toStdString();
    EXPECT_EQ(names(read.output), QStringList({"Anna Berg", "Ben Okafor", "王小明", "Carla Ruiz", "Dmitri"}));

    QProcess process;
    startLink(process, {"write", "handset", file("new.json", R"([{"m_strName": "Eve", "m_strMobile": "0173"}])")});
    QDeadlineTimer deadline(30000);
    const auto written = [this] {
        const QByteArrayList commands = logged();
        return std::any_of(commands.begin(), commands.end(), [](const QByteArray& c) { return c.startsWith("AT+CPBW="); });
    };
    while (!written() && !deadline.hasExpired())
        QThread::msleep(20);
    ASSERT_TRUE(written());
    // Unplugged and plugged in again, as it was (the state file kept the new entry).
    simulator.terminate();
    ASSERT_TRUE(simulator.waitForFinished(5000));
    QFile::remove(path("com3"));
    QFile::remove(path("commands.log"));
    startSimulator(path("demo.json"));

    const Run write = finish(process);
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_TRUE(names(write.output).isEmpty());
    const QJsonArray unconfirmed = write.output.value(QLatin1String("unconfirmed")).toArray();
    ASSERT_EQ(unconfirmed.size(), 1) << write.errors.toStdString();
    EXPECT_EQ(unconfirmed[0].toObject().value(QLatin1String("m_strName")).toString(), QStringLiteral("Eve"));
    EXPECT_EQ(unconfirmed[0].toObject().value(QLatin1String("m_nIndex")).toInt(), -1);
    EXPECT_TRUE(write.output.value(QLatin1String("error")).toString().startsWith(QLatin1String("record 0: The line to the phone was lost after the command went out")))
        << write.output.value(QLatin1String("error")).toString().toStdString();
    EXPECT_TRUE(write.errors.contains(QLatin1String("read the list again before you try again")));
    // The phone plugged in again got the closing commands.
    EXPECT_EQ(logged().mid(0, 3), QByteArrayList({"AT+SYNCSTOP", "ATE1", "AT+CSCS=\"IRA\""}));

    const Run after = link({"read", "handset"});
    EXPECT_TRUE(names(after.output).contains(QStringLiteral("Eve"))) << after.errors.toStdString();
}

// Every failure names its reason: a port that is missing, not a serial line, busy or not
// permitted; a baud rate, an index or a schedule start the phone cannot take, refused before any
// command. What needs a user without the right runs as nobody when the test runs as root.
TEST_F(DeskhandLinkTest, EveryFailureNamesItsReason)
{
    const QString port = path("com3");
    const auto error = [](const Run& run) { return run.output.value(QLatin1String("error")).toString(); };
    Run run = link({"read", "handset"});
    EXPECT_EQ(error(run), QStringLiteral("cannot use COM 3 (%1): no such device").arg(port));
    EXPECT_EQ(run.exitCode, 1);
    // The program's own boxes, the second with its reason.
    EXPECT_TRUE(run.errors.contains(QLatin1String("Failed to open 3 port")));
    EXPECT_TRUE(run.errors.contains(QLatin1String("Failed to read data. - Port is invalid")));

    file(QStringLiteral("com3"), "not a terminal");
    EXPECT_EQ(error(link({"read", "sim"})), QStringLiteral("cannot use COM 3 (%1): not a serial port").arg(port));
    QFile::remove(port);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), port));
    EXPECT_EQ(error(link({"read", "sim"})), QStringLiteral("cannot use COM 3 (%1): not a serial port").arg(port));
    QFile::remove(port);

    startSimulator(path("phone.json"));
    const struct {
        QStringList args;
        QString error;
    } refusals[] = {
        {{"--baud", "12345", "read", "handset"}, "--baud 12345 is no rate a serial line takes"},
        {{"delete", "handset", "-1"}, "index -1 is outside the handset book (1-255); nothing was sent"},
        {{"delete", "handset", "0"}, "index 0 is outside the handset book (1-255); nothing was sent"},
        {{"delete", "handset", "256"}, "index 256 is outside the handset book (1-255); nothing was sent"},
        {{"write", "schedules", file("old.json", R"([{"m_dtStart": "1990-05-01T09:00:00"}])")},
            path("old.json") + ": record 0: m_dtStart 1990-05-01T09:00:00 is outside what the phone keeps (2000-01-01 to 2099-12-31)"},
        {{"write", "schedules", file("far.json", R"([{"m_dtStart": "2150-01-01T09:00:00"}])")},
            path("far.json") + ": record 0: m_dtStart 2150-01-01T09:00:00 is outside what the phone keeps"},
    };
    for (const auto& r : refusals) {
        run = link(r.args);
        EXPECT_EQ(run.exitCode, 1) << r.args.join(u' ').toStdString();
        EXPECT_TRUE(error(run).startsWith(r.error)) << error(run).toStdString();
        EXPECT_TRUE(run.errors.contains(QLatin1String("(see --help)"))) << run.errors.toStdString();
    }
    const QByteArrayList commands = logged();
    EXPECT_TRUE(std::none_of(commands.begin(), commands.end(), [](const QByteArray& c) { return c.startsWith("AT"); }));

    QProcess holder;
    holder.start(QStringLiteral(DESKHAND_SERIAL_HOLDER_BIN), {port});
    ASSERT_TRUE(holder.waitForStarted(5000));
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    EXPECT_EQ(error(link({"read", "memos"})), QStringLiteral("cannot use COM 3 (%1): busy: another program holds it").arg(port));
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
    simulator.terminate();
    ASSERT_TRUE(simulator.waitForFinished(5000));
    QFile::remove(port);
    ASSERT_TRUE(QFile::link(closed, port));
    EXPECT_EQ(error(link({"read", "memos"})), QStringLiteral("cannot use COM 3 (%1): permission denied").arg(port));
}

} // namespace

#endif
