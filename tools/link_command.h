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
// Every record and index is checked against what the phone keeps before the port is opened
// (indices within the lists as the program knows them, caller groups 0-6, schedule starts from
// 2000 to 2099, known repeats and alarms), and so is the baud rate.
//
// The result is the object deskhand-link prints:
//   {"ok": bool, "result": m_nResult, "lastError": g_nLastError, "records": [...],
//    "groups": [...] after phonebook reads, "deleted": [...] after deletes,
//    "unconfirmed": [...], "error": "..." on every failure}
// "unconfirmed" holds the record (or index) whose write (or delete) went out without an answer:
// the phone may have carried it out. "error" names the reason and the record or index: a
// command line or file refused, a port that did not open ("cannot use COM n (path): reason"),
// or what ended the operation.
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

    // The output of an operation that ran: its records; on failure the error naming the reason
    // (after `subject`, the record or index it failed at, when given) and the error box.
    QJsonObject Finish(bool ok, int failureMessage, const QJsonArray& records, const QString& subject = {});
    QString FailureText(const QString& subject) const;
    QJsonObject Refuse(const QString& error) const;
    // Opens the session for writing or deleting in a book or list; false when it failed.
    bool Open(const QString& what);

    CPhoneSession& m_session;
};

} // namespace dh1
