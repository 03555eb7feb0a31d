#pragma once

#include "platform/clock.h"

#include <functional>

namespace testsupport {

// Installed over a virtual clock for its lifetime: onSleep sees every pause before the clock
// takes it, e.g. to look at the program in the middle of a command or to act as a user would.
class SleepWatch final : public platform::Clock {
public:
    explicit SleepWatch(platform::VirtualClock& clock) : m_clock(clock), m_guard(*this) {}

    qint64 nowMs() override { return m_clock.nowMs(); }
    void sleepMs(int ms) override
    {
        if (onSleep)
            onSleep(ms);
        m_clock.sleepMs(ms);
    }
    QDateTime currentDateTime() override { return m_clock.currentDateTime(); }

    std::function<void(int ms)> onSleep;

private:
    platform::VirtualClock& m_clock;
    platform::ScopedClock m_guard;
};

} // namespace testsupport
