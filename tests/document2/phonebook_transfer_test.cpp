// The phonebook page's ">>" and phone-side Delete as the document carries them out, against the
// simulated phone of the second family: which contacts are written and where, which links they
// take and which they take from others, and how a refused write or a full book ends the run.
#include "document2/mvsync_doc.h"

#include "link2/session_fixture.h"
#include "phonesim/fault.h"

#include <gtest/gtest.h>

#include <span>

namespace {

using namespace dh2;
using link2test::SessionTest;
using phonesim::Fault;

class PhonebookTransfer : public SessionTest {
protected:
    CPhoneEntry* addContact(int list, const QString& name, const QString& mobile, const QString& office = {},
                            const QString& home = {})
    {
        auto entry = std::make_unique<CPhoneEntry>();
        entry->m_strName = name;
        entry->m_strMobile = mobile;
        entry->m_strOffice = office;
        entry->m_strHome = home;
        entry->m_nList = list;
        doc.ContactList(list)->push_back(std::move(entry));
        return doc.ContactList(list)->back().get();
    }
    void putHandset(int index, const QString& name)
    {
        phoneState().handset.entries[index].name = name;
        phoneState().handset.entries[index].numbers[0].number = QStringLiteral("0%1").arg(index);
    }
    void putSim(int index, const QString& name)
    {
        phoneState().sim.entries[index] = {name, QStringLiteral("0%1").arg(index), 255};
    }
    bool read(int book) { return book == CMVsyncDoc::ListSim ? doc.ReadSimBook() : doc.ReadHandsetBook(); }
    bool select(int book) { return book == CMVsyncDoc::ListSim ? doc.SelectSimBook() : doc.SelectHandsetBook(); }
    // ">>" as the page runs it: one session around the document's run.
    CMVsyncDoc::PhoneBookWrite copy(int book, int sourceList, const std::vector<CPhoneEntry*>& sources)
    {
        std::vector<quintptr> ids;
        for (const CPhoneEntry* source : sources)
            ids.push_back(CMVsyncDoc::RecordId(source));
        EXPECT_TRUE(select(book));
        const CMVsyncDoc::PhoneBookWrite result = doc.CopyToPhoneBook(book, sourceList, ids);
        doc.Disconnect();
        return result;
    }
    static int linkOf(int book, const CPhoneEntry& entry)
    {
        return book == CMVsyncDoc::ListSim ? entry.m_nSimIndex : entry.m_nIndex;
    }
    // What the phone holds at an index of a book: the name and the one number a SIM entry has,
    // or a handset entry's mobile, office and home numbers by the kinds they are filed under.
    QString onPhone(int book, int index)
    {
        if (book == CMVsyncDoc::ListSim) {
            const auto it = phoneState().sim.entries.find(index);
            return it == phoneState().sim.entries.end() ? QString() : it->second.name + u' ' + it->second.number;
        }
        const auto it = phoneState().handset.entries.find(index);
        if (it == phoneState().handset.entries.end())
            return {};
        QStringList byKind(3);
        for (const phonesim::NumberSlot& slot : it->second.numbers) {
            if (!slot.number.isEmpty())
                byKind[slot.kind - 1] = slot.number;
        }
        return it->second.name + u' ' + byKind.join(u'/');
    }

    CMVsyncDoc doc;
};

// Which contacts go to each book, to which index, with which number, and the links they take: a
// contact without a name or without any number is passed over; the SIM takes the mobile number,
// else the office one, else the home one; each index goes first from every other contact that held
// it, PC or PIM-side.
TEST_F(PhonebookTransfer, WritesNamedContactsWithANumberAndLinksThem)
{
    const struct {
        const char* name;
        const char* mobile;
        const char* office;
        const char* home;
        int handsetIndex;      // -1: passed over
        const char* onHandset; // name and mobile/office/home as the phone holds them
        int simIndex;
        const char* onSim; // name and the one number
    } rows[] = {
        {"Ann", "0301", "", "", 2, "Ann 0301//", 2, "Ann 0301"},
        {"", "0302", "", "", -1, "", -1, ""},
        {"Bob", "", "", "", -1, "", -1, ""},
        {"Cleo", "", "0303", "0304", 3, "Cleo /0303/0304", 3, "Cleo 0303"},
        {"Dan", "", "", "0305", 4, "Dan //0305", 4, "Dan 0305"},
    };
    for (const int book : {int(CMVsyncDoc::ListHandset), int(CMVsyncDoc::ListSim)}) {
        SCOPED_TRACE(book);
        doc.DeleteAllRecords();
        phone.clearCommandLog();
        putHandset(1, QStringLiteral("Taken"));
        putSim(1, QStringLiteral("Taken"));
        ASSERT_TRUE(read(book));
        // Links left from another phone to the indices the run hands out.
        CPhoneEntry* stalePc = addContact(CMVsyncDoc::ListPc, QStringLiteral("Old"), QStringLiteral("1"));
        CPhoneEntry* stalePim = addContact(CMVsyncDoc::ListOutlook, QStringLiteral("Older"), QStringLiteral("2"));
        CPhoneEntry* kept = addContact(CMVsyncDoc::ListPc, QStringLiteral("Kept"), QStringLiteral("3"));
        stalePc->m_nIndex = stalePc->m_nSimIndex = 2;
        stalePim->m_nIndex = stalePim->m_nSimIndex = 4;
        kept->m_nIndex = kept->m_nSimIndex = 1;
        std::vector<CPhoneEntry*> sources;
        for (const auto& row : rows) {
            sources.push_back(addContact(CMVsyncDoc::ListPc, QString::fromLatin1(row.name),
                                         QString::fromLatin1(row.mobile), QString::fromLatin1(row.office),
                                         QString::fromLatin1(row.home)));
        }
        const CMVsyncDoc::PhoneBookWrite result = copy(book, CMVsyncDoc::ListPc, sources);
        EXPECT_EQ(result.written, 3);
        EXPECT_FALSE(result.refused);
        EXPECT_FALSE(result.full);
        EXPECT_EQ(commands("AT+CPBW=").size(), 3);
        for (size_t i = 0; i < std::size(rows); ++i) {
            SCOPED_TRACE(rows[i].name);
            const bool sim = book == CMVsyncDoc::ListSim;
            const int index = sim ? rows[i].simIndex : rows[i].handsetIndex;
            EXPECT_EQ(linkOf(book, *sources[i]), index);
            // A contact keeps its own numbers whatever the SIM took.
            EXPECT_EQ(sources[i]->m_strMobile, QString::fromLatin1(rows[i].mobile));
            if (index > 0) {
                EXPECT_EQ(onPhone(book, index), QString::fromLatin1(sim ? rows[i].onSim : rows[i].onHandset));
                EXPECT_EQ(sources[i]->m_nList, sim ? CMVsyncDoc::ListPc : CMVsyncDoc::ListHandset);
            }
        }
        EXPECT_EQ(linkOf(book, *stalePc), -1);
        EXPECT_EQ(linkOf(book, *stalePim), -1);
        EXPECT_EQ(linkOf(book, *kept), 1);
    }
}

// A contact already written goes to its own phone entry again, in place; PIM-side contacts are
// sources as well; a source from a phone book, or a target that is no book, writes nothing.
TEST_F(PhonebookTransfer, AgainInPlaceAndOnlyFromThePcSide)
{
    ASSERT_TRUE(doc.ReadHandsetBook());
    CPhoneEntry* ann = addContact(CMVsyncDoc::ListOutlook, QStringLiteral("Ann"), QStringLiteral("0301"));
    EXPECT_EQ(copy(CMVsyncDoc::ListHandset, CMVsyncDoc::ListOutlook, {ann}).written, 1);
    ASSERT_EQ(ann->m_nIndex, 1);
    ann->m_strMobile = QStringLiteral("0399");
    EXPECT_EQ(copy(CMVsyncDoc::ListHandset, CMVsyncDoc::ListOutlook, {ann}).written, 1);
    EXPECT_EQ(ann->m_nIndex, 1);
    EXPECT_EQ(doc.m_arHandsetContacts.size(), 1u);
    EXPECT_EQ(onPhone(CMVsyncDoc::ListHandset, 1), QStringLiteral("Ann 0399//"));

    phone.clearCommandLog();
    const quintptr onHandset = CMVsyncDoc::RecordId(doc.m_arHandsetContacts[0].get());
    const quintptr fromPim = CMVsyncDoc::RecordId(ann);
    EXPECT_EQ(doc.CopyToPhoneBook(CMVsyncDoc::ListHandset, CMVsyncDoc::ListHandset, {onHandset}).written, 0);
    EXPECT_EQ(doc.CopyToPhoneBook(CMVsyncDoc::ListHandset, CMVsyncDoc::ListPc, {fromPim}).written, 0);
    EXPECT_EQ(doc.CopyToPhoneBook(CMVsyncDoc::ListPc, CMVsyncDoc::ListOutlook, {fromPim}).written, 0);
    EXPECT_TRUE(commands("AT+CPBW=").isEmpty());
}

// A write that fails ends the run: the contacts before it stay written and linked, those after it
// are not tried, and the result says whether the book was full then.
TEST_F(PhonebookTransfer, ARefusedWriteOrAFullBookEndsTheRun)
{
    const struct {
        const char* what;
        int book;
        int simCapacity;  // of the card
        int handsetFill;  // entries on the handset before the run, from index 1
        const char* fault; // a write the phone refuses
        int written;
        bool full;
        int sent; // writes that went out
    } rows[] = {
        {"handset refuses the second", CMVsyncDoc::ListHandset, 250, 0, "AT+CPBW=2,*", 1, false, 2},
        {"handset full from the start", CMVsyncDoc::ListHandset, 250, 200, "", 0, true, 0},
        {"handset full after one", CMVsyncDoc::ListHandset, 250, 199, "", 1, true, 1},
        {"SIM refuses the first", CMVsyncDoc::ListSim, 250, 0, "AT+CPBW=1,*", 0, false, 1},
        {"SIM full after two", CMVsyncDoc::ListSim, 2, 0, "", 2, true, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        doc.DeleteAllRecords();
        phoneState().handset.entries.clear();
        phoneState().sim.entries.clear();
        phoneState().sim.last = row.simCapacity;
        for (int i = 1; i <= row.handsetFill; ++i)
            putHandset(i, QStringLiteral("n%1").arg(i));
        phone.clearFaults();
        if (*row.fault)
            phone.injectFault(row.fault, Fault::error());
        ASSERT_TRUE(read(row.book));
        phone.clearCommandLog();
        std::vector<CPhoneEntry*> sources;
        for (const char* name : {"Ann", "Bob", "Cleo"})
            sources.push_back(addContact(CMVsyncDoc::ListPc, QString::fromLatin1(name), QStringLiteral("0301")));

        const CMVsyncDoc::PhoneBookWrite result = copy(row.book, CMVsyncDoc::ListPc, sources);
        EXPECT_EQ(result.written, row.written);
        EXPECT_TRUE(result.refused);
        EXPECT_EQ(result.full, row.full);
        EXPECT_EQ(commands("AT+CPBW=").size(), row.sent);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(linkOf(row.book, *sources[size_t(i)]) != -1, i < row.written) << i;
        EXPECT_FALSE(doc.IsBusy());
    }
}

// Deleting phone entries takes their links from the PC and PIM-side contacts; an entry the phone
// keeps keeps its links, and the entries after it are still deleted.
TEST_F(PhonebookTransfer, DeleteUnlinksWhatWentAndGoesOnPastARefusal)
{
    for (const int book : {int(CMVsyncDoc::ListHandset), int(CMVsyncDoc::ListSim)}) {
        SCOPED_TRACE(book);
        const bool sim = book == CMVsyncDoc::ListSim;
        doc.DeleteAllRecords();
        phone.clearFaults();
        for (int i = 1; i <= 3; ++i) {
            putHandset(i, QStringLiteral("n%1").arg(i));
            putSim(i, QStringLiteral("n%1").arg(i));
        }
        ASSERT_TRUE(read(book));
        std::vector<CPhoneEntry*> linked;
        for (int i = 1; i <= 3; ++i) {
            CPhoneEntry* pc = addContact(CMVsyncDoc::ListPc, QStringLiteral("pc%1").arg(i), QStringLiteral("1"));
            CPhoneEntry* pim = addContact(CMVsyncDoc::ListOutlook, QStringLiteral("pim%1").arg(i), QStringLiteral("1"));
            (sim ? pc->m_nSimIndex : pc->m_nIndex) = i;
            (sim ? pim->m_nSimIndex : pim->m_nIndex) = i;
            linked.push_back(pc);
            linked.push_back(pim);
        }
        std::vector<quintptr> ids;
        for (const auto& entry : *doc.ContactList(book))
            ids.push_back(CMVsyncDoc::RecordId(entry.get()));
        ids.pop_back(); // index 3 is not asked for
        phone.injectFault("AT+CPBW=1", Fault::error());

        ASSERT_TRUE(select(book));
        const CMVsyncDoc::PhoneBookDelete result = doc.DeleteFromPhoneBook(book, ids);
        EXPECT_EQ(result.deleted, 1);
        EXPECT_FALSE(result.unconfirmed);
        doc.Disconnect();
        const std::vector<int> left = {1, 3};
        std::vector<int> onBook;
        for (const auto& entry : *doc.ContactList(book))
            onBook.push_back(linkOf(book, *entry));
        EXPECT_EQ(onBook, left);
        EXPECT_EQ(sim ? phoneState().sim.entries.count(2) : phoneState().handset.entries.count(2), 0u);
        const std::vector<int> links = {1, 1, -1, -1, 3, 3};
        for (size_t i = 0; i < linked.size(); ++i)
            EXPECT_EQ(linkOf(book, *linked[i]), links[i]) << linked[i]->m_strName.toStdString();
    }
}

// A write or delete whose answer never came: the phone may have carried it out. The book counts
// as unread and is emptied, and no contact keeps the index the command touched where the phone may
// or may not hold an entry there (a new entry's place, a deleted one); a rewrite in place leaves an
// entry there either way, so its links stay. A delete run ends there. A plain ERROR keeps what the
// book and the links were.
TEST_F(PhonebookTransfer, AnUnconfirmedWriteOrDeleteLeavesTheBookUnreadAndNoUnsureLink)
{
    enum class Op { Write, Rewrite, Delete };
    const struct {
        const char* what;
        Op op;
        bool unconfirmed;
        const char* fault; // the command whose answer goes astray or is refused
        int links[5];      // of the contacts at 1, PIM-side at 1, at 2 (stale), at 3, and the new one
        int done;          // written or deleted
        std::vector<int> book; // the indices the book lists afterwards
        bool held;         // the phone holds an entry at the index the command touched (2 or 1)
    } rows[] = {
        {"new entry", Op::Write, true, "AT+CPBW=2,*", {1, 1, -1, 3, -1}, 0, {}, true},
        {"rewrite", Op::Rewrite, true, "AT+CPBW=1,*", {1, 1, 2, 3, -1}, 0, {}, true},
        {"delete", Op::Delete, true, "AT+CPBW=1", {-1, -1, 2, 3, -1}, 0, {}, false},
        {"new entry refused", Op::Write, false, "AT+CPBW=2,*", {1, 1, 2, 3, -1}, 0, {1, 3}, false},
        {"rewrite refused", Op::Rewrite, false, "AT+CPBW=1,*", {1, 1, 2, 3, -1}, 0, {1, 3}, true},
        {"delete refused", Op::Delete, false, "AT+CPBW=1", {1, 1, 2, -1, -1}, 1, {1}, true},
    };
    using Faults = std::span<const std::pair<const char*, Fault>>;
    const std::pair<const char*, Fault> unsure[] = {
        {"lost", Fault::lost()}, {"lostclose", Fault::lostThenClose()}, {"latefinal", Fault::lateFinal(1500)}};
    const std::pair<const char*, Fault> refused[] = {{"error", Fault::error()}};
    for (const int book : {int(CMVsyncDoc::ListHandset), int(CMVsyncDoc::ListSim)}) {
        const bool sim = book == CMVsyncDoc::ListSim;
        for (const auto& row : rows) {
            for (const auto& [faultName, fault] : row.unconfirmed ? Faults(unsure) : Faults(refused)) {
                SCOPED_TRACE(testing::Message() << (sim ? "SIM " : "handset ") << row.what << ", " << faultName);
                doc.DeleteAllRecords();
                phone.clearFaults();
                phoneState().handset.entries.clear();
                phoneState().sim.entries.clear();
                for (const int index : {1, 3}) {
                    putHandset(index, QStringLiteral("n%1").arg(index));
                    putSim(index, QStringLiteral("n%1").arg(index));
                }
                ASSERT_TRUE(read(book));
                std::vector<CPhoneEntry*> contacts;
                for (const int index : {1, 1, 2, 3, -1}) {
                    const int list = contacts.size() == 1 ? CMVsyncDoc::ListOutlook : CMVsyncDoc::ListPc;
                    CPhoneEntry* contact = addContact(list, QStringLiteral("c%1").arg(contacts.size()), QStringLiteral("0301"));
                    (sim ? contact->m_nSimIndex : contact->m_nIndex) = index;
                    if (!sim && index > 0)
                        contact->m_nList = CMVsyncDoc::ListHandset;
                    contacts.push_back(contact);
                }
                phone.injectFault(row.fault, fault, 1);
                phone.clearCommandLog();
                int done = 0;
                if (row.op == Op::Delete) {
                    std::vector<quintptr> ids;
                    for (const auto& entry : *doc.ContactList(book))
                        ids.push_back(CMVsyncDoc::RecordId(entry.get()));
                    ASSERT_TRUE(select(book));
                    const CMVsyncDoc::PhoneBookDelete result = doc.DeleteFromPhoneBook(book, ids);
                    doc.Disconnect();
                    done = result.deleted;
                    EXPECT_EQ(result.unconfirmed, row.unconfirmed);
                    EXPECT_EQ(result.index, row.unconfirmed ? 1 : -1);
                    // The run stops at a delete nobody can be sure of.
                    EXPECT_EQ(commands("AT+CPBW=").size(), row.unconfirmed ? 1 : 2);
                } else {
                    CPhoneEntry* source = contacts[row.op == Op::Write ? 4 : 0];
                    source->m_strMobile = QStringLiteral("0399");
                    const std::vector<quintptr> ids {CMVsyncDoc::RecordId(source)};
                    ASSERT_TRUE(select(book));
                    const CMVsyncDoc::PhoneBookWrite result = doc.CopyToPhoneBook(book, CMVsyncDoc::ListPc, ids);
                    done = result.written;
                    EXPECT_TRUE(result.refused);
                    EXPECT_EQ(result.unconfirmed, row.unconfirmed);
                    EXPECT_FALSE(result.full);
                    if (row.unconfirmed) {
                        // Nothing goes by the book until it is read again, and a write that never
                        // went out is no unconfirmed one.
                        const CMVsyncDoc::PhoneBookWrite again = doc.CopyToPhoneBook(book, CMVsyncDoc::ListPc, ids);
                        EXPECT_EQ(again.written, 0);
                        EXPECT_FALSE(again.unconfirmed);
                        EXPECT_EQ(commands("AT+CPBW=").size(), 1);
                    }
                    doc.Disconnect();
                }
                EXPECT_EQ(done, row.done);
                // The phone carried out what it did not confirm.
                EXPECT_EQ(!onPhone(book, row.op == Op::Write ? 2 : 1).isEmpty(), row.held);
                EXPECT_EQ(sim ? doc.m_bSimRead : doc.m_bHandsetRead, !row.unconfirmed);
                std::vector<int> listed;
                for (const auto& entry : *doc.ContactList(book))
                    listed.push_back(linkOf(book, *entry));
                EXPECT_EQ(listed, row.book);
                for (size_t i = 0; i < contacts.size(); ++i)
                    EXPECT_EQ(linkOf(book, *contacts[i]), row.links[i]) << i;
                EXPECT_FALSE(doc.IsBusy());
            }
        }
    }
}

} // namespace
