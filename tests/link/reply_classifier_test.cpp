#include "link/reply_classifier.h"

#include <gtest/gtest.h>

using namespace dh1;

namespace {

// Replies as phones send them, with the result code the transport makes of them, the error
// code read and the last error recorded. `quiet`: the line went quiet after the last byte.
TEST(ReplyClassifier, ClassificationTable)
{
    constexpr bool Q = true;
    const struct {
        const char* reply;
        int result;
        int code; // -1: no code
        int lastError;
        bool ring = false;
        bool quiet = false;
    } cases[] = {
        {"\r\nOK\r\n", AT_OK, -1, 0},
        {"OK\r", AT_OK, -1, 0},
        {"\r\nok\r\n", AT_OK, -1, 0},
        {"\r\n  OK  \r\n", AT_OK, -1, 0},
        // A result needs its line end until the line goes quiet.
        {"\r\nOK", AT_PENDING, -1, 0},
        {"\r\nOK", AT_OK, -1, 0, false, Q},
        {"\r\n+CPBS: \"ME\",3,255\r\n\r\nOK ", AT_OK, -1, 0, false, Q},
        {"\r\n+CME ERROR: 21", AT_CME_INVALID_INDEX, 21, 5, false, Q},
        {"\r\n+CPBR: 1,0,\"BOOK", AT_PENDING, -1, 0, false, Q},
        {"\r\n+CPBR: 1,0,\"BOOK\"\r\n\r\nOK\r\n", AT_OK, -1, 0},
        {"\r\n+CPBR: 1,0,\"BOOK", AT_PENDING, -1, 0},
        {"\r\n+CPBR: 1,0,\"Bring\"\r\n", AT_PENDING, -1, 0},
        {"\r\n> ", AT_PROMPT, -1, 0},
        {">", AT_PROMPT, -1, 0},
        {"AT+CMGS=1\r\r\n> ", AT_PROMPT, -1, 0},
        {"\r\n+CMGL: 1,\"a>b\"\r\n", AT_PENDING, -1, 0},
        {"\r\nERROR\r\n", AT_ERROR, -1, 0},
        {"\r\nERROR  \r\n", AT_ERROR, -1, 0},
        {"\r\nNO ERROR\r\n", AT_PENDING, -1, 0},
        {"\r\n+CME ERROR: 21\r\n", AT_CME_INVALID_INDEX, 21, 5},
        {"\r\n+CME ERROR:21\r\n", AT_CME_INVALID_INDEX, 21, 5},
        {"\r\n+CME ERROR: 20\r\n", AT_CME_MEMORY_FULL, 20, 7},
        {"\r\n+CME ERROR: 23\r\n", AT_CME_NOT_FOUND, 23, 6},
        {"\r\n+CME ERROR: 26\r\n", AT_CME_TOO_LONG, 26, 8},
        {"\r\n+CME ERROR: 22\r\n", AT_CME_ERROR, 22, 0},
        {"\r\n+CME ERROR: 21: extra\r\n", AT_CME_INVALID_INDEX, 21, 5},
        {"\r\n+CME ERROR:\r\n", AT_CME_ERROR, 0, 0},
        {"\r\n+CME ERROR: memory full\r\n", AT_CME_ERROR, 0, 0},
        {"\r\n+CME ERROR\r\n", AT_CME_ERROR, -1, 0},
        {"\r\n+cme error: 21\r\n", AT_CME_INVALID_INDEX, 21, 5},
        {"\r\n+CMS ERROR: 500\r\n", AT_CMS_ERROR, 500, 0},
        {"\r\n+CMS ERROR\r\n", AT_CMS_ERROR, -1, 0},
        {"\r\n+EXT ERROR: 14\r\n", AT_EXT_ERROR, 14, kLastErrorFdn},
        {"\r\n+EXT ERROR: 3\r\n", AT_EXT_ERROR, 3, 0},
        {"\r\n+EXT ERROR\r\n", AT_EXT_ERROR, -1, 0},
        // A RING leaves the answer open: the command may still be carried out.
        {"\r\nRING\r\n", AT_PENDING, -1, 0, true},
        {"\r\nRING", AT_PENDING, -1, 0},
        {"\r\nRING", AT_PENDING, -1, 0, true, Q},
        {"\r\n+CPBR: 1,0,\"RING\"\r\n", AT_PENDING, -1, 0},
        {"\r\nRING\r\n\r\n+CPBW: 5\r\n\r\nOK\r\n", AT_OK, -1, 0, true},
        {"\r\nRING\r\n\r\n+CME ERROR: 21\r\n", AT_CME_INVALID_INDEX, 21, 5, true},
        // The code comes from the error line, not from the first ':' of the reply.
        {"\r\n+CPBR: 1,0,\"123\"\r\n+CME ERROR: 21\r\n", AT_CME_INVALID_INDEX, 21, 5},
        // The prompt outranks an error.
        {"\r\n> \r\nERROR\r\n", AT_PROMPT, -1, 0},
        // Only the first result ends the answer; what follows is someone else's.
        {"\r\nERROR\r\n\r\nOK\r\n", AT_ERROR, -1, 0},
        {"\r\nOK\r\nRING\r\n", AT_OK, -1, 0},
        {"", AT_PENDING, -1, 0},
        {"\r\n\r\n", AT_PENDING, -1, 0, false, Q},
    };
    for (const auto& c : cases) {
        const ReplyClass verdict = ClassifyReply(c.reply, c.quiet);
        EXPECT_EQ(ResultCode(verdict), c.result) << c.reply;
        EXPECT_EQ(verdict.code.value_or(-1), c.code) << c.reply;
        EXPECT_EQ(LastErrorCode(verdict), c.lastError) << c.reply;
        EXPECT_EQ(verdict.ring, c.ring) << c.reply;
    }
    // The transport's own verdict when no final result followed a RING.
    EXPECT_EQ(ResultCode({ReplyKind::Ring}), AT_RING);
    EXPECT_EQ(LastErrorCode({ReplyKind::Ring}), AT_RING);
}

TEST(ReplyClassifier, ReplyTextRemovesOnlyTheExactEchoOnSuccess)
{
    const struct {
        const char* reply;
        const char* command;
        const char* text;
    } cases[] = {
        {"AT+CMEE=1\r\r\nOK\r\n", "AT+CMEE=1\r", "\r\nOK"},
        {"AT+CMEE=1\r\r\nOK\r\n", "at+cmee=1\r", "AT+CMEE=1\r\r\nOK"},
        {"AT+CPBR=1\r\r\n+CME ERROR: 21\r\n", "AT+CPBR=1\r", "AT+CPBR=1\r\r\n+CME ERROR: 21"},
        {"\r\n+CPBR: 1\r\n+CPBR: 2\r\n\r\nOK\r\n\r\nRING\r\n", "AT+CPBR=1,2\r", "\r\n+CPBR: 1\r\n+CPBR: 2\r\n\r\nOK"},
        // The RING before the answer is no part of it.
        {"AT+CPBW=,6\r\r\nRING\r\n\r\n+CPBW: 5\r\n\r\nOK\r\n", "AT+CPBW=,6\r", "\r\n\r\n+CPBW: 5\r\n\r\nOK"},
        {"\r\n> ", "AT+CMGS=3\r", "\r\n>"},
    };
    for (const auto& c : cases) {
        const QByteArray reply(c.reply);
        EXPECT_EQ(ReplyText(reply, ClassifyReply(reply), c.command), QByteArray(c.text)) << c.reply;
    }
}

// Fed piece by piece, the classifier decides exactly when the text so far decides, whatever
// the cuts: at a line end, inside "OK", between CR and LF, after "RING" inside data.
TEST(ReplyClassifier, PiecewiseAgreesWithWholeText)
{
    const QByteArray replies[] = {
        "\r\n+CPBR: 1,0,\"BOOK\"\r\n+CPBR: 2,0,\"Bring\"\r\n\r\nOK\r\n",
        "\r\n+CPBR: 1,0,\"123\"\r\n+CME ERROR: 21\r\n",
        "AT\r\r\n> ",
        "\r\n+CMGL: 1,0,\"x\",23\r\n0011000B\r\n\r\nRING\r\n\r\nOK\r\n",
    };
    for (const QByteArray& reply : replies) {
        for (qsizetype step = 1; step <= 7; ++step) {
            CReplyClassifier classifier;
            ReplyClass decided;
            qsizetype decidedAt = -1;
            for (qsizetype size = step; decidedAt < 0; size = std::min(size + step, reply.size())) {
                const ReplyClass verdict = classifier.Classify(reply.left(size));
                EXPECT_EQ(verdict.kind, ClassifyReply(reply.left(size)).kind) << reply.left(size).constData();
                if (verdict.kind != ReplyKind::Pending) {
                    decided = verdict;
                    decidedAt = size;
                }
                if (size == reply.size())
                    break;
            }
            EXPECT_NE(decided.kind, ReplyKind::Pending) << reply.constData() << " step " << step;
        }
    }
}

TEST(ReplyClassifier, LongReplyWithoutLineEndsStaysPending)
{
    CReplyClassifier classifier;
    QByteArray reply;
    for (int i = 0; i < 2000; ++i) {
        reply += QByteArray(513, 'K');
        ASSERT_EQ(classifier.Classify(reply).kind, ReplyKind::Pending);
    }
    reply += "\r\nOK\r\n";
    EXPECT_EQ(classifier.Classify(reply).kind, ReplyKind::Ok);
}

} // namespace
