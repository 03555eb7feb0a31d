#pragma once

#include <QDateTime>
#include <QtGlobal>

namespace platform {

// Every pause and every elapsed-time measurement of the system goes through the installed
// clock, so that tests can replace real time by a virtual one.
class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds on a monotonic scale; only differences mean anything.
    virtual qint64 nowMs() = 0;
    virtual void sleepMs(int ms) = 0;
    // The local date and time ("today" of the calendar and of new entries).
    virtual QDateTime currentDateTime() { return QDateTime::currentDateTime(); }

    // The installed clock; the steady clock unless a test installed another one.
    static Clock& instance();
    // Installs a clock that the caller keeps alive; nullptr restores the steady clock.
    static void install(Clock* clock);
};

class SteadyClock final : public Clock {
public:
    qint64 nowMs() override;
    void sleepMs(int ms) override;
};

// Time that moves only when someone sleeps or advances it. The date and time of day are the
// system's until a test sets them; from then on they move with the virtual time.
class VirtualClock final : public Clock {
public:
    qint64 nowMs() override { return m_nowMs; }
    void sleepMs(int ms) override { advance(ms); }
    void advance(qint64 ms) { m_nowMs += ms > 0 ? ms : 0; }
    QDateTime currentDateTime() override
    {
        return m_wall.isValid() ? m_wall.addMSecs(m_nowMs - m_wallSetAtMs) : QDateTime::currentDateTime();
    }
    void setCurrentDateTime(const QDateTime& wall)
    {
        m_wall = wall;
        m_wallSetAtMs = m_nowMs;
    }

private:
    qint64 m_nowMs = 1'000'000;
    QDateTime m_wall;
    qint64 m_wallSetAtMs = 0;
};

// Installs a clock for the lifetime of the guard.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) : m_previous(&Clock::instance()) { Clock::install(&clock); }
    ~ScopedClock() { Clock::install(m_previous); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* m_previous;
};

// Shorthands used throughout the protocol code.
inline void Sleep(int ms) { Clock::instance().sleepMs(ms); }
inline qint64 NowMs() { return Clock::instance().nowMs(); }

} // namespace platform
