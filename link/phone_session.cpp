// Session opening and closing, progress, text fields and the helpers every operation uses.
#include "link/phone_session.h"

#include "common/answer_lines.h"
#include "common/progress_text.h"
#include "common/reply_parser.h"
#include "common/text_codec.h"
#include "link/globals.h"
#include "link/phone_session_text.h"
#include "platform/ansi_width.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <cstdio>

namespace dh1 {

namespace {

constexpr char kEsc = 27;
constexpr int kProgressTextBytes = 511;
constexpr int kDisconnectSettleMs = 200;
constexpr int kSyncStopWaitMs = 2000;
constexpr int kEchoOnWaitMs = 200;
constexpr int kClosingTextMs = 200;

} // namespace

CPhoneSessionBase::~CPhoneSessionBase() = default;

void CPhoneSessionBase::SetPort(int nPort, int nBaud, int nValue)
{
    m_port.m_nPort = nPort;
    m_port.m_nBaud = nBaud;
    m_nPortValue = nValue;
}

CPhoneSession::CPhoneSession()
{
    SetPort(1, 57600, 100);
}

CPhoneSession::~CPhoneSession() = default;

int CPhoneSession::Send(const QByteArray& command, bool bWait)
{
    m_bUnconfirmed = false;
    // A call came in during an earlier command, which the phone still carried out: the
    // operation ends here, as a RING ends it.
    if (m_bCallComing) {
        g_nLastError = AT_RING;
        m_nResult = AT_RING;
        return m_nResult;
    }
    m_nResult = m_port.SendCommand(command, m_strReply, bWait);
    m_bCallComing = m_port.TakeRing();
    if (m_nResult != AT_OK)
        NoteFailure();
    return m_nResult;
}

int CPhoneSession::SendAction(const QByteArray& command, bool bLong)
{
    const int result = bLong ? SendLong(command) : Send(command);
    m_bUnconfirmed = result != AT_OK && m_port.LastCommandUnanswered();
    return result;
}

void CPhoneSession::NoteFailure()
{
    int reason = 0;
    switch (m_nResult) {
    case AT_NO_LINE:
    case AT_WRITE_FAILED:
    case AT_READ_FAILED: reason = kLastErrorLineLost; break;
    case AT_PROMPT:
    case SESSION_BAD_REPLY:
    case SESSION_BAD_LINE: reason = kLastErrorBadReply; break;
    case AT_ERROR: reason = kLastErrorRefused; break;
    case AT_CME_ERROR:
    case AT_CMS_ERROR: reason = kLastErrorPhoneError; break;
    // Fixed dialling numbers are the one +EXT ERROR the transport names itself.
    case AT_EXT_ERROR: reason = g_nLastError == kLastErrorFdn ? kLastErrorFdn : kLastErrorPhoneError; break;
    case SESSION_NOTHING_SENT: reason = kLastErrorNothingSent; break;
    case SESSION_NO_PORT: reason = kLastErrorPortInvalid; break;
    case SESSION_NO_INDEX: reason = kLastErrorNoIndex; break;
    default: break; // the transport's own codes, recorded as it classified the answer
    }
    if (reason != 0)
        g_nLastError = reason;
}

int CPhoneSession::SendLong(const QByteArray& command)
{
    if (command.size() <= kMaxCommandPiece)
        return Send(command);
    if (Send(command.left(kMaxCommandPiece), false) != AT_OK)
        return m_nResult;
    platform::Sleep(m_nHalfPauseMs);
    return Send(command.mid(kMaxCommandPiece));
}

bool CPhoneSession::FailRead()
{
    if (m_nResult == AT_OK)
        m_nResult = SESSION_BAD_REPLY;
    NoteFailure();
    Disconnect();
    return false;
}

bool CPhoneSession::FinishRead()
{
    const bool ok = m_nResult == AT_OK;
    if (!ok)
        NoteFailure();
    Disconnect();
    return ok;
}

bool CPhoneSession::NothingSent()
{
    m_nResult = SESSION_NOTHING_SENT;
    m_bUnconfirmed = false;
    NoteFailure();
    return false;
}

bool CPhoneSession::Connect(bool bForMessages)
{
    m_bCallComing = false;
    m_bUnconfirmed = false;
    if (!m_port.Connect(m_nOpenDelayMs)) {
        m_nResult = SESSION_NO_PORT;
        NoteFailure();
        return false;
    }
    OpenProgress();
    ShowProgress(m_port.m_bIrComm ? 61462 : 61463);

    const auto fail = [this] {
        Disconnect();
        return false;
    };
    if (!Handshake())
        return fail();
    if (Send("AT+SYNCSTART\r") != AT_OK)
        return fail();
    if (Send("AT+CMEE=1\r") != AT_OK)
        return fail();
    if (!SetEcho(0))
        return fail();
    // Messages are read in the phone's own character set.
    if (!bForMessages && Send("AT+CSCS=\"Base64\"\r") != AT_OK)
        return fail();
    m_bConnected = true;
    return true;
}

bool CPhoneSession::Handshake()
{
    // The first probe is not waited for: a phone that answers late still passes.
    if (Send("AT\r", false) == AT_OK)
        return true;
    switch (Send("AT\r")) {
    case AT_OK:
        return true;
    case AT_PROMPT: {
        // Leave the text prompt; the session is not opened this time.
        QString ignored;
        m_port.SendCommand(QByteArray(1, kEsc), ignored, false);
        return false;
    }
    case AT_TIMEOUT:
        platform::AfxMessageBox(platform::LoadString(61451), platform::MB_ICONINFORMATION);
        return false;
    default:
        return false;
    }
}

bool CPhoneSession::SetEcho(int n)
{
    return Send(QByteArray("ATE") + QByteArray::number(n) + '\r', n == 0) == AT_OK;
}

bool CPhoneSession::Disconnect()
{
    platform::UiServices& ui = platform::UiServices::instance();
    ui.beginWaitCursor();
    ui.enableMainWindow(false);
    platform::Sleep(kDisconnectSettleMs);
    g_bUserAbort = false;

    // Sent in every case, also after a failed connect or while an abort ends the operation;
    // their results are of no interest.
    m_port.SendClosingCommand("AT+SYNCSTOP\r");
    platform::Sleep(kSyncStopWaitMs);
    m_port.SendClosingCommand("ATE1\r");
    platform::Sleep(kEchoOnWaitMs);
    m_port.SendClosingCommand("AT+CSCS=\"IRA\"\r");
    ShowProgress(61464);
    platform::Sleep(kClosingTextMs);
    CloseProgress();
    m_port.Disconnect();

    m_bConnected = false;
    m_bCallComing = false;
    ui.enableMainWindow(true);
    ui.endWaitCursor();
    return true;
}

bool CPhoneSession::GetReplyLine(QString& out, const QString& text, int n, const QString& prefix)
{
    return common::GetReplyLine(out, text, n, prefix);
}

bool CPhoneSession::ParseListReply(const QString& prefix, const std::function<bool(QStringView)>& secondLine,
    const std::function<bool(const QString&)>& parseLine)
{
    if (m_strReply.isEmpty()) {
        m_nResult = SESSION_BAD_REPLY;
        return false;
    }
    // Unsolicited lines and noise are set aside wherever they stand; a list with a piece that
    // cannot be read is no list to rely on.
    const common::ListAnswer answer = common::ListAnswerLines(m_strReply, prefix, secondLine);
    if (!answer.readable) {
        m_nResult = SESSION_BAD_REPLY;
        return false;
    }
    for (const QString& line : answer.records) {
        if (!parseLine(line)) {
            m_nResult = SESSION_BAD_LINE;
            return false;
        }
    }
    return true;
}

bool CPhoneSession::ParseListReply(const QString& prefix, const std::function<bool(const QString&)>& parseLine)
{
    return ParseListReply(prefix, {}, parseLine);
}

std::optional<QString> CPhoneSession::AnswerLine(const QString& prefix)
{
    return Required(common::AnswerLine(m_strReply, prefix));
}

bool CPhoneSession::SendWrite(const QByteArray& command, int& nIndex, bool bLong)
{
    if (SendAction(command, bLong) != AT_OK)
        return false;
    // Only the line that answers the write names its index: an unsolicited line before it
    // ("+CREG: 1", "+CMTI: \"SM\",5") names something else. A phone that names no index
    // overwrote the entry in place, or kept its choice to itself.
    const QByteArray name = command.mid(2, command.indexOf('=') - 2);
    if (const std::optional<QString> line = common::AnswerLine(m_strReply, QString::fromLatin1(name)))
        nIndex = common::ReplyIndexField(*line).value_or(nIndex);
    // A new entry the phone took without saying where: nothing may stand for it, or writing it
    // again would add a second copy.
    if (nIndex == -1) {
        m_nResult = SESSION_NO_INDEX;
        NoteFailure();
        return false;
    }
    return true;
}

bool CPhoneSession::SendDelete(const QByteArray& command, int nIndex, int nProgressId, int nPauseMs)
{
    ShowProgress(nProgressId);
    if (nPauseMs > 0)
        platform::Sleep(nPauseMs);
    return SendAction(phonetext::IndexCommand(command, nIndex)) == AT_OK;
}

QString CPhoneSession::EncodeBase64Text(const QString& text) const
{
    QString field;
    common::CTextCodec().EncodeBase64Text(field, text, kTextUnitLimit);
    return field;
}

QString CPhoneSession::DecodeBase64Text(const QString& field, bool* ok) const
{
    QString text;
    common::CTextCodec().DecodeBase64Text(text, field, ok);
    return text;
}

qsizetype CPhoneSession::HexToBytes(QByteArray& out, QStringView hex)
{
    return common::HexToBytes(out, hex);
}

void CPhoneSession::OpenProgress()
{
    m_pProgress.reset();
    m_pProgress = CreateProgressView();
}

void CPhoneSession::CloseProgress()
{
    platform::UiServices::instance().enableMainWindow(true);
    g_bUserAbort = false;
    if (m_pProgress) {
        m_pProgress->Finish();
        m_pProgress.reset();
    }
}

void CPhoneSession::ShowProgress(int nStringId)
{
    ShowProgressText(platform::LoadString(nStringId), {});
}

QString CPhoneSession::FormatProgress(const QString& format, std::initializer_list<int> values)
{
    // No value for a placeholder (the schedule read's first step): the text ends there.
    return common::FormatProgress(format, values, common::MissingValue::CutText);
}

void CPhoneSession::ShowProgressText(const QString& format, std::initializer_list<int> values)
{
    if (!m_pProgress)
        return;
    m_pProgress->Step(platform::ansiLeft(FormatProgress(format, values), kProgressTextBytes));
}

} // namespace dh1
