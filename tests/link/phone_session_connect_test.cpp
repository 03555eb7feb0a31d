// Opening and closing a session, and its progress texts.
#include "phone_session_fixture.h"

#include "link/globals.h"
#include "platform/termination_signals.h"

#include <csignal>

#include <poll.h>

using namespace dh1;

namespace {

using phonesim::Fault;

const QStringList kClosing = {QStringLiteral("AT+SYNCSTOP"), QStringLiteral("ATE1"), QStringLiteral("AT+CSCS=\"IRA\"")};

// Every write of the PC, joined, as text.
QStringList Written(const phonesim::SimulatedLineFactory& lines)
{
    QStringList written;
    for (const auto& write : lines.writes())
        written << QString::fromLatin1(write.bytes);
    return written;
}

TEST_F(PhoneSessionTest, ConnectOpensTheSessionAndDisconnectClosesIt)
{
    ASSERT_TRUE(session.Connect());
    EXPECT_TRUE(session.m_bConnected);
    EXPECT_EQ(session.m_nResult, AT_OK);
    EXPECT_EQ(commands(), QStringList({"AT", "AT+SYNCSTART", "AT+CMEE=1", "ATE0", "AT+CSCS=\"Base64\""}));
    EXPECT_TRUE(phone.state().sessionOpen);
    EXPECT_FALSE(phone.state().echo);
    EXPECT_EQ(phone.state().charset, QByteArray("Base64"));
    EXPECT_EQ(progress.steps, QStringList {"Connecting to mobile"});
    EXPECT_TRUE(lines.lineOpen());

    phone.clearCommandLog();
    const qint64 start = now();
    EXPECT_TRUE(session.Disconnect());
    EXPECT_EQ(commands(), kClosing);
    // 200 ms, the stop and 2 s, echo and 200 ms, the character set, 200 ms with the text.
    EXPECT_GE(now() - start, 2600);
    EXPECT_FALSE(session.m_bConnected);
    EXPECT_FALSE(phone.state().sessionOpen);
    EXPECT_TRUE(phone.state().echo);
    EXPECT_EQ(phone.state().charset, QByteArray("IRA"));
    EXPECT_EQ(progress.steps.last(), QStringLiteral("Closing connection"));
    EXPECT_EQ(progress.finished, 1);
    EXPECT_EQ(session.Progress(), nullptr);
    EXPECT_FALSE(lines.lineOpen());
    EXPECT_TRUE(ui().mainWindowEnabled);
    EXPECT_EQ(ui().waitCursorDepth, 0);
    EXPECT_EQ(ui().waitCursorCount, 1);
    // The closing commands' results are no result of the session.
    EXPECT_EQ(session.m_nResult, AT_OK);
}

TEST_F(PhoneSessionTest, ConnectForMessagesLeavesTheCharacterSetAlone)
{
    ASSERT_TRUE(session.Connect(true));
    EXPECT_EQ(commands(), QStringList({"AT", "AT+SYNCSTART", "AT+CMEE=1", "ATE0"}));
    EXPECT_EQ(phone.state().charset, QByteArray("IRA"));
}

TEST_F(PhoneSessionTest, InfraredConnectSaysSo)
{
    session.m_port.m_bIrComm = true;
    ASSERT_TRUE(session.Connect());
    EXPECT_EQ(progress.steps, QStringList {"Connecting to mobile - IrComm"});
    session.Disconnect();
    // The infrared port stays open between sessions.
    EXPECT_TRUE(lines.lineOpen());
}

TEST_F(PhoneSessionTest, APortThatDoesNotOpenSendsNothing)
{
    lines.setHeldElsewhere(true);
    EXPECT_FALSE(session.Connect());
    EXPECT_TRUE(lines.writes().empty());
    EXPECT_EQ(progress.opened, 0);
    EXPECT_FALSE(session.m_bConnected);
}

TEST_F(PhoneSessionTest, ASilentPhoneTimesOutOnTheSessionStartAndStillGetsTheClosingCommands)
{
    phone.injectFault("AT*", Fault::silence());
    const qint64 start = now();
    EXPECT_FALSE(session.Connect());
    EXPECT_EQ(session.m_nResult, AT_TIMEOUT);
    EXPECT_EQ(g_nLastError, AT_TIMEOUT);
    // The first probe is not waited for; the session start waits its 10 seconds.
    EXPECT_GE(now() - start, 10000);
    EXPECT_LT(now() - start, 15000);
    EXPECT_EQ(commands(), QStringList({"AT", "AT+SYNCSTART"}) + kClosing);
    EXPECT_TRUE(ui().boxes.empty());
    EXPECT_EQ(progress.finished, 1);
    EXPECT_FALSE(lines.lineOpen());
}

TEST_F(PhoneSessionTest, APhoneAtATextPromptFailsTheSessionStartWithoutAnEscape)
{
    phone.state().atPrompt = true;
    EXPECT_FALSE(session.Connect());
    EXPECT_EQ(session.m_nResult, AT_PROMPT);
    EXPECT_EQ(Written(lines), QStringList({"AT\r", "AT+SYNCSTART\r"}) + QStringList({"AT+SYNCSTOP\r", "ATE1\r", "AT+CSCS=\"IRA\"\r"}));
}

TEST_F(PhoneSessionTest, AFailedFirstProbeThatFindsAPromptSendsOneEscape)
{
    phone.state().atPrompt = true;
    lines.failNextWrites(1);
    EXPECT_FALSE(session.Connect());
    EXPECT_EQ(session.m_nResult, AT_PROMPT);
    // The failed write never reached the phone; the second probe did, then the escape.
    EXPECT_EQ(Written(lines), QStringList({"AT\r", "\x1b", "AT+SYNCSTOP\r", "ATE1\r", "AT+CSCS=\"IRA\"\r"}));
    EXPECT_FALSE(phone.state().atPrompt);
    EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(PhoneSessionTest, AFailedFirstProbeThatGetsNoAnswerSaysSo)
{
    lines.failNextWrites(1);
    phone.injectFault("AT", Fault::silence(), 1);
    EXPECT_FALSE(session.Connect());
    EXPECT_EQ(session.m_nResult, AT_TIMEOUT);
    EXPECT_EQ(ui().boxTexts(), QStringList {"No response from mobile"});
    EXPECT_EQ(ui().boxes[0].style & platform::MB_ICONMASK, unsigned(platform::MB_ICONINFORMATION));
}

TEST_F(PhoneSessionTest, EachOpeningStepThatFailsEndsTheConnect)
{
    for (const char* command : {"AT+SYNCSTART", "AT+CMEE=1", "ATE0", "AT+CSCS=\"Base64\""}) {
        phone.clearCommandLog();
        phone.injectFault(command, Fault::error(), 1);
        EXPECT_FALSE(session.Connect()) << command;
        EXPECT_EQ(session.m_nResult, AT_ERROR) << command;
        EXPECT_EQ(commands().mid(commands().size() - 3), kClosing) << command;
        EXPECT_FALSE(session.m_bConnected) << command;
    }
}

TEST_F(PhoneSessionTest, AbortDuringAReadEndsItAndDisconnects)
{
    for (int i = 1; i <= 40; ++i)
        phone.state().handset.entries[i] = {0, QStringLiteral("N%1").arg(i), QStringLiteral("1%1").arg(i)};
    bool pressed = false;
    ui().onPump = [&](int) {
        if (!pressed && commands().contains(QStringLiteral("AT+CPBR=0,10")))
            g_bUserAbort = pressed = true;
    };
    RecordList<CPhoneEntry> list;
    EXPECT_FALSE(session.ReadHandsetBook(list));
    EXPECT_EQ(session.m_nResult, AT_USER_ABORT);
    EXPECT_EQ(commands().mid(commands().size() - 3), kClosing);
    EXPECT_FALSE(commands().contains(QStringLiteral("AT+CPBR=11,20")));
    EXPECT_FALSE(g_bUserAbort);
}

// SIGTERM in the middle of a read ends it as the Abort button does, closing commands and all,
// and every later operation ends at once.
TEST_F(PhoneSessionTest, ATerminationSignalEndsTheSessionAsAnAbortDoes)
{
    for (int i = 1; i <= 40; ++i)
        phone.state().handset.entries[i] = {0, QStringLiteral("N%1").arg(i), QStringLiteral("1%1").arg(i)};
    platform::ScopedTerminationSignals termination;
    ui().onPump = [&](int) {
        if (!platform::TerminationRequested() && commands().contains(QStringLiteral("AT+CPBR=0,10")))
            std::raise(SIGTERM);
    };
    RecordList<CPhoneEntry> list;
    EXPECT_FALSE(session.ReadHandsetBook(list));
    EXPECT_EQ(session.m_nResult, AT_USER_ABORT);
    EXPECT_EQ(platform::TerminationSignal(), SIGTERM);
    // An event loop waiting for work would wake up.
    pollfd notifier {termination.NotifierFd(), POLLIN, 0};
    EXPECT_EQ(::poll(&notifier, 1, 0), 1);
    EXPECT_EQ(commands().mid(commands().size() - 3), kClosing);
    EXPECT_FALSE(commands().contains(QStringLiteral("AT+CPBR=11,20")));
    EXPECT_FALSE(lines.lineOpen());

    phone.clearCommandLog();
    RecordList<CMemoEntry> memos;
    EXPECT_FALSE(session.ReadMemos(memos));
    EXPECT_EQ(commands(), kClosing);
}

TEST(PhoneSessionProgress, PlaceholdersAreFilledOrCutAt)
{
    const struct {
        const char* format;
        std::initializer_list<int> values;
        const char* text;
    } cases[] = {
        {"Reading phonebook %d~%d", {11, 20}, "Reading phonebook 11~20"},
        // No values (the schedule read's first step): the text before the placeholders.
        {"Reading schedules %d~%d", {}, "Reading schedules"},
        {"Reading schedules %d~%d", {1}, "Reading schedules 1~"},
        {"Writing memo...", {}, "Writing memo..."},
        {"100%% done", {}, "100% done"},
        {"%s stays", {}, "%s stays"},
        {"ends in %", {}, "ends in %"},
        {"\xe6\xad\xa3\xe5\x9c\xa8\xe8\xaf\xbb\xe5\x8f\x96\xe6\x97\xa5\xe7\xa8\x8b %d~%d", {}, "\xe6\xad\xa3\xe5\x9c\xa8\xe8\xaf\xbb\xe5\x8f\x96\xe6\x97\xa5\xe7\xa8\x8b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CPhoneSession::FormatProgress(QString::fromUtf8(c.format), c.values), QString::fromUtf8(c.text)) << c.format;
    }
}

TEST_F(PhoneSessionTest, ProgressTextsAreCutTo511Bytes)
{
    session.OpenProgress();
    session.ShowProgressF(QString(600, u'x'));
    session.ShowProgressF(QString(300, QChar(0x4E2D)));
    session.CloseProgress();
    ASSERT_EQ(progress.steps.size(), 2);
    EXPECT_EQ(progress.steps[0].size(), 511);
    EXPECT_EQ(progress.steps[1].size(), 255); // two bytes each
    // Without a view nothing is shown.
    session.ShowProgress(61464);
    EXPECT_EQ(progress.steps.size(), 2);
}

TEST_F(PhoneSessionTest, CloseProgressClearsTheAbortAndEnablesTheMainWindow)
{
    session.OpenProgress();
    session.OpenProgress(); // a view left from before is dropped
    EXPECT_EQ(progress.opened, 2);
    g_bUserAbort = true;
    ui().mainWindowEnabled = false;
    session.CloseProgress();
    EXPECT_FALSE(g_bUserAbort);
    EXPECT_TRUE(ui().mainWindowEnabled);
    EXPECT_EQ(progress.finished, 1);
    session.CloseProgress();
    EXPECT_EQ(progress.finished, 1);
}

} // namespace
