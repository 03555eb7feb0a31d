// Waking, identifying and opening the phone, and closing the session, per model.
#include "session_fixture.h"

#include "common/message_pump.h"
#include "phonesim/fault.h"

#include <gtest/gtest.h>

namespace {

using namespace dh2;
using link2test::SessionTest;
using phonesim::Fault;

const QString kEsc = QStringLiteral("\x1b");

class ConnectTest : public SessionTest {
protected:
    explicit ConnectTest(int model = 2) : SessionTest(model) {}
};

// What Connect sends to a sleeping phone of model 2, and what Disconnect sends after it.
TEST_F(ConnectTest, WakesIdentifiesAndOpensTheSynchronisationMode)
{
    ASSERT_TRUE(phone.state().asleep);
    ASSERT_TRUE(session.Connect());
    EXPECT_EQ(commands(), QStringList({"AT", "ATI", "AT+SINF", "ATE0", "AT+SBEG", "AT+SSLP=2000", "AT+CSCS=\"SYNC\"",
                              "AT+CMEE=1"}));
    EXPECT_EQ(session.m_nResult, AT_OK);
    EXPECT_EQ(progress.open, 1);
    EXPECT_FALSE(ui().mainWindowEnabled);
    EXPECT_EQ(progress.steps.value(0), QStringLiteral("Connecting...  1, 19200"));

    phone.clearCommandLog();
    EXPECT_TRUE(session.Disconnect());
    EXPECT_EQ(commands(), QStringList({"AT+SEND", "AT+CSCS=\"GSM\"", "ATE1"}));
    EXPECT_EQ(progress.steps.last(), QStringLiteral("Closing port..."));
    EXPECT_EQ(progress.open, 0);
    EXPECT_TRUE(ui().mainWindowEnabled);
    EXPECT_TRUE(session.m_port.IsOpen()); // the port stays open for the next operation
    EXPECT_EQ(phone.state().charset, QByteArray("GSM"));
    EXPECT_TRUE(phone.state().echo);
}

// A phone left in text entry answers "AT" with the prompt; each try sends one ESC and the
// next "AT" wakes it.
TEST_F(ConnectTest, PhoneLeftAtThePromptGetsOneEscapePerTry)
{
    phone.state().atPrompt = true;
    phone.state().asleep = true; // the first ESC only wakes it
    ASSERT_TRUE(session.m_port.Connect());
    ASSERT_TRUE(session.Handshake());
    const QStringList log = commands();
    ASSERT_GE(log.size(), 2);
    EXPECT_TRUE(log[0].startsWith(QLatin1String("AT\r"))); // typed into the text
    EXPECT_TRUE(log[0].endsWith(kEsc));
    EXPECT_EQ(log.mid(1), QStringList({"AT"}));
    EXPECT_TRUE(ui().boxes.empty());
}

// A silent phone: three tries of 100 ms, the 5 s silence and 1 s each, then the box once and
// the dialog closes.
TEST_F(ConnectTest, SilentPhoneShowsTheNoResponseBoxOnceAndCloses)
{
    phone.injectFault("AT", Fault::silence());
    phone.state().sleepAfterMs = 0;
    const qint64 start = now();
    EXPECT_FALSE(session.Connect());
    const qint64 elapsed = now() - start;
    EXPECT_EQ(session.m_nResult, SESSION_WAKE_UP_FAILED);
    EXPECT_EQ(commands(), QStringList({"AT", "AT", "AT"}));
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("No response from mobile.\nPlease check connection or baudrate.\n")});
    EXPECT_EQ(ui().boxes[0].style, unsigned(platform::MB_ICONINFORMATION));
    EXPECT_EQ(progress.open, 0);
    EXPECT_TRUE(ui().mainWindowEnabled);
    EXPECT_GE(elapsed, 3 * (100 + 5000 + 1000));
    EXPECT_LE(elapsed, 3 * (100 + 5000 + 1000) + 4000); // polls every 400 ms, the ESC first
}

TEST_F(ConnectTest, ModelsAreKnownByTheirFirmware)
{
    const struct {
        int simulated;
        int type;
        ModelFeatures flags;
    } cases[] = {
        {1, CModelProfile::TypeTondav, {false, true, true, true, true, true, true}},
        {2, CModelProfile::TypeCorvo, {true, false, false, true, false, true, false}},
        {3, CModelProfile::TypeCorvoS2, {true, false, false, false, true, true, false}},
    };
    for (const auto& c : cases) {
        phonesim::Phone modelPhone(phonesim::MakeDialect2(c.simulated));
        phonesim::SimulatedLineFactory modelLines(modelPhone);
        platform::ScopedSerialDeviceFactory guard(modelLines);
        CPhoneSession modelSession;
        int signalled = -1;
        const auto connection = QObject::connect(&ModelProfile(), &CModelProfile::modelChanged, [&](int type) { signalled = type; });
        ModelProfile().SetModel(CModelProfile::TypePilla);
        ASSERT_TRUE(modelSession.Connect()) << c.simulated;
        EXPECT_EQ(ModelProfile().GetModel(), c.type);
        EXPECT_EQ(signalled, c.type);
        EXPECT_EQ(ModelProfile().Features(), c.flags);
        modelSession.Disconnect();
        QObject::disconnect(connection);
    }
}

// A phone without the maker's name is refused silently; one of the maker's other models marks
// the profile as type 3 with a box; unknown firmware leaves the profile. Each closes the session
// once, with its closing commands.
TEST_F(ConnectTest, OtherPhonesAreRefused)
{
    const struct {
        const char* command;
        QByteArray reply;
        int type;
        QStringList boxes;
    } cases[] = {
        {"ATI", "\r\nAcme Phone RK8\r\n\r\nOK\r\n", CModelProfile::TypeCorvo, {}},
        {"ATI", "\r\nZentra Electronics Inc.\r\nRK9\r\n\r\nOK\r\n", CModelProfile::TypeCorvoS2, {"Invalid phone version"}},
        {"AT+SINF", "\r\n+SINF: Zentra-Corvo v2.0\r\n\r\nOK\r\n", CModelProfile::TypeCorvo, {"Invalid phone version"}},
        {"AT+SINF", "\r\nERROR\r\n", CModelProfile::TypeCorvo, {}},
    };
    for (const auto& c : cases) {
        phone.clearCommandLog();
        phone.clearFaults();
        ui().boxes.clear();
        ModelProfile().SetModel(CModelProfile::TypeCorvo);
        phone.injectFault(c.command, Fault::reply(c.reply));
        EXPECT_FALSE(session.Connect()) << c.command;
        EXPECT_EQ(session.m_nResult, SESSION_NOT_SUPPORTED);
        EXPECT_EQ(ModelProfile().GetModel(), c.type);
        EXPECT_EQ(ui().boxTexts(), c.boxes);
        EXPECT_EQ(commands("AT+SEND"), QStringList {"AT+SEND"});
        EXPECT_EQ(progress.open, 0);
        EXPECT_TRUE(ui().mainWindowEnabled);
    }
}

// Every failure after the wake-up leaves through exactly one Disconnect.
TEST_F(ConnectTest, FailuresAfterTheWakeUpCloseTheSessionOnce)
{
    const char* failing[] = {"AT+SBEG", "AT+SSLP=2000", "AT+CSCS=\"SYNC\"", "AT+CMEE=1"};
    for (const char* command : failing) {
        phone.clearCommandLog();
        phone.clearFaults();
        phone.injectFault(command, Fault::error());
        EXPECT_FALSE(session.Connect()) << command;
        EXPECT_EQ(session.m_nResult, AT_ERROR);
        EXPECT_EQ(commands("AT+SEND"), QStringList {"AT+SEND"}) << command;
        EXPECT_EQ(progress.open, 0);
        EXPECT_TRUE(ui().mainWindowEnabled);
    }
}

// Cancel during a command: the command ends with 21 at its next poll, the following ones at
// once; Disconnect shows "Canceling..." and clears the flag before it sends "AT+SEND".
TEST_F(ConnectTest, CancelEndsTheOperationAndDisconnectClearsIt)
{
    phone.injectFault("AT+SINF", Fault::delay(2000));
    bool pressed = false;
    ui().onPump = [&](int) {
        if (!pressed && !commands("AT+SINF").isEmpty())
            pressed = g_bCancel = true;
    };
    EXPECT_FALSE(session.Connect());
    EXPECT_EQ(session.m_nResult, SESSION_NOT_SUPPORTED);
    const qsizetype canceling = progress.steps.indexOf(QStringLiteral("Canceling..."));
    ASSERT_GE(canceling, 0);
    EXPECT_EQ(progress.steps.value(canceling + 1), QStringLiteral("Closing port..."));
    EXPECT_FALSE(g_bCancel);
    EXPECT_EQ(commands().filter(QStringLiteral("AT+S")), QStringList({"AT+SINF", "AT+SEND"}));
}

// The transport's result for a cancel is sticky until the session clears the flag.
TEST_F(ConnectTest, CancelledCommandsReturn21UntilCleared)
{
    ASSERT_TRUE(session.m_port.Connect());
    g_bCancel = true;
    QString reply;
    EXPECT_EQ(session.m_port.SendCommand("AT\r", reply, true), AT_CANCELLED);
    EXPECT_EQ(session.m_port.SendCommand("AT\r", reply, false), AT_CANCELLED);
    EXPECT_TRUE(commands().isEmpty());
    g_bCancel = false;
    phone.state().asleep = false;
    EXPECT_EQ(session.m_port.SendCommand("AT\r", reply, true), AT_OK);
}

// The application asked to quit during an operation: it ends as a cancel does, the phone still
// gets its closing commands, and the request is passed on once the session has closed.
TEST_F(ConnectTest, QuitDuringAnOperationEndsItAndIsPassedOn)
{
    phone.injectFault("AT+SINF", Fault::delay(2000));
    ui().onPump = [this](int) {
        if (!commands("AT+SINF").isEmpty())
            ui().quitting = true;
    };
    EXPECT_FALSE(session.Connect());
    const QStringList log = commands();
    EXPECT_EQ(log.mid(log.indexOf(QStringLiteral("AT+SINF"))),
        QStringList({"AT+SINF", "AT+SEND", "AT+CSCS=\"GSM\"", "ATE1"}));
    EXPECT_FALSE(common::QuitRemembered());
    EXPECT_FALSE(g_bCancel);
}

TEST_F(ConnectTest, ResyncSendsItsCommandsInOrder)
{
    ASSERT_TRUE(session.Connect());
    phone.clearCommandLog();
    EXPECT_TRUE(session.Resync());
    EXPECT_EQ(commands(), QStringList({"ATE0", "AT+SSLP=1000", "AT+SBEG", "AT+CSCS=\"SYNC\""}));
    session.Disconnect();
}

// The line dies after the phone carried out a command (or before it answered): the operation
// fails with the read's result, and its closing commands still reach the phone on the port
// opened again, so that the phone leaves its synchronisation mode.
TEST_F(ConnectTest, AfterALostLineTheClosingCommandsReachThePhone)
{
    const struct {
        const char* name;
        Fault fault;
    } cases[] = {
        {"closed", Fault::closeLine()},
        {"carried out, then closed", Fault::lostThenClose()},
    };
    ASSERT_TRUE(session.Connect());
    session.Disconnect();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        phone.clearFaults();
        phone.clearCommandLog();
        phone.injectFault("AT+CPBS*", c.fault, 1);
        const int opens = int(lines.openedPaths().size());
        EXPECT_FALSE(session.SelectHandsetBook());
        EXPECT_EQ(session.m_nResult, AT_READ_FAILED);
        const QStringList log = commands();
        EXPECT_EQ(log.mid(log.indexOf(QStringLiteral("AT+CPBS=\"PM\"")) + 1), QStringList({"AT+SEND", "AT+CSCS=\"GSM\"", "ATE1"}));
        EXPECT_FALSE(phone.state().sessionOpen);
        EXPECT_EQ(int(lines.openedPaths().size()), opens + 1);
        EXPECT_TRUE(session.m_port.IsOpen());
        // The next operation goes on that port.
        EXPECT_TRUE(session.SelectHandsetBook());
        EXPECT_EQ(int(lines.openedPaths().size()), opens + 1);
        session.Disconnect();
    }
}

// The phone is plugged in again between two commands of one operation: before the next command
// it is woken and its session opened again as the operation had it (echo, synchronisation mode,
// character set, errors, the book), and closed at the end. The entry goes in whole.
TEST_F(ConnectTest, APhonePluggedInAgainBetweenCommandsHasItsSessionOpenedAgain)
{
    ASSERT_TRUE(session.SelectHandsetBook());
    CPhoneEntry first;
    first.m_nIndex = 1;
    first.m_strName = QStringLiteral("Ann");
    first.m_strMobile = QStringLiteral("1");
    ASSERT_TRUE(session.AddHandsetEntry(first)) << session.m_nResult;
    phone.clearCommandLog();
    lines.clearWrites();
    lines.replug();
    ASSERT_FALSE(phone.state().sessionOpen);
    CPhoneEntry second = first;
    second.m_nIndex = 2;
    second.m_strName = QStringLiteral("Bob");
    EXPECT_TRUE(session.AddHandsetEntry(second)) << session.m_nResult;
    EXPECT_TRUE(phone.state().sessionOpen);
    session.Disconnect();
    const QStringList log = commands();
    // The escape that wakes it goes first (a phone awake drops it unlogged).
    ASSERT_FALSE(lines.writes().empty());
    EXPECT_EQ(lines.writes().front().bytes, QByteArray(1, 27));
    const QStringList reopening {"AT", "ATE0", "AT+SBEG", "AT+SSLP=2000", "AT+CSCS=\"SYNC\"", "AT+CMEE=1", "AT+CPBS=\"PM\""};
    EXPECT_EQ(log.mid(0, reopening.size()), reopening);
    ASSERT_GE(log.size(), reopening.size() + 4);
    EXPECT_TRUE(log[reopening.size()].startsWith(QLatin1String("AT+CPBW=2,")));
    EXPECT_EQ(log.mid(reopening.size() + 1), QStringList({"AT+SEND", "AT+CSCS=\"GSM\"", "ATE1"}));
    EXPECT_EQ(phoneState().handset.entries.at(2).name, QStringLiteral("Bob"));
    EXPECT_FALSE(phone.state().sessionOpen);
    EXPECT_TRUE(ui().boxes.empty());
}

// The port stays open between operations; a phone plugged in again meanwhile (another device at
// the same path) leaves it on a dead line. The first command opens the port again, once, and
// the operation goes on; a device that does not come back fails it with one box.
TEST_F(ConnectTest, APhonePluggedInAgainIsReachedByTheNextOperation)
{
    ASSERT_TRUE(session.Connect());
    session.Disconnect();
    ASSERT_TRUE(session.m_port.IsOpen());
    const int opens = int(lines.openedPaths().size());
    lines.pullCable();
    EXPECT_TRUE(session.SelectHandsetBook()) << session.m_nResult;
    EXPECT_EQ(int(lines.openedPaths().size()), opens + 1);
    session.Disconnect();
    EXPECT_TRUE(ui().boxes.empty());

    lines.pullCable();
    lines.setHeldElsewhere(true);
    EXPECT_FALSE(session.SelectHandsetBook());
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("Cannot open COM 1 port")});
    EXPECT_FALSE(session.m_port.IsOpen());
}

TEST_F(ConnectTest, PortHeldElsewhereShowsTheBoxAndSendsNothing)
{
    lines.setHeldElsewhere(true);
    session.m_port.m_nPort = 3;
    EXPECT_FALSE(session.Connect());
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("Cannot open COM 3 port")});
    EXPECT_EQ(ui().boxes[0].style, unsigned(platform::MB_ICONINFORMATION));
    EXPECT_FALSE(session.m_port.IsOpen());
    QString reply;
    EXPECT_EQ(session.m_port.SendCommand("AT\r", reply, true), AT_NO_PORT);
    EXPECT_EQ(progress.opened, 0);
}

} // namespace
