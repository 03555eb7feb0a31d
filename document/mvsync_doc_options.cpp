// The infrared and debug option commands.
#include "document/mvsync_doc.h"

#include "document/option_editor.h"
#include "link/globals.h"
#include "platform/atoi.h"

#include <algorithm>

namespace dh1 {

namespace {

QString number(int value)
{
    return QString::number(value);
}

} // namespace

void CMVsyncDoc::OnIrCommOption()
{
    CIrCommOptions options;
    options.m_strPort = number(m_nIrCommPort);
    options.m_strTimeout = number(m_nIrCommTimeout);
    options.m_bEnable = m_session.m_port.m_bIrComm;
    if (!CreateOptionEditor()->EditIrCommOptions(options))
        return;
    m_session.m_port.m_bIrComm = options.m_bEnable;
    m_nIrCommPort = platform::Atoi(options.m_strPort);
    m_nIrCommTimeout = platform::Atoi(options.m_strTimeout);
    m_session.m_port.m_nIrCommPort = m_nIrCommPort;
    m_session.m_port.m_nIrCommTimeoutSec = m_nIrCommTimeout;
}

void CMVsyncDoc::OnDebugOption()
{
    CATPort& port = m_session.m_port;
    CDebugOptions options;
    options.m_strOpenPause = number(m_session.m_nOpenDelayMs);
    options.m_strWritePause = number(port.m_nWritePauseMs);
    options.m_strBaud = number(port.m_nBaud);
    options.m_bEnable = port.m_bIrComm;
    options.m_strCommandPause = number(m_session.m_nHalfPauseMs);
    options.m_bTrace = g_bTrace;
    options.m_strReadBlock = number(m_session.m_nBlockSize);
    options.m_strTimeout = number(port.m_nTimeoutSec);
    if (!CreateOptionEditor()->EditDebugOptions(options))
        return;
    m_session.m_nOpenDelayMs = platform::Atoi(options.m_strOpenPause);
    port.m_nWritePauseMs = platform::Atoi(options.m_strWritePause);
    port.m_nBaud = platform::Atoi(options.m_strBaud);
    port.m_bIrComm = options.m_bEnable;
    m_session.m_nHalfPauseMs = platform::Atoi(options.m_strCommandPause);
    g_bTrace = options.m_bTrace;
    // A block of no entries would never advance a phonebook read.
    m_session.m_nBlockSize = std::max(1, platform::Atoi(options.m_strReadBlock));
    port.m_nTimeoutSec = platform::Atoi(options.m_strTimeout);
}

} // namespace dh1
