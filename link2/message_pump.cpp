#include "link2/message_pump.h"

#include "common/message_pump.h"

namespace dh2 {

bool g_bCancel = false;

bool PumpMessages()
{
    return common::PumpMessages(g_bCancel, common::QuitRule::RememberAsAbort);
}

} // namespace dh2
