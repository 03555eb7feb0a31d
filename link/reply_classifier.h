#pragma once

#include "common/reply_lines.h"

#include <QByteArray>

#include <optional>

namespace dh1 {

// Result codes of CATPort::SendCommand.
enum AtResult : int {
    AT_NO_LINE = -1,           // no line open, or the reply could not be stored
    AT_PENDING = 0,            // (classifier only) no final result yet
    AT_OK = 1,
    AT_PROMPT = 2,             // the phone waits for text after ">"
    AT_ERROR = 3,
    AT_CME_ERROR = 4,          // +CME ERROR with any other code, or none
    AT_CME_INVALID_INDEX = 5,  // +CME ERROR: 21
    AT_CME_NOT_FOUND = 6,      // +CME ERROR: 23
    AT_CME_MEMORY_FULL = 7,    // +CME ERROR: 20
    AT_CME_TOO_LONG = 8,       // +CME ERROR: 26
    AT_CMS_ERROR = 9,
    AT_EXT_ERROR = 10,
    AT_TIMEOUT = 14,
    AT_WRITE_FAILED = 18,
    AT_READ_FAILED = 19,
    AT_USER_ABORT = 25,
    AT_RING = 26,
};

// The last-error code that "+EXT ERROR: 14" (fixed dialling numbers are on) records.
inline constexpr int kLastErrorFdn = 11;

enum class ReplyKind { Pending, Ok, Prompt, Error, CmeError, CmsError, ExtError, Ring };

struct ReplyClass {
    ReplyKind kind = ReplyKind::Pending;
    // The number of a +CME/+CMS/+EXT ERROR line; none when the line has no ':'.
    std::optional<int> code;
    // How much of the raw reply belongs to this answer: up to the end of the final result
    // line; all of it for a prompt, RING or a pending reply.
    qsizetype end = 0;
    // A RING line came before the final result: a call is coming in.
    bool ring = false;
};

// Classifies a phone's reply by whole lines, so that text inside data never ends a command:
// a final result (OK, ERROR, +CME ERROR[: n], +CMS ERROR[: n], +EXT ERROR[: n]) is a whole
// line ended by CR or LF, and the prompt is a '>' at the start of a line, which needs no line
// end. Once the line has gone quiet (`quiet`: the phone sent nothing more for a poll), the last
// line counts as whole without its line end. Lines after the first final result are not part
// of the answer; the prompt outranks a final result other than OK.
//
// A RING line does not end the answer: the command may still be carried out, so the reply
// stays pending with `ring` set until its final result comes (the transport decides how long
// to wait for it). The verdict then carries `ring` too.
//
// Feed it the whole raw reply again after every piece; it looks only at what is new, so a
// long reply costs linear time. Once decided, it keeps its verdict.
class CReplyClassifier {
public:
    ReplyClass Classify(const QByteArray& reply, bool quiet = false);

private:
    common::CReplyLineScanner m_scanner;
    bool m_bRing = false;      // a complete RING line came
    std::optional<ReplyClass> m_verdict;
};

// One-shot classification of a reply text.
ReplyClass ClassifyReply(const QByteArray& reply, bool quiet = false);

// The transport's result code for a verdict (AT_PENDING while undecided).
int ResultCode(const ReplyClass& verdict);

// The g_nLastError value a verdict records, or 0 when it records none.
int LastErrorCode(const ReplyClass& verdict);

// The reply handed to the caller: the answer part of the raw reply with the command's exact
// echo (same case, its "\r" included) removed from the front on success, without RING lines
// once a final result came after them, and the line ends and blanks trimmed from the right.
QByteArray ReplyText(const QByteArray& reply, const ReplyClass& verdict, const QByteArray& command);

} // namespace dh1
