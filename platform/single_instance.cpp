#include "platform/single_instance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
constexpr int kSendWaitMs = 1000;
constexpr qint64 kMaxMessage = 256;
} // namespace

SingleInstance::SingleInstance(const QString& name, const QString& folder)
    : m_strName(name), m_strFolder(folder.isEmpty() ? RuntimeFolder() : folder)
{
}

SingleInstance::~SingleInstance()
{
    if (m_pServer)
        m_pServer->close();
    if (m_pLock)
        m_pLock->unlock();
}

QString SingleInstance::RuntimeFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    const QString candidates[] = {
        qEnvironmentVariable("XDG_RUNTIME_DIR"),
        QDir::tempPath() + QStringLiteral("/deskhand-") + QString::number(::geteuid()),
        cache.isEmpty() ? QString() : cache + QStringLiteral("/deskhand-runtime"),
    };
    for (const QString& folder : candidates) {
        // A relative path would name a different folder from every working folder.
        if (!folder.isEmpty() && QDir::isAbsolutePath(folder) && IsPrivateFolder(folder))
            return folder;
    }
    return {};
}

bool SingleInstance::IsPrivateFolder(const QString& path)
{
    const QString parent = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(parent))
        QDir().mkpath(parent);
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info {};
    return ::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
           && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

QString SingleInstance::LockPath() const
{
    return QDir(m_strFolder).filePath(m_strName + QStringLiteral(".lock"));
}

QString SingleInstance::SocketPath() const
{
    return QDir(m_strFolder).filePath(m_strName + QStringLiteral(".socket"));
}

bool SingleInstance::Acquire(const QByteArray& message)
{
    if (m_bHeld)
        return true;
    if (m_strFolder.isEmpty() || !IsPrivateFolder(m_strFolder)) {
        qWarning("No private folder for the lock of %s: another copy that runs would not be noticed",
                 qPrintable(m_strName));
        return true;
    }
    m_pLock = std::make_unique<QLockFile>(LockPath());
    // Age alone never makes a lock stale: only a lock whose process is gone is taken over.
    m_pLock->setStaleLockTime(0);
    if (!m_pLock->tryLock(0)) {
        m_pLock.reset();
        SendTo(message);
        return false;
    }
    m_bHeld = true;
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
