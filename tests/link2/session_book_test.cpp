// The phonebooks against the simulated phone of each model: reads in bulk, in pairs, in
// blocks, halves and one by one, the group table, and the exact write commands.
#include "session_fixture.h"

#include "phonesim/fault.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

using namespace dh2;
using link2test::SessionTest;
using link2test::Sync;
using phonesim::Fault;

phonesim::HandsetEntry2 StoredContact(const QString& name, const QString& mobile, int group = 255)
{
    phonesim::HandsetEntry2 entry;
    entry.name = name;
    entry.numbers[0] = {mobile, 1};
    entry.email = QStringLiteral("x@example.org");
    entry.group = group;
    return entry;
}

CPhoneEntry Contact(int index, const QString& name)
{
    CPhoneEntry entry;
    entry.m_nIndex = index;
    entry.m_strName = name;
    return entry;
}

template <int Model>
class BookTest : public SessionTest {
protected:
    BookTest() : SessionTest(Model) {}

    // Connects, selects the handset book, writes the entries and disconnects.
    bool writeHandset(std::vector<CPhoneEntry*> entries)
    {
        if (!session.SelectHandsetBook())
            return false;
        bool ok = true;
        for (CPhoneEntry* entry : entries)
            ok = ok && session.AddHandsetEntry(*entry);
        session.Disconnect();
        return ok;
    }
};

using Model1 = BookTest<1>;
using Model2 = BookTest<2>;
using Model3 = BookTest<3>;

TEST_F(Model2, HandsetReadInOneCommandWithTheGroups)
{
    phoneState().handset.entries[1] = StoredContact(QStringLiteral("Anna"), QStringLiteral("+4917012"), 0);
    phoneState().handset.entries[200] = StoredContact(QStringLiteral("Zoe"), QStringLiteral("030"));
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadHandsetBook(list));
    EXPECT_EQ(commands(), QStringList({"AT", "ATI", "AT+SINF", "ATE0", "AT+SSLP=1000", "AT+SBEG", "AT+CSCS=\"SYNC\"",
                              "AT+CPGR=?", "AT+CPGR=0,6", "AT+CPBS=\"PM\"", "AT+CPBR=?", "AT+CPBR=1,200", "AT+SEND",
                              "AT+CSCS=\"GSM\"", "ATE1"}));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->m_strName, QStringLiteral("Anna"));
    EXPECT_EQ(list[0]->m_strMobile, QStringLiteral("+4917012"));
    EXPECT_EQ(list[0]->m_nGroup, 0);
    EXPECT_EQ(list[1]->m_nIndex, 200);
    EXPECT_EQ(list[1]->m_nGroup, CPhoneEntry::kNoGroup);

    // Seven groups from this model: "No group" follows with room for the whole book.
    ASSERT_EQ(g_arrGroups.size(), 8u);
    EXPECT_EQ(g_arrGroups[0].m_strName, QStringLiteral("Family"));
    EXPECT_EQ(g_arrGroups[0].m_nMembers, 1);
    EXPECT_EQ(g_arrGroups[0].m_nCapacity, 20);
    EXPECT_EQ(g_arrGroups[7].m_strName, QStringLiteral("No group"));
    EXPECT_EQ(g_arrGroups[7].m_nCapacity, 200);
    EXPECT_EQ(progress.open, 0);
}

TEST_F(Model3, EightGroupsComeAsTheyAreAndFiveGiveTheDefaults)
{
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadHandsetBook(list));
    ASSERT_EQ(g_arrGroups.size(), 8u);
    EXPECT_EQ(g_arrGroups[6].m_strName, QStringLiteral("Others"));
    EXPECT_EQ(g_arrGroups[6].m_nCapacity, 50);

    phoneState().groups.resize(5);
    ASSERT_TRUE(session.ReadHandsetBook(list));
    EXPECT_EQ(commands("AT+CPGR=0"), QStringList({"AT+CPGR=0,7", "AT+CPGR=0,4"}));
    ASSERT_EQ(g_arrGroups.size(), 8u);
    EXPECT_EQ(g_arrGroups[2].m_strName, QStringLiteral("Colleague"));
    EXPECT_EQ(g_arrGroups[2].m_nCapacity, 0);
}

// A group list that does not parse fails the read and keeps the table there was.
TEST_F(Model2, AFailedGroupReadKeepsTheTable)
{
    phone.injectFault("AT+CPGR=0,6", Fault::reply("\r\n+CPGR: 0,\"" + Sync(QStringLiteral("A")).toLatin1() + "\",1,\r\n\r\nOK\r\n"));
    RecordList<CPhoneEntry> list;
    EXPECT_FALSE(session.ReadHandsetBook(list));
    EXPECT_EQ(session.m_nResult, SESSION_BAD_GROUPS);
    EXPECT_EQ(session.m_nCause, 0);
    EXPECT_EQ(g_arrGroups[2].m_strName, QStringLiteral("Colleague"));
    EXPECT_EQ(commands("AT+SEND"), QStringList {"AT+SEND"});
    EXPECT_TRUE(ui().mainWindowEnabled);
}

// Model 1 has no groups and lists every entry twice; its names are capped at 20.
TEST_F(Model1, HandsetReadTakesTheSecondLineOfEachPair)
{
    phoneState().handset.entries[3] = StoredContact(QStringLiteral("Bo"), QStringLiteral("5"));
    phoneState().handset.entries[3].fax = QStringLiteral("fax");
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadHandsetBook(list));
    EXPECT_TRUE(commands("AT+CPGR").isEmpty());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->m_strFax, QStringLiteral("fax"));
    EXPECT_EQ(list[0]->m_strEmail, QStringLiteral("x@example.org"));
    EXPECT_EQ(session.m_nHandsetNameLimit, 20); // the phone reports 30
}

// A phone that cannot list the whole book at once is read two entries at a time; a bulk reply
// that does not parse is dropped first.
TEST_F(Model2, BulkFailuresFallBackToPairs)
{
    phoneState().handset.entries[1] = StoredContact(QStringLiteral("Anna"), QStringLiteral("1"));
    phoneState().handset.entries[4] = StoredContact(QStringLiteral("Ben"), QStringLiteral("4"));
    for (const Fault& fault : {Fault::error(), Fault::reply("\r\n+CPBR: 1,\"1\",129\r\n\r\nOK\r\n")}) {
        phone.clearCommandLog();
        phone.clearFaults();
        phone.injectFault("AT+CPBR=1,200", fault);
        RecordList<CPhoneEntry> list;
        ASSERT_TRUE(session.ReadHandsetBook(list));
        const QStringList reads = commands("AT+CPBR=");
        ASSERT_EQ(reads.size(), 1 + 100 + 1);
        EXPECT_EQ(reads[0], QStringLiteral("AT+CPBR=?"));
        EXPECT_EQ(reads[1], QStringLiteral("AT+CPBR=1,200"));
        EXPECT_EQ(reads[2], QStringLiteral("AT+CPBR=1,2"));
        EXPECT_EQ(reads.last(), QStringLiteral("AT+CPBR=199,200"));
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[1]->m_strName, QStringLiteral("Ben"));
    }
    // A pair that fails ends the read.
    phone.injectFault("AT+CPBR=3,4", Fault::error());
    RecordList<CPhoneEntry> list;
    EXPECT_FALSE(session.ReadHandsetBook(list));
    EXPECT_EQ(session.m_nResult, AT_ERROR);
}

// A call during the whole-book read: RING after the body, the final OK up to 3 s later. The
// read falls back to pairs, and the late OK, drained before the next command, answers none of
// them: every entry is there, on every model.
class LateFinalTest : public SessionTest, public ::testing::WithParamInterface<int> {
protected:
    LateFinalTest() : SessionTest(GetParam()) {}
};

TEST_P(LateFinalTest, ALateFinalResultAfterACallAnswersNoLaterCommand)
{
    // A phone that takes its time over every answer, so that the late OK can come first.
    phone.setLatencyMs(400);
    for (int delayMs = 1900; delayMs <= 3000; delayMs += 100) {
        SCOPED_TRACE(delayMs);
        phone.clearCommandLog();
        for (int index = 1; index <= 3; ++index)
            phoneState().handset.entries[index] = StoredContact(QStringLiteral("Entry %1").arg(index), QString::number(index));
        phone.clearFaults();
        phone.injectFault("AT+CPBR=1,200", Fault::lateFinal(delayMs));
        RecordList<CPhoneEntry> list;
        EXPECT_TRUE(session.ReadHandsetBook(list)) << session.m_nResult;
        QStringList names;
        for (const auto& entry : list)
            names << entry->m_strName;
        EXPECT_EQ(names, QStringList({"Entry 1", "Entry 2", "Entry 3"})) << names.join(u',').toStdString();
        EXPECT_EQ(commands().count(QStringLiteral("AT+CPBR=1,2")), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(EachModel, LateFinalTest, ::testing::Values(1, 2, 3));

// Each model's way of reading its SIM: halves (types 2 and 3), blocks of ten (type 1), one by
// one for a SIM of 255; a SIM of one place, or one without a range, reads as empty.
TEST_F(Model2, SimReadInTwoHalves)
{
    phoneState().sim.entries[51] = {QStringLiteral("Wang"), QStringLiteral("+8613800"), 255};
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadSimBook(list));
    EXPECT_EQ(commands("AT+CPBR"), QStringList({"AT+CPBR=?", "AT+CPBR=1,50", "AT+CPBR=51,100"}));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->m_nSimIndex, 51);
    EXPECT_EQ(list[0]->m_strMobile, QStringLiteral("+8613800"));
    EXPECT_EQ(session.m_nSimNameLimit, 14);

    phone.injectFault("AT+CPBR=51,100", Fault::error());
    EXPECT_FALSE(session.ReadSimBook(list));
    EXPECT_EQ(session.m_nResult, SESSION_BAD_LIST);
    EXPECT_EQ(session.m_nCause, AT_ERROR); // what failed the half
}

TEST_F(Model3, SimReadInTwoHalvesOfItsOwnSize)
{
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadSimBook(list));
    EXPECT_EQ(commands("AT+CPBR"), QStringList({"AT+CPBR=?", "AT+CPBR=1,125", "AT+CPBR=126,250"}));
    EXPECT_EQ(session.m_nSimCapacity, 250);
    EXPECT_EQ(session.m_nSimNameLimit, 12);
}

TEST_F(Model1, SimReadInBlocksOfTen)
{
    phoneState().sim.last = 11;
    phoneState().sim.entries[11] = {QStringLiteral("Li"), QStringLiteral("12"), 255};
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadSimBook(list));
    EXPECT_EQ(commands("AT+CPBR"), QStringList({"AT+CPBR=?", "AT+CPBR=1,10", "AT+CPBR=11,11"}));
    ASSERT_EQ(list.size(), 1u); // listed twice, taken once
}

TEST_F(Model2, SimOf255IsReadOneByOne)
{
    phoneState().sim.last = 255;
    phoneState().sim.entries[255] = {QStringLiteral("Last"), QStringLiteral("9"), 255};
    phone.injectFault("AT+CPBR=7", Fault::cmeError(22)); // an empty place may answer so
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadSimBook(list));
    const QStringList reads = commands("AT+CPBR=");
    ASSERT_EQ(reads.size(), 256);
    EXPECT_EQ(reads[1], QStringLiteral("AT+CPBR=1"));
    EXPECT_EQ(reads.last(), QStringLiteral("AT+CPBR=255"));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(progress.steps.filter(QStringLiteral("Loading data... 255-255")).size(), 1);
}

TEST_F(Model2, SimWithoutRoomOrRangeReadsAsEmpty)
{
    for (const QByteArray& reply : {QByteArray("\r\n+CPBR: (1-1),20,42\r\n\r\nOK\r\n"), QByteArray("\r\n+CPBR: (1),20,42\r\n\r\nOK\r\n")}) {
        phone.clearCommandLog();
        phone.clearFaults();
        phone.injectFault("AT+CPBR=?", Fault::reply(reply));
        RecordList<CPhoneEntry> list;
        EXPECT_TRUE(session.ReadSimBook(list));
        EXPECT_EQ(commands("AT+CPBR"), QStringList {"AT+CPBR=?"});
        EXPECT_TRUE(list.empty());
    }
}

TEST_F(Model2, SimNotReadyShowsItsBox)
{
    phoneState().simReady = false;
    RecordList<CPhoneEntry> list;
    EXPECT_FALSE(session.ReadSimBook(list));
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("SIM is not ready")});
    EXPECT_EQ(commands("AT+SEND"), QStringList {"AT+SEND"});
}

// A limit the phone leaves out, or reports as 0, keeps the one there was.
TEST_F(Model2, MissingLimitsKeepThePreviousOnes)
{
    session.m_nHandsetNameLimit = 16;
    phone.injectFault("AT+CPBR=?", Fault::reply("\r\n+CPBR: (1-200),0\r\n\r\nOK\r\n"));
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadHandsetBook(list));
    EXPECT_EQ(session.m_nHandsetNameLimit, 16);
    EXPECT_EQ(session.m_nHandsetNumberLimit, 20);
}

// The write command with groups: 14 fields, the first number there is in front with its kind,
// blanks for empty places, "P" sent as '+', padding, and 255 for no group.
TEST_F(Model2, HandsetWriteCommandWithGroups)
{
    ResetDefaultGroups();
    CPhoneEntry entry = Contact(5, QStringLiteral("Anna"));
    entry.m_strHome = QStringLiteral("0301P2");
    entry.m_strEmail = QStringLiteral("a@b.c");
    entry.m_strFax = QStringLiteral("12345678901234");
    const QString name = Sync(QStringLiteral("Anna"));
    const QString email = Sync(QStringLiteral("a@b.c"));
    EXPECT_EQ(session.BuildHandsetWrite(entry), ("AT+CPBW=5,\"0301+2\",129,\"" + name + "\",3,\" \",,1,\" \",,2,\"" + email
                                                     + "\",\"12345678901234            \",255\r")
                                                    .toLatin1());
    entry.m_strOffice = QStringLiteral("+4930");
    entry.m_nGroup = 2;
    EXPECT_TRUE(session.BuildHandsetWrite(entry).startsWith(
        ("AT+CPBW=5,\"+4930\",145,\"" + name + "\",2,\"0301+2\",129,3,\" \",,1,\"").toLatin1()));
    EXPECT_TRUE(session.BuildHandsetWrite(entry).endsWith(",2\r"));
    entry.m_nGroup = -1;
    session.BuildHandsetWrite(entry);
    EXPECT_TRUE(session.BuildHandsetWrite(entry).endsWith(",255\r"));
}

// Without groups (model 1): 13 fields and the fax in Base64; a command of 226 characters or
// more goes without its fax.
TEST_F(Model1, HandsetWriteCommandWithoutGroups)
{
    ModelProfile().SetModel(CModelProfile::TypeTondav);
    CPhoneEntry entry = Contact(9, QString());
    entry.m_strMobile = QStringLiteral("1");
    entry.m_strFax = QStringLiteral("fax");
    EXPECT_EQ(session.BuildHandsetWrite(entry), ("AT+CPBW=9,\"1\",129,\"" + Sync(QStringLiteral(" ")) + "\",1,\" \",,2,\" \",,3,\""
                                                     + Sync(QStringLiteral(" ")) + "\",\"" + Sync(QStringLiteral("fax")) + "\"\r")
                                                    .toLatin1());
    EXPECT_EQ(entry.m_strName, QStringLiteral(" "));

    entry.m_strName = QString(20, u'N');
    entry.m_strEmail = QString(30, u'e');
    entry.m_strFax = QString(24, u'f');
    entry.m_strMobile = entry.m_strOffice = entry.m_strHome = QString(20, u'9');
    bool faxLeftOut = false;
    const QByteArray command = session.BuildHandsetWrite(entry, &faxLeftOut);
    EXPECT_TRUE(command.endsWith(",\"\"\r")) << command.toStdString();
    EXPECT_EQ(entry.m_strEmail, QString(24, u'e'));
    // The entry holds what was sent.
    EXPECT_TRUE(faxLeftOut);
    EXPECT_TRUE(entry.m_strFax.isEmpty());
}

// Names are cut to the limit, to fewer characters when they need the wide form; 14 under a
// limit of 14 become 13; 20 characters go with one blank more.
TEST_F(Model2, NamesAreCutAndPaddedAsThePhoneKeepsThem)
{
    session.m_nSimNameLimit = 14;
    session.m_nSimNumberLimit = 20;
    CPhoneEntry sim;
    sim.m_nSimIndex = 3;
    sim.m_strName = QStringLiteral("Fourteen chars");
    sim.m_strHome = QStringLiteral("+49 (30) 1");
    EXPECT_EQ(session.BuildSimWrite(sim), ("AT+CPBW=3,\"+49301\",145,\"" + Sync(QStringLiteral("Fourteen char")) + "\",255\r").toLatin1());
    EXPECT_EQ(sim.m_strName, QStringLiteral("Fourteen char"));

    const struct {
        QString name;
        int limit;
        QString stored;
        QString sent;
    } cases[] = {
        {QString(25, u'a'), 20, QString(20, u'a'), QString(20, u'a') + u' '},
        {QString(14, u'b'), 20, QString(14, u'b'), QString(14, u'b') + u' '},
        {QString(12, u'c'), 20, QString(12, u'c'), QString(12, u'c')},
        {QString(20, QChar(0x4E2D)), 20, QString(9, QChar(0x4E2D)), QString(9, QChar(0x4E2D))}, // 18 bytes
    };
    for (const auto& c : cases) {
        session.m_nHandsetNameLimit = c.limit;
        CPhoneEntry entry = Contact(1, c.name);
        const QByteArray command = session.BuildHandsetWrite(entry);
        EXPECT_EQ(entry.m_strName, c.stored);
        EXPECT_TRUE(command.contains(("\"" + Sync(c.sent) + "\"").toLatin1())) << c.name.toStdString();
    }
}

// Quoted plain fields never end the field or the command.
TEST_F(Model2, PlainFieldsCarryNothingThatEndsACommand)
{
    CPhoneEntry entry = Contact(1, QStringLiteral("A"));
    entry.m_strMobile = QStringLiteral("12\"3\r\n\x1a\x1b");
    entry.m_strFax = QStringLiteral("9\"\r");
    const QByteArray command = session.BuildHandsetWrite(entry);
    EXPECT_TRUE(command.startsWith("AT+CPBW=1,\"123\",129,"));
    EXPECT_TRUE(command.contains(",\"9\","));
    EXPECT_EQ(command.count('\r'), 1);
    EXPECT_EQ(entry.m_strMobile, QStringLiteral("123"));
}

// What a field should not hold never reaches the phone: the plain fields (numbers, a fax that is
// not Base64) go without control characters, the Base64 fields without NUL and halves of
// surrogate pairs. The record keeps what was sent.
TEST_F(Model2, FieldsCarryOnlyWhatThePhoneStores)
{
    const QChar high(0xD83D), low(0xDE00), nul(0);
    CPhoneEntry entry = Contact(3, QStringLiteral("An") + nul + QStringLiteral("na") + high);
    entry.m_strMobile = QStringLiteral("0301\t2\b3\x7f");
    entry.m_strOffice = QStringLiteral("04") + QChar(0x85) + QStringLiteral("05\x01") + nul;
    entry.m_strHome = QStringLiteral("*31#P1");
    entry.m_strEmail = low + QStringLiteral("a@b.c") + nul;
    entry.m_strFax = QStringLiteral("12\t34\x1f\x1b");
    ASSERT_TRUE(writeHandset({&entry}));
    const QByteArray command = commands("AT+CPBW").value(0).toLatin1();
    EXPECT_FALSE(std::any_of(command.begin(), command.end(), [](char c) { return uchar(c) < 0x20 || uchar(c) >= 0x7f; }))
        << command.toStdString();
    EXPECT_EQ(entry.m_strName, QStringLiteral("Anna"));
    EXPECT_EQ(entry.m_strMobile, QStringLiteral("030123"));
    EXPECT_EQ(entry.m_strOffice, QStringLiteral("0405"));
    EXPECT_EQ(entry.m_strHome, QStringLiteral("*31#P1"));
    EXPECT_EQ(entry.m_strEmail, QStringLiteral("a@b.c"));
    EXPECT_EQ(entry.m_strFax, QStringLiteral("1234"));
    const phonesim::HandsetEntry2& stored = phoneState().handset.entries.at(3);
    EXPECT_EQ(stored.name, QStringLiteral("Anna"));
    EXPECT_EQ(stored.numbers[0].number, QStringLiteral("030123"));
    EXPECT_EQ(stored.numbers[1].number, QStringLiteral("0405"));
    EXPECT_EQ(stored.email, QStringLiteral("a@b.c"));
    EXPECT_EQ(stored.fax, QStringLiteral("1234"));

    CPhoneEntry sim;
    sim.m_nSimIndex = 2;
    sim.m_strName = high + QStringLiteral("Li") + nul;
    sim.m_strMobile = QStringLiteral("\t+86\x7f" "10");
    ASSERT_TRUE(session.SelectSimBook());
    EXPECT_TRUE(session.AddSimEntry(sim));
    session.Disconnect();
    EXPECT_EQ(sim.m_strName, QStringLiteral("Li"));
    EXPECT_EQ(phoneState().sim.entries.at(2).name, QStringLiteral("Li"));
    EXPECT_EQ(phoneState().sim.entries.at(2).number, QStringLiteral("+8610"));
}

// Model 1 carries the fax in Base64: it goes without NUL and halves of surrogate pairs.
TEST_F(Model1, TheBase64FaxCarriesOnlyWhatThePhoneStores)
{
    CPhoneEntry entry = Contact(4, QStringLiteral("Bo"));
    entry.m_strMobile = QStringLiteral("1");
    entry.m_strFax = QStringLiteral("Fa") + QChar(0) + QStringLiteral("x") + QChar(0xDE00);
    ASSERT_TRUE(writeHandset({&entry}));
    EXPECT_EQ(entry.m_strFax, QStringLiteral("Fax"));
    EXPECT_EQ(phoneState().handset.entries.at(4).fax, QStringLiteral("Fax"));
}

// Indices outside the books are refused before any command goes out.
TEST_F(Model2, IndicesOutsideTheBooksAreNeverSent)
{
    ASSERT_TRUE(session.SelectHandsetBook());
    phone.clearCommandLog();
    for (const int index : {-1, 0, 201}) {
        CPhoneEntry entry = Contact(index, QStringLiteral("Out"));
        entry.m_strMobile = QStringLiteral("1");
        EXPECT_FALSE(session.AddHandsetEntry(entry)) << index;
        EXPECT_EQ(session.m_nResult, SESSION_NOTHING_SENT) << index;
        EXPECT_FALSE(session.DeleteHandsetEntry(index)) << index;
        EXPECT_EQ(session.m_nResult, SESSION_NOTHING_SENT) << index;
    }
    EXPECT_TRUE(commands().isEmpty());
    session.Disconnect();

    ASSERT_TRUE(session.SelectSimBook());
    const int capacity = session.m_nSimCapacity;
    phone.clearCommandLog();
    for (const int index : {-1, 0, capacity + 1}) {
        CPhoneEntry entry;
        entry.m_nSimIndex = index;
        entry.m_strName = QStringLiteral("Out");
        entry.m_strMobile = QStringLiteral("1");
        EXPECT_FALSE(session.AddSimEntry(entry)) << index;
        EXPECT_EQ(session.m_nResult, SESSION_NOTHING_SENT) << index;
        EXPECT_FALSE(session.DeleteSimEntry(index)) << index;
    }
    EXPECT_TRUE(commands().isEmpty());
    // The last place of each book is one.
    EXPECT_TRUE(session.DeleteSimEntry(capacity));
    session.Disconnect();
    ASSERT_TRUE(session.SelectHandsetBook());
    EXPECT_TRUE(session.DeleteHandsetEntry(200));
    session.Disconnect();
}

// Each model keeps what it can, and every record says what the phone holds: a group outside the
// table is refused before anything goes out (the phone would keep it as none), a plain fax holds
// printable ASCII only (no UTF-8 bytes the phone would keep one by one), and a SIM entry holds
// its one number cleaned and cut, which the phone lists as mobile.
class KeptValuesTest : public SessionTest, public ::testing::WithParamInterface<int> {
protected:
    KeptValuesTest() : SessionTest(GetParam()) {}
};

TEST_P(KeptValuesTest, RecordsSayWhatThePhoneHolds)
{
    const int model = GetParam();
    const bool groups = model != 1;
    const struct {
        int group;
        bool sent;
    } groupCases[] = {{-1, true}, {0, true}, {7, true}, {8, !groups}, {99, !groups}, {-2, !groups}};
    for (const bool sim : {false, true}) {
        ASSERT_TRUE(sim ? session.SelectSimBook() : session.SelectHandsetBook());
        for (const auto& c : groupCases) {
            SCOPED_TRACE(QStringLiteral("%1 group %2").arg(sim ? "SIM" : "handset").arg(c.group).toStdString());
            phone.clearCommandLog();
            CPhoneEntry entry = Contact(5, QStringLiteral("Grp"));
            entry.m_nSimIndex = 5;
            entry.m_strMobile = QStringLiteral("1");
            entry.m_nGroup = c.group;
            EXPECT_EQ(sim ? session.AddSimEntry(entry) : session.AddHandsetEntry(entry), c.sent);
            EXPECT_EQ(commands("AT+CPBW").size(), c.sent ? 1 : 0);
            if (!c.sent) {
                EXPECT_EQ(session.m_nResult, SESSION_NOTHING_SENT);
            }
        }
        session.Disconnect();
    }

    // A fax of models 2 and 3 goes as plain bytes; model 1's is Base64 and keeps its letters.
    CPhoneEntry fax = Contact(6, QStringLiteral("Fax"));
    fax.m_strMobile = QStringLiteral("1");
    fax.m_strFax = QStringLiteral("a\u2028b café 12");
    ASSERT_TRUE(session.SelectHandsetBook());
    EXPECT_TRUE(session.AddHandsetEntry(fax)) << session.m_nResult;
    session.Disconnect();
    const QString kept = model == 1 ? QStringLiteral("a\u2028b café 12") : QStringLiteral("ab caf 12");
    EXPECT_EQ(fax.m_strFax, kept);
    EXPECT_EQ(phoneState().handset.entries.at(6).fax, kept);

    // The SIM's number as it went out; an unsolicited line before the book's limits lends them
    // none of its numbers.
    phone.injectFault("AT+CPBR=?", Fault::before("\r\n+CMTI: \"SM\",5\r\n"), 1);
    CPhoneEntry number;
    number.m_nSimIndex = 7;
    number.m_strName = QStringLiteral("Num");
    number.m_strOffice = QStringLiteral("+49 (30) 1234-5678 ext 99999999");
    ASSERT_TRUE(session.SelectSimBook());
    EXPECT_TRUE(session.AddSimEntry(number)) << session.m_nResult;
    session.Disconnect();
    EXPECT_EQ(number.m_strMobile, QStringLiteral("+4930123456789999999"));
    EXPECT_TRUE(number.m_strOffice.isEmpty());
    EXPECT_EQ(phoneState().sim.entries.at(7).number, number.m_strMobile);
}

INSTANTIATE_TEST_SUITE_P(EachModel, KeptValuesTest, ::testing::Values(1, 2, 3));

// What is written reads back the same, for each model's line form.
TEST_F(Model2, WrittenEntriesReadBack)
{
    CPhoneEntry first = Contact(1, QStringLiteral("Anna Li"));
    first.m_strMobile = QStringLiteral("+4917012P3");
    first.m_strHome = QStringLiteral("030");
    first.m_strEmail = QStringLiteral("anna@example.org");
    first.m_strFax = QStringLiteral("0301234");
    first.m_nGroup = 1;
    CPhoneEntry second = Contact(2, QStringLiteral("张三"));
    second.m_strOffice = QStringLiteral("0301");
    ASSERT_TRUE(writeHandset({&first, &second}));
    EXPECT_EQ(commands("AT+CPBW").size(), 2);

    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadHandsetBook(list));
    ASSERT_EQ(list.size(), 2u);
    for (const CPhoneEntry* written : {&first, &second}) {
        const CPhoneEntry& read = *list[size_t(written->m_nIndex - 1)];
        EXPECT_EQ(read.m_strName, written->m_strName);
        EXPECT_EQ(read.m_strMobile, written->m_strMobile);
        EXPECT_EQ(read.m_strOffice, written->m_strOffice);
        EXPECT_EQ(read.m_strHome, written->m_strHome);
        EXPECT_EQ(read.m_strEmail, written->m_strEmail);
        EXPECT_EQ(read.m_strFax, written->m_strFax);
        EXPECT_EQ(read.m_nGroup, written->m_nGroup);
    }
}

TEST_F(Model1, WrittenEntriesReadBack)
{
    CPhoneEntry entry = Contact(7, QStringLiteral("Bo"));
    entry.m_strHome = QStringLiteral("+8610");
    entry.m_strFax = QStringLiteral("Fax of Bo");
    ASSERT_TRUE(writeHandset({&entry}));
    EXPECT_TRUE(commands("AT+CPGR").isEmpty());
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadHandsetBook(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->m_strHome, QStringLiteral("+8610"));
    EXPECT_EQ(list[0]->m_strFax, QStringLiteral("Fax of Bo"));
}

// A group the phone reports full stops the write before it goes out; one it reports through
// "+CGR ERROR" shows the box once. Groups of unknown capacity are never full.
TEST_F(Model2, FullGroups)
{
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadHandsetBook(list)); // the phone's groups, VIP for 10
    for (int index = 1; index <= 10; ++index)
        phoneState().handset.entries[index] = StoredContact(QStringLiteral("V"), QStringLiteral("1"), 3);
    g_arrGroups[3].m_nMembers = 10;
    CPhoneEntry entry = Contact(11, QStringLiteral("Eleventh"));
    entry.m_nGroup = 3;
    EXPECT_FALSE(writeHandset({&entry}));
    EXPECT_EQ(session.m_nResult, AT_CGR_ERROR);
    EXPECT_TRUE(commands("AT+CPBW").isEmpty());
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("Member is full")});

    ui().boxes.clear();
    ASSERT_TRUE(session.SelectHandsetBook());
    g_arrGroups[3].m_nMembers = 9; // the table is behind the phone
    EXPECT_FALSE(session.AddHandsetEntry(entry));
    session.Disconnect();
    EXPECT_EQ(session.m_nResult, AT_CGR_ERROR);
    EXPECT_EQ(commands("AT+CPBW").size(), 1);
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("Member is full")});

    entry.m_nGroup = 4;
    entry.m_bCountsInGroup = true;
    ASSERT_TRUE(session.SelectHandsetBook()); // reads the phone's table again
    ResetDefaultGroups();
    EXPECT_TRUE(session.AddHandsetEntry(entry));
    EXPECT_EQ(g_arrGroups[4].m_nMembers, 1);
    session.Disconnect();
}

TEST_F(Model2, DeletesAndSimWrites)
{
    ASSERT_TRUE(session.SelectSimBook());
    CPhoneEntry entry;
    entry.m_nSimIndex = 4;
    entry.m_strName = QStringLiteral("Li");
    entry.m_strOffice = QStringLiteral("+8610");
    entry.m_nGroup = 0;
    EXPECT_TRUE(session.AddSimEntry(entry));
    EXPECT_TRUE(session.DeleteSimEntry(5));
    session.Disconnect();
    EXPECT_EQ(commands("AT+CPBW"), QStringList({"AT+CPBW=4,\"+8610\",145,\"" + Sync(QStringLiteral("Li")) + "\",0", "AT+CPBW=5"}));
    ASSERT_EQ(phoneState().sim.entries.count(4), 1u);
    EXPECT_EQ(phoneState().sim.entries[4].number, QStringLiteral("+8610"));

    phoneState().handset.entries[9] = StoredContact(QStringLiteral("Gone"), QStringLiteral("1"));
    ASSERT_TRUE(session.SelectHandsetBook());
    EXPECT_TRUE(session.DeleteHandsetEntry(9));
    session.Disconnect();
    EXPECT_EQ(phoneState().handset.entries.count(9), 0u);
}

} // namespace
