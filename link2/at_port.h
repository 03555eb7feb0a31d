#pragma once

#include "common/command_exchange.h"
#include "link2/reply_classifier.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace common {
class CSerialLine;
}

namespace dh2 {

// Carries one AT command of the second family to the phone and brings back its reply,
// classified into a result code (AtResult). Holds the port settings and owns the serial line,
// which stays open from Connect to Disconnect. Waits by polling every 300 ms and pumps window
// messages meanwhile, so that Cancel works; once the cancel flag is set, every command ends with
// 21 until the session clears it. Every pause and elapsed time runs on platform::Clock.
class CATPort final : private common::ICollectPolicy {
public:
    static constexpr int kDefaultTimeoutMs = 5000;
    static constexpr int kPassMs = 300;

    CATPort();
    // Closes the port; sends nothing.
    ~CATPort() override;
    CATPort(const CATPort&) = delete;
    CATPort& operator=(const CATPort&) = delete;

    // Opens the port unless it is open. A port that cannot be opened shows "Cannot open COM %d
    // port" and leaves no line.
    bool Connect();
    // True when the open port's device went away under it (the phone was plugged in again).
    bool LineLost() const;
    // Opens a lost port again; false (the line closed, with the box) when it does not open.
    bool ReopenLine();
    // Closes the port (with the line's pause after closing) if one is open.
    void Disconnect();
    // Sends a complete command (ending in "\r"; ESC and Ctrl-Z go as one-byte commands). With
    // bWait the reply is collected and classified: the answer up to its final line, without
    // the command's exact echo when it ended in OK, without trailing line ends. Without bWait
    // the line is polled once and the result is AT_OK. A failed write closes the line, so that
    // the next Connect opens the port afresh; a read that failed because the device went away
    // keeps it, so that the next command (a closing one too) opens it again and reaches the
    // phone plugged in again. Shows "Member is full" for +CGR ERROR and "Calling...." for RING.
    int SendCommand(const QByteArray& command, QString& reply, bool bWait);
    // A command that ends a session, sent without waiting as SendCommand does it, but without
    // pumping messages or taking a cancel: the phone leaves its session also while a cancel or
    // a termination request ends the operation.
    int SendClosingCommand(const QByteArray& command);

    bool IsOpen() const;
    // True when the last command went out and its answer never came (silence, a lost line, a
    // call, a cancel while waiting): the phone may have carried it out.
    bool AnswerMissing() const { return m_bAnswerMissing; }

    int m_nPort = 1;
    int m_nBaud = 19200;
    int m_nTimeoutMs = kDefaultTimeoutMs; // silence limit of a reply
    // While set, the reply lists messages in text: a '>' is no prompt, and no message text ends
    // it (the text-mode listing and the re-read of a message; see CReplyClassifier).
    bool m_bPromptIsNotSuccess = false;

private:
    int BeforeWrite() override;
    int Write(common::CSerialLine& line, const QByteArray& command) override;
    int CheckAbort() override;
    common::CollectTiming Timing() const override;
    common::ReplyState Judge(const QByteArray& reply, bool quiet) override;

    // A call cut the last command short, before its final result: that result may still come.
    // It is read and dropped before the next command goes out, so that it answers none of them.
    void DrainLateAnswer();

    std::unique_ptr<common::CSerialLine> m_pLine;
    bool m_bFinalOutstanding = false;
    bool m_bAnswerMissing = false;
    std::optional<CReplyClassifier> m_classifier;
    ReplyClass m_verdict;
};

} // namespace dh2
