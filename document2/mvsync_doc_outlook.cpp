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

// The document's box for a failed exchange, with the store's reason when it gave one.
void showExchangeError(int stringId, const docshared::CPimExchange& exchange)
{
    const QString reason = exchange.LastError();
    platform::AfxMessageBox(platform::LoadString(stringId) + (reason.isEmpty() ? QString() : QStringLiteral(" - ") + reason),
                            platform::MB_ICONINFORMATION);
}

void keepPhoneLink(CSyncRecord& fresh, const CSyncRecord& old)
{
    fresh.m_nIndex = old.m_nIndex;
    fresh.m_nList = old.m_nList;
}

} // namespace

template <typename Exchange, typename Record, typename Read, typename Merge>
bool CMVsyncDoc::importFromPim(RecordList<Record>& list, Read read, Merge merge)
{
    const BusyScope busy = MarkBusy();
    Exchange exchange;
    exchange.UseBaseline(m_pimBaseline);
    RecordList<Record> fresh;
    if (!read(exchange, fresh)) {
        showExchangeError(kReadFailedText, exchange);
        return false;
    }
    docshared::CarryPhoneLinks(fresh, list, merge);
    list = std::move(fresh);
    NotifyChanged();
    return true;
}

template <typename Exchange, typename Record, typename Write>
bool CMVsyncDoc::exportToPim(RecordList<Record>& list, Write write)
{
    const BusyScope busy = MarkBusy();
    Exchange exchange;
    exchange.UseBaseline(m_pimBaseline);
    const bool ok = write(exchange, list);
    if (ok)
        std::erase_if(list, [](const auto& record) { return record->IsDeleted(); });
    else
        showExchangeError(kWriteFailedText, exchange);
    NotifyChanged();
    return ok;
}

bool CMVsyncDoc::ImportOutlookContacts()
{
    return importFromPim<COutlookContacts>(
        m_arOutlookContacts, [](COutlookSync& exchange, auto& fresh) { return exchange.ReadContacts(fresh); },
        [](CPhoneEntry& fresh, const CPhoneEntry& old) {
            keepPhoneLink(fresh, old);
            fresh.m_nSimIndex = old.m_nSimIndex;
        });
}

bool CMVsyncDoc::ExportOutlookContacts()
{
    return exportToPim<COutlookContacts>(m_arOutlookContacts, [](COutlookSync& exchange, auto& list) { return exchange.WriteContacts(list); });
}

bool CMVsyncDoc::ImportOutlookSchedules()
{
    return importFromPim<COutlookAppointments>(
        m_arOutlookSchedules, [](COutlookSync& exchange, auto& fresh) { return exchange.ReadAppointments(fresh); },
        [](CScheduleEntry& fresh, const CScheduleEntry& old) { keepPhoneLink(fresh, old); });
}

bool CMVsyncDoc::ExportOutlookSchedules()
{
    return exportToPim<COutlookAppointments>(m_arOutlookSchedules,
                       [](COutlookSync& exchange, auto& list) { return exchange.WriteAppointments(list); });
}

bool CMVsyncDoc::ImportOutlookNotes()
{
    return importFromPim<COutlookNotes>(
        m_arOutlookMemos, [](COutlookSync& exchange, auto& fresh) { return exchange.ReadNotes(fresh); },
        [](CScheduleEntry& fresh, const CScheduleEntry& old) { keepPhoneLink(fresh, old); });
}

bool CMVsyncDoc::ExportOutlookNotes()
{
    return exportToPim<COutlookNotes>(m_arOutlookMemos, [](COutlookSync& exchange, auto& list) { return exchange.WriteNotes(list); });
}

} // namespace dh2
