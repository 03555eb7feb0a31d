// The message commands of the document. No window of the program reaches them: the main frame
// has no message form.
#include "document2/mvsync_doc.h"

#include "docshared/record_lists.h"
#include "link2/model_profile.h"

namespace dh2 {

bool CMVsyncDoc::ReadMessages()
{
    const BusyScope busy = MarkBusy();
    RecordList<CSmsEntry> fresh;
    const bool pdu = ModelProfile().pduMessages;
    if (!(pdu ? m_session.ReadMessages(fresh) : m_session.ReadMessagesText(fresh))) {
        m_bMessagesRead = false;
        return false;
    }
    TakeReadMessages(std::move(fresh));
    m_bMessagesRead = true;
    return true;
}

void CMVsyncDoc::TakeReadMessages(RecordList<CSmsEntry> fresh)
{
    std::erase_if(m_arMessages, [](const auto& message) { return message->m_nIndex != -1; });
    for (auto& message : fresh)
        m_arMessages.push_back(std::move(message));
    NotifyChanged();
}

bool CMVsyncDoc::ConnectForMessages()
{
    const BusyScope busy = MarkBusy();
    return m_session.Connect();
}

bool CMVsyncDoc::DeleteMessage(CSmsEntry& record)
{
    if (record.m_nIndex < 0)
        return false;
    const BusyScope busy = MarkBusy();
    if (!m_session.DeleteMessage(record.m_nIndex)) {
        // Perhaps deleted: the index may hold another message next, so the record keeps none.
        if (m_session.Unconfirmed())
            record.m_nIndex = -1;
        return false;
    }
    if (docshared::RemoveRecord(m_arMessages, &record)) {
        NotifyChanged();
        return true;
    }
    record.m_nState = CSyncRecord::StateDeleted;
    record.m_nIndex = -1;
    return true;
}

bool CMVsyncDoc::StoreMessage(CSmsEntry& record)
{
    const BusyScope busy = MarkBusy();
    return m_session.StoreMessage(record);
}

bool CMVsyncDoc::SendStoredMessage(CSmsEntry& record)
{
    const BusyScope busy = MarkBusy();
    return m_session.SendStoredMessage(record);
}

} // namespace dh2
