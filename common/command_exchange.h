#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

namespace common {

class CSerialLine;

// The most one poll of the line gathers.
inline constexpr int kReceiveBufferSize = 17600;

// What a reply is so far, as the family's own classification judges it.
enum class ReplyState {
    Pending,          // no final result yet
    PendingAfterRing, // a call came in; the final result may still follow after a short pause
    Answered,         // the reply is complete
};

// The pauses and limits of one family's send-and-collect loop.
struct CollectTiming {
    int afterWriteMs = 50; // after the command went out
    int passMs = 20;       // before every poll of the line
    // The silence limit runs from the command's start (and again from every piece that came),
    // or only from the first poll that found the line quiet.
    bool silenceFromCommandStart = false;
    int silenceLimitSec = 10;
    // After a call came in, this much quiet without a final result ends the command with the
    // call (the phone answers a command it still carries out well within it).
    int quietAfterRingMs = 1000;
    // One command never takes longer than this many times its silence limit.
    int commandLimitFactor = 10;
    // A reply that grows beyond this is given up.
    qsizetype maxReplyBytes = 1024 * 1024;
    // Whether a command sent without waiting still honours an abort before it polls the line.
    bool abortWithoutWait = false;
    // The quiet after the port was opened again, before the command goes out anew.
    int afterReopenMs = 0;
};

// What sets one family's transport apart in the loop: its abort checks, how it writes a
// command, its timing and its classification of replies.
class ICollectPolicy {
public:
    virtual ~ICollectPolicy() = default;

    // Before the command goes out: 0 to go on, else the result that ends the command.
    virtual int BeforeWrite() = 0;
    // Writes the command (whole, or in pieces with pauses): 0, or the result of a failed write.
    virtual int Write(CSerialLine& line, const QByteArray& command) = 0;
    // At every poll: 0 to go on, else the result that ends the command (an abort).
    virtual int CheckAbort() = 0;
    virtual CollectTiming Timing() const = 0;
    // Judges the raw reply so far; `quiet` when the line had nothing more for a poll, so that a
    // last line without its line end may count.
    virtual ReplyState Judge(const QByteArray& reply, bool quiet) = 0;
};

// How one command ended.
struct CollectOutcome {
    enum End {
        Answered,       // the policy judged the reply complete
        Sent,           // sent without waiting; the line was polled once
        NoLine,         // there was no line, or it went away
        Refused,        // BeforeWrite, Write or CheckAbort ended it with `code`
        ReadFailed,
        Timeout,        // silence for the limit, or the whole command took too long
        Overflow,       // the reply grew beyond its limit
        RingUnanswered, // a call came in and the line then went quiet without a final result
    };
    End end = NoLine;
    int code = 0;
    bool written = false; // the command went out
    QByteArray reply; // every byte that came
};

// Sends one command and collects its reply: the write, a pause, then polls of the line until
// the policy judges the reply complete, a limit runs out, the line fails or the policy aborts.
// A write that fails because the device went away under the open port (plugged in again, or
// replaced at its path) opens the port again, once, and writes the command anew.
// Every pause runs on platform::Clock. `line` is looked at before every poll, since an abort
// handler may have closed it.
CollectOutcome SendAndCollect(std::unique_ptr<CSerialLine>& line, const QByteArray& command, bool wait,
    ICollectPolicy& policy);

} // namespace common
