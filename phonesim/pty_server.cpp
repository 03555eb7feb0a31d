#include "phonesim/pty_server.h"

#include "phonesim/phone.h"
#include "platform/clock.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace phonesim {

namespace {

constexpr qsizetype kWriteBlock = 4096;
constexpr int kIdleWaitMs = 200;

int BaudOf(speed_t speed)
{
    switch (speed) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    case B460800: return 460800;
    case B921600: return 921600;
    default: return OutputQueue::kDefaultBaud;
    }
}

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyServer::PtyServer(Phone& phone, const QString& linkPath)
    : m_phone(phone)
    , m_linkPath(linkPath)
{
}

PtyServer::~PtyServer()
{
    unlinkIfOurs();
    closeTerminal();
}

bool PtyServer::openTerminal(QString* error)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
        *error = systemError("grantpt/unlockpt/ptsname");
        ::close(master);
        return false;
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (slave < 0) {
        *error = systemError("open slave");
        ::close(master);
        return false;
    }
    termios tio {};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        ::cfsetispeed(&tio, B57600);
        ::cfsetospeed(&tio, B57600);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    m_master = master;
    m_slave = slave;
    m_slavePath = QString::fromLocal8Bit(name);
    watchClients();
    return true;
}

void PtyServer::watchClients()
{
    m_watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch < 0)
        return;
    if (::inotify_add_watch(m_watch, QFile::encodeName(m_slavePath).constData(), IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        ::close(m_watch);
        m_watch = -1;
    }
}

// A client closed the terminal. Whether it was the last one shows when the server lets go of
// its own descriptor for a moment: with nobody left, the master sees a hang-up.
void PtyServer::clientClosed()
{
    int exclusive = 0;
    ::ioctl(m_slave, TIOCGEXCL, &exclusive);
    // The server's own reopen must not be refused, nor a vanished client's claim outlive it.
    if (exclusive)
        ::ioctl(m_slave, TIOCNXCL);
    ::close(m_slave);
    pollfd pfd {m_master, 0, 0};
    ::poll(&pfd, 1, 0);
    const bool nobodyLeft = pfd.revents & POLLHUP;
    m_slave = ::open(QFile::encodeName(m_slavePath).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    // The events of the server's own close are no client's.
    char events[4096];
    while (::read(m_watch, events, sizeof events) > 0) {
    }
    if (!nobodyLeft) {
        if (exclusive)
            ::ioctl(m_slave, TIOCEXCL);
        return;
    }
    // Nothing of the last client's session reaches the next one.
    m_queue.clear();
    m_unsent.clear();
    ::tcflush(m_master, TCIOFLUSH);
    ::tcflush(m_slave, TCIOFLUSH); // what the client left unread
    m_phone.lineDropped();
}

int PtyServer::lineBaud() const
{
    termios tio {};
    if (m_slave < 0 || ::tcgetattr(m_slave, &tio) != 0)
        return OutputQueue::kDefaultBaud;
    return BaudOf(::cfgetospeed(&tio));
}

void PtyServer::closeTerminal()
{
    if (m_watch >= 0)
        ::close(m_watch);
    m_watch = -1;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
    m_queue.clear();
    m_unsent.clear();
}

bool PtyServer::link(QString* error)
{
    const QByteArray path = QFile::encodeName(m_linkPath);
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        *error = QStringLiteral("%1 exists and is not a symbolic link").arg(m_linkPath);
        return false;
    }
    // Link beside it and rename over it, so that the path never points nowhere.
    const QByteArray temporary = path + ".phonesim-" + QByteArray::number(::getpid());
    ::unlink(temporary.constData());
    if (::symlink(QFile::encodeName(m_slavePath).constData(), temporary.constData()) != 0) {
        *error = systemError("symlink");
        return false;
    }
    if (::rename(temporary.constData(), path.constData()) != 0) {
        *error = systemError("rename");
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

void PtyServer::unlinkIfOurs()
{
    if (m_slavePath.isEmpty())
        return;
    const QByteArray path = QFile::encodeName(m_linkPath);
    char target[256] = {};
    const ssize_t size = ::readlink(path.constData(), target, sizeof target - 1);
    if (size > 0 && QFile::decodeName(QByteArray(target, size)) == m_slavePath)
        ::unlink(path.constData());
}

bool PtyServer::start(QString* error)
{
    return openTerminal(error) && link(error);
}

void PtyServer::sendDue(qint64 nowMs)
{
    if (m_unsent.isEmpty())
        m_unsent = m_queue.take(nowMs, kWriteBlock);
    while (!m_unsent.isEmpty()) {
        const ssize_t written = ::write(m_master, m_unsent.constData(), size_t(m_unsent.size()));
        if (written <= 0)
            return; // full: the client is not reading; try again when the terminal has room
        m_unsent.remove(0, written);
        if (m_unsent.isEmpty())
            m_unsent = m_queue.take(nowMs, kWriteBlock);
    }
}

bool PtyServer::serveOnce(int maxWaitMs)
{
    qint64 now = platform::NowMs();
    if (m_queue.isClosed(now)) {
        // The line died: the phone, plugged in again at the same path, has left its session.
        QString error;
        unlinkIfOurs();
        closeTerminal();
        m_phone.lineDropped();
        if (!start(&error))
            return false;
        now = platform::NowMs();
    }
    sendDue(now);

    int waitMs = maxWaitMs;
    if (const std::optional<qint64> next = m_queue.nextEventMs(now))
        waitMs = int(std::clamp<qint64>(*next - now, 0, maxWaitMs));
    pollfd pfds[2] = {{m_master, short(POLLIN | (m_unsent.isEmpty() ? 0 : POLLOUT)), 0}, {m_watch, POLLIN, 0}};
    const int ready = ::poll(pfds, m_watch >= 0 ? 2 : 1, waitMs);
    if (ready < 0)
        return errno == EINTR;
    if (pfds[0].revents & POLLIN) {
        char buffer[4096];
        const ssize_t got = ::read(m_master, buffer, sizeof buffer);
        if (got > 0) {
            m_queue.setBaud(lineBaud());
            m_queue.add(platform::NowMs(), m_phone.receive(QByteArray(buffer, got)));
        }
    }
    if (m_watch >= 0 && (pfds[1].revents & POLLIN))
        clientClosed();
    sendDue(platform::NowMs());
    return true;
}

void PtyServer::run(const volatile std::sig_atomic_t* stop)
{
    while (!*stop) {
        if (!serveOnce(kIdleWaitMs))
            return;
    }
}

} // namespace phonesim
