// The PIM exchange commands of the document.
#include "document/mvsync_doc.h"

#include "docshared/record_lists.h"
#include "document/outlook_sync.h"
#include "link/globals.h"
#include "link/message_pump.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

namespace dh1 {

void CMVsyncDoc::ShowExchangeError(bool write, const docshared::CPimExchange& exchange)
{
    // The store's reason; a phone's reason when the store gave none.
    const int stringId = write ? 62002 : 62000;
    if (exchange.LastError().isEmpty()) {
        dh1::ShowError(stringId);
        return;
    }
    g_nLastError = 0;
    platform::AfxMessageBox(platform::LoadString(stringId) + QStringLiteral(" - ") + exchange.LastError(),
                            platform::MB_ICONINFORMATION);
}

bool CMVsyncDoc::ImportOutlookContacts()
{
    return ImportFromPim<COutlookContacts>(
        m_outlookContacts, [](COutlookSync& exchange, auto& fresh) { return exchange.ReadContacts(fresh); },
        docshared::KeepContactLinks<CPhoneEntry>);
}

bool CMVsyncDoc::ExportOutlookContacts()
{
    return ExportToPim<COutlookContacts>(
        m_outlookContacts, [](COutlookSync& exchange, auto& list) { return exchange.WriteContacts(list); });
}

bool CMVsyncDoc::ImportOutlookSchedules()
{
    return ImportFromPim<COutlookAppointments>(
        m_outlookSchedules, [](COutlookSync& exchange, auto& fresh) { return exchange.ReadAppointments(fresh); },
        docshared::KeepPhoneLink<CScheduleEntry>);
}

bool CMVsyncDoc::ExportOutlookSchedules()
{
    return ExportToPim<COutlookAppointments>(
        m_outlookSchedules, [](COutlookSync& exchange, auto& list) { return exchange.WriteAppointments(list); });
}

bool CMVsyncDoc::ImportOutlookNotes()
{
    return ImportFromPim<COutlookNotes>(
        m_outlookMemos, [](COutlookSync& exchange, auto& fresh) { return exchange.ReadNotes(fresh); },
        docshared::KeepPhoneLink<CMemoEntry>);
}

bool CMVsyncDoc::ExportOutlookNotes()
{
    return ExportToPim<COutlookNotes>(m_outlookMemos,
                                      [](COutlookSync& exchange, auto& list) { return exchange.WriteNotes(list); });
}

} // namespace dh1
