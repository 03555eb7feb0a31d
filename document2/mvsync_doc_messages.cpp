// The message commands of the document. No window of the program reaches them: the main frame
// has no message form.
#include "document2/mvsync_doc.h"

#include "docshared/record_lists.h"
#include "link2/model_profile.h"

namespace dh2 {

namespace {

// The session's message operations (ReadMessagesText, ReadMessages, StoreMessage,
// SendStoredMessage, DeleteMessage) are called when the session has them; until it does, each
// command fails as a refused command would.
template <typename Session>
bool readMessages(Session& session, bool pdu, RecordList<CSmsEntry>& list)
{
    if constexpr (requires { session.ReadMessages(list); session.ReadMessagesText(list); })
        return pdu ? session.ReadMessages(list) : session.ReadMessagesText(list);
    session.m_nResult = AT_ERROR;
    return false;
}

template <typename Session>
bool deleteMessage(Session& session, int index)
{
    if constexpr (requires { session.DeleteMessage(index); })
        return session.DeleteMessage(index);
    session.m_nResult = AT_ERROR;
    return false;
}

template <typename Session>
bool storeMessage(Session& session, CSmsEntry& record)
{
    if constexpr (requires { session.StoreMessage(record); })
        return session.StoreMessage(record);
    session.m_nResult = AT_ERROR;
    return false;
}

template <typename Session>
bool sendStoredMessage(Session& session, CSmsEntry& record)
{
    if constexpr (requires { session.SendStoredMessage(record); })
        return session.SendStoredMessage(record);
    session.m_nResult = AT_ERROR;
    return false;
}

} // namespace

bool CMVsyncDoc::ReadMessages()
{
    const BusyScope busy = MarkBusy();
    RecordList<CSmsEntry> fresh;
    // Models that list messages in PDU mode say so by the seventh flag.
    if (!readMessages(m_session, ModelProfile().f6, fresh)) {
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
    if (!deleteMessage(m_session, record.m_nIndex))
        return false;
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
    return storeMessage(m_session, record);
}

bool CMVsyncDoc::SendStoredMessage(CSmsEntry& record)
{
    const BusyScope busy = MarkBusy();
    return sendStoredMessage(m_session, record);
}

} // namespace dh2
