// The message commands of the document. No window of the program reaches them: the main frame
// has no message form.
#include "document2/mvsync_doc.h"

#include "docshared/record_lists.h"
#include "link2/model_profile.h"

#include <type_traits>

namespace dh2 {

namespace {

// The session's message operations (ReadMessagesText, ReadMessages, StoreMessage,
// SendStoredMessage, DeleteMessage) are called when the session has them; until it does, each
// command fails as a refused command would. call is a generic lambda whose return type names
// the operation, so that it can be called only when the session has it.
template <typename Call>
bool viaSession(CPhoneSession& session, Call call)
{
    if constexpr (std::is_invocable_r_v<bool, Call, CPhoneSession&>) {
        return call(session);
    } else {
        session.m_nResult = AT_ERROR;
        return false;
    }
}

} // namespace

bool CMVsyncDoc::ReadMessages()
{
    const BusyScope busy = MarkBusy();
    RecordList<CSmsEntry> fresh;
    // Models that list messages in PDU mode say so by the seventh flag.
    const bool pdu = ModelProfile().f6;
    const bool read = viaSession(m_session, [&](auto& session) -> decltype(session.ReadMessages(fresh)) {
        return pdu ? session.ReadMessages(fresh) : session.ReadMessagesText(fresh);
    });
    if (!read) {
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
    const int index = record.m_nIndex;
    if (!viaSession(m_session, [index](auto& session) -> decltype(session.DeleteMessage(index)) {
            return session.DeleteMessage(index);
        }))
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
    return viaSession(m_session, [&record](auto& session) -> decltype(session.StoreMessage(record)) {
        return session.StoreMessage(record);
    });
}

bool CMVsyncDoc::SendStoredMessage(CSmsEntry& record)
{
    const BusyScope busy = MarkBusy();
    return viaSession(m_session, [&record](auto& session) -> decltype(session.SendStoredMessage(record)) {
        return session.SendStoredMessage(record);
    });
}

} // namespace dh2
