#include "controls/event_loop_clock.h"

#include <QCoreApplication>

#include <algorithm>

void EventLoopClock::sleepMs(int ms)
{
    const qint64 end = nowMs() + std::max(0, ms);
    for (;;) {
        if (QCoreApplication::instance() && !QCoreApplication::closingDown())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        const qint64 left = end - nowMs();
        if (left <= 0)
            return;
        m_steady.sleepMs(int(std::min<qint64>(left, kSliceMs)));
    }
}
