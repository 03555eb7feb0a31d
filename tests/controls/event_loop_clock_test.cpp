#include "controls/event_loop_clock.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSemaphore>
#include <QSocketNotifier>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <thread>

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

// What another thread posts and what a socket brings during a pause (the accessibility bridge's
// calls come both ways) is dispatched in that pause, and the pause waits for it in the event
// loop: a thread that slept between turns would keep every request waiting for its next turn.
TEST(EventLoopClock, PausesWaitInTheEventLoopForRequestsFromOtherThreadsAndSockets)
{
    EventLoopClock clock;
    int sockets[2] = {-1, -1};
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets), 0);
    QObject receiver;
    bool posted = false;
    bool readable = false;
    QSocketNotifier notifier(sockets[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &receiver, [&] {
        char byte = 0;
        EXPECT_EQ(::read(sockets[0], &byte, 1), 1);
        readable = true;
    });
    int waits = 0;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    ASSERT_NE(dispatcher, nullptr);
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &receiver, [&] { ++waits; });

    // The other thread starts once the pause runs.
    QSemaphore paused;
    std::thread other([&] {
        paused.acquire();
        QMetaObject::invokeMethod(&receiver, [&] { posted = true; }, Qt::QueuedConnection);
        const char byte = 1;
        EXPECT_EQ(::write(sockets[1], &byte, 1), 1);
    });
    QMetaObject::invokeMethod(&receiver, [&] { paused.release(); }, Qt::QueuedConnection);
    for (int pause = 0; pause < 200 && !(posted && readable); ++pause)
        clock.sleepMs(20);
    other.join();

    EXPECT_TRUE(posted);
    EXPECT_TRUE(readable);
    EXPECT_GT(waits, 0) << "the pauses never waited in the event loop";
    ::close(sockets[0]);
    ::close(sockets[1]);
}

} // namespace
