#pragma once

class QWindow;

namespace exposure {

// How long a window just shown may take to reach the screen.
constexpr int kExposureLimitMs = 500;

// Lets the window system put a window that was just shown on screen. Until it has (a round trip,
// and a window manager's reparenting), a repaint paints nothing, and a box that opens meanwhile
// stands over an empty, black window. Window-system events are dispatched, user input is not,
// until the window is exposed or limitMs have passed; true when it is exposed.
bool AwaitExposure(QWindow* window, int limitMs = kExposureLimitMs);

// Shows a window (a progress dialog) and has it on screen, painted, before returning: the
// operation that shows it may open a box over it before the event loop turns again.
template <typename Widget>
void ShowNow(Widget& window)
{
    const bool appearing = !window.isVisible();
    window.show();
    if (appearing)
        AwaitExposure(window.windowHandle());
    window.repaint();
}

} // namespace exposure
