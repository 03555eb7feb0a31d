// The forms' ">>" and Mobile Delete as the document carries them out, against the simulated phone
// of the first family: which entries are written, which indices and links they take, the SIM
// copies and twins that join the PC lists, and how a refused write or a full list ends the run.
#include "document/mvsync_doc.h"

#include "link/phone_session_fixture.h"
#include "phonesim/fault.h"

#include <gtest/gtest.h>

using namespace dh1;

namespace {

using phonesim::Fault;
using Transfer = CMVsyncDoc::PhoneTransfer;

class SelectionTransfer : public PhoneSessionTest {
protected:
    CPhoneEntry* addContact(int list, const char* name, const char* mobile, const char* home = "",
                            const char* office = "")
    {
        auto entry = std::make_unique<CPhoneEntry>();
        entry->m_strName = QString::fromLatin1(name);
        entry->m_strMobile = QString::fromLatin1(mobile);
        entry->m_strHome = QString::fromLatin1(home);
        entry->m_strOffice = QString::fromLatin1(office);
        entry->m_nList = list;
        doc.ContactList(list)->push_back(std::move(entry));
        return doc.ContactList(list)->back().get();
    }
    void putBook(phonesim::Book& book, int index, const QString& name)
    {
        book.entries[index] = phonesim::BookEntry {6, name, QStringLiteral("0%1").arg(index), {}, {}, {}, {}};
    }
    template <typename Record>
    static std::vector<quintptr> idsOf(const std::vector<Record*>& records)
    {
        std::vector<quintptr> ids;
        for (const Record* record : records)
            ids.push_back(CMVsyncDoc::RecordId(record));
        return ids;
    }
    // ">>" of the phonebook page: one session around the document's run.
    Transfer copy(int book, int sourceList, const std::vector<CPhoneEntry*>& sources)
    {
        EXPECT_TRUE(book == CMVsyncDoc::ListSim ? doc.SelectSimBook() : doc.SelectHandsetBook());
        const Transfer result = doc.CopyToPhoneBook(book, sourceList, idsOf(sources));
        doc.Disconnect();
        return result;
    }
    // The times (virtual ms) at which the phone got each delete of a book.
    std::vector<qint64> deleteTimes()
    {
        std::vector<qint64> times;
        for (const auto& write : lines.writes()) {
            if (write.bytes.startsWith("AT+CPBW=") && write.bytes.count(',') == 0)
                times.push_back(write.atMs);
        }
        return times;
    }

    CMVsyncDoc doc;
};

// Into the handset: a contact without any number is passed over; any other takes the index it
// was written to, except a SIM entry kept on the PC, which gets a handset twin of its name,
// mobile number and group in the same list instead. PC and PIM-side lists alike.
TEST_F(SelectionTransfer, HandsetCopiesLinkTheirSourcesOrAddTwins)
{
    const struct {
        const char* name;
        const char* mobile;
        const char* home;
        int simIndex; // a SIM entry kept on the PC
        bool linked;  // the source takes a handset index
        bool twin;    // a twin joins the list
    } rows[] = {
        {"Dora", "0172", "", -1, true, false},
        {"Nobody", "", "", -1, false, false},
        {"Eve", "", "0304", -1, true, false},
        {"Sal", "0175", "", 5, false, true},
        {"Sue", "", "", 6, false, false},
    };
    for (const int list : {int(CMVsyncDoc::ListPc), int(CMVsyncDoc::ListOutlook)}) {
        SCOPED_TRACE(list);
        doc.DeleteAllRecords();
        phone.state().handset.entries.clear();
        putBook(phone.state().handset, 3, QStringLiteral("Ann"));
        ASSERT_TRUE(doc.ReadHandsetBook());
        std::vector<CPhoneEntry*> sources;
        for (const auto& row : rows) {
            sources.push_back(addContact(list, row.name, row.mobile, row.home));
            sources.back()->m_nSimIndex = row.simIndex;
            sources.back()->m_nGroup = 2;
        }
        const Transfer result = copy(CMVsyncDoc::ListHandset, list, sources);
        EXPECT_EQ(result.done, 3);
        EXPECT_FALSE(result.refused);
        EXPECT_EQ(phone.state().handset.used(), 4);

        const RecordList<CPhoneEntry>& entries = *doc.ContactList(list);
        size_t next = std::size(rows); // where the twins are
        for (size_t i = 0; i < std::size(rows); ++i) {
            SCOPED_TRACE(rows[i].name);
            EXPECT_EQ(sources[i]->m_nIndex != -1, rows[i].linked);
            if (rows[i].linked) {
                EXPECT_EQ(phone.state().handset.entries[sources[i]->m_nIndex].name, QString::fromLatin1(rows[i].name));
            }
            EXPECT_EQ(sources[i]->m_nSimIndex, rows[i].simIndex);
            if (!rows[i].twin)
                continue;
            ASSERT_LT(next, entries.size());
            const CPhoneEntry& twin = *entries[next++];
            EXPECT_EQ(twin.m_strName, QString::fromLatin1(rows[i].name));
            EXPECT_EQ(twin.m_strMobile, QString::fromLatin1(rows[i].mobile));
            EXPECT_EQ(twin.m_nGroup, 2);
            EXPECT_EQ(twin.m_nSimIndex, -1);
            ASSERT_NE(twin.m_nIndex, -1);
            EXPECT_EQ(phone.state().handset.entries[twin.m_nIndex].mobile, QString::fromLatin1(rows[i].mobile));
        }
        EXPECT_EQ(next, entries.size());
    }
}

// Into the SIM: one new SIM-linked entry per number (mobile, home, office) joins the list, and a
// contact on no phone that a single such entry holds whole is marked deleted; a SIM entry kept on
// the PC goes back as it is, to its own index.
TEST_F(SelectionTransfer, SimCopiesAreOnePerNumberAndMayTakeTheSourcesPlace)
{
    const struct {
        const char* name;
        const char* mobile;
        const char* home;
        const char* office;
        const char* email;
        int index;    // handset link
        int simIndex; // a SIM entry kept on the PC
        const char* copies; // number:copy source of each new entry
        bool deleted; // the source gives way to its copy
    } rows[] = {
        {"Gus", "0174", "0305", "", "", -1, -1, "0174:1 0305:2", false},
        {"Hal", "", "0306", "", "", -1, -1, "0306:2", true},
        {"Ida", "", "0307", "", "ida@example.org", -1, -1, "0307:2", false},
        {"Ola", "0308", "", "0309", "", -1, -1, "0308:1 0309:3", false},
        {"Lin", "0310", "", "", "", 3, -1, "0310:1", false},
        {"Kim", "0311", "", "", "", -1, 9, "", false},
        {"Nobody", "", "", "", "", -1, -1, "", false},
    };
    putBook(phone.state().sim, 2, QStringLiteral("Bob"));
    ASSERT_TRUE(doc.ReadSimBook());
    std::vector<CPhoneEntry*> sources;
    for (const auto& row : rows) {
        sources.push_back(addContact(CMVsyncDoc::ListPc, row.name, row.mobile, row.home, row.office));
        sources.back()->m_strEmail = QString::fromLatin1(row.email);
        sources.back()->m_nIndex = row.index;
        sources.back()->m_nSimIndex = row.simIndex;
    }
    const Transfer result = copy(CMVsyncDoc::ListSim, CMVsyncDoc::ListPc, sources);
    EXPECT_EQ(result.done, 8);
    EXPECT_FALSE(result.refused);

    size_t next = std::size(rows);
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(sources[i]->IsDeleted(), rows[i].deleted);
        EXPECT_EQ(sources[i]->m_nSimIndex, rows[i].simIndex);
        QStringList copies;
        const QString name = QString::fromLatin1(rows[i].name);
        while (next < doc.m_pcContacts.size() && doc.m_pcContacts[next]->m_strName == name) {
            const CPhoneEntry& made = *doc.m_pcContacts[next++];
            copies << QStringLiteral("%1:%2").arg(made.m_strMobile).arg(made.m_nCopySource);
            ASSERT_NE(made.m_nSimIndex, -1);
            EXPECT_EQ(phone.state().sim.entries[made.m_nSimIndex].mobile, made.m_strMobile);
        }
        EXPECT_EQ(copies.join(u' '), QString::fromLatin1(rows[i].copies));
    }
    EXPECT_EQ(next, doc.m_pcContacts.size());
    EXPECT_EQ(phone.state().sim.entries[9].name, QStringLiteral("Kim"));
}

// A write the phone refuses ends the run: what went before stays written and linked, what follows
// is not tried, and "full" says whether the list was full then. A SIM entry kept on the PC that
// goes back as it is never gives that reason.
TEST_F(SelectionTransfer, ARefusedWriteEndsTheRunAndSaysWhetherTheListWasFull)
{
    const struct {
        const char* what;
        int book;
        int last;        // the book's last index
        int filled;      // entries from index 1 before the run
        bool keptOnSim;  // the sources are SIM entries kept on the PC, at index 1
        const char* refused; // the command the phone refuses
        int done;
        bool full;
    } rows[] = {
        {"handset refuses the second", CMVsyncDoc::ListHandset, 255, 0, false, "AT+CPBW=,6,\"02\"*", 1, false},
        {"handset full after one", CMVsyncDoc::ListHandset, 4, 3, false, "", 1, true},
        {"SIM refuses the first", CMVsyncDoc::ListSim, 100, 0, false, "AT+CPBW=,6,\"01\"*", 0, false},
        {"SIM full after two", CMVsyncDoc::ListSim, 3, 1, false, "", 2, true},
        {"SIM entry back into a full SIM", CMVsyncDoc::ListSim, 2, 2, true, "AT+CPBW=1,*", 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const bool sim = row.book == CMVsyncDoc::ListSim;
        phonesim::Book& book = sim ? phone.state().sim : phone.state().handset;
        doc.DeleteAllRecords();
        phone.state().handset.entries.clear();
        phone.state().sim.entries.clear();
        book.last = row.last;
        for (int i = 1; i <= row.filled; ++i)
            putBook(book, i, QStringLiteral("n%1").arg(i));
        phone.clearFaults();
        if (*row.refused)
            phone.injectFault(row.refused, Fault::cmeError(100));
        ASSERT_TRUE(sim ? doc.ReadSimBook() : doc.ReadHandsetBook());
        std::vector<CPhoneEntry*> sources;
        for (const char* number : {"01", "02", "03"}) {
            sources.push_back(addContact(CMVsyncDoc::ListPc, "x", number));
            if (row.keptOnSim)
                sources.back()->m_nSimIndex = 1;
        }

        const Transfer result = copy(row.book, CMVsyncDoc::ListPc, sources);
        EXPECT_TRUE(result.refused);
        EXPECT_EQ(result.done, row.done);
        EXPECT_EQ(result.full, row.full);
        // What was written is linked: a source, or its SIM copy, to each new phone entry.
        int linked = 0;
        for (const auto& entry : doc.m_pcContacts) {
            const auto it = book.entries.find(sim ? entry->m_nSimIndex : entry->m_nIndex);
            linked += !entry->IsDeleted() && it != book.entries.end() && it->second.name == QStringLiteral("x");
        }
        EXPECT_EQ(linked, row.done);
        EXPECT_EQ(book.used(), row.filled + (row.keptOnSim ? 0 : row.done));
        EXPECT_FALSE(doc.IsBusy());
    }
}

// Mobile Delete of the phonebook page: the handset pauses before the 51st and the 101st deletion,
// the SIM never; a refusal ends the run. The PC contacts linked to what went lose the link once
// the links are checked against the book, those linked to what stayed keep it.
TEST_F(SelectionTransfer, DeletesPauseOnTheHandsetAndStopAtARefusal)
{
    const struct {
        int book;
        int count;
        std::vector<size_t> pausedBefore; // deletions, counted from 0
    } rows[] = {
        {CMVsyncDoc::ListHandset, 120, {50, 100}},
        {CMVsyncDoc::ListSim, 60, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.book);
        const bool sim = row.book == CMVsyncDoc::ListSim;
        phonesim::Book& book = sim ? phone.state().sim : phone.state().handset;
        for (int i = 1; i <= row.count; ++i)
            putBook(book, i, QStringLiteral("p%1").arg(i));
        ASSERT_TRUE(sim ? doc.ReadSimBook() : doc.ReadHandsetBook());
        std::vector<CPhoneEntry*> all;
        for (const auto& entry : *doc.ContactList(row.book))
            all.push_back(entry.get());
        lines.clearWrites();
        ASSERT_TRUE(sim ? doc.SelectSimBook() : doc.SelectHandsetBook());
        const Transfer result = doc.DeleteFromPhoneBook(row.book, idsOf(all));
        doc.Disconnect();
        EXPECT_EQ(result.done, row.count);
        EXPECT_FALSE(result.refused);
        EXPECT_EQ(book.used(), 0);
        const std::vector<qint64> times = deleteTimes();
        ASSERT_EQ(times.size(), size_t(row.count));
        const qint64 usual = times[2] - times[1];
        for (size_t i = 1; i < times.size(); ++i) {
            const bool paused = std::count(row.pausedBefore.begin(), row.pausedBefore.end(), i) > 0;
            EXPECT_EQ(times[i] - times[i - 1], usual + (paused ? CMVsyncDoc::kDeletePauseMs : 0)) << "before " << i;
        }
    }

    // A refusal: the entries before it are gone, it and those after it stay.
    for (int i = 1; i <= 3; ++i)
        putBook(phone.state().handset, i, QStringLiteral("q%1").arg(i));
    ASSERT_TRUE(doc.ReadHandsetBook());
    std::vector<CPhoneEntry*> entries;
    for (const auto& entry : doc.m_handsetContacts)
        entries.push_back(entry.get());
    std::vector<CPhoneEntry*> linked;
    for (int i = 1; i <= 3; ++i) {
        linked.push_back(addContact(CMVsyncDoc::ListPc, "pc", "1"));
        linked.back()->m_nIndex = i;
    }
    phone.injectFault("AT+CPBW=2", Fault::cmeError(100));
    ASSERT_TRUE(doc.SelectHandsetBook());
    const Transfer result = doc.DeleteFromPhoneBook(CMVsyncDoc::ListHandset, idsOf(entries));
    doc.Disconnect();
    EXPECT_EQ(result.done, 1);
    EXPECT_TRUE(result.refused);
    EXPECT_TRUE(entries[0]->IsDeleted());
    EXPECT_FALSE(entries[1]->IsDeleted());
    EXPECT_FALSE(entries[2]->IsDeleted());
    EXPECT_EQ(phone.state().handset.used(), 2);
    doc.DropStaleContactLinks(CMVsyncDoc::ListHandset);
    EXPECT_EQ(linked[0]->m_nIndex, -1);
    EXPECT_EQ(linked[1]->m_nIndex, 2);
    EXPECT_EQ(linked[2]->m_nIndex, 3);
}

// The schedule and memo pages: each entry written takes its index and a refusal ends the run;
// deletions go from the last entry given to the first and stop at a refusal.
TEST_F(SelectionTransfer, SchedulesAndMemosGoOneByOne)
{
    const struct {
        const char* what;
        bool memos;
        int last;            // the phone list's last index
        const char* refused; // the command the phone refuses
        int done;
        bool full;
    } rows[] = {
        {"schedules, room for two", false, 2, "", 2, true},
        {"schedules refused", false, 30, "AT+CXDW=*", 0, false},
        {"memos, room for one", true, 1, "", 1, true},
        {"memos refused", true, 20, "AT+CMDW=*", 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        phone.clearFaults();
        phone.state().schedules.entries.clear();
        phone.state().memos.entries.clear();
        (row.memos ? phone.state().memos.last : phone.state().schedules.last) = row.last;
        ASSERT_TRUE(row.memos ? doc.ReadPhoneMemos() : doc.ReadPhoneSchedules());
        if (*row.refused)
            phone.injectFault(row.refused, Fault::cmeError(100));
        std::vector<CSyncRecord*> sources;
        std::vector<quintptr> ids;
        for (const char* text : {"one", "two", "three"}) {
            if (row.memos) {
                auto memo = std::make_unique<CMemoEntry>();
                memo->m_strText = QString::fromLatin1(text);
                doc.m_pcMemos.push_back(std::move(memo));
                sources.push_back(doc.m_pcMemos.back().get());
            } else {
                auto schedule = std::make_unique<CScheduleEntry>();
                schedule->m_strSubject = QString::fromLatin1(text);
                schedule->m_dtStart = COleDateTime(2004, 3, 7, 9, 0, 0);
                doc.m_outlookSchedules.push_back(std::move(schedule));
                sources.push_back(doc.m_outlookSchedules.back().get());
            }
            ids.push_back(CMVsyncDoc::RecordId(sources.back()));
        }
        const int list = row.memos ? CMVsyncDoc::ListPc : CMVsyncDoc::ListOutlook;
        ASSERT_TRUE(row.memos ? doc.ConnectForMemos() : doc.ConnectForSchedules());
        const Transfer result = row.memos ? doc.CopyToPhoneMemos(list, ids) : doc.CopyToPhoneSchedules(list, ids);
        doc.Disconnect();
        EXPECT_EQ(result.done, row.done);
        EXPECT_TRUE(result.refused);
        EXPECT_EQ(result.full, row.full);
        for (size_t i = 0; i < sources.size(); ++i)
            EXPECT_EQ(sources[i]->m_nIndex != -1, int(i) < row.done) << i;
        const int onPhone = row.memos ? phone.state().memos.used() : phone.state().schedules.used();
        EXPECT_EQ(onPhone, row.done);
        // Only PC and PIM-side entries are sources.
        const Transfer fromPhone = row.memos ? doc.CopyToPhoneMemos(CMVsyncDoc::ListPhone, ids)
                                             : doc.CopyToPhoneSchedules(CMVsyncDoc::ListPhone, ids);
        EXPECT_EQ(fromPhone.done, 0);
    }

    // Deletions: three schedules on the phone, the middle one refused.
    phone.clearFaults();
    phone.state().schedules.last = 30;
    for (int i = 1; i <= 3; ++i)
        phone.state().schedules.entries[i] = {QDateTime({2004, 3, i}, {9, 0}), 0, 0, QStringLiteral("s%1").arg(i)};
    ASSERT_TRUE(doc.ReadPhoneSchedules());
    ASSERT_EQ(doc.m_phoneSchedules.size(), 3u);
    std::vector<CScheduleEntry*> onPhone;
    for (const auto& entry : doc.m_phoneSchedules)
        onPhone.push_back(entry.get());
    phone.injectFault("AT+CXDW=2", Fault::cmeError(100));
    phone.clearCommandLog();
    ASSERT_TRUE(doc.ConnectForSchedules());
    const Transfer result = doc.DeleteFromPhoneSchedules(idsOf(onPhone));
    doc.Disconnect();
    EXPECT_EQ(commands("AT+CXDW="), (QStringList {"AT+CXDW=3", "AT+CXDW=2"}));
    EXPECT_EQ(result.done, 1);
    EXPECT_TRUE(result.refused);
    EXPECT_EQ(onPhone[2]->m_nIndex, -1);
    EXPECT_TRUE(onPhone[2]->IsDeleted());
    EXPECT_FALSE(onPhone[1]->IsDeleted());
    EXPECT_FALSE(onPhone[0]->IsDeleted());
}

} // namespace
