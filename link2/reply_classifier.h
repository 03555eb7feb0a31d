#pragma once

#include "common/reply_lines.h"

#include <QByteArray>

#include <optional>

namespace dh2 {

// Result codes of CATPort::SendCommand. Deskhand's transport numbers its results otherwise.
enum AtResult : int {
    AT_NO_PORT = -1,
    AT_PENDING = 0,       // (classifier only) no final result yet
    AT_OK = 1,            // OK, "+CMSS:", or something read without waiting
    AT_PROMPT = 2,        // the phone waits for text after ">"
    AT_ERROR = 3,
    AT_CME_ERROR = 4,
    AT_CMS_ERROR = 5,
    AT_CGR_ERROR = 6,     // the caller group is full
    AT_TIMEOUT = 9,       // silence for the reply timeout, or a reply without end
    AT_WRITE_FAILED = 13,
    AT_READ_FAILED = 14,
    AT_RING = 20,
    AT_CANCELLED = 21,    // the cancel flag, or the application quitting
};

struct ReplyClass {
    int result = AT_PENDING;
    // How much of the raw reply is the answer: up to the end of the line that decided it; all
    // of it for a prompt or a pending reply.
    qsizetype end = 0;
    // The answer ended in OK: an exact echo of the command in front is cut off.
    bool cutEcho = false;
};

// Classifies a reply of the second family by whole lines, so that text inside data never ends a
// command: OK, ERROR, +CME ERROR, +CMS ERROR and +CGR ERROR count as the final line (lines
// after it are not part of the answer), "+CMSS:" at a line start, RING as a whole line, and the
// prompt only as the last line (a '>' at its start; the prompt has no line end). Once the line
// has gone quiet (`quiet`), a last line without its line end counts as whole. When several are
// present they rank: OK, +CMSS:, prompt, +CME ERROR, +CMS ERROR, +CGR ERROR, RING, ERROR.
//
// A reply that lists messages in text (messageText: the text-mode listing and the re-read of
// one message) holds texts that may read like any of these. There a '>' never ends the reply,
// the line after a "+CMGL:" or "+CMGR:" header is that message's text whatever it says, and
// only the reply's last line can be its final result, judged once the line has gone quiet.
//
// Feed it the whole raw reply again after every piece; once decided, it keeps its verdict.
class CReplyClassifier {
public:
    explicit CReplyClassifier(bool messageText = false) : m_bMessageText(messageText) {}

    ReplyClass Classify(const QByteArray& reply, bool quiet = false);

private:
    // Notes what one complete line means; true when it is a final line.
    bool NoteLine(const QByteArray& raw, qsizetype end);
    // The same for a reply that lists messages.
    void NoteListingLine(const QByteArray& raw);
    ReplyClass ClassifyListing(const QByteArray& reply, bool quiet);

    common::CReplyLineScanner m_scanner;
    bool m_bMessageText;
    // Listing: the last line was a message header, so the next one is its text.
    bool m_bTextLineNext = false;
    // Listing: the last line that is neither a message's text nor blank.
    QByteArray m_lastLine;
    int m_nFinal = AT_PENDING;
    qsizetype m_nFinalEnd = 0;
    std::optional<qsizetype> m_nCmssEnd;
    bool m_bRing = false;
    bool m_bLastLinePrompt = false;
    std::optional<ReplyClass> m_verdict;
};

// True when the line (without its line end) is a final result: OK, ERROR, +CME ERROR, +CMS ERROR
// or +CGR ERROR.
bool IsFinalResultLine(const QByteArray& line);

// One-shot classification of a reply text.
ReplyClass ClassifyReply(const QByteArray& reply, bool messageText = false, bool quiet = false);

} // namespace dh2
