#pragma once

#include "platform/clock.h"

// The clock of a program with a window: the steady clock, except that its pauses keep the
// event loop turning, so that the window repaints and the progress dialog's Abort is heard
// while a transfer waits for the phone. Pauses last at least as long as asked; events that
// run meanwhile may lengthen them a little. Input for the main window is held off by the
// window itself while its command runs (CBusyInputGate): input left in the queue instead
// (QEventLoop::ExcludeUserInputEvents) would reach Abort only once the window system sends
// something new, on X11 with the GLib event loop.
class EventLoopClock final : public platform::Clock {
public:
    // The longest stretch the loop is left alone during a pause.
    static constexpr int kSliceMs = 10;

    qint64 nowMs() override { return m_steady.nowMs(); }
    void sleepMs(int ms) override;

private:
    platform::SteadyClock m_steady;
};
