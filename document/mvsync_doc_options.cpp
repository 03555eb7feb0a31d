// The infrared and debug option commands.
#include "document/mvsync_doc.h"

#include "document/debug_option_dlg.h"
#include "document/ir_comm_option_dlg.h"
#include "link/globals.h"
#include "platform/atoi.h"

namespace {

int runModal(const std::function<int(QDialog&)>& runner, QDialog& dialog)
{
    return runner ? runner(dialog) : dialog.exec();
}

QString number(int value)
{
    return QString::number(value);
}

} // namespace

void CMVsyncDoc::OnIrCommOption()
{
    CIrCommOptionDlg dialog;
    dialog.m_strPort = number(m_nIrCommPort);
    dialog.m_strTimeout = number(m_nIrCommTimeout);
    dialog.m_bEnable = m_session.m_port.m_bIrComm;
    dialog.OnInitDialog();
    if (runModal(m_runModal, dialog) != QDialog::Accepted)
        return;
    m_session.m_port.m_bIrComm = dialog.m_bEnable;
    m_nIrCommPort = platform::Atoi(dialog.m_strPort);
    m_nIrCommTimeout = platform::Atoi(dialog.m_strTimeout);
    m_session.m_port.m_nIrCommPort = m_nIrCommPort;
    m_session.m_port.m_nIrCommTimeoutSec = m_nIrCommTimeout;
}

void CMVsyncDoc::OnDebugOption()
{
    CATPort& port = m_session.m_port;
    CDebugOptionDlg dialog;
    dialog.m_strOpenPause = number(m_session.m_nOpenDelayMs);
    dialog.m_strWritePause = number(port.m_nWritePauseMs);
    dialog.m_strBaud = number(port.m_nBaud);
    dialog.m_bEnable = port.m_bIrComm;
    dialog.m_strCommandPause = number(m_session.m_nHalfPauseMs);
    dialog.m_bTrace = g_bTrace;
    dialog.m_strReadBlock = number(m_session.m_nBlockSize);
    dialog.m_strTimeout = number(port.m_nTimeoutSec);
    dialog.OnInitDialog();
    if (runModal(m_runModal, dialog) != QDialog::Accepted)
        return;
    m_session.m_nOpenDelayMs = platform::Atoi(dialog.m_strOpenPause);
    port.m_nWritePauseMs = platform::Atoi(dialog.m_strWritePause);
    port.m_nBaud = platform::Atoi(dialog.m_strBaud);
    port.m_bIrComm = dialog.m_bEnable;
    m_session.m_nHalfPauseMs = platform::Atoi(dialog.m_strCommandPause);
    g_bTrace = dialog.m_bTrace;
    // A block of no entries would never advance a phonebook read.
    m_session.m_nBlockSize = std::max(1, platform::Atoi(dialog.m_strReadBlock));
    port.m_nTimeoutSec = platform::Atoi(dialog.m_strTimeout);
}
