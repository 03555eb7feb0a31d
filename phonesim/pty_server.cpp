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
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace phonesim {

namespace {

constexpr qsizetype kWriteBlock = 4096;
constexpr int kIdleWaitMs = 200;

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
    return true;
}

void PtyServer::closeTerminal()
{
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
        QString error;
        unlinkIfOurs();
        closeTerminal();
        if (!start(&error))
            return false;
        now = platform::NowMs();
    }
    sendDue(now);

    int waitMs = maxWaitMs;
    if (const std::optional<qint64> next = m_queue.nextEventMs(now))
        waitMs = int(std::clamp<qint64>(*next - now, 0, maxWaitMs));
    pollfd pfd {m_master, short(POLLIN | (m_unsent.isEmpty() ? 0 : POLLOUT)), 0};
    const int ready = ::poll(&pfd, 1, waitMs);
    if (ready < 0)
        return errno == EINTR;
    if (pfd.revents & POLLIN) {
        char buffer[4096];
        const ssize_t got = ::read(m_master, buffer, sizeof buffer);
        if (got > 0)
            m_queue.add(platform::NowMs(), m_phone.receive(QByteArray(buffer, got)));
    }
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
