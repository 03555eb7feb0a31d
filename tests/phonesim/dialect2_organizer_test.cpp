// The second family's combined schedule and memo list: written whole, read whole.
#include "dialect2_support.h"

namespace {

using dialect2test::Cme;
using dialect2test::ConnectedPhone;
using dialect2test::Ok;
using dialect2test::Sync;

QByteArray Entry(int kind, int index, const QString& text, const QByteArray& start, int repeat, const QByteArray& alarm)
{
    return "AT+SSCM=" + QByteArray::number(kind) + ',' + QByteArray::number(index) + ",\"" + Sync(text) + "\"," + start + ','
        + QByteArray::number(repeat) + ',' + alarm;
}

const QByteArray kNoAlarm = "0,1001,1,1,0,0,0";

TEST(Dialect2Organizer, WrittenWholeAndReadBack)
{
    ConnectedPhone phone(2);
    phone.expectAnswers({
        {"AT+SSCR", Ok()},
        {"AT+SSCI", Ok()},
        {Entry(1, 3, QStringLiteral("Dentist"), "2004,03,07,09,05,00", 0, "1,2004,03,07,08,55,00"), Ok()},
        {Entry(2, 0, QStringLiteral("Buy milk "), "2004,03,01,12,00,00", 0, kNoAlarm), Ok()},
        {Entry(1, 1, QStringLiteral("新年快乐"), "2100,12,31,23,59,00", 4, kNoAlarm), Ok()},
        {Entry(2, 2, QStringLiteral("Ring me"), "1900,01,01,00,00,00", 3, "1,1900,01,01,00,00,00"), Ok()},
        {"AT+SSCR", Ok()}, // nothing changes before AT+SSCW
        {"AT+SSCW", Ok()},
        {"AT+SSCR", Ok("+SSCR: 1,3,\"" + Sync(QStringLiteral("Dentist")) + "\",2004-03-07,09:05:00,0,1,2004-03-07,08:55:00\r\n"
                       "+SSCR: 2,0,\"" + Sync(QStringLiteral("Buy milk")) + "\",2004-03-01,12:00:00\r\n"
                       "+SSCR: 1,1,\"" + Sync(QStringLiteral("新年快乐")) + "\",2100-12-31,23:59:00,4,0\r\n"
                       "+SSCR: 2,2,\"" + Sync(QStringLiteral("Ring me")) + "\",1900-01-01,00:00:00")},
        // A new list replaces the old one; an empty one empties the phone's.
        {"AT+SSCI", Ok()},
        {"AT+SSCW", Ok()},
        {"AT+SSCR", Ok()},
    });
    EXPECT_EQ(phone.changes, 2);
}

TEST(Dialect2Organizer, EntriesItRefuses)
{
    ConnectedPhone phone(3);
    const QByteArray start = "2004,03,07,09,05,00";
    phone.expectAnswers({
        {Entry(1, 0, QStringLiteral("x"), start, 0, kNoAlarm), Cme(3)}, // before AT+SSCI
        {"AT+SSCI", Ok()},
        {Entry(1, 0, QStringLiteral("x"), start, 0, kNoAlarm), Ok()},
        {Entry(1, 0, QStringLiteral("y"), start, 0, kNoAlarm), Cme(21)},
        {Entry(1, 20, QStringLiteral("y"), start, 0, kNoAlarm), Cme(21)},
        {Entry(3, 1, QStringLiteral("y"), start, 0, kNoAlarm), Cme(50)},
        {Entry(1, 1, QStringLiteral("y"), start, 5, kNoAlarm), Cme(50)},
        {Entry(1, 1, QStringLiteral("y"), "1899,12,31,23,59,59", 0, kNoAlarm), Cme(50)},
        {Entry(1, 1, QStringLiteral("y"), "2004,02,30,09,05,00", 0, kNoAlarm), Cme(50)},
        {Entry(1, 1, QStringLiteral("y"), start, 0, "1,1850,03,07,08,55,00"), Cme(50)},
        {Entry(1, 1, QStringLiteral("y"), start, 0, "2,2004,03,07,08,55,00"), Cme(50)},
        {Entry(1, 1, QString(31, u'y'), start, 0, kNoAlarm), Cme(24)},
        {Entry(1, 1, QString(30, u'y') + u' ', start, 0, kNoAlarm), Ok()},
        {"AT+SSCM=1,2,\"" + Sync(QStringLiteral("y")) + "\"," + start + ",0,0", "\r\nERROR\r\n"},
        {"AT+SSCR=1", "\r\nERROR\r\n"},
    });
}

// At most 20 entries; AT+SSCW without AT+SSCI changes nothing; AT+SEND drops an unfinished
// list; outside synchronisation mode nothing is read or written.
TEST(Dialect2Organizer, CapacityAndUnfinishedLists)
{
    ConnectedPhone phone(1);
    phone.send("AT+SSCI");
    for (int index = 0; index < 20; ++index)
        EXPECT_EQ(phone.send(Entry(2, index, QStringLiteral("m"), "2004,01,01,12,00,00", 0, kNoAlarm)), Ok()) << index;
    phone.expectAnswers({
        {Entry(2, 0, QStringLiteral("m"), "2004,01,01,12,00,00", 0, kNoAlarm), Cme(20)},
        {"AT+SSCW", Ok()},
        {"AT+SSCW", Ok()},
        {"AT+SSCI", Ok()},
        {Entry(2, 0, QStringLiteral("m"), "2004,01,01,12,00,00", 0, kNoAlarm), Ok()},
        {"AT+SEND", Ok()},
        {"AT+SSCR", Cme(3)},
        {"AT+SSCI", Cme(3)},
        {"AT+SBEG", Ok()},
        {"AT+SSCW", Ok()},
    });
    EXPECT_EQ(phone.state().dialect2.organizer.size(), 20u);
    EXPECT_EQ(phone.changes, 1);
}

} // namespace
