#pragma once

#include "platform/clock.h"

#include <gtest/gtest.h>

#include <functional>
#include <span>

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

// A user's command, named for the failure message.
struct NamedCommand {
    const char* name;
    std::function<void()> run;
};

// Runs each command in turn: it must pause at least once, and isBusy must hold in every one of
// its pauses. afterEach checks what each command left.
inline void ExpectBusyInEveryPause(SleepWatch& watch, std::span<const NamedCommand> commands,
                                   const std::function<bool()>& isBusy, const std::function<void()>& afterEach)
{
    for (const NamedCommand& command : commands) {
        int pauses = 0;
        int idlePauses = 0;
        watch.onSleep = [&](int) {
            ++pauses;
            idlePauses += isBusy() ? 0 : 1;
        };
        command.run();
        watch.onSleep = nullptr;
        EXPECT_GT(pauses, 0) << command.name;
        EXPECT_EQ(idlePauses, 0) << command.name;
        afterEach();
    }
}

} // namespace testsupport
