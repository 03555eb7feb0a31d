// The PIM exchange commands of the document.
#include "document/mvsync_doc.h"

#include "docshared/record_lists.h"
#include "document/outlook_sync.h"
#include "link/globals.h"
#include "link/message_pump.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

namespace {

void keepPhoneLink(CSyncRecord& fresh, const CSyncRecord& old)
{
    fresh.m_nIndex = old.m_nIndex;
    fresh.m_nList = old.m_nList;
}

// The error box of an exchange: the message and the store's reason (a phone's reason when the
// store gave none).
void showExchangeError(int stringId, const COutlookSync& exchange)
{
    if (exchange.LastError().isEmpty()) {
        ShowError(stringId);
        return;
    }
    g_nLastError = 0;
    platform::AfxMessageBox(platform::LoadString(stringId) + QStringLiteral(" - ") + exchange.LastError(),
                            platform::MB_ICONINFORMATION);
}

} // namespace

template <typename Record, typename Read, typename Merge>
bool CMVsyncDoc::importFromPim(COutlookSync& exchange, RecordList<Record>& list, Read read, Merge merge)
{
    const BusyScope busy = MarkBusy();
    exchange.UseBaseline(m_pimBaseline);
    RecordList<Record> fresh;
    if (!read(fresh)) {
        showExchangeError(62000, exchange);
        return false;
    }
    docshared::CarryPhoneLinks(fresh, list, merge);
    ReplaceList(list, std::move(fresh));
    return true;
}

template <typename Record, typename Write>
bool CMVsyncDoc::exportToPim(COutlookSync& exchange, RecordList<Record>& list, Write write)
{
    const BusyScope busy = MarkBusy();
    exchange.UseBaseline(m_pimBaseline);
    if (!write(list)) {
        showExchangeError(62002, exchange);
        NotifyChanged();
        return false;
    }
    std::erase_if(list, [](const auto& record) { return record->IsDeleted(); });
    NotifyChanged();
    return true;
}

bool CMVsyncDoc::ImportOutlookContacts()
{
    COutlookContacts exchange;
    return importFromPim(
        exchange, m_outlookContacts, [&](auto& fresh) { return exchange.ReadContacts(fresh); },
        [](CPhoneEntry& fresh, const CPhoneEntry& old) {
            keepPhoneLink(fresh, old);
            fresh.m_nSimIndex = old.m_nSimIndex;
        });
}

bool CMVsyncDoc::ExportOutlookContacts()
{
    COutlookContacts exchange;
    return exportToPim(exchange, m_outlookContacts, [&](auto& list) { return exchange.WriteContacts(list); });
}

bool CMVsyncDoc::ImportOutlookSchedules()
{
    COutlookAppointments exchange;
    return importFromPim(
        exchange, m_outlookSchedules, [&](auto& fresh) { return exchange.ReadAppointments(fresh); },
        [](CScheduleEntry& fresh, const CScheduleEntry& old) { keepPhoneLink(fresh, old); });
}

bool CMVsyncDoc::ExportOutlookSchedules()
{
    COutlookAppointments exchange;
    return exportToPim(exchange, m_outlookSchedules, [&](auto& list) { return exchange.WriteAppointments(list); });
}

bool CMVsyncDoc::ImportOutlookNotes()
{
    COutlookNotes exchange;
    return importFromPim(
        exchange, m_outlookMemos, [&](auto& fresh) { return exchange.ReadNotes(fresh); },
        [](CMemoEntry& fresh, const CMemoEntry& old) { keepPhoneLink(fresh, old); });
}

bool CMVsyncDoc::ExportOutlookNotes()
{
    COutlookNotes exchange;
    return exportToPim(exchange, m_outlookMemos, [&](auto& list) { return exchange.WriteNotes(list); });
}
