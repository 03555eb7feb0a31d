#pragma once

#include "link/at_port.h"
#include "link/progress_view.h"
#include "link/records.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

namespace common {
struct IndexRange;
}

namespace dh1 {

// The transport and its port settings, shared by the session of each phone family.
class CPhoneSessionBase {
public:
    virtual ~CPhoneSessionBase();

    // The cable port and baud rate of the transport; nValue is kept and read by nothing.
    void SetPort(int nPort, int nBaud, int nValue);

    CATPort m_port;
    int m_nPortValue = 100;
};

// Result codes of the session itself, beside the transport's (AtResult).
enum SessionResult : int {
    SESSION_NOTHING_SENT = 0, // refused before any command went out
    SESSION_FDN = 10,         // the SIM book answered as fixed dialling numbers
    SESSION_BAD_REPLY = 15,   // a list or range reply could not be parsed
    SESSION_BAD_LINE = 16,    // a list line could not be turned into a record
    SESSION_NO_PORT = 17,     // the port did not open
    SESSION_NO_INDEX = 28,    // the phone took a new entry but named no index for it
};

// The last-error codes (g_nLastError) the session records for failures whose result carries
// none of its own, so that the error box always names a reason. The transport's own codes
// (5-8, 11, 14, 25, 26) stay as it records them.
inline constexpr int kLastErrorRefused = 3;      // the phone answered ERROR
inline constexpr int kLastErrorPhoneError = 4;   // +CME, +CMS or +EXT ERROR with another code
inline constexpr int kLastErrorBadReply = 15;    // an answer that could not be read
inline constexpr int kLastErrorPortInvalid = 17; // the port did not open
inline constexpr int kLastErrorLineLost = 19;    // the line failed or went away
inline constexpr int kLastErrorNothingSent = 27; // refused before anything was sent
inline constexpr int kLastErrorNoIndex = 28;     // a new entry whose index the phone did not name

// Speaks the first phone family's AT dialect: session opening and closing, the handset and SIM
// phonebooks with the caller groups, schedule entries, memos and stored messages. A read
// connects and disconnects by itself; writes and deletes run between a Connect (or a book
// selection) and a Disconnect that the caller issues around a batch. The result of the last
// command stays in m_nResult; classified phone errors also in g_nLastError.
class CPhoneSession : public CPhoneSessionBase {
public:
    // Commands longer than this go in two pieces.
    static constexpr int kMaxCommandPiece = 320;
    // The unit limit of a text field in Base64.
    static constexpr int kTextUnitLimit = 1024;

    CPhoneSession();
    ~CPhoneSession() override;
    CPhoneSession(const CPhoneSession&) = delete;
    CPhoneSession& operator=(const CPhoneSession&) = delete;

    // Session opening and closing.
    bool Connect(bool bForMessages = false);
    bool Disconnect();
    bool Handshake();
    bool SetEcho(int n);

    static bool GetReplyLine(QString& out, const QString& text, int n, const QString& prefix);

    // Phonebooks and groups.
    bool SelectHandsetBook();
    bool SelectSimBook();
    bool ReadHandsetBook(RecordList<CPhoneEntry>& list);
    bool ReadSimBook(RecordList<CPhoneEntry>& list);
    bool ParseHandsetBookReply(RecordList<CPhoneEntry>& list);
    bool ParseSimBookReply(RecordList<CPhoneEntry>& list);
    bool ParseHandsetEntry(const QString& line, RecordList<CPhoneEntry>& list);
    bool ParseSimEntry(const QString& line, RecordList<CPhoneEntry>& list);
    bool WriteHandsetEntry(CPhoneEntry& record);
    bool WriteSimEntry(CPhoneEntry& record);
    bool DeleteHandsetEntry(int nIndex);
    bool DeleteSimEntry(int nIndex);
    // The command text; the record's fields are cut to what is sent.
    QByteArray BuildHandsetWrite(CPhoneEntry& record);
    QByteArray BuildSimWrite(CPhoneEntry& record, bool bWide);

    // Schedule entries and memos.
    bool ReadSchedules(RecordList<CScheduleEntry>& list);
    bool ParseScheduleReply(RecordList<CScheduleEntry>& list);
    bool ParseScheduleEntry(const QString& line, RecordList<CScheduleEntry>& list);
    // Empty when the start lies outside what the date field can carry (2000-2099).
    QByteArray BuildScheduleWrite(CScheduleEntry& record);
    bool WriteSchedule(CScheduleEntry& record);
    bool DeleteSchedule(int nIndex);
    bool ReadMemos(RecordList<CMemoEntry>& list);
    bool ParseMemoReply(RecordList<CMemoEntry>& list);
    bool ParseMemoEntry(const QString& line, RecordList<CMemoEntry>& list);
    QByteArray BuildMemoWrite(CMemoEntry& record);
    bool WriteMemo(CMemoEntry& record);
    bool DeleteMemo(int nIndex);

    // Stored messages (storage 3 handset, 4 SIM).
    bool ReadMessages(RecordList<CSmsEntry>& list);
    bool ParseMessageList(RecordList<CSmsEntry>& list, int nStorage);
    bool ParseMessageHeader(const QString& segment, CSmsEntry& record);
    bool AfterReadMessages(RecordList<CSmsEntry>& list);
    bool DeleteMessage(int nIndex, int nStorage);
    // Sending is not offered: always false, sends nothing.
    bool SendSms(CSmsEntry& record, bool bSend, bool bStore);

    // Pairs of hexadecimal digits (0-9, A-F) to bytes, up to the end or the first invalid pair,
    // which is reported on stderr. Returns the number of bytes in out.
    static qsizetype HexToBytes(QByteArray& out, QStringView hex);

    // Text fields as the phone carries them.
    QString EncodeBase64Text(const QString& text) const;
    // The text of a field; a field the codec refuses gives an empty text and *ok false.
    QString DecodeBase64Text(const QString& field, bool* ok = nullptr) const;
    static int SeptetsToOctets(int n) { return (n * 7 + 7) / 8; }

    // The progress view of the running operation.
    void OpenProgress();
    void CloseProgress();
    void ShowProgress(int nStringId);
    // Fills the format's "%d" placeholders with the values in order; a placeholder without a
    // value cuts the text before it. The text is cut to 511 ANSI bytes. Only while a view exists.
    template <typename... Ints>
    void ShowProgressF(const QString& format, Ints... values)
    {
        ShowProgressText(format, {int(values)...});
    }
    void ShowProgressText(const QString& format, std::initializer_list<int> values);
    static QString FormatProgress(const QString& format, std::initializer_list<int> values);
    common::IProgressView* Progress() const { return m_pProgress.get(); }

    QString m_strReply;
    int m_nResult = 0;
    // The last write or delete went out whole and its answer never came (silence, a lost line,
    // a call, an abort while waiting): the phone may have carried it out.
    bool m_bUnconfirmed = false;
    bool m_bConnected = false;
    int m_nOpenDelayMs = 100;
    int m_nHalfPauseMs = 10;
    int m_nBlockSize = 10;

private:
    // One command through the transport; its result goes to m_nResult, its reply to m_strReply.
    int Send(const QByteArray& command, bool bWait = true);
    // A command that may exceed one piece: the first piece unwaited, a pause, the rest waited.
    int SendLong(const QByteArray& command);
    // Ends a failed read: disconnects and returns false.
    bool FailRead();
    // Ends a read: disconnects and returns whether the last step succeeded.
    bool FinishRead();
    // Refuses a command before it goes out: SESSION_NOTHING_SENT, false.
    bool NothingSent();
    // Records the reason of a failed m_nResult in g_nLastError, where the transport gave none.
    void NoteFailure();
    // A write or delete: sent (in two pieces when long), and m_bUnconfirmed learns whether its
    // answer came.
    int SendAction(const QByteArray& command, bool bLong = false);
    // A value parsed from a reply; a missing one marks the reply bad.
    template <typename T>
    std::optional<T> Required(std::optional<T> value)
    {
        if (!value)
            m_nResult = SESSION_BAD_REPLY;
        return value;
    }

    bool ReadGroups();
    // The selected book's used count, then its entries from index `start` to `last`.
    void ReadUsedEntries(RecordList<CPhoneEntry>& list, int start, int last, bool handset);
    // The entries from index `start` to `last` in blocks, stopping at `used` entries.
    bool ReadBookBlocks(RecordList<CPhoneEntry>& list, int start, int last, int used, bool handset);
    // A list read with one command ("AT+XXXX") over the range its test command gives; noteSizes
    // takes the trimmed test reply and the range, parseReply the list reply. Disconnects.
    bool ReadWholeList(const QByteArray& command, int nProgressId,
        const std::function<void(const QString&, const common::IndexRange&)>& noteSizes,
        const std::function<bool()>& parseReply);
    // Applies a line parser to every record of a list reply: the lines that begin with the
    // prefix ("+XXXX") and ':', blanks after it cut; with secondLine, each joined with the line
    // after it that secondLine accepts. Every other line is set aside.
    bool ParseListReply(const QString& prefix, const std::function<bool(QStringView)>& secondLine,
        const std::function<bool(const QString&)>& parseLine);
    bool ParseListReply(const QString& prefix, const std::function<bool(const QString&)>& parseLine);
    // The line of the reply that answers the command ("+XXXX: ..."); a missing one marks the
    // reply bad.
    std::optional<QString> AnswerLine(const QString& prefix);
    // Sends a write; the entry's index becomes the one the reply names, where it names one. A
    // new entry (-1) whose answer names none fails with SESSION_NO_INDEX.
    bool SendWrite(const QByteArray& command, int& nIndex, bool bLong = false);
    // Deletes the entry at an index the caller checked ("AT+XXXX"), after the progress text
    // and the pause the list wants.
    bool SendDelete(const QByteArray& command, int nIndex, int nProgressId, int nPauseMs = 0);

    std::unique_ptr<common::IProgressView> m_pProgress;
    // A RING came during a command of this operation that the phone still completed.
    bool m_bCallComing = false;
};

} // namespace dh1
