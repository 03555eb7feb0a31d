#include "link/message_pump.h"

#include "common/message_pump.h"
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

QString ErrorReasonText(int lastError)
{
    int id = 0;
    switch (lastError) {
    case 3: id = 62010; break;
    case 4: id = 62011; break;
    case 5:
    case 6: id = 62005; break;
    case 7: id = 62004; break;
    case 8: id = 62006; break;
    case 11: id = 61452; break;
    case 14: id = 62009; break;
    case 15: id = 62012; break;
    case 17: id = 62007; break;
    case 19: id = 62013; break;
    case 25: id = 62008; break;
    case 26: id = 61460; break;
    case 27: id = 62014; break;
    case 28: id = 62015; break;
    default: return {};
    }
    return platform::LoadString(id);
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
