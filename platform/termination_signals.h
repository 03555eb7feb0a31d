#pragma once

namespace platform {

// SIGINT, SIGTERM and SIGHUP as a request to end the running operation rather than the process
// on the spot: the handler only notes the signal (async-signal-safe), and the phone link's
// abort check and message pump take the request as the user's abort, so that the session
// still sends its closing commands and releases the port. A second signal of the same kind
// takes its default action, for a user who does not want to wait.
//
// The handlers are installed for the lifetime of one object (one at a time); the previous
// ones come back afterwards and the request is forgotten.
class ScopedTerminationSignals {
public:
    ScopedTerminationSignals();
    ~ScopedTerminationSignals();
    ScopedTerminationSignals(const ScopedTerminationSignals&) = delete;
    ScopedTerminationSignals& operator=(const ScopedTerminationSignals&) = delete;

    // A descriptor that becomes readable when a signal is noted, for an event loop that waits
    // while no operation runs (a QSocketNotifier, say); -1 when none could be made.
    int NotifierFd() const;
};

// The signal that asked to terminate, or 0 while none has.
int TerminationSignal();

inline bool TerminationRequested()
{
    return TerminationSignal() != 0;
}

} // namespace platform
