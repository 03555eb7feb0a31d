#pragma once

#include <QString>

#include <memory>

namespace platform {

// Line settings of one open. Parity is a letter as the system passes it: 'N', 'E', 'O', 'M', 'S'.
struct SerialSettings {
    int baud = 57600;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;
    // Budget of one write beyond the time its bytes take on the wire.
    int writeTimeoutMs = 1000;
};

// One serial line as the link layer sees it: a real port, or a simulated phone in tests.
// Nothing here blocks longer than a bounded write.
class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Opens the device exclusively; false when it is missing or another program holds it.
    virtual bool open(const QString& path) = 0;
    // Applies the line settings to an open device; false when they cannot be applied.
    virtual bool configure(const SerialSettings& settings) = 0;
    // Releases the device; false only when the system reported an error while closing.
    virtual bool close() = 0;
    virtual bool isOpen() const = 0;

    // Writes the whole buffer or fails; waits at most the write budget.
    virtual bool write(const char* data, qsizetype size) = 0;
    // Bytes received and not yet read; -1 when the line failed.
    virtual qsizetype queuedBytes() = 0;
    // Reads at most maxSize queued bytes without waiting; -1 when the line failed.
    virtual qsizetype read(char* buffer, qsizetype maxSize) = 0;
    // Discards unread input and untransmitted output.
    virtual bool purge() = 0;
    // True when the device went away under the open port: an I/O error or a hang-up (a cable
    // pulled, another device at the same path). Only opening it again can help. A device that
    // cannot tell says no.
    virtual bool hungUp() const { return false; }
};

// Creates the devices that the serial line opens. The system factory makes real ports; tests
// install one that makes simulated lines.
class SerialDeviceFactory {
public:
    virtual ~SerialDeviceFactory() = default;
    virtual std::unique_ptr<SerialDevice> createDevice() = 0;

    static SerialDeviceFactory& instance();
    // Installs a factory that the caller keeps alive; nullptr restores the system factory.
    static void install(SerialDeviceFactory* factory);
};

class SystemSerialDeviceFactory final : public SerialDeviceFactory {
public:
    std::unique_ptr<SerialDevice> createDevice() override;
};

// Installs a factory for the lifetime of the guard.
class ScopedSerialDeviceFactory {
public:
    explicit ScopedSerialDeviceFactory(SerialDeviceFactory& factory) : m_previous(&SerialDeviceFactory::instance())
    {
        SerialDeviceFactory::install(&factory);
    }
    ~ScopedSerialDeviceFactory() { SerialDeviceFactory::install(m_previous); }
    ScopedSerialDeviceFactory(const ScopedSerialDeviceFactory&) = delete;
    ScopedSerialDeviceFactory& operator=(const ScopedSerialDeviceFactory&) = delete;

private:
    SerialDeviceFactory* m_previous;
};

} // namespace platform
