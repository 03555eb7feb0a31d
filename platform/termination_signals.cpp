#include "platform/termination_signals.h"

#include <csignal>
#include <iterator>

namespace platform {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t g_terminationSignal = 0;
struct sigaction g_previous[std::size(kSignals)];

void NoteTermination(int signal)
{
    g_terminationSignal = signal;
}

} // namespace

ScopedTerminationSignals::ScopedTerminationSignals()
{
    g_terminationSignal = 0;
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
    g_terminationSignal = 0;
}

int TerminationSignal()
{
    return g_terminationSignal;
}

} // namespace platform
