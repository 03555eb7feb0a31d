// deskhand-link's commands on the in-process simulated phone.
#include "tools/link_command.h"

#include "link/phone_session_fixture.h"
#include "platform/serial/com_port.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

using namespace dh1;

namespace {

using phonesim::Fault;

class LinkCommandTest : public PhoneSessionTest {
protected:
    QJsonObject run(const QStringList& args) { return CLinkCommand(session).Run(args); }

    QString file(const QByteArray& content)
    {
        const QString name = QStringLiteral("records%1.json").arg(++m_files);
        EXPECT_TRUE(dir.write(name, content));
        return dir.path(name);
    }

    static QJsonArray records(const QJsonObject& output) { return output.value(QLatin1String("records")).toArray(); }
    static QJsonValue member(const QJsonObject& output, int i, const char* name)
    {
        return records(output)[i].toObject().value(QLatin1String(name));
    }

    testsupport::TempFolder dir;

private:
    int m_files = 0;
};

TEST_F(LinkCommandTest, ReadsPrintRecordsByMemberName)
{
    phone.state().handset.entries[2] = {0, QStringLiteral("Anna"), QStringLiteral("+4930")};
    const QJsonObject output = run({"read", "handset"});
    EXPECT_TRUE(output.value(QLatin1String("ok")).toBool());
    EXPECT_EQ(output.value(QLatin1String("result")).toInt(), 1);
    EXPECT_EQ(output.value(QLatin1String("lastError")).toInt(), 0);
    ASSERT_EQ(records(output).size(), 1);
    EXPECT_EQ(member(output, 0, "m_strName"), QJsonValue(QStringLiteral("Anna")));
    EXPECT_EQ(member(output, 0, "m_nIndex"), QJsonValue(2));
    EXPECT_EQ(output.value(QLatin1String("groups")).toArray().size(), 7);
    EXPECT_FALSE(output.contains(QLatin1String("error")));

    phone.state().schedules.entries[1] = {QDateTime(QDate(2004, 3, 7), QTime(9, 5)), 0, 0, QStringLiteral("S")};
    const QJsonObject schedules = run({"read", "schedules"});
    EXPECT_EQ(member(schedules, 0, "m_dtStart"), QJsonValue(QStringLiteral("2004-03-07T09:05:00")));
    EXPECT_FALSE(schedules.contains(QLatin1String("groups")));

    EXPECT_TRUE(run({"read", "sim"}).value(QLatin1String("ok")).toBool());
    EXPECT_TRUE(run({"read", "memos"}).value(QLatin1String("ok")).toBool());
    EXPECT_TRUE(run({"read", "messages"}).value(QLatin1String("ok")).toBool());
}

TEST_F(LinkCommandTest, WriteRunsOneSessionForTheWholeArray)
{
    const QString path = file(R"([{"m_strName": "One", "m_strMobile": "+1 555"},
                                  {"m_strName": "Two", "m_nIndex": 9},
                                  {"m_strName": "Three"}])");
    const QJsonObject output = run({"write", "handset", path});
    EXPECT_TRUE(output.value(QLatin1String("ok")).toBool());
    ASSERT_EQ(records(output).size(), 3);
    EXPECT_EQ(member(output, 0, "m_nIndex"), QJsonValue(1));
    EXPECT_EQ(member(output, 0, "m_strMobile"), QJsonValue(QStringLiteral("+1555")));
    EXPECT_EQ(member(output, 1, "m_nIndex"), QJsonValue(9));
    EXPECT_EQ(member(output, 2, "m_nIndex"), QJsonValue(2));
    EXPECT_EQ(commands().filter(QStringLiteral("AT+SYNCSTART")).size(), 1);
    EXPECT_EQ(commands().filter(QStringLiteral("AT+SYNCSTOP")).size(), 1);
    EXPECT_EQ(phone.state().handset.entries.size(), 3u);

    // A read's output can be written back; schedules and memos go the same way.
    const QJsonObject read = run({"read", "handset"});
    const QString back = file(QJsonDocument(read).toJson());
    EXPECT_TRUE(run({"write", "handset", back}).value(QLatin1String("ok")).toBool());
    EXPECT_EQ(phone.state().handset.entries.size(), 3u);
    const QJsonObject memo = run({"write", "memos", file(R"([{"m_strText": "note"}])")});
    EXPECT_EQ(member(memo, 0, "m_nIndex"), QJsonValue(1));
    const QJsonObject schedule = run({"write", "schedules", file(R"([{"m_dtStart": "2004-03-07T09:05:00"}])")});
    EXPECT_TRUE(schedule.value(QLatin1String("ok")).toBool());
    EXPECT_EQ(phone.state().schedules.entries.size(), 1u);
    EXPECT_TRUE(run({"write", "sim", file(R"([{"m_strName": "S", "m_strMobile": "12"}])")}).value(QLatin1String("ok")).toBool());
    EXPECT_EQ(phone.state().sim.entries.size(), 1u);
}

TEST_F(LinkCommandTest, AWriteStopsAtTheFirstFailure)
{
    phone.state().handset.last = 1;
    const QJsonObject output = run({"write", "handset", file(R"([{"m_strName": "A"}, {"m_strName": "B"}, {"m_strName": "C"}])")});
    EXPECT_FALSE(output.value(QLatin1String("ok")).toBool());
    EXPECT_EQ(output.value(QLatin1String("result")).toInt(), 7);
    EXPECT_EQ(output.value(QLatin1String("lastError")).toInt(), 7);
    EXPECT_EQ(records(output).size(), 1);
    EXPECT_EQ(commands().filter(QStringLiteral("AT+CPBW=")).size(), 2);
    EXPECT_EQ(ui().boxTexts().last(), QStringLiteral("Failed to write data. - Memory is full"));
    EXPECT_FALSE(session.m_bConnected);
}

// A call coming in before the phone's answer: the entry it stored counts as written with its
// index, and the write ends there as a RING ends it, so that a retry adds no second copy.
TEST_F(LinkCommandTest, ARingBeforeTheFinalOkKeepsTheWrittenEntry)
{
    phone.injectFault("AT+CPBW=*", Fault::ring(500));
    const QJsonObject output = run({"write", "handset", file(R"([{"m_strName": "A"}, {"m_strName": "B"}])")});
    EXPECT_FALSE(output.value(QLatin1String("ok")).toBool());
    EXPECT_EQ(output.value(QLatin1String("result")).toInt(), AT_RING);
    ASSERT_EQ(records(output).size(), 1);
    EXPECT_EQ(member(output, 0, "m_nIndex"), QJsonValue(1));
    EXPECT_EQ(phone.state().handset.entries.size(), 1u);
    EXPECT_EQ(commands().filter(QStringLiteral("AT+CPBW=")).size(), 1);
    EXPECT_EQ(commands().mid(commands().size() - 3), QStringList({"AT+SYNCSTOP", "ATE1", "AT+CSCS=\"IRA\""}));
    EXPECT_EQ(ui().boxTexts(), QStringList({"Calling", "Failed to write data. - Calling"}));
}

// Values outside what the phone keeps are refused before the port is opened, with the reason
// and the record; texts go as the phone stores them, and the records say what was sent.
TEST_F(LinkCommandTest, ValuesThePhoneCannotTakeAreRefusedBeforeAnyCommand)
{
    const struct {
        QStringList args; // "FILE" stands for a file holding `records`
        QByteArray records;
        QString error;
    } refused[] = {
        {{"write", "handset", "FILE"}, R"([{"m_strName": "A"}, {"m_strName": "A", "m_nGroup": 7}])",
            "record 1: m_nGroup 7 is no caller group (0-6); nothing was sent"},
        {{"write", "handset", "FILE"}, R"([{"m_strName": "A", "m_nGroup": -1}])", "record 0: m_nGroup -1 is no caller group (0-6)"},
        {{"write", "handset", "FILE"}, R"([{"m_strName": "A", "m_nIndex": 256}])",
            "record 0: m_nIndex 256 is outside the handset book (1-255)"},
        {{"write", "handset", "FILE"}, R"([{"m_strName": "A", "m_nIndex": 0}])",
            "record 0: m_nIndex 0 is outside the handset book (1-255)"},
        {{"write", "sim", "FILE"}, R"([{"m_strName": "A", "m_nGroup": 9}])", "record 0: m_nGroup 9 is no caller group (0-6)"},
        {{"write", "sim", "FILE"}, R"([{"m_strName": "A", "m_nSimIndex": 101}])",
            "record 0: m_nSimIndex 101 is outside the SIM book (1-100)"},
        {{"write", "schedules", "FILE"}, R"([{"m_dtStart": "2004-03-07T09:05:00", "m_nRepeat": 5}])",
            "record 0: m_nRepeat 5 is no repeat the phone keeps (0-4)"},
        {{"write", "schedules", "FILE"}, R"([{"m_dtStart": "2004-03-07T09:05:00", "m_nAlarm": 6}])",
            "record 0: m_nAlarm 6 is no alarm the phone keeps (0-5)"},
        {{"write", "schedules", "FILE"}, R"([{"m_dtStart": "2004-03-07T09:05:00", "m_nIndex": 31}])",
            "record 0: m_nIndex 31 is outside the schedule list (1-30)"},
        {{"write", "schedules", "FILE"}, R"([{"m_dtStart": "1990-05-01T09:00:00"}])",
            "record 0: m_dtStart 1990-05-01T09:00:00 is outside what the phone keeps (2000-01-01 to 2099-12-31)"},
        {{"write", "schedules", "FILE"}, R"([{"m_dtStart": "2004-03-07T09:05:00"}, {"m_dtStart": "2150-01-01T00:00:00"}])",
            "record 1: m_dtStart 2150-01-01T00:00:00 is outside what the phone keeps (2000-01-01 to 2099-12-31)"},
        {{"write", "schedules", "FILE"}, R"([{"m_dtStart": null}])", "record 0: m_dtStart is no date"},
        {{"write", "memos", "FILE"}, R"([{"m_strText": "x", "m_nIndex": 21}])", "record 0: m_nIndex 21 is outside the memo list (1-20)"},
        {{"delete", "handset", "3", "-1"}, {}, "index -1 is outside the handset book (1-255); nothing was sent"},
        {{"delete", "handset", "0"}, {}, "index 0 is outside the handset book (1-255)"},
        {{"delete", "handset", "256"}, {}, "index 256 is outside the handset book (1-255)"},
        {{"delete", "sim", "0"}, {}, "index 0 is outside the SIM book (1-100)"},
        {{"delete", "sim", "101"}, {}, "index 101 is outside the SIM book (1-100)"},
        {{"delete", "schedules", "31"}, {}, "index 31 is outside the schedule list (1-30)"},
        {{"delete", "memos", "0"}, {}, "index 0 is outside the memo list (1-20)"},
        {{"delete-message", "4", "0"}, {}, "index 0 is no message index (1 and above); nothing was sent"},
    };
    for (const auto& r : refused) {
        QStringList args = r.args;
        args.replaceInStrings(QStringLiteral("FILE"), file(r.records));
        const qsizetype opened = lines.openedPaths().size();
        const QJsonObject output = run(args);
        const std::string what = args.join(u' ').toStdString() + " " + r.records.toStdString();
        EXPECT_FALSE(output.value(QLatin1String("ok")).toBool()) << what;
        EXPECT_EQ(output.value(QLatin1String("result")).toInt(), SESSION_NOTHING_SENT) << what;
        EXPECT_TRUE(output.value(QLatin1String("error")).toString().contains(r.error))
            << what << ": " << output.value(QLatin1String("error")).toString().toStdString();
        EXPECT_EQ(lines.openedPaths().size(), opened) << what;
    }
    EXPECT_TRUE(lines.openedPaths().isEmpty());
    EXPECT_TRUE(phone.commandLog().isEmpty());
    // A rate no serial line takes.
    session.SetPort(1, 12345, 100);
    const QJsonObject baud = run({"read", "handset"});
    EXPECT_EQ(baud.value(QLatin1String("error")).toString().left(40), QStringLiteral("--baud 12345 is no rate a serial line ta"));
    EXPECT_TRUE(lines.openedPaths().isEmpty());
    session.SetPort(1, 57600, 100);

    const QJsonObject output = run({"write", "handset", file(R"([{"m_strName": "An\u0000na", "m_strMemo": "x\u0000y"}])")});
    ASSERT_TRUE(output.value(QLatin1String("ok")).toBool());
    EXPECT_EQ(member(output, 0, "m_strName"), QJsonValue(QStringLiteral("Anna")));
    EXPECT_EQ(member(output, 0, "m_strMemo"), QJsonValue(QStringLiteral("xy")));
    const auto& stored = phone.state().handset.entries.begin()->second;
    EXPECT_EQ(stored.name, QStringLiteral("Anna"));
    EXPECT_EQ(stored.memo, QStringLiteral("xy"));
}

// The infrared link is paced by config.ini in the data folder.
TEST_F(LinkCommandTest, InfraredReadsConfigIni)
{
    QFile config(dir.path(QStringLiteral("config.ini")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("[IrComm2k]\r\nbyte=8\r\nsleep=30\r\ntimeout=3\r\n");
    config.close();
    qputenv("DESKHAND_DATA_DIR", QFile::encodeName(dir.path()));
    CLinkCommand command(session);
    command.UseIrComm(4);
    qunsetenv("DESKHAND_DATA_DIR");
    EXPECT_EQ(g_nIrCommTimeout, 3);

    lines.clearWrites();
    EXPECT_TRUE(command.Run({"read", "memos"}).value(QLatin1String("ok")).toBool());
    EXPECT_EQ(lines.openedPaths(), QStringList {platform::ComPortPath(4)});
    const auto& writes = lines.writes();
    ASSERT_GE(writes.size(), 4u);
    // "AT+SYNCSTART\r" is 13 bytes: 8, a pause of 30 ms, 5.
    EXPECT_EQ(writes[1].bytes, QByteArray("AT+SYNCS"));
    EXPECT_EQ(writes[2].bytes, QByteArray("TART\r"));
    EXPECT_EQ(writes[2].atMs - writes[1].atMs, 30);
}

TEST_F(LinkCommandTest, BadFilesAreRefusedBeforeThePhoneIsTouched)
{
    const struct {
        QByteArray content;
        const char* error;
    } cases[] = {
        {"[{", "not JSON"},
        {R"({"entries": []})", "expected an array of records"},
        {R"([{"m_strName": "ok"}, {"m_nGroup": "x"}])", "record 1: \"m_nGroup\": expected a whole number"},
        {R"([{"m_strText": "a memo"}])", "record 0: unknown member \"m_strText\""},
    };
    for (const auto& c : cases) {
        const QString path = file(c.content);
        const QJsonObject output = run({"write", "handset", path});
        EXPECT_FALSE(output.value(QLatin1String("ok")).toBool());
        EXPECT_TRUE(output.value(QLatin1String("error")).toString().contains(QLatin1String(c.error)))
            << output.value(QLatin1String("error")).toString().toStdString();
    }
    EXPECT_TRUE(run({"write", "memos", dir.path(QStringLiteral("missing.json"))}).value(QLatin1String("error")).toString().startsWith(QLatin1String("cannot read")));
    EXPECT_TRUE(phone.commandLog().isEmpty());
}

TEST_F(LinkCommandTest, Deletes)
{
    phone.state().handset.entries[1] = {};
    phone.state().handset.entries[255] = {};
    QJsonObject output = run({"delete", "handset", "1", "255"});
    EXPECT_TRUE(output.value(QLatin1String("ok")).toBool());
    EXPECT_TRUE(records(output).isEmpty());
    EXPECT_EQ(output.value(QLatin1String("deleted")).toArray(), QJsonArray({1, 255}));
    EXPECT_TRUE(phone.state().handset.entries.empty());

    phone.state().memos.entries[2] = QStringLiteral("m");
    EXPECT_TRUE(run({"delete", "memos", "2"}).value(QLatin1String("ok")).toBool());
    EXPECT_TRUE(phone.state().memos.entries.empty());

    phone.state().simMessages.entries[1].pdu = "00";
    output = run({"delete-message", "4", "1"});
    EXPECT_TRUE(output.value(QLatin1String("ok")).toBool());
    EXPECT_EQ(output.value(QLatin1String("deleted")).toArray(), QJsonArray({1}));
    EXPECT_TRUE(phone.state().simMessages.entries.empty());
    EXPECT_FALSE(run({"delete-message", "sim", "1"}).value(QLatin1String("ok")).toBool());
}

TEST_F(LinkCommandTest, AFailedReadReportsItsReason)
{
    phone.injectFault("AT+SYNCSTART", Fault::silence());
    const QJsonObject output = run({"read", "memos"});
    EXPECT_FALSE(output.value(QLatin1String("ok")).toBool());
    EXPECT_EQ(output.value(QLatin1String("result")).toInt(), 14);
    EXPECT_EQ(output.value(QLatin1String("lastError")).toInt(), 14);
    EXPECT_EQ(ui().boxTexts().last(), QStringLiteral("Failed to read data. - Timeout"));
}

// Every failure says why in "error", naming the record or index it stopped at; a write or
// delete whose answer never came lists it as unconfirmed.
TEST_F(LinkCommandTest, EveryFailureNamesItsReason)
{
    const QByteArray contacts = R"([{"m_strName": "A", "m_strMobile": "1"}, {"m_strName": "B", "m_strMobile": "2"}])";
    const struct {
        const char* what;
        QStringList args; // "FILE" stands for the two contacts
        const char* pattern;
        Fault fault;
        QString error;
        int written;      // records or deleted indices reported done
        QJsonArray unconfirmed;
    } cases[] = {
        {"a phone that does not answer", {"read", "memos"}, "AT+SYNCSTART", Fault::silence(),
            "Timeout", 0, {}},
        {"a list short of an entry", {"read", "handset"}, "AT+CPBS?", Fault::reply("\r\n+CPBS: \"ME\",3,255\r\n\r\nOK\r\n"),
            "a list or an answer of the phone did not read", 0, {}},
        {"a full book", {"write", "handset", "FILE"}, "AT+CPBW=,6,\"2\"*", Fault::cmeError(20),
            "record 1: Memory is full", 1, {}},
        {"a refused delete", {"delete", "handset", "1", "2"}, "AT+CPBW=2", Fault::error(), "index 2: The phone refused the command", 1, {}},
        {"an index the phone does not have", {"delete", "handset", "1", "2"}, "AT+CPBW=2", Fault::cmeError(21),
            "index 2: Invalid index.", 1, {}},
        {"a number too long", {"write", "handset", "FILE"}, "AT+CPBW=,6,\"2\"*", Fault::cmeError(26), "record 1: Too long number", 1, {}},
        {"a SIM with fixed dialling numbers", {"read", "sim"}, "AT+CPBR=?", Fault::extError(14), "FDN is checked", 0, {}},
        {"another +EXT ERROR", {"read", "sim"}, "AT+CPBR=?", Fault::extError(3), "the phone answered +EXT ERROR", 0, {}},
        {"a write whose answer never came", {"write", "handset", "FILE"}, "AT+CPBW=,6,\"2\"*", Fault::lost(),
            "record 1: Timeout after the command went out: the phone may have carried it out; "
            "read the list again before trying again",
            1, {}},
        {"a delete whose line died", {"delete", "handset", "1", "2"}, "AT+CPBW=2", Fault::lostThenClose(),
            "index 2: The line to the phone was lost after the command went out", 1, QJsonArray {2}},
        {"a message delete answered too late", {"delete-message", "4", "1"}, "AT+CMGD=1", Fault::delay(15000),
            "index 1: Timeout after the command went out", 0, QJsonArray {1}},
    };
    for (const auto& c : cases) {
        phone.state().handset.entries = {{1, {}}, {2, {}}};
        phone.state().simMessages.entries[1].pdu = "00";
        phone.clearFaults();
        phone.injectFault(c.pattern, c.fault, 1);
        QStringList args = c.args;
        args.replaceInStrings(QStringLiteral("FILE"), file(contacts));
        const QJsonObject output = run(args);
        EXPECT_FALSE(output.value(QLatin1String("ok")).toBool()) << c.what;
        EXPECT_TRUE(output.value(QLatin1String("error")).toString().startsWith(c.error))
            << c.what << ": " << output.value(QLatin1String("error")).toString().toStdString();
        const QJsonArray done = args[0] == QLatin1String("write") ? records(output) : output.value(QLatin1String("deleted")).toArray();
        EXPECT_EQ(done.size(), c.written) << c.what;
        if (args[0] == QLatin1String("write") && c.fault.carriesOutCommand()) {
            // The record as sent, without an index the phone never named.
            const QJsonArray unconfirmed = output.value(QLatin1String("unconfirmed")).toArray();
            ASSERT_EQ(unconfirmed.size(), 1) << c.what;
            EXPECT_EQ(unconfirmed[0].toObject().value(QLatin1String("m_strName")), QJsonValue("B"));
            EXPECT_EQ(unconfirmed[0].toObject().value(QLatin1String("m_nIndex")), QJsonValue(-1));
        } else {
            EXPECT_EQ(output.value(QLatin1String("unconfirmed")).toArray(), c.unconfirmed) << c.what;
        }
    }

    // A port that does not open, and why.
    const QString missing = dir.path(QStringLiteral("missing"));
    qputenv("DESKHAND_COM1", QFile::encodeName(missing));
    lines.setDevicePath(QStringLiteral("/elsewhere"));
    const QJsonObject output = run({"read", "handset"});
    qunsetenv("DESKHAND_COM1");
    EXPECT_EQ(output.value(QLatin1String("result")).toInt(), SESSION_NO_PORT);
    EXPECT_EQ(output.value(QLatin1String("error")).toString(), QStringLiteral("cannot use COM 1 (%1): no such device").arg(missing));
    EXPECT_EQ(ui().boxTexts().last(), QStringLiteral("Failed to read data. - Port is invalid"));
}

// A phone that answers a new entry's write with a bare OK keeps its choice of index to itself:
// the write fails with that reason (the answer came, so it is no unconfirmed one), and no
// record with index -1 is reported written, whose JSON written back would add a second copy.
// An entry written to a known index keeps it.
TEST_F(LinkCommandTest, ANewEntryWhoseAnswerNamesNoIndexFails)
{
    const struct {
        const char* list;
        const char* pattern;
        QByteArray records;
        bool ok;
        int index; // of the written record when ok
    } cases[] = {
        {"handset", "AT+CPBW=*", R"([{"m_strName": "A"}])", false, 0},
        {"sim", "AT+CPBW=*", R"([{"m_strName": "A", "m_strMobile": "1"}])", false, 0},
        {"schedules", "AT+CXDW=*", R"([{"m_dtStart": "2004-03-07T09:05:00"}])", false, 0},
        {"memos", "AT+CMDW=*", R"([{"m_strText": "note"}])", false, 0},
        {"handset", "AT+CPBW=*", R"([{"m_strName": "A", "m_nIndex": 4}])", true, 4},
        {"sim", "AT+CPBW=*", R"([{"m_strName": "A", "m_nSimIndex": 4}])", true, 4},
        {"schedules", "AT+CXDW=*", R"([{"m_dtStart": "2004-03-07T09:05:00", "m_nIndex": 4}])", true, 4},
        {"memos", "AT+CMDW=*", R"([{"m_strText": "note", "m_nIndex": 4}])", true, 4},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.list) + " " + c.records.toStdString();
        phone.clearFaults();
        phone.injectFault(c.pattern, Fault::reply("\r\nOK\r\n"), 1);
        const QJsonObject output = run({"write", c.list, file(c.records)});
        EXPECT_EQ(output.value(QLatin1String("ok")).toBool(), c.ok) << what;
        EXPECT_FALSE(output.contains(QLatin1String("unconfirmed"))) << what;
        if (c.ok) {
            ASSERT_EQ(records(output).size(), 1) << what;
            const char* member = QByteArray(c.list) == "sim" ? "m_nSimIndex" : "m_nIndex";
            EXPECT_EQ(records(output)[0].toObject().value(QLatin1String(member)), QJsonValue(c.index)) << what;
            continue;
        }
        EXPECT_TRUE(records(output).isEmpty()) << what;
        EXPECT_EQ(output.value(QLatin1String("result")).toInt(), SESSION_NO_INDEX) << what;
        EXPECT_EQ(output.value(QLatin1String("lastError")).toInt(), kLastErrorNoIndex) << what;
        EXPECT_TRUE(output.value(QLatin1String("error")).toString().startsWith(
            QLatin1String("record 0: The phone named no index for the new entry")))
            << what << ": " << output.value(QLatin1String("error")).toString().toStdString();
        EXPECT_EQ(ui().boxTexts().value(ui().boxTexts().size() - 1),
            QStringLiteral("Failed to write data. - The phone named no index for the new entry"))
            << what;
        EXPECT_FALSE(session.m_bConnected) << what;
    }
}

TEST_F(LinkCommandTest, CommandLinesItCannotUnderstand)
{
    const QStringList cases[] = {
        {},
        {"read"},
        {"read", "contacts"},
        {"write", "messages", "x.json"},
        {"delete", "handset"},
        {"delete", "handset", "one"},
        {"delete-message", "5"},
        {"delete-message", "x", "1"},
        {"frobnicate"},
    };
    for (const QStringList& args : cases) {
        const QJsonObject output = run(args);
        EXPECT_FALSE(output.value(QLatin1String("ok")).toBool()) << args.join(' ').toStdString();
        EXPECT_FALSE(output.value(QLatin1String("error")).toString().isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_TRUE(lines.writes().empty());
}

} // namespace
