#include "phonesim/simulated_line.h"

#include "phonesim/phone.h"
#include "platform/clock.h"

namespace phonesim {

SimulatedLine::SimulatedLine(Phone& phone, SimulatedLineFactory& factory)
    : m_phone(phone)
    , m_factory(factory)
{
}

SimulatedLine::~SimulatedLine()
{
    close();
}

bool SimulatedLine::open(const QString& path)
{
    close();
    if (path.isEmpty() || m_factory.m_heldElsewhere || m_factory.m_openLine)
        return false;
    if (!m_factory.m_devicePath.isEmpty() && path != m_factory.m_devicePath)
        return false;
    m_open = true;
    m_factory.m_openLine = this;
    m_factory.m_openedPaths << path;
    m_queue.clear();
    return true;
}

bool SimulatedLine::configure(const platform::SerialSettings& settings)
{
    if (!m_open || settings.baud <= 0 || settings.dataBits < 5 || settings.dataBits > 8)
        return false;
    m_factory.m_lastSettings = settings;
    m_queue.setBaud(settings.baud);
    return true;
}

bool SimulatedLine::close()
{
    if (m_open) {
        m_open = false;
        m_factory.m_openLine = nullptr;
    }
    return true;
}

bool SimulatedLine::usable() const
{
    return m_open && !m_queue.isClosed(platform::NowMs());
}

bool SimulatedLine::write(const char* data, qsizetype size)
{
    if (!usable())
        return false;
    if (m_factory.m_failingWrites > 0) {
        --m_factory.m_failingWrites;
        return false;
    }
    const qint64 now = platform::NowMs();
    const QByteArray bytes(data, size);
    m_factory.m_writes.push_back({now, bytes});
    m_queue.add(now, m_phone.receive(bytes));
    return true;
}

qsizetype SimulatedLine::queuedBytes()
{
    if (!usable())
        return -1;
    return m_queue.due(platform::NowMs());
}

qsizetype SimulatedLine::read(char* buffer, qsizetype maxSize)
{
    if (!usable())
        return -1;
    const QByteArray bytes = m_queue.take(platform::NowMs(), maxSize);
    std::copy(bytes.begin(), bytes.end(), buffer);
    return bytes.size();
}

bool SimulatedLine::hungUp() const
{
    return m_open && m_queue.isClosed(platform::NowMs());
}

bool SimulatedLine::purge()
{
    if (!usable())
        return false;
    m_queue.discardDue(platform::NowMs());
    return true;
}

void SimulatedLineFactory::pullCable()
{
    if (!m_openLine)
        return;
    Output dead;
    dead.closeAtMs = 0;
    m_openLine->m_queue.add(platform::NowMs(), dead);
}

void SimulatedLineFactory::replug()
{
    pullCable();
    m_phone.lineDropped();
}

std::unique_ptr<platform::SerialDevice> SimulatedLineFactory::createDevice()
{
    return std::make_unique<SimulatedLine>(m_phone, *this);
}

} // namespace phonesim
