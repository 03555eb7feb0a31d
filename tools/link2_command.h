#pragma once

#include "link2/records.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace dh2 {

class CPhoneSession;

// One deskhand2-link command on a session whose port the caller has set:
//
//   identify                        wake, identify and open the phone, then close it
//   read handset|sim|groups|schedules   (schedules: the combined list, memos included)
//   write handset|sim FILE.json     each record at the index it holds, in one session
//   write schedules FILE.json       the whole list
//   delete handset|sim INDEX...
//   read messages|messages-text     the PDU listing (with its text re-read), or the text one
//   store-message TEXT              stored on the SIM; the record comes back with its index
//   send-stored INDEX NUMBER
//   delete-message INDEX
//   decode-pdu HEX                  no phone: a listed PDU as the listing reads it
//
// FILE.json is an array of records in the form read prints, or an object whose "records"
// member is one. The result is the object deskhand2-link prints:
//   {"ok": bool, "result": m_nResult, "records": [...], "groups": [...], "profile": {...},
//    "deleted": [...], "unconfirmed": [...], "error": "..."}
// "records" comes with reads and writes (the records as written, cut to what the phone took;
// a schedule list or a stored message only when the phone confirmed it), "deleted" with deletes
// (the indices the phone confirmed), "sent" with send-stored (the index, once confirmed),
// "unconfirmed" with a write, delete, store or send whose deciding command went out without an
// answer (the phone may have carried it out: the records, indices or list it may hold; a stored
// message's record has no index, since none is sure), "groups" with the book and group reads,
// "profile" once the phone was asked who it is. "error" says why a failure failed: a command
// line or file refused (a value the phone cannot keep among them, before any write), a port
// that did not open ("cannot use COM n", with the reason), or what ended the operation.
// decode-pdu prints {"ok", "record", "elements": [{"type", "text"}]}, "text" for pictures,
// animations and melodies: the bitmap as text, or the normalised iMelody.
class CLinkCommand {
public:
    explicit CLinkCommand(CPhoneSession& session) : m_session(session) {}

    QJsonObject Run(const QStringList& args);
    // True when the last Run refused its command line or file before the phone was touched.
    bool RefusedCommandLine() const { return m_bRefused; }

    static QString Usage();

private:
    QJsonObject Identify();
    QJsonObject Read(const QString& what);
    QJsonObject Write(const QString& what, const QString& path);
    QJsonObject Delete(const QString& what, const QStringList& indices);
    QJsonObject StoreMessage(const QString& text);
    QJsonObject SendStored(const QString& index, const QString& number);
    QJsonObject DeleteMessage(const QString& index);
    QJsonObject DecodePdu(const QString& hex) const;

    QJsonObject WriteSchedules(const QString& path, RecordList<CScheduleEntry>& entries);
    // Why the phone cannot keep a record of the file (an index outside the book, a caller group
    // outside the table), once it told its books; empty when it can keep them all.
    QString BookProblem(const RecordList<CPhoneEntry>& contacts, bool sim) const;

    // The outcome of an operation that ran; a failure's reason is the result's unless given, with
    // `list` naming what a list read was reading.
    QJsonObject Outcome(bool ok, const QString& reason = {}, const QString& list = {}) const;
    // A command line or file refused before the phone was touched.
    QJsonObject Refuse(const QString& error);

    CPhoneSession& m_session;
    bool m_bRefused = false;
};

} // namespace dh2
