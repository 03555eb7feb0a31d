#include "link/at_port.h"

#include "controls/work_progress_dlg.h"
#include "link/globals.h"
#include "link/progress_view.h"
#include "platform/serial/com_port.h"
#include "simulated_phone_fixture.h"

#include <QPushButton>

using namespace dh1;

namespace {

using phonesim::Fault;

class ATPortTest : public SimulatedPhoneTest {
protected:
    void SetUp() override { ASSERT_TRUE(port.Connect(100)); }

    int send(const QByteArray& command, bool wait = true)
    {
        reply = QStringLiteral("stale");
        return port.SendCommand(command, reply, wait);
    }

    // How long one command took on the virtual clock.
    qint64 timed(const QByteArray& command, int* result)
    {
        const qint64 start = now();
        *result = send(command);
        return now() - start;
    }

    CATPort port;
    QString reply;
};

// What the transport adds to the classification (the table of reply kinds is the
// classifier's): last errors, boxes and the reply text handed over.
TEST_F(ATPortTest, ResultsBoxesAndReplyTexts)
{
    const struct {
        const char* reply;
        int result;
        int lastError; // 99: left as it was
        const char* box;
        const char* text;
    } cases[] = {
        {"\r\n+CSCS: \"IRA\"\r\n\r\nOK\r\n", AT_OK, 99, nullptr, "\r\n+CSCS: \"IRA\"\r\n\r\nOK"},
        // A phone that ends its reply without a line end.
        {"\r\n+CPBS: \"ME\",3,255\r\n\r\nOK", AT_OK, 99, nullptr, "\r\n+CPBS: \"ME\",3,255\r\n\r\nOK"},
        {"\r\n> ", AT_PROMPT, 99, nullptr, "\r\n>"},
        {"\r\n+CME ERROR: 21\r\n", AT_CME_INVALID_INDEX, 5, nullptr, "\r\n+CME ERROR: 21"},
        {"\r\n+CME ERROR: 22\r\n", AT_CME_ERROR, 99, nullptr, nullptr},
        {"\r\n+EXT ERROR: 14\r\n", AT_EXT_ERROR, 11, nullptr, nullptr},
        {"\r\n+EXT ERROR: 3\r\n", AT_EXT_ERROR, 99, "Failed to write - CODE : EXT-3 ", nullptr},
        {"\r\n+EXT ERROR\r\n", AT_EXT_ERROR, 99, nullptr, nullptr},
        // A call coming in: the command still counts as the phone answers it.
        {"\r\nRING\r\n\r\n+CPBW: 5\r\n\r\nOK\r\n", AT_OK, 99, "Calling", "\r\n\r\n+CPBW: 5\r\n\r\nOK"},
        {"\r\nRING\r\n\r\n+CME ERROR: 20\r\n", AT_CME_MEMORY_FULL, 7, "Calling", nullptr},
        {"\r\nRING\r\n", AT_RING, 26, "Calling", "\r\nRING"},
        {"\r\nOK\r\n\r\nRING\r\n", AT_OK, 99, nullptr, "\r\nOK"},
    };
    phone.state().echo = false;
    for (const auto& c : cases) {
        phone.injectFault("AT+TEST", Fault::reply(c.reply), 1);
        g_nLastError = 99;
        ui().boxes.clear();
        EXPECT_EQ(send("AT+TEST\r"), c.result) << c.reply;
        EXPECT_EQ(g_nLastError, c.lastError) << c.reply;
        if (c.box) {
            EXPECT_EQ(ui().boxTexts(), QStringList {QString::fromLatin1(c.box)}) << c.reply;
        } else {
            EXPECT_TRUE(ui().boxes.empty()) << c.reply;
        }
        if (c.text) {
            EXPECT_EQ(reply, QString::fromLatin1(c.text)) << c.reply;
        }
    }
}

TEST_F(ATPortTest, RemovesTheEchoOnlyWhenItMatchesExactly)
{
    ASSERT_TRUE(phone.state().echo);
    EXPECT_EQ(send("AT+CMEE=1\r"), AT_OK);
    EXPECT_EQ(reply, QStringLiteral("\r\nOK"));

    // A phone that echoes in its own letter case keeps the echo in the reply.
    phone.state().echo = false;
    phone.injectFault("at+cmee=1", Fault::reply("AT+CMEE=1\r\r\nOK\r\n"), 1);
    EXPECT_EQ(send("at+cmee=1\r"), AT_OK);
    EXPECT_EQ(reply, QStringLiteral("AT+CMEE=1\r\r\nOK"));

    // An error reply keeps its echo.
    phone.state().echo = true;
    EXPECT_EQ(send("AT+NOSUCH\r"), AT_ERROR);
    EXPECT_EQ(reply, QStringLiteral("AT+NOSUCH\r\r\nERROR"));
}

TEST_F(ATPortTest, NoWaitReturnsOkAndAnEmptyReplyWhateverThePhoneSays)
{
    EXPECT_EQ(send("AT+NOSUCH\r", false), AT_OK);
    EXPECT_TRUE(reply.isEmpty());
    // Its answer was drained and does not reach the next command.
    EXPECT_EQ(send("AT\r"), AT_OK);
    EXPECT_EQ(reply, QStringLiteral("\r\nOK"));
}

TEST_F(ATPortTest, InfraredWritesInPacedPieces)
{
    port.m_bIrComm = true;
    phone.state().echo = false;
    const struct {
        int chunk;
        int pause;
        int length;
        std::vector<qsizetype> pieces;
        qint64 gapMs;
    } cases[] = {
        {20, 20, 20, {20}, 0},
        {20, 20, 21, {21}, 0},
        {20, 20, 22, {20, 2}, 20},
        {20, 35, 45, {20, 20, 5}, 35},
        {-1, -1, 22, {20, 2}, 20},
        {0, 20, 22, {20, 2}, 20},      // would stall the writer
        {-7, 20, 22, {20, 2}, 20},
        {20, -5, 22, {20, 2}, 20},     // would sleep for weeks
        {20, 60000, 22, {20, 2}, 1000},
        {8, 0, 20, {8, 8, 4}, 0},
        {8, 10, 9, {9}, 0},
    };
    for (const auto& c : cases) {
        g_nIrCommChunk = c.chunk;
        g_nIrCommPause = c.pause;
        const QByteArray command = "AT+" + QByteArray(c.length - 4, 'X') + "\r";
        lines.clearWrites();
        send(command);
        const auto& writes = lines.writes();
        ASSERT_EQ(writes.size(), c.pieces.size()) << c.chunk << "/" << c.length;
        QByteArray joined;
        for (size_t i = 0; i < writes.size(); ++i) {
            EXPECT_EQ(writes[i].bytes.size(), c.pieces[i]) << c.chunk << "/" << c.length;
            if (i > 0) {
                EXPECT_EQ(writes[i].atMs - writes[i - 1].atMs, c.gapMs) << c.chunk << "/" << c.length;
            }
            joined += writes[i].bytes;
        }
        EXPECT_EQ(joined, command);
    }
}

TEST_F(ATPortTest, CableWritesTheWholeCommandAtOnce)
{
    lines.clearWrites();
    const QByteArray command = "AT+" + QByteArray(300, 'X') + "\r";
    send(command, false);
    ASSERT_EQ(lines.writes().size(), 1u);
    EXPECT_EQ(lines.writes()[0].bytes, command);
}

// The silence limit: cable 10 s, infrared the transport's own limit unless config.ini
// gives one; never zero.
TEST_F(ATPortTest, SilenceLimits)
{
    phone.state().echo = false;
    phone.injectFault("AT+SYNCSTART", Fault::silence());
    const struct {
        bool irComm;
        int configTimeout;
        int irCommTimeoutSec;
        int cableTimeoutSec;
        int limitSec;
    } cases[] = {
        {false, -1, 10, 10, 10}, {false, 30, 10, 10, 10}, {true, -1, 7, 10, 7},  {true, 30, 7, 10, 30},
        {true, 0, 7, 10, 7},     {true, -3, 7, 10, 7},    {false, -1, 10, 0, 10}, {true, -1, 0, 10, 10},
    };
    for (const auto& c : cases) {
        port.m_bIrComm = c.irComm;
        port.m_nIrCommTimeoutSec = c.irCommTimeoutSec;
        port.m_nTimeoutSec = c.cableTimeoutSec;
        g_nIrCommTimeout = c.configTimeout;
        g_nLastError = 0;
        int result = 0;
        const qint64 elapsed = timed("AT+SYNCSTART\r", &result);
        EXPECT_EQ(result, AT_TIMEOUT);
        EXPECT_EQ(g_nLastError, AT_TIMEOUT);
        // Write delays and the first quiet pass come before the silence is counted; the limit
        // is noticed at the end of a 120 ms pass.
        EXPECT_GE(elapsed, c.limitSec * 1000 + 100) << c.irComm << " " << c.configTimeout;
        EXPECT_LE(elapsed, c.limitSec * 1000 + 400) << c.irComm << " " << c.configTimeout;
    }
}

TEST_F(ATPortTest, SilenceCountsFromTheLastByte)
{
    phone.state().echo = false;
    // Pieces 6 s apart never leave 10 s of silence.
    phone.injectFault("AT+SLOW", Fault::pieces({{20, "\r\n+X: 1\r\n"}, {6000, "\r\n+X: 2\r\n"}, {12000, "\r\nOK\r\n"}}));
    int result = 0;
    const qint64 elapsed = timed("AT+SLOW\r", &result);
    EXPECT_EQ(result, AT_OK);
    EXPECT_GE(elapsed, 12000);
    EXPECT_EQ(reply, QStringLiteral("\r\n+X: 1\r\n\r\n+X: 2\r\n\r\nOK"));
}

TEST_F(ATPortTest, AbortFromTheProgressDialogIsConsumedOnce)
{
    CWorkProgressDlg progress(CWorkProgressDlg::kDeskhand, MakeProgressRequest());
    progress.show();
    phone.injectFault("AT+SYNCSTART", Fault::silence());
    // The first pump of a command comes before its write; press Abort at the third.
    ui().onPump = [&](int pump) {
        if (pump == 3)
            progress.StopButton()->click();
    };
    lines.clearWrites();
    EXPECT_EQ(send("AT+SYNCSTART\r"), AT_USER_ABORT);
    EXPECT_EQ(g_nLastError, AT_USER_ABORT);
    EXPECT_FALSE(g_bUserAbort);
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(lines.writes().size(), 1u);

    ui().onPump = nullptr;
    EXPECT_EQ(send("AT\r"), AT_OK);

    // An abort already pressed stops the next command before it is written.
    g_bUserAbort = true;
    lines.clearWrites();
    EXPECT_EQ(send("AT\r"), AT_USER_ABORT);
    EXPECT_TRUE(lines.writes().empty());
    EXPECT_EQ(reply, QStringLiteral("stale"));
}

// Text that the old whole-reply tests took for results: "OK" and "RING" at the end of a piece
// of data, a final result split between pieces.
TEST_F(ATPortTest, OkAndRingInsideDataAtPieceBoundaries)
{
    phone.state().echo = false;
    const QByteArray pieces[] = {
        "\r\n+CPBR: 1,0,\"12\",129,\"\",255,\"\",255,\"BOOK",
        "\",\"\",\"\"\r\n+CMGL: 2,1,\"Bring",
        "\",23\r\n+CPBR: 3,0,\"UklORw==\"\r\nO",
        "K\r",
        "\n",
    };
    std::vector<phonesim::TimedBytes> schedule;
    QByteArray whole;
    qint64 at = 20;
    for (const QByteArray& piece : pieces) {
        schedule.push_back({at, piece});
        whole += piece;
        at += 400;
    }
    phone.injectFault("AT+CPBR=1,3", Fault::pieces(schedule), 1);
    int result = 0;
    const qint64 elapsed = timed("AT+CPBR=1,3\r", &result);
    EXPECT_EQ(result, AT_OK);
    EXPECT_GE(elapsed, 1220); // decided by the piece that ends the "OK" line
    EXPECT_TRUE(ui().boxes.empty());
    whole.chop(2); // the reply ends before the final line end
    EXPECT_EQ(reply, QString::fromLatin1(whole));
}

// Pieces used to be trimmed as they came, gluing the next line onto the previous one.
TEST_F(ATPortTest, PiecesKeepTheirLineEnds)
{
    phone.state().echo = false;
    phone.injectFault("AT+CPBR=1,2", Fault::pieces({{20, "\r\n+CPBR: 1,0\r\n"}, {400, "+CPBR: 2,0\r\n"}, {800, "\r\nOK\r\n"}}), 1);
    EXPECT_EQ(send("AT+CPBR=1,2\r"), AT_OK);
    EXPECT_EQ(reply, QStringLiteral("\r\n+CPBR: 1,0\r\n+CPBR: 2,0\r\n\r\nOK"));
}

// A call coming in while the phone works on a command: an answer that follows the RING counts,
// and the transport says so once; a line that then stays quiet for a second ends the command
// with the call, near that pause rather than after the silence limit. An answer that comes
// later does not reach the next command.
TEST_F(ATPortTest, ARingBeforeTheAnswer)
{
    const struct {
        const char* name;
        Fault fault;
        int result;
        const char* text;
        qint64 elapsed;
    } cases[] = {
        {"answer a second after the call", Fault::ring(1000), AT_OK, "\r\n\r\nOK", 1260},
        // The RING is read by 320 ms (50 + 50 + 20 + two 100 ms polls); 1 s of quiet after it
        // ends at the ninth pass of 120 ms.
        {"nothing but the call", Fault::reply("\r\nRING\r\n"), AT_RING, "\r\nRING", 1400},
        {"the call, then the answer too late", Fault::ring(3000), AT_RING, "\r\nRING", 1400},
    };
    phone.state().echo = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        phone.injectFault("AT+SYNCSTART", c.fault, 1);
        g_nLastError = 0;
        ui().boxes.clear();
        int result = 0;
        EXPECT_EQ(timed("AT+SYNCSTART\r", &result), c.elapsed);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(reply, QString::fromLatin1(c.text));
        EXPECT_EQ(g_nLastError, c.result == AT_RING ? AT_RING : 0);
        EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("Calling")});
        // A command the phone completed tells the session once that a call came in.
        EXPECT_EQ(port.TakeRing(), c.result == AT_OK);
        EXPECT_FALSE(port.TakeRing());
        clock.advance(5000);
        EXPECT_EQ(send("AT\r"), AT_OK);
        EXPECT_EQ(reply, QStringLiteral("\r\nOK"));
    }
    EXPECT_TRUE(phone.state().sessionOpen);
}

TEST_F(ATPortTest, EndlessStreamIsCutOffAtTenTimesTheSilenceLimit)
{
    phone.state().echo = false;
    phone.injectFault("AT+CPBR=1,10", Fault::stream("+CPBR: 1,0,\"123\",129\r\n", 40), 1);
    int result = 0;
    const qint64 elapsed = timed("AT+CPBR=1,10\r", &result);
    EXPECT_EQ(result, AT_TIMEOUT);
    EXPECT_EQ(g_nLastError, AT_TIMEOUT);
    EXPECT_GE(elapsed, 100'000);
    EXPECT_LE(elapsed, 101'500);
    EXPECT_TRUE(reply.startsWith(QStringLiteral("+CPBR: 1,0,")));
    // The next command stops the stream and gets its own answer.
    EXPECT_EQ(send("AT\r"), AT_OK);
    EXPECT_EQ(reply, QStringLiteral("\r\nOK"));
}

TEST_F(ATPortTest, ReplyBeyondOneMebibyteIsRefused)
{
    // A line fast enough to carry a mebibyte within the command's limit.
    port.m_nBaud = 921600;
    ASSERT_TRUE(port.Connect(100));
    phone.state().echo = false;
    phone.injectFault("AT+CPBR=1,10", Fault::stream(QByteArray(4000, 'Q') + "\r\n", 1), 1);
    EXPECT_EQ(send("AT+CPBR=1,10\r"), AT_NO_LINE);
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("Error : overflow stack")});
    EXPECT_LE(reply.size(), CATPort::kMaxReplyBytes);
    EXPECT_GT(reply.size(), CATPort::kMaxReplyBytes - CATPort::kReceiveBufferSize - 8);
}

// A port whose device went away under it (a cable pulled and plugged in again) is opened again,
// once, with the quiet of the session's open, and the command goes out anew. A write that the
// driver refuses on a line that is there, or a device that does not come back, fails it.
TEST_F(ATPortTest, ALineThatWentAwayIsOpenedAgainOnce)
{
    // The line died during a command: that command fails, the next one reopens.
    phone.injectFault("AT+SYNCSTART", Fault::closeLine(), 1);
    EXPECT_EQ(send("AT+SYNCSTART\r"), AT_READ_FAILED);
    const qsizetype opens = lines.openedPaths().size();
    lines.clearWrites();
    const qint64 start = now();
    EXPECT_EQ(send("AT\r"), AT_OK);
    EXPECT_EQ(reply, QStringLiteral("\r\nOK"));
    EXPECT_EQ(lines.openedPaths().size(), opens + 1);
    ASSERT_EQ(lines.writes().size(), 1u);
    EXPECT_EQ(lines.writes()[0].atMs - start, 50 + 100 + 50); // the failed write, the open's quiet, the write

    // Pulled between two commands.
    lines.pullCable();
    EXPECT_EQ(send("AT\r"), AT_OK);
    EXPECT_EQ(lines.openedPaths().size(), opens + 2);

    // Refused by the driver: no reopen.
    lines.failNextWrites(1);
    EXPECT_EQ(send("AT\r"), AT_WRITE_FAILED);
    EXPECT_EQ(lines.openedPaths().size(), opens + 2);

    // Only once: a reopened line that fails again ends the command.
    lines.pullCable();
    lines.failNextWrites(1);
    EXPECT_EQ(send("AT\r"), AT_WRITE_FAILED);
    EXPECT_EQ(lines.openedPaths().size(), opens + 3);
    EXPECT_EQ(send("AT\r"), AT_OK);

    // A device that does not come back: one attempt with its box, then the command fails.
    lines.pullCable();
    lines.setHeldElsewhere(true);
    EXPECT_EQ(send("AT\r"), AT_WRITE_FAILED);
    EXPECT_EQ(send("AT\r"), AT_WRITE_FAILED);
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("Other application used this port\nFailed to open 1 port")});
    // A new session opens the port again.
    lines.setHeldElsewhere(false);
    ASSERT_TRUE(port.Connect(100));
    EXPECT_EQ(send("AT\r"), AT_OK);
}

// One waited command on a cable: 50 ms, the write, 50 ms, then passes of 20 ms plus a 100 ms
// poll until the reply is classified.
TEST_F(ATPortTest, TimingOfOneCommand)
{
    lines.clearWrites();
    const qint64 start = now();
    int result = 0;
    const qint64 elapsed = timed("AT\r", &result);
    EXPECT_EQ(result, AT_OK);
    ASSERT_EQ(lines.writes().size(), 1u);
    EXPECT_EQ(lines.writes()[0].atMs - start, 50);
    EXPECT_EQ(elapsed, 50 + 50 + 20 + 100 + 100); // the second poll finds the line quiet
}

// The session's connect and disconnect sequence against the simulated phone: the answers to
// the commands sent without waiting never reach a later reply.
TEST_F(ATPortTest, SessionSequence)
{
    const struct {
        const char* command;
        bool wait;
        int result;
    } steps[] = {
        {"AT\r", false, AT_OK},
        {"AT+SYNCSTART\r", true, AT_OK},
        {"AT+CMEE=1\r", true, AT_OK},
        {"ATE0\r", true, AT_OK},
        {"AT+CSCS=\"Base64\"\r", true, AT_OK},
        {"AT+CSCS?\r", true, AT_OK},
        {"AT+SYNCSTOP\r", false, AT_OK},
        {"ATE1\r", false, AT_OK},
        {"AT+CSCS=\"IRA\"\r", false, AT_OK},
    };
    for (const auto& step : steps)
        EXPECT_EQ(send(step.command, step.wait), step.result) << step.command;
    EXPECT_EQ(phone.commandLog(),
        QByteArrayList({"AT", "AT+SYNCSTART", "AT+CMEE=1", "ATE0", "AT+CSCS=\"Base64\"", "AT+CSCS?", "AT+SYNCSTOP",
            "ATE1", "AT+CSCS=\"IRA\""}));
    EXPECT_TRUE(phone.state().echo);
    EXPECT_FALSE(phone.state().sessionOpen);
    EXPECT_EQ(phone.state().charset, QByteArray("IRA"));
    EXPECT_EQ(phone.state().cmee, 1);
}

TEST_F(ATPortTest, PhoneLeftAtThePrompt)
{
    phone.state().atPrompt = true;
    phone.state().echo = false;
    EXPECT_EQ(send("AT\r"), AT_PROMPT);
    EXPECT_EQ(send(QByteArray(1, 27), false), AT_OK);
    EXPECT_FALSE(phone.state().atPrompt);
    EXPECT_EQ(send("AT\r"), AT_OK);
}

class ATPortConnectTest : public SimulatedPhoneTest {
protected:
    CATPort port;
    QString reply;
};

TEST_F(ATPortConnectTest, CableReopensForEverySession)
{
    port.m_nPort = 2;
    EXPECT_EQ(port.SendCommand("AT\r", reply, true), AT_NO_LINE);
    qint64 start = now();
    ASSERT_TRUE(port.Connect(100));
    EXPECT_EQ(now() - start, 100);
    ASSERT_TRUE(port.Connect(250));
    EXPECT_EQ(lines.openedPaths(), QStringList({platform::ComPortPath(2), platform::ComPortPath(2)}));
    EXPECT_EQ(lines.lastSettings().baud, 57600);
    EXPECT_EQ(lines.lastSettings().parity, 'N');
    EXPECT_EQ(lines.lastSettings().dataBits, 8);
    EXPECT_EQ(lines.lastSettings().stopBits, 1);
    port.Disconnect();
    EXPECT_FALSE(lines.lineOpen());
    EXPECT_FALSE(port.HasLine());
    EXPECT_EQ(port.SendCommand("AT\r", reply, true), AT_NO_LINE);
}

TEST_F(ATPortConnectTest, InfraredOpensOnceAndStaysOpen)
{
    port.m_bIrComm = true;
    port.m_nIrCommPort = 4;
    qint64 start = now();
    ASSERT_TRUE(port.Connect(100));
    EXPECT_EQ(now() - start, 4000);
    start = now();
    ASSERT_TRUE(port.Connect(100));
    EXPECT_EQ(now() - start, 0);
    port.Disconnect();
    EXPECT_TRUE(lines.lineOpen());
    EXPECT_EQ(lines.openedPaths(), QStringList {platform::ComPortPath(4)});
    EXPECT_EQ(port.SendCommand("AT\r", reply, true), AT_OK);

    // An adapter plugged in again between sessions: the port still counts as open, and the
    // first command opens it again and waits for the link as the first open did.
    lines.pullCable();
    ASSERT_TRUE(port.Connect(100));
    start = now();
    EXPECT_EQ(port.SendCommand("AT\r", reply, true), AT_OK);
    EXPECT_GE(now() - start, 4000);
    EXPECT_EQ(lines.openedPaths(), QStringList({platform::ComPortPath(4), platform::ComPortPath(4)}));
}

TEST_F(ATPortConnectTest, DestructorClosesTheInfraredPort)
{
    {
        CATPort infrared;
        infrared.m_bIrComm = true;
        ASSERT_TRUE(infrared.Connect(100));
        EXPECT_TRUE(lines.lineOpen());
    }
    EXPECT_FALSE(lines.lineOpen());
    EXPECT_TRUE(phone.commandLog().isEmpty());
}

TEST_F(ATPortConnectTest, FailedOpenShowsTheBoxAndKeepsTheLineObject)
{
    lines.setHeldElsewhere(true);
    EXPECT_FALSE(port.Connect(100));
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("Other application used this port\nFailed to open 1 port")});
    EXPECT_EQ(ui().boxes[0].style, unsigned(platform::MB_ICONINFORMATION));
    EXPECT_TRUE(port.HasLine());
    EXPECT_EQ(port.SendCommand("AT\r", reply, true), AT_WRITE_FAILED);
    {
        platform::ScopedLanguage chinese(platform::LANG_CHINESE_SIMPLIFIED);
        port.m_nPort = 12;
        EXPECT_FALSE(port.Connect(100));
        EXPECT_EQ(ui().boxes.back().text, QStringLiteral("其他程序正在使用此端口\n无法打开端口 12"));
    }

    // The infrared port is tried again at the next session rather than left unopened.
    port.m_bIrComm = true;
    lines.setHeldElsewhere(false);
    ASSERT_TRUE(port.Connect(100));
    EXPECT_EQ(port.SendCommand("AT\r", reply, true), AT_OK);
}

} // namespace
