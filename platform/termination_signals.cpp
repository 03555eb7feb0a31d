#include "platform/termination_signals.h"

#include <csignal>
#include <iterator>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t g_terminationSignal = 0;
// Written by the handler, so that a waiting event loop wakes up.
int g_notifier[2] = {-1, -1};
struct sigaction g_previous[std::size(kSignals)];

void NoteTermination(int signal)
{
    g_terminationSignal = signal;
    if (g_notifier[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(g_notifier[1], &byte, 1);
    }
}

} // namespace

ScopedTerminationSignals::ScopedTerminationSignals()
{
    g_terminationSignal = 0;
    if (::pipe2(g_notifier, O_CLOEXEC | O_NONBLOCK) != 0)
        g_notifier[0] = g_notifier[1] = -1;
    struct sigaction action {};
    action.sa_handler = NoteTermination;
    sigemptyset(&action.sa_mask);
    // Once noted, the next signal of the kind ends the process as it always did.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &g_previous[i]);
}

ScopedTerminationSignals::~ScopedTerminationSignals()
{
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
    for (int& fd : g_notifier) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    g_terminationSignal = 0;
}

int ScopedTerminationSignals::NotifierFd() const
{
    return g_notifier[0];
}

int TerminationSignal()
{
    return g_terminationSignal;
}

} // namespace platform
