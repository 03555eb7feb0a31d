#include "platform/serial/serial_port.h"

#include <QFile>

#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

namespace {

speed_t speedConstant(int baud)
{
    switch (baud) {
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return B0;
    }
}

tcflag_t sizeFlag(int dataBits)
{
    switch (dataBits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    default: return 0;
    }
}

} // namespace

SerialPort::~SerialPort()
{
    close();
}

bool SerialPort::TakesBaud(int baud)
{
    return speedConstant(baud) != B0;
}

bool SerialPort::fail()
{
    m_lastError = errno;
    return false;
}

bool SerialPort::open(const QString& path)
{
    close();
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty()) {
        errno = ENOENT;
        return fail();
    }
    // Non-blocking so that a port without carrier does not hang the open; reads only ever ask
    // for what is queued and writes wait with poll().
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fail();
    // flock first: a refused lock must not leave our exclusive flag on another program's port.
    if (!::isatty(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        fail();
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool SerialPort::configure(const SerialSettings& settings)
{
    if (m_fd < 0) {
        errno = EBADF;
        return fail();
    }
    const speed_t speed = speedConstant(settings.baud);
    const tcflag_t size = sizeFlag(settings.dataBits);
    if (speed == B0 || size == 0 || (settings.stopBits != 1 && settings.stopBits != 2)) {
        errno = EINVAL;
        return fail();
    }
    tcflag_t parity = 0;
    switch (settings.parity) {
    case 'N': case 'n': break;
    case 'E': case 'e': parity = PARENB; break;
    case 'O': case 'o': parity = PARENB | PARODD; break;
    case 'M': case 'm': parity = PARENB | PARODD | CMSPAR; break;
    case 'S': case 's': parity = PARENB | CMSPAR; break;
    default: errno = EINVAL; return fail();
    }

    termios tio {};
    if (::tcgetattr(m_fd, &tio) != 0)
        return fail();
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | size | parity | (settings.stopBits == 2 ? CSTOPB : 0);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0 || ::tcsetattr(m_fd, TCSANOW, &tio) != 0)
        return fail();

    // RTS on; a pseudo-terminal has no modem lines and says so with ENOTTY or EINVAL.
    int bits = TIOCM_RTS;
    if (::ioctl(m_fd, TIOCMBIS, &bits) != 0 && errno != ENOTTY && errno != EINVAL)
        return fail();
    m_settings = settings;
    return true;
}

bool SerialPort::close()
{
    if (m_fd < 0)
        return true;
    ::ioctl(m_fd, TIOCNXCL);
    ::flock(m_fd, LOCK_UN);
    const int result = ::close(m_fd);
    // Linux releases the descriptor even when close() reports an error; never close it twice.
    m_fd = -1;
    return result == 0 || fail();
}

bool SerialPort::write(const char* data, qsizetype size)
{
    if (m_fd < 0) {
        errno = EBADF;
        return fail();
    }
    // A device wait, not a protocol pause: it runs on real time whatever clock is installed.
    using namespace std::chrono;
    const qint64 wireMs = m_settings.baud > 0 ? size * 10 * 1000 / m_settings.baud : 0;
    const auto deadline = steady_clock::now() + milliseconds(m_settings.writeTimeoutMs + wireMs);
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(size));
        if (written > 0) {
            data += written;
            size -= written;
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return fail();
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0) {
            errno = ETIMEDOUT;
            return fail();
        }
        pollfd pfd {m_fd, POLLOUT, 0};
        const int ready = ::poll(&pfd, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return fail();
        if (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            errno = EIO;
            return fail();
        }
    }
    return true;
}

qsizetype SerialPort::queuedBytes()
{
    int queued = 0;
    if (m_fd < 0 || ::ioctl(m_fd, FIONREAD, &queued) != 0) {
        fail();
        return -1;
    }
    return queued;
}

qsizetype SerialPort::read(char* buffer, qsizetype maxSize)
{
    if (m_fd < 0) {
        errno = EBADF;
        fail();
        return -1;
    }
    if (maxSize <= 0)
        return 0;
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, size_t(maxSize));
        if (got >= 0)
            return got;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        fail();
        return -1;
    }
}

bool SerialPort::purge()
{
    if (m_fd < 0) {
        errno = EBADF;
        return fail();
    }
    return ::tcflush(m_fd, TCIOFLUSH) == 0 || fail();
}

bool SerialPort::hungUp() const
{
    if (m_fd < 0)
        return false;
    if (m_lastError == EIO || m_lastError == ENODEV || m_lastError == ENXIO)
        return true;
    pollfd pfd {m_fd, 0, 0};
    return ::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR)) != 0;
}

} // namespace platform
