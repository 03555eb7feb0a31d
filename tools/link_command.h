#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace dh1 {

class CPhoneSession;

// One deskhand-link command on a session whose port the caller has set:
//
//   read handset|sim|schedules|memos|messages
//   write handset|sim|schedules|memos FILE.json
//   delete handset|sim|schedules|memos INDEX...
//   delete-message STORAGE INDEX          (STORAGE 3 or "handset", 4 or "sim")
//
// A write takes a JSON array of records, or an object whose "records" member is one (so that
// a read's output can be written back). Writes and deletes run in one session and stop at the
// first failure; the records in the output are those written.
//
// The result is the object deskhand-link prints:
//   {"ok": bool, "result": m_nResult, "lastError": g_nLastError, "records": [...],
//    "groups": [...] after phonebook reads, "error": "..." for a command line or file refused}
// A failed operation also shows the program's error box ("Failed to read data. - Timeout").
class CLinkCommand {
public:
    explicit CLinkCommand(CPhoneSession& session) : m_session(session) {}

    QJsonObject Run(const QStringList& args);

    // Runs the session over the infrared link on COM port nPort, paced by config.ini in the
    // data folder as the program paces it (the file is created when missing, as the program
    // does).
    void UseIrComm(int nPort);

    static QString Usage();

private:
    QJsonObject Read(const QString& what);
    QJsonObject Write(const QString& what, const QString& path);
    QJsonObject Delete(const QString& what, const QStringList& indices);
    QJsonObject DeleteMessage(const QString& storage, const QString& index);

    // The output of an operation that ran: its records, the error box on failure.
    QJsonObject Finish(bool ok, int failureMessage, const QJsonArray& records);
    QJsonObject Refuse(const QString& error) const;
    // Opens the session for writing or deleting in a book or list; false when it failed.
    bool Open(const QString& what);

    CPhoneSession& m_session;
};

} // namespace dh1
