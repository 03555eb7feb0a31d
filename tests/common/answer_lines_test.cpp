// The lines that answer a command, with the unsolicited lines and noise a phone puts among them.
#include "common/answer_lines.h"

#include <gtest/gtest.h>

using namespace common;

namespace {

TEST(AnswerLines, UnsolicitedResultCodes)
{
    const struct {
        const char* line;
        bool unsolicited;
        int following;
    } cases[] = {
        {"RING", true, 0},
        {"  ring ", true, 0},
        {"NO CARRIER", true, 0},
        {"+CMTI: \"SM\",5", true, 0},
        {"+CREG: 1", true, 0},
        {"+CREG: 1,\"00C3\",\"1A2B\"", true, 0},
        {"+CMT: ,25", true, 1},
        {"+CMT: \"+1999\",,\"04/03/07,09:05:00+04\"", true, 1},
        {"+CBM: 88", true, 1},
        {"+CDS: 25", true, 1},                         // PDU mode: the PDU follows
        {"+CDS: 6,12,\"+1999\",145,\"04/03/07\"", true, 0}, // text mode: one line
        {"+CDSI: \"SM\",3", true, 0},
        {"+CIEV: 2,3", true, 0},
        {"+CLIP: \"+1999\",145", true, 0},
        {"+CUSD: 0", true, 0},
        // Answers of commands, and what merely looks like a code.
        {"+CPBR: 1,0,\"1\",129", false, 0},
        {"+CPBW: 2", false, 0},
        {"+CMGL: 1,1,,23", false, 0},
        {"+CMTIX: 1", false, 0},
        {"RINGING", false, 0},
        {"OK", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        const QString line = QString::fromLatin1(c.line);
        EXPECT_EQ(IsUnsolicitedLine(line), c.unsolicited) << c.line;
        EXPECT_EQ(UnsolicitedFollowingLines(line), c.following) << c.line;
    }
}

TEST(AnswerLines, TheLineThatAnswers)
{
    const struct {
        const char* reply;
        const char* prefix;
        const char* line; // nullptr: none
    } cases[] = {
        {"\r\n+CPBW: 2\r\n\r\nOK", "+CPBW", "+CPBW: 2"},
        {"\r\n+CREG: 1\r\n\r\n+CPBW: 2\r\n\r\nOK", "+CPBW", "+CPBW: 2"},
        {"\r\n+CMTI: \"SM\",5\r\n+CPBR: (1-255),40,20\r\nOK", "+CPBR", "+CPBR: (1-255),40,20"},
        {"\r\n+CPBW:37\r\n\r\nOK", "+CPBW", "+CPBW:37"},
        {"  +CPBS: \"ME\",3,255 \r\nOK", "+CPBS", "+CPBS: \"ME\",3,255"},
        {"\r\n+CPBWX: 2\r\n\r\nOK", "+CPBW", nullptr},
        {"\r\n+CMTI: \"SM\",5\r\n\r\nOK", "+CPBW", nullptr},
        {"", "+CPBW", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<QString> line = AnswerLine(QString::fromLatin1(c.reply), QString::fromLatin1(c.prefix));
        if (c.line) {
            EXPECT_EQ(line, std::optional<QString>(QString::fromLatin1(c.line))) << c.reply;
        } else {
            EXPECT_FALSE(line) << c.reply;
        }
    }
    // What the line says, after its name.
    EXPECT_EQ(AnswerValues(u"+CPBW: 2"), QStringLiteral("2"));
    EXPECT_EQ(AnswerValues(u"+CPBW:37 "), QStringLiteral("37"));
    EXPECT_EQ(AnswerValues(u"+CPMS: \"SM\",3,20"), QStringLiteral("\"SM\",3,20"));
    EXPECT_EQ(AnswerValues(u"+CCLK: \"04/03/07,09:05:00\""), QStringLiteral("\"04/03/07,09:05:00\""));
    EXPECT_EQ(AnswerValues(u"+CMGW: "), QString());
}

TEST(AnswerLines, ListRecords)
{
    const std::function<bool(QStringView)> pdu = IsHexLine;
    const struct {
        const char* reply;
        const char* prefix;
        bool withPdu;
        QStringList records;
        bool readable;
    } cases[] = {
        {"\r\n+CPBR: 1,6\r\n+CPBR:2,5\r\n\r\nOK", "+CPBR", false, {"1,6", "2,5"}, true},
        {"\r\nOK", "+CPBR", false, {}, true},
        // Set aside wherever they stand: unsolicited codes, noise, echoes.
        {"\r\n+CMTI: \"SM\",5\r\n+CPBR: 1,6\r\nRING\r\n+CPBR: 3,4\r\n\r\nOK", "+CPBR", false, {"1,6", "3,4"}, true},
        {"garbage\r\n+CPBR: 1,6\r\n\x7f~\r\n+CPBR: 3,4\r\nOK", "+CPBR", false, {"1,6", "3,4"}, true},
        {"AT+CPBR=1,10\r\r\n+CPBR: 1,6\r\nOK", "+CPBR", false, {"1,6"}, true},
        // A message in text mode belongs to its +CMT line, whatever it says.
        {"\r\n+CPBR: 1,6\r\n+CMT: \"+1999\",,\"x\"\r\n+CPBR: 9,9\r\n+CPBR: 3,4\r\nOK", "+CPBR", false, {"1,6", "3,4"}, true},
        // The prefix inside a line: a record that lost its start.
        {"\r\n+CPBR: 1,6\r\nxx+CPBR: 3,4\r\nOK", "+CPBR", false, {}, false},
        {"\r\n+CPBR: 1,6,\"+CPBR: 3\"\r\nOK", "+CPBR", false, {}, false},
        // Base64 may hold the prefix's letters, never its colon.
        {"\r\n+CXDR: 1,0,0,\"040301\",\"0905\",\"AU+CXDROAAA=\"\r\nOK", "+CXDR", false,
            {"1,0,0,\"040301\",\"0905\",\"AU+CXDROAAA=\""}, true},
        // Messages keep their PDU line, whatever comes between them.
        {"\r\n+CMGL: 1,1,,23\r\n0791AB\r\n+CMGL: 2,0,\"Al\",5\r\nFF\r\n\r\nOK", "+CMGL", true,
            {"1,1,,23\r\n0791AB", "2,0,\"Al\",5\r\nFF"}, true},
        {"\r\n+CMGL: 1,1,,23\r\n+CMTI: \"SM\",5\r\n+CDS: 25\r\n0011AA\r\nnoise!\r\n0791AB\r\nOK", "+CMGL", true,
            {"1,1,,23\r\n0791AB"}, true},
        {"\r\n+CMGL: 1,1,,23\r\n+CMGL: 2,1,,23\r\n0791AB\r\nOK", "+CMGL", true, {}, false},
        {"\r\n+CMGL: 1,1,,23\r\nOK", "+CMGL", true, {}, false},
        // A command whose answer bears the name of an unsolicited code: its lines answer it.
        {"\r\n+CREG: 0,1\r\n\r\nOK", "+CREG", false, {"0,1"}, true},
        {"\r\n+CMTI: \"SM\",5\r\n+CPBR: 1,6\r\n+CMTI: \"SM\",5+CPBR: 3,4\r\nOK", "+CPBR", false, {}, false},
    };
    for (const auto& c : cases) {
        const ListAnswer answer = ListAnswerLines(QString::fromLatin1(c.reply), QString::fromLatin1(c.prefix),
            c.withPdu ? pdu : std::function<bool(QStringView)>());
        EXPECT_EQ(answer.readable, c.readable) << c.reply;
        if (c.readable) {
            EXPECT_EQ(answer.records, c.records) << c.reply;
        }
    }
}

} // namespace
