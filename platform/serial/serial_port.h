#pragma once

#include "platform/serial/serial_device.h"

namespace platform {

// A serial port over termios. The open is exclusive twice over: flock() keeps out every other
// process that locks the port too (root included), TIOCEXCL keeps out every unprivileged open.
// The exclusive flag is cleared again before closing: on a pseudo-terminal it outlives the
// descriptor and would lock the user out of the port. Works on pseudo-terminals, which have
// no modem lines.
class SerialPort final : public SerialDevice {
public:
    SerialPort() = default;
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    bool open(const QString& path) override;
    bool configure(const SerialSettings& settings) override;
    bool close() override;
    bool isOpen() const override { return m_fd >= 0; }

    bool write(const char* data, qsizetype size) override;
    qsizetype queuedBytes() override;
    qsizetype read(char* buffer, qsizetype maxSize) override;
    bool purge() override;
    bool hungUp() const override;

    // True for a rate configure() can set (the standard ones from 300 to 921600 baud).
    static bool TakesBaud(int baud);

    // errno of the last failed call, for diagnostics.
    int lastError() const { return m_lastError; }

private:
    bool fail();

    int m_fd = -1;
    int m_lastError = 0;
    SerialSettings m_settings;
};

} // namespace platform
