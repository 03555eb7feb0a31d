// The transport over a real pseudo-terminal, against the simulator program.
#include "common/serial_line.h"
#include "link/at_port.h"
#include "link/globals.h"
#include "platform/string_table.h"
#include "support/recording_ui_services.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <vector>

using namespace dh1;

namespace {

class PhonesimPtyTest : public ::testing::Test {
protected:
    PhonesimPtyTest()
    {
        g_bUserAbort = false;
        g_nLastError = 0;
        qputenv("DESKHAND_COM1", QFile::encodeName(linkPath()));
    }

    ~PhonesimPtyTest() override
    {
        if (simulator.state() != QProcess::NotRunning) {
            simulator.terminate();
            simulator.waitForFinished(5000);
        }
        qunsetenv("DESKHAND_COM1");
    }

    QString linkPath() const { return dir.filePath(QStringLiteral("com1")); }
    QString logPath() const { return dir.filePath(QStringLiteral("commands.log")); }

    void startSimulator(const QStringList& extra = {})
    {
        simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        simulator.start(QStringLiteral(DESKHAND_PHONESIM_BIN),
            QStringList {QStringLiteral("--dialect"), QStringLiteral("1"), QStringLiteral("--link"), linkPath(),
                QStringLiteral("--log"), logPath()}
                + extra);
        ASSERT_TRUE(simulator.waitForStarted(5000));
        QDeadlineTimer deadline(5000);
        while (!QFileInfo(linkPath()).isSymLink() && !deadline.hasExpired())
            QThread::msleep(10);
        ASSERT_TRUE(QFileInfo(linkPath()).isSymLink());
    }

    QByteArray read(common::CSerialLine& line)
    {
        std::vector<char> buffer(CATPort::kReceiveBufferSize);
        int count = 0;
        EXPECT_TRUE(line.Read(buffer.data(), int(buffer.size()), &count));
        return QByteArray(buffer.data(), count);
    }

    QTemporaryDir dir;
    QProcess simulator;
    platform::ScopedLanguage english {platform::LANG_ENGLISH_US};
    testsupport::ScopedRecordingUi recording;
};

TEST_F(PhonesimPtyTest, AnswersTheSessionCommands)
{
    startSimulator();
    CATPort port;
    ASSERT_TRUE(port.Connect(100));
    const struct {
        const char* command;
        bool wait;
        const char* reply;
    } steps[] = {
        {"AT\r", false, ""},
        {"AT+SYNCSTART\r", true, "\r\nOK"},
        {"AT+CMEE=1\r", true, "\r\nOK"},
        {"ATE0\r", true, "\r\nOK"},
        {"AT+CSCS=\"Base64\"\r", true, "\r\nOK"},
        {"AT+CSCS?\r", true, "\r\n+CSCS: \"Base64\"\r\n\r\nOK"},
        {"AT+SYNCSTOP\r", false, ""},
        {"ATE1\r", false, ""},
        {"AT+CSCS=\"IRA\"\r", false, ""},
    };
    for (const auto& step : steps) {
        QString reply;
        EXPECT_EQ(port.SendCommand(step.command, reply, step.wait), AT_OK) << step.command;
        EXPECT_EQ(reply, QString::fromLatin1(step.reply)) << step.command;
    }
    port.Disconnect();

    QFile log(logPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(),
        QByteArray("AT\nAT+SYNCSTART\nAT+CMEE=1\nATE0\nAT+CSCS=\"Base64\"\nAT+CSCS?\nAT+SYNCSTOP\nATE1\nAT+CSCS=\"IRA\"\n"));
    EXPECT_TRUE(recording.ui.boxes.empty());

    // The port opens again for the next session.
    ASSERT_TRUE(port.Connect(100));
    QString reply;
    EXPECT_EQ(port.SendCommand("AT\r", reply, true), AT_OK);
}

TEST_F(PhonesimPtyTest, PortHeldByAnotherProgramCannotBeOpened)
{
    startSimulator();
    QProcess holder;
    holder.start(QStringLiteral(DESKHAND_SERIAL_HOLDER_BIN), {linkPath()});
    ASSERT_TRUE(holder.waitForStarted(5000));
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    ASSERT_EQ(holder.readAll(), QByteArray("ready\n"));

    common::CSerialLine line {CATPort::LineTraits()};
    EXPECT_FALSE(line.Open(1, 57600, 'N', 8, 1, 9));
    EXPECT_EQ(recording.ui.boxTexts(), QStringList {QStringLiteral("Other application used this port\nFailed to open 1 port")});
    CATPort port;
    EXPECT_FALSE(port.Connect(100));

    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(5000));
    EXPECT_TRUE(line.Open(1, 57600, 'N', 8, 1, 9));
}

TEST_F(PhonesimPtyTest, ReadStopsOnceItHasGathered513Bytes)
{
    // About 330 bytes per 100 ms poll, without end.
    startSimulator({QStringLiteral("--fault"), QStringLiteral("stream:20@AT+STREAM")});
    common::CSerialLine line {CATPort::LineTraits()};
    ASSERT_TRUE(line.Open(1, 57600, 'N', 8, 1, 9));
    ASSERT_TRUE(line.Write("AT+STREAM\r", 10));
    const QByteArray first = read(line);
    EXPECT_GE(first.size(), common::CSerialLine::kReadStopBytes);
    EXPECT_LT(first.size(), 2000);
    EXPECT_TRUE(first.startsWith("AT+STREAM\r+CPBR: 1,"));
    EXPECT_FALSE(read(line).isEmpty()); // it kept coming
}

TEST_F(PhonesimPtyTest, BytesSentBeforeAWriteArePurged)
{
    startSimulator();
    common::CSerialLine line {CATPort::LineTraits()};
    ASSERT_TRUE(line.Open(1, 57600, 'N', 8, 1, 9));
    ASSERT_TRUE(line.Write("AT\r", 3)); // echo on: "AT\r\r\nOK\r\n" comes back and is not read
    QThread::msleep(300);
    ASSERT_TRUE(line.Write("AT+CMEE=1\r", 10));
    EXPECT_EQ(read(line), QByteArray("AT+CMEE=1\r\r\nOK\r\n"));
}

TEST_F(PhonesimPtyTest, RefusesAnUnknownDialectAndABadFault)
{
    QProcess bad;
    bad.start(QStringLiteral(DESKHAND_PHONESIM_BIN), {QStringLiteral("--dialect"), QStringLiteral("7"), QStringLiteral("--link"), linkPath()});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_NE(bad.exitCode(), 0);
    bad.start(QStringLiteral(DESKHAND_PHONESIM_BIN),
        {QStringLiteral("--dialect"), QStringLiteral("1"), QStringLiteral("--link"), linkPath(), QStringLiteral("--fault"), QStringLiteral("boom@AT")});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_NE(bad.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(linkPath()));
}

} // namespace
