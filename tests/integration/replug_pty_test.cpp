// A phone plugged in again while a program keeps its port open: the simulator program is
// started anew at the port's link, so that the open descriptor is left on a terminal that hung
// up. The next command opens the port again, once, and reaches the phone; the command before
// the re-plug and the one after it are all that the phones receive.
#include "link/at_port.h"
#include "link/globals.h"
#include "link2/at_port.h"
#include "link2/message_pump.h"
#include "platform/string_table.h"
#include "support/recording_ui_services.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace dh1;

namespace {

class ReplugPtyTest : public ::testing::Test {
protected:
    ReplugPtyTest()
    {
        g_bUserAbort = false;
        g_nLastError = 0;
        dh2::g_bCancel = false;
        qputenv("DESKHAND_COM1", QFile::encodeName(linkPath()));
    }

    ~ReplugPtyTest() override
    {
        stop();
        qunsetenv("DESKHAND_COM1");
    }

    QString linkPath() const { return dir.filePath(QStringLiteral("com1")); }
    QString logPath() const { return dir.filePath(QStringLiteral("commands.log")); }

    // The phone of the family at the link; an earlier one is unplugged first.
    void plugIn(int dialect)
    {
        stop();
        simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        simulator.start(QStringLiteral(DESKHAND_PHONESIM_BIN),
            {QStringLiteral("--dialect"), QString::number(dialect), QStringLiteral("--link"), linkPath(),
                QStringLiteral("--log"), logPath()});
        ASSERT_TRUE(simulator.waitForStarted(5000));
        QDeadlineTimer deadline(5000);
        while (!QFileInfo(linkPath()).isSymLink() && !deadline.hasExpired())
            QThread::msleep(10);
        ASSERT_TRUE(QFileInfo(linkPath()).isSymLink());
    }

    void stop()
    {
        if (simulator.state() == QProcess::NotRunning)
            return;
        simulator.terminate();
        simulator.waitForFinished(5000);
    }

    QByteArrayList logged()
    {
        QFile log(logPath());
        return log.open(QIODevice::ReadOnly) ? log.readAll().split('\n') : QByteArrayList();
    }

    QTemporaryDir dir;
    QProcess simulator;
    platform::ScopedLanguage english {platform::LANG_ENGLISH_US};
    testsupport::ScopedRecordingUi recording;
    QString reply;
};

TEST_F(ReplugPtyTest, DeskhandReachesThePhoneAtOnce)
{
    plugIn(1);
    CATPort port;
    ASSERT_TRUE(port.Connect(100));
    ASSERT_EQ(port.SendCommand("AT+CMEE=1\r", reply, true), AT_OK);

    plugIn(1);
    EXPECT_EQ(port.SendCommand("AT+CMEE=1\r", reply, true), AT_OK);
    EXPECT_EQ(reply, QStringLiteral("\r\nOK"));
    EXPECT_EQ(logged(), QByteArrayList({"AT+CMEE=1", "AT+CMEE=1", ""}));
    EXPECT_TRUE(recording.ui.boxes.empty());
}

TEST_F(ReplugPtyTest, Deskhand2ReachesThePhoneAtOnce)
{
    plugIn(2);
    dh2::CATPort port;
    ASSERT_TRUE(port.Connect());
    // A phone of this family sleeps until a byte wakes it; the escape goes without waiting.
    ASSERT_EQ(port.SendCommand("\x1b", reply, false), dh2::AT_OK);
    ASSERT_EQ(port.SendCommand("AT\r", reply, true), dh2::AT_OK);

    plugIn(2);
    EXPECT_EQ(port.SendCommand("\x1b", reply, false), dh2::AT_OK);
    EXPECT_EQ(port.SendCommand("AT\r", reply, true), dh2::AT_OK);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(logged(), QByteArrayList({"AT", "AT", ""}));
    EXPECT_TRUE(recording.ui.boxes.empty());
}

} // namespace
