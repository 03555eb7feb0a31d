#include "platform/serial/serial_device.h"

#include "platform/serial/serial_port.h"

namespace platform {

namespace {
SystemSerialDeviceFactory g_systemFactory;
SerialDeviceFactory* g_installedFactory = &g_systemFactory;
} // namespace

SerialDeviceFactory& SerialDeviceFactory::instance()
{
    return *g_installedFactory;
}

void SerialDeviceFactory::install(SerialDeviceFactory* factory)
{
    g_installedFactory = factory ? factory : &g_systemFactory;
}

std::unique_ptr<SerialDevice> SystemSerialDeviceFactory::createDevice()
{
    return std::make_unique<SerialPort>();
}

} // namespace platform
