// The PIM exchange commands of the document.
#include "document2/mvsync_doc.h"

#include "docshared/record_lists.h"
#include "document2/outlook_sync.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

namespace dh2 {

namespace {

constexpr int kReadFailedText = 62488;
constexpr int kWriteFailedText = 62489;

} // namespace

// The document's box for a failed exchange, with the store's reason when it gave one.
void CMVsyncDoc::ShowExchangeError(bool write, const docshared::CPimExchange& exchange)
{
    const QString reason = exchange.LastError();
    platform::AfxMessageBox(platform::LoadString(write ? kWriteFailedText : kReadFailedText)
                                + (reason.isEmpty() ? QString() : QStringLiteral(" - ") + reason),
                            platform::MB_ICONINFORMATION);
}

bool CMVsyncDoc::ImportOutlookContacts()
{
    return ImportFromPim<COutlookContacts>(
        m_arOutlookContacts, [](COutlookSync& exchange, auto& fresh) { return exchange.ReadContacts(fresh); },
        docshared::KeepContactLinks<CPhoneEntry>);
}

bool CMVsyncDoc::ExportOutlookContacts()
{
    return ExportToPim<COutlookContacts>(m_arOutlookContacts, [](COutlookSync& exchange, auto& list) { return exchange.WriteContacts(list); });
}

bool CMVsyncDoc::ImportOutlookSchedules()
{
    return ImportFromPim<COutlookAppointments>(
        m_arOutlookSchedules, [](COutlookSync& exchange, auto& fresh) { return exchange.ReadAppointments(fresh); },
        docshared::KeepPhoneLink<CScheduleEntry>);
}

bool CMVsyncDoc::ExportOutlookSchedules()
{
    return ExportToPim<COutlookAppointments>(m_arOutlookSchedules,
                       [](COutlookSync& exchange, auto& list) { return exchange.WriteAppointments(list); });
}

bool CMVsyncDoc::ImportOutlookNotes()
{
    return ImportFromPim<COutlookNotes>(
        m_arOutlookMemos, [](COutlookSync& exchange, auto& fresh) { return exchange.ReadNotes(fresh); },
        docshared::KeepPhoneLink<CScheduleEntry>);
}

bool CMVsyncDoc::ExportOutlookNotes()
{
    return ExportToPim<COutlookNotes>(m_arOutlookMemos, [](COutlookSync& exchange, auto& list) { return exchange.WriteNotes(list); });
}

} // namespace dh2
