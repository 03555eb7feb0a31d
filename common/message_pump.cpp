#include "common/message_pump.h"

#include "platform/termination_signals.h"
#include "platform/ui_services.h"

#include <QCoreApplication>

namespace common {

namespace {
// A quit seen by a pump inside an operation; the one piece of state of the program's pumps.
bool g_bQuitRemembered = false;
} // namespace

bool PumpMessages(bool& abortFlag, QuitRule rule)
{
    if (platform::TerminationRequested())
        abortFlag = true;
    // While a remembered quit waits for the operation to end, nothing more is dispatched.
    if (abortFlag || g_bQuitRemembered)
        return !abortFlag;
    if (!platform::UiServices::instance().processPendingEvents()) {
        if (rule == QuitRule::Report)
            return false;
        g_bQuitRemembered = true;
        abortFlag = true;
    }
    return !abortFlag;
}

bool QuitRemembered()
{
    return g_bQuitRemembered;
}

bool ResumeQuit()
{
    if (!g_bQuitRemembered)
        return false;
    g_bQuitRemembered = false;
    if (QCoreApplication::instance())
        QCoreApplication::quit();
    return true;
}

} // namespace common
