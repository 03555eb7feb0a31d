#pragma once

#include "phonesim/output_queue.h"
#include "platform/serial/serial_device.h"

#include <QStringList>

#include <vector>

namespace phonesim {

class Phone;
class SimulatedLineFactory;

// The in-process front end: a serial line whose other end is a simulated phone. Time is the
// installed platform::Clock, so with a VirtualClock whole sessions run in no real time: a
// reply becomes readable once the PC's own sleeps have moved the clock past its arrival.
class SimulatedLine final : public platform::SerialDevice {
public:
    SimulatedLine(Phone& phone, SimulatedLineFactory& factory);
    ~SimulatedLine() override;

    bool open(const QString& path) override;
    bool configure(const platform::SerialSettings& settings) override;
    bool close() override;
    bool isOpen() const override { return m_open; }
    bool write(const char* data, qsizetype size) override;
    qsizetype queuedBytes() override;
    qsizetype read(char* buffer, qsizetype maxSize) override;
    bool purge() override;
    bool hungUp() const override;

private:
    friend class SimulatedLineFactory;

    bool usable() const;

    Phone& m_phone;
    SimulatedLineFactory& m_factory;
    OutputQueue m_queue;
    bool m_open = false;
};

// Installed with platform::ScopedSerialDeviceFactory, it makes every serial line of the code
// under test a line to one simulated phone. Keep the phone and the factory alive longer than
// the lines. Only one line can be open at a time, as with a real port.
class SimulatedLineFactory final : public platform::SerialDeviceFactory {
public:
    struct Write {
        qint64 atMs;
        QByteArray bytes;
    };

    explicit SimulatedLineFactory(Phone& phone) : m_phone(phone) {}

    std::unique_ptr<platform::SerialDevice> createDevice() override;

    // Opens fail as for a port that another program holds.
    void setHeldElsewhere(bool held) { m_heldElsewhere = held; }
    // The next `count` writes fail, as on a line whose driver refuses them.
    void failNextWrites(int count) { m_failingWrites = count; }
    // When set, only this device path opens; any other is missing.
    void setDevicePath(const QString& path) { m_devicePath = path; }
    // The open line goes dead, as when the cable is pulled and plugged in again: it fails until
    // the port is opened anew, which finds the phone as it was.
    void pullCable();
    // The cable is pulled and plugged in again between two commands: the open line goes dead as
    // with pullCable, and the phone, which saw the line go, has left its session and its text
    // prompt (its contents and settings stay).
    void replug();

    // Every write of the PC with the clock time it was made, in order.
    const std::vector<Write>& writes() const { return m_writes; }
    void clearWrites() { m_writes.clear(); }
    // The paths of successful opens, in order.
    const QStringList& openedPaths() const { return m_openedPaths; }
    bool lineOpen() const { return m_openLine != nullptr; }
    const platform::SerialSettings& lastSettings() const { return m_lastSettings; }

private:
    friend class SimulatedLine;

    Phone& m_phone;
    bool m_heldElsewhere = false;
    int m_failingWrites = 0;
    QString m_devicePath;
    std::vector<Write> m_writes;
    QStringList m_openedPaths;
    SimulatedLine* m_openLine = nullptr; // only one line can be open
    platform::SerialSettings m_lastSettings;
};

} // namespace phonesim
