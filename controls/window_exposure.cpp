#include "controls/window_exposure.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWindow>

namespace exposure {

bool AwaitExposure(QWindow* window, int limitMs)
{
    if (!window || !window->isVisible())
        return false;
    if (window->isExposed() || !QCoreApplication::instance())
        return window->isExposed();
    // The timer wakes the wait when the window system stays silent (a window it never maps).
    QTimer limit;
    limit.setSingleShot(true);
    limit.start(limitMs);
    while (!window->isExposed() && limit.isActive())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    return window->isExposed();
}

} // namespace exposure
