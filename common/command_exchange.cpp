#include "common/command_exchange.h"

#include "common/serial_line.h"
#include "platform/clock.h"

#include <algorithm>
#include <vector>

namespace common {

CollectOutcome SendAndCollect(std::unique_ptr<CSerialLine>& line, const QByteArray& command, bool wait,
    ICollectPolicy& policy)
{
    CollectOutcome outcome;
    if (!line)
        return outcome;
    const CollectTiming timing = policy.Timing();
    const qint64 commandStart = platform::NowMs();
    const auto refuse = [&outcome](int code) {
        outcome.end = CollectOutcome::Refused;
        outcome.code = code;
        return outcome;
    };
    if (const int code = policy.BeforeWrite())
        return refuse(code);
    if (!line)
        return outcome;
    int failed = policy.Write(*line, command);
    if (failed && line && line->IsLost() && line->Reopen()) {
        platform::Sleep(timing.afterReopenMs);
        failed = policy.Write(*line, command);
    }
    if (failed)
        return refuse(failed);
    outcome.written = true;
    platform::Sleep(timing.afterWriteMs);

    std::vector<char> buffer(kReceiveBufferSize);
    if (!wait) {
        platform::Sleep(timing.passMs);
        if (timing.abortWithoutWait) {
            if (const int code = policy.CheckAbort())
                return refuse(code);
        }
        if (!line)
            return outcome;
        int count = 0;
        outcome.end = line->Read(buffer.data(), int(buffer.size()), &count) ? CollectOutcome::Sent
                                                                            : CollectOutcome::ReadFailed;
        return outcome;
    }

    const qint64 waitStart = platform::NowMs();
    const qint64 limitMs = qint64(timing.silenceLimitSec) * 1000;
    const qint64 commandLimitMs = limitMs * timing.commandLimitFactor;
    // The silence timer: stopped until the first quiet poll, unless it runs from the start.
    bool silenceRunning = timing.silenceFromCommandStart;
    qint64 silenceStart = commandStart;
    const qint64 quietAfterRingMs = std::min(qint64(timing.quietAfterRingMs), limitMs);
    bool afterRing = false; // a call came in and no final result yet
    qint64 lastPieceAt = waitStart;
    bool lastReadFull = false;
    QByteArray& reply = outcome.reply;
    const auto end = [&outcome](CollectOutcome::End how) {
        outcome.end = how;
        return outcome;
    };

    for (;;) {
        platform::Sleep(timing.passMs);
        if (!line)
            return end(CollectOutcome::NoLine);
        int count = 0;
        if (!line->Read(buffer.data(), int(buffer.size()), &count))
            return end(CollectOutcome::ReadFailed);
        if (const int code = policy.CheckAbort())
            return refuse(code);

        if (count > 0) {
            if (reply.size() + count > timing.maxReplyBytes)
                return end(CollectOutcome::Overflow);
            reply.append(buffer.data(), count);
        }
        // A read that stopped short of its byte limit found the line quiet: a final result
        // then counts without its line end.
        const bool quiet = count < CSerialLine::kReadStopBytes;
        if (count > 0 || (quiet && lastReadFull)) {
            const ReplyState state = policy.Judge(reply, quiet);
            if (state == ReplyState::Answered)
                return end(CollectOutcome::Answered);
            afterRing = afterRing || state == ReplyState::PendingAfterRing;
        }
        lastReadFull = !quiet;
        const qint64 now = platform::NowMs();
        if (count > 0)
            lastPieceAt = now;
        // After a call came in the phone may still carry the command out, and its answer counts;
        // but a line that stays quiet for the pause after the call ends the command with the
        // call, so that the user learns of it at once rather than after the silence limit.
        if (afterRing && now - lastPieceAt >= quietAfterRingMs)
            return end(CollectOutcome::RingUnanswered);
        if (count == 0) {
            if (!silenceRunning) {
                silenceRunning = true;
                silenceStart = now;
            }
            // Whole seconds, as the limit is: a limit of 5 s ends once 5.0 s have passed.
            if (timing.silenceLimitSec <= double(now - silenceStart) / 1000.0)
                return end(CollectOutcome::Timeout);
        } else {
            silenceRunning = timing.silenceFromCommandStart;
            silenceStart = now;
        }
        // A phone that keeps talking without a final result is cut off all the same.
        if (now - waitStart >= commandLimitMs)
            return end(CollectOutcome::Timeout);
    }
}

} // namespace common
