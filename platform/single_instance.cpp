#include "platform/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {
constexpr int kSendWaitMs = 1000;
constexpr qint64 kMaxMessage = 256;
} // namespace

SingleInstance::SingleInstance(const QString& name, const QString& folder) : m_strName(name), m_strFolder(folder) {}

SingleInstance::~SingleInstance()
{
    if (m_pServer)
        m_pServer->close();
    // Closing drops the lock. The file stays: removing it could let a copy that opened it just
    // now lock a file that no later copy would see.
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString SingleInstance::LockPath() const
{
    return QDir(m_strFolder).filePath(m_strName + QStringLiteral(".lock"));
}

QString SingleInstance::SocketPath() const
{
    return QDir(m_strFolder).filePath(m_strName + QStringLiteral(".socket"));
}

int SingleInstance::OpenLockFile() const
{
    const QByteArray path = QFile::encodeName(LockPath());
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Never through a link: the lock's name itself is what copies agree on.
        int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        // A file this user may only read locks all the same.
        if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
            fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0 || errno != ELOOP)
            return fd;
        // A link at the name is replaced, as saves replace it.
        if (::unlink(path.constData()) != 0)
            return -1;
    }
    errno = ELOOP;
    return -1;
}

bool SingleInstance::Acquire(const QByteArray& message)
{
    if (IsHeld())
        return true;
    m_strLockProblem.clear();
    const int fd = OpenLockFile();
    if (fd < 0) {
        const int code = errno;
        const QByteArray why = qt_error_string(code).toLocal8Bit();
        if (code == ENOENT) {
            // Nothing there, and the folder takes no file: nobody holds a lock here.
            qWarning("Cannot make the lock %s (%s): another copy that runs would not be noticed",
                     qPrintable(LockPath()), why.constData());
            return true;
        }
        m_strLockProblem = qt_error_string(code);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        ::close(fd);
        if (code == EWOULDBLOCK) {
            SendTo(message);
            return false;
        }
        qWarning("Cannot lock %s (%s): another copy that runs would not be noticed", qPrintable(LockPath()),
                 qt_error_string(code).toLocal8Bit().constData());
        return true;
    }
    m_lockFd = fd;
    // Who holds it, for people who look; a file opened only for reading keeps its bytes.
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    [[maybe_unused]] const bool written
        = ::ftruncate(fd, 0) == 0 && ::pwrite(fd, pid.constData(), size_t(pid.size()), 0) == pid.size();
    Listen();
    return true;
}

void SingleInstance::Listen()
{
    // The socket of a copy that was killed may still be there; holding the lock makes it ours.
    QLocalServer::removeServer(SocketPath());
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(SocketPath()))
        return; // the lock still keeps later copies out; they only cannot say hello
    connect(m_pServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                const QByteArray message = socket->read(kMaxMessage);
                if (!message.isEmpty())
                    Q_EMIT messageReceived(message);
                socket->disconnectFromServer();
            });
        }
    });
}

void SingleInstance::SendTo(const QByteArray& message) const
{
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(kSendWaitMs))
        return; // the first copy is still starting, or gone: nothing to tell
    socket.write(message.left(kMaxMessage));
    socket.waitForBytesWritten(kSendWaitMs);
    socket.disconnectFromServer();
}

} // namespace platform
