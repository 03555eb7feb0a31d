#pragma once

#include "common/command_exchange.h"
#include "common/serial_line.h"
#include "link/reply_classifier.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace dh1 {

// Carries one AT command to the phone and brings back its reply, classified into a result
// code (AtResult). Holds the port settings, owns the serial line, paces infrared writes,
// waits for the reply by polling and pumps window messages meanwhile, so that the progress
// dialog's Abort button stays usable. Every pause and every elapsed time runs on
// platform::Clock.
class CATPort final : private common::ICollectPolicy {
public:
    static constexpr int kReceiveBufferSize = common::kReceiveBufferSize;
    // A reply that grows beyond this is refused with the "overflow stack" box.
    static constexpr qsizetype kMaxReplyBytes = 1024 * 1024;
    // One command never waits longer than this many times its silence limit.
    static constexpr int kCommandLimitFactor = 10;

    CATPort();
    // Closes the port in both modes; sends nothing.
    ~CATPort() override;
    CATPort(const CATPort&) = delete;
    CATPort& operator=(const CATPort&) = delete;

    // Opens the line for a session. A cable port is reopened every time and followed by
    // nDelayMs of quiet; the infrared port is opened once, followed by 4 s, and then stays open.
    bool Connect(int nDelayMs);
    // Closes a cable line; the infrared line stays open.
    void Disconnect();
    // Sends a complete command (ending in "\r"). With bWait the reply is collected and
    // classified; without it the line is drained once and the result is AT_OK with an empty
    // reply. The reply is the answer up to its final result line, without the command's exact
    // echo on success and without trailing line ends, decoded from the locale's character set;
    // a line that set cannot read (a message list's alpha name as the phone stores it) is read
    // in the legacy code page. Never throws.
    int SendCommand(const QByteArray& command, QString& reply, bool bWait);
    // A command sent without waiting, as SendCommand does it, but without pumping messages or
    // taking an abort: the session's closing commands go out also while an abort ends it.
    int SendClosingCommand(const QByteArray& command);

    // True once after a command that the phone carried out although a RING came before its
    // final OK: the call box was shown, and the operation should end as a RING ends it.
    bool TakeRing()
    {
        const bool rang = m_bRang;
        m_bRang = false;
        return rang;
    }

    // True when the last command, sent to be waited for, went out whole and no final result
    // came back (silence, a lost line, a call without an answer, an abort while waiting): the
    // phone may have carried it out.
    bool LastCommandUnanswered() const { return m_bUnanswered; }

    // True while a line object exists (it may have failed to open).
    bool HasLine() const { return m_pLine != nullptr; }

    // Settings, written directly by the session and the document.
    int m_nPort = 1;
    int m_nBaud = 57600;
    int m_nTimeoutSec = 10;
    int m_nAttempts = 1;
    bool m_bIrComm = false;
    int m_nIrCommPort = 4;
    int m_nIrCommTimeoutSec = 10;
    // Kept for the debug options; no write waits on it.
    int m_nWritePauseMs = 100;

    // The pacing actually used, from config.ini's values with unusable ones replaced.
    static int IrCommPieceSize();
    static int IrCommPauseMs();
    // The silence limit in seconds for the current mode.
    int SilenceLimitSec() const;

    // The serial line of Deskhand: its box for a port that cannot be opened.
    static common::SerialLineTraits LineTraits();

private:
    int BeforeWrite() override;
    int Write(common::CSerialLine& line, const QByteArray& command) override;
    int CheckAbort() override;
    common::CollectTiming Timing() const override;
    common::ReplyState Judge(const QByteArray& reply, bool quiet) override;
    int Report(const ReplyClass& verdict);

    std::unique_ptr<common::CSerialLine> m_pLine;
    bool m_bRang = false;
    bool m_bUnanswered = false;
    // The quiet after the last open: a port opened again waits as long.
    int m_nOpenDelayMs = 0;
    std::optional<CReplyClassifier> m_classifier;
    ReplyClass m_verdict;
};

} // namespace dh1
