#pragma once

#include "link2/at_port.h"
#include "link2/progress_view.h"
#include "link2/records.h"

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace dh2 {

class CModelProfile;
struct MessageListEntry;

// Plain text for a quoted command field: without the double quote, which would end the field,
// control characters (CR, Ctrl-Z and ESC end or cancel the command; TAB, BS, DEL and the others
// no field holds) and halves of surrogate pairs.
QString CommandSafe(const QString& text);

// The transport, the wake-up delay and the last reply and result, shared by every operation.
class CPhoneSessionBase {
public:
    virtual ~CPhoneSessionBase();

    CATPort m_port;
    int m_nWakeDelayMs = 100;
    // The reply of the last command, unless the operation kept its own.
    QString m_strReply;
    // A transport code (AtResult) or a session code (SessionResult).
    int m_nResult = 0;
    // The transport's result behind a session code (the identification or a list's command that
    // got no answer, or an error, for 10, 16 and 17), 0 when the session judged an answer that
    // came.
    int m_nCause = 0;

    // True after a write, delete, store or send failed whose deciding command went out without
    // an answer (a lost line, silence, a call, a cancel while waiting): the phone may have
    // carried it out. The caller reports it as unconfirmed, never as a plain failure.
    bool Unconfirmed() const { return m_bUnconfirmed; }

protected:
    bool m_bUnconfirmed = false;
};

// Why the phone cannot keep a record of a schedule list as it is.
enum class ScheduleProblem {
    NoStart,        // the start is no date
    StartYear,      // the start's year is outside the phone's calendar
    AlarmYear,      // the alarm would ring before the calendar's first year
    Kind,           // neither a schedule entry nor a memo
    Repeat,
    Alarm,
    Index,          // outside the list's places
    DuplicateIndex, // another live record of the list has the same place
};

// The first record of a list the phone cannot keep as it is (records marked deleted are not
// sent and do not count), by its position in the list.
struct ScheduleListFault {
    size_t record = 0;
    ScheduleProblem problem = ScheduleProblem::NoStart;
};
std::optional<ScheduleListFault> CheckScheduleList(const RecordList<CScheduleEntry>& list);

// Result codes of the session itself, beside the transport's (AtResult).
enum SessionResult : int {
    SESSION_BAD_BULK_READ = 8, // the reply of the whole-book read did not parse
    SESSION_BAD_LIST = 10,     // a list (groups, a SIM half, schedules) could not be read or parsed,
                               // or a list write was refused before any command
    SESSION_BAD_ENTRY = 11,    // a phonebook entry did not parse
    SESSION_NOTHING_SENT = 12, // a value the phone cannot keep: refused before any command
    SESSION_NOT_SUPPORTED = 16, // the phone is no supported model
    SESSION_RESYNC_FAILED = 17,
    SESSION_NO_PORT = 18,      // the port did not open: nothing was sent
    SESSION_WAKE_UP_FAILED = 19,
    SESSION_BAD_GROUPS = 22,   // the caller-group table did not parse
};

// Speaks the second family's AT dialect: wakes the phone (ESC, "AT"), identifies its model and
// sets the model profile, opens the synchronisation mode ("AT+SBEG", character set "SYNC"),
// reads, writes and deletes the handset ("PM") and SIM ("SM") books with the caller groups, and
// reads and writes the combined list of schedule entries and memos. A read connects and
// disconnects by itself; writes and deletes run between Connect (or a book selection) and
// Disconnect, which the caller issues around a batch. After a successful wake-up every
// operation that fails leaves through exactly one Disconnect, which closes the progress dialog
// and re-enables the main window.
//
// The last command's result stays in m_nResult, its reply in m_strReply.
class CPhoneSession : public CPhoneSessionBase {
public:
    // The unit limit of a text field in Base64.
    static constexpr int kTextUnitLimit = 1024;
    // The phone's combined list of schedule entries and memos holds at most this many.
    static constexpr int kScheduleCapacity = 20;
    // A handset write command of this length or more goes without its fax text.
    static constexpr int kMaxHandsetCommand = 226;

    CPhoneSession();
    ~CPhoneSession() override;
    CPhoneSession(const CPhoneSession&) = delete;
    CPhoneSession& operator=(const CPhoneSession&) = delete;

    // Connection.
    bool Connect();
    bool Disconnect();
    bool Handshake();
    bool CheckModel();
    bool SetEcho(int n);
    bool Resync();

    // Phonebooks and groups.
    bool SelectHandsetBook();
    bool SelectSimBook();
    bool ReadGroups();
    bool ReadHandsetBook(RecordList<CPhoneEntry>& list);
    bool ReadSimBook(RecordList<CPhoneEntry>& list);
    bool AddHandsetEntry(CPhoneEntry& entry);
    bool AddSimEntry(CPhoneEntry& entry);
    // Whether the phone keeps a contact's caller group: -1 (none) or a position of the group
    // table; any group on a model without groups, which sends none. A write of any other group
    // is refused before it goes out (the phone would store it as none).
    bool GroupFits(int group) const;
    bool DeleteHandsetEntry(int nIndex);
    bool DeleteSimEntry(int nIndex);
    // The write commands; the entry's fields are cut to what is sent. A handset entry whose line
    // would be too long goes without its fax, which is emptied in the entry (*faxLeftOut).
    QByteArray BuildHandsetWrite(CPhoneEntry& entry, bool* faxLeftOut = nullptr) const;
    QByteArray BuildSimWrite(CPhoneEntry& entry) const;

    // Schedule entries and memos.
    bool ReadSchedules(RecordList<CScheduleEntry>& list);
    // Writes the whole list: every record not marked deleted, in order. The records written
    // become phone records (list 3, unchanged) once the phone has taken the whole list.
    bool WriteSchedules(const RecordList<CScheduleEntry>& list);
    // The "AT+SSCM" command of one record; its subject is cut to what is sent. Its moments go as
    // they are: WriteSchedules sends only records CheckScheduleList passes.
    QByteArray BuildScheduleWrite(CScheduleEntry& entry) const;

    // Short messages. The listings connect and disconnect by themselves, and so do storing
    // and sending; a delete runs between Connect and Disconnect.
    // The text-mode listing of every stored message.
    bool ReadMessagesText(RecordList<CSmsEntry>& list);
    // The PDU-mode listing; the messages the decoder leaves (one part of a longer text, a PDU
    // that does not decode) are read again one by one in text mode.
    bool ReadMessages(RecordList<CSmsEntry>& list);
    // Stores the entry's text on the SIM through the text prompt; sets the entry's index.
    // Refused before the prompt when the SIM's storage is full ("Memory is full").
    bool StoreMessage(CSmsEntry& entry);
    // Sends the stored message at the entry's index to the entry's number, cleaned by
    // SendNumber; refused before any command when it has none.
    bool SendStoredMessage(const CSmsEntry& entry);
    // The most characters of a number a stored message is sent to.
    static constexpr int kMaxSendNumber = 19;
    // The number a stored message is sent to: the digits, '*', '#' and a leading '+' of
    // `number`. Nothing when no digit or symbol is left, or more than kMaxSendNumber (a number
    // cut short would reach someone else).
    static std::optional<QString> SendNumber(const QString& number);
    bool DeleteMessage(int nIndex);
    // The text of a text-mode entry by the coding mark that ends its header.
    static QString DecodeMessageText(const QString& text, QChar codingMark);

    static bool GetReplyLine(QString& out, const QString& reply, int n, const QString& prefix);
    QString EncodeBase64Text(const QString& text) const;
    // The text of a field; a field the codec refuses gives an empty text and *ok false.
    QString DecodeBase64Text(const QString& field, bool* ok = nullptr) const;
    bool IsGsmText(const QString& text) const;

    // The progress view of the running operation.
    void OpenProgress();
    void CloseProgress();
    // A string-table text, its placeholders removed.
    void ShowProgress(int nStringId);
    // A string-table text with its "%d" filled in, cut to 511 bytes; then 50 ms pass. Only
    // while a view is held.
    template <typename... Ints>
    void ShowProgressF(int nStringId, Ints... values)
    {
        ShowProgressText(nStringId, {int(values)...});
    }
    common::IProgressView* Progress() const { return m_pProgress.get(); }

    // Limits, replaced by what the phone reports.
    int m_nHandsetCapacity = 200;
    int m_nHandsetNameLimit = 20;
    int m_nHandsetNumberLimit = 20;
    int m_nSimCapacity = 100;
    int m_nSimNameLimit = 12;
    int m_nSimNumberLimit = 20;
    // Free or used indices, filled by the document for its writes.
    std::vector<int> m_arrIndices;
    // Set when the phone gives a text-mode message's text as Base64 of UCS-2; nothing in this
    // program sets it.
    bool m_bTextIsBase64 = false;

private:
    // One command through the transport; its result goes to m_nResult, its reply to m_strReply.
    // A phone plugged in again since the last command has its session opened again first.
    int Send(const QByteArray& command, bool bWait = true);
    // Wakes a phone plugged in again during an operation and sends again the commands that set
    // up the operation's session; false (m_nResult saying why) when it does not take them.
    bool ReopenSession();
    // Sends commands in order, each waited, stopping at the first that does not answer OK.
    bool SendAll(std::initializer_list<const char*> commands);
    void ShowProgressText(int nStringId, std::initializer_list<int> values);
    // Opens the port for an operation; when it does not open, m_nResult says so (18).
    bool OpenPort();
    // Port, wake-up and identification: the start of every operation, with a read's loading
    // text after the wake-up. On failure m_nResult says why (19, 16) and the session is closed.
    bool OpenSession(std::optional<std::pair<int, int>> loading = std::nullopt);
    // The opening of a read: OpenSession, the loading text and Resync (17).
    bool OpenRead(int nFirst, int nLast);
    // Ends an operation: disconnects and returns whether the last command succeeded.
    bool Finish();
    bool Fail(int nResult);
    // Sets a session code, keeping the transport's result it stands for as the cause.
    void SetResult(int nResult);
    // The handset book's limits from its "AT+CPBR=?" reply.
    void NoteHandsetLimits(const QString& reply);
    // Reads the SIM book's range and limits; false when the SIM is not ready.
    bool ReadSimLimits(int& capacity);
    // Sends a read command and appends the entries its reply lists.
    bool ReadBookRange(const QByteArray& command, bool sim, RecordList<CPhoneEntry>& list);
    bool ReadSimEntries(int capacity, RecordList<CPhoneEntry>& list);
    bool SelectBook(const char* command, bool sim);
    // The caller-group check of a handset write: false (and the box) when the group is full.
    bool CountInGroup(CPhoneEntry& entry);
    // Ends an operation that failed before its deciding command went out (disconnecting when
    // asked): whatever became of the commands before, the phone's contents are as they were.
    bool FailUnchanged(bool disconnect);
    // Refuses a command before it goes out: SESSION_NOTHING_SENT, false.
    bool NothingSent();
    // Deletes the entry at an index of the selected book, 1 to last.
    bool DeleteEntry(int nIndex, int nLast);
    // Port, wake-up, the loading text and identification of a message listing.
    bool OpenMessageRead();
    // Appends the record of a text-mode entry; false (result 11) when its header does not parse.
    bool AppendTextMessage(const MessageListEntry& item, RecordList<CSmsEntry>& list);
    // The records of a text-mode listing, given the storage's count of messages when the phone
    // told it.
    void ParseTextMessageList(const QString& reply, std::optional<int> used, RecordList<CSmsEntry>& list);
    // Reads the message at an index in text mode and appends it; the result (AT_OK, the
    // transport's, or 11 when its header does not parse).
    int ReadTextMessage(int index, RecordList<CSmsEntry>& list);
    // Reads the messages of m_arrReRead in text mode and appends them.
    void ReReadMessages(RecordList<CSmsEntry>& list);

    // The commands that set up the phone for the running operation (echo, synchronisation
    // mode, character set, errors, storages, message format), in order, each with its wait,
    // as they answered; empty while no operation has the phone.
    std::vector<std::pair<QByteArray, bool>> m_arrModeCommands;
    bool m_bReopening = false;
    std::unique_ptr<common::IProgressView> m_pProgress;
    // The indices a PDU listing leaves to the text re-read.
    std::vector<int> m_arrReRead;
};

} // namespace dh2
