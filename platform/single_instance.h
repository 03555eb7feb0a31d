#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;

namespace platform {

// One running copy of a program per data folder. The first copy holds a lock on a file named
// after the instance name in the data folder, beside the data file, and listens on a local
// socket beside it; a later copy finds the lock held, sends its message to that socket and is
// told to end. Whatever their environment, two copies on one data folder find one lock, and
// only a user who may write to that folder can take its place.
//
// The lock is the system's (flock): it lasts as long as the process that holds it, however that
// ends. The file's bytes (the holder's process id, for people) decide nothing, so a lock file
// left behind, empty, damaged or written on another host, is taken over by the next start.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // folder: where the lock and the socket live, the program's data folder.
    SingleInstance(const QString& name, const QString& folder);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the first copy (it now holds the lock and listens). False when another
    // copy holds it, after the message has been offered to that copy; also when a lock file is
    // there that this user cannot open, since a copy may hold it (LockProblem() says why). Where no lock
    // can be had at all (a folder that takes no file, a file system without locks) this copy runs
    // without it (true, not held), and says so on stderr.
    bool Acquire(const QByteArray& message);
    bool IsHeld() const { return m_lockFd >= 0; }
    // After a false Acquire: empty when another copy holds the lock, else why its file did not
    // open, for the user to be told: the start ends, and nothing else would say so.
    QString LockProblem() const { return m_strLockProblem; }

    QString LockPath() const;
    QString SocketPath() const;

Q_SIGNALS:
    // A later copy's message arrived.
    void messageReceived(const QByteArray& message);

private:
    // The lock file opened for locking; -1 with errno when it cannot be.
    int OpenLockFile() const;
    void Listen();
    void SendTo(const QByteArray& message) const;

    QString m_strName;
    QString m_strFolder;
    QString m_strLockProblem;
    int m_lockFd = -1; // open, and locked, while held
    QLocalServer* m_pServer = nullptr; // a child
};

} // namespace platform
