#pragma once

#include "platform/clock.h"

// The clock of a program with a window: the steady clock, except that its pauses wait in the
// event loop, so that the window repaints, the progress dialog's Abort is heard and requests from
// other threads and sockets (the accessibility bridge's calls among them) are answered as they
// come while a transfer waits for the phone. A pause that slept in slices would hold each of them
// for up to a slice, and a screen reader's walk of the window, thousands of calls one after the
// other, would last longer than the transfer. Pauses last at least as long as asked; events that
// run meanwhile may lengthen them a little. Input for the main window is held off by the window
// itself while its command runs (CBusyInputGate): input left in the queue instead
// (QEventLoop::ExcludeUserInputEvents) would reach Abort only once the window system sends
// something new, on X11 with the GLib event loop.
class EventLoopClock final : public platform::Clock {
public:
    qint64 nowMs() override { return m_steady.nowMs(); }
    void sleepMs(int ms) override;

private:
    platform::SteadyClock m_steady;
};
