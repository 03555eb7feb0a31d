#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace platform {

// One running copy of a program per user. The first copy holds a lock file named after the
// instance name in the user's runtime folder and listens on a local socket beside it; a later
// copy finds the lock held, sends its message to that socket and is told to end. A copy that
// was killed leaves a lock file whose process is gone: the next start takes it over.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // folder: where the lock and the socket live; empty means the user's runtime folder.
    explicit SingleInstance(const QString& name, const QString& folder = QString());
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the first copy (it now holds the lock and listens). False when another
    // copy holds it: the message has been offered to that copy.
    bool Acquire(const QByteArray& message);
    bool IsHeld() const { return m_bHeld; }

    QString LockPath() const;
    QString SocketPath() const;
    // The user's runtime folder ($XDG_RUNTIME_DIR, else a private folder Qt makes).
    static QString RuntimeFolder();

Q_SIGNALS:
    // A later copy's message arrived.
    void messageReceived(const QByteArray& message);

private:
    void Listen();
    void SendTo(const QByteArray& message) const;

    QString m_strName;
    QString m_strFolder;
    std::unique_ptr<QLockFile> m_pLock;
    QLocalServer* m_pServer = nullptr; // a child
    bool m_bHeld = false;
};

} // namespace platform
