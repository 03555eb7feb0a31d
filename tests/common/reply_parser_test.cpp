#include "common/reply_parser.h"

#include <gtest/gtest.h>

using namespace common;

namespace {

// Replies as the transport hands them over: echo removed, line ends cut after the final OK.
TEST(ReplyParser, TrimListReplyRemovesOnlyTheFinalOkLine)
{
    const struct {
        const char* reply;
        const char* trimmed;
    } cases[] = {
        {"\r\n+CPBR: 1,6,\"12\",129\r\n\r\nOK", "+CPBR: 1,6,\"12\",129"},
        {"\r\nOK", ""},
        {"OK", ""},
        {"  \r\n+CMDR: 1,\"T0sA\"\r\n\r\nok\r\n", "+CMDR: 1,\"T0sA\""},
        // Fields that end in the letters O and K, or in blanks, keep them.
        {"\r\n+CPGR: 0,\"BOOK\"\r\nOK", "+CPGR: 0,\"BOOK\""},
        {"\r\n+CPBR: 3,0,\"\",255,BOOK\r\nOK", "+CPBR: 3,0,\"\",255,BOOK"},
        {"\r\n+CPBR: 3,0,\"\",255,BOOK", "+CPBR: 3,0,\"\",255,BOOK"},
        // "OK" at the end of a line that holds more is data.
        {"\r\n+CXDR: 1,LOOK", "+CXDR: 1,LOOK"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimListReply(QString::fromUtf8(c.reply)), QString::fromUtf8(c.trimmed)) << c.reply;
    }
}

TEST(ReplyParser, GetReplyLineCutsAtEveryPrefixThatBeginsALine)
{
    // The prefix inside a field ("AE+CPBRAAAA=") or after other text on its line cuts nothing.
    const QString reply = QStringLiteral("junk\r\n+CPBR: 1,\"AE+CPBRAAAA=\"\r\n  +CPBR: 2,b x+CPBR\r\n+CPBR: 3,c");
    const QString prefix = QStringLiteral("+CPBR");
    const QStringList expected = {QStringLiteral("junk\r\n+CPBR: 1,\"AE+CPBRAAAA=\"\r\n  "),
        QStringLiteral("+CPBR: 2,b x+CPBR\r\n"), QStringLiteral("+CPBR: 3,c")};
    QString out;
    for (int n = 0; n < 3; ++n) {
        ASSERT_TRUE(GetReplyLine(out, reply, n, prefix)) << n;
        EXPECT_EQ(out, expected[n]) << n;
    }
    out = QStringLiteral("stale");
    EXPECT_FALSE(GetReplyLine(out, reply, 3, prefix));
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(ReplySegments(reply, prefix), expected);

    // An empty prefix or text leaves out alone; a text without the prefix has no segment.
    out = QStringLiteral("kept");
    EXPECT_FALSE(GetReplyLine(out, reply, 0, QString()));
    EXPECT_FALSE(GetReplyLine(out, QString(), 0, prefix));
    EXPECT_EQ(out, QStringLiteral("kept"));
    EXPECT_FALSE(GetReplyLine(out, QStringLiteral("\r\nOK"), 0, prefix));
    EXPECT_FALSE(GetReplyLine(out, reply, -1, prefix));
    EXPECT_TRUE(ReplySegments(QStringLiteral("OK"), prefix).isEmpty());
}

// The second family's segments begin at their prefix, and every failure empties out.
TEST(ReplyParser, GetReplyLineFromThePrefix)
{
    const QString reply = QStringLiteral("junk\r\n+CPBR: 1,\"AE+CPBRAAAA=\"\r\n+CPBR: 2,b");
    const QString prefix = QStringLiteral("+CPBR");
    const QStringList expected = {QStringLiteral("+CPBR: 1,\"AE+CPBRAAAA=\"\r\n"), QStringLiteral("+CPBR: 2,b")};
    QString out;
    for (int n = 0; n < 2; ++n) {
        ASSERT_TRUE(GetReplyLine(out, reply, n, prefix, SegmentRule::FromPrefix)) << n;
        EXPECT_EQ(out, expected[n]);
    }
    EXPECT_EQ(ReplySegments(reply, prefix, SegmentRule::FromPrefix), expected);
    for (const auto& [text, thePrefix] : {std::pair(reply, QString()), std::pair(QString(), prefix), std::pair(reply, QStringLiteral("+CMGL"))}) {
        out = QStringLiteral("stale");
        EXPECT_FALSE(GetReplyLine(out, text, 0, thePrefix, SegmentRule::FromPrefix));
        EXPECT_TRUE(out.isEmpty());
    }
}

TEST(ReplyParser, FieldsAndNumbers)
{
    QString field;
    EXPECT_TRUE(ExtractField(field, QStringLiteral("a,\"b,c\",,d"), 1));
    EXPECT_EQ(field, QStringLiteral("\"b")); // commas split inside quotes too
    EXPECT_TRUE(ExtractField(field, QStringLiteral("a,b,,d"), 2));
    EXPECT_EQ(field, QString());
    EXPECT_TRUE(ExtractField(field, QStringLiteral("a,b,,d"), 3));
    EXPECT_EQ(field, QStringLiteral("d"));
    EXPECT_FALSE(ExtractField(field, QStringLiteral("a,b,,d"), 4));
    EXPECT_FALSE(ExtractField(field, QStringLiteral("a"), -1));

    const struct {
        const char* text;
        std::optional<int> number;
    } numbers[] = {{"37", 37}, {" 12abc", 12}, {"-4", -4}, {"+7", 7}, {"", std::nullopt}, {"x1", std::nullopt},
        {"\"5\"", std::nullopt}, {"99999999999", 2147483647}};
    for (const auto& n : numbers) {
        EXPECT_EQ(LeadingNumber(QString::fromLatin1(n.text)), n.number) << n.text;
    }
    EXPECT_EQ(NumberField(QStringLiteral("+CPBS: \"ME\",12,255"), 1), 12);
    EXPECT_EQ(NumberField(QStringLiteral("+CPBS: \"ME\""), 1), std::nullopt);
}

TEST(ReplyParser, IndexRanges)
{
    const struct {
        const char* reply;
        std::optional<IndexRange> range;
    } cases[] = {
        {"+CPBR: (1-255),40,20,30,50", IndexRange {1, 255}},
        {"+CXDR: (0-29),(0-4),(0-5),30", IndexRange {0, 29}},
        {"+CPBR: ( 1 - 10 ),20,12", IndexRange {1, 10}},
        {"+CPBR: (5-5)", IndexRange {5, 5}},
        {"+CPBR: 1-255", std::nullopt},
        {"+CPBR: (1,255)", std::nullopt},
        {"+CPBR: (10-1)", std::nullopt},
        {"+CPBR: (a-b)", std::nullopt},
        {"+CPBR: -(1-5)", std::nullopt},
        {"+CPBR: (1-99999999)", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<IndexRange> range = ParseIndexRange(QString::fromLatin1(c.reply));
        ASSERT_EQ(range.has_value(), c.range.has_value()) << c.reply;
        if (range) {
            EXPECT_EQ(range->first, c.range->first) << c.reply;
            EXPECT_EQ(range->last, c.range->last) << c.reply;
        }
    }
}

TEST(ReplyParser, IndexOfAWriteReply)
{
    const struct {
        const char* reply;
        std::optional<int> index;
    } cases[] = {
        {"\r\n+CPBW: 37\r\n\r\nOK", 37},
        {"+CXDW: 0", 0},
        {"\r\nOK", std::nullopt},
        {"+CPBW:37\r\nOK", std::nullopt},
        {"+CPBW: \r\nOK", std::nullopt},
        {"+CPBW: x", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplyIndexField(QString::fromLatin1(c.reply)), c.index) << c.reply;
    }
}

} // namespace
