// The second family's transport against the simulated phone: gathering, silence, echo, the
// boxes of +CGR ERROR and RING, the prompt flag and the limits of one command.
#include "session_fixture.h"

#include "phonesim/fault.h"

#include <gtest/gtest.h>

namespace {

using namespace dh2;
using phonesim::Fault;

class ATPort2Test : public link2test::SessionTest {
protected:
    ATPort2Test()
    {
        phone.state().asleep = false;
        phone.state().sleepAfterMs = 0;
        port.Connect();
    }

    int send(const QByteArray& command, bool wait = true) { return port.SendCommand(command, reply, wait); }

    CATPort port;
    QString reply;
};

TEST_F(ATPort2Test, EchoIsCutOnlyFromAnOkAnswer)
{
    EXPECT_EQ(send("AT+SBEG\r"), AT_OK);
    EXPECT_EQ(reply, QStringLiteral("\r\nOK"));
    phone.injectFault("AT+SINF", Fault::reply("\r\n+CME ERROR: 3\r\n"));
    EXPECT_EQ(send("AT+SINF\r"), AT_CME_ERROR);
    EXPECT_EQ(reply, QStringLiteral("AT+SINF\r\r\n+CME ERROR: 3"));
    phone.state().echo = false;
    phone.injectFault("ATI", Fault::reply("ati\r\r\nOK\r\n"));
    EXPECT_EQ(send("ATI\r"), AT_OK);
    EXPECT_EQ(reply, QStringLiteral("ati\r\r\nOK"));
}

TEST_F(ATPort2Test, BoxesForAFullGroupAndACall)
{
    phone.state().echo = false;
    phone.injectFault("AT+CPBW*", Fault::reply("\r\n+CGR ERROR\r\n"));
    EXPECT_EQ(send("AT+CPBW=1\r"), AT_CGR_ERROR);
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("Member is full")});
    phone.injectFault("AT+CPBR*", Fault::reply("\r\nRING\r\n"));
    EXPECT_EQ(send("AT+CPBR=1\r"), AT_RING);
    EXPECT_EQ(ui().boxTexts().last(), QStringLiteral("Calling...."));
    EXPECT_EQ(ui().boxes.size(), 2u);
}

// Pieces with less than 5 s of silence between them make one reply; 5 s of silence ends it.
TEST_F(ATPort2Test, GathersPiecesUntilFiveSecondsOfSilence)
{
    phone.state().echo = false;
    phone.injectFault("AT+SSCR", Fault::pieces({{20, "\r\n+SSCR: 1"}, {4000, ",0\r\n"}, {8500, "\r\nOK\r\n"}}), 1);
    EXPECT_EQ(send("AT+SSCR\r"), AT_OK);
    EXPECT_EQ(reply, QStringLiteral("\r\n+SSCR: 1,0\r\n\r\nOK"));

    phone.injectFault("AT+SSCR", Fault::pieces({{20, "\r\n+SSCR: 1"}, {6000, "\r\nOK\r\n"}}), 1);
    const qint64 start = now();
    EXPECT_EQ(send("AT+SSCR\r"), AT_TIMEOUT);
    EXPECT_EQ(reply, QStringLiteral("\r\n+SSCR: 1"));
    EXPECT_LT(now() - start, 6000);
}

// A phone that keeps talking without a final result is cut off after ten times the silence
// limit.
TEST_F(ATPort2Test, OneCommandIsBoundedInTime)
{
    phone.state().echo = false;
    phone.injectFault("AT+CPBR=1,200", Fault::stream("+CPBR: 1,\"1\",129\r\n", 200), 1);
    const qint64 start = now();
    EXPECT_EQ(send("AT+CPBR=1,200\r"), AT_TIMEOUT);
    EXPECT_GE(now() - start, 50'000);
    EXPECT_LE(now() - start, 51'000);
    EXPECT_EQ(send("AT\r"), AT_OK);
}

TEST_F(ATPort2Test, PromptUnlessTheFlagSaysOtherwise)
{
    phone.state().echo = false;
    phone.injectFault("AT+CMGL*", Fault::pieces({{20, "\r\n+CMGL: 1\r\n> quoted\r\n> "}, {2000, "\r\n\r\nOK\r\n"}}));
    EXPECT_EQ(send("AT+CMGL=\"ALL\"\r"), AT_PROMPT);
    port.m_bPromptIsNotSuccess = true;
    EXPECT_EQ(send("AT+CMGL=\"ALL\"\r"), AT_OK);
    EXPECT_TRUE(reply.endsWith(QLatin1String("> \r\n\r\nOK")));
}

TEST_F(ATPort2Test, WithoutWaitingTheFirstPollSucceeds)
{
    phone.injectFault("AT+SEND", Fault::silence());
    EXPECT_EQ(send("AT+SEND\r", false), AT_OK);
    EXPECT_EQ(reply, QString());
}

} // namespace
