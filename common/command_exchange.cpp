#include "common/command_exchange.h"

#include "common/serial_line.h"
#include "platform/clock.h"

#include <algorithm>

namespace common {

CollectOutcome SendAndCollect(std::unique_ptr<CSerialLine>& line, const QByteArray& command, bool wait,
    ICollectPolicy& policy)
{
    if (!line)
        return CollectOutcome {};
    return CommandExchange(line, command, policy).Run(wait);
}

CommandExchange::CommandExchange(std::unique_ptr<CSerialLine>& line, const QByteArray& command,
    ICollectPolicy& policy)
    : m_line(line), m_command(command), m_policy(policy), m_timing(policy.Timing()), m_buffer(kReceiveBufferSize)
{
}

CollectOutcome CommandExchange::Run(bool wait)
{
    if (Send()) {
        if (wait)
            Collect();
        else
            PollOnce();
    }
    return m_outcome;
}

bool CommandExchange::Send()
{
    m_commandStart = platform::NowMs();
    if (!m_line)
        return End(CollectOutcome::NoLine);
    if (const int code = m_policy.BeforeWrite())
        return Refuse(code);
    if (!m_line)
        return End(CollectOutcome::NoLine);
    int failed = m_policy.Write(*m_line, m_command);
    if (failed && ReopenLostLine())
        failed = m_policy.Write(*m_line, m_command);
    if (failed)
        return Refuse(failed);
    m_outcome.written = true;
    platform::Sleep(m_timing.afterWriteMs);
    return true;
}

bool CommandExchange::ReopenLostLine()
{
    if (!m_line || !m_line->IsLost() || !m_line->Reopen())
        return false;
    platform::Sleep(m_timing.afterReopenMs);
    return true;
}

void CommandExchange::PollOnce()
{
    platform::Sleep(m_timing.passMs);
    if (m_timing.abortWithoutWait) {
        if (const int code = m_policy.CheckAbort()) {
            Refuse(code);
            return;
        }
    }
    if (!m_line) {
        End(CollectOutcome::NoLine);
        return;
    }
    int count = 0;
    End(m_line->Read(m_buffer.data(), int(m_buffer.size()), &count) ? CollectOutcome::Sent
                                                                    : CollectOutcome::ReadFailed);
}

void CommandExchange::Collect()
{
    const qint64 waitStart = platform::NowMs();
    ReplyJudge judge;
    TimeLimits limits(m_timing, m_commandStart, waitStart);
    RingQuiet ring(m_timing, waitStart);
    for (;;) {
        int count = 0;
        if (!ReadPass(count))
            return;
        const ReplyState state = judge.AfterPass(m_policy, m_outcome.reply, count);
        if (state == ReplyState::Answered) {
            End(CollectOutcome::Answered);
            return;
        }
        const qint64 now = platform::NowMs();
        if (ring.Over(state, now, count > 0)) {
            End(CollectOutcome::RingUnanswered);
            return;
        }
        if (limits.Over(now, count > 0)) {
            End(CollectOutcome::Timeout);
            return;
        }
    }
}

bool CommandExchange::ReadPass(int& count)
{
    count = 0;
    platform::Sleep(m_timing.passMs);
    if (!m_line)
        return End(CollectOutcome::NoLine);
    if (!m_line->Read(m_buffer.data(), int(m_buffer.size()), &count))
        return End(CollectOutcome::ReadFailed);
    if (const int code = m_policy.CheckAbort())
        return Refuse(code);
    if (count > 0) {
        if (m_outcome.reply.size() + count > m_timing.maxReplyBytes)
            return End(CollectOutcome::Overflow);
        m_outcome.reply.append(m_buffer.data(), count);
    }
    return true;
}

bool CommandExchange::End(CollectOutcome::End how)
{
    m_outcome.end = how;
    return false;
}

bool CommandExchange::Refuse(int code)
{
    m_outcome.code = code;
    return End(CollectOutcome::Refused);
}

ReplyState ReplyJudge::AfterPass(ICollectPolicy& policy, const QByteArray& reply, int count)
{
    const bool quiet = count < CSerialLine::kReadStopBytes;
    ReplyState state = ReplyState::Pending;
    if (count > 0 || (quiet && m_lastReadFull))
        state = policy.Judge(reply, quiet);
    m_lastReadFull = !quiet;
    return state;
}

TimeLimits::TimeLimits(const CollectTiming& timing, qint64 commandStart, qint64 waitStart)
    : m_silenceLimitSec(timing.silenceLimitSec)
    , m_fromCommandStart(timing.silenceFromCommandStart)
    , m_waitStart(waitStart)
    , m_commandLimitMs(qint64(timing.silenceLimitSec) * 1000 * timing.commandLimitFactor)
    // Stopped until the first quiet pass, unless it runs from the command's start.
    , m_silenceRunning(timing.silenceFromCommandStart)
    , m_silenceStart(commandStart)
{
}

bool TimeLimits::Over(qint64 now, bool piece)
{
    if (piece) {
        m_silenceRunning = m_fromCommandStart;
        m_silenceStart = now;
    } else {
        if (!m_silenceRunning) {
            m_silenceRunning = true;
            m_silenceStart = now;
        }
        if (m_silenceLimitSec <= double(now - m_silenceStart) / 1000.0)
            return true;
    }
    // A phone that keeps talking without a final result is cut off all the same.
    return now - m_waitStart >= m_commandLimitMs;
}

RingQuiet::RingQuiet(const CollectTiming& timing, qint64 waitStart)
    : m_quietMs(std::min(qint64(timing.quietAfterRingMs), qint64(timing.silenceLimitSec) * 1000))
    , m_lastPieceAt(waitStart)
{
}

bool RingQuiet::Over(ReplyState state, qint64 now, bool piece)
{
    m_afterRing = m_afterRing || state == ReplyState::PendingAfterRing;
    if (piece)
        m_lastPieceAt = now;
    return m_afterRing && now - m_lastPieceAt >= m_quietMs;
}

} // namespace common
