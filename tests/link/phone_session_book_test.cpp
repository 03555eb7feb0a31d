// The phonebooks and groups against the simulated phone.
#include "phone_session_fixture.h"

#include "link/globals.h"
#include "link/message_pump.h"

using namespace dh1;

namespace {

using phonesim::BookEntry;
using phonesim::Fault;

BookEntry Contact(const QString& name, const QString& mobile = QStringLiteral("123"))
{
    BookEntry entry;
    entry.name = name;
    entry.mobile = mobile;
    return entry;
}

class PhonebookTest : public PhoneSessionTest {
protected:
    void fillHandset(int last, const std::vector<int>& indices)
    {
        phone.state().handset.last = last;
        for (const int index : indices)
            phone.state().handset.entries[index] = Contact(QStringLiteral("N%1").arg(index));
    }

    // The read commands of the last session, without their "AT+CPBR=" and the range test.
    QStringList blockReads() const
    {
        QStringList reads;
        for (const QString& command : commands(QStringLiteral("AT+CPBR="))) {
            if (command != QLatin1String("AT+CPBR=?"))
                reads << command.mid(8);
        }
        return reads;
    }

    QString lastWrite() const { return commands(QStringLiteral("AT+CPBW=")).value(commands(QStringLiteral("AT+CPBW=")).size() - 1); }
};

TEST_F(PhonebookTest, HandsetBlockPlans)
{
    const struct {
        int last;
        std::vector<int> indices;
        QStringList reads;
        QStringList progress; // the block steps shown
    } cases[] = {
        {5, {1, 2, 5}, {"0,5"}, {"Reading phonebook 0~5"}},
        {10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {"0,10"}, {"Reading phonebook 0~10"}},
        {20, {20}, {"0,10", "11,20"}, {"Reading phonebook 0~10"}},
        {100, {100},
            {"0,10", "11,20", "21,30", "31,40", "41,50", "51,60", "61,70", "71,80", "81,90", "91,100"},
            {"Reading phonebook 0~10", "Reading phonebook 11~20", "Reading phonebook 21~30", "Reading phonebook 31~40",
                "Reading phonebook 41~50", "Reading phonebook 51~60", "Reading phonebook 61~70", "Reading phonebook 71~80",
                "Reading phonebook 81~90"}},
        // Twelve entries among the first 20 of 255: the used count stops the read.
        {255, {1, 2, 3, 4, 5, 6, 7, 12, 13, 14, 15, 16}, {"0,10", "11,20"},
            {"Reading phonebook 0~10", "Reading phonebook 11~20"}},
        {255, {1, 2, 3}, {"0,10"}, {"Reading phonebook 0~10"}},
    };
    for (const auto& c : cases) {
        phone.state().handset.entries.clear();
        fillHandset(c.last, c.indices);
        phone.clearCommandLog();
        progress.steps.clear();
        RecordList<CPhoneEntry> list;
        ASSERT_TRUE(session.ReadHandsetBook(list)) << c.last;
        EXPECT_EQ(blockReads(), c.reads) << c.last;
        EXPECT_EQ(progress.steps.filter(QRegularExpression(QStringLiteral("^Reading phonebook \\d"))), c.progress) << c.last;
        ASSERT_EQ(list.size(), c.indices.size()) << c.last;
        for (size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i]->m_nIndex, c.indices[i]) << c.last;
            EXPECT_EQ(list[i]->m_nList, 3);
        }
        EXPECT_EQ(g_nHandsetCapacity, c.last);
    }
}

TEST_F(PhonebookTest, AFullHandsetBookEndsWithItsLastIndex)
{
    std::vector<int> all;
    for (int i = 1; i <= 255; ++i)
        all.push_back(i);
    fillHandset(255, all);
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadHandsetBook(list));
    EXPECT_EQ(list.size(), 255u);
    const QStringList reads = blockReads();
    ASSERT_EQ(reads.size(), 26);
    EXPECT_EQ(reads.last(), QStringLiteral("251,255"));
    EXPECT_EQ(reads[24], QStringLiteral("241,250"));
}

TEST_F(PhonebookTest, ReadLearnsTheCapacitiesAndGroups)
{
    auto& book = phone.state().handset;
    book.first = 1;
    book.last = 150;
    book.numberLength = 32;
    book.nameLength = 16;
    book.emailLength = 24;
    book.memoLength = 60;
    phone.state().groups[1] = QStringLiteral("朋友");
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadHandsetBook(list));
    EXPECT_EQ(g_nHandsetFirstIndex, 1);
    EXPECT_EQ(g_nHandsetCapacity, 150);
    EXPECT_EQ(g_nHandsetNumberLen, 32);
    EXPECT_EQ(g_nHandsetNameLen, 16);
    EXPECT_EQ(g_nHandsetEmailLen, 24);
    EXPECT_EQ(g_nHandsetMemoLen, 60);
    EXPECT_EQ(g_arrGroupNames, QStringList({"Family", "朋友", "Colleagues", "Business", "VIP", "School", "Others"}));
    // An empty book: success, no block read.
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(blockReads().isEmpty());
    EXPECT_EQ(commands().mid(5, 4), QStringList({"AT+CPGR=0,6", "AT+CPBS=\"ME\"", "AT+CPBR=?", "AT+CPBS?"}));
    EXPECT_EQ(progress.steps.mid(0, 2), QStringList({"Connecting to mobile", "Reading phonebook data"}));
}

TEST_F(PhonebookTest, HandsetEntriesAsThePhoneSendsThem)
{
    BookEntry entry = Contact(QStringLiteral("王小明"), QStringLiteral("+8613800138000"));
    entry.home = QStringLiteral("030123456");
    entry.group = 2;
    entry.email = QStringLiteral("wang@example.cn");
    entry.memo = QStringLiteral("two\nlines");
    phone.state().handset.entries[7] = entry;
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(session.ReadHandsetBook(list));
    ASSERT_EQ(list.size(), 1u);
    const CPhoneEntry& record = *list[0];
    EXPECT_EQ(record.m_nIndex, 7);
    EXPECT_EQ(record.m_nSimIndex, -1);
    EXPECT_EQ(record.m_nGroup, 2);
    EXPECT_EQ(record.m_strName, QStringLiteral("王小明"));
    // The phone sends the digits with the type 145; the record gets its '+' back.
    EXPECT_EQ(record.m_strMobile, QStringLiteral("+8613800138000"));
    EXPECT_EQ(record.m_strHome, QStringLiteral("030123456"));
    EXPECT_EQ(record.m_strOffice, QString());
    EXPECT_EQ(record.m_strEmail, QStringLiteral("wang@example.cn"));
    EXPECT_EQ(record.m_strMemo, QStringLiteral("two\r\nlines"));
}

TEST_F(PhonebookTest, SimBlockPlans)
{
    const struct {
        int last;
        std::vector<int> indices;
        QStringList reads;
        QStringList progress;
    } cases[] = {
        {8, {1, 8}, {"1,8"}, {"Connecting to mobile", "Reading phonebook data", "Closing connection"}},
        {10, {10}, {"1,10"}, {"Connecting to mobile", "Reading phonebook 1~10", "Closing connection"}},
        {25, {25}, {"1,10", "11,20", "21,25"},
            {"Connecting to mobile", "Reading phonebook 1~10", "Reading phonebook 11~20", "Closing connection"}},
    };
    for (const auto& c : cases) {
        auto& sim = phone.state().sim;
        sim.entries.clear();
        sim.last = c.last;
        for (const int index : c.indices)
            sim.entries[index] = Contact(QStringLiteral("S%1").arg(index));
        phone.clearCommandLog();
        progress.steps.clear();
        RecordList<CPhoneEntry> list;
        ASSERT_TRUE(session.ReadSimBook(list)) << c.last;
        EXPECT_EQ(blockReads(), c.reads) << c.last;
        EXPECT_EQ(progress.steps, c.progress) << c.last;
        EXPECT_EQ(g_nSimCapacity, c.last);
        ASSERT_EQ(list.size(), c.indices.size());
        EXPECT_EQ(list[0]->m_nSimIndex, c.indices[0]);
        EXPECT_EQ(list[0]->m_nIndex, -1);
        EXPECT_EQ(list[0]->m_nList, 4);
        EXPECT_EQ(list[0]->m_strName, QStringLiteral("S%1").arg(c.indices[0]));
    }
    EXPECT_EQ(commands().mid(5, 2), QStringList({"AT+CPGR=0,6", "AT+CPBS=\"AD\""}));
}

TEST_F(PhonebookTest, ASimWithoutRoomIsAnEmptyBook)
{
    phone.state().sim.entries[1] = Contact(QStringLiteral("S"));
    for (const auto& [last, nameLength] : {std::pair {1, 12}, std::pair {100, 0}}) {
        phone.state().sim.last = last;
        phone.state().sim.nameLength = nameLength;
        phone.clearCommandLog();
        RecordList<CPhoneEntry> list;
        EXPECT_TRUE(session.ReadSimBook(list));
        EXPECT_TRUE(list.empty());
        EXPECT_TRUE(blockReads().isEmpty());
        EXPECT_FALSE(commands().contains(QStringLiteral("AT+CPBS?")));
    }
}

TEST_F(PhonebookTest, FixedDiallingNumbersCloseTheSimBook)
{
    phone.state().fdn = true;
    RecordList<CPhoneEntry> list;
    EXPECT_FALSE(session.ReadSimBook(list));
    EXPECT_EQ(session.m_nResult, SESSION_FDN);
    EXPECT_EQ(g_nLastError, kLastErrorFdn);
    EXPECT_EQ(ui().boxTexts(), QStringList {"FDN is checked"});
    EXPECT_EQ(commands().mid(commands().size() - 3), QStringList({"AT+SYNCSTOP", "ATE1", "AT+CSCS=\"IRA\""}));
    ShowError(62000);
    EXPECT_EQ(ui().boxTexts().last(), QStringLiteral("Failed to read data. - FDN is checked"));
}

TEST_F(PhonebookTest, GroupReadFailures)
{
    RecordList<CPhoneEntry> list;
    // A group without a name.
    phone.state().groups[3].clear();
    EXPECT_FALSE(session.ReadHandsetBook(list));
    EXPECT_EQ(session.m_nResult, SESSION_BAD_LINE);
    EXPECT_FALSE(commands().contains(QStringLiteral("AT+CPBS=\"ME\"")));
    EXPECT_FALSE(session.m_bConnected);
    EXPECT_EQ(g_arrGroupNames.size(), 3);

    // A phone that refuses the group read.
    phone.clearCommandLog();
    phone.injectFault("AT+CPGR=0,6", Fault::error(), 1);
    EXPECT_FALSE(session.ReadSimBook(list));
    EXPECT_EQ(session.m_nResult, AT_ERROR);
    EXPECT_FALSE(commands().contains(QStringLiteral("AT+CPBS=\"AD\"")));
}

TEST_F(PhonebookTest, UnparsableRepliesFailTheRead)
{
    fillHandset(255, {1, 2, 3, 4, 5});
    const struct {
        const char* command;
        QByteArray reply;
        int result;
        size_t kept;
    } cases[] = {
        // A line short of its fields: the records before it stay for the caller to discard.
        {"AT+CPBR=0,10", "\r\n+CPBR: 1,6,\"1\",129,\"\",255,\"\",255,\"TgA=\",\"\",\"\"\r\n+CPBR: 2,6,\"2\",129\r\n\r\nOK\r\n",
            SESSION_BAD_LINE, 1},
        // A Base64 field the codec refuses as too large.
        {"AT+CPBR=0,10", "\r\n+CPBR: 1,6,\"1\",129,\"\",255,\"\",255,\"" + QByteArray(90000, 'Q') + "\",\"\",\"\"\r\n\r\nOK\r\n",
            SESSION_BAD_LINE, 0},
        {"AT+CPBR=?", "\r\n+CPBR: 1-255,40\r\n\r\nOK\r\n", SESSION_BAD_REPLY, 0},
        {"AT+CPBS?", "\r\n+CPBS: \"ME\"\r\n\r\nOK\r\n", SESSION_BAD_REPLY, 0},
    };
    for (const auto& c : cases) {
        phone.injectFault(c.command, Fault::reply(c.reply), 1);
        RecordList<CPhoneEntry> list;
        EXPECT_FALSE(session.ReadHandsetBook(list)) << c.command;
        EXPECT_EQ(session.m_nResult, c.result) << c.command;
        EXPECT_EQ(list.size(), c.kept) << c.command;
        EXPECT_FALSE(session.m_bConnected);
    }

    // An empty reply is no list.
    session.m_strReply.clear();
    RecordList<CPhoneEntry> list;
    EXPECT_FALSE(session.ParseHandsetBookReply(list));
    EXPECT_EQ(session.m_nResult, SESSION_BAD_REPLY);
}

TEST_F(PhonebookTest, HandsetWriteCommand)
{
    CPhoneEntry record;
    record.m_nGroup = 2;
    record.m_strName = QStringLiteral("A");
    record.m_strMobile = QStringLiteral("+49 (170) 123-45 67");
    record.m_strOffice = QStringLiteral("030 12+34p5");
    record.m_strEmail = QStringLiteral("a@b");
    record.m_strMemo = QStringLiteral("x\r\ny");
    EXPECT_EQ(session.BuildHandsetWrite(record),
        QByteArray("AT+CPBW=,2,\"+491701234567\",145,\"\",255,\"0301234p5\",129,"
                   "\"QQAAAA==\",\"YQBAAGIAAAA=\",\"eAAKAHkAAAA=\"\r"));
    EXPECT_EQ(record.m_strMobile, QStringLiteral("+491701234567"));
    EXPECT_EQ(record.m_strOffice, QStringLiteral("0301234p5"));
    EXPECT_EQ(record.m_strMemo, QStringLiteral("x\r\ny"));

    record.m_nIndex = 9;
    record.m_strHome = QStringLiteral("(no digits)");
    EXPECT_TRUE(session.BuildHandsetWrite(record).startsWith("AT+CPBW=9,2,\"+491701234567\",145,\"\",255,"));
}

TEST_F(PhonebookTest, FieldsAreCutToWhatThePhoneHolds)
{
    const struct {
        QString name;
        QString expected;
    } names[] = {
        {QStringLiteral("Abcdefghijklmnopqrstuvwxyz"), QStringLiteral("Abcdefghijklmnopqrst")},
        // Outside the GSM alphabet 20 septets make 18 bytes: nine Chinese characters.
        {QStringLiteral("张三丰李四王五赵六钱七孙八"), QStringLiteral("张三丰李四王五赵六")},
        {QStringLiteral("Anna 王小明 Berg Smith"), QStringLiteral("Anna 王小明 Berg S")},
        // A Greek capital is in the alphabet but still two bytes wide.
        {QStringLiteral("ΩΩΩΩΩΩΩΩΩΩΩΩ"), QStringLiteral("ΩΩΩΩΩΩΩΩΩΩ")},
    };
    for (const auto& n : names) {
        CPhoneEntry record;
        record.m_strName = n.name;
        session.BuildHandsetWrite(record);
        EXPECT_EQ(record.m_strName, n.expected) << n.name.toStdString();
    }

    CPhoneEntry record;
    record.m_strMobile = QString(45, u'1');
    record.m_strEmail = QString(28, u'e') + QStringLiteral("電子");
    record.m_strMemo = QString(49, u'm') + QStringLiteral("\r\nmore");
    session.BuildHandsetWrite(record);
    EXPECT_EQ(record.m_strMobile, QString(40, u'1'));
    EXPECT_EQ(record.m_strEmail, QString(28, u'e') + QStringLiteral("電"));
    // Never half a line break.
    EXPECT_EQ(record.m_strMemo, QString(49, u'm'));
    record.m_strMemo = QString(60, u'm');
    session.BuildHandsetWrite(record);
    EXPECT_EQ(record.m_strMemo, QString(50, u'm'));

    // What no phone stores is neither sent nor kept: NUL and halves of surrogate pairs.
    CPhoneEntry odd;
    odd.m_strName = QStringLiteral("A") + QChar(0) + QChar(0xDC00) + QStringLiteral("B") + QChar(0xD83D);
    odd.m_strEmail = QStringLiteral("x\U0001F600y");
    const QByteArray command = session.BuildHandsetWrite(odd);
    EXPECT_EQ(odd.m_strName, QStringLiteral("AB"));
    EXPECT_EQ(odd.m_strEmail, QStringLiteral("x\U0001F600y"));
    EXPECT_TRUE(command.contains(session.EncodeBase64Text(QStringLiteral("AB")).toLatin1()));
}

TEST_F(PhonebookTest, WritesLearnTheIndexFromTheReply)
{
    ASSERT_TRUE(session.SelectHandsetBook());
    EXPECT_EQ(commands().last(), QStringLiteral("AT+CPBS=\"ME\""));
    phone.state().handset.entries[1] = Contact(QStringLiteral("Taken"));

    CPhoneEntry fresh;
    fresh.m_strName = QStringLiteral("New");
    fresh.m_strMobile = QStringLiteral("5551234");
    ASSERT_TRUE(session.WriteHandsetEntry(fresh));
    EXPECT_EQ(fresh.m_nIndex, 2);
    EXPECT_EQ(phone.state().handset.entries[2].name, QStringLiteral("New"));
    EXPECT_EQ(progress.steps.last(), QStringLiteral("Writing phonebook..."));

    // A reply without a blank names no index: a new entry stays without one and its write
    // fails, an overwritten entry keeps its own.
    phone.injectFault("AT+CPBW=*", Fault::reply("\r\n+CPBW:37\r\n\r\nOK\r\n"), 2);
    CPhoneEntry another;
    EXPECT_FALSE(session.WriteHandsetEntry(another));
    EXPECT_EQ(session.m_nResult, SESSION_NO_INDEX);
    EXPECT_EQ(another.m_nIndex, -1);
    CPhoneEntry existing;
    existing.m_nIndex = 12;
    EXPECT_TRUE(session.WriteHandsetEntry(existing));
    EXPECT_EQ(existing.m_nIndex, 12);

    phone.injectFault("AT+CPBW=*", Fault::reply("\r\n+CPBW: 37\r\n\r\nOK\r\n"), 1);
    EXPECT_TRUE(session.WriteHandsetEntry(another));
    EXPECT_EQ(another.m_nIndex, 37);
    session.Disconnect();
}

TEST_F(PhonebookTest, WriteAndDeleteBoundsIncludeTheLastIndex)
{
    ASSERT_TRUE(session.SelectHandsetBook());
    const struct {
        int index;
        bool sent;
    } cases[] = {{-1, true}, {1, true}, {255, true}, {256, false}, {-2, false}};
    for (const auto& c : cases) {
        phone.clearCommandLog();
        CPhoneEntry record;
        record.m_nIndex = c.index;
        record.m_strName = QStringLiteral("X");
        EXPECT_EQ(session.WriteHandsetEntry(record), c.sent) << c.index;
        EXPECT_EQ(commands().size(), c.sent ? 1 : 0) << c.index;
        if (!c.sent) {
            EXPECT_EQ(session.m_nResult, SESSION_NOTHING_SENT);
        }
    }
    EXPECT_EQ(phone.state().handset.entries.count(255), 1u);

    const struct {
        int index;
        bool sent;
        int result;
    } deletes[] = {{255, true, AT_OK}, {1, true, AT_OK}, {0, false, 0}, {256, false, 0}, {-1, false, 0}};
    for (const auto& d : deletes) {
        phone.clearCommandLog();
        EXPECT_EQ(session.DeleteHandsetEntry(d.index), d.result == AT_OK) << d.index;
        EXPECT_EQ(commands(), d.sent ? QStringList {QStringLiteral("AT+CPBW=%1").arg(d.index)} : QStringList()) << d.index;
        EXPECT_EQ(session.m_nResult, d.result) << d.index;
    }
    EXPECT_EQ(phone.state().handset.entries.count(255), 0u);
    EXPECT_EQ(progress.steps.last(), QStringLiteral("Removing phonebook..."));
    session.Disconnect();
}

TEST_F(PhonebookTest, LongCommandsGoInTwoPieces)
{
    // Find a record whose command is exactly 330 characters.
    g_nHandsetMemoLen = 400;
    phone.state().handset.memoLength = 400;
    CPhoneEntry record;
    QByteArray command;
    for (int digits = 3; digits < 7 && command.size() != 330; ++digits) {
        for (int memo = 0; memo < 200 && command.size() != 330; ++memo) {
            CPhoneEntry probe;
            probe.m_strName = QStringLiteral("Split");
            probe.m_strMobile = QString(digits, u'1');
            probe.m_strMemo = QString(memo, u'm');
            command = session.BuildHandsetWrite(probe);
            if (command.size() == 330)
                record.Assign(probe);
        }
    }
    ASSERT_EQ(command.size(), 330);

    ASSERT_TRUE(session.SelectHandsetBook());
    lines.clearWrites();
    ASSERT_TRUE(session.WriteHandsetEntry(record));
    ASSERT_EQ(lines.writes().size(), 2u);
    EXPECT_EQ(lines.writes()[0].bytes, command.left(320));
    EXPECT_EQ(lines.writes()[1].bytes, command.mid(320));
    EXPECT_EQ(lines.writes()[1].bytes.size(), 10);
    EXPECT_EQ(phone.state().handset.entries[record.m_nIndex].memo, record.m_strMemo);

    // Up to 320 characters go whole.
    lines.clearWrites();
    CPhoneEntry small;
    ASSERT_TRUE(session.WriteHandsetEntry(small));
    EXPECT_EQ(lines.writes().size(), 1u);
    session.Disconnect();
}

TEST_F(PhonebookTest, PhoneErrorsOfWrites)
{
    phone.state().handset.last = 2;
    phone.state().handset.entries[1] = Contact(QStringLiteral("A"));
    phone.state().handset.entries[2] = Contact(QStringLiteral("B"));
    ASSERT_TRUE(session.SelectHandsetBook());
    CPhoneEntry record;
    EXPECT_FALSE(session.WriteHandsetEntry(record));
    EXPECT_EQ(session.m_nResult, AT_CME_MEMORY_FULL);
    EXPECT_EQ(g_nLastError, 7);
    session.Disconnect();

    ASSERT_TRUE(session.SelectSimBook());
    CPhoneEntry sim;
    sim.m_strName = QStringLiteral("Long");
    sim.m_strMobile = QString(30, u'9');
    EXPECT_FALSE(session.WriteSimEntry(sim));
    EXPECT_EQ(session.m_nResult, AT_CME_TOO_LONG);
    EXPECT_EQ(g_nLastError, 8);
    // The wide form sends up to 40 digits and lets the phone judge.
    EXPECT_EQ(sim.m_strMobile, QString(30, u'9'));
    session.Disconnect();
}

TEST_F(PhonebookTest, SimWrites)
{
    ASSERT_TRUE(session.SelectSimBook());
    EXPECT_EQ(commands().last(), QStringLiteral("AT+CPBS=\"AD\""));
    const char* const texts[] = {"Writing phonebook...", "Copy mobile num to SIM", "Copy home num to SIM", "Copy office num to SIM"};
    for (int source = 0; source <= 3; ++source) {
        CPhoneEntry record;
        record.m_nCopySource = source;
        record.m_strName = QStringLiteral("张三丰李四王五赵六"); // 12 septets make 11 bytes
        record.m_strMobile = QStringLiteral("+44 20 7946 0000");
        ASSERT_TRUE(session.WriteSimEntry(record)) << source;
        EXPECT_EQ(progress.steps.last(), QString::fromLatin1(texts[source]));
        EXPECT_EQ(record.m_nSimIndex, source + 1);
        EXPECT_EQ(record.m_strName, QStringLiteral("张三丰李四"));
        EXPECT_TRUE(lastWrite().startsWith(QStringLiteral("AT+CPBW=,6,\"+442079460000\",145,\""))) << lastWrite().toStdString();
    }
    EXPECT_EQ(phone.state().sim.entries[1].mobile, QStringLiteral("+442079460000"));

    CPhoneEntry empty;
    empty.m_nSimIndex = 7;
    EXPECT_EQ(session.BuildSimWrite(empty, false), QByteArray("AT+CPBW=7,6,\"\",129,\"\"\r"));
    empty.m_strMobile = QString(45, u'5');
    session.BuildSimWrite(empty, false);
    EXPECT_EQ(empty.m_strMobile, QString(20, u'5'));

    // Without an index in the reply a new entry fails; an overwritten one keeps its index.
    phone.injectFault("AT+CPBW=*", Fault::reply("\r\nOK\r\n"), 2);
    CPhoneEntry fresh;
    EXPECT_FALSE(session.WriteSimEntry(fresh));
    EXPECT_EQ(fresh.m_nSimIndex, -1);
    EXPECT_TRUE(session.WriteSimEntry(empty));
    EXPECT_EQ(empty.m_nSimIndex, 7);

    const struct {
        int index;
        bool sent;
    } deletes[] = {{0, false}, {1, true}, {100, true}, {101, false}};
    for (const auto& d : deletes) {
        phone.clearCommandLog();
        session.DeleteSimEntry(d.index);
        EXPECT_EQ(commands().size(), d.sent ? 1 : 0) << d.index;
    }
    EXPECT_EQ(phone.state().sim.entries.count(1), 0u);
    session.Disconnect();
}

TEST_F(PhonebookTest, SelectingABookThePhoneRefusesFails)
{
    phone.injectFault("AT+CPBS=\"ME\"", Fault::cmeError(4), 1);
    EXPECT_FALSE(session.SelectHandsetBook());
    EXPECT_EQ(session.m_nResult, AT_CME_ERROR);
    // The caller decides: the session is still open.
    EXPECT_TRUE(session.m_bConnected);
    session.Disconnect();
}

} // namespace
