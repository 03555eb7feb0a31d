// The message list parsers of the second family, each a table of replies as the phone sends
// them.
#include "link2/message_parser.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using namespace dh2;

// Received from +46708251358 on 04-03-07 at 09:05:30, one hour ahead of GMT.
const char* const kHelloHello = "00040B916407281553F80000403070905003400AE8329BFD4697D9EC37";
// "Hello" with a predefined sound at position 2.
const char* const kEmsSound = "00440B916407281553F80000403070905003400B040B02020520CB6CF61B";
// "Hello", part 1 of 2.
const char* const kPartOfTwo = "00440B916407281553F80000403070905003400C0500032A0201906536FB0D";
// "Hello" with a sound, part 1 of 2.
const char* const kEmsPartOfTwo = "00440B916407281553F8000040307090500340110900032A02010B020205802CB3D96F";
const char* const kNoText = "00040B916407281553F800004030709050034000";
// Stored for sending to +46708251358: "Hi".
const char* const kSubmit = "0011070B916407281553F80000AA02C834";
// From the alphanumeric sender "Bank", no text.
const char* const kFromBank = "000407D0C2B07B0D00004030709050034000";

// A reply, and the headers and texts of the entries a parser cuts it into.
struct ListingCase {
    const char* name;
    QString reply;
    QStringList headers;
    QStringList bodies;
};

template <size_t N, typename Cut>
void ExpectEntries(const ListingCase (&cases)[N], Cut cut)
{
    for (const ListingCase& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList headers;
        QStringList bodies;
        for (const MessageListEntry& entry : cut(c.reply)) {
            headers << entry.header;
            bodies << entry.body;
        }
        EXPECT_EQ(headers, c.headers);
        EXPECT_EQ(bodies, c.bodies);
    }
}

TEST(MessageParser, TrimsOnlyTheFinalOkLine)
{
    const struct {
        QString reply;
        QString trimmed;
    } cases[] = {
        {"\r\n+CMGL: 1,\"REC READ\"\r\nALL OK\r\n\r\nOK", "+CMGL: 1,\"REC READ\"\r\nALL OK"},
        {"\r\n+CMGL: 1,\"REC READ\"\r\nsee you  \r\n\r\nOK\r\n", "+CMGL: 1,\"REC READ\"\r\nsee you  "},
        {"\r\n+CMGL: 1,\"REC READ\"\r\nOK\r\n\r\nOK", "+CMGL: 1,\"REC READ\"\r\nOK"},
        {"  +CMGR: \"REC READ\"\r\nBOOK", "+CMGR: \"REC READ\"\r\nBOOK"},
        {"\r\nOK\r\n", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimMessageReply(c.reply), c.trimmed) << c.reply.toStdString();
}

// A PDU listing: each entry line with the PDU line after it, whatever unsolicited lines and noise
// stand among them; a listing with a piece that cannot be read is none.
TEST(MessageParser, CutsAPduListingIntoEntries)
{
    const QString pdu1 = QString::fromLatin1(kHelloHello);
    const QString pdu2 = QString::fromLatin1(kSubmit);
    const QString entry1 = "+CMGL: 1,1,,24\r\n" + pdu1 + "\r\n";
    const QString entry2 = "+CMGL: 2,2,\"Li\",17\r\n" + pdu2 + "\r\n";
    const QStringList both = {"1,1,,24", "2,2,\"Li\",17"};
    const ListingCase cases[] = {
        {"two entries", "\r\n" + entry1 + entry2 + "\r\nOK", both, {pdu1, pdu2}},
        {"nothing listed", "\r\nOK", {}, {}},
        {"unsolicited lines first, between and amid", "\r\n+CMTI: \"SM\",5\r\n+CMGL: 1,1,,24\r\nRING\r\n+CREG: 1\r\n" + pdu1
                + "\r\n+CMTI: \"SM\",6\r\n" + entry2 + "\r\nOK",
            both, {pdu1, pdu2}},
        {"a message arriving amid, with its PDU", "\r\n+CMGL: 1,1,,24\r\n+CMT: ,24\r\n" + pdu2 + "\r\n" + pdu1 + "\r\n" + entry2,
            both, {pdu1, pdu2}},
        {"noise between", "\r\n" + entry1 + "AT\x7f~#\r\n" + entry2 + "\r\nOK", both, {pdu1, pdu2}},
        {"a line that only looks like an entry", "\r\n" + entry1 + "+CMGLX: 9\r\n" + entry2, both, {pdu1, pdu2}},
    };
    for (const ListingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QList<MessageListEntry>> entries = PduListingEntries(c.reply);
        ASSERT_TRUE(entries);
        QStringList headers;
        QStringList bodies;
        for (const MessageListEntry& entry : *entries) {
            headers << entry.header;
            bodies << entry.body;
        }
        EXPECT_EQ(headers, c.headers);
        EXPECT_EQ(bodies, c.bodies);
    }

    const QString unreadable[] = {
        "\r\n+CMGL: 1,1,,24\r\n\r\nOK",                            // no PDU
        "\r\n+CMGL: 1,1,,24\r\n+CMGL: 2,2,,17\r\n" + pdu2 + "\r\nOK", // the first lost its PDU
        "\r\n" + entry1 + "~+CMGL: 2,2,,17\r\n" + pdu2 + "\r\nOK",      // an entry line that lost its start
        "\r\n" + entry1 + "+CMTI: \"SM\",5+CMGL: 2,2,,17\r\n" + pdu2,  // glued to a code without its line end
        "\r\n+CMGL: 1,1,,24\r\n~" + pdu1 + "\r\nOK",                 // a PDU that lost its start
    };
    for (const QString& reply : unreadable)
        EXPECT_FALSE(PduListingEntries(reply)) << reply.toStdString();
}

// A text-mode listing: headers only after the phone's CR LF and only when they read as headers;
// every other line is text. A read of one message takes all after its header as its text.
TEST(MessageParser, CutsATextListingAtItsHeaders)
{
    const ListingCase cases[] = {
        {"two entries", "\r\n+CMGL: 1,\"REC READ\",\"+49\",\"\",,0\r\nfirst\r\n+CMGL: 2,\"STO UNSENT\",\"\",\"\",,0\r\nALL OK\r\n\r\nOK",
            {"1,\"REC READ\",\"+49\",\"\",,0", "2,\"STO UNSENT\",\"\",\"\",,0"}, {"first", "ALL OK"}},
        {"a header after a lone line feed is text", "+CMGL: 1,\"REC READ\"\r\nhi\n+CMGL: 9,\"REC READ\"\nbye\r\n\r\nOK",
            {"1,\"REC READ\""}, {"hi\n+CMGL: 9,\"REC READ\"\nbye"}},
        {"a line that is no header is text", "+CMGL: 1,\"REC READ\"\r\nhi\r\n+CMGL: x\r\n+CMGL: 2\r\n\r\nOK",
            {"1,\"REC READ\""}, {"hi\r\n+CMGL: x\r\n+CMGL: 2"}},
        {"a header after CR LF cuts (the count decides)", "+CMGL: 1,\"REC READ\"\r\nhi\r\n+CMGL: 9,\"REC READ\"\r\nbye\r\n\r\nOK",
            {"1,\"REC READ\"", "9,\"REC READ\""}, {"hi", "bye"}},
        {"no header first", "junk\r\n+CMGL: 1,\"REC READ\"\r\nA\r\n\r\nOK", {}, {}},
        {"nothing listed", "\r\nOK", {}, {}},
    };
    ExpectEntries(cases, [](const QString& reply) { return TextListingEntries(reply); });
    const std::optional<MessageListEntry> read =
        TextReadEntry(QStringLiteral("\r\n+CMGR: \"REC READ\",\"+49\"\r\nhi\r\n+CMGR: \"x\"\r\nOK\r\n\r\nOK\r\n"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->header, QStringLiteral("\"REC READ\",\"+49\""));
    EXPECT_EQ(read->body, QStringLiteral("hi\r\n+CMGR: \"x\"\r\nOK"));
    EXPECT_FALSE(TextReadEntry(QStringLiteral("\r\n+CMS ERROR: 321")));
}

TEST(MessageParser, ReadsTextModeHeaders)
{
    const struct {
        const char* name;
        QString header;
        bool ok;
        int index = -1;
        int status = 1;
        QString number;
        QString name_;
        QString date;
        QString time;
    } cases[] = {
        {"as the phone lists it", "3,\"REC READ\",\"+4917\",\"Ann\",\"04/03/07,09:05:30+04\",0", true, 3, 4, "+4917", "Ann",
            "04/03/07", "09:05:30+04"},
        {"a name with a comma", "3,\"REC UNREAD\",\"+4917\",\"Doe, Ann\",\"04/03/07,09:05:30+04\",0", true, 3, 3, "+4917",
            "Doe, Ann", "04/03/07", "09:05:30+04"},
        {"date and time quoted apart", "7,\"STO SENT\",\"123\",\"\",\"04/03/07\",\"09:05:30\"", true, 7, 2, "123", "",
            "04/03/07", "09:05:30"},
        {"no time stamp", "8,\"STO UNSENT\",\"123\",\"\",,0", true, 8, 1, "123"},
        {"fourth field without a quote", "8,\"REC READ\",\"123\",\"\",04/03/07,09:05:30", true, 8, 4, "123"},
        {"unknown status", "9,\"ALL\"", true, 9, 1},
        {"no status", "9", false},
        {"no index", "\"REC READ\",\"123\"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSmsEntry entry;
        ASSERT_EQ(ParseTextMessageHeader(c.header, entry), c.ok);
        if (!c.ok)
            continue;
        EXPECT_EQ(entry.m_nIndex, c.index);
        EXPECT_EQ(entry.m_nStatus, c.status);
        EXPECT_EQ(entry.m_strNumber, c.number);
        EXPECT_EQ(entry.m_strName, c.name_);
        EXPECT_EQ(entry.m_strDate, c.date);
        EXPECT_EQ(entry.m_strTime, c.time);
        EXPECT_EQ(entry.m_nList, 3);
    }
}

TEST(MessageParser, DecodesTextByItsCodingMark)
{
    const struct {
        QString text;
        QChar mark;
        QString decoded;
    } cases[] = {
        {"Hello", u'0', "Hello"},
        {QString::fromLatin1("\x00 at \x1b\x28x\x1b\x29", 10), u'0', "@ at {x}"},
        {"Line\rnext\r", u'0', "Line\r\nnext\r\n"},
        {"a\nb\r\nc", u'0', "a\r\nb\r\nc"},
        {"0048 0069\r\n041F", u'2', "Hi\u041F"},
        {"00480069000D", u'2', "Hi\r\n"},
        {"", u'2', ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeMessageText(c.text, c.mark), c.decoded) << c.text.toStdString();
    // Cut to 2,048 bytes of the locale's width: 1,024 wide characters.
    EXPECT_EQ(DecodeMessageText(QStringLiteral("4E2D").repeated(2000), u'2').size(), 1024);
}

TEST(MessageParser, BuildsRecordsFromPduEntries)
{
    const struct {
        const char* name;
        QString header;
        QString body;
        bool failed = false;
        int reRead = -1;
        int index = -1;
        int status = 1;
        QString number;
        QString date;
        QString time;
        QString text;
    } cases[] = {
        {"plain text", "3,1,\"Ann\",23", kHelloHello, false, -1, 3, 4, "+46708251358", "4/3/7", "9:5:30 4", "hellohello"},
        {"enhanced", "4,0,,24", kEmsSound, false, -1, 4, 3, "+46708251358", "4/3/7", "9:5:30 4", "[EMS]"},
        {"enhanced part of two", "5,0,,30", kEmsPartOfTwo, false, -1, 5, 3, "+46708251358", "4/3/7", "9:5:30 4", "[EMS]"},
        {"plain part of two", "6,1,,25", kPartOfTwo, false, 6},
        {"no text", "7,1,,19", kNoText, false, -1, 7, 4, "+46708251358", "4/3/7", "9:5:30 4", "Empty"},
        {"stored for sending", "8,2,,16", kSubmit, false, -1, 8, 1, "+46708251358", "", "", "Hi"},
        {"sent", "8,3,,16", kSubmit, false, -1, 8, 2, "+46708251358", "", "", "Hi"},
        {"alphanumeric sender", "9,1,,18", kFromBank, false, -1, 9, 4, "Bank", "4/3/7", "9:5:30 4", "Empty"},
        {"status report", "10,1,,20", "0002" + QString(kHelloHello).mid(4), false, 10},
        {"PDU with a bad digit", "11,1,,23", QString(kHelloHello).left(20) + "XY", false, 11},
        {"PDU cut short", "12,1,,23", QString(kHelloHello).chopped(2), false, 12},
        {"no PDU line", "13,1,,23", "", false, 13},
        {"no status", "14", kHelloHello, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PduEntryResult result = ParsePduEntry({c.header, c.body});
        EXPECT_EQ(result.Failed(), c.failed);
        EXPECT_EQ(result.reRead.value_or(-1), c.reRead);
        if (c.failed || c.reRead >= 0) {
            EXPECT_EQ(result.record, nullptr);
            continue;
        }
        ASSERT_NE(result.record, nullptr);
        const CSmsEntry& entry = *result.record;
        EXPECT_EQ(entry.m_nIndex, c.index);
        EXPECT_EQ(entry.m_nStatus, c.status);
        EXPECT_EQ(entry.m_strNumber, c.number);
        EXPECT_EQ(entry.m_strDate, c.date);
        EXPECT_EQ(entry.m_strTime, c.time);
        EXPECT_EQ(entry.m_strText, c.text);
        EXPECT_EQ(entry.m_nList, 3);
    }
    EXPECT_EQ(ParsePduEntry({"3,1,\"Ann\",23", kHelloHello}).record->m_strName, QStringLiteral("Ann"));
}

TEST(MessageParser, ReadsStorageCountsAndStoredIndices)
{
    const struct {
        QString reply;
        int used = -1;
        int total = -1;
    } counts[] = {
        {"+CPMS: 3,20,3,20", 3, 20},
        {"\r\n+CPMS: 20,20,20,20\r\n", 20, 20},
        {"+CPMS: \"SM\",3,20,\"SM\",3,20,\"ME\",0,100", 3, 20}, // the query
        {"\r\n+CREG: 1\r\n+CPMS: 4,20,4,20\r\n\r\nOK", 4, 20},   // an unsolicited line first
        {"+CPMS: 3", -1, -1},
        {"ERROR", -1, -1},
    };
    for (const auto& c : counts) {
        const std::optional<StorageCounts> parsed = ParseStorageCounts(c.reply);
        EXPECT_EQ(parsed ? parsed->used : -1, c.used) << c.reply.toStdString();
        EXPECT_EQ(parsed ? parsed->total : -1, c.total) << c.reply.toStdString();
    }

    const struct {
        QString reply;
        int index;
    } stored[] = {
        {"\r\n+CMGW: 4\r\n\r\nOK", 4},
        {"+CMGW:12", 12},
        {"+CMGW: \r\nOK", -1},
        {"\r\nOK", -1},
        {"+CMGW: -1", -1},
        // Unsolicited lines beside the answer name no stored message.
        {"\r\n+CREG: 1\r\n+CMGW: 2\r\n\r\nOK", 2},
        {"\r\n+CMTI: \"SM\",5\r\n\r\n+CMGW: 3\r\n\r\nOK", 3},
        {"\r\n+CMGW: 6\r\n+CREG: 1\r\n\r\nOK", 6},
        {"\r\n+CREG: 1\r\n\r\nOK", -1},
    };
    for (const auto& c : stored)
        EXPECT_EQ(StoredMessageIndex(c.reply).value_or(-1), c.index) << c.reply.toStdString();
}

} // namespace
