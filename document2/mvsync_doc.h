#pragma once

#include "docshared/document_base.h"
#include "link2/phone_session.h"
#include "link2/records.h"

#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

class CArchive;

namespace common {
class IProgressView;
}

namespace dh2 {

struct LocalData;

// The single document of Deskhand2. It owns every record the program holds, in ten lists chosen
// by kind and list number (one phone list holds schedule entries and memos together), the phone
// session and the document's own "Adding data" window. It chooses the phone storage index of
// every new phone entry itself. Views never keep records of their own: they keep a record's
// identity (RecordId) and resolve it (Find*) before every use, and they refill their rows when
// the document emits changed(), which it does whenever a list is replaced, emptied or loses a
// record.
class CMVsyncDoc : public docshared::CDocumentBase {
    Q_OBJECT

public:
    // The start-up box for a single-instance lock this user cannot open.
    static constexpr int kLockUnavailableText = 64306;
    // Handset indices run from 1 to this; the handset book is full with this many live entries.
    static constexpr int kHandsetBookSize = 200;
    // The phone's combined list of schedule entries and memos.
    static constexpr int kPhoneListSize = CPhoneSession::kScheduleCapacity;
    // How long the phone needs after each contact written or deleted, and after a handset read.
    static constexpr int kPhonePauseMs = 300;

    explicit CMVsyncDoc(QObject* parent = nullptr);
    ~CMVsyncDoc() override;

    // Lists by number; a number or position out of range selects nothing (count 0, null).
    // Counts include the entries marked deleted.
    int GetContactCount(int list) const;
    CPhoneEntry* GetContact(int list, int i) const;
    int GetScheduleCount(int list) const;
    CScheduleEntry* GetSchedule(int list, int i) const;
    // List 3 is the same phone list as for schedule entries.
    int GetMemoCount(int list) const;
    CScheduleEntry* GetMemo(int list, int i) const;
    int GetMessageCount() const;
    CSmsEntry* GetMessage(int i) const;

    // Store a copy into the PC list (1) or the PIM-side list (2): the live entry with the same
    // phone index (contacts: and list number; or else the same SIM index) takes the values, else
    // a new record is appended. A PIM-side entry that has a PIM item is marked changed, so that
    // the next export sends it. Any other list number stores nothing (null).
    CPhoneEntry* StoreContact(int list, const CPhoneEntry& record);
    CScheduleEntry* StoreSchedule(int list, const CScheduleEntry& record);
    // The stored memo has kind 2.
    CScheduleEntry* StoreMemo(int list, const CScheduleEntry& record);
    // Into the phone list, without phone traffic (WritePhoneSchedules sends the list): the live
    // entry of the same index and kind that is on the phone takes the values, else a new entry
    // gets the lowest free index from 0, which the given record takes too. Null when the list
    // already holds kPhoneListSize live entries, or was not read (IsPhoneListRead).
    CScheduleEntry* AddPhoneSchedule(CScheduleEntry& record);
    CScheduleEntry* AddPhoneMemo(CScheduleEntry& record);
    CSmsEntry* AddOutgoingMessage(const CSmsEntry& record);

    // Indices are chosen, and the combined list is sent whole, only from a list whose last read
    // succeeded: a list never read, or emptied by a failed read, says nothing of what the phone
    // holds, and writing from it would overwrite or erase the phone's entries.
    bool IsPhoneListRead() const { return m_bPhoneListRead; }

    bool IsHandsetBookFull() const;
    // Never while the SIM capacity is unknown (0, before a SIM read).
    bool IsSimBookFull() const;
    // The live entries of the phone list of a kind (1 schedule entries, 2 memos).
    int PhoneListCount(int kind) const;

    // Row texts, appended to row (MessageToRow empties it first).
    void ContactToRow(int list, const CPhoneEntry& record, QStringList& row) const;
    void ScheduleToRow(const CScheduleEntry& record, QStringList& row) const;
    void MemoToRow(const CScheduleEntry& record, QStringList& row) const;
    void MessageToRow(const CSmsEntry& record, QStringList& row) const;
    // The column titles and alignments of a view type (0-4); other types leave format alone.
    void GetColumnFormat(int viewType, QString& format) const;
    // The texts of a repeat code (0-4), an alarm code (0-5) and a message status (1-4); empty
    // for any other value.
    static QString RepeatText(int repeat);
    static QString AlarmText(int alarm);
    static QString StatusText(int status);
    // The group name a contact row shows: empty unless the model has caller groups.
    static QString GroupText(const CPhoneEntry& record);
    // What the contact dialog asks of the phone model: whether it has caller groups, their
    // names in the order a contact's group counts them, and whether a number's leading "00" is
    // written as "+".
    static bool ModelHasGroups();
    static QStringList GroupNames();
    static bool ModelWritesPlusForDoubleZero();
    // "Mobile", "SIM", "Mobile/SIM" or nothing, by the storage indices the contact has.
    static QString StorageText(const CPhoneEntry& record);

    // The "Adding data" window that brackets a copy into the PC or PIM-side list.
    void ShowAddingProgress();
    void CloseProgress();

    // Frees every record of every list and empties the group table.
    void DeleteAllRecords();

    // A view's reference to a record: its identity, good while the record is in its list.
    static quintptr RecordId(const CSyncRecord* record) { return reinterpret_cast<quintptr>(record); }
    // The live record with that identity in that list, or null when the list no longer holds
    // it or it is marked deleted.
    CPhoneEntry* FindContact(int list, quintptr id) const;
    CScheduleEntry* FindSchedule(int list, quintptr id) const;
    CScheduleEntry* FindMemo(int list, quintptr id) const;
    CSmsEntry* FindMessage(quintptr id) const;

    // Phone links of the PC and PIM-side contacts: every one holding that handset (SIM) index
    // loses it; -1 does nothing.
    void UnlinkHandsetIndex(int index);
    void UnlinkSimIndex(int index);
    // After a phone list was read: PC and PIM-side entries linked to an index that no live entry
    // of it holds lose the link. Contacts against the handset (3) or SIM (4) list; schedule
    // entries (kind 1) and memos (kind 2) against the phone list's entries of their kind.
    void DropStaleContactLinks(int phoneList);
    void DropStalePhoneListLinks(int kind);

    // The lists themselves; null for a number out of range.
    RecordList<CPhoneEntry>* ContactList(int list) { return contactList(*this, list); }
    const RecordList<CPhoneEntry>* ContactList(int list) const { return contactList(*this, list); }
    RecordList<CScheduleEntry>* ScheduleList(int list) { return scheduleList(*this, list, false); }
    const RecordList<CScheduleEntry>* ScheduleList(int list) const { return scheduleList(*this, list, false); }
    RecordList<CScheduleEntry>* MemoList(int list) { return scheduleList(*this, list, true); }
    const RecordList<CScheduleEntry>* MemoList(int list) const { return scheduleList(*this, list, true); }

    // The local data file "msync.dat" (with "pimbase2.dat" beside it) in the data folder:
    // platform::DataDir("deskhand2") unless a caller chose another first.
    // Start-up: a one-second pause, the splash goes (closeSplash), then the data file.
    bool OnNewDocument();
    // A data file's bytes, loaded as LoadLocalData loads a file.
    bool LoadLocalData(const QByteArray& bytes);
    using CDocumentBase::LoadLocalData;
    void Serialize(CArchive& ar) override;

    // Phone commands. Reads open and close their own session; contact writes and deletes run
    // between a book selection and Disconnect.
    bool ReadHandsetBook();
    bool ReadSimBook();
    bool ReadPhoneSchedules();
    // A selection that fails closes the session again.
    bool SelectHandsetBook();
    bool SelectSimBook();
    bool Disconnect();
    // The phone entry the source went to: an existing one (updated when the source differs) or
    // a new one at the lowest free index. Null when the book was not read (its last read failed
    // or there was none), is full or the phone refused the write; then an entry that was on the
    // phone keeps its old values, and a new one is gone. When the write went out and its answer
    // never came (PhoneOutcomeUnconfirmed), the book counts as unread and is emptied, and the PC
    // and PIM-side contacts linked to a new entry's index lose that link.
    CPhoneEntry* WriteHandsetContact(const CPhoneEntry& source);
    // The SIM copy carries the name, one number (the mobile number, else the office number, else
    // the home number) and the group.
    CPhoneEntry* WriteSimContact(const CPhoneEntry& contact);
    // A phone-list record leaves its list; any other record (a PC or PIM-side one with that
    // index) is marked deleted and loses the index. A delete whose answer never came leaves the
    // book unread and emptied, and no PC or PIM-side contact (nor the record) keeps that index.
    bool DeleteHandsetContact(CPhoneEntry& record);
    bool DeleteSimContact(CPhoneEntry& record);
    // Sends the whole phone list; on success the entries marked deleted are dropped, on failure
    // every entry keeps the values it had (the session cuts what it sends). A list whose write
    // the phone did not confirm is dropped and counts as unread, and the links to the places the
    // write changed go. A list that was not read is never sent (false).
    bool WritePhoneSchedules();
    // True when the last write, delete, store or send that failed went out and its answer never
    // came: the phone may have carried it out.
    bool PhoneOutcomeUnconfirmed() const { return m_session.Unconfirmed(); }

    // --- The phonebook page's transfers, inside a session opened by the book's select call ---
    struct PhoneBookWrite {
        int written = 0;      // sources the phone took
        bool refused = false; // a write failed and ended the run; the sources before it stay
                              // written and linked, those after it were not tried
        bool full = false;    // the book was full when the write failed
        bool unconfirmed = false; // the failed write went out and its answer never came
    };
    // Writes the contacts (by identity, from the PC or PIM-side list) in order into the handset
    // (3) or SIM (4) book. A contact without a name, or with none of the mobile, office and home
    // numbers, is passed over. Each contact written is linked to its phone entry: it takes the
    // handset index (and list number 3) or the SIM index, after every other PC and PIM-side
    // contact lost that index. After an unconfirmed write the book counts as unread, and the
    // source of a new entry is not linked.
    PhoneBookWrite CopyToPhoneBook(int book, int sourceList, const std::vector<quintptr>& ids);
    struct PhoneBookDelete {
        int deleted = 0;          // entries the phone deleted
        bool unconfirmed = false; // a delete went out and its answer never came: the run ended
                                  // there and the book counts as unread
        int index = -1;           // the index of that delete
    };
    // Deletes the entries (by identity) of the handset (3) or SIM (4) book from the phone; the
    // PC and PIM-side contacts linked to an index deleted lose the link. An entry the phone
    // refuses to delete stays, and the others are still tried; after a delete the phone did not
    // confirm nothing more is tried.
    PhoneBookDelete DeleteFromPhoneBook(int book, const std::vector<quintptr>& ids);

    // --- The schedule and memo pages over the phone's combined list ---
    // The Mobile pane's ">>" and "Delete" of the two pages in one call each.
    struct PhoneListWrite {
        int added = 0;        // sources that went into the list
        bool full = false;    // the list was full before every source was added
        bool written = false; // the phone took the list
        bool unconfirmed = false; // the list went out and the phone's answer never came
    };
    // Adds the sources (by identity, from the PC or PIM-side list of that kind) to the phone
    // list and sends it; other PC and PIM-side entries that pointed at the index a source took
    // lose their link. Nothing is sent when no source could be added, or when the list was not
    // read (then nothing is added and the list does not count as full). Whenever the list is not
    // sent or the phone does not take it, the list and every PC and PIM-side link of that kind
    // are as they were before the call; when the phone's answer never came (unconfirmed), the
    // list counts as unread and the links to the places it would have changed go.
    PhoneListWrite CopyToPhoneList(int kind, int sourceList, const std::vector<quintptr>& ids);
    // Marks the phone-list entries (by identity) deleted, unlinks the PC and PIM-side entries
    // that pointed at them and sends the list. False when the phone did not take it (the entries
    // stay marked and hidden until a write succeeds). A list that was not read holds no entries
    // to delete.
    bool DeleteFromPhoneList(const std::vector<quintptr>& ids);
    // The fill state of the combined list: "Schedule:%d + Memo:%d = %d/20" with the live
    // schedule entries, the live memos and their sum.
    QString PhoneListStatusText() const;

    // Option menu: COM 1 to 4 and the baud rate; the open port closes, the next session uses the
    // new value. The checks follow the document's values.
    void OnComPort(int n);
    bool IsComPortChecked(int n) const { return m_nComPort == n; }
    void OnBaudRate(int baud);
    bool IsBaudChecked(int baud) const { return m_nBaudRate == baud; }

    // CSV export and import of the PC lists (the commands are CDocumentBase's).
    bool IsCsvCommandEnabled() const;
    bool LoadCsvFile(int tab, const QString& path) override;
    QString ExportCsv(int tab) const override;
    // Each replaces the PC list from the lines of a file (header first); false for a refused
    // header. Schedule rows whose date does not read are left out and counted.
    bool ImportContactsCsv(const QStringList& lines);
    bool ImportSchedulesCsv(const QStringList& lines);
    bool ImportMemosCsv(const QStringList& lines);

    // The PIM exchange: each reads a default folder into the PIM-side list (keeping the phone
    // links of entries whose EntryID is unchanged) or writes that list's changes back.
    bool ImportOutlookContacts();
    bool ExportOutlookContacts();
    bool ImportOutlookSchedules();
    bool ExportOutlookSchedules();
    bool ImportOutlookNotes();
    bool ExportOutlookNotes();

    // Message commands. The read opens its own session; a delete runs between
    // ConnectForMessages and Disconnect; storing and sending open their own.
    bool ReadMessages();
    bool ConnectForMessages();
    bool DeleteMessage(CSmsEntry& record);
    bool StoreMessage(CSmsEntry& record);
    bool SendStoredMessage(CSmsEntry& record);
    // After a successful read: the messages composed here (index -1) stay, the phone's old ones
    // go, the fresh ones follow.
    void TakeReadMessages(RecordList<CSmsEntry> fresh);

    // "Zentra Deskhand" and the model's name; titleChanged carries it whenever the model changes.
    static QString ModelTitle(int type);
    QString GetTitle() const;

    int m_nComPort = 1;
    int m_nBaudRate = 19200;
    bool m_bHandsetRead = false;
    bool m_bSimRead = false;
    bool m_bPhoneListRead = false;
    bool m_bMessagesRead = false;
    RecordList<CPhoneEntry> m_arPcContacts;
    RecordList<CPhoneEntry> m_arOutlookContacts;
    RecordList<CPhoneEntry> m_arHandsetContacts;
    RecordList<CPhoneEntry> m_arSimContacts;
    RecordList<CScheduleEntry> m_arPcSchedules;
    RecordList<CScheduleEntry> m_arOutlookSchedules;
    RecordList<CScheduleEntry> m_arPhoneList;
    RecordList<CScheduleEntry> m_arPcMemos;
    RecordList<CScheduleEntry> m_arOutlookMemos;
    RecordList<CSmsEntry> m_arMessages;
    int m_nHandsetMax = kHandsetBookSize;
    int m_nSimCapacity = 0;
    int m_nPhoneListMax = kPhoneListSize;
    int m_nPhoneMemoMax = kPhoneListSize;
    CPhoneSession m_session;

Q_SIGNALS:
    // The main frame's title, whenever the model changes.
    void titleChanged(const QString& title);
    // The start-up pause is over: the splash goes before the data file loads.
    void closeSplash();

private:
    bool ReadLocalData(CArchive& ar) override;
    void ApplyLocalData(LocalData& data);
    // The port and baud rate into the transport, which closes its open port first.
    void ApplyPortSettings();
    template <typename Read>
    bool readPhoneBook(RecordList<CPhoneEntry>& list, bool& readFlag, Read read);
    // Writes a phone entry through the session; restores, drops or settles it by the outcome.
    template <typename Write>
    CPhoneEntry* writeContact(RecordList<CPhoneEntry>& book, CPhoneEntry* entry, std::unique_ptr<CPhoneEntry> backup,
                              int CPhoneEntry::*index, Write write);
    template <typename Write>
    CPhoneEntry* rewriteContact(RecordList<CPhoneEntry>& book, CPhoneEntry& entry, const CPhoneEntry& source,
                                int CPhoneEntry::*index, Write write);
    template <typename Delete>
    bool deleteContact(RecordList<CPhoneEntry>& book, CPhoneEntry& record, int CPhoneEntry::*index, Delete remove);
    // After a write or delete in a book that the phone did not confirm: the book counts as unread
    // until it is read again, and the links to the index the command touched go, where the phone
    // may or may not hold an entry (-1: none).
    void forgetUnconfirmedBook(const RecordList<CPhoneEntry>& book, int index);
    CScheduleEntry* addToPhoneList(CScheduleEntry& record, int kind);
    void unlinkPhoneListIndex(int kind, int index, const CScheduleEntry* keep);
    // The places of the phone list that a write changes (new and deleted entries), by kind.
    std::vector<std::pair<int, int>> changingPhoneListPlaces() const;
    // After a list write the phone did not confirm: it holds the old list or the new one. The
    // links to the places the write changed go, and the list counts as unread until it is read
    // again, so that nothing goes by a place nobody can be sure of.
    void forgetUnconfirmedPhoneList(const std::vector<std::pair<int, int>>& places);
    void ShowExchangeError(bool write, const docshared::CPimExchange& exchange) override;

    std::unique_ptr<common::IProgressView> m_pAddingProgress;

    template <typename Self>
    static docshared::ListOf<Self, CPhoneEntry>* contactList(Self& self, int list)
    {
        switch (list) {
        case ListPc: return &self.m_arPcContacts;
        case ListOutlook: return &self.m_arOutlookContacts;
        case ListHandset: return &self.m_arHandsetContacts;
        case ListSim: return &self.m_arSimContacts;
        default: return nullptr;
        }
    }
    template <typename Self>
    static docshared::ListOf<Self, CScheduleEntry>* scheduleList(Self& self, int list, bool memos)
    {
        switch (list) {
        case ListPc: return memos ? &self.m_arPcMemos : &self.m_arPcSchedules;
        case ListOutlook: return memos ? &self.m_arOutlookMemos : &self.m_arOutlookSchedules;
        case ListPhone: return &self.m_arPhoneList;
        default: return nullptr;
        }
    }
};

} // namespace dh2
