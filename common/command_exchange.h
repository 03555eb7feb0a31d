#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>
#include <vector>

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

    // The command went out, was waited for, and its answer never came whole: the phone may
    // have carried it out.
    bool Unanswered(bool wait) const { return wait && written && end != Answered; }
};

// Sends one command and collects its reply: the write, a pause, then polls of the line until
// the policy judges the reply complete, a limit runs out, the line fails or the policy aborts.
// A write that fails because the device went away under the open port (plugged in again, or
// replaced at its path) opens the port again, once, and writes the command anew.
// Every pause runs on platform::Clock. `line` is looked at before every poll, since an abort
// handler may have closed it.
CollectOutcome SendAndCollect(std::unique_ptr<CSerialLine>& line, const QByteArray& command, bool wait,
    ICollectPolicy& policy);

// The steps of SendAndCollect. Each step that may end the command answers false when it did;
// the exchange's outcome then says how.
class CommandExchange {
public:
    CommandExchange(std::unique_ptr<CSerialLine>& line, const QByteArray& command, ICollectPolicy& policy);

    // Send, then PollOnce without waiting or Collect with it.
    CollectOutcome Run(bool wait);

    // The command starts: the policy's check before the write, the write (once more after the
    // reopen of a lost line), then the pause after the write.
    bool Send();
    // A write failed: when the device went away under the open port, opens it again and lets
    // its quiet pass. True when the command may be written anew.
    bool ReopenLostLine();
    // After a command sent without waiting: one pause, the abort check when the policy honours
    // one there, one poll of the line whose bytes are dropped. Always ends the command.
    void PollOnce();
    // Read passes, each judged and held against the limits, until one ends the command.
    void Collect();
    // One read pass while waiting: the pause, a poll of the line, the abort check, and what came
    // appended to the reply; `count` is what came.
    bool ReadPass(int& count);

    const CollectOutcome& Outcome() const { return m_outcome; }

private:
    bool End(CollectOutcome::End how);
    bool Refuse(int code);

    std::unique_ptr<CSerialLine>& m_line;
    const QByteArray m_command;
    ICollectPolicy& m_policy;
    const CollectTiming m_timing;
    qint64 m_commandStart = 0;
    std::vector<char> m_buffer;
    CollectOutcome m_outcome;
};

// Asks the policy about the reply after a read pass: whenever bytes came, and once more when a
// pass after a full read found the line quiet, so that a final result without its line end
// counts. A read that stopped short of CSerialLine::kReadStopBytes found the line quiet.
class ReplyJudge {
public:
    ReplyState AfterPass(ICollectPolicy& policy, const QByteArray& reply, int count);

private:
    bool m_lastReadFull = false;
};

// The silence limit and the limit of the whole command, held against every read pass.
class TimeLimits {
public:
    TimeLimits(const CollectTiming& timing, qint64 commandStart, qint64 waitStart);
    // After a pass at `now` that brought bytes or not: true when the line was silent for the
    // limit (whole seconds: a limit of 5 s ends once 5.0 s have passed), or the wait took the
    // command's limit.
    bool Over(qint64 now, bool piece);

private:
    const int m_silenceLimitSec;
    const bool m_fromCommandStart;
    const qint64 m_waitStart;
    const qint64 m_commandLimitMs;
    bool m_silenceRunning;
    qint64 m_silenceStart;
};

// After a call came in the phone may still carry the command out, and its answer counts; but a
// line that then stays quiet for the pause after the call (never longer than the silence limit)
// ends the command with the call, so that the user learns of it at once.
class RingQuiet {
public:
    RingQuiet(const CollectTiming& timing, qint64 waitStart);
    // After a pass at `now`, judged `state`, that brought bytes or not: true when the quiet after
    // the call is over.
    bool Over(ReplyState state, qint64 now, bool piece);

private:
    const qint64 m_quietMs;
    bool m_afterRing = false;
    qint64 m_lastPieceAt;
};

} // namespace common
