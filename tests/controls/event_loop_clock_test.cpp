#include "controls/event_loop_clock.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A pause lasts at least as long as asked and lets timers and posted events run meanwhile:
// the window stays alive while a transfer waits for the phone.
TEST(EventLoopClock, PausesKeepTheEventLoopTurning)
{
    EventLoopClock clock;
    int ticks = 0;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    bool posted = false;
    QMetaObject::invokeMethod(&timer, [&] { posted = true; }, Qt::QueuedConnection);

    const qint64 start = clock.nowMs();
    clock.sleepMs(60);
    EXPECT_GE(clock.nowMs() - start, 60);
    EXPECT_TRUE(posted);
    EXPECT_GE(ticks, 2);

    // Nothing to wait for: no time passes beyond one turn of the loop.
    clock.sleepMs(0);
    clock.sleepMs(-5);
}

} // namespace
