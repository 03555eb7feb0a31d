#include "phonesim/phone.h"
#include "phonesim/pty_server.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

class PtyServerTest : public ::testing::Test {
protected:
    QString linkPath() const { return dir.filePath(QStringLiteral("com1")); }

    int openClient()
    {
        return ::open(QFile::encodeName(linkPath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    }

    // Serves while the client waits for `expected`; returns what came.
    QByteArray exchange(int client, const QByteArray& command, qsizetype expected)
    {
        EXPECT_EQ(::write(client, command.constData(), size_t(command.size())), command.size());
        QByteArray got;
        for (int round = 0; round < 100 && got.size() < expected; ++round) {
            server.serveOnce(10);
            char buffer[256];
            const ssize_t n = ::read(client, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, n);
        }
        return got;
    }

    QTemporaryDir dir;
    phonesim::Phone phone;
    phonesim::PtyServer server {phone, linkPath()};
};

TEST_F(PtyServerTest, AnswersOnTheLinkedTerminalAcrossReconnects)
{
    QString error;
    ASSERT_TRUE(server.start(&error)) << error.toStdString();
    EXPECT_EQ(QFileInfo(linkPath()).symLinkTarget(), server.slavePath());

    int client = openClient();
    ASSERT_GE(client, 0);
    EXPECT_EQ(exchange(client, "AT\r", 9), QByteArray("AT\r\r\nOK\r\n"));
    ::close(client);

    client = openClient();
    ASSERT_GE(client, 0);
    EXPECT_EQ(exchange(client, "ATE0\r", 11), QByteArray("ATE0\r\r\nOK\r\n"));
    ::close(client);
    EXPECT_EQ(phone.commandLog(), QByteArrayList({"AT", "ATE0"}));
}

TEST_F(PtyServerTest, ClosedLineComesBackOnAFreshTerminal)
{
    QString error;
    ASSERT_TRUE(server.start(&error)) << error.toStdString();
    const QString first = server.slavePath();
    phone.state().echo = false;
    phone.injectFault("AT+SYNCSTOP", phonesim::Fault::closeLine(), 1);

    const int client = openClient();
    ASSERT_GE(client, 0);
    ASSERT_EQ(::write(client, "AT+SYNCSTOP\r", 12), 12);
    for (int round = 0; round < 100 && server.slavePath() == first; ++round)
        server.serveOnce(10);
    ::close(client);
    EXPECT_NE(server.slavePath(), first);
    EXPECT_EQ(QFileInfo(linkPath()).symLinkTarget(), server.slavePath());

    const int again = openClient();
    ASSERT_GE(again, 0);
    EXPECT_EQ(exchange(again, "AT\r", 6), QByteArray("\r\nOK\r\n"));
    ::close(again);
}

// A client killed in the middle of a session, with a stream running, half a command typed and
// its exclusive claim on the terminal: the next client finds a fresh line.
TEST_F(PtyServerTest, AClientThatVanishedLeavesAFreshLine)
{
    QString error;
    ASSERT_TRUE(server.start(&error)) << error.toStdString();
    phone.injectFault("AT+CPBR=1,10", phonesim::Fault::stream("+CPBR: 1,0,\"123\",129\r\n", 20));
    const int client = openClient();
    ASSERT_GE(client, 0);
    ASSERT_EQ(::ioctl(client, TIOCEXCL), 0);
    exchange(client, "AT+SYNCSTART\r", 19);
    ASSERT_TRUE(phone.state().sessionOpen);
    EXPECT_FALSE(exchange(client, "AT+CPBR=1,10\r", 200).isEmpty());
    ASSERT_EQ(::write(client, "AT+CP", 5), 5);
    for (int round = 0; round < 5; ++round)
        server.serveOnce(10);
    ::close(client);
    for (int round = 0; round < 100 && phone.state().sessionOpen; ++round)
        server.serveOnce(10);
    EXPECT_FALSE(phone.state().sessionOpen);

    const int again = openClient();
    ASSERT_GE(again, 0);
    int exclusive = 1;
    ASSERT_EQ(::ioctl(again, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    EXPECT_EQ(exchange(again, "AT\r", 9), QByteArray("AT\r\r\nOK\r\n"));
    ::close(again);
}

TEST_F(PtyServerTest, LeavesOtherFilesAloneAndRemovesItsLink)
{
    {
        QFile file(linkPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QString error;
    EXPECT_FALSE(server.start(&error));
    EXPECT_TRUE(QFileInfo(linkPath()).isFile());
    QFile::remove(linkPath());

    {
        phonesim::PtyServer other(phone, linkPath());
        ASSERT_TRUE(other.start(&error));
        EXPECT_TRUE(QFileInfo(linkPath()).isSymLink());
    }
    EXPECT_FALSE(QFileInfo(linkPath()).isSymLink());
}

} // namespace
