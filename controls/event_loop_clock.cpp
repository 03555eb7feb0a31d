#include "controls/event_loop_clock.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {

bool LoopRuns()
{
    return QCoreApplication::instance() && !QCoreApplication::closingDown();
}

} // namespace

void EventLoopClock::sleepMs(int ms)
{
    const qint64 end = nowMs() + std::max(0, ms);
    if (LoopRuns())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Wakes the wait at the pause's end when nothing else comes.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        const qint64 left = end - nowMs();
        if (left <= 0)
            return;
        if (!LoopRuns()) {
            m_steady.sleepMs(int(std::min<qint64>(left, std::numeric_limits<int>::max())));
            return;
        }
        wake.start(int(std::min<qint64>(left, std::numeric_limits<int>::max())));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
