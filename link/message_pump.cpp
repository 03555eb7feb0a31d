#include "link/message_pump.h"

#include "common/message_pump.h"
#include "link/app_utils.h"
#include "link/globals.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

namespace dh1 {

bool PumpMessages()
{
    // A termination signal ends the running operation as the Abort button does, at every
    // check until the program ends.
    return common::PumpMessages(g_bUserAbort, common::QuitRule::Report);
}

void ShowError(int stringId, bool unconfirmed)
{
    ShowErrorText(platform::LoadString(stringId), unconfirmed);
}

void ShowErrorText(const QString& text, bool unconfirmed)
{
    QString box = text + QStringLiteral(" - ") + ErrorReasonText(g_nLastError);
    if (unconfirmed)
        box += u'\n' + platform::LoadString(62016);
    platform::AfxMessageBox(box, platform::MB_ICONINFORMATION);
    g_nLastError = 0;
}

} // namespace dh1
