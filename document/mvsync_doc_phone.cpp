// The phone and message commands of the document, and its port menu.
#include "document/mvsync_doc.h"

#include "link/globals.h"

template <typename Record, typename Read>
bool CMVsyncDoc::readPhoneList(RecordList<Record>& list, bool* readFlag, bool keepOnFailure, Read read)
{
    if (readFlag)
        *readFlag = false;
    RecordList<Record> fresh;
    const bool ok = read(fresh);
    if (!ok && keepOnFailure)
        return false;
    if (readFlag)
        *readFlag = ok;
    // A failed read leaves the phone list empty: what it held may no longer be on the phone.
    ReplaceList(list, ok ? std::move(fresh) : RecordList<Record>());
    return ok;
}

template <typename Record, typename Write, typename Key>
int CMVsyncDoc::writeToPhone(RecordList<Record>& list, const Record& source, Write write, Key key)
{
    auto copy = std::make_unique<Record>();
    copy->Assign(source);
    if (!write(*copy))
        return -1;
    const int written = key(*copy);
    for (const auto& entry : list) {
        if (!entry->IsDeleted() && key(*entry) == written) {
            entry->Assign(*copy);
            return written;
        }
    }
    list.push_back(std::move(copy));
    return written;
}

template <typename Record, typename Write, typename Key>
int CMVsyncDoc::rewriteOnPhone(Record& record, const Record& edited, Write write, Key key)
{
    Record copy;
    copy.Assign(edited);
    if (!write(copy))
        return -1;
    record.Assign(copy);
    return key(record);
}

namespace {

// Replaces the seven group names by those a phonebook read delivered; a phone that sent fewer
// names leaves the others as they were.
void takeGroupNames(QStringList& names)
{
    for (int i = 0; i < names.size() && i < g_arrGroupNames.size(); ++i)
        names[i] = g_arrGroupNames[i];
}

} // namespace

bool CMVsyncDoc::ReadHandsetBook()
{
    const bool ok = readPhoneList(m_handsetContacts, &m_bHandsetRead, false,
                                  [this](auto& list) { return m_session.ReadHandsetBook(list); });
    if (ok)
        takeGroupNames(m_groupNames);
    return ok;
}

bool CMVsyncDoc::ReadSimBook()
{
    const bool ok = readPhoneList(m_simContacts, &m_bSimRead, false,
                                  [this](auto& list) { return m_session.ReadSimBook(list); });
    if (ok)
        takeGroupNames(m_groupNames);
    return ok;
}

bool CMVsyncDoc::ReadPhoneSchedules()
{
    return readPhoneList(m_phoneSchedules, &m_bSchedulesRead, false,
                         [this](auto& list) { return m_session.ReadSchedules(list); });
}

bool CMVsyncDoc::ReadPhoneMemos()
{
    return readPhoneList(m_phoneMemos, nullptr, false, [this](auto& list) { return m_session.ReadMemos(list); });
}

// A book selection that fails after the session opened closes it again, so that the port,
// the progress window and the main window are not left as a connected session keeps them.
bool CMVsyncDoc::SelectHandsetBook()
{
    if (m_session.SelectHandsetBook())
        return true;
    if (m_session.m_bConnected)
        m_session.Disconnect();
    return false;
}

bool CMVsyncDoc::SelectSimBook()
{
    if (m_session.SelectSimBook())
        return true;
    if (m_session.m_bConnected)
        m_session.Disconnect();
    return false;
}

bool CMVsyncDoc::ConnectForSchedules()
{
    return m_session.Connect(false);
}

bool CMVsyncDoc::ConnectForMemos()
{
    return m_session.Connect(false);
}

bool CMVsyncDoc::Disconnect()
{
    return m_session.Disconnect();
}

int CMVsyncDoc::WriteHandsetContact(const CPhoneEntry& source)
{
    return writeToPhone(m_handsetContacts, source, [this](CPhoneEntry& e) { return m_session.WriteHandsetEntry(e); },
                        [](const CPhoneEntry& e) { return e.m_nIndex; });
}

int CMVsyncDoc::WriteSimContact(const CPhoneEntry& source)
{
    return writeToPhone(m_simContacts, source, [this](CPhoneEntry& e) { return m_session.WriteSimEntry(e); },
                        [](const CPhoneEntry& e) { return e.m_nSimIndex; });
}

int CMVsyncDoc::WritePhoneSchedule(const CScheduleEntry& source)
{
    return writeToPhone(m_phoneSchedules, source, [this](CScheduleEntry& e) { return m_session.WriteSchedule(e); },
                        [](const CScheduleEntry& e) { return e.m_nIndex; });
}

int CMVsyncDoc::WritePhoneMemo(const CMemoEntry& source)
{
    return writeToPhone(m_phoneMemos, source, [this](CMemoEntry& e) { return m_session.WriteMemo(e); },
                        [](const CMemoEntry& e) { return e.m_nIndex; });
}

int CMVsyncDoc::UpdateHandsetContact(CPhoneEntry& record, const CPhoneEntry& edited)
{
    return rewriteOnPhone(record, edited, [this](CPhoneEntry& e) { return m_session.WriteHandsetEntry(e); },
                          [](const CPhoneEntry& e) { return e.m_nIndex; });
}

int CMVsyncDoc::UpdateSimContact(CPhoneEntry& record, const CPhoneEntry& edited)
{
    return rewriteOnPhone(record, edited, [this](CPhoneEntry& e) { return m_session.WriteSimEntry(e); },
                          [](const CPhoneEntry& e) { return e.m_nSimIndex; });
}

int CMVsyncDoc::UpdatePhoneSchedule(CScheduleEntry& record, const CScheduleEntry& edited)
{
    return rewriteOnPhone(record, edited, [this](CScheduleEntry& e) { return m_session.WriteSchedule(e); },
                          [](const CScheduleEntry& e) { return e.m_nIndex; });
}

int CMVsyncDoc::UpdatePhoneMemo(CMemoEntry& record, const CMemoEntry& edited)
{
    return rewriteOnPhone(record, edited, [this](CMemoEntry& e) { return m_session.WriteMemo(e); },
                          [](const CMemoEntry& e) { return e.m_nIndex; });
}

bool CMVsyncDoc::DeleteHandsetContact(CPhoneEntry& record)
{
    if (!m_session.DeleteHandsetEntry(record.m_nIndex))
        return false;
    record.m_nState = CSyncRecord::StateDeleted;
    record.m_nIndex = -1;
    return true;
}

bool CMVsyncDoc::DeleteSimContact(CPhoneEntry& record)
{
    if (!m_session.DeleteSimEntry(record.m_nSimIndex))
        return false;
    record.m_nState = CSyncRecord::StateDeleted;
    record.m_nSimIndex = -1;
    return true;
}

bool CMVsyncDoc::DeletePhoneSchedule(CScheduleEntry& record)
{
    if (!m_session.DeleteSchedule(record.m_nIndex))
        return false;
    record.m_nState = CSyncRecord::StateDeleted;
    record.m_nIndex = -1;
    return true;
}

bool CMVsyncDoc::DeletePhoneMemo(CMemoEntry& record)
{
    if (!m_session.DeleteMemo(record.m_nIndex))
        return false;
    record.m_nState = CSyncRecord::StateDeleted;
    record.m_nIndex = -1;
    return true;
}

bool CMVsyncDoc::ReadMessages()
{
    // A failed read keeps the messages read before.
    return readPhoneList(m_messages, nullptr, true, [this](auto& list) { return m_session.ReadMessages(list); });
}

bool CMVsyncDoc::ConnectForMessages()
{
    return m_session.Connect(true);
}

bool CMVsyncDoc::DeleteMessage(CSmsEntry& record)
{
    for (CSmsEntry::Part& part : record.m_parts) {
        if (part.m_nIndex == -1)
            continue;
        if (!m_session.DeleteMessage(part.m_nIndex, part.m_nStorage))
            return false;
        part.m_nIndex = -1;
    }
    record.m_nState = CSyncRecord::StateDeleted;
    return true;
}

bool CMVsyncDoc::SendMessage(CSmsEntry& record)
{
    return m_session.SendSms(record, true, false);
}

bool CMVsyncDoc::SendAndStoreMessage(CSmsEntry& record)
{
    return m_session.SendSms(record, true, true);
}

void CMVsyncDoc::OnComPort(int n)
{
    if (n < 1 || n > 5)
        return;
    m_nComPort = n;
    m_session.SetPort(n, 57600, 100);
}

void CMVsyncDoc::OnToggleIrComm()
{
    m_session.m_port.m_bIrComm = !m_session.m_port.m_bIrComm;
}
