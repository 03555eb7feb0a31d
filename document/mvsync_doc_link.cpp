// What the window asks of the phone link through the document.
#include "document/mvsync_doc.h"

#include "link/capacities.h"
#include "link/globals.h"
#include "link/message_pump.h"
#include "link/reply_classifier.h"

namespace dh1 {

CMVsyncDoc::PhoneCapacities CMVsyncDoc::Capacities()
{
    return {g_nHandsetCapacity, g_nHandsetNumberLen, g_nHandsetNameLen, g_nHandsetEmailLen, g_nHandsetMemoLen,
            g_nSimCapacity, g_nSimNameLen, g_nScheduleCapacity, g_nScheduleTextLen, g_nMemoCapacity, g_nMemoTextLen,
            g_nSmsSimUsed, g_nSmsSimTotal};
}

void CMVsyncDoc::SetProgressRange(int range)
{
    g_nProgressRange = range;
}

void CMVsyncDoc::ShowError(int stringId)
{
    dh1::ShowError(stringId);
}

void CMVsyncDoc::ShowPhoneError(int stringId) const
{
    dh1::ShowError(stringId, m_session.m_bUnconfirmed);
}

void CMVsyncDoc::SetListFullError()
{
    g_nLastError = AT_CME_MEMORY_FULL;
}

} // namespace dh1
