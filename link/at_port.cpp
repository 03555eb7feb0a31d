#include "link/at_port.h"

#include "link/globals.h"
#include "link/message_pump.h"
#include "link/serial_line.h"
#include "platform/ansi_codepage.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <algorithm>
#include <optional>
#include <vector>

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

// A reply as text. Phones answer in ASCII, but alpha names in message lists come as the phone
// stores them: a line that the locale's character set cannot read is read in the legacy code
// page, so that "Zo\xEB" stays a name instead of a replacement character.
QString DecodeReply(const QByteArray& bytes)
{
    static const QByteArray kReplacement = QString(QChar::ReplacementCharacter).toUtf8();
    const auto unreadable = [](const QByteArray& part, const QString& decoded) {
        return decoded.contains(QChar::ReplacementCharacter) && !part.contains(kReplacement);
    };
    const QString whole = platform::FromAnsi(bytes);
    if (!unreadable(bytes, whole))
        return whole;
    QString text;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArray line = bytes.mid(start, end - start);
        start = end;
        const QString decoded = platform::FromAnsi(line);
        text += unreadable(line, decoded) ? platform::FromLegacy(line) : decoded;
    }
    return text;
}

} // namespace

CATPort::CATPort() = default;

CATPort::~CATPort()
{
    m_bIrComm = false;
    Disconnect();
}

bool CATPort::Connect(int nDelayMs)
{
    if (m_bIrComm && m_pLine && m_pLine->IsOpen())
        return true;
    if (!m_bIrComm)
        Disconnect();
    if (!m_pLine)
        m_pLine = std::make_unique<CSerialLine>();
    // A line that failed to open stays until the next cable Connect or Disconnect.
    if (!m_pLine->Open(m_bIrComm ? m_nIrCommPort : m_nPort, m_nBaud, 'N', 8, 1, 9))
        return false;
    platform::Sleep(m_bIrComm ? kIrCommSettleMs : nDelayMs);
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

int CATPort::WriteCommand(const QByteArray& command)
{
    if (!m_bIrComm) {
        platform::Sleep(kCableWriteDelayMs);
        if (!m_pLine)
            return AT_NO_LINE;
        return m_pLine->Write(command.constData(), int(command.size())) ? 0 : AT_WRITE_FAILED;
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
        if (!m_pLine->Write(command.constData() + offset, int(size)))
            return AT_WRITE_FAILED;
        if (offset + piece < command.size())
            platform::Sleep(pause);
    }
    return 0;
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
    m_nAttempts = 1;
    --m_nAttempts;
    if (const int failed = WriteCommand(command))
        return failed;
    platform::Sleep(kAfterWriteMs);
    platform::Sleep(kPassMs);
    if (!m_pLine)
        return AT_NO_LINE;
    // What the phone answers is drained and dropped.
    std::vector<char> buffer(kReceiveBufferSize);
    int count = 0;
    return m_pLine->Read(buffer.data(), int(buffer.size()), &count) ? AT_OK : AT_READ_FAILED;
}

int CATPort::SendCommand(const QByteArray& command, QString& reply, bool bWait)
{
    if (!m_pLine)
        return AT_NO_LINE;
    PumpMessages();
    if (TakeUserAbort())
        return AT_USER_ABORT;

    reply.clear();
    m_bRang = false;
    if (!bWait)
        return SendClosingCommand(command);
    m_nAttempts = 1;
    --m_nAttempts;
    if (const int failed = WriteCommand(command))
        return failed;
    platform::Sleep(kAfterWriteMs);

    const int limitSec = SilenceLimitSec();
    const qint64 commandLimitMs = qint64(limitSec) * 1000 * kCommandLimitFactor;
    const qint64 waitStart = platform::NowMs();
    bool silenceTimerRunning = false; // stopped until the first quiet pass
    qint64 silenceStart = 0;
    std::vector<char> buffer(kReceiveBufferSize);
    QByteArray raw;
    CReplyClassifier classifier;
    bool lastReadFull = false;
    std::optional<qint64> ringStart; // when a RING came and no final result yet
    auto partialReply = [&] { return DecodeReply(ReplyText(raw, ReplyClass {}, command)); };
    auto timeout = [&] {
        reply = partialReply();
        g_nLastError = AT_TIMEOUT;
        return AT_TIMEOUT;
    };

    for (;;) {
        platform::Sleep(kPassMs);
        if (!m_pLine)
            return AT_NO_LINE;
        int count = 0;
        if (!m_pLine->Read(buffer.data(), int(buffer.size()), &count)) {
            reply = partialReply();
            return AT_READ_FAILED;
        }
        PumpMessages();
        if (TakeUserAbort()) {
            reply = partialReply();
            return AT_USER_ABORT;
        }

        if (count > 0) {
            silenceTimerRunning = false;
            if (raw.size() + count > kMaxReplyBytes) {
                reply = partialReply();
                platform::AfxMessageBox(QStringLiteral("Error : overflow stack"));
                return AT_NO_LINE;
            }
            raw.append(buffer.data(), count);
        }
        // A read that stopped short of its byte limit found the line quiet: a final result
        // then counts without its line end.
        const bool quiet = count < CSerialLine::kReadStopBytes;
        if (count > 0 || (quiet && lastReadFull)) {
            const ReplyClass verdict = classifier.Classify(raw, quiet);
            if (verdict.kind != ReplyKind::Pending) {
                reply = DecodeReply(ReplyText(raw, verdict, command));
                m_bRang = verdict.kind == ReplyKind::Ok && verdict.ring;
                return Report(verdict);
            }
            if (verdict.ring && !ringStart)
                ringStart = platform::NowMs();
        }
        lastReadFull = !quiet;
        // After a RING the phone may still carry the command out; it gets the silence limit
        // for its final result.
        if (ringStart && platform::NowMs() - *ringStart >= qint64(limitSec) * 1000) {
            reply = partialReply();
            return Report({ReplyKind::Ring, std::nullopt, raw.size(), true});
        }
        if (count == 0) {
            if (!silenceTimerRunning) {
                silenceTimerRunning = true;
                silenceStart = platform::NowMs();
            }
            const double elapsedSec = double(platform::NowMs() - silenceStart) / 1000.0;
            if (limitSec <= elapsedSec)
                return timeout();
        }
        // A phone that keeps talking without a final result is cut off all the same.
        if (platform::NowMs() - waitStart >= commandLimitMs)
            return timeout();
    }
}
