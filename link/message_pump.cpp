#include "link/message_pump.h"

#include "link/app_utils.h"
#include "link/globals.h"
#include "platform/string_table.h"
#include "platform/termination_signals.h"
#include "platform/ui_services.h"

bool PumpMessages()
{
    // A termination signal ends the running operation as the Abort button does, at every
    // check until the program ends.
    if (platform::TerminationRequested())
        g_bUserAbort = true;
    if (!g_bUserAbort && !platform::UiServices::instance().processPendingEvents())
        return false;
    return !g_bUserAbort;
}

void ShowError(int stringId)
{
    ShowErrorText(platform::LoadString(stringId));
}

void ShowErrorText(const QString& text)
{
    const QString reason = ErrorReasonText(g_nLastError);
    platform::AfxMessageBox(text + QStringLiteral(" - ") + reason, platform::MB_ICONINFORMATION);
    g_nLastError = 0;
}
