// The second family's line and session commands: identification per model, sleep, the text
// prompt, synchronisation mode and character sets.
#include "dialect2_support.h"

#include "phonesim/pty_server.h"
#include "phonesim/simulated_line.h"
#include "platform/clock.h"

#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

namespace {

using dialect2test::BytesOf;
using dialect2test::Cme;
using dialect2test::Ok;
using phonesim::MakeDialect2;
using phonesim::Phone;

constexpr char kEsc[] = "\x1b";

TEST(Dialect2Session, EachModelIdentifiesItself)
{
    const struct {
        int model;
        const char* ati;
        const char* sinf;
    } cases[] = {
        {1, "Zentra Electronics Inc.\r\nRK7-T GSM 900/1800", "+SINF: Tondav1, 2003/06/18"},
        {2, "Zentra Electronics Inc.\r\nRK8-C GSM 900/1800/1900", "+SINF: Zentra-Corvo v1.04, 2003/11/20"},
        {3, "Zentra Electronics Inc.\r\nRK8-C GSM 900/1800/1900", "+SINF: Zentra-Corvo v1.04.S2, 2004/02/09"},
    };
    for (const auto& c : cases) {
        dialect2test::ConnectedPhone phone(c.model);
        phone.expectAnswers({{"ATI", Ok(c.ati)}, {"ATI0", Ok(c.ati)}, {"AT+SINF", Ok(c.sinf)}, {"ATI9", "\r\nERROR\r\n"}});
    }
    EXPECT_EQ(MakeDialect2(0), nullptr);
    EXPECT_EQ(MakeDialect2(4), nullptr);
    EXPECT_EQ(phonesim::MakeDialect(2)->number(), 2);
}

// The way a session finds and leaves the phone: asleep, echo on, "GSM", errors plain.
TEST(Dialect2Session, FromPowerOnThroughASessionAndBack)
{
    Phone phone(MakeDialect2(2));
    EXPECT_TRUE(phone.state().asleep);
    const struct {
        const char* input;
        const char* answer;
    } steps[] = {
        {kEsc, ""}, // only wakes the phone
        {"AT\r", "AT\r\r\nOK\r\n"},
        {"ATE0\r", "ATE0\r\r\nOK\r\n"},
        {"AT+CSCS?\r", "\r\n+CSCS: \"GSM\"\r\n\r\nOK\r\n"},
        {"AT+CSCS=\"SYNC\"\r", "\r\nERROR\r\n"}, // outside synchronisation mode
        {"AT+SBEG\r", "\r\nOK\r\n"},
        {"AT+SSLP=2000\r", "\r\nOK\r\n"},
        {"AT+CSCS=\"SYNC\"\r", "\r\nOK\r\n"},
        {"AT+CMEE=1\r", "\r\nOK\r\n"},
        {"AT+CSCS=\"UCS2\"\r", "\r\n+CME ERROR: 4\r\n"},
        {"AT+CSCS=?\r", "\r\n+CSCS: (\"GSM\",\"SYNC\")\r\n\r\nOK\r\n"},
        {"AT+SSLP=-1\r", "\r\nERROR\r\n"},
        {"AT+SBEG=1\r", "\r\nERROR\r\n"},
        {"AT+SEND\r", "\r\nOK\r\n"},
        {"AT+CSCS=\"SYNC\"\r", "\r\n+CME ERROR: 3\r\n"},
        {"AT+CSCS=\"GSM\"\r", "\r\nOK\r\n"},
        {"ATE1\r", "\r\nOK\r\n"},
        {"AT+SYNCSTART\r", "AT+SYNCSTART\r\r\nERROR\r\n"}, // the other family's
    };
    for (const auto& step : steps)
        EXPECT_EQ(BytesOf(phone.receive(step.input)), QByteArray(step.answer)) << step.input;
    EXPECT_FALSE(phone.state().sessionOpen);
}

// A phone plugged in again has left its session: the synchronisation mode, its character set and
// a schedule list written only in part are gone; commands that need the session fail.
TEST(Dialect2Session, APhonePluggedInAgainHasLeftItsSession)
{
    dialect2test::ConnectedPhone connected(2);
    connected.expectAnswers({{"AT+SSCI", dialect2test::Ok()}});
    connected.phone.lineDropped();
    EXPECT_FALSE(connected.state().sessionOpen);
    EXPECT_EQ(connected.state().charset, QByteArray("GSM"));
    EXPECT_FALSE(connected.state().dialect2.pendingOrganizer);
    connected.expectAnswers({{"AT+SSCW", dialect2test::Cme(3)}});
}

// Without the escape first, the sleeping phone loses the "A" of the first command; it falls
// asleep again after its sleep delay, which AT+SSLP lengthens until AT+SEND.
TEST(Dialect2Session, SleepingPhoneLosesTheFirstByte)
{
    platform::VirtualClock clock;
    platform::ScopedClock scoped(clock);
    Phone phone(MakeDialect2(3));
    phone.state().echo = false;
    const auto send = [&](const char* bytes) { return BytesOf(phone.receive(bytes)); };

    EXPECT_EQ(send("AT\r"), QByteArray("\r\nERROR\r\n"));
    EXPECT_EQ(phone.commandLog().last(), QByteArray("T"));
    EXPECT_EQ(send("AT\r"), QByteArray("\r\nOK\r\n"));
    clock.advance(4900);
    EXPECT_EQ(send("AT\r"), QByteArray("\r\nOK\r\n"));
    clock.advance(5100);
    EXPECT_EQ(send("AT\r"), QByteArray("\r\nERROR\r\n"));

    EXPECT_EQ(send("AT+SSLP=1000\r"), QByteArray("\r\nOK\r\n"));
    clock.advance(600'000);
    EXPECT_EQ(send("AT+SEND\r"), QByteArray("\r\nOK\r\n"));
    clock.advance(5100);
    EXPECT_EQ(send("AT\r"), QByteArray("\r\nERROR\r\n"));
}

// Asleep and left at the prompt: the escape is lost, "AT" is taken as text, the next escape
// leaves the prompt, and the phone answers.
TEST(Dialect2Session, PhoneLeftInTextEntry)
{
    Phone phone(MakeDialect2(1));
    phone.state().dialect2.lineStart.atPrompt = true;
    phonesim::ApplyLineStart(phone.state());
    const struct {
        const char* input;
        const char* answer;
    } steps[] = {{kEsc, ""}, {"AT\r", "AT\r\r\n> "}, {kEsc, "\x1b"}, {"AT\r", "AT\r\r\nOK\r\n"}};
    for (const auto& step : steps)
        EXPECT_EQ(BytesOf(phone.receive(step.input)), QByteArray(step.answer)) << step.input;
    EXPECT_EQ(phone.commandLog(), QByteArrayList({"AT\r\x1b", "AT"}));
}

// The phone takes command lines of up to 224 characters before the CR.
TEST(Dialect2Session, OverlongCommandLinesAreRefused)
{
    dialect2test::ConnectedPhone phone(2);
    const QByteArray fits = "AT+SSLP=" + QByteArray(216 - 1, '0') + '1';
    ASSERT_EQ(fits.size(), 224);
    EXPECT_EQ(phone.send(fits), Ok());
    EXPECT_EQ(phone.send("AT+SSLP=0" + fits.mid(8)), QByteArray("\r\nERROR\r\n"));
}

// A whole wake-up through the in-process line on the virtual clock.
TEST(Dialect2Session, WakeUpThroughTheSimulatedLine)
{
    platform::VirtualClock clock;
    platform::ScopedClock scoped(clock);
    Phone phone(MakeDialect2(2));
    phonesim::SimulatedLineFactory factory(phone);
    std::unique_ptr<platform::SerialDevice> line = factory.createDevice();
    ASSERT_TRUE(line->open(QStringLiteral("COM1")));
    const auto exchange = [&](const QByteArray& bytes) {
        EXPECT_TRUE(line->write(bytes.constData(), bytes.size()));
        clock.advance(400);
        char buffer[256];
        const qsizetype got = line->read(buffer, sizeof buffer);
        return QByteArray(buffer, got);
    };
    EXPECT_EQ(exchange(kEsc), QByteArray());
    EXPECT_EQ(exchange("AT\r"), QByteArray("AT\r\r\nOK\r\n"));
    clock.advance(10'000);
    EXPECT_EQ(exchange(kEsc), QByteArray());
    EXPECT_EQ(exchange("ATI\r"), QByteArray("ATI\r\r\nZentra Electronics Inc.\r\nRK8-C GSM 900/1800/1900\r\n\r\nOK\r\n"));
}

// The pseudo-terminal front end serves the second family as well, on the real clock.
TEST(Dialect2Session, ServedOnAPseudoTerminal)
{
    QTemporaryDir dir;
    Phone phone(MakeDialect2(1));
    phone.state().echo = false;
    phonesim::PtyServer server(phone, dir.filePath(QStringLiteral("com1")));
    QString error;
    ASSERT_TRUE(server.start(&error)) << error.toStdString();
    const int client = ::open(QFile::encodeName(dir.filePath(QStringLiteral("com1"))).constData(),
        O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(client, 0);
    const QByteArray command = QByteArray(kEsc) + "AT+SINF\r";
    ASSERT_EQ(::write(client, command.constData(), size_t(command.size())), command.size());
    const QByteArray expected = Ok("+SINF: Tondav1, 2003/06/18");
    QByteArray got;
    for (int round = 0; round < 200 && got.size() < expected.size(); ++round) {
        server.serveOnce(10);
        char buffer[256];
        const ssize_t n = ::read(client, buffer, sizeof buffer);
        if (n > 0)
            got.append(buffer, n);
    }
    ::close(client);
    EXPECT_EQ(got, expected);
}

} // namespace
