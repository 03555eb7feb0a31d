#include "link2/at_port.h"

#include "common/closing_command.h"
#include "common/serial_line.h"
#include "link2/message_pump.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <vector>

namespace dh2 {

namespace {

constexpr int kBeforeWriteMs = 100;
constexpr int kClosePauseMs = 500;
constexpr int kCallingStringId = 62532;

const common::SerialLineTraits kLineTraits {
    [](int port) { return QStringLiteral("Cannot open COM %1 port").arg(port); },
    kClosePauseMs,
};

} // namespace

CATPort::CATPort() = default;

CATPort::~CATPort()
{
    Disconnect();
}

bool CATPort::Connect()
{
    if (m_pLine && m_pLine->IsOpen())
        return true;
    m_pLine.reset();
    m_pLine = std::make_unique<common::CSerialLine>(kLineTraits);
    if (!m_pLine->Open(m_nPort, m_nBaud, 'N', 8, 1, 9)) {
        m_pLine->Close();
        m_pLine.reset();
        return false;
    }
    return true;
}

void CATPort::Disconnect()
{
    m_bFinalOutstanding = false;
    if (!m_pLine)
        return;
    m_pLine->Close();
    m_pLine.reset();
}

bool CATPort::LineLost() const
{
    return m_pLine && m_pLine->IsLost();
}

bool CATPort::ReopenLine()
{
    if (m_pLine && m_pLine->Reopen())
        return true;
    Disconnect();
    return false;
}

bool CATPort::IsOpen() const
{
    return m_pLine && m_pLine->IsOpen();
}

int CATPort::BeforeWrite()
{
    if (!PumpMessages())
        return AT_CANCELLED;
    platform::Sleep(kBeforeWriteMs);
    return PumpMessages() ? 0 : AT_CANCELLED;
}

int CATPort::Write(common::CSerialLine& line, const QByteArray& command)
{
    return line.Write(command.constData(), int(command.size())) ? 0 : AT_WRITE_FAILED;
}

int CATPort::CheckAbort()
{
    return PumpMessages() ? 0 : AT_CANCELLED;
}

common::CollectTiming CATPort::Timing() const
{
    common::CollectTiming timing;
    timing.afterWriteMs = 50;
    timing.passMs = kPassMs;
    timing.silenceFromCommandStart = true;
    // Whole seconds; a limit below one second would end every command at its first quiet poll.
    timing.silenceLimitSec = m_nTimeoutMs >= 1000 ? m_nTimeoutMs / 1000 : kDefaultTimeoutMs / 1000;
    timing.abortWithoutWait = true;
    return timing;
}

common::ReplyState CATPort::Judge(const QByteArray& reply, bool quiet)
{
    m_verdict = m_classifier->Classify(reply, quiet);
    return m_verdict.result == AT_PENDING ? common::ReplyState::Pending : common::ReplyState::Answered;
}

int CATPort::SendCommand(const QByteArray& command, QString& reply, bool bWait)
{
    reply.clear();
    m_bAnswerMissing = false;
    if (!m_pLine)
        return AT_NO_PORT;
    if (m_bFinalOutstanding)
        DrainLateAnswer();
    m_classifier.emplace(m_bPromptIsNotSuccess);
    m_verdict = {};
    const common::CollectOutcome outcome = common::SendAndCollect(m_pLine, command, bWait, *this);
    m_bAnswerMissing = outcome.Unanswered(bWait);
    const auto partial = [&] { reply = common::DecodeReply(common::AnswerText(outcome.reply, outcome.reply.size(), false, {})); };

    switch (outcome.end) {
    case common::CollectOutcome::Answered:
        break;
    case common::CollectOutcome::Sent:
        return AT_OK;
    case common::CollectOutcome::NoLine:
        return AT_NO_PORT;
    case common::CollectOutcome::Refused:
        partial();
        if (outcome.code == AT_WRITE_FAILED)
            Disconnect();
        return outcome.code;
    case common::CollectOutcome::ReadFailed:
        partial();
        if (!LineLost())
            Disconnect();
        return AT_READ_FAILED;
    case common::CollectOutcome::Timeout:
    case common::CollectOutcome::Overflow:
        partial();
        return AT_TIMEOUT;
    case common::CollectOutcome::RingUnanswered:
        partial();
        return AT_RING;
    }

    reply = common::DecodeReply(common::AnswerText(outcome.reply, m_verdict.end, m_verdict.cutEcho, command));
    if (m_verdict.result == AT_CGR_ERROR)
        platform::AfxMessageBox(QStringLiteral("Member is full"), platform::MB_OK);
    else if (m_verdict.result == AT_RING)
        platform::AfxMessageBox(platform::LoadString(kCallingStringId));
    m_bFinalOutstanding = bWait && m_verdict.result == AT_RING;
    m_bAnswerMissing = m_bFinalOutstanding;
    return m_verdict.result;
}

void CATPort::DrainLateAnswer()
{
    m_bFinalOutstanding = false;
    common::CReplyLineScanner scanner;
    QByteArray late;
    std::vector<char> buffer(common::kReceiveBufferSize);
    // The phone answers a command it carries out well within its silence limit.
    const qint64 limitMs = qint64(Timing().silenceLimitSec) * 1000;
    const qint64 start = platform::NowMs();
    while (m_pLine && platform::NowMs() - start < limitMs) {
        platform::Sleep(kPassMs);
        int count = 0;
        if (!PumpMessages() || !m_pLine->Read(buffer.data(), int(buffer.size()), &count))
            return;
        late.append(buffer.data(), count);
        bool final = false;
        scanner.Scan(late, [&final](const QByteArray& line, qsizetype) { return final = IsFinalResultLine(line); });
        if (final)
            return;
    }
}

int CATPort::SendClosingCommand(const QByteArray& command)
{
    // The operation is over: what the phone still says is purged by the next write.
    m_bFinalOutstanding = false;
    if (!m_pLine)
        return AT_NO_PORT;
    platform::Sleep(kBeforeWriteMs);
    const common::CollectOutcome outcome = common::SendClosingCommand(m_pLine, command, *this);
    if (outcome.end == common::CollectOutcome::Sent)
        return AT_OK;
    // A line that failed is closed, as after any command.
    Disconnect();
    return outcome.end == common::CollectOutcome::Refused ? outcome.code : AT_READ_FAILED;
}

} // namespace dh2
