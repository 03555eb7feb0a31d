#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {
SteadyClock g_steadyClock;
Clock* g_installedClock = &g_steadyClock;
} // namespace

Clock& Clock::instance()
{
    return *g_installedClock;
}

void Clock::install(Clock* clock)
{
    g_installedClock = clock ? clock : &g_steadyClock;
}

qint64 SteadyClock::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace platform
