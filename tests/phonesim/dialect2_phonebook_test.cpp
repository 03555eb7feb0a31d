// The second family's phonebook per model: limits, the lines of each book, writes as the PC
// builds them, caller groups and their capacities.
#include "dialect2_support.h"

#include "phonesim/fault.h"

namespace {

using dialect2test::Cme;
using dialect2test::ConnectedPhone;
using dialect2test::Ok;
using dialect2test::Sync;

const QByteArray kNoFax = QByteArray(24, char(0xFF));

// The command the PC builds for Anna: mobile first, office empty, home third; padded e-mail.
QByteArray AnnaWrite(int index, const QByteArray& fax, const QByteArray& group)
{
    return "AT+CPBW=" + QByteArray::number(index) + ",\"+4917012345678\",145,\"" + Sync(QStringLiteral("Anna Berg")) + "\",1,\" \",,2,\"030123+45\",129,3,\""
        + Sync(QStringLiteral("anna@example.org        ")) + "\",\"" + fax + '"' + group;
}

// What the phone lists for her.
QByteArray AnnaLine(int index, const QByteArray& fax, const QByteArray& group)
{
    return "+CPBR: " + QByteArray::number(index) + ",\"4917012345678\",145,\"" + Sync(QStringLiteral("Anna Berg")) + "\",1,\"\",129,2,\"030123+45\",129,3,\""
        + Sync(QStringLiteral("anna@example.org")) + "\",\"" + fax + '"' + group;
}

TEST(Dialect2Phonebook, LimitsAndBooksPerModel)
{
    const struct {
        int model;
        const char* handsetLimits;
        const char* simLimits;
    } cases[] = {
        {1, "+CPBR: (1-200),20,90", "+CPBR: (1-100),20,42"},
        {2, "+CPBR: (1-200),20,60", "+CPBR: (1-100),20,42"},
        {3, "+CPBR: (1-200),20,72", "+CPBR: (1-250),20,36"},
    };
    for (const auto& c : cases) {
        ConnectedPhone phone(c.model);
        phone.expectAnswers({
            {"AT+CPBS=?", Ok("+CPBS: (\"PM\",\"SM\")")},
            {"AT+CPBS=\"PM\"", Ok()},
            {"AT+CPBR=?", Ok(c.handsetLimits)},
            {"AT+CPBR=1,200", Ok()}, // empty: a bare OK
            {"AT+CPBR=200", Ok()},
            {"AT+CPBR=0,10", Cme(21)},
            {"AT+CPBR=190,201", Cme(21)},
            {"AT+CPBR=5,4", Cme(21)},
            {"AT+CPBS=\"sm\"", Ok()},
            {"AT+CPBR=?", Ok(c.simLimits)},
            {"AT+CPBS?", Ok("+CPBS: \"SM\",0," + QByteArray(c.model == 3 ? "250" : "100"))},
            {"AT+CPBS=\"ME\"", Cme(4)},
        });
    }
}

// Models 2 and 3: one line of 14 fields per entry; the fax as plain bytes in a record filled
// with 0xFF; a group field in both books.
TEST(Dialect2Phonebook, HandsetAndSimWithGroups)
{
    ConnectedPhone phone(3);
    phone.expectAnswers({
        {"AT+CPBS=\"PM\"", Ok()},
        {AnnaWrite(7, "0301234 ", ",0"), Ok()},
        {"AT+CPBR=7", Ok(AnnaLine(7, "0301234" + kNoFax.left(17), ",0"))},
        {AnnaWrite(9, " ", ",255"), Ok()},
        {"AT+CPBR=1,8", Ok(AnnaLine(7, "0301234" + kNoFax.left(17), ",0"))},
        {"AT+CPBR=7,10", Ok(AnnaLine(7, "0301234" + kNoFax.left(17), ",0") + "\r\n" + AnnaLine(9, kNoFax, ",255"))},
        {"AT+CPBW=9", Ok()},
        {"AT+CPBW=9", Ok()}, // already empty
        {"AT+CPBR=9", Ok()},
        {"AT+CPBS=\"SM\"", Ok()},
        {"AT+CPBW=3,\"+491721234\",145,\"" + Sync(QStringLiteral("Mailbox ")) + "\",255", Ok()},
        {"AT+CPBW=4,\" \",,\"" + Sync(QStringLiteral("Nobody")) + "\",1", Ok()},
        {"AT+CPBR=1,125", Ok("+CPBR: 3,\"491721234\",145,\"" + Sync(QStringLiteral("Mailbox")) + "\",255\r\n+CPBR: 4,\"\",129,\"" + Sync(QStringLiteral("Nobody")) + "\",1")},
        {"AT+CPBR=126,250", Ok()},
    });
    EXPECT_EQ(phone.changes, 5);
    const phonesim::HandsetEntry2& anna = phone.state().dialect2.handset.entries.at(7);
    EXPECT_EQ(anna.numbers[0].number, QStringLiteral("+4917012345678"));
    EXPECT_EQ(anna.numbers[1].number, QString());
    EXPECT_EQ(anna.numbers[2].kind, 3);
    EXPECT_EQ(anna.email, QStringLiteral("anna@example.org"));
    EXPECT_EQ(anna.fax, QStringLiteral("0301234"));
}

// Model 1: no groups, a Base64 fax, and every entry listed twice, short form first.
TEST(Dialect2Phonebook, ModelOneListsEachEntryTwice)
{
    ConnectedPhone phone(1);
    const QByteArray fax = Sync(QStringLiteral("0301234"));
    const QByteArray shortForm = "+CPBR: 2,\"4917012345678\",145,\"" + Sync(QStringLiteral("Anna Berg")) + '"';
    const QByteArray sim = "+CPBR: 5,\"030123456\",129,\"" + Sync(QStringLiteral("Home")) + '"';
    phone.expectAnswers({
        {"AT+CPGR=?", "\r\nERROR\r\n"},
        {"AT+CPBS=\"PM\"", Ok()},
        {AnnaWrite(2, fax, ",0"), "\r\nERROR\r\n"}, // a group field it does not have
        {AnnaWrite(2, fax, ""), Ok()},
        {"AT+CPBR=1,2", Ok(shortForm + "\r\n" + AnnaLine(2, fax, ""))},
        {"AT+CPBS=\"SM\"", Ok()},
        {"AT+CPBW=5,\"030123456\",129,\"" + Sync(QStringLiteral("Home")) + '"', Ok()},
        {"AT+CPBR=1,10", Ok(sim + "\r\n" + sim)},
        {"AT+CPBR=5", Ok(sim + "\r\n" + sim)},
    });
}

// What the phone refuses in a handset write, each with the book left as it was.
TEST(Dialect2Phonebook, WritesItRefuses)
{
    ConnectedPhone phone(2);
    const auto write = [](const QByteArray& index, const QByteArray& number, const QByteArray& type, const QByteArray& name,
                           const QByteArray& kind, const QByteArray& group) {
        return "AT+CPBW=" + index + ",\"" + number + "\"," + type + ",\"" + name + "\"," + kind + ",\" \",,2,\" \",,3,\""
            + Sync(QStringLiteral(" ")) + "\",\" \"," + group;
    };
    const QByteArray name = Sync(QStringLiteral("Eve"));
    phone.expectAnswers({
        {write("201", "1", "129", name, "1", "0"), Cme(21)},
        {write("0", "1", "129", name, "1", "0"), Cme(21)},
        {write("1", "12a4", "129", name, "1", "0"), Cme(27)},
        {write("1", "12P4", "129", name, "1", "0"), Cme(27)},
        {write("1", "1234", "128", name, "1", "0"), Cme(50)},
        {write("1", "1234", "", name, "1", "0"), Cme(50)},
        {write("1", QByteArray(21, '1'), "129", name, "1", "0"), Cme(26)},
        {write("1", "1234", "129", name, "4", "0"), Cme(50)},
        {write("1", "1234", "129", name, "1", "7"), Cme(21)}, // model 2 has groups 0-6
        {write("1", "1234", "129", Sync(QString(21, u'n')), "1", "0"), Cme(24)},
        {write("1", "1234", "129", "QQ!A", "1", "0"), Cme(25)},
        {"AT+CPBW=1,\"1234\",129,\"" + name + "\",1", "\r\nERROR\r\n"},
        {"AT+CPBW=0", Cme(21)},
    });
    EXPECT_TRUE(phone.state().dialect2.handset.entries.empty());
    EXPECT_EQ(phone.changes, 0);
    // What the PC sends at the limits is taken: a 20-digit number after '+', and a 20-character
    // name with the blank the PC adds to it.
    phone.expectAnswers({{write("1", "+" + QByteArray(20, '1'), "145", Sync(QString(20, u'n') + u' '), "1", "255"), Ok()}});
}

TEST(Dialect2Phonebook, GroupTablesAndFullGroups)
{
    ConnectedPhone phone(2);
    phone.state().dialect2.groups[3].capacity = 1;
    const auto write = [](int index, int group) {
        return "AT+CPBW=" + QByteArray::number(index) + ",\"1\",129,\"" + Sync(QStringLiteral("X")) + "\",1,\" \",,2,\" \",,3,\""
            + Sync(QStringLiteral(" ")) + "\",\" \"," + QByteArray::number(group);
    };
    const auto group = [](int index, const char* name, int members, int capacity) {
        return "+CPGR: " + QByteArray::number(index) + ",\"" + Sync(QString::fromUtf8(name)) + "\"," + QByteArray::number(members)
            + ',' + QByteArray::number(capacity);
    };
    phone.expectAnswers({
        {"AT+CPGR=?", Ok("+CPGR: 0,6")},
        {write(1, 3), Ok()},
        {write(2, 3), "\r\n+CGR ERROR\r\n"},
        {write(1, 3), Ok()}, // rewriting a member of the full group
        {write(2, 0), Ok()},
        {"AT+CPGR=0,6", Ok(group(0, "Family", 1, 20) + "\r\n" + group(1, "Friends", 0, 20) + "\r\n" + group(2, "Work", 0, 20)
                            + "\r\n" + group(3, "VIP", 1, 1) + "\r\n" + group(4, "Club", 0, 20) + "\r\n"
                            + group(5, "School", 0, 20) + "\r\n" + group(6, "Others", 0, 50))},
        {"AT+CPGR=3,3", Ok(group(3, "VIP", 1, 1))},
        {"AT+CPGR=0,7", Cme(21)},
        {"AT+CPGR=4,3", Cme(21)},
    });
    EXPECT_EQ(phone.state().dialect2.handset.entries.count(2), 1u);

    ConnectedPhone eight(3);
    eight.expectAnswers({{"AT+CPGR=?", Ok("+CPGR: 0,7")}, {"AT+CPGR=7,7", Ok(group(7, "No group", 0, 200))}});
}

TEST(Dialect2Phonebook, SimNotReady)
{
    ConnectedPhone phone(2);
    phone.state().dialect2.simReady = false;
    phone.expectAnswers({
        {"AT+CPBS=\"SM\"", Ok()},
        {"AT+CPBR=?", Cme(10)},
        {"AT+CPBR=1,50", Cme(10)},
        {"AT+CPBW=1", Cme(10)},
        {"AT+CPBS=\"PM\"", Ok()},
        {"AT+CPBR=?", Ok("+CPBR: (1-200),20,60")},
    });
}

// Faults come as in the first family; a full group can be forced on any write.
TEST(Dialect2Phonebook, InjectedFaults)
{
    ConnectedPhone phone(2);
    const struct {
        const char* spec;
        const char* answer;
        bool written;
    } cases[] = {
        {"reply:\\r\\n+CGR ERROR\\r\\n@AT+CPBW=*", "\r\n+CGR ERROR\r\n", false},
        {"ring:100@AT+CPBW=*", "\r\nRING\r\n\r\nOK\r\n", true},
        {"cme:20@at+cpbw=*", "\r\n+CME ERROR: 20\r\n", false},
        {"silence@AT+CPBW=*", "", false},
    };
    const QByteArray command = "AT+CPBW=4,\"1\",129,\"" + Sync(QStringLiteral("X")) + "\",1,\" \",,2,\" \",,3,\"\",\" \",255";
    for (const auto& c : cases) {
        QByteArray pattern;
        phonesim::Fault fault;
        QString error;
        ASSERT_TRUE(phonesim::ParseFaultSpec(QString::fromLatin1(c.spec), &pattern, &fault, &error)) << error.toStdString();
        phone.phone.injectFault(pattern, fault, 1);
        phone.state().dialect2.handset.entries.clear();
        EXPECT_EQ(phone.send(command), QByteArray(c.answer)) << c.spec;
        EXPECT_EQ(phone.state().dialect2.handset.entries.count(4), c.written ? 1u : 0u) << c.spec;
    }
}

} // namespace
