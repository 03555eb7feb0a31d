#include "common/serial_line.h"

#include "platform/clock.h"
#include "platform/serial/com_port.h"
#include "platform/serial/serial_device.h"
#include "platform/ui_services.h"

#include <algorithm>

namespace common {

CSerialLine::CSerialLine(SerialLineTraits traits)
    : m_traits(std::move(traits))
{
}

CSerialLine::~CSerialLine()
{
    Close();
}

bool CSerialLine::Open(int nPort, int nBaud, char cParity, int nDataBits, int nStopBits, quint32 dwEventMask)
{
    Close();
    m_lastOpen = OpenSettings {nPort, nBaud, cParity, nDataBits, nStopBits, dwEventMask};

    auto device = platform::SerialDeviceFactory::instance().createDevice();
    if (!device || !device->open(platform::ComPortPath(nPort))) {
        if (m_traits.openFailureText)
            platform::AfxMessageBox(m_traits.openFailureText(nPort), platform::MB_ICONINFORMATION);
        return false;
    }
    m_device = std::move(device);

    platform::SerialSettings settings;
    settings.baud = nBaud;
    settings.parity = cParity;
    settings.dataBits = nDataBits;
    settings.stopBits = nStopBits;
    settings.writeTimeoutMs = m_nTimeoutMs;
    // A port that takes no settings stays open until Close, as the callers expect.
    if (!m_device->configure(settings))
        return false;
    m_device->purge();
    return true;
}

bool CSerialLine::Close()
{
    if (!m_device)
        return true;
    m_device->purge();
    if (!m_device->close())
        return false;
    m_device.reset();
    platform::Sleep(m_traits.closePauseMs);
    return true;
}

bool CSerialLine::Write(const char* pData, int nCount)
{
    if (!m_device || !m_device->isOpen() || nCount < 0)
        return false;
    // Whatever the phone sent before this write, and output still pending, is discarded.
    m_device->purge();
    return m_device->write(pData, nCount);
}

bool CSerialLine::Read(char* pBuffer, int nBufferSize, int* pnCount)
{
    *pnCount = 0;
    if (!m_device || !m_device->isOpen())
        return false;
    for (;;) {
        platform::Sleep(kPollMs);
        const qsizetype queued = m_device->queuedBytes();
        if (queued < 0)
            return false;
        const qsizetype room = nBufferSize - *pnCount;
        if (queued == 0 || room <= 0)
            return true;
        const qsizetype got = m_device->read(pBuffer + *pnCount, std::min(queued, room));
        if (got < 0)
            return false;
        if (got == 0) // counted but not readable (a hung-up line): nothing more will come
            return true;
        *pnCount += int(got);
        if (*pnCount >= kReadStopBytes)
            return true;
    }
}

bool CSerialLine::IsOpen() const
{
    return m_device && m_device->isOpen();
}

bool CSerialLine::IsLost() const
{
    return IsOpen() && m_device->hungUp();
}

bool CSerialLine::Reopen()
{
    if (!m_lastOpen)
        return false;
    const OpenSettings settings = *m_lastOpen;
    return Open(settings.nPort, settings.nBaud, settings.cParity, settings.nDataBits, settings.nStopBits,
        settings.dwEventMask);
}

} // namespace common
