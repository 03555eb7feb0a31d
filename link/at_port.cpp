#include "link/at_port.h"

#include "common/closing_command.h"
#include "common/reply_lines.h"
#include "link/globals.h"
#include "link/message_pump.h"
#include "platform/ansi_codepage.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <algorithm>

namespace dh1 {

namespace {

constexpr int kDefaultIrCommValue = 20;
constexpr int kMaxIrCommPauseMs = 1000;
constexpr int kDefaultSilenceSec = 10;
constexpr int kIrCommSettleMs = 4000;
constexpr int kCableWriteDelayMs = 50;
constexpr int kAfterWriteMs = 50;
constexpr int kPassMs = 20;

// Reports the user's abort once: the flag is consumed so that the next command runs normally.
bool TakeUserAbort()
{
    if (!g_bUserAbort)
        return false;
    g_bUserAbort = false;
    g_nLastError = AT_USER_ABORT;
    return true;
}

} // namespace

CATPort::CATPort() = default;

CATPort::~CATPort()
{
    m_bIrComm = false;
    Disconnect();
}

common::SerialLineTraits CATPort::LineTraits()
{
    return {[](int nPort) {
                const QByteArray format = platform::LoadString(61503).toUtf8();
                return QString::asprintf(format.constData(), nPort);
            },
        0};
}

bool CATPort::Connect(int nDelayMs)
{
    if (m_bIrComm && m_pLine && m_pLine->IsOpen())
        return true;
    if (!m_bIrComm)
        Disconnect();
    if (!m_pLine)
        m_pLine = std::make_unique<common::CSerialLine>(LineTraits());
    // A line that failed to open stays until the next cable Connect or Disconnect.
    if (!m_pLine->Open(m_bIrComm ? m_nIrCommPort : m_nPort, m_nBaud, 'N', 8, 1, 9))
        return false;
    m_nOpenDelayMs = m_bIrComm ? kIrCommSettleMs : nDelayMs;
    platform::Sleep(m_nOpenDelayMs);
    return true;
}

void CATPort::Disconnect()
{
    if (m_bIrComm || !m_pLine)
        return;
    m_pLine->Close();
    m_pLine.reset();
}

int CATPort::IrCommPieceSize()
{
    // Zero or a negative size would stall the writer.
    return g_nIrCommChunk > 0 ? g_nIrCommChunk : kDefaultIrCommValue;
}

int CATPort::IrCommPauseMs()
{
    // A negative pause would sleep for weeks.
    if (g_nIrCommPause < 0)
        return kDefaultIrCommValue;
    return std::min(g_nIrCommPause, kMaxIrCommPauseMs);
}

int CATPort::SilenceLimitSec() const
{
    int limit = m_nTimeoutSec;
    if (m_bIrComm)
        limit = g_nIrCommTimeout > 0 ? g_nIrCommTimeout : m_nIrCommTimeoutSec;
    // A limit of zero would time out every command at its first quiet poll.
    return limit > 0 ? limit : kDefaultSilenceSec;
}

int CATPort::BeforeWrite()
{
    m_nAttempts = 1;
    --m_nAttempts;
    PumpMessages();
    return TakeUserAbort() ? AT_USER_ABORT : 0;
}

int CATPort::Write(common::CSerialLine& line, const QByteArray& command)
{
    if (!m_bIrComm) {
        platform::Sleep(kCableWriteDelayMs);
        if (!m_pLine)
            return AT_NO_LINE;
        return line.Write(command.constData(), int(command.size())) ? 0 : AT_WRITE_FAILED;
    }

    qsizetype piece = IrCommPieceSize();
    const int pause = IrCommPauseMs();
    // One byte over the piece size goes in one piece rather than a piece and a lone byte.
    if (command.size() == piece + 1)
        ++piece;
    for (qsizetype offset = 0; offset < command.size(); offset += piece) {
        if (!m_pLine)
            return AT_NO_LINE;
        const qsizetype size = std::min(piece, command.size() - offset);
        if (!line.Write(command.constData() + offset, int(size)))
            return AT_WRITE_FAILED;
        if (offset + piece < command.size())
            platform::Sleep(pause);
    }
    return 0;
}

int CATPort::CheckAbort()
{
    PumpMessages();
    return TakeUserAbort() ? AT_USER_ABORT : 0;
}

common::CollectTiming CATPort::Timing() const
{
    common::CollectTiming timing;
    timing.afterWriteMs = kAfterWriteMs;
    timing.passMs = kPassMs;
    timing.silenceFromCommandStart = false; // stopped until the first quiet pass
    timing.silenceLimitSec = SilenceLimitSec();
    timing.commandLimitFactor = kCommandLimitFactor;
    timing.maxReplyBytes = kMaxReplyBytes;
    timing.abortWithoutWait = false;
    timing.afterReopenMs = m_nOpenDelayMs;
    return timing;
}

common::ReplyState CATPort::Judge(const QByteArray& reply, bool quiet)
{
    m_verdict = m_classifier->Classify(reply, quiet);
    if (m_verdict.kind != ReplyKind::Pending)
        return common::ReplyState::Answered;
    return m_verdict.ring ? common::ReplyState::PendingAfterRing : common::ReplyState::Pending;
}

int CATPort::Report(const ReplyClass& verdict)
{
    const int result = ResultCode(verdict);
    if (const int lastError = LastErrorCode(verdict))
        g_nLastError = lastError;
    if (verdict.kind == ReplyKind::ExtError && verdict.code && *verdict.code != 14)
        platform::AfxMessageBox(QString::asprintf("Failed to write - CODE : EXT-%d ", *verdict.code));
    if (verdict.kind == ReplyKind::Ring || verdict.ring)
        platform::AfxMessageBox(platform::LoadString(61460));
    return result;
}

int CATPort::SendClosingCommand(const QByteArray& command)
{
    if (!m_pLine)
        return AT_NO_LINE;
    const common::CollectOutcome outcome = common::SendClosingCommand(m_pLine, command, *this);
    switch (outcome.end) {
    case common::CollectOutcome::Sent: return AT_OK;
    case common::CollectOutcome::Refused: return outcome.code;
    case common::CollectOutcome::ReadFailed: return AT_READ_FAILED;
    default: return AT_NO_LINE;
    }
}

int CATPort::SendCommand(const QByteArray& command, QString& reply, bool bWait)
{
    m_bUnanswered = false;
    if (!m_pLine)
        return AT_NO_LINE;
    m_classifier.emplace();
    m_verdict = {};
    const common::CollectOutcome outcome = common::SendAndCollect(m_pLine, command, bWait, *this);
    const auto partialReply = [&] {
        return common::DecodeReply(ReplyText(outcome.reply, ReplyClass {}, command));
    };
    // An abort before anything went out leaves the caller's reply alone.
    const bool refusedBeforeWrite = outcome.end == common::CollectOutcome::Refused && outcome.code == AT_USER_ABORT
        && !outcome.written;
    if (!refusedBeforeWrite) {
        reply.clear();
        m_bRang = false;
    }
    m_bUnanswered = outcome.Unanswered(bWait);

    switch (outcome.end) {
    case common::CollectOutcome::Answered:
        reply = common::DecodeReply(ReplyText(outcome.reply, m_verdict, command));
        m_bRang = m_verdict.kind == ReplyKind::Ok && m_verdict.ring;
        return Report(m_verdict);
    case common::CollectOutcome::Sent:
        return AT_OK;
    case common::CollectOutcome::NoLine:
        return AT_NO_LINE;
    case common::CollectOutcome::Refused:
        if (outcome.written)
            reply = partialReply();
        return outcome.code;
    case common::CollectOutcome::ReadFailed:
        if (bWait)
            reply = partialReply();
        return AT_READ_FAILED;
    case common::CollectOutcome::Timeout:
        reply = partialReply();
        g_nLastError = AT_TIMEOUT;
        return AT_TIMEOUT;
    case common::CollectOutcome::Overflow:
        reply = partialReply();
        platform::AfxMessageBox(QStringLiteral("Error : overflow stack"));
        return AT_NO_LINE;
    case common::CollectOutcome::RingUnanswered:
        reply = partialReply();
        return Report({ReplyKind::Ring, std::nullopt, outcome.reply.size(), true});
    }
    return AT_NO_LINE;
}

} // namespace dh1
