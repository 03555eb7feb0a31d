// Wake-up, identification, the synchronisation mode and its end, progress, text fields.
#include "link2/phone_session.h"

#include "common/message_pump.h"
#include "common/progress_text.h"
#include "common/reply_parser.h"
#include "common/text_codec.h"
#include "link2/message_pump.h"
#include "link2/model_profile.h"
#include "platform/ansi_width.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <limits>
#include <utility>

namespace dh2 {

namespace {

constexpr char kEsc = 27;
constexpr int kWakeTries = 3;
constexpr int kAfterWakeMs = 300;
constexpr int kAfterSilenceMs = 1000;
constexpr int kEchoPauseMs = 500;
constexpr int kClosingPauseMs = 300;
constexpr int kProgressPauseMs = 50;
constexpr int kProgressTextBytes = 511;

constexpr int kConnectingText = 62465;   // "Connecting...  %d, %d"
constexpr int kClosingText = 62466;      // "Closing port..."
constexpr int kLoadingText = 62467;      // "Loading data... %d-%d"
constexpr int kNoResponseText = 62505;   // "No response from mobile. ..."
constexpr int kCancelingText = 62548;    // "Canceling..."

const QString kInvalidVersion = QStringLiteral("Invalid phone version");

} // namespace

QString CommandSafe(const QString& text)
{
    QString safe = common::StorableText(text, std::numeric_limits<int>::max());
    safe.removeIf([](QChar c) { return c == u'"' || c.category() == QChar::Other_Control; });
    return safe;
}

CPhoneSessionBase::~CPhoneSessionBase() = default;

CPhoneSession::CPhoneSession() = default;

CPhoneSession::~CPhoneSession() = default;

namespace {

// The name of a command that sets up the phone for an operation ("ATE", "AT+CSCS", ...); empty
// for any other command.
QByteArray ModeCommandName(const QByteArray& command)
{
    if (command.startsWith("ATE"))
        return "ATE";
    for (const char* name : {"AT+SBEG", "AT+SSLP", "AT+CSCS", "AT+CMEE", "AT+CPBS", "AT+CMGF", "AT+CPMS"}) {
        if (command.startsWith(name))
            return name;
    }
    return {};
}

} // namespace

int CPhoneSession::Send(const QByteArray& command, bool bWait)
{
    m_bUnconfirmed = false;
    m_nCause = 0;
    if (!m_arrModeCommands.empty() && !m_bReopening && m_port.LineLost()) {
        // Plugged in again since the last command: the phone has left this operation's session.
        if (!m_port.ReopenLine()) {
            m_nResult = AT_NO_PORT;
            return m_nResult;
        }
        if (!ReopenSession())
            return m_nResult;
    }
    m_nResult = m_port.SendCommand(command, m_strReply, bWait);
    m_bUnconfirmed = m_port.AnswerMissing();
    const QByteArray mode = ModeCommandName(command);
    if (m_nResult == AT_OK && !mode.isEmpty()) {
        std::erase_if(m_arrModeCommands, [&mode](const auto& sent) { return ModeCommandName(sent.first) == mode; });
        m_arrModeCommands.emplace_back(command, bWait);
    }
    return m_nResult;
}

bool CPhoneSession::ReopenSession()
{
    const std::vector<std::pair<QByteArray, bool>> modes = std::exchange(m_arrModeCommands, {});
    m_bReopening = true;
    QString ignored;
    // The escape wakes a sleeping phone and leaves a text prompt.
    m_port.SendCommand(QByteArray(1, kEsc), ignored, false);
    platform::Sleep(100);
    bool ok = false;
    for (int attempt = 1; attempt <= kWakeTries && !ok && !g_bCancel; ++attempt) {
        platform::Sleep(m_nWakeDelayMs);
        ok = Send("AT\r") == AT_OK;
    }
    for (const auto& [command, wait] : modes) {
        if (!ok)
            break;
        ok = Send(command, wait) == AT_OK;
        if (!wait)
            platform::Sleep(kEchoPauseMs);
    }
    m_bReopening = false;
    return ok;
}

bool CPhoneSession::SendAll(std::initializer_list<const char*> commands)
{
    for (const char* command : commands) {
        if (Send(command) != AT_OK)
            return false;
    }
    return true;
}

bool CPhoneSession::Fail(int nResult)
{
    SetResult(nResult);
    const int cause = m_nCause;
    Disconnect();
    m_nCause = cause;
    return false;
}

void CPhoneSession::SetResult(int nResult)
{
    const auto transportFailure = [](int result) {
        switch (result) {
        case AT_NO_PORT:
        case AT_PROMPT:
        case AT_ERROR:
        case AT_CME_ERROR:
        case AT_CMS_ERROR:
        case AT_CGR_ERROR:
        case AT_TIMEOUT:
        case AT_WRITE_FAILED:
        case AT_READ_FAILED:
        case AT_RING:
        case AT_CANCELLED: return true;
        default: return false;
        }
    };
    m_nCause = transportFailure(m_nResult) ? m_nResult : 0;
    m_nResult = nResult;
}

bool CPhoneSession::FailUnchanged(bool disconnect)
{
    if (disconnect)
        Disconnect();
    m_bUnconfirmed = false;
    return false;
}

bool CPhoneSession::NothingSent()
{
    m_bUnconfirmed = false;
    m_nResult = SESSION_NOTHING_SENT;
    return false;
}

bool CPhoneSession::Finish()
{
    const bool ok = m_nResult == AT_OK;
    Disconnect();
    return ok;
}

bool CPhoneSession::Handshake()
{
    m_arrModeCommands.clear();
    m_bUnconfirmed = false;
    OpenProgress();
    ShowProgressF(kConnectingText, m_port.m_nPort, m_port.m_nBaud);
    QString ignored;
    // A sleeping phone loses the byte that wakes it; a phone in text entry leaves it.
    m_port.SendCommand(QByteArray(1, kEsc), ignored, false);
    platform::Sleep(100);

    for (int attempt = 1; attempt <= kWakeTries; ++attempt) {
        platform::Sleep(m_nWakeDelayMs);
        const int result = Send("AT\r");
        if (g_bCancel)
            break;
        if (result == AT_OK) {
            platform::Sleep(kAfterWakeMs);
            return true;
        }
        if (result == AT_PROMPT) {
            // Still waiting for text after ">": leave it.
            m_port.SendCommand(QByteArray(1, kEsc), ignored, false);
        } else if (result == AT_TIMEOUT) {
            platform::Sleep(kAfterSilenceMs);
            if (attempt == kWakeTries) {
                platform::AfxMessageBox(platform::LoadString(kNoResponseText), platform::MB_ICONINFORMATION);
                break;
            }
        }
    }
    CloseProgress();
    return false;
}

bool CPhoneSession::CheckModel()
{
    QString reply;
    m_nResult = m_port.SendCommand("ATI\r", reply, true);
    if (m_nResult != AT_OK || !reply.contains(QLatin1String("Zentra Electronics Inc.")))
        return false;
    const QString upper = reply.toUpper();
    if (!upper.contains(QLatin1String("RK7")) && !upper.contains(QLatin1String("RK8"))) {
        ModelProfile().SetModel(CModelProfile::TypeCorvoS2);
        platform::AfxMessageBox(kInvalidVersion);
        return false;
    }
    if (Send("AT+SINF\r") != AT_OK)
        return false;
    const struct {
        const char* firmware;
        int type;
    } models[] = {
        {"Tondav1", CModelProfile::TypeTondav},
        {"Zentra-Corvo v1.04,", CModelProfile::TypeCorvo},
        {"Zentra-Corvo v1.04.S2", CModelProfile::TypeCorvoS2},
    };
    for (const auto& model : models) {
        if (m_strReply.contains(QLatin1String(model.firmware))) {
            ModelProfile().SetModel(model.type);
            return true;
        }
    }
    platform::AfxMessageBox(kInvalidVersion);
    return false;
}

bool CPhoneSession::SetEcho(int n)
{
    platform::Sleep(kEchoPauseMs);
    if (Send(QByteArray("ATE") + QByteArray::number(n) + '\r', false) != AT_OK)
        return false;
    platform::Sleep(kEchoPauseMs);
    return true;
}

bool CPhoneSession::Resync()
{
    return SetEcho(0) && SendAll({"AT+SSLP=1000\r", "AT+SBEG\r", "AT+CSCS=\"SYNC\"\r"});
}

bool CPhoneSession::OpenPort()
{
    if (m_port.Connect())
        return true;
    m_nResult = SESSION_NO_PORT;
    return false;
}

bool CPhoneSession::OpenSession(std::optional<std::pair<int, int>> loading)
{
    if (!OpenPort())
        return false;
    if (!Handshake()) {
        m_nResult = SESSION_WAKE_UP_FAILED;
        return false;
    }
    if (loading)
        ShowProgressF(kLoadingText, loading->first, loading->second);
    if (!CheckModel())
        return Fail(SESSION_NOT_SUPPORTED);
    return true;
}

bool CPhoneSession::Connect()
{
    if (!OpenSession())
        return false;
    if (SetEcho(0) && SendAll({"AT+SBEG\r", "AT+SSLP=2000\r", "AT+CSCS=\"SYNC\"\r", "AT+CMEE=1\r"}))
        return true;
    Disconnect();
    return false;
}

bool CPhoneSession::OpenRead(int nFirst, int nLast)
{
    if (!OpenSession(std::pair(nFirst, nLast)))
        return false;
    if (!Resync())
        return Fail(SESSION_RESYNC_FAILED);
    return true;
}

bool CPhoneSession::Disconnect()
{
    if (g_bCancel)
        ShowProgress(kCancelingText);
    platform::Sleep(kClosingPauseMs);
    ShowProgress(kClosingText);
    platform::Sleep(kClosingPauseMs);
    g_bCancel = false;
    m_arrModeCommands.clear();

    // The phone goes back to its own character set with echo on; the port stays open. These go
    // out also while a termination request ends the operation.
    if (m_port.SendClosingCommand("AT+SEND\r") == AT_OK) {
        platform::Sleep(kClosingPauseMs);
        if (m_port.SendClosingCommand("AT+CSCS=\"GSM\"\r") == AT_OK) {
            platform::Sleep(kClosingPauseMs);
            m_port.SendClosingCommand("ATE1\r");
        }
    }
    CloseProgress();
    return true;
}

bool CPhoneSession::GetReplyLine(QString& out, const QString& reply, int n, const QString& prefix)
{
    return common::GetReplyLine(out, reply, n, prefix, common::SegmentRule::FromPrefix);
}

QString CPhoneSession::EncodeBase64Text(const QString& text) const
{
    QString field;
    common::CTextCodec(common::GsmDialect::Second).EncodeBase64Text(field, text, kTextUnitLimit);
    return field;
}

QString CPhoneSession::DecodeBase64Text(const QString& field, bool* ok) const
{
    QString text;
    common::CTextCodec(common::GsmDialect::Second).DecodeBase64Text(text, field, ok);
    return text;
}

bool CPhoneSession::IsGsmText(const QString& text) const
{
    return common::CTextCodec(common::GsmDialect::Second).IsGsmEncodable(text);
}

void CPhoneSession::OpenProgress()
{
    platform::UiServices& ui = platform::UiServices::instance();
    ui.enableMainWindow(false);
    m_pProgress.reset();
    m_pProgress = CreateProgressView();
}

void CPhoneSession::CloseProgress()
{
    platform::UiServices::instance().enableMainWindow(true);
    g_bCancel = false;
    m_pProgress.reset();
    // A quit the operation's pump saw goes on now that the operation has ended.
    common::ResumeQuit();
}

void CPhoneSession::ShowProgress(int nStringId)
{
    ShowProgressText(nStringId, {});
}

void CPhoneSession::ShowProgressText(int nStringId, std::initializer_list<int> values)
{
    if (!m_pProgress)
        return;
    const QString text = common::FormatProgress(platform::LoadString(nStringId), values, common::MissingValue::DropPlaceholder);
    m_pProgress->Step(platform::ansiLeft(text, kProgressTextBytes));
    platform::Sleep(kProgressPauseMs);
}

} // namespace dh2
