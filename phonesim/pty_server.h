#pragma once

#include "phonesim/output_queue.h"

#include <QByteArray>
#include <QString>

#include <csignal>

namespace phonesim {

class Phone;

// Serves a phone on a pseudo-terminal: the slave side is linked at a path of the user's
// choice, so that a COM port mapped there (DESKHAND_COM<n>) reaches the phone. The server keeps
// its own descriptor of the slave open, so that clients may close and reopen the port as
// often as they like; it never reads from it. The slave is put in raw mode. A closed-line
// fault hangs the terminal up and links a fresh one at the same path, like a cable pulled and
// plugged in again.
//
// When the last client closes the terminal, the line starts fresh for the next one: what the
// phone still had to send is dropped, and a client that vanished without closing (killed in
// the middle of a session) leaves neither its session, nor a half-typed command, nor its
// exclusive claim on the terminal behind. Streams go at the speed the client set.
class PtyServer {
public:
    PtyServer(Phone& phone, const QString& linkPath);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens the terminal and links it; refuses to replace anything at the path but a symlink.
    bool start(QString* error);
    QString slavePath() const { return m_slavePath; }

    // Serves until *stop is set (by a signal handler, say).
    void run(const volatile std::sig_atomic_t* stop);
    // One round: takes the PC's input and sends what is due, waiting at most maxWaitMs.
    // False when the terminal failed and could not be replaced.
    bool serveOnce(int maxWaitMs);

private:
    bool openTerminal(QString* error);
    void closeTerminal();
    bool link(QString* error);
    void unlinkIfOurs();
    void sendDue(qint64 nowMs);
    void watchClients();
    void clientClosed();
    int lineBaud() const;

    Phone& m_phone;
    QString m_linkPath;
    QString m_slavePath;
    int m_master = -1;
    int m_slave = -1;
    int m_watch = -1; // inotify: clients closing the slave
    OutputQueue m_queue;
    QByteArray m_unsent; // taken from the queue, not yet accepted by the terminal
};

} // namespace phonesim
