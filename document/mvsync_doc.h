#pragma once

#include "docshared/document_base.h"
#include "link/phone_session.h"
#include "link/records.h"

#include <QStringList>

#include <memory>
#include <vector>

class CArchive;

namespace dh1 {

struct LocalData;

// The single document of Deskhand. It owns every record the program holds, in eleven lists
// chosen by kind and list number, the phone session, the seven group names and the port
// settings. Views never keep records of their own: they ask for counts, entries and row texts
// and hand records over to be stored. Whenever a list is replaced or emptied the document
// emits changed(), so that no view row can outlive its record.
class CMVsyncDoc : public docshared::CDocumentBase {
    Q_OBJECT

public:
    static constexpr int kGroupCount = 7;
    // The start-up box for a single-instance lock this user cannot open.
    static constexpr int kLockUnavailableText = 64006;

    explicit CMVsyncDoc(QObject* parent = nullptr);
    ~CMVsyncDoc() override;

    // Lists by kind; a kind out of range selects nothing (count 0, entry null).
    int GetContactCount(int kind) const;
    CPhoneEntry* GetContact(int kind, int i) const;
    int GetScheduleCount(int kind) const;
    CScheduleEntry* GetSchedule(int kind, int i) const;
    int GetMemoCount(int kind) const;
    CMemoEntry* GetMemo(int kind, int i) const;
    int GetMessageCount() const;
    CSmsEntry* GetMessage(int i) const;

    void GetColumnFormat(QString& format, int kind) const;
    void ContactToRow(int kind, const CPhoneEntry& record, QStringList& row) const;
    void ScheduleToRow(const CScheduleEntry& record, QStringList& row) const;
    void MemoToRow(const CMemoEntry& record, QStringList& row) const;
    void MessageToRow(const CSmsEntry& record, QStringList& row) const;
    // "Unsent", "Sent", "Unread" or "Read" for the statuses 1 to 4, else empty.
    static QString MessageStatusText(int status);
    // The name of a caller group, or an empty text for an index outside the seven groups.
    QString GroupName(int group) const;

    // Stores a copy into the PC list (kind 1) or the PIM-side list (any other kind): updates the
    // live entry with the same phone (or SIM) index, else appends. The argument stays the caller's.
    CPhoneEntry* StoreContact(int kind, const CPhoneEntry& record);
    CScheduleEntry* StoreSchedule(int kind, const CScheduleEntry& record);
    CMemoEntry* StoreMemo(int kind, const CMemoEntry& record);
    CSmsEntry* AddOutgoingMessage(const CSmsEntry& record);

    // A view's reference to a record: its identity, good while the record is in its list.
    // Rows keep it and resolve it before every use, so that no row reaches a record that the
    // document has freed.
    static quintptr RecordId(const CSyncRecord* record) { return reinterpret_cast<quintptr>(record); }
    // The live record with that identity in the list of that kind, or nullptr when the list no
    // longer holds it or it is marked deleted.
    CPhoneEntry* FindContact(int kind, quintptr id) const;
    CScheduleEntry* FindSchedule(int kind, quintptr id) const;
    CMemoEntry* FindMemo(int kind, quintptr id) const;
    CSmsEntry* FindMessage(quintptr id) const;

    bool IsHandsetBookFull() const;
    bool IsSimBookFull() const;
    bool IsPhoneScheduleFull() const;
    bool IsPhoneMemoFull() const;

    void SortSchedules(int kind);
    // After a phone list was read: PC and PIM-side entries linked to a storage index that no
    // live entry of the phone list holds lose the link (-1). Contacts against the handset list
    // (kind 3, by phone index) or the SIM list (kind 4, by SIM index).
    void DropStaleContactLinks(int phoneKind);
    void DropStaleScheduleLinks();
    void DropStaleMemoLinks();
    void DeleteAllRecords();

    // The lists themselves, for the exchanges that replace or merge them. Kinds as above; an
    // out-of-range kind gives nullptr.
    RecordList<CPhoneEntry>* ContactList(int kind) { return contactList(*this, kind); }
    const RecordList<CPhoneEntry>* ContactList(int kind) const { return contactList(*this, kind); }
    RecordList<CScheduleEntry>* ScheduleList(int kind) { return scheduleList(*this, kind); }
    const RecordList<CScheduleEntry>* ScheduleList(int kind) const { return scheduleList(*this, kind); }
    RecordList<CMemoEntry>* MemoList(int kind) { return memoList(*this, kind); }
    const RecordList<CMemoEntry>* MemoList(int kind) const { return memoList(*this, kind); }
    // Replaces a list whole (the old records are freed) and tells the views.
    template <typename Record>
    void ReplaceList(RecordList<Record>& list, RecordList<Record> fresh)
    {
        list = std::move(fresh);
        NotifyChanged();
    }

    // Local files: "mvsync.dat" (with "pimbase.dat" beside it), "mnum.dat" and "config.ini" in
    // the data folder, which is platform::DataDir("deskhand") unless a caller chose another first.
    // Start-up: loads the data file, then reads config.ini. Every save writes "mnum.dat" first.
    bool OnNewDocument();
    // Writes "mnum.dat" atomically; false, and why in error, when it could not be.
    bool SaveNumberDirectory(QString* error = nullptr);
    void Serialize(CArchive& ar) override;
    // Reads the infrared pacing from config.ini, which is made with the defaults when it is
    // missing. One that is there but cannot be read is left as it is and the user is told; the
    // pacing keeps its values.
    void ReadConfig();

    // Phone commands. Reads open and close their own session; writes and deletes run between
    // one of the connect operations and Disconnect.
    bool ReadHandsetBook();
    bool ReadSimBook();
    bool ReadPhoneSchedules();
    bool ReadPhoneMemos();
    bool SelectHandsetBook();
    bool SelectSimBook();
    bool ConnectForSchedules();
    bool ConnectForMemos();
    bool Disconnect();
    // Each writes a copy of the source (which stays the caller's) and returns its new storage
    // key (the SIM index for SIM entries), or -1 when the phone refused it.
    int WriteHandsetContact(const CPhoneEntry& source);
    int WriteSimContact(const CPhoneEntry& source);
    int WritePhoneSchedule(const CScheduleEntry& source);
    int WritePhoneMemo(const CMemoEntry& source);
    // Each writes an edited copy of a phone-list record to the record's place on the phone.
    // Only when the phone took it does the record take the edited values (and the storage key
    // the phone reports); a refused write leaves the record as it was. Returns the key or -1.
    int UpdateHandsetContact(CPhoneEntry& record, const CPhoneEntry& edited);
    int UpdateSimContact(CPhoneEntry& record, const CPhoneEntry& edited);
    int UpdatePhoneSchedule(CScheduleEntry& record, const CScheduleEntry& edited);
    int UpdatePhoneMemo(CMemoEntry& record, const CMemoEntry& edited);
    // Each takes the document's phone-list record and marks it deleted on success.
    bool DeleteHandsetContact(CPhoneEntry& record);
    bool DeleteSimContact(CPhoneEntry& record);
    bool DeletePhoneSchedule(CScheduleEntry& record);
    bool DeletePhoneMemo(CMemoEntry& record);

    // --- The forms' transfers of a selection, inside a session opened by the list's connect
    // operation; records are given by identity and gone ones are passed over ---
    struct PhoneTransfer {
        int done = 0;         // entries written or deleted
        bool refused = false; // the phone refused one: the run ended there, what went before stays
        bool full = false;    // the list was full then, which is the reason the error box gives
    };
    // Handset deletions pause this long after every run of this many.
    static constexpr int kDeletePauseEvery = 50;
    static constexpr int kDeletePauseMs = 200;
    // ">>" of the phonebook page: the contacts of the PC or PIM-side list, in order, into the
    // handset (3) or SIM (4) book. A contact with none of the mobile, office and home numbers is
    // passed over, except a SIM entry kept on the PC (SIM index, no handset index), which goes
    // back to the SIM as it is. Into the handset: a contact takes the index it was written to;
    // a SIM entry kept on the PC is not written itself but gets a handset twin with its name,
    // mobile number and group, which joins the source list. Into the SIM: one new entry per
    // number (mobile, home, office: copy source 1, 2, 3) joins the source list linked to the
    // SIM, and a contact on no phone that a single such entry holds whole is marked deleted.
    // The reason "full" is not given for a SIM entry written back as it is.
    PhoneTransfer CopyToPhoneBook(int book, int sourceList, const std::vector<quintptr>& ids);
    // Mobile Delete of the phonebook page: the entries of the handset (3) or SIM (4) book, in
    // order; the handset pauses before the next deletion once kDeletePauseEvery went.
    PhoneTransfer DeleteFromPhoneBook(int book, const std::vector<quintptr>& ids);
    // ">>" of the schedule and memo pages: the entries of the PC or PIM-side list, in order;
    // each takes the index the phone gave it.
    PhoneTransfer CopyToPhoneSchedules(int sourceList, const std::vector<quintptr>& ids);
    PhoneTransfer CopyToPhoneMemos(int sourceList, const std::vector<quintptr>& ids);
    // Mobile Delete of the schedule and memo pages: the phone list's entries, from the last
    // given to the first.
    PhoneTransfer DeleteFromPhoneSchedules(const std::vector<quintptr>& ids);
    PhoneTransfer DeleteFromPhoneMemos(const std::vector<quintptr>& ids);

    // Message commands.
    bool ReadMessages();
    bool ConnectForMessages();
    bool DeleteMessage(CSmsEntry& record);

    // Menu commands: COM port 1 to 5, File Save, the infrared toggle.
    void OnComPort(int n);
    bool IsComPortChecked(int n) const { return m_nComPort == n; }
    void OnToggleIrComm();
    // The PIM exchange: each reads a default folder into the PIM-side list (keeping the phone
    // links of entries whose EntryID is unchanged) or writes that list's changes back.
    bool ImportOutlookContacts();
    bool ExportOutlookContacts();
    bool ImportOutlookSchedules();
    bool ExportOutlookSchedules();
    bool ImportOutlookNotes();
    bool ExportOutlookNotes();

    // What the window needs of the phone link, which it does not reach itself.
    // What the phone holds, as the last phone read found it: the lists' capacities and the
    // fields' lengths that the forms and dialogs apply, and the message storage counts.
    struct PhoneCapacities {
        int m_nHandsetCapacity;
        int m_nHandsetNumberLen;
        int m_nHandsetNameLen;
        int m_nHandsetEmailLen;
        int m_nHandsetMemoLen;
        int m_nSimCapacity;
        int m_nSimNameLen;
        int m_nScheduleCapacity;
        int m_nScheduleTextLen;
        int m_nMemoCapacity;
        int m_nMemoTextLen;
        int m_nSmsSimUsed;
        int m_nSmsSimTotal;
    };
    static PhoneCapacities Capacities();
    // Where the bar of the next operation's steps ends.
    static void SetProgressRange(int range);
    // The phone error box: the text of that string, " - " and the reason of the last phone
    // error, which it then clears.
    static void ShowError(int stringId);
    // The same after a phone write or delete failed; when its answer never came, the box adds
    // that the phone may have done it and that the list wants reading before another try.
    void ShowPhoneError(int stringId) const;
    // A full list is the reason the next error box gives.
    static void SetListFullError();

    // The infrared and debug options, changed through the installed option editor (the
    // program's dialogs).
    void OnIrCommOption();
    void OnDebugOption();
    bool IsIrCommChecked() const { return m_session.m_port.m_bIrComm; }

    // CSV export and import of the PC lists (the commands are CDocumentBase's).
    bool LoadCsvFile(int tab, const QString& path) override;
    QString ExportCsv(int tab) const override;
    // Each replaces the PC list from the lines of a file (header first); false for a refused header.
    bool ImportContactsCsv(const QStringList& lines);
    bool ImportSchedulesCsv(const QStringList& lines);
    bool ImportMemosCsv(const QStringList& lines);

    bool m_bHandsetRead = false;
    bool m_bSimRead = false;
    bool m_bSchedulesRead = false;
    int m_nComPort = 1;
    QStringList m_groupNames;
    RecordList<CPhoneEntry> m_pcContacts;
    RecordList<CPhoneEntry> m_outlookContacts;
    RecordList<CPhoneEntry> m_handsetContacts;
    RecordList<CPhoneEntry> m_simContacts;
    RecordList<CScheduleEntry> m_pcSchedules;
    RecordList<CScheduleEntry> m_outlookSchedules;
    RecordList<CScheduleEntry> m_phoneSchedules;
    RecordList<CMemoEntry> m_pcMemos;
    RecordList<CMemoEntry> m_outlookMemos;
    RecordList<CMemoEntry> m_phoneMemos;
    RecordList<CSmsEntry> m_messages;
    int m_nIrCommPort = 4;
    int m_nIrCommTimeout = 20;
    CPhoneSession m_session;
    QString m_strTitle;

private:
    // Copies the port settings into the session and its transport.
    void ApplyLinkSettings();
    bool ReadLocalData(CArchive& ar) override;
    void SaveSideFiles(docshared::SaveFailures& failures) override;
    void ApplyLocalData(LocalData& data);
    template <typename Record, typename Write, typename Key>
    int writeToPhone(RecordList<Record>& list, const Record& source, Write write, Key key);
    template <typename Record, typename Write, typename Key>
    int rewriteOnPhone(Record& record, const Record& edited, Write write, Key key);
    template <typename Record, typename Read>
    bool readPhoneList(RecordList<Record>& list, bool* readFlag, bool keepOnFailure, Read read);
    PhoneTransfer copyToHandset(int sourceList, const std::vector<quintptr>& ids);
    PhoneTransfer copyToSim(int sourceList, const std::vector<quintptr>& ids);
    void ShowExchangeError(bool write, const docshared::CPimExchange& exchange) override;

    template <typename Self>
    static docshared::ListOf<Self, CPhoneEntry>* contactList(Self& self, int kind)
    {
        switch (kind) {
        case ListPc: return &self.m_pcContacts;
        case ListOutlook: return &self.m_outlookContacts;
        case ListHandset: return &self.m_handsetContacts;
        case ListSim: return &self.m_simContacts;
        default: return nullptr;
        }
    }
    template <typename Self>
    static docshared::ListOf<Self, CScheduleEntry>* scheduleList(Self& self, int kind)
    {
        switch (kind) {
        case ListPc: return &self.m_pcSchedules;
        case ListOutlook: return &self.m_outlookSchedules;
        case ListPhone: return &self.m_phoneSchedules;
        default: return nullptr;
        }
    }
    template <typename Self>
    static docshared::ListOf<Self, CMemoEntry>* memoList(Self& self, int kind)
    {
        switch (kind) {
        case ListPc: return &self.m_pcMemos;
        case ListOutlook: return &self.m_outlookMemos;
        case ListPhone: return &self.m_phoneMemos;
        default: return nullptr;
        }
    }
};

} // namespace dh1
