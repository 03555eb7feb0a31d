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
// was killed leaves a lock file whose process is gone: the next start takes it over. The lock
// lives only in a folder of the user's own that nobody else may enter: elsewhere another user
// could hold it, or a copy started from another folder would never see it.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // folder: where the lock and the socket live; empty means the user's runtime folder.
    explicit SingleInstance(const QString& name, const QString& folder = QString());
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the first copy (it now holds the lock and listens). False when another
    // copy holds it: the message has been offered to that copy. With no private folder at all
    // this copy runs without the lock (true, not held), and says so on stderr.
    bool Acquire(const QByteArray& message);
    bool IsHeld() const { return m_bHeld; }

    QString LockPath() const;
    QString SocketPath() const;
    // The user's runtime folder: $XDG_RUNTIME_DIR, else "deskhand-<uid>" in the temporary
    // folder, else "deskhand-runtime" in the user's cache folder; the first that is a private
    // folder (IsPrivateFolder). Empty when none is.
    static QString RuntimeFolder();
    // Whether path is a folder (not a link) owned by this user with no access for group or
    // others, made with mode 0700 when it is missing.
    static bool IsPrivateFolder(const QString& path);

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
