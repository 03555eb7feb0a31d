// The second family's reply classification and list parsers, each a table of replies as the
// phone sends them.
#include "link2/reply_classifier.h"
#include "link2/reply_parser.h"
#include "session_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace dh2;
using link2test::Sync;

TEST(ReplyClassifier2, JudgesWholeLinesInTheirOrderOfRank)
{
    const struct {
        QByteArray reply;
        int result;
        bool messageText = false;
        bool quiet = false;
    } cases[] = {
        {"AT\r\r\nOK\r\n", AT_OK},
        {"\r\n+CME ERROR: 10\r\n", AT_CME_ERROR},
        {"\r\n+CME ERROR: 3\r\n\r\nOK\r\n", AT_CME_ERROR}, // the first final line ends the answer
        {"\r\n+CMS ERROR: 300\r\n", AT_CMS_ERROR},
        {"\r\n+CGR ERROR\r\n", AT_CGR_ERROR},
        {"\r\nERROR\r\n", AT_ERROR},
        {"\r\n+CMSS: 5\r\n", AT_OK},
        {"\r\nRING\r\n", AT_RING},
        {"\r\nRING\r\n\r\nOK\r\n", AT_OK},
        {"\r\n> ", AT_PROMPT},
        {"\r\n> ", AT_PENDING, true},
        {"\r\n>\r\n+CMGL: 1\r\n", AT_PENDING},        // a '>' counts only on the last line
        {"\r\n+CPBR: 1,\"12\",129,\"ERROR\"", AT_PENDING}, // text inside data ends nothing
        {"\r\n+CPBR: 1,\"RING\"\r\n", AT_PENDING},
        {"\r\nRINGING\r\n", AT_PENDING},
        {"\r\nOK", AT_PENDING},
        {"\r\nOK", AT_OK, false, true}, // a last line without its line end, once the line is quiet
        {"\r\nERROR", AT_ERROR, false, true},
        // A listing of messages in text: the line after a header is its text, and only the last
        // line of a quiet reply ends it.
        {"\r\n+CMGL: 1,\"REC READ\",\"12\",\"\",,0\r\nOK\r\n", AT_PENDING, true, true},
        {"\r\n+CMGL: 1,\"REC READ\",\"12\",\"\",,0\r\nOK\r\n\r\nOK\r\n", AT_OK, true, true},
        {"\r\n+CMGL: 1,\"REC READ\",\"12\",\"\",,0\r\nOK\r\n\r\nOK\r\n", AT_PENDING, true},
        {"\r\n+CMGL: 1,\"REC READ\",\"12\",\"\",,0\r\nHi\r\nRING\r\n+CMGL: 2", AT_PENDING, true, true},
        {"\r\n+CMGR: \"REC READ\",\"12\",\"\",,0\r\n+CMSS: 5\r\n\r\nOK", AT_OK, true, true},
        {"\r\n+CMS ERROR: 321\r\n", AT_CMS_ERROR, true, true},
        {"\r\nRING\r\n", AT_RING, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyReply(c.reply, c.messageText, c.quiet).result, c.result) << c.reply.toStdString();
    }
}

TEST(ReplyClassifier2, DecidesOnceAsTheReplyGrows)
{
    CReplyClassifier classifier;
    QByteArray reply = "\r\n+CPBR: 1,\"12\"";
    EXPECT_EQ(classifier.Classify(reply).result, AT_PENDING);
    reply += ",129\r\n\r\nOK\r\n";
    const ReplyClass verdict = classifier.Classify(reply);
    EXPECT_EQ(verdict.result, AT_OK);
    EXPECT_EQ(verdict.end, reply.size());
    EXPECT_TRUE(verdict.cutEcho);
    reply += "\r\nERROR\r\n";
    EXPECT_EQ(classifier.Classify(reply).result, AT_OK);
}

// A text-mode listing gets the same answer however the serial reads cut it: at every split
// point, whether the first read ended a burst or the line went quiet there, the verdict is what
// the first piece alone says, or else what the whole reply says. Texts hold line feeds and
// carriage returns where the phone's own CR LF stands beside them.
TEST(ReplyClassifier2, AListingIsJudgedAlikeWhereverTheReadsSplitIt)
{
    const QByteArray header = "\r\n+CMGL: 1,\"REC READ\",\"12\",\"\",,0\r\n";
    const QByteArray texts[] = {"\nRING", "\rRING", "a\nOK", "a\rOK", "\n", "\r", "\r\n", "\n\r", "x\r", "x\n",
        "\nOK\n", "\rOK\r", "\n\n", "\r\r", "RING\n", "OK\r", "\nERROR", "\r\nRING\r\n",
        "hi\n+CMGL: 9,\"REC READ\",\"+1999\",\"\",,0\nbye"};
    const QByteArray ends[] = {"\r\n\r\nOK\r\n", "\r\n", ""};
    for (const QByteArray& text : texts) {
        for (const QByteArray& end : ends) {
            const QByteArray reply = header + text + end;
            const ReplyClass whole = ClassifyReply(reply, true, true);
            for (qsizetype split = 1; split < reply.size(); ++split) {
                for (const bool quiet : {false, true}) {
                    CReplyClassifier classifier(true);
                    ReplyClass verdict = classifier.Classify(reply.left(split), quiet);
                    ReplyClass expected = ClassifyReply(reply.left(split), true, quiet);
                    if (expected.result == AT_PENDING)
                        expected = whole;
                    if (verdict.result == AT_PENDING)
                        verdict = classifier.Classify(reply, true);
                    EXPECT_EQ(verdict.result, expected.result) << reply.toPercentEncoding().constData() << " at " << split;
                    EXPECT_EQ(verdict.end, expected.end) << reply.toPercentEncoding().constData() << " at " << split;
                }
            }
        }
    }
    // A text that starts with a line feed, read in two pieces: the header's CR LF whole in the
    // first, the text's line feed in the second.
    const QByteArray example = header + "\nRING\r\n";
    CReplyClassifier classifier(true);
    EXPECT_EQ(classifier.Classify(example.left(header.size()), true).result, AT_PENDING);
    EXPECT_EQ(classifier.Classify(example, true).result, ClassifyReply(example, true, true).result);
}

TEST(BookLimits, FromTheTestReply)
{
    const struct {
        const char* reply;
        std::optional<int> capacity, numberLimit, nameLimit;
    } cases[] = {
        {"+CPBR: (1-200),20,60", 200, 20, 20},
        {"\r\n+CPBR: (1-250),20,36\r\n\r\nOK", 250, 20, 12},
        {"+CPBR: (1),20,36", std::nullopt, 20, 12}, // a range without '-'
        {"+CPBR: (1-100),0,-3", 100, std::nullopt, std::nullopt},
        {"+CPBR: (1-100),20,2", 100, 20, std::nullopt},
        {"+CPBR: (1-100)", 100, std::nullopt, std::nullopt},
        // Unsolicited lines around the answer lend it none of their numbers.
        {"\r\n+CMTI: \"SM\",5\r\n+CPBR: (1-250),20,36\r\n\r\nOK", 250, 20, 12},
        {"\r\n+CREG: 1,2\r\n+CPBR: (1-250),20,36\r\n\r\nOK", 250, 20, 12},
        // A reply without its own line has no limits, whatever an unsolicited line says.
        {"\r\n+CMTI: \"SM\",5\r\n\r\nOK", std::nullopt, std::nullopt, std::nullopt},
        {"\r\n+CMTI: \"SM\",5\r\n(1-250),40,18\r\n\r\nOK", std::nullopt, std::nullopt, std::nullopt},
        {"\r\n+CREG: 1,2,3\r\n\r\nOK", std::nullopt, std::nullopt, std::nullopt},
        {"+CPBRX: (1-250),40,18", std::nullopt, std::nullopt, std::nullopt},
        {"+CPBR:(1-250),40,18", 250, 40, 6},
    };
    for (const auto& c : cases) {
        const BookLimits limits = ParseBookLimits(QString::fromLatin1(c.reply));
        EXPECT_EQ(limits.capacity, c.capacity) << c.reply;
        EXPECT_EQ(limits.numberLimit, c.numberLimit) << c.reply;
        EXPECT_EQ(limits.nameLimit, c.nameLimit) << c.reply;
    }
}

TEST(GroupReplies, RangeAndList)
{
    std::optional<GroupRange> range = ParseGroupRange(QStringLiteral("\r\n+CPGR: 0, 7\r\n\r\nOK"));
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 0);
    EXPECT_EQ(range->last, 7);
    EXPECT_FALSE(ParseGroupRange(QStringLiteral("+CPGR: ")));

    const QString list = "\r\n+CPGR: 0,\"" + Sync(QStringLiteral("Family")) + "\",3,20\r\n+CPGR: 1,\"\",0, 50\r\n"
        + "+CPGRX\r\n+CPGR: 2,\"" + Sync(QStringLiteral("VIP")) + "\",1,10\r\n\r\nOK";
    const std::optional<GroupTable> groups = ParseGroupList(list);
    ASSERT_TRUE(groups);
    ASSERT_EQ(groups->size(), 3u); // a line that only looks like a group's ends nothing
    EXPECT_EQ((*groups)[0].m_strName, QStringLiteral("Family"));
    EXPECT_EQ((*groups)[0].m_nMembers, 3);
    EXPECT_EQ((*groups)[0].m_nCapacity, 20);
    EXPECT_EQ((*groups)[1].m_strName, QString());
    EXPECT_EQ((*groups)[1].m_nCapacity, 50);
    EXPECT_EQ((*groups)[2].m_strName, QStringLiteral("VIP"));
    EXPECT_FALSE(ParseGroupList("+CPGR: 0,\"" + Sync(QStringLiteral("Family")) + "\",3,"));
    EXPECT_FALSE(ParseGroupList(QStringLiteral("+CPGR: 0,\"QUI=\",3")));
}

TEST(PhoneNumbers, AsTheRecordsKeepThem)
{
    const struct {
        const char* number;
        const char* type;
        const char* kept;
    } cases[] = {
        {"4917012", "145", "+4917012"}, {"+4917012", "145", "+4917012"}, {"030123", "129", "030123"},
        {"4930+12", "145", "+4930P12"}, {"C4930", "129", "+4930"},        {"", "145", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberFromPhone(QString::fromLatin1(c.number), QString::fromLatin1(c.type)), QString::fromLatin1(c.kept));
}

TEST(PhonebookLines, HandsetEntriesByModel)
{
    const QString name = Sync(QStringLiteral("Anna Li  "));
    const QString email = Sync(QStringLiteral("anna@example.org"));
    const BookFormat withGroups {true, false, false};
    const BookFormat model1 {false, true, true};

    // Number places: mobile in the first, home in the third; the plain fax is filled with 0xFF.
    std::unique_ptr<CPhoneEntry> entry = ParseHandsetEntry("7,\"4917012\",145,\"" + name + "\",1,\"\",129,2,\"030+5\",129,3,\""
            + email + "\",\"0301,7" + QString(18, QChar(0xFF)) + "\",3",
        withGroups);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->m_nIndex, 7);
    EXPECT_EQ(entry->m_strName, QStringLiteral("Anna Li"));
    EXPECT_EQ(entry->m_strMobile, QStringLiteral("+4917012"));
    EXPECT_EQ(entry->m_strOffice, QString());
    EXPECT_EQ(entry->m_strHome, QStringLiteral("030P5"));
    EXPECT_EQ(entry->m_strEmail, QStringLiteral("anna@example.org"));
    EXPECT_EQ(entry->m_strFax, QStringLiteral("0301,7")); // a comma inside the quotes stays
    EXPECT_EQ(entry->m_nGroup, 3);
    EXPECT_EQ(entry->m_nList, 3);
    EXPECT_EQ(entry->m_nState, 0);

    // No group is 255 on the phone; a kind the records do not know files the number as mobile.
    entry = ParseHandsetEntry("8,\"1\",129,\"\",9,\"2\",129,2,\"\",129,3,\"\",\"\",255", withGroups);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->m_strMobile, QStringLiteral("1"));
    EXPECT_EQ(entry->m_strOffice, QStringLiteral("2"));
    EXPECT_EQ(entry->m_nGroup, CPhoneEntry::kNoGroup);

    // Model 1: no group field, the fax in Base64; a line with fields up to 10 will do.
    entry = ParseHandsetEntry("9,\"5\",129,\"" + name + "\",1,\"\",129,2,\"\",129,3,\"\",\"" + Sync(QStringLiteral("fax 1")) + '"', model1);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->m_strFax, QStringLiteral("fax 1"));
    EXPECT_EQ(entry->m_nGroup, CPhoneEntry::kNoGroup);
    EXPECT_TRUE(ParseHandsetEntry("9,\"5\",129,\"\",1,\"\",129,2,\"\",129,3", model1));

    EXPECT_FALSE(ParseHandsetEntry("9,\"5\",129,\"\",1,\"\",129,2,\"\",129", model1));
    EXPECT_FALSE(ParseHandsetEntry("9,\"5\",129,\"\",1,\"\",129,2,\"\",129,3,\"\",\"\"", withGroups));
    EXPECT_FALSE(ParseHandsetEntry("x,\"5\",129,\"\",1,\"\",129,2,\"\",129,3", model1));
}

TEST(PhonebookLines, SimEntries)
{
    const BookFormat withGroups {true, false, false};
    std::unique_ptr<CPhoneEntry> entry = ParseSimEntry("3,\"8613800\",145,\"" + Sync(QStringLiteral("Wang")) + "\",255", withGroups);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->m_nSimIndex, 3);
    EXPECT_EQ(entry->m_nIndex, -1);
    EXPECT_EQ(entry->m_strMobile, QStringLiteral("+8613800"));
    EXPECT_EQ(entry->m_strName, QStringLiteral("Wang"));
    EXPECT_EQ(entry->m_nGroup, CPhoneEntry::kNoGroup);
    EXPECT_EQ(entry->m_nList, 4);
    EXPECT_FALSE(ParseSimEntry("3,\"8613800\",145,\"\"", withGroups));
    EXPECT_TRUE(ParseSimEntry("3,\"8613800\",145,\"\"", BookFormat {}));
}

// Model 1 lists each entry twice, short form first; the list ends at a segment that is no
// entry line, and a prefix inside a Base64 field cuts nothing.
TEST(PhonebookLines, ListsInPairsAndPrefixesOnlyAtLineStarts)
{
    const BookFormat model1 {false, true, true};
    const QString full = "+CPBR: 1,\"5\",129,\"" + Sync(QStringLiteral("Bo")) + "\",1,\"\",129,2,\"\",129,3,\"AU+CPBRA\",\"\"";
    const QString reply = "\r\n+CPBR: 1,\"5\",129,\"" + Sync(QStringLiteral("Bo")) + "\"\r\n" + full + "\r\n\r\nOK";
    RecordList<CPhoneEntry> list;
    ASSERT_TRUE(ParseBookReply(reply, false, model1, list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->m_strName, QStringLiteral("Bo"));

    list.clear();
    const QString broken = QStringLiteral("\r\n+CPBR: 1,\"5\",129\r\n+CPBR: 2,\"5\",129\r\n\r\nOK");
    EXPECT_FALSE(ParseBookReply(broken, true, BookFormat {}, list));
    EXPECT_TRUE(list.empty());
}

TEST(ScheduleRecords, MemosSchedulesAndAlarms)
{
    const QString text = Sync(QStringLiteral("Dentist"));
    const CScheduleEntry defaults;
    const struct {
        QString fields;
        int kind;
        QDateTime start;
        int repeat;
        int alarm;
    } cases[] = {
        {"2,5,\"" + text + "\",2004-03-01,12:00:00", 2, {{2004, 3, 1}, {12, 0}}, 0, 0},
        {"1,0,\"" + text + "\",2004-03-07,09:05:00,2,1,2004-03-07,08:55:00", 1, {{2004, 3, 7}, {9, 5}}, 2, 2},
        {"1,1,\"" + text + "\",2004-03-07,09:05:00,0,1,2004-03-07,08:50:00", 1, {{2004, 3, 7}, {9, 5}}, 0, 1},
        {"1,2,\"" + text + "\",2004-03-07,09:05:00,0,1,2004-03-06,09:05:00", 1, {{2004, 3, 7}, {9, 5}}, 0, 5},
        {"1,3,\"" + text + "\",2004-03-07,09:05:00,4,0", 1, {{2004, 3, 7}, {9, 5}}, 4, 0},
        {"1,4,\"" + text + "\",2004-13-40,09:05:00,0,0", 1, defaults.m_dtStart.ToQDateTime(), 0, 0},
        {"1,4,\"" + text + "\",1850-01-01,09:05:00,0,0", 1, defaults.m_dtStart.ToQDateTime(), 0, 0},
        {"1,4,\"" + text + "\",,,0,0", 1, defaults.m_dtStart.ToQDateTime(), 0, 0},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<CScheduleEntry> record = ParseScheduleRecord(c.fields);
        ASSERT_TRUE(record) << c.fields.toStdString();
        EXPECT_EQ(record->m_nKind, c.kind);
        EXPECT_EQ(record->m_strSubject, QStringLiteral("Dentist"));
        EXPECT_EQ(record->m_dtStart.ToQDateTime(), c.start) << c.fields.toStdString();
        EXPECT_EQ(record->m_nRepeat, c.repeat);
        EXPECT_EQ(record->m_nAlarm, c.alarm) << c.fields.toStdString();
        EXPECT_EQ(record->m_nList, 3);
    }
    EXPECT_EQ(ParseScheduleRecord(QStringLiteral("2,5,\"\",2004-03-01,12:00:00"))->m_strSubject, QStringLiteral(" "));
    EXPECT_FALSE(ParseScheduleRecord("1,0,\"" + text + "\",2004-03-07,09:05:00,2,1"));
    EXPECT_FALSE(ParseScheduleRecord("1,0,\"" + text + "\",2004-03-07,09:05:00,2"));
    EXPECT_FALSE(ParseScheduleRecord("2,5,\"" + text + "\",2004-03-01"));
}

} // namespace
