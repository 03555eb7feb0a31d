#include "platform/serial/com_port.h"
#include "platform/serial/serial_port.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A pseudo-terminal whose master side the test plays, readable and writable by everyone so
// that an unprivileged child can try the slave too.
class Pty {
public:
    Pty()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128] = {};
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 || ::ptsname_r(m_master, name, sizeof name) != 0)
            return;
        m_slave = QString::fromLocal8Bit(name);
        ::chmod(name, 0666);
    }
    ~Pty()
    {
        if (m_master >= 0)
            ::close(m_master);
    }
    bool ok() const { return !m_slave.isEmpty(); }
    const QString& slave() const { return m_slave; }
    int master() const { return m_master; }

    QByteArray readMaster()
    {
        QByteArray data;
        char buffer[4096];
        for (int tries = 0; tries < 50; ++tries) {
            int queued = 0;
            if (::ioctl(m_master, FIONREAD, &queued) == 0 && queued > 0) {
                const ssize_t got = ::read(m_master, buffer, sizeof buffer);
                if (got > 0)
                    data.append(buffer, got);
                break;
            }
            ::usleep(10'000);
        }
        return data;
    }

private:
    int m_master = -1;
    QString m_slave;
};

// Waits until the slave side has something queued from the master.
qsizetype waitQueued(platform::SerialPort& port, qsizetype atLeast)
{
    qsizetype queued = 0;
    for (int tries = 0; tries < 100 && (queued = port.queuedBytes()) < atLeast; ++tries)
        ::usleep(10'000);
    return queued;
}

TEST(ComPortPath, EnvironmentFirstThenTtyS)
{
    qunsetenv("DESKHAND_COM3");
    EXPECT_EQ(platform::ComPortPath(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(platform::ComPortPath(3), QStringLiteral("/dev/ttyS2"));
    qputenv("DESKHAND_COM3", "/tmp/phone");
    EXPECT_EQ(platform::ComPortPath(3), QStringLiteral("/tmp/phone"));
    qputenv("DESKHAND_COM3", "");
    EXPECT_EQ(platform::ComPortPath(3), QStringLiteral("/dev/ttyS2"));
    qunsetenv("DESKHAND_COM3");
    EXPECT_TRUE(platform::ComPortPath(0).isEmpty());
    EXPECT_TRUE(platform::ComPortPath(-2).isEmpty());
}

TEST(SerialPort, TalksOverAPseudoTerminal)
{
    Pty pty;
    ASSERT_TRUE(pty.ok());
    platform::SerialPort port;
    ASSERT_TRUE(port.open(pty.slave()));
    ASSERT_TRUE(port.configure({}));

    termios tio {};
    ASSERT_EQ(::tcgetattr(pty.master(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B57600));
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);

    ASSERT_TRUE(port.write("AT\r", 3));
    EXPECT_EQ(pty.readMaster(), QByteArray("AT\r"));

    ASSERT_EQ(::write(pty.master(), "\r\nOK\r\n", 6), 6);
    EXPECT_EQ(waitQueued(port, 6), 6);
    char buffer[16] = {};
    EXPECT_EQ(port.read(buffer, 4), 4);
    EXPECT_EQ(port.queuedBytes(), 2);
    EXPECT_EQ(port.read(buffer, sizeof buffer), 2);
    EXPECT_EQ(port.read(buffer, sizeof buffer), 0); // nothing queued: no wait

    ASSERT_EQ(::write(pty.master(), "stale", 5), 5);
    EXPECT_EQ(waitQueued(port, 5), 5);
    EXPECT_TRUE(port.purge());
    EXPECT_EQ(port.queuedBytes(), 0);
    EXPECT_TRUE(port.close());
    EXPECT_FALSE(port.isOpen());
}

TEST(SerialPort, OpenIsExclusiveAndReleasedByClose)
{
    Pty pty;
    ASSERT_TRUE(pty.ok());
    platform::SerialPort first;
    platform::SerialPort second;
    ASSERT_TRUE(first.open(pty.slave()));
    EXPECT_FALSE(second.open(pty.slave())); // even for root: the lock
    EXPECT_TRUE(first.close());
    EXPECT_TRUE(second.open(pty.slave()));
}

TEST(SerialPort, RefusesWhatIsNoPort)
{
    platform::SerialPort port;
    EXPECT_FALSE(port.open(QStringLiteral("/nonexistent/ttyS9")));
    EXPECT_FALSE(port.open(QString()));
    QFile file(QStringLiteral("/tmp/deskhand-serial-test-%1").arg(::getpid()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_FALSE(port.open(file.fileName()));
    EXPECT_EQ(port.lastError(), ENOTTY);
    file.remove();
    EXPECT_FALSE(port.write("x", 1));
    EXPECT_EQ(port.queuedBytes(), -1);
}

TEST(SerialPort, RejectsSettingsItCannotApply)
{
    Pty pty;
    ASSERT_TRUE(pty.ok());
    platform::SerialPort port;
    ASSERT_TRUE(port.open(pty.slave()));
    const platform::SerialSettings bad[] = {
        {12345, 'N', 8, 1, 1000}, {57600, 'X', 8, 1, 1000}, {57600, 'N', 9, 1, 1000}, {57600, 'N', 8, 3, 1000},
    };
    for (const auto& settings : bad)
        EXPECT_FALSE(port.configure(settings)) << settings.baud << settings.parity << settings.dataBits << settings.stopBits;
    EXPECT_TRUE(port.configure({115200, 'E', 7, 2, 1000}));
    // A pseudo-terminal keeps 8 bits without parity whatever it is told; speed and stop bits stick.
    termios tio {};
    ASSERT_EQ(::tcgetattr(pty.master(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B115200));
    EXPECT_EQ(tio.c_cflag & CSTOPB, tcflag_t(CSTOPB));
}

TEST(SerialPort, WriteGivesUpWhenNobodyReads)
{
    Pty pty;
    ASSERT_TRUE(pty.ok());
    platform::SerialPort port;
    ASSERT_TRUE(port.open(pty.slave()));
    ASSERT_TRUE(port.configure({921600, 'N', 8, 1, 100}));
    const QByteArray block(128 * 1024, 'x'); // more than the terminal buffers
    EXPECT_FALSE(port.write(block.constData(), block.size()));
    EXPECT_EQ(port.lastError(), ETIMEDOUT);
}

// The exclusive flag only stops unprivileged users, and on a pseudo-terminal it outlives the
// descriptor. A child that drops to "nobody" tries the port: errno of its open, 0 when it
// opened, -1 when the test cannot drop privileges here.
int OpenAsNobody(const QString& path)
{
    const passwd* nobody = ::getpwnam("nobody");
    if (::getuid() != 0 || !nobody)
        return -1;
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    const QByteArray native = QFile::encodeName(path);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(255);
        const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ::_exit(fd >= 0 ? 0 : errno);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

TEST(SerialPort, UnprivilegedUserIsKeptOutWhileOpenAndLetInAfterClose)
{
    Pty pty;
    ASSERT_TRUE(pty.ok());
    if (OpenAsNobody(pty.slave()) != 0)
        GTEST_SKIP() << "needs root and a user 'nobody' to try the port unprivileged";

    platform::SerialPort port;
    ASSERT_TRUE(port.open(pty.slave()));
    EXPECT_EQ(OpenAsNobody(pty.slave()), EBUSY);
    ASSERT_TRUE(port.close());
    EXPECT_EQ(OpenAsNobody(pty.slave()), 0);

    // Without clearing the flag the port would stay locked after the close.
    const int raw = ::open(QFile::encodeName(pty.slave()).constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(raw, 0);
    ASSERT_EQ(::ioctl(raw, TIOCEXCL), 0);
    ::close(raw);
    EXPECT_EQ(OpenAsNobody(pty.slave()), EBUSY);
}

} // namespace
