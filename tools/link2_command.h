#pragma once

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
// "records" comes with reads and writes (the records as written, cut to what the phone took),
// "deleted" with deletes (the indices the phone confirmed), "unconfirmed" with a write or delete
// whose last command went out without an answer (the phone may have carried it out), "groups"
// with the book and group reads, "profile" once the phone was asked who it is. "error" says why
// a failure failed: a command line or file refused, a port that did not open ("cannot use COM
// n", with the reason), or what ended the operation.
// decode-pdu prints {"ok", "record", "elements": [{"type", "text"}]}, "text" for pictures,
// animations and melodies: the bitmap as text, or the normalised iMelody.
class CLinkCommand {
public:
    explicit CLinkCommand(CPhoneSession& session) : m_session(session) {}

    QJsonObject Run(const QStringList& args);

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

    // The outcome of an operation that ran; a failure's reason is the result's unless given.
    QJsonObject Outcome(bool ok, const QString& reason = {}) const;
    QJsonObject Refuse(const QString& error) const;

    CPhoneSession& m_session;
};

} // namespace dh2
